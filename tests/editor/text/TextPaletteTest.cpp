// The text palette: the text-style tool's three option sets, its samples, and the window that shows them
// with the colour indicator.
#include <gtest/gtest.h>

#include <vector>

#include "editor/EditorTestSupport.h"
#include "editor/CDropperTool.h"
#include "editor/text/CTextStyleTool.h"
#include "editor/text/TextPaletteWindow.h"
#include "platform/user/Window.h"
#include "support/ScreenPixels.h"
#include "support/graphics/GoldenPicture.h"
#include "support/graphics/SurfaceDevice.h"
#include "ui/text/StyledText.h"

namespace editor_test {
namespace {

struct StyleOf {
  std::int32_t font;
  std::int32_t bits;
  std::int16_t size;
  bool operator==(const StyleOf&) const = default;
};

StyleOf Of(const TextStyle& style) { return {style.GetFontId(), style.GetStyle(), style.GetSize()}; }

void PrintTo(const StyleOf& s, std::ostream* out) { *out << "font " << s.font << " bits " << s.bits << " size " << s.size; }

constexpr StyleOf kFirstStyle{1, 1, 12};

using TextStyleToolTest = EditorTest;

TEST_F(TextStyleToolTest, EachChoiceGivesItsTableValueAndOthersChangeNothing) {
  struct Row {
    std::int16_t kind, index;
    StyleOf expected;
  };
  const Row rows[] = {
      {0, 1, {2, 1, 12}},  {0, 2, {3, 1, 12}},  {0, 3, {3, 1, 12}},  {0, 4, {4, 1, 12}},
      {1, 1, {1, 1, 12}},  {1, 2, {1, 2, 12}},  {1, 3, {1, 8, 12}},  {1, 4, {1, 4, 12}},
      {1, 5, {1, 6, 12}},  {1, 6, {1, 12, 12}}, {2, 1, {1, 1, 9}},   {2, 6, {1, 1, 18}},
      {2, 10, {1, 1, 72}},
      // Outside the sets.
      {0, 0, kFirstStyle}, {0, 5, kFirstStyle}, {1, 7, kFirstStyle}, {2, 11, kFirstStyle},
      {2, -1, kFirstStyle}, {3, 1, kFirstStyle},
  };
  for (const Row& row : rows) {
    SmartRef<CTextStyleTool> tool(new CTextStyleTool);
    tool->SetChoice(row.kind, row.index);
    EXPECT_EQ(Of(*tool->GetStyle()), row.expected) << "kind " << row.kind << " index " << row.index;
  }
  SmartRef<CTextStyleTool> tool(new CTextStyleTool);
  EXPECT_EQ(tool->GetId(), 4);
  EXPECT_EQ(tool->GetStyle()->GetTextColor(), standardColors[1]);
  EXPECT_EQ(tool->GetStyle()->GetBackColor(), standardColors[kTransparentColor]);
  EXPECT_EQ(tool->GetStyle()->GetAlignment(), kAlignLeft);
  const std::vector<std::int16_t> counts{tool->CountChoices(0), tool->CountChoices(1), tool->CountChoices(2),
                                         tool->CountChoices(3)};
  EXPECT_EQ(counts, (std::vector<std::int16_t>{4, 6, 10, 0}));
  const std::vector<std::int16_t> choices{tool->GetChoice(0), tool->GetChoice(1), tool->GetChoice(2),
                                          tool->GetChoice(3)};
  EXPECT_EQ(choices, (std::vector<std::int16_t>{1, 1, 1, 0}));
}

// The sample of a choice, drawn in a cell of the palettes' size.
std::vector<std::uint32_t> Sample(CTextStyleTool& tool, std::int16_t kind, std::int16_t index) {
  SmartRef<SurfaceDevice> surface(new SurfaceDevice(31, 31, standardColors[0]));
  {
    DisplayPort port(~surface, Rect(0, 0, 31, 31));
    tool.DrawChoice(port, Rect(0, 0, 31, 31), kind, index);
  }
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < 31; ++y)
    for (int x = 0; x < 31; ++x) pixels.push_back(surface->Pixel(x, y));
  return pixels;
}

TEST_F(TextStyleToolTest, SamplesAreDrawnInTheForegroundAndLeaveTheStyleAlone) {
  SmartRef<CTextStyleTool> tool(new CTextStyleTool);
  gPaintForeground = Color::FromRGB8(0, 0, 255);
  const std::vector<std::uint32_t> blank(31 * 31, 0xFFFFFF);
  EXPECT_EQ(Sample(*tool, 0, 2), Sample(*tool, 0, 3)) << "font choices 2 and 3 are one font";
  EXPECT_NE(Sample(*tool, 0, 1), Sample(*tool, 0, 4));
  EXPECT_NE(Sample(*tool, 2, 1), Sample(*tool, 2, 4));
  EXPECT_EQ(Sample(*tool, 2, 0), blank) << "no choice 0";
  EXPECT_EQ(Sample(*tool, 1, 7), blank);
  std::vector<std::uint32_t> ink = Sample(*tool, 1, 1);
  std::erase(ink, 0xFFFFFF);
  ASSERT_FALSE(ink.empty());
  for (std::uint32_t pixel : ink) EXPECT_EQ(pixel & 0xFFFF00, 0u) << std::hex << pixel << " is not blue on white";
  EXPECT_EQ(Of(*tool->GetStyle()), kFirstStyle);
  EXPECT_EQ(tool->GetStyle()->GetTextColor(), standardColors[1]);
}

class TextPaletteTest : public EditorProgramTest {
 protected:
  void SetUp() override {
    EditorProgramTest::SetUp();
    // The labels: three pictures of the program's own data.
    for (int n : {2020, 2021, 2022}) data->WritePicture(n, 24, 70, 0xC0C0C0 - static_cast<std::uint32_t>(n - 2020) * 0x202020);
    for (int n : {2, 14, 42}) data->WriteSound(n);
  }

  // The window's client area as the screen shows it.
  static ColourPicture Shot(TextPaletteWindow& window) {
    EXPECT_TRUE(window.IsVisible());
    window.Refresh();
    const HWND handle = window.GetFrame()->GetHandle();
    RECT client;
    GetClientRect(handle, &client);
    POINT origin{0, 0};
    ClientToScreen(handle, &origin);
    return ScreenPicture({origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
  }
};

TEST_F(TextPaletteTest, EachCellChoosesItsOptionAndNumbersBetweenTheSetsAreNoCells) {
  InProgram([&] {
    gPaintState = new CDropperTool;
    SmartRef<CTextStyleTool> tool(new CTextStyleTool);
    SmartRef<TextPaletteWindow> window(new TextPaletteWindow(~tool, Rect(10, 20, 11, 21)));
    window->Open(true);
    struct Row {
      std::int32_t cell;
      StyleOf expected;
      CProxyPalette* palette;
    };
    const Row rows[] = {
        {12, {1, 8, 12}, window->GetFacePalette()},  {15, {1, 12, 12}, window->GetFacePalette()},
        {29, {1, 12, 72}, window->GetSizePalette()}, {3, {3, 12, 72}, window->GetFontPalette()},
        {20, {3, 12, 9}, window->GetSizePalette()},
    };
    PlayedSounds played;
    for (const Row& row : rows) {
      window->ItemClicked(row.cell);
      EXPECT_EQ(Of(*tool->GetStyle()), row.expected) << "cell " << row.cell;
      EXPECT_EQ(row.palette->GetSelection(), row.cell);
    }
    EXPECT_EQ(played.Numbers({2}), std::vector<int>(std::size(rows), 2)) << "the palette's click sound";
    played.Clear();
    for (std::int32_t none : {0, 5, 9, 16, 19, 30, -666}) window->ItemClicked(none);
    EXPECT_EQ(Of(*tool->GetStyle()), (StyleOf{3, 12, 9})) << "no cell changes nothing";
    EXPECT_TRUE(played.Numbers({2}).empty()) << "and plays nothing";

    // A click in the size palette's last cell goes through the palette to the window.
    CProxyPalette* sizes = window->GetSizePalette();
    const Rect last = sizes->GetButtonRect(29);
    sizes->MouseDown(last.left + 5, last.top + 5, 0, 1, ~window);
    EXPECT_EQ(tool->GetStyle()->GetSize(), 72);
    window->Close();
    window = nullptr;
    EXPECT_FALSE(gPaintState->HasListener(static_cast<PaintStateListener*>(nullptr), false));
    gPaintState = nullptr;
  });
}

TEST_F(TextPaletteTest, TheWindowFollowsTheToolAndThePaintStateUntilItGoes) {
  InProgram([&] {
    gPaintState = new CDropperTool;
    SmartRef<CTextStyleTool> tool(new CTextStyleTool);
    SmartRef<TextPaletteWindow> window(new TextPaletteWindow(~tool, Rect(30, 40, 100, 100)));
    TextPaletteWindow* raw = ~window;
    EXPECT_TRUE(tool->HasListener(raw));
    EXPECT_TRUE(gPaintState->HasListener(raw, false));
    EXPECT_EQ(window->GetPosition(), Point(30, 40)) << "at the frame's corner";
    const Rect row = window->GetBounds();
    EXPECT_GT(row.Width(), 3 * 24 + 2 * 70 + 3 * 70 + 74) << "labels, cells and indicator side by side";
    EXPECT_EQ(row.Height(), 74) << "as tall as the indicator, the tallest item";
    window->Close();
    window = nullptr;
    EXPECT_FALSE(tool->HasListener(raw));
    EXPECT_FALSE(gPaintState->HasListener(raw, false));
    gPaintState = nullptr;
  });
}

TEST_F(TextPaletteTest, AColourChangeRedrawsEverySampleInTheNewColour) {
  InProgram([&] {
    gPaintState = new CDropperTool;
    InitPaintColors();
    SmartRef<CTextStyleTool> tool(new CTextStyleTool);
    SmartRef<TextPaletteWindow> window(new TextPaletteWindow(~tool, Rect(10, 10, 10, 10)));
    window->Open(true);
    const ColourPicture before = Shot(*window);
    ExpectGolden(before, "editor/text-palette.ppm");
    gPaintForeground = Color::FromRGB8(200, 0, 0);
    gPaintState->NotifyListeners();
    EXPECT_EQ(tool->GetStyle()->GetTextColor(), gPaintForeground);
    const ColourPicture after = Shot(*window);
    ExpectGolden(after, "editor/text-palette-red.ppm");
    EXPECT_NE(before, after);
    window->Close();
    window = nullptr;
    gPaintState = nullptr;
  });
}

}  // namespace
}  // namespace editor_test

// The colour and pattern indicator: its boxes, what a click in each opens, and how it draws.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "EditorTestSupport.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "ui/controls/ColorView.h"
#include "core/Alert.h"
#include "platform/user/Input.h"
#include "platform/user/Window.h"
#include "editor/CDropperTool.h"
#include "editor/CToolsDir.h"
#include "editor/PaintIndicator.h"
#include "graphics/bitmaps/ColorTable.h"
#include "support/AsciiPicture.h"
#include "ui/ViewTestSupport.h"
#include "ui/views/Window.h"

namespace editor_test {
namespace {

const Color kRed = Color::FromRGB8(255, 0, 0);
const Color kBlue = Color::FromRGB8(0, 0, 255);

class PaintIndicatorTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    gPaintState = new CDropperTool;
  }
  void TearDown() override {
    gPaintState = nullptr;
    gPaintForeground = standardColors[1];
    gPaintSecondColor = standardColors[0];
    EditorTest::TearDown();
  }
};

TEST_F(PaintIndicatorTest, ItsBoxesFollowItsBounds) {
  TestWindow window(200, 200);
  SmartRef<PaintIndicator> indicator(new PaintIndicator(~window.root));
  EXPECT_EQ(indicator->GetBounds(), Rect(0, 0, 74, 74));
  EXPECT_EQ(indicator->GetPatternBox(), Rect(3, 3, 71, 18));
  EXPECT_EQ(indicator->GetSecondSwatch(), Rect(3, 21, 71, 71));
  EXPECT_EQ(indicator->GetForegroundSwatch(), Rect(14, 32, 60, 60));
  EXPECT_TRUE(gPaintState->HasListener(~indicator, true));
  indicator->SetBounds(Rect(100, 50, 174, 124));
  EXPECT_EQ(indicator->GetPatternBox(), Rect(103, 53, 171, 68));
  EXPECT_EQ(indicator->GetSecondSwatch(), Rect(103, 71, 171, 121));
  EXPECT_EQ(indicator->GetForegroundSwatch(), Rect(114, 82, 160, 110));
  PaintIndicator* gone = ~indicator;
  indicator = nullptr;
  EXPECT_FALSE(gPaintState->HasListener(gone, true));
}

// The swatches nested in their frames under the framed label; the text itself is left out (its pixels
// are the font's).
TEST_F(PaintIndicatorTest, ItDrawsTheSecondColourAroundTheForegroundUnderTheLabel) {
  TestWindow window(74, 74);
  window.surface->Fill(0x00FF00);
  window.MakeFront();
  SmartRef<PaintIndicator> indicator(new PaintIndicator(~window.root));
  window.root->AddSubview(~indicator);
  gPaintForeground = kRed;
  gPaintSecondColor = kBlue;
  window.root->Redraw(~window.surface);
  const PictureKey key{{0xFFFFFF, '.'}, {0x000000, '#'}, {0xE0E0E0, 'e'}, {0xC0C0C0, 'c'}, {0x404040, '4'},
                       {0x202020, '2'}, {0xFF0000, 'r'}, {0x0000FF, 'b'}, {0x00FF00, 'g'}};
  std::string picture = window.surface->Picture(key);
  int textPixels = 0;
  for (int y = 3; y < 18; ++y) {
    for (int x = 3; x < 71; ++x) {
      char& pixel = picture[static_cast<std::size_t>(y * 75 + x)];
      if (pixel == '#') ++textPixels;
      pixel = '*';
    }
  }
  EXPECT_GT(textPixels, 20) << "the label is written in black";
  std::ifstream golden(std::string(QUILLORY_SOURCE_DIR) + "/tests/fixtures/editor/paint-indicator.txt");
  const std::string expected((std::istreambuf_iterator<char>(golden)), std::istreambuf_iterator<char>());
  EXPECT_EQ("\n" + picture, "\n" + expected);

  // A change of the paints is drawn at once, without waiting for a repaint.
  gPaintForeground = kBlue;
  gPaintSecondColor = kRed;
  gPaintState->NotifyListeners();
  EXPECT_EQ(window.surface->Pixel(30, 45), 0x0000FFu);
  EXPECT_EQ(window.surface->Pixel(8, 65), 0xFF0000u);
}

// Under the program: a click in the pattern box opens the pattern chooser, in the inner swatch the
// palette on the foreground, on the ring around it the palette on the second colour; anywhere else
// nothing, and the click is handled all the same.
using PaintIndicatorClickTest = EditorProgramTest;

TEST_F(PaintIndicatorClickTest, EachBoxOpensItsChooserAtThePoint) {
  InProgram([&] {
    gPaintState = new CDropperTool;
    ColorTable* standard = ColorTable::GetStandard(8);
    gPaintForeground = standard->GetColor(37);
    gPaintSecondColor = standard->GetColor(100);
    const String title("Outils");
    SmartRef<Window> window(new Window(&title, kFrameNormal, false, false, 200, 150));
    window->SetGlobalBounds({300, 200, 500, 350});
    SmartRef<PaintIndicator> indicator(new PaintIndicator(~window));
    indicator->SetBounds(Rect(10, 10, 84, 84));
    window->AddSubview(~indicator);
    window->Open(true);
    struct Case {
      Point at;
      const char* title;  // of the chooser, none when nothing opens
      Point cell;        // the palette's starting cell
    } cases[] = {
        {{40, 15}, "Sélection"_cp, {}}, {{40, 60}, "Palette", {5, 1}},    {{75, 45}, "Palette", {4, 3}},
        {{78, 78}, "Palette", {4, 3}}, {{11, 11}, nullptr, {}},         {{40, 29}, nullptr, {}},
        {{82, 60}, nullptr, {}},
    };
    for (const Case& c : cases) {
      const std::int32_t before = app->GetWindows().NumItems();
      EXPECT_TRUE(indicator->MouseDown(c.at.x, c.at.y, 0, 1, ~window)) << c.at.x << "," << c.at.y;
      const std::int32_t after = app->GetWindows().NumItems();
      if (!c.title) {
        EXPECT_EQ(after, before) << c.at.x << "," << c.at.y;
        continue;
      }
      ASSERT_EQ(after, before + 1) << c.at.x << "," << c.at.y;
      SmartRef<Window> chooser(CastSmart<Window>(app->GetWindows().At(after)));
      EXPECT_EQ(TextOf(*SmartRef<String>(chooser->GetFrame()->GetTitle())), std::string(c.title)) << c.at.x;
      // Its bottom-right corner at the click, in the main window.
      EXPECT_EQ(chooser->GetFrame()->GetGlobalBounds().BottomRight(), Point(300 + c.at.x, 200 + c.at.y)) << c.at.x;
      if (auto* grid = CastSmart<ColorView>(chooser->GetSubviews().At(1))) {
        EXPECT_EQ(grid->GetSelection(), c.cell) << c.at.x << "," << c.at.y;
      }
      chooser->Close();
    }
    indicator = nullptr;
    window->Close();
  });
}

}  // namespace
}  // namespace editor_test

namespace editor_test {
namespace {

// The whole gesture with the mouse of the window system: a press on the inner swatch opens the palette
// under the pointer, the drag goes on in it, and the release over a cell chooses that colour, which the
// swatch shows at once.
TEST_F(PaintIndicatorClickTest, APressOnTheSwatchAndAReleaseOverAColourChoosesIt) {
  InProgram([&] {
    gPaintState = new CDropperTool;
    SmartRef<Tool> tool(new Tool);
    app->SetTool(~tool);
    const String title("Outils");
    SmartRef<Window> window(new Window(&title, kFrameNormal, false, false, 120, 100));
    window->SetGlobalBounds({400, 250, 520, 350});
    SmartRef<PaintIndicator> indicator(new PaintIndicator(~window));
    window->AddSubview(~indicator);
    window->Open(true);
    window->Refresh();
    auto screen = [](HWND handle, int x, int y) {
      POINT p{x, y};
      ClientToScreen(handle, &p);
      return p;
    };
    const POINT press = screen(window->GetFrame()->GetHandle(), 37, 46);
    platform::InjectMouseMove(press.x, press.y);
    Pump();
    platform::InjectMouseButton(press.x, press.y, platform::MouseButton::Left, true);
    Pump();
    ASSERT_EQ(app->GetWindows().NumItems(), 2) << "the palette is open";
    // Cell (3, 2) of the palette, whose bottom-right corner is at the press.
    const POINT cell = screen(gMainWindow, 400 + 37 - 320 + 35, 250 + 46 - 80 + 25);
    for (int step = 3; step >= 0; --step) {
      platform::InjectMouseMove(cell.x - step * 10, cell.y);
      Pump();
    }
    platform::InjectMouseButton(cell.x, cell.y, platform::MouseButton::Left, false);
    Pump();
    EXPECT_EQ(gPaintForeground, ColorTable::GetStandard(8)->GetColor(67));
    EXPECT_EQ(app->GetWindows().NumItems(), 1) << "the palette is closed";
    indicator = nullptr;
    window->Close();
  });
}

}  // namespace
}  // namespace editor_test

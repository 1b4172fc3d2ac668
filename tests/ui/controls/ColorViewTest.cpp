// The colour and pattern choosers: on a test surface for what they draw and choose from a device's table,
// and in the running program, opened by a dropper tool and worked with the mouse on the headless screen.
#include <gtest/gtest.h>

#include <set>

#include "support/ui/ProgramFixture.h"
#include "core/GenericArray.h"
#include "core/String.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/formats/ImageResource.h"
#include "platform/user/Screen.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "support/Raised.h"
#include "ui/controls/ColorView.h"
#include "ui/shell/Tool.h"
#include "ui/ViewTestSupport.h"
#include "ui/views/Window.h"
#include "support/ScreenPixels.h"

namespace {

std::uint32_t RGBOf(const Color& color) {
  return static_cast<std::uint32_t>((color.red >> 8) << 16 | (color.green >> 8) << 8 | color.blue >> 8);
}

// Counts the listener calls of the paint state.
struct CountingPaintState : PaintState {
  void NotifyListeners() override { ++notified; }
  int notified = 0;
};

// A surface whose device has an 8-bit table of its own: entry i is (i, 255 - i, 7).
class OwnTableSurface : public SurfaceDevice {
 public:
  OwnTableSurface(int width, int height) : SurfaceDevice(width, height) {
    GenericArray colors(sizeof(Color), 0);
    for (int i = 0; i < 256; ++i) {
      const Color color = Color::FromRGB8(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 7);
      colors.Insert(&color, colors.NumItems(), 1);
    }
    table = new ColorTable(colors);
  }
  ColorTable* GetColorTable() const override { return ~table; }

 private:
  SmartRef<ColorTable> table;
};

class ColorViewTest : public GraphicsFixture {
 protected:
  void TearDown() override {
    gChosenPattern = Pattern();
    gChosenPatternIndex = 0;
    GraphicsFixture::TearDown();
  }
};

TEST_F(ColorViewTest, ThePaletteStartsOnThePaintColourOrOnTheFirstCell) {
  ColorTable* standard = ColorTable::GetStandard(8);
  std::int32_t index = 0;
  const Color absent = Color::FromRGB8(1, 2, 3);
  ASSERT_FALSE(standard->IndexOf(absent, &index));
  struct Case {
    Color colour;
    Point cell;
  } cases[] = {{standard->GetColor(37), {5, 1}}, {standard->GetColor(255), {31, 7}}, {absent, {0, 0}}};
  TestWindow window(320, 80);
  for (Case& c : cases) {
    SmartRef<ColorView> view(new ColorView(~window.root, {0, 0, 32, 8}, nullptr, &c.colour));
    EXPECT_EQ(view->GetSelection(), c.cell) << RGBOf(c.colour);
    EXPECT_EQ(view->GetBounds(), Rect(0, 0, 320, 80));
  }
  EXPECT_EQ(RaisedText(Raised([&] { ColorView(~window.root, {0, 0, 32, 8}, nullptr, nullptr); })),
            "Missing (NULL) value.");
}

// A device with an 8-bit table of its own shows and gives its colours; any other device those of the
// standard table.
TEST_F(ColorViewTest, CellsShowAndGiveTheDevicesEightBitColours) {
  for (bool ownTable : {true, false}) {
    TestWindow window(320, 80);
    if (ownTable) {
      window.surface = new OwnTableSurface(320, 80);
      window.root = new RootView(~window.surface, ~window.notifier);
    }
    ColorTable* table = ownTable ? window.surface->GetColorTable() : ColorTable::GetStandard(8);
    Color colour = ColorTable::GetStandard(8)->GetColor(100);  // cell (4, 3), framed, away from those looked at
    CountingPaintState state;
    SmartRef<ColorView> view(new ColorView(~window.root, {0, 0, 32, 8}, &state, &colour));
    window.root->AddSubview(~view);
    window.MakeFront();
    window.root->Redraw(~window.surface);
    for (Point cell : {Point(0, 0), Point(5, 2), Point(31, 7), Point(17, 4)}) {
      const std::uint32_t expected = RGBOf(table->GetColor(cell.y * 32 + cell.x));
      EXPECT_EQ(window.surface->Pixel(cell.x * 10 + 4, cell.y * 10 + 5), expected) << cell.x << "," << cell.y;
      // Filled without an outline: the last column and row of a cell stay the window's.
      EXPECT_EQ(window.surface->Pixel(cell.x * 10 + 9, cell.y * 10 + 5), 0xFFFFFFu);
      EXPECT_EQ(window.surface->Pixel(cell.x * 10 + 4, cell.y * 10 + 9), 0xFFFFFFu);
    }
    view->SetSelection({5, 2});
    view->SelectionChanged();
    EXPECT_EQ(colour, table->GetColor(69)) << ownTable;
    EXPECT_EQ(state.notified, 1);
  }
}

TEST_F(ColorViewTest, TheStockPatternsBeginWithTheStandardOnesAndAreAllDifferent) {
  std::set<std::array<std::uint8_t, 8>> seen;
  for (int n = 0; n < 32; ++n) {
    const Pattern pattern = GetStockPattern(n);
    if (n < numStandardPatterns) {
      EXPECT_EQ(pattern, standardPatterns[static_cast<std::size_t>(n)]) << n;
    }
    EXPECT_TRUE(seen.insert(pattern.rows).second) << n;
  }
}

TEST_F(ColorViewTest, ChoosingAPatternSetsTheProgramsPatternAndTheNextGridStartsOnIt) {
  TestWindow window(256, 128);
  CountingPaintState state;
  SmartRef<PatternView> first(new PatternView(~window.root, {0, 0, 8, 4}, &state));
  EXPECT_EQ(first->GetSelection(), Point(0, 0));
  first->SetSelection({3, 1});
  first->SelectionChanged();
  EXPECT_EQ(gChosenPattern, GetStockPattern(11));
  EXPECT_EQ(gChosenPatternIndex, 11);
  EXPECT_EQ(state.notified, 1);
  SmartRef<PatternView> next(new PatternView(~window.root, {0, 0, 8, 4}, nullptr));
  EXPECT_EQ(next->GetSelection(), Point(3, 1));
  // An index no cell has leaves the first cell selected.
  for (std::int32_t index : {-9, -1, 32}) {
    gChosenPatternIndex = index;
    SmartRef<PatternView> view(new PatternView(~window.root, {0, 0, 8, 4}, nullptr));
    EXPECT_EQ(view->GetSelection(), Point(0, 0)) << index;
  }
}

// The editor's colour dropper as the choosers see it: a press opens a chooser under the pointer and
// hands the gesture to it; the paint state counts its listener calls.
class DropperTool : public Tool, public CountingPaintState {
 public:
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override {
    if (GetInteractor()) return Tool::MouseDown(x, y, modifiers, clicks, window);
    SetInteractor(~(patterns ? OpenSelectionWindow(this, {x, y}) : OpenPaletteWindow(this, &colour, {x, y})));
    return true;
  }
  GridSelector* Selector() const { return CastSmart<GridSelector>(~GetInteractor()); }

  bool patterns = false;
  Color colour = standardColors[1];
};

// A page window over the top-left of the main window (its points are main-window points), the dropper
// as the application's tool, and the mouse driven through the screen.
class ChooserTest : public ProgramFixture {
 protected:
  void TearDown() override {
    gChosenPattern = Pattern();
    gChosenPatternIndex = 0;
    ProgramFixture::TearDown();
  }
  void InProgram(std::function<void()> body) {
    Run([&] {
      const String title("Page");
      page = new Window(&title, kFrameNormal, false, false, 600, 400);
      page->SetGlobalBounds({0, 0, 600, 400});
      page->Open(true);
      page->Refresh();
      dropper = new DropperTool;
      app->SetTool(~dropper);
      body();
      page->Close();
      page = nullptr;
      dropper = nullptr;
      PostQuitMessage(0);
    });
  }
  // The mouse at a point of a framework window.
  static POINT OnScreen(Window* window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window->GetFrame()->GetHandle(), &p);
    return p;
  }
  void Button(Window* window, int x, int y, bool down) {
    const POINT p = OnScreen(window, x, y);
    platform::InjectMouseButton(p.x, p.y, platform::MouseButton::Left, down);
    Pump();
  }
  void MoveTo(Window* window, int x, int y) {
    const POINT p = OnScreen(window, x, y);
    platform::InjectMouseMove(p.x, p.y);
    Pump();
  }
  static std::uint32_t Pixel(Window* window, int x, int y) {
    return ScreenPixel(OnScreen(window, x, y));
  }
  // Opens the chooser with a click on the page: its window is up, waiting for a press.
  SmartRef<Window> OpenChooser(int x, int y) {
    Button(~page, x, y, true);
    Button(~page, x, y, false);
    EXPECT_NE(dropper->Selector(), nullptr);
    return dropper->Selector() ? dropper->Selector()->GetWindow() : nullptr;
  }
  bool IsListed(Window* window) const { return app->GetWindows().IndexOf(window) != 0; }

  SmartRef<Window> page;
  SmartRef<DropperTool> dropper;
};

TEST_F(ChooserTest, APaletteOpensUnderThePointerAndTheDraggedCellBecomesThePaintColour) {
  InProgram([&] {
    ColorTable* standard = ColorTable::GetStandard(8);
    dropper->colour = standard->GetColor(37);
    SmartRef<Window> palette = OpenChooser(400, 300);
    ASSERT_TRUE(palette);
    EXPECT_TRUE(IsListed(~palette));
    EXPECT_EQ(palette->GetFrameKind(), kFramePalette);
    SmartRef<String> title(palette->GetFrame()->GetTitle());
    EXPECT_EQ(TextOf(*title), "Palette");
    EXPECT_EQ(palette->GetFrame()->GetGlobalBounds(), Rect(80, 220, 400, 300));
    EXPECT_TRUE(dropper->Selector()->IsWaiting()) << "the release of the opening click is not a choice";

    // Drawn at once: each cell its colour, the paint colour's cell (5, 1) framed by an inversion.
    auto colourOf = [&](int column, int row) { return RGBOf(standard->GetColor(row * 32 + column)); };
    for (Point cell : {Point(0, 0), Point(31, 7), Point(12, 3)})
      EXPECT_EQ(Pixel(~palette, cell.x * 10 + 5, cell.y * 10 + 5), colourOf(cell.x, cell.y));
    EXPECT_EQ(Pixel(~palette, 50, 10), ~colourOf(5, 1) & 0xFFFFFF);
    EXPECT_EQ(Pixel(~palette, 51, 15), ~colourOf(5, 1) & 0xFFFFFF);
    EXPECT_EQ(Pixel(~palette, 52, 12), colourOf(5, 1));

    // A move without the button changes nothing; the press, the drag and the release choose.
    MoveTo(~palette, 15, 15);
    EXPECT_EQ(dropper->Selector()->GetGridView()->GetSelection(), Point(5, 1));
    Button(~palette, 15, 15, true);
    EXPECT_EQ(Pixel(~palette, 10, 10), ~colourOf(1, 1) & 0xFFFFFF);
    EXPECT_EQ(Pixel(~palette, 50, 10), colourOf(5, 1)) << "the old frame is erased";
    MoveTo(~palette, 400, 15);  // off the grid: the last cell stays
    EXPECT_EQ(dropper->Selector()->GetGridView()->GetSelection(), Point(1, 1));
    MoveTo(~palette, 57, 24);
    EXPECT_EQ(Pixel(~palette, 50, 20), ~colourOf(5, 2) & 0xFFFFFF);
    EXPECT_EQ(Pixel(~palette, 10, 10), colourOf(1, 1));
    EXPECT_EQ(dropper->notified, 0);
    EXPECT_EQ(dropper->colour, standard->GetColor(37));

    HWND native = palette->GetFrame()->GetHandle();
    Button(~palette, 57, 24, false);
    EXPECT_EQ(dropper->colour, standard->GetColor(69));
    EXPECT_EQ(dropper->notified, 1);
    EXPECT_EQ(dropper->GetInteractor(), nullptr);
    EXPECT_FALSE(IsListed(~palette)) << "the palette closes with the gesture";
    EXPECT_FALSE(IsWindowVisible(native));
    palette = nullptr;
    EXPECT_FALSE(IsWindow(native));
  });
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(ChooserTest, APressOutsideTheGridKeepsTheStartingColour) {
  InProgram([&] {
    dropper->colour = Color::FromRGB8(1, 2, 3);
    SmartRef<Window> palette = OpenChooser(400, 300);
    ASSERT_TRUE(palette);
    Button(~page, 50, 50, true);
    Button(~page, 590, 390, false);
    EXPECT_EQ(dropper->colour, ColorTable::GetStandard(8)->GetColor(0));
    EXPECT_EQ(dropper->notified, 1);
    EXPECT_FALSE(IsListed(~palette));
  });
}

TEST_F(ChooserTest, APaletteClosedByItsCloseBoxChoosesNothing) {
  InProgram([&] {
    const Color start = ColorTable::GetStandard(8)->GetColor(37);
    dropper->colour = start;
    SmartRef<Window> palette = OpenChooser(400, 300);
    ASSERT_TRUE(palette);
    PostMessageA(palette->GetFrame()->GetHandle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsListed(~palette));
    // Where the palette's cell (2, 2) was: the stale gesture ends, and the press opens a new palette.
    Button(~page, 100, 240, true);
    Button(~page, 100, 240, false);
    EXPECT_EQ(dropper->colour, start);
    EXPECT_EQ(dropper->notified, 0);
    ASSERT_NE(dropper->Selector(), nullptr);
    EXPECT_NE(dropper->Selector()->GetWindow(), palette);
    EXPECT_TRUE(dropper->Selector()->IsWaiting());
  });
}

TEST_F(ChooserTest, APopUpNearTheMainWindowsCornerStaysInsideIt) {
  InProgram([&] {
    SmartRef<Window> palette = OpenChooser(100, 30);
    ASSERT_TRUE(palette);
    EXPECT_EQ(palette->GetFrame()->GetGlobalBounds(), Rect(0, 0, 320, 80));
    dropper->SetInteractor(nullptr);
    EXPECT_FALSE(IsListed(~palette)) << "dropping the selector closes its window";
  });
}

// The whole pattern window, pixel by pixel: each pixel shows the pattern of the cell that drew it last
// (a cell fills one pixel beyond its edges, so its right and bottom neighbours cover its last column and
// row), black on white, and the selected cell's 2-pixel frame is inverted.
TEST_F(ChooserTest, ThePatternWindowShowsTheStockPatternsAndTheChosenOneReachesTheProgram) {
  InProgram([&] {
    gChosenPatternIndex = 11;
    dropper->patterns = true;
    SmartRef<Window> window = OpenChooser(500, 380);
    ASSERT_TRUE(window);
    SmartRef<String> title(window->GetFrame()->GetTitle());
    EXPECT_EQ(TextOf(*title), "S\xE9lection");
    EXPECT_EQ(window->GetFrame()->GetGlobalBounds(), Rect(244, 252, 500, 380));
    Pattern patterns[32];
    for (int n = 0; n < 32; ++n) patterns[n] = GetStockPattern(n);
    const Rect framed(96, 32, 128, 64);
    Rect inside = framed;
    inside.Inset(2);
    const std::vector<std::uint32_t> screen = platform::ComposeScreen();
    const POINT origin = OnScreen(~window, 0, 0);
    const auto width = static_cast<std::size_t>(platform::GetScreenSize().cx);
    int wrong = 0;
    for (int y = 0; y < 128; ++y) {
      for (int x = 0; x < 256; ++x) {
        const int column = std::min((x + 1) / 32, 7), row = std::min((y + 1) / 32, 3);
        const Pattern& pattern = patterns[row * 8 + column];
        std::uint32_t expected = (pattern.rows[static_cast<std::size_t>(y % 8)] & (0x80 >> (x % 8))) ? 0 : 0xFFFFFF;
        if (framed.Contains(x, y) && !inside.Contains(x, y)) expected ^= 0xFFFFFF;
        const std::uint32_t shown = screen[static_cast<std::size_t>(origin.y + y) * width + origin.x + x] & 0xFFFFFF;
        if (shown != expected && ++wrong <= 5) ADD_FAILURE() << "pixel " << x << "," << y;
      }
    }
    EXPECT_EQ(wrong, 0);

    Button(~window, 200, 100, true);
    Button(~window, 200, 100, false);
    EXPECT_EQ(gChosenPatternIndex, 30);
    EXPECT_EQ(gChosenPattern, patterns[30]);
    EXPECT_EQ(dropper->notified, 1);
    EXPECT_FALSE(IsListed(~window));
  });
  EXPECT_TRUE(alerts.Alerts().empty());
}

}  // namespace

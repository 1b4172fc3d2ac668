#include <gtest/gtest.h>

#include "ui/ControlTestSupport.h"
#include "graphics/DisplayPort.h"
#include "platform/user/Paint.h"
#include "platform/user/ScrollBar.h"
#include "support/Raised.h"
#include "ui/controls/ScrollBar.h"

namespace {

// Thirty rows of 10 pixels, red, green and blue in turn, scrolled by whole rows: the first row shown is
// the value of command 0 and a page is the rows that fit.
class RowsPane : public View, public Controllable {
  SMART_ABSTRACT(RowsPane)
 public:
  static constexpr std::int32_t kRows = 30;
  static constexpr std::int32_t kRowHeight = 10;

  RowsPane(View* parent, const Rect& frame) : View(parent, frame, kAnchorAll, true, false) {}
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }

  std::int32_t PageRows() const { return GetBounds().Size().y / kRowHeight; }
  void GetRange(std::int32_t, std::int32_t* min, std::int32_t* max) override {
    *min = 0;
    *max = kRows - PageRows();
  }
  std::int32_t GetPageSize(std::int32_t) override { return PageRows(); }
  void SetValue(std::int32_t, std::int32_t value) override {
    if (value == first) return;
    first = value;
    Invalidate(false);
  }
  std::int32_t GetValue(std::int32_t) override { return first; }

  static int ColourOfRow(std::int32_t row) { return 7 + row % 3; }
  void DrawContent(DisplayPort& port, const Area&) override {
    const Rect f = GetBounds();
    for (std::int32_t n = 0; n <= PageRows(); ++n) {
      const Rect row(f.left, f.top + n * kRowHeight, f.right, f.top + (n + 1) * kRowHeight);
      const Color colour(ColourOfRow(first + n));
      port.DrawRect(row, colour, colour);
    }
  }

  std::int32_t first = 0;
};

SMART_DEFINE_ABSTRACT(RowsPane, "RowsPane", View, Controllable)

std::uint32_t ScreenColourOfRow(std::int32_t row) {
  static constexpr std::uint32_t kColours[] = {0xFF0000, 0x00FF00, 0x0000FF};
  return kColours[row % 3];
}

class ScrollBars : public ControlsInWindow {
 protected:
  // A pane of 200 by 100 at (10, 10) of the window, inside a container that leaves the bar its strip.
  void WithPane(const std::function<void(ControlWindow&, RowsPane&, ScrollBar&)>& body) {
    InWindow([&](ControlWindow& window) {
      SmartRef<View> container(new View(&window, Rect(10, 10, 225, 110), kAnchorAll, true, false));
      window.AddSubview(~container);
      SmartRef<RowsPane> pane(new RowsPane(~container, ScrollBar::FrameRect(container->GetBounds(), true, false)));
      container->AddSubview(~pane);
      ScrollBar::AttachToView(~container, ~pane, true, false);
      ScrollBar* bar = nullptr;
      const List& children = container->GetSubviews();
      for (std::int32_t n = 1; n <= children.NumItems(); ++n)
        if (auto* found = CastSmart<ScrollBar>(children.At(n))) bar = found;
      ASSERT_NE(bar, nullptr);
      Pump();
      body(window, *pane, *bar);
    });
  }
  // The colour at the top of the pane, on the composed screen.
  std::uint32_t TopColour(const ControlWindow& window, const RowsPane& pane) {
    const Rect f = pane.GetBounds();
    return ScreenPixel(OnScreen(window.GetFrame()->GetHandle(), f.left + 5, f.top + 2));
  }
};

}  // namespace

TEST(ScrollBarGeometry, BarsGoAlongTheRightAndBottomEdgesAndPanesLeaveThemTheirStrip) {
  EXPECT_EQ(ScrollBar::FrameRect(Rect(0, 0, 100, 50), true, true), Rect(0, 0, 85, 35));
  EXPECT_EQ(ScrollBar::FrameRect(Rect(5, 5, 100, 50), true, false), Rect(5, 5, 85, 50));
  EXPECT_EQ(ScrollBar::FrameRect(Rect(5, 5, 100, 50), false, true), Rect(5, 5, 100, 35));
}

TEST_F(ScrollBars, AttachingBothBarsMakesTheVerticalOneFirstAndTheyOverlapInTheCorner) {
  InWindow([&](ControlWindow& window) {
    SmartRef<TestModel> model(new TestModel);
    model->ranges[0] = {0, 10};
    model->ranges[1] = {0, 10};
    SmartRef<View> pane(new View(&window, Rect(0, 0, 100, 50), kAnchorAll, true, false));
    window.AddSubview(~pane);
    ScrollBar::AttachToView(~pane, ~model, true, true);
    const List& bars = pane->GetSubviews();
    ASSERT_EQ(bars.NumItems(), 2);
    auto* vertical = CastSmart<ScrollBar>(bars.At(1));
    auto* horizontal = CastSmart<ScrollBar>(bars.At(2));
    ASSERT_TRUE(vertical && horizontal);
    EXPECT_EQ(vertical->GetBounds(), Rect(85, -1, 101, 51));
    EXPECT_EQ(horizontal->GetBounds(), Rect(-1, 35, 101, 51));
    EXPECT_TRUE(vertical->IsVertical());
    EXPECT_FALSE(horizontal->IsVertical());
    EXPECT_EQ(vertical->GetCommand(), 0);
    EXPECT_EQ(horizontal->GetCommand(), 1);
    EXPECT_EQ(vertical->GetAnchoring(), kAnchorTop | kAnchorBottom | kAnchorRight);
    EXPECT_EQ(horizontal->GetAnchoring(), kAnchorLeft | kAnchorBottom | kAnchorRight);
    EXPECT_EQ(GetWindowLongA(vertical->GetOSControl()->window, GWL_STYLE) & SBS_VERT, SBS_VERT);
    EXPECT_EQ(GetWindowLongA(horizontal->GetOSControl()->window, GWL_STYLE) & SBS_VERT, 0);
    char text[16] = {};
    GetWindowTextA(vertical->GetOSControl()->window, text, sizeof text);
    EXPECT_STREQ(text, "D\xE9" "filer");
    Rect range;
    vertical->GetSizeRange(&range);
    EXPECT_EQ(range, Rect(48, 48, 0, 0));
  });
}

TEST_F(ScrollBars, TheBarTakesThePageAndRangeOfItsAxisAndAPageOfZeroStepsByOne) {
  InWindow([&](ControlWindow& window) {
    SmartRef<TestModel> model(new TestModel);
    model->ranges[0] = {0, 30};
    model->pages[0] = 0;
    model->ranges[1] = {0, 5};
    model->pages[1] = 9;
    SmartRef<ScrollBar> bar(new ScrollBar(&window, Rect(300, 0, 316, 200), ~model, false));
    EXPECT_EQ(bar->GetPageSize(), 1);
    std::int32_t min = -1, max = -1;
    bar->GetRange(&min, &max);
    EXPECT_EQ(max, 30);
    bar->SetValue(10);
    bar->Clicked(6);
    EXPECT_EQ(bar->GetValue(), 11);
    bar->Clicked(5);
    EXPECT_EQ(bar->GetValue(), 10);
  });
}

TEST_F(ScrollBars, ANothingToScrollRangeHidesTheBarUntilTheModelGrowsAgain) {
  InWindow([&](ControlWindow& window) {
    SmartRef<TestModel> model(new TestModel);
    model->ranges[0] = {0, 0};
    SmartRef<ScrollBar> bar(new ScrollBar(&window, Rect(300, 0, 316, 200), ~model, false));
    window.AddSubview(~bar);
    HWND native = bar->GetOSControl()->window;
    EXPECT_FALSE(IsWindowVisible(native));
    model->ranges[0] = {0, 5};
    model->NotifyObservers();
    EXPECT_TRUE(IsWindowVisible(native));
    std::int32_t min = -1, max = -1;
    bar->GetRange(&min, &max);
    EXPECT_EQ(max, 5);
    model->ranges[0] = {0, 0};
    model->NotifyObservers();
    EXPECT_FALSE(IsWindowVisible(native));
  });
}

TEST_F(ScrollBars, AChangedRangeOutsideThePageIsBroughtToItsMiddle) {
  InWindow([&](ControlWindow& window) {
    SmartRef<TestModel> model(new TestModel);
    model->ranges[0] = {0, 40};
    model->pages[0] = 8;
    SmartRef<ScrollBar> bar(new ScrollBar(&window, Rect(300, 0, 316, 200), ~model, false));
    struct Case {
      std::int32_t value, first, count, command, after;
    } cases[] = {
        {0, 10, 1, 0, 7},   // below the page: to its middle, 10 - (8 - 1) / 2
        {5, 10, 1, 0, 5},   // rows 5 to 12 show it already
        {0, 7, 1, 0, 0},    // the last row of the page
        {0, 8, 1, 0, 5},    // just past it
        {20, 12, 9, 0, 20}, // its last row is the page's first
        {20, 12, 8, 0, 9},  // ends just above the page
        {20, 2, 3, 0, 0},   // above the page; the bar keeps the value within its range
        {0, 30, 1, 1, 0},   // another axis
    };
    for (const Case& c : cases) {
      bar->SetValue(c.value);
      model->NotifyRange(c.first, c.count, c.command);
      EXPECT_EQ(bar->GetValue(), c.after) << c.value << " " << c.first << "+" << c.count;
    }
  });
}

TEST_F(ScrollBars, ClickedStepsByLinesAndPages) {
  InWindow([&](ControlWindow& window) {
    SmartRef<TestModel> model(new TestModel);
    model->ranges[1] = {0, 40};
    model->pages[1] = 8;
    SmartRef<ScrollBar> bar(new ScrollBar(&window, Rect(0, 200, 300, 216), ~model, true));
    struct Case {
      std::int32_t code, after;
    } cases[] = {{3, 19}, {4, 21}, {5, 12}, {6, 28}, {1, 20}};
    for (const Case& c : cases) {
      bar->SetValue(20);
      bar->Clicked(c.code);
      EXPECT_EQ(bar->GetValue(), c.after) << c.code;
      EXPECT_EQ(model->values[1], c.after);
    }
  });
}

TEST_F(ScrollBars, ABarWithoutATargetIsRefusedAndLeavesNoNativeWindow) {
  InWindow([&](ControlWindow& window) {
    HWND frame = window.GetFrame()->GetHandle();
    EXPECT_EQ(RaisedText(Raised([&] { SmartRef<ScrollBar> bar(new ScrollBar(&window, Rect(0, 0, 16, 100), nullptr, false)); })),
              "Missing (NULL) value.");
    EXPECT_EQ(GetWindow(frame, GW_CHILD), nullptr);
  });
}

TEST_F(ScrollBars, TheNativeBarScrollsThePaneOnTheScreen) {
  WithPane([&](ControlWindow& window, RowsPane& pane, ScrollBar& bar) {
    EXPECT_EQ(bar.GetBounds(), Rect(210, 9, 226, 111));
    EXPECT_EQ(bar.GetPageSize(), 10);
    EXPECT_EQ(TopColour(window, pane), ScreenColourOfRow(0));
    HWND native = bar.GetOSControl()->window;
    RECT r;
    GetClientRect(native, &r);

    Click(OnScreen(native, r.right / 2, r.bottom - 4));  // the down arrow
    EXPECT_EQ(pane.first, 1);
    EXPECT_EQ(bar.GetValue(), 1);
    EXPECT_EQ(TopColour(window, pane), ScreenColourOfRow(1));

    Click(OnScreen(native, r.right / 2, r.bottom - 24));  // the track below the thumb
    EXPECT_EQ(pane.first, 11);
    EXPECT_EQ(TopColour(window, pane), ScreenColourOfRow(11));

    Click(OnScreen(native, r.right / 2, 4));  // the up arrow
    EXPECT_EQ(pane.first, 10);
    EXPECT_EQ(TopColour(window, pane), ScreenColourOfRow(10));
  });
}

TEST_F(ScrollBars, APaneThatScrollsItselfMovesTheBar) {
  WithPane([&](ControlWindow& window, RowsPane& pane, ScrollBar& bar) {
    pane.SetValue(0, 20);
    pane.NotifyRange(20, 1, 0);
    EXPECT_EQ(bar.GetValue(), 16) << "row 20 comes to the middle of a page of 10";
    EXPECT_EQ(pane.first, 16);
    Pump();
    EXPECT_EQ(TopColour(window, pane), ScreenColourOfRow(16));
  });
}

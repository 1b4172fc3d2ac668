#include <gtest/gtest.h>

#include "ui/ControlTestSupport.h"
#include "ui/controls/ProgressBar.h"

namespace {

using ProgressBarTest = ControlsInWindow;

TEST_F(ProgressBarTest, TheFilledWidthIsTheDoneShareOfTheFrameRoundedDown) {
  struct Case {
    std::uint32_t done, total;
    std::int32_t filled;
    bool changed;
  };
  // A bar 100 wide; each row follows the one before it.
  const Case cases[] = {
      {1, 40, 2, true},        // 2.5 rounds down
      {1, 40, 2, false},       // the same values draw nothing again
      {3, 4, 75, true},
      {15, 10, 100, true},     // more done than there is counts as all of it
      {10, 10, 100, false},
      {0xFFFFFFFF, 0xFFFFFFFF, 100, false},  // no overflow at the top of the range
      {5, 0, 0, true},         // an empty total leaves the bar empty
  };
  InWindow([&](ControlWindow& window) {
    SmartRef<ProgressBar> bar(new ProgressBar(&window, Rect(10, 10, 110, 25)));
    for (const Case& c : cases) {
      EXPECT_EQ(bar->SetProgress(c.done, c.total), c.changed) << c.done << "/" << c.total;
      EXPECT_EQ(bar->GetFilledWidth(), c.filled) << c.done << "/" << c.total;
    }
  });
}

TEST_F(ProgressBarTest, AFrameFilledInGreyFromTheLeft) {
  InWindow([&](ControlWindow& window) {
    SmartRef<ProgressBar> bar(new ProgressBar(&window, Rect(10, 10, 110, 25)));
    window.AddSubview(~bar);
    bar->SetProgress(1, 4);
    window.Invalidate(true);
    window.Refresh();
    const HWND handle = window.GetFrame()->GetHandle();
    const auto at = [&](int x, int y) { return ScreenPixel(OnScreen(handle, x, y)); };
    EXPECT_EQ(at(10, 10), 0x000000u);
    EXPECT_EQ(at(109, 24), 0x000000u);
    EXPECT_EQ(at(60, 24), 0x000000u);
    EXPECT_EQ(at(11, 11), 0x808080u);
    EXPECT_EQ(at(35, 23), 0x808080u);
    EXPECT_EQ(at(36, 12), 0xFFFFFFu) << "beyond the done part the window shows through";

    bar->SetProgress(4, 4);
    window.Invalidate(true);
    window.Refresh();
    EXPECT_EQ(at(108, 12), 0x808080u);
    EXPECT_EQ(at(109, 12), 0x000000u) << "a full bar keeps its frame";

    bar->Reset();
    window.Refresh();
    EXPECT_EQ(bar->GetFilledWidth(), 0);
    EXPECT_EQ(at(11, 11), 0xFFFFFFu) << "an emptied bar is drawn again";
  });
}

}  // namespace

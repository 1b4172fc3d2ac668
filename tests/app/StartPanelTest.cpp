// The start panel on the desk, clicked through the window system: its layout, the column's selection,
// and the top button's new page with its click sound only while no window is in front.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AppTestSupport.h"
#include "app/DromelApp.h"
#include "app/StartPanel.h"
#include "app/page/DromelWindow.h"
#include "ui/controls/GraphicButton.h"

namespace app_test {
namespace {

using editor_test::PlayedSounds;

constexpr int kClickSound = 3;

class StartPanelTest : public DromelAppTest {
 protected:
  static std::int32_t PageWindows() {
    std::int32_t count = 0;
    for (std::int32_t n = 1; n <= gApplication->GetWindows().NumItems(); ++n)
      if (CastSmart<DromelWindow>(gApplication->GetWindows().At(n))) ++count;
    return count;
  }
  static void ClickButton(std::int16_t number) {
    ClickAt(*gDeskWindow, gDromelApp->GetStartPanel()->GetButtonRect(number).Center());
  }
};

// The title picture at the desk's top-left corner and the column of five 133 x 78 buttons right under
// it; the desk is as large as the two.
TEST_F(StartPanelTest, TheColumnStandsUnderTheTitle) {
  std::vector<Rect> rects;
  Point desk;
  RunDromel({{&FrontIsWelcome, [&] {
                const List& views = gDeskWindow->GetSubviews();
                ASSERT_EQ(views.NumItems(), 2);
                auto* title = CastSmart<GraphicButton>(views.At(1));
                ASSERT_NE(title, nullptr);
                rects.push_back(title->GetBounds());
                StartButton* column = gDromelApp->GetStartPanel();
                EXPECT_EQ(views.At(2), static_cast<Smart*>(column));
                rects.push_back(column->GetBounds());
                for (std::int16_t n = 28; n <= 32; ++n) rects.push_back(column->GetButtonRect(n));
                desk = gDeskWindow->GetBounds().Size();
                CancelFront();
              }}});
  EXPECT_EQ(rects, (std::vector<Rect>{{0, 0, 133, 40},
                                      {0, 40, 133, 430},
                                      {0, 40, 133, 118},
                                      {0, 118, 133, 196},
                                      {0, 196, 133, 274},
                                      {0, 274, 133, 352},
                                      {0, 352, 133, 430}}));
  EXPECT_EQ(desk, Point(133, 430));
  EXPECT_TRUE(alerts.Alerts().empty());
}

// Clicks on the desk's column, one after the other, with the page window closed first: the lower
// buttons only move the selection, a click on the selected button counts again, and the top button
// makes a new page (with the click sound) only while no window is in front.
struct Click {
  std::int16_t button;
  std::int16_t selection;
  std::int32_t pageWindows;
  bool clickSound;
};

TEST_F(StartPanelTest, TheTopButtonStartsAPageOnlyWithNoWindowInFront) {
  MakeProject("Bureau", {{"page", 1000000000}});
  const std::vector<Click> clicks{
      {30, 30, 0, false},  // no page window: the selection only
      {30, 30, 0, false},  // again: nothing more
      {32, 32, 0, false},
      {28, 29, 1, true},   // a new page, whose palette starts on page 1 (button 29)
      {28, 28, 1, true},   // a window in front: no new page, only its palette's first page (and click)
  };
  std::vector<Click> seen;
  PlayedSounds* played = nullptr;
  const auto record = [&] {
    seen.push_back({clicks[seen.size()].button, gDromelApp->GetStartPanel()->GetSelection(), PageWindows(),
                    played->Numbers({kClickSound}) == std::vector<int>{kClickSound}});
    played->Clear();
  };
  std::vector<Step> script{{&FrontIsWelcome, [] { ChooseProject("Bureau"); }},
                           {&StartupOver, [&] {
                              played = new PlayedSounds;
                              gDromelApp->CloseWindow(nullptr, kCloseAsking);
                              ASSERT_EQ(Front(), nullptr);
                              ASSERT_TRUE(gDeskWindow->IsVisible());
                              ClickButton(clicks[0].button);
                            }}};
  for (std::size_t n = 1; n <= clicks.size(); ++n) {
    script.push_back({nullptr, [&, n] {
                        record();
                        if (n < clicks.size()) ClickButton(clicks[n].button);
                      }});
  }
  RunDromel(script);
  delete played;
  ASSERT_EQ(seen.size(), clicks.size());
  for (std::size_t n = 0; n < clicks.size(); ++n) {
    SCOPED_TRACE("click " + std::to_string(n + 1) + " on " + std::to_string(clicks[n].button));
    EXPECT_EQ(seen[n].selection, clicks[n].selection);
    EXPECT_EQ(seen[n].pageWindows, clicks[n].pageWindows);
    EXPECT_EQ(seen[n].clickSound, clicks[n].clickSound);
  }
  EXPECT_TRUE(alerts.Alerts().empty());
}

}  // namespace
}  // namespace app_test

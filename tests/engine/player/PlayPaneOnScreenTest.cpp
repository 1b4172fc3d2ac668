// A page playing in its pane on a real window of the program: after every step the screen shows what a
// full draw of the frame shows.
#include <gtest/gtest.h>

#include "engine/Seams.h"
#include "engine/player/PlayerTestSupport.h"
#include "engine/player/CPanePlay.h"
#include "engine/player/CPlayer.h"
#include "platform/kernel/System.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "support/ScreenPixels.h"
#include "support/ui/ProgramFixture.h"
#include "ui/views/Window.h"
#include "ui/views/WindowFrame.h"

using namespace engine_test;

namespace {

constexpr Rect kPage{0, 0, 200, 150};

class PlayPaneOnScreenTest : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    InstallEngineSeams();
  }
  // The page's pixels on the screen.
  ColourPicture OnScreen(Window& window) const {
    POINT origin{0, 0};
    ClientToScreen(window.GetFrame()->GetHandle(), &origin);
    return ScreenPicture({origin.x, origin.y, origin.x + kPage.right, origin.y + kPage.bottom});
  }
};

TEST_F(PlayPaneOnScreenTest, EachStepShowsTheFrameAsAFullDrawDoes) {
  Run([&] {
    DWORD now = 50000;
    platform::SetClockForTesting([&] { return now; });
    const SmartRef<CShow> page = MakePage(kPage, 3);
    CSprite* sprite = AddSprite(GroupOf(*page), *SolidPicture(30, 30, 4), 0, 3);
    CSprite* still = AddSprite(GroupOf(*page), *SolidPicture(60, 20, 9), 0, 3);
    for (std::int16_t f = 0; f < 3; ++f) {
      PlaceAt(*sprite, f, {10 + 50 * f, 20 + 10 * f});
      PlaceAt(*still, f, {70, 100});
    }
    const String title("Page");
    SmartRef<Window> window = new Window(&title, kFrameNormal, false, false, 300, 220);
    window->SetGlobalBounds({20, 20, 320, 240});
    Rect bounds;
    page->MakeEditor(&bounds, ~window, window->GetBounds());
    window->Open(true);
    window->Refresh();
    Pump();
    const List& subviews = window->GetSubviews();
    SmartRef<CPanePlay> pane(CastSmart<CPanePlay>(subviews.At(subviews.NumItems())));
    ASSERT_TRUE(pane);
    EXPECT_EQ(OnScreen(*window), FullDraw(*page, 0)) << "the pane's own painting";
    CPlayer& player = *pane->GetPlayer();
    player.Play(true);
    Pump();
    EXPECT_EQ(OnScreen(*window), FullDraw(*page, 0));
    for (int step = 1; step <= 4; ++step) {
      const std::int16_t before = player.GetCurrentFrame();
      for (int ms = 0; ms < 400 && player.GetCurrentFrame() == before; ++ms) {
        ++now;
        Pump();
      }
      const std::int16_t frame = player.GetCurrentFrame();
      EXPECT_EQ(frame, step % 3);
      EXPECT_EQ(OnScreen(*window), FullDraw(*page, frame)) << "step " << step;
    }
    player.Stop();
    pane = nullptr;
    window->Close();
    window = nullptr;
    platform::SetClockForTesting({});
    PostQuitMessage(0);
  });
}

}  // namespace

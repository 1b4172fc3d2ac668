// Two pages of a project played in a real SDL window under a real X server: xdotool clicks page A's door
// while the page plays on the wall clock, and page B opens in the same page window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/app/EngineAppTestSupport.h"
#include "engine/links/CJump.h"
#include "engine/links/CLink.h"
#include "engine/page/PageTestSupport.h"
#include "engine/player/CPanePlay.h"
#include "engine/player/CPlayer.h"
#include "engine/player/PlayerTestSupport.h"
#include "platform/backend/SdlBackend.h"
#include "platform/user/Message.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"
#include "support/AlertRecorder.h"
#include "support/XvfbChild.h"
#include "ui/views/DocWindow.h"
#include "ui/views/WindowFrame.h"

using namespace engine_test;

namespace {

const char* const kTitle = "Quillory pages";

struct Visit {
  DocWindow* window = nullptr;
  CPanePlay* paneA = nullptr;
  int ticks = 0;
  int clicks = 0;
  bool opened = false;
};
Visit* gVisit = nullptr;

// Runs on the program's loop: clicks the door now and then (the first click may come before the window
// takes input) until page B shows, then ends the loop.
void Hand(HWND, UINT, UINT_PTR, DWORD) {
  Visit& v = *gVisit;
  ++v.ticks;
  if (PlayPaneOf(v.window) != v.paneA) {
    v.opened = true;
    PostQuitMessage(0);
    return;
  }
  if (v.ticks < 3 || (v.clicks > 0 && v.ticks % 15 != 0)) return;
  // Never the same point twice: xdotool waits for ever to move the pointer where it already is.
  const Rect pane = v.paneA->GetBounds();
  POINT p{pane.left + 6 + 3 * (v.clicks % 5), pane.top + 8};
  ClientToScreen(v.window->GetFrame()->GetHandle(), &p);
  ++v.clicks;
  const std::string command = std::string("(timeout 20 xdotool search --sync --name '^") + kTitle +
                              "$' windowfocus --sync %1 mousemove --sync --window %1 " + std::to_string(p.x) + " " +
                              std::to_string(p.y) + " click 1) >/dev/null 2>&1 &";
  EXPECT_EQ(std::system(command.c_str()), 0);
}

struct UnderX : EngineAppTest {
  void TestBody() override {}
  void Play() {
    setenv("SDL_VIDEODRIVER", "x11", 1);
    SetUp();
    std::string error;
    auto sdl = platform::SdlBackend::Open(kTitle, &error);
    ASSERT_TRUE(sdl) << error;
    platform::SetBackend(std::move(sdl));
    AlertRecorder alerts;
    Visit visit;
    gVisit = &visit;
    InEngineProgram([&] {
      SmartRef<FileReference> fileB = SavePageFile(folder, *MakePage({0, 0, 300, 200}, 3), "b.zod");
      const SmartRef<CShow> pageA = MakePage({0, 0, 200, 150}, 6);
      AddSprite(GroupOf(*pageA), *SolidPicture(200, 150, 10), 0, 6)->ToggleBackgroundFlag(true);
      CSprite* door = AddSprite(GroupOf(*pageA), *SolidPicture(40, 30, 4), 0, 6);
      for (std::int16_t f = 0; f < 6; ++f) PlaceAt(*door, f, {0, 0});
      door->SetLink(0, 6, ~MakeLink(CLink::kPageWithReturn, 0, new CJumpMovie(*fileB)));
      SmartRef<FileReference> fileA = SavePageFile(folder, *pageA, "a.zod");

      visit.window = OpenAsMenuDoes(*fileA);
      ASSERT_NE(visit.window, nullptr);
      visit.paneA = PlayPaneOf(visit.window);
      ASSERT_NE(visit.paneA, nullptr);
      engineApp->SetActivePane(visit.paneA);
      visit.paneA->GetPlayer()->Play(false);
      const UINT_PTR hand = SetTimer(nullptr, 0, 100, &Hand);
      MSG msg;
      while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      KillTimer(nullptr, hand);
      ASSERT_TRUE(visit.opened) << "page B never showed";
      CPanePlay* paneB = PlayPaneOf(visit.window);
      ASSERT_NE(paneB, nullptr);
      EXPECT_EQ(paneB->GetShow()->GetMovieGroup()->GetBounds(), Rect(0, 0, 300, 200));
      EXPECT_TRUE(paneB->GetPlayer()->IsPlaying()) << "the playback goes on in page B";
      EXPECT_EQ(CastSmart<DocWindow>(~gApplication->FrontWindow()), visit.window) << "in the same window";
    });
    EXPECT_TRUE(alerts.Alerts().empty());
    gVisit = nullptr;
    TearDown();
    platform::SetBackend(nullptr);
  }
};

void PagesUnderX() { UnderX().Play(); }

const bool gChildRegistered = RegisterXvfbChild("PagesUnderX", &PagesUnderX);

TEST(PagesUnderX, AClickOnTheDoorInARealWindowOpensTheLinkedPage) {
  const int status = RunXvfbChild("PagesUnderX", "800x600x24", "xdotool");
  if (status == -1) GTEST_SKIP() << "xvfb-run or xdotool is missing (scripts/install-deps installs them)";
  EXPECT_EQ(status, 0);
}

}  // namespace

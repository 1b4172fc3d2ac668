// A small project made and played the way a user meets it: two pages made in page windows and saved into
// a project folder through the windows' save, read back from their files, page A played through the
// shell on the test's clock with its frame sounds going to the disk audio driver; its composed frames are
// the golden ones and those a full draw gives; a click on its door opens page B in the same window, going
// back returns to the frame left; a door to a page removed since is reported once and one to a page damaged
// since gives the program's message, page A staying both times.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "core/Sound.h"
#include "engine/EngineTestSupport.h"
#include "engine/app/EngineAppTestSupport.h"
#include "engine/links/CJump.h"
#include "engine/links/CLink.h"
#include "engine/page/PageTestSupport.h"
#include "engine/player/CPanePlay.h"
#include "engine/player/CPlayer.h"
#include "engine/player/PlayerTestSupport.h"
#include "platform/dialogs/CommonDialogs.h"
#include "platform/kernel/System.h"
#include "platform/user/Window.h"
#include "sound/SoundChannel.h"
#include "support/AlertRecorder.h"
#include "support/DiskAudio.h"
#include "support/ScreenPixels.h"
#include "support/graphics/GoldenPicture.h"
#include "ui/views/DocWindow.h"
#include "ui/views/WindowFrame.h"

using namespace engine_test;

namespace {

constexpr std::int16_t kFramesA = 6;
const Rect kStageA{0, 0, 160, 120};
const Rect kStageB{0, 0, 200, 150};
const char* const kDeviceFormat = "-r 22050 -c 1 -b 8 -e unsigned-integer";

class ProjectPlayedTest : public EngineAppTest {
 protected:
  void SetUp() override {
    EngineAppTest::SetUp();
    platform::SetClockForTesting([this] { return now; });
    previousChooser = platform::SetFileChooser([this](platform::FileDialogKind, const OPENFILENAMEA&) {
      std::optional<std::string> answer;
      if (!saveAs.empty()) {
        answer = saveAs.front();
        saveAs.pop_front();
      }
      return answer;
    });
    for (const char* effect : {"synth 0.12 sine 440", "synth 0.1 square 300"})
      sounds.push_back(SoxWave(kDeviceFormat, effect));
  }
  void TearDown() override {
    platform::SetFileChooser(std::move(previousChooser));
    gCurrentSoundChannel = nullptr;
    platform::SetClockForTesting({});
    EngineAppTest::TearDown();
  }

  // The page opened in a new page window and saved from there under the name, in the project folder; the
  // window is closed. Answers the page's file.
  SmartRef<FileReference> SaveThroughWindow(SmartRef<CShow> page, const std::string& name) {
    SmartRef<Smart> opened;
    engineApp->OpenDocument(&opened, SmartRef<Smart>(~page), nullptr);
    auto* window = CastSmart<DocWindow>(~opened);
    if (window == nullptr) return nullptr;
    const std::string path = folder.WinPath("Projets\\Essai\\" + name);
    saveAs.push_back(path);
    window->Save(kSaveDocumentAs);
    window->Close();
    Pump();
    return new FileReference(path.c_str());
  }

  // Page A: a painted background, a door to page B (with return) in the top-left corner and one to page C
  // in the top-right, a ball crossing the page, a sound in frames 1 and 3, and the last frame marked "fin".
  SmartRef<CShow> MakePageA(FileReference& pageB, FileReference& pageC) {
    const SmartRef<CShow> page = MakePage(kStageA, kFramesA);
    CMovieGroup& group = GroupOf(*page);
    AddSprite(group, *SolidPicture(160, 120, 10), 0, kFramesA)->ToggleBackgroundFlag(true);
    CSprite* door = AddSprite(group, *SolidPicture(30, 24, 4), 0, kFramesA);
    CSprite* gone = AddSprite(group, *SolidPicture(30, 24, 5), 0, kFramesA);
    CSprite* ball = AddSprite(group, *SolidPicture(20, 20, 2, true), 0, kFramesA);
    for (std::int16_t f = 0; f < kFramesA; ++f) {
      PlaceAt(*door, f, {0, 0});
      PlaceAt(*gone, f, {130, 0});
      PlaceAt(*ball, f, {10 + 22 * f, 60 + (f % 2) * 10});
    }
    door->SetLink(0, kFramesA, ~MakeLink(CLink::kPageWithReturn, 0, new CJumpMovie(pageB)));
    gone->SetLink(0, kFramesA, ~MakeLink(CLink::kPageWithReturn, 0, new CJumpMovie(pageC)));
    group.SetSound(1, 1, ~MakeSound(sounds[0]));
    group.SetSound(3, 1, ~MakeSound(sounds[1]));
    group.GetFrameIndex()->FindMark(kFramesA - 1, true)->GetLabel() = String("fin");
    return page;
  }

  // Moves the clock on a millisecond at a time until the condition holds or the limit passes.
  template <class Condition>
  bool RunUntil(DWORD limit, Condition condition) {
    for (DWORD i = 0; i < limit && !condition(); ++i) {
      ++now;
      Pump();
    }
    return condition();
  }

  // The screen's pixels over the pane.
  static ColourPicture Shown(CPanePlay& pane, DocWindow& window) {
    const Rect bounds = pane.GetBounds();
    POINT at{bounds.left, bounds.top};
    ClientToScreen(window.GetFrame()->GetHandle(), &at);
    return ScreenPicture({at.x, at.y, at.x + bounds.Width(), at.y + bounds.Height()});
  }

  DWORD now = 300000;
  std::deque<std::string> saveAs;
  platform::FileChooser previousChooser;
  std::vector<std::string> sounds;
};

TEST_F(ProjectPlayedTest, PagesSavedThroughTheirWindowsPlayWithTheirSoundsAndLinks) {
  ASSERT_FALSE(sounds.back().empty()) << "sox";
  std::filesystem::create_directories(folder.Path() / "Projets" / "Essai");
  DiskAudio audio;
  AlertRecorder alerts;
  InEngineProgram([&] {
    // ---- Made in page windows and saved into the project folder ----
    SmartRef<FileReference> fileB = SaveThroughWindow(MakePage(kStageB, 3), "b.zod");
    SmartRef<FileReference> fileC = SaveThroughWindow(MakePage(kStageB, 2), "c.zod");
    ASSERT_TRUE(fileB && fileC);
    SmartRef<FileReference> fileA = SaveThroughWindow(MakePageA(*fileB, *fileC), "a.zod");
    ASSERT_TRUE(fileA);
    std::filesystem::remove(folder.Path() / "Projets" / "Essai" / "c.zod");
    ASSERT_TRUE(gApplication->FrontWindow() == nullptr || !CastSmart<DocWindow>(~gApplication->FrontWindow()))
        << "every page window was closed";

    // ---- Read back: the marks, the links and the sounds are the page's own ----
    DocWindow* window = OpenAsMenuDoes(*fileA);
    ASSERT_NE(window, nullptr);
    EXPECT_NE(window->GetScribe(), nullptr) << "the page keeps its file";
    CPanePlay* paneA = PlayPaneOf(window);
    ASSERT_NE(paneA, nullptr);
    EXPECT_EQ(paneA->GetBounds().Size(), kStageA.Size()) << "the window fits its page";
    CShow& pageA = *paneA->GetShow();
    CMovie& groupA = *pageA.GetMovieGroup();
    EXPECT_EQ(groupA.GetFrameIndex()->FindLabel(String("fin")), kFramesA - 1);
    ASSERT_NE(groupA.GetSound(1), nullptr);
    ASSERT_NE(groupA.GetSound(3), nullptr);
    EXPECT_EQ(groupA.GetSound(2), nullptr);

    // ---- Played: the golden frames, each one what a full draw gives, and the sounds on the device ----
    engineApp->SetActivePane(paneA);
    paneA->GetPlayer()->Play(false);
    ColourPicture strip{kStageA.Width() * kFramesA, kStageA.Height(), {}};
    strip.pixels.resize(static_cast<std::size_t>(strip.width) * static_cast<std::size_t>(strip.height));
    for (std::int16_t f = 0; f < kFramesA; ++f) {
      SCOPED_TRACE(f);
      ASSERT_TRUE(RunUntil(1000, [&] { return paneA->GetPlayer()->GetCurrentFrame() == f; }));
      Pump();
      const ColourPicture shown = Shown(*paneA, *window);
      EXPECT_TRUE(shown == FullDraw(pageA, f)) << "the frame played is the frame drawn in full";
      for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
          strip.pixels[static_cast<std::size_t>(y * strip.width + f * kStageA.Width() + x)] =
              shown.pixels[static_cast<std::size_t>(y * shown.width + x)];
      // Each sound is let play to its end before the clock moves the page on.
      ASSERT_TRUE(DiskAudio::WaitUntilQuiet(3000));
    }
    ExpectGolden(strip, "pages/project-page-a.ppm");
    EXPECT_TRUE(paneA->GetPlayer()->IsPlaying()) << "the page loops";

    // ---- The door to page B: the same window, playing on; back to A at the frame left ----
    ASSERT_TRUE(RunUntil(1000, [&] { return paneA->GetPlayer()->GetCurrentFrame() == 2; }));
    ClickPane(*paneA, *window, {5, 5});
    ASSERT_TRUE(RunUntil(1000, [&] { return PlayPaneOf(window) != paneA; }));
    CPanePlay* paneB = PlayPaneOf(window);
    ASSERT_NE(paneB, nullptr);
    EXPECT_EQ(paneB->GetShow()->GetMovieGroup()->GetBounds(), kStageB);
    EXPECT_EQ(paneB->GetBounds().Size(), kStageB.Size()) << "the window fits the new page";
    EXPECT_TRUE(paneB->GetPlayer()->IsPlaying());
    EXPECT_EQ(CastSmart<DocWindow>(~gApplication->FrontWindow()), window);
    ASSERT_TRUE(paneB->GetPlayer()->GoBack());
    ASSERT_TRUE(RunUntil(1000, [&] { return PlayPaneOf(window) != paneB; }));
    CPanePlay* again = PlayPaneOf(window);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetShow()->GetMovieGroup()->GetBounds(), kStageA);
    EXPECT_EQ(again->GetPlayer()->GetCurrentFrame(), 2) << "at the frame it was left at";
    EXPECT_TRUE(alerts.Alerts().empty());

    // ---- The door to the removed page C: told once, and page A stays ----
    ClickPane(*again, *window, {135, 5});
    RunUntil(500, [] { return false; });
    EXPECT_EQ(PlayPaneOf(window), again);
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    // Read back, the link looks for its page beside page A and offers to look for it elsewhere: declined.
    EXPECT_NE(alerts.Alerts()[0].text.find("\"c.zod\""), std::string::npos) << alerts.Alerts()[0].text;
    EXPECT_TRUE(again->GetPlayer()->IsPlaying());

    // ---- Page B damaged since: text 191, and page A stays ----
    folder.Write("Projets/Essai/b.zod", "QLRW not an object file at all");
    ClickPane(*again, *window, {5, 5});
    RunUntil(500, [] { return false; });
    EXPECT_EQ(PlayPaneOf(window), again);
    ASSERT_EQ(alerts.Alerts().size(), 2u);
    EXPECT_EQ(alerts.Alerts()[1].text, NumberedText(191));
  });

  // Both frame sounds reached the device, in frame order.
  const std::string played = audio.Played();
  std::size_t at = 0;
  for (std::size_t i = 0; i < sounds.size(); ++i) {
    const std::size_t found = played.find(WaveSamples(sounds[i]), at);
    ASSERT_NE(found, std::string::npos) << "sound " << i << " after byte " << at << " of " << played.size();
    at = found + WaveSamples(sounds[i]).size();
  }
}

}  // namespace

// A page file that a playing page asks to open replaces the page in the same window through the idler;
// the playback goes on in the new page, and a file that is no page leaves the current page as it was.
#include <gtest/gtest.h>

#include "engine/EngineTestSupport.h"
#include "engine/app/EngineAppTestSupport.h"
#include "engine/page/PageTestSupport.h"
#include "engine/player/CPanePlay.h"
#include "engine/player/CPlayer.h"
#include "support/AlertRecorder.h"
#include "ui/views/DocWindow.h"

using namespace engine_test;

namespace {

struct Opened {
  DocWindow* window = nullptr;
  CPanePlay* pane = nullptr;
};

}  // namespace

class OpenInPaneTest : public EngineAppTest {
 protected:
  // The page file opened as the menu does and played, its pane made active as its window's activation
  // would.
  Opened OpenPlaying(FileReference& file) {
    Opened opened;
    opened.window = OpenAsMenuDoes(file);
    opened.pane = PlayPaneOf(opened.window);
    if (opened.pane) {
      engineApp->SetActivePane(opened.pane);
      opened.pane->GetPlayer()->Play(false);
    }
    return opened;
  }
};

TEST_F(OpenInPaneTest, ALinkedPageReplacesThePlayingOneInItsWindowAndPlaybackGoesOn) {
  InEngineProgram([&] {
    SmartRef<FileReference> fileA = SavePageFile(folder, *MakePage({0, 0, 200, 150}, 5), "a.pag");
    SmartRef<FileReference> fileB = SavePageFile(folder, *MakePage({0, 0, 300, 200}, 3), "b.pag");
    Opened a = OpenPlaying(*fileA);
    ASSERT_NE(a.pane, nullptr);
    CPlayer* playerA = a.pane->GetPlayer();
    ASSERT_TRUE(playerA->IsPlaying());
    const std::int32_t windows = gApplication->GetWindows().NumItems();

    playerA->QueueOpenFile(*fileB);
    engineApp->IdlerFired(engineApp->GetIdler());

    EXPECT_EQ(gApplication->GetWindows().NumItems(), windows) << "the same window shows the new page";
    EXPECT_EQ(CastSmart<DocWindow>(~gApplication->FrontWindow()), a.window);
    CPanePlay* paneB = PlayPaneOf(a.window);
    ASSERT_NE(paneB, nullptr);
    ASSERT_NE(paneB, a.pane);
    EXPECT_EQ(engineApp->GetActivePane(), paneB);
    EXPECT_EQ(paneB->GetShow()->GetMovieGroup()->GetBounds(), Rect(0, 0, 300, 200));
    EXPECT_TRUE(paneB->GetPlayer()->IsPlaying()) << "the playback continues in the linked page";
    EXPECT_TRUE(a.window->GetScribe()) << "the linked page is saved to its own file";
  });
}

TEST_F(OpenInPaneTest, ALinkedFileThatIsNoPageLeavesTheCurrentPage) {
  AlertRecorder recorder;
  InEngineProgram([&] {
    SmartRef<FileReference> fileA = SavePageFile(folder, *MakePage({0, 0, 200, 150}, 5), "a.pag");
    struct Case {
      const char* name;
      std::string bytes;
    } cases[] = {
        {"damaged.pag", "QLRW not an object file at all"},
        {"picture.bmp", FixtureBytes("pictures/im3-24.bmp")},
        {"truncated.pag", FixtureBytes("pictures/im3-24.bmp").substr(0, 10)},
    };
    Opened a = OpenPlaying(*fileA);
    ASSERT_NE(a.pane, nullptr);
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      recorder.Clear();
      a.pane->GetPlayer()->QueueOpenFile(*FileWith(c.name, c.bytes));
      engineApp->IdlerFired(engineApp->GetIdler());
      EXPECT_EQ(PlayPaneOf(a.window), a.pane) << "the current page stays";
      EXPECT_EQ(engineApp->GetActivePane(), a.pane);
      ASSERT_EQ(recorder.Alerts().size(), 1u);
      EXPECT_EQ(recorder.Alerts()[0].text, NumberedText(191));
    }
  });
}

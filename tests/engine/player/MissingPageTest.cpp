// Links to pages that cannot be opened: reported once, and the page stops on its frame.
#include <gtest/gtest.h>

#include <optional>

#include "core/CoreState.h"
#include "core/Exception.h"
#include "core/File.h"
#include "core/ObjectFile.h"
#include "engine/EngineTestSupport.h"
#include "engine/links/CLink.h"
#include "engine/player/CChorePlay.h"
#include "engine/player/PlayerTestSupport.h"
#include "platform/dialogs/CommonDialogs.h"
#include "support/AlertRecorder.h"
#include "support/DocumentBytes.h"

using namespace engine_test;

namespace {

class MissingPageTest : public PlayerTest {
 protected:
  void TearDown() override {
    platform::SetFileChooser({});
    PlayerTest::TearDown();
  }
  // A page jump read from a file that stored no file for it: following it asks the user for one.
  static SmartRef<CJump> JumpWithoutFile() {
    FileBytes f;
    f.Root(1, kJumpMovie, [&] { f.L(0); });
    std::vector<std::int32_t> sizes(14, -1);
    sizes[kJumpMovie - 1] = 4;
    return SmartRef<CJump>(CastSmart<CJumpMovie>(
        ~document_testing::ReadDocument(f.File(kCurrentVersions, sizes), nullptr, MakeEngineTypeIndex())));
  }
  void DeclineEveryChoice() {
    platform::SetFileChooser([this](platform::FileDialogKind, const OPENFILENAMEA&) {
      ++dialogs;
      return std::optional<std::string>();
    });
  }
  int dialogs = 0;
  AlertRecorder alerts;
};

struct MissingRow {
  const char* name;
  bool declined;  // else the file is gone
};

TEST_F(MissingPageTest, ATimedLinkToAPageThatCannotBeOpenedIsReportedOnceAndStopsThePage) {
  const MissingRow rows[] = {{"a page that is gone", false}, {"a page the user declined to choose", true}};
  for (const MissingRow& row : rows) {
    SCOPED_TRACE(row.name);
    alerts.Clear();
    dialogs = 0;
    DeclineEveryChoice();
    TheCoreState().reportedPlaces.clear();
    Open(MakePage(defaultMovieBounds, 3));
    const std::string gone = folder.WinPath("parti.zod");
    const SmartRef<CJump> jump =
        row.declined ? JumpWithoutFile() : SmartRef<CJump>(new CJumpMovie(FileReference(gone.c_str())));
    page->GetMovieGroup()->SetLink(1, 1, ~MakeLink(CLink::kPage, 0, jump));
    player->Play(true);
    RunFor(3000);
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_EQ(alerts.Alerts()[0].text.rfind("Le fichier li\xE9 n'existe plus !", 0), 0u) << alerts.Alerts()[0].text;
    EXPECT_EQ(State(), "frame 1 stopped requests []");
    EXPECT_EQ(dialogs, row.declined ? 1 : 0);
  }
}

TEST_F(MissingPageTest, AClickedLinkToAMissingPageRaisesToTheClicksCaller) {
  Open(MakePage(defaultMovieBounds, 3));
  page->SetFrameRate(0);
  const std::string gone = folder.WinPath("parti.zod");
  CSprite* button = AddSprite(GroupOf(*page), *SolidPicture(20, 20, 4), 0, 3);
  PlaceAt(*button, 0, {10, 10});
  button->SetLink(0, 3, ~MakeLink(CLink::kPage, 0, SmartRef<CJump>(new CJumpMovie(FileReference(gone.c_str())))));
  SmartRef<Smart> ignored;
  while (player->TakeRequest(&ignored) != 0) {}
  player->Play(true);
  EXPECT_THROW(player->MouseDown(15, 15), Exception*);
  EXPECT_TRUE(player->IsPlaying());
  EXPECT_FALSE(player->GetPlaybackChore()->IsWaiting());
  EXPECT_EQ(player->PeekRequestKinds(), std::vector<std::int32_t>{4}) << "the sprite's name, no page";
}

// A link as stored by an older program, with a second page jump to the file named, read from a file of
// the folder (where the stored name is looked for).
SmartRef<CLink> StoredLinkWithSecondJump(TempFolder& folder, const char* target) {
  FileBytes f;
  f.Root(1, kLink, [&] {
    f.B(std::string("\0\0", 2)).L(0).S(0);
    f.Object(2, kJumpMovie, [&] { f.Object(3, kFileReference, [&] { f.Text(target); }); });
    f.L(0);
  });
  folder.Write("liens.zod", f.File(kCurrentVersions, {-2, -2, -2, 42, 42, 10, 16, -1, -2, 4, 4, 13, 28, -1}));
  const SmartRef<FileReference> reference = new FileReference(folder.WinPath("liens.zod").c_str());
  const SmartRef<File> file = new File(~reference, kFileModeRead);
  const SmartRef<ObjectFile> objects = new ObjectFile(MakeEngineTypeIndex(), SmartRef<Stream>(~file));
  SmartRef<Smart> root;
  objects->Read(&root);
  return SmartRef<CLink>(CastSmart<CLink>(~root));
}

TEST_F(MissingPageTest, ASecondPageJumpIsOfferedForPreloadingThenATimedFiringStepsOnAndAClickStays) {
  folder.Write("autre.zod");
  const SmartRef<CLink> link = StoredLinkWithSecondJump(folder, "autre.zod");
  ASSERT_TRUE(link);
  ASSERT_NE(link->GetMovieJump(), nullptr);
  EXPECT_TRUE(alerts.Alerts().empty());

  Open(MakePage(defaultMovieBounds, 3));
  page->GetMovieGroup()->SetLink(0, 1, ~link);
  CSprite* button = AddSprite(GroupOf(*page), *SolidPicture(20, 20, 4), 0, 3);
  PlaceAt(*button, 0, {10, 10});
  button->SetLink(0, 3, ~link);
  player->Play(true);
  player->MouseDown(15, 15);
  EXPECT_EQ(player->GetCurrentFrame(), 0) << "a click on it does nothing more";
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text.rfind("Not implemented.", 0), 0u) << "preloading is not done";
  RunFor(260);
  EXPECT_EQ(State(), "frame 1 playing requests [4] history []") << "a timed firing goes to the next frame";
}

// The stored name is not found beside the file it was read from: the user is asked to look for it,
// declines, and the page stops without a further message.
TEST_F(MissingPageTest, ASecondPageJumpToAMissingPageStopsATimedFiring) {
  const SmartRef<CLink> link = StoredLinkWithSecondJump(folder, "parti.zod");
  ASSERT_TRUE(link);
  Open(MakePage(defaultMovieBounds, 3));
  page->GetMovieGroup()->SetLink(0, 1, ~link);
  player->Play(true);
  RunFor(1000);
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_NE(alerts.Alerts()[0].text.find("\"parti.zod\""), std::string::npos) << alerts.Alerts()[0].text;
  EXPECT_EQ(State(), "frame 0 stopped requests []");
}

}  // namespace

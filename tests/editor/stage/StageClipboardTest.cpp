// Cut, copy, paste and clear on the stage: where pasted sprites land and over which frames, what clearing
// hides, and that the clipboard tasks undo and redo through the pane.
#include <gtest/gtest.h>

#include "editor/browser/CBrowser.h"
#include "editor/stage/ImportExport.h"
#include "editor/stage/StageTestSupport.h"
#include "engine/kinds/CMovieRes.h"
#include "engine/links/CLink.h"
#include "engine/media/CResource.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "ui/shell/ClipTask.h"
#include "ui/shell/Clipboard.h"
#include "ui/views/Window.h"

namespace editor_test {
namespace {

using engine_test::GroupOf;
using engine_test::SolidPicture;

class StageClipboardTest : public StageTest {
 protected:
  CMovieGroup& Group() const { return GroupOf(*page); }
  CSprite* Last() const { return Sprite(static_cast<std::int16_t>(Group().GetSpriteCount() - 1)); }
  // A picture, as an outside program or a file would give it: not yet a movie or a sprite.
  static SmartRef<Smart> Picture(int width, int height, int colour) {
    const SmartRef<CMovie> movie = SolidPicture(width, height, colour);
    return SmartRef<Smart>(CastSmart<CMovieRes>(~movie)->GetResource(0)->GetObject());
  }
  // A clipboard holding copies of the sprites, as the pane's copy leaves it.
  SmartRef<Clipboard> CopyOf(std::initializer_list<std::int16_t> indexes) {
    pane->SelectSpriteAt(-1);
    for (std::int16_t index : indexes) pane->SetSpriteSelected(Sprite(index), true);
    const SmartRef<Clipboard> clip = new Clipboard;
    pane->Copy(~clip);
    pane->SelectSpriteAt(-1);
    return clip;
  }
};

struct PasteRow {
  const char* what;
  bool copied;  // copies of B (30 x 30 at (100, 60), 4 frames), else a 20 x 10 picture
  std::int16_t frame;
  std::int32_t mode, x, y;
  Rect placed;
  std::int16_t start, count, pageFrames;
};

TEST_F(StageClipboardTest, PasteModesPlaceTheSpritesAndFitThemToThePage) {
  const PasteRow rows[] = {
      {"copied sprites keep their place and start at the range", true, 1, 0, 0, 0, {100, 60, 130, 90}, 1, 4, 5},
      {"a picture goes to the centre", false, 1, 0, 0, 0, {100, 75, 120, 85}, 1, 3, 4},
      {"at a point, the first sprite's corner", true, 0, 2, 10, 20, {10, 20, 40, 50}, 0, 4, 4},
      {"a picture at a point", false, 2, 2, 5, 6, {5, 6, 25, 16}, 2, 2, 4},
      {"(-1, -1) moves by the pane's corner", true, 0, 2, -1, -1, {100, 60, 130, 90}, 0, 4, 4},
      {"mode 3 centres even copied sprites", true, 0, 3, 0, 0, {100, 75, 130, 105}, 0, 4, 4},
      {"at the last frame a picture stays one frame", false, 3, 0, 0, 0, {100, 75, 120, 85}, 3, 1, 4},
  };
  OnStage([&] {
    for (const PasteRow& row : rows) {
      SCOPED_TRACE(row.what);
      Open(MakeStagePage(4));
      SmartRef<Clipboard> clip;
      if (row.copied) {
        clip = CopyOf({2});
      } else {
        clip = new Clipboard;
        clip->SetScrap(~Picture(20, 10, 5));
      }
      pane->GetPlayer()->ShowFrame(row.frame);
      pane->SelectSprite(Sprite(1));
      pane->Paste(~clip, row.mode, row.x, row.y);
      ASSERT_EQ(Group().GetSpriteCount(), 5);
      EXPECT_EQ(Selected(), std::vector<int>{4}) << "the pasted sprite alone is selected";
      EXPECT_EQ(RectOf(4, row.frame), row.placed);
      EXPECT_EQ(Last()->GetStartFrame(), row.start);
      EXPECT_EQ(Last()->GetFrameCount(), row.count);
      EXPECT_EQ(Group().GetFrameCount(), row.pageFrames);
      EXPECT_EQ(RectOf(2, 0), Rect(100, 60, 130, 90)) << "the copied sprite stays where it was";
    }
  });
}

TEST_F(StageClipboardTest, EachPasteMakesSpritesOfItsOwn) {
  OnStage([&] {
    Open(MakeStagePage(4));
    const SmartRef<Clipboard> clip = CopyOf({2});
    pane->Paste(~clip, 2, 10, 10);
    pane->Paste(~clip, 2, 150, 100);
    ASSERT_EQ(Group().GetSpriteCount(), 6);
    EXPECT_EQ(RectOf(4, 0), Rect(10, 10, 40, 40)) << "the second paste leaves the first where it was put";
    EXPECT_EQ(RectOf(5, 0), Rect(150, 100, 180, 130));
    EXPECT_NE(Sprite(4), Sprite(5));
    auto* kept = CastSmart<CSprite>(CastSmart<ListData>(clip->GetScrap())->At(1));
    Rect r;
    kept->GetFrameGeometry(0, &r, nullptr);
    EXPECT_EQ(r, Rect(100, 60, 130, 90)) << "the clipboard's copy is unchanged";
  });
}

TEST_F(StageClipboardTest, ClearHidesTheSelectionFromTheRangeStart) {
  OnStage([&] {
    Open(MakeStagePage(4));
    // A late sprite: a picture over frames 2 and 3 only.
    const SmartRef<Clipboard> clip = new Clipboard;
    clip->SetScrap(~Picture(20, 10, 5));
    pane->GetPlayer()->ShowFrame(2);
    pane->Paste(~clip, 2, 0, 0);
    ASSERT_EQ(Group().GetSpriteCount(), 5);
    ASSERT_EQ(Last()->GetStartFrame(), 2);
    // Range [1, 3]: A starts before it and keeps frame 0; the late sprite goes whole.
    pane->SelectSpriteAt(-1);
    pane->SetRangeMode(CHAPane::kStoredRange);
    pane->SetFrameRange(1, 3);
    pane->SetSpriteSelected(Sprite(1), true);
    pane->SetSpriteSelected(Sprite(4), true);
    pane->Clear();
    EXPECT_EQ(Layout(*page),
              "0: 0,0,200,150 | 0,0,200,150 | 0,0,200,150 | 0,0,200,150\n"
              "1: 20,20,60,50 | - | - | -\n"
              "2: 100,60,130,90 | 100,60,130,90 | 100,60,130,90 | 100,60,130,90\n"
              "3: 150,100,170,120 | 150,100,170,120 | - | 150,100,170,120\n");
    EXPECT_TRUE(Selected().empty());
    EXPECT_FALSE(pane->CanEdit(kEditCopy));
    EXPECT_TRUE(pane->CanEdit(kEditPaste)) << "paste needs no selection";
  });
}

TEST_F(StageClipboardTest, CutPasteAndClearUndoAndRedoThroughTheirTasks) {
  OnStage([&] {
    Open(MakeStagePage(4));
    const SmartRef<Clipboard> appClip = new Clipboard;
    const SmartRef<Smart> picture = Picture(10, 10, 6);
    appClip->SetScrap(~picture);

    pane->SelectSprite(Sprite(2));
    const SmartRef<ClipTask> cut = new ClipTask(~appClip, ~pane, kClipCut);
    cut->Do();
    EXPECT_EQ(Group().GetSpriteCount(), 3) << "B had frames only from the range start: it is gone";
    EXPECT_TRUE(IsMember<ListData>(appClip->GetScrap())) << "the cut sprite is on the clipboard";
    cut->Undo();
    EXPECT_EQ(Layout(*page),
              "0: 0,0,200,150 | 0,0,200,150 | 0,0,200,150 | 0,0,200,150\n"
              "1: 20,20,60,50 | 20,30,60,60 | 20,40,60,70 | 20,50,60,80\n"
              "2: 150,100,170,120 | 150,100,170,120 | - | 150,100,170,120\n"
              "3: 100,60,130,90 | 100,60,130,90 | 100,60,130,90 | 100,60,130,90\n")
        << "undo pastes B back in its place, on top";
    EXPECT_EQ(appClip->GetScrap(), ~picture) << "and gives the clipboard its picture back";
    cut->Redo();
    EXPECT_EQ(Group().GetSpriteCount(), 3);

    const SmartRef<ClipTask> paste = new ClipTask(~appClip, ~pane, kClipPaste);
    const std::string beforePaste = SavedLayout();
    paste->Do();
    EXPECT_EQ(Group().GetSpriteCount(), 4);
    paste->Undo();
    EXPECT_EQ(SavedLayout(), beforePaste) << "undoing a paste clears what it pasted";
  });
}

TEST_F(StageClipboardTest, ContentThatMakesNoSpritePastesNothing) {
  OnStage([&] {
    Open(MakeStagePage(4));
    const std::string before = SavedLayout();
    // A clip-art link, a file reference from another program: nothing on a page shows it.
    const SmartRef<Clipboard> appClip = new Clipboard;
    appClip->SetScrap(new Clipboard);
    pane->SelectSprite(Sprite(1));
    const SmartRef<ClipTask> paste = new ClipTask(~appClip, ~pane, kClipPaste);
    paste->Do();
    EXPECT_EQ(SavedLayout(), before);
    EXPECT_TRUE(Selected().empty());
    paste->Undo();
    EXPECT_EQ(SavedLayout(), before) << "undoing the empty paste hides nothing that was selected";
  });
}

TEST_F(StageClipboardTest, ScrapClassFollowsTheToolAndTheSelection) {
  OnStage([&] {
    Open(MakeStagePage(4));
    const SmartRef<FileReference> file = new FileReference("tests\\sound.wav");
    const SmartRef<Sound> sound = new Sound(~file, false);
    Sprite(2)->SetSound(1, 1, ~sound);
    EXPECT_EQ(pane->GetScrapClass(), &CMovie::classInfo);
    pane->SelectSprite(Sprite(2));
    EXPECT_EQ(pane->GetScrapClass(), &CSprite::classInfo);
    UseTool(10);
    EXPECT_EQ(pane->GetScrapClass(), nullptr) << "no sound at frame 0";
    pane->GetPlayer()->ShowFrame(1);
    pane->SelectSprite(Sprite(2));
    EXPECT_EQ(pane->GetScrapClass(), &Sound::classInfo);
    UseTool(11);
    EXPECT_EQ(pane->GetScrapClass(), nullptr);
    Sprite(2)->SetLink(1, 1, ~SmartRef<CLink>(new CLink));
    EXPECT_EQ(pane->GetScrapClass(), &CLink::classInfo);
  });
}

TEST_F(StageClipboardTest, APageLinkIsAnOpaqueSpriteLeadingToThePage) {
  OnStage([&] {
    Open(MakeStagePage(2));
    const SmartRef<FileReference> target = new FileReference("C:\\Projets\\page2.qpg");
    const SmartRef<Clipboard> clip = gApplication->GetClipboard();
    pane->CopyPageLink(~target, ~Picture(16, 12, 4), ~gApplication);
    auto* list = CastSmart<ListData>(clip->GetScrap());
    ASSERT_TRUE(list != nullptr && list->NumItems() == 1);
    auto* sprite = CastSmart<CSprite>(list->At(1));
    ASSERT_NE(sprite, nullptr);
    EXPECT_FALSE(sprite->GetMovie()->ToggleMode1(false)) << "opaque";
    Rect r;
    sprite->GetFrameGeometry(0, &r, nullptr);
    EXPECT_EQ(r.Size(), Point(16, 12));
    CLink* link = sprite->GetLinkAtFrame(0);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->GetKind(), CLink::kPageWithReturn);
    ASSERT_NE(link->GetJumpAsMovie(), nullptr);
    String name, wanted;
    link->GetJumpAsMovie()->GetFile()->GetBaseNameAndType(name);
    target->GetBaseNameAndType(wanted);
    EXPECT_EQ(TextOf(name), TextOf(wanted));
    EXPECT_NE(link->GetJumpAsMovie()->GetFile(), ~target) << "the jump keeps a copy of the reference";
  });
}

TEST_F(StageClipboardTest, AnImportPastesAtThePointOrTheCentreAsOneUndoableTask) {
  OnStage([&] {
    Open(MakeStagePage(2));
    const SmartRef<Clipboard> clip = new Clipboard;
    clip->SetScrap(~Picture(20, 10, 5));
    gPendingImport = true;
    ImportClipTask(~clip, ~pane, Point(0, 0));
    EXPECT_FALSE(gPendingImport);
    ASSERT_EQ(Group().GetSpriteCount(), 5);
    EXPECT_EQ(RectOf(4, 0), Rect(100, 75, 120, 85)) << "(0, 0) places at the centre";
    ASSERT_EQ(sink.undoable.size(), 1u);
    sink.undoable.back()->Undo();
    EXPECT_EQ(Group().GetSpriteCount(), 4) << "undone as one task";
    ImportClipTask(~clip, ~pane, Point(30, 40));
    EXPECT_EQ(RectOf(4, 0), Rect(30, 40, 50, 50));
    const SmartRef<Clipboard> nothing = new Clipboard;
    nothing->SetScrap(new Clipboard);
    ImportClipTask(~nothing, ~pane, Point(30, 40));
    EXPECT_EQ(sink.undoable.size(), 2u) << "an import that pasted nothing leaves nothing to undo";
  });
}

// The undo of a background import takes the background away; its redo pastes it again and fits it as the
// import did: under the page's sprites, as large as the page, opaque, and not selected.
TEST_F(StageClipboardTest, ABackgroundImportRedoneIsFittedUnderThePageAgain) {
  OnStage([&] {
    Open(MakeStagePage(3));
    const SmartRef<CMovie> movie = SolidPicture(50, 40, 10);
    if (!(movie->GetMode() & CMovie::kModeKeyed)) movie->ToggleMode1(true);
    const SmartRef<CSprite> imported = new CSprite(0, movie, Rect(0, 0, 50, 40));
    imported->SetName(new String("__Background"));
    List content(&CSprite::classInfo);
    content.Append(~imported);
    const SmartRef<Clipboard> clip = new Clipboard;
    clip->SetScrap(~content.GetData());
    ImportClipTask(~clip, ~pane, Point(-1, -1), true);
    FitBackground(~pane);
    ASSERT_EQ(sink.undoable.size(), 1u);
    const auto fitted = [&](const char* when) {
      SCOPED_TRACE(when);
      ASSERT_EQ(Group().GetSpriteCount(), 5);
      CSprite* background = Sprite(1);
      ASSERT_EQ(TextOf(*background->GetName()), "__Background") << "right above the page's own background";
      EXPECT_TRUE(background->ToggleBackgroundFlag(false));
      EXPECT_EQ(background->GetMovie()->GetBounds().Size(), Point(200, 150));
      EXPECT_FALSE(background->GetMovie()->GetMode() & CMovie::kModeKeyed);
      EXPECT_EQ(Selected(), std::vector<int>{});
    };
    fitted("imported");
    const auto asUndo = [&](void (Task::*step)()) {
      gUndoing = true;
      ((~sink.undoable.back())->*step)();
      gUndoing = false;
    };
    asUndo(&Task::Undo);
    EXPECT_EQ(Group().GetSpriteCount(), 4) << "undone, the background is gone";
    EXPECT_EQ(Group().FindSpriteByName(String("__Background")), nullptr);
    asUndo(&Task::Redo);
    fitted("redone");
  });
}

}  // namespace
}  // namespace editor_test

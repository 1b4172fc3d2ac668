// Presses and keys on the stage: what a press selects or leaves, the dropper, Tab through the sprites,
// digits through the frames, and the clip tools that give a sprite the clipboard's sound or link.
#include <gtest/gtest.h>

#include "editor/CurrentStagePane.h"
#include "editor/stage/StageTestSupport.h"
#include "engine/links/CLink.h"
#include "engine/page/CMovieGroup.h"
#include "platform/kernel/System.h"
#include "platform/user/KeyState.h"
#include "support/AlertRecorder.h"
#include "ui/shell/App.h"
#include "ui/shell/Clipboard.h"

namespace editor_test {
namespace {

using engine_test::GroupOf;

class StageMouseTest : public StageTest {
 protected:
  void Stage(std::int32_t tool, const std::function<void()>& body) {
    OnStage([&] {
      UseTool(tool);
      Open(MakeStagePage(4));
      body();
    });
  }
  void Click(std::int32_t x, std::int32_t y) {
    platform::SetKeyDown(VK_LBUTTON, true);
    pane->MouseDown(x, y, 0, 1, ~window.root);
    platform::SetKeyDown(VK_LBUTTON, false);
    if (Tool* tool = AppTool()) tool->MouseMoved(x, y, 0, false, ~window.root);
  }
};

TEST_F(StageMouseTest, APressSelectsTheSpriteUnderItAloneOrEmptiesTheSelection) {
  Stage(3, [&] {
    pane->SetSpriteSelected(nullptr, true);
    Click(110, 70);
    EXPECT_EQ(Selected(), (std::vector<int>{3, 2, 1, 0})) << "a press on a selected sprite keeps the selection";
    pane->SelectSpriteAt(1);
    Click(110, 70);
    EXPECT_EQ(Selected(), std::vector<int>{2}) << "a press on another sprite selects it alone";
    EXPECT_TRUE(sink.undoable.empty()) << "a press without a move changes nothing";
    Click(5, 140);
    EXPECT_EQ(Selected(), std::vector<int>{}) << "the background is never hit";
    EXPECT_EQ(gCurrentStagePane, SmartRef<View>(~pane));
  });
}

TEST_F(StageMouseTest, TheDropperNeverChangesTheSelection) {
  // The dropper is a paint tool: the stage opens a picture in place when it becomes active, and the
  // pixel editor's zoom waits on the clock.
  platform::SetClockForTesting([this] { return now++; });
  Stage(110, [&] {
    AlertRecorder recorder;
    pane->SelectSpriteAt(2);
    Click(30, 30);
    Click(5, 140);
    EXPECT_EQ(Selected(), std::vector<int>{2});
    EXPECT_FALSE(recorder.Alerts().empty()) << "picking off the stage reports that it is not there yet";
  });
}

TEST_F(StageMouseTest, TabGoesDownThroughTheSpritesOfTheFrame) {
  Stage(3, [&] {
    std::vector<std::vector<int>> seen;
    for (int i = 0; i < 5; ++i) {
      pane->KeyDown(9, 0);
      seen.push_back(Selected());
    }
    EXPECT_EQ(seen, (std::vector<std::vector<int>>{{3}, {2}, {1}, {0}, {}}));
    pane->KeyDown('2', 0);
    EXPECT_EQ(pane->GetCurrentFrame(), 2);
    pane->KeyDown(9, 0);
    EXPECT_EQ(Selected(), std::vector<int>{2}) << "C is hidden in frame 2";
    pane->KeyDown('3', 0);
    EXPECT_EQ(pane->GetPlayer()->GetCurrentFrame(), 3);
  });
}

TEST_F(StageMouseTest, AClipGivesASpriteOnlyWhatItCarries) {
  Stage(3, [&] {
    CSprite* a = Sprite(1);
    const SmartRef<CLink> link = new CLink();
    a->SetLink(0, 4, ~link);
    const SmartRef<Sound> sound = engine_test::MakeSound(std::string("RIFF\4\0\0\0WAVE", 12));
    SmartRef<Clipboard> clipboard = new Clipboard();
    clipboard->SetScrap(~sound);
    pane->ApplyClipToSprite(~clipboard, 1, 2, a);
    EXPECT_EQ(a->GetSoundAtFrame(0), nullptr);
    EXPECT_NE(a->GetSoundAtFrame(1), nullptr);
    EXPECT_NE(a->GetSoundAtFrame(2), nullptr);
    EXPECT_EQ(a->GetSoundAtFrame(3), nullptr);
    for (std::int16_t f = 0; f < 4; ++f) EXPECT_NE(a->GetLinkAtFrame(f), nullptr) << "a sound keeps the link";
    const SmartRef<CLink> other = new CLink();
    clipboard->SetScrap(~other);
    pane->ApplyClipToSprite(~clipboard, 0, 0, a);
    EXPECT_NE(a->GetSoundAtFrame(1), nullptr) << "a link keeps the sound";
    EXPECT_NE(a->GetLinkAtFrame(0), nullptr);
  });
}

TEST_F(StageMouseTest, TheSoundToolGivesTheClickedSpriteTheClipboardsSound) {
  Stage(10, [&] {
    // The highlight lasts 350 ms of the clock, which runs here as it is read.
    platform::SetClockForTesting([this] { return now++; });
    const SmartRef<Sound> sound = engine_test::MakeSound(std::string("RIFF\4\0\0\0WAVE", 12));
    gApplication->GetClipboard()->SetScrap(~sound);
    pane->GetPlayer()->ShowFrame(1);
    Click(110, 70);
    platform::SetClockForTesting([this] { return now; });
    EXPECT_EQ(Selected(), std::vector<int>{2});
    EXPECT_NE(Sprite(2)->GetSoundAtFrame(1), nullptr) << "the range is the current frame";
    EXPECT_EQ(Sprite(2)->GetSoundAtFrame(0), nullptr);
    EXPECT_EQ(Layout(*page), Layout(*MakeStagePage(4))) << "nothing moved";
  });
}

// What a paint tool's click opens in place: a new picture on an empty spot, the clicked sprite's own
// picture on a picture sprite (a picture's editor always covers the page; the sprite edited is the one
// selected). The text tool's clicks are the typing suite's: a text pane needs a real page window.
struct ToolClickRow {
  const char* what;
  std::int32_t tool;
  Point at;
  int kind;
  Rect editor;
  std::vector<int> selected;
};

TEST_F(StageMouseTest, APaintToolClickPaintsTheClickedPictureOrANewOne) {
  const ToolClickRow rows[] = {
      {"a paint tool on an empty spot", 101, {70, 120}, ToolsPane::kEditsPicture, {0, 0, 200, 150}, {}},
      {"a paint tool on the picture B", 101, {110, 70}, ToolsPane::kEditsPicture, {0, 0, 200, 150}, {2}},
      {"paint tool 104 on the picture A", 104, {30, 30}, ToolsPane::kEditsPicture, {0, 0, 200, 150}, {1}},
  };
  // The pixel editor's zoom waits on the clock: here it runs as it is read.
  platform::SetClockForTesting([this] { return now++; });
  OnStage([&] {
    for (const ToolClickRow& row : rows) {
      SCOPED_TRACE(row.what);
      // Taken after the page opens: a paint tool current on activation opens a picture at once.
      UseTool(3);
      Open(MakeStagePage(4));
      UseTool(row.tool);
      Click(row.at.x, row.at.y);
      ASSERT_EQ(pane->GetEditingKind(), row.kind);
      EXPECT_EQ(pane->GetEditPane()->GetBounds(), row.editor);
      EXPECT_EQ(Selected(), row.selected);
      pane->FinishEditing(false);
      EXPECT_EQ(GroupOf(*page).GetSpriteCount(), 4) << "nothing painted or typed, nothing made";
    }
  });
}

}  // namespace
}  // namespace editor_test

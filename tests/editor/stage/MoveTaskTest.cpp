// Drags on the stage: a press on a sprite moves the selection with the pointer, and the release writes
// the move into the page as one undoable action; with a toggled tool the drag records motion over frames.
#include <gtest/gtest.h>

#include "editor/stage/CMoveTask.h"
#include "editor/stage/StageTestSupport.h"
#include "engine/page/CMovieGroup.h"
#include "platform/user/KeyState.h"
#include "ui/shell/Tool.h"
#include "support/graphics/GoldenPicture.h"

namespace editor_test {
namespace {

using engine_test::GroupOf;

Rect Moved(Rect r, std::int32_t dx, std::int32_t dy) {
  r.Offset(dx, dy);
  return r;
}

class MoveTaskTest : public StageTest {
 protected:
  // The body on the stage page of four frames, with the border-size tool (id 3) current.
  void Stage(const std::function<void()>& body) {
    OnStage([&] {
      UseTool(3);
      Open(MakeStagePage(4));
      before = SavedLayout();
      body();
    });
  }
  // The one task the drag posted.
  Task* Posted() {
    EXPECT_EQ(sink.undoable.size(), 1u);
    return sink.undoable.empty() ? nullptr : ~sink.undoable.back();
  }
  // Undo gives back the page as it was saved before the drag, and redo the page after it; both read
  // from the saved page.
  void ExpectUndoAndRedo(std::int16_t frames = -1) {
    const std::string after = SavedLayout(frames);
    Task* task = Posted();
    ASSERT_TRUE(task);
    task->Undo();
    EXPECT_EQ(SavedLayout(frames), before) << "undone";
    task->Redo();
    EXPECT_EQ(SavedLayout(frames), after) << "redone";
  }
  // The page's four frames before the drag.
  std::string before;
};

TEST_F(MoveTaskTest, ADragMovesThePressedSpriteInTheCurrentFrame) {
  Stage([&] {
    const Rect a = RectOf(1, 0);
    Drag({{30, 30}, {40, 35}, {55, 60}, {60, 70}});
    EXPECT_EQ(RectOf(1, 0), Moved(a, 30, 40));
    EXPECT_EQ(RectOf(1, 1), Moved(a, 0, 10)) << "the other frames stay";
    EXPECT_EQ(RectOf(2, 0), Rect(100, 60, 130, 90)) << "the other sprites stay";
    EXPECT_EQ(sink.toolCommands, 2) << "the task became the tool and gave it back";
    ExpectGolden(Render(), "editor/stage/move.ppm");
    ExpectUndoAndRedo();
  });
}

TEST_F(MoveTaskTest, APressWithoutAMovePostsNothing) {
  Stage([&] {
    const std::string layout = Layout(*page);
    Drag({{30, 30}, {30, 30}});
    EXPECT_TRUE(sink.undoable.empty());
    EXPECT_EQ(Layout(*page), layout);
  });
}

struct ConstrainRow {
  const char* name;
  std::int32_t modifiers;
  Point to;
  Point moved;
};

TEST_F(MoveTaskTest, ShiftKeepsOneAxisAndShiftControlTheDiagonal) {
  Stage([&] {
    const Rect a = RectOf(1, 0);
    const ConstrainRow rows[] = {
        {"shift, mostly across", kModifierShift, {70, 40}, {40, 0}},
        {"shift, mostly down", kModifierShift, {40, 70}, {0, 40}},
        {"shift and control, mostly across", kModifierShift | kModifierControl, {70, 40}, {40, 40}},
        {"shift and control, up and left", kModifierShift | kModifierControl, {28, 10}, {-20, -20}},
    };
    for (const ConstrainRow& row : rows) {
      SCOPED_TRACE(row.name);
      Drag({{30, 30}, row.to}, row.modifiers);
      EXPECT_EQ(RectOf(1, 0), Moved(a, row.moved.x, row.moved.y));
      ASSERT_EQ(sink.undoable.size(), 1u);
      sink.undoable.back()->Undo();
      EXPECT_EQ(RectOf(1, 0), a);
      sink.undoable.clear();
    }
    Drag({{30, 30}, {70, 40}}, kModifierShift | kModifierControl);
    ExpectGolden(Render(), "editor/stage/move-diagonal.ppm");
    ExpectUndoAndRedo();
  });
}

TEST_F(MoveTaskTest, ThePointerStaysOnePixelInsideTheStage) {
  Stage([&] {
    const Rect b = RectOf(2, 0);
    Drag({{110, 70}, {-40, 300}});
    // Pressed at (110, 70), held at (1, 149).
    EXPECT_EQ(RectOf(2, 0), Moved(b, 1 - 110, 149 - 70));
    sink.undoable.back()->Undo();
    sink.undoable.clear();
    Drag({{110, 70}, {500, -20}});
    EXPECT_EQ(RectOf(2, 0), Moved(b, 199 - 110, 1 - 70));
    ExpectGolden(Render(), "editor/stage/move-clamped.ppm");
    ExpectUndoAndRedo();
  });
}

TEST_F(MoveTaskTest, EverySelectedSpriteMovesWithThePressedOne) {
  Stage([&] {
    pane->SelectSpriteAt(2);
    pane->SetSpriteSelected(Sprite(1), true);
    const Rect a = RectOf(1, 0), b = RectOf(2, 0);
    Drag({{110, 70}, {100, 80}, {90, 95}});
    EXPECT_EQ(RectOf(2, 0), Moved(b, -20, 25));
    EXPECT_EQ(RectOf(1, 0), Moved(a, -20, 25));
    EXPECT_EQ(RectOf(3, 0), Rect(150, 100, 170, 120)) << "not selected";
    ExpectGolden(Render(), "editor/stage/move-several.ppm");
    ExpectUndoAndRedo();
  });
}

TEST_F(MoveTaskTest, ARangeOfFramesMovesInEveryFrameAndKeepsTheKeyFrames) {
  Stage([&] {
    pane->SetFrameRange(0, 3);
    ASSERT_EQ(pane->GetRangeMode(), CHAPane::kStoredRange);
    pane->SelectSpriteAt(3);
    pane->SetSpriteSelected(Sprite(1), true);
    Sprite(1)->SetKeyFrame(2, false);
    Drag({{160, 110}, {165, 115}, {170, 120}});
    for (std::int16_t f = 0; f < 4; ++f) {
      SCOPED_TRACE(f);
      EXPECT_EQ(RectOf(1, f), Rect(30, 30 + 10 * f, 70, 60 + 10 * f));
      EXPECT_EQ(Sprite(1)->IsKeyFrame(f), f != 2) << "each frame keeps its mark";
    }
    EXPECT_EQ(RectOf(3, 1), Rect(160, 110, 180, 130));
    EXPECT_TRUE(RectOf(3, 2).IsEmpty()) << "a frame where the sprite is hidden stays hidden";
    ExpectGolden(Render(), "editor/stage/move-range.ppm");
    ExpectUndoAndRedo();
  });
}

TEST_F(MoveTaskTest, RecordingLaysOneFramePerStepOfTheClockAndGrowsThePage) {
  Stage([&] {
    UseTool(3, true);
    ASSERT_EQ(page->GetFrameRate(), 15) << "a frame every 120 / 15 = 8 ms";
    View* root = ~window.root;
    platform::SetKeyDown(VK_LBUTTON, true);
    pane->MouseDown(30, 30, 0, 1, root);
    const std::vector<std::pair<DWORD, Point>> steps = {
        {8, {40, 30}}, {7, {50, 30}}, {1, {60, 30}}, {8, {70, 35}}, {8, {80, 40}}, {8, {90, 45}}, {8, {100, 50}},
    };
    std::vector<int> frames;
    for (const auto& [wait, at] : steps) {
      now += wait;
      AppTool()->MouseMoved(at.x, at.y, 0, true, root);
      frames.push_back(pane->GetPlayer()->GetCurrentFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 1, 2, 3, 4, 5, 6})) << "7 ms is too soon for the next frame";
    platform::SetKeyDown(VK_LBUTTON, false);
    AppTool()->MouseMoved(100, 50, 0, false, root);
    EXPECT_EQ(GroupOf(*page).GetFrameCount(), 7) << "the drag went past the last frame";
    // Grabbed 10 pixels into the sprite: each frame holds the sprite where the pointer was in it.
    EXPECT_EQ(RectOf(1, 0), Rect(20, 20, 60, 50));
    EXPECT_EQ(RectOf(1, 1), Rect(40, 20, 80, 50));
    EXPECT_EQ(RectOf(1, 2), Rect(50, 20, 90, 50));
    EXPECT_EQ(RectOf(1, 3), Rect(60, 25, 100, 55));
    EXPECT_EQ(RectOf(1, 6), Rect(90, 40, 130, 70));
    EXPECT_EQ(pane->GetCurrentFrame(), 6);
    ExpectGolden(Render(), "editor/stage/move-recorded.ppm");
    // Undo gives back the page's four frames and returns to the frame the drag started at.
    ExpectUndoAndRedo(4);
    Posted()->Undo();
    EXPECT_EQ(pane->GetCurrentFrame(), 0);
  });
}

}  // namespace
}  // namespace editor_test

// Scaling on the stage: a press on a corner handle (or any press with tool 15) drags that corner while
// the opposite one stays, and the release writes the new rectangle as one undoable action.
#include <gtest/gtest.h>

#include "editor/stage/CScaleTask.h"
#include "editor/stage/StageTestSupport.h"
#include "support/graphics/GoldenPicture.h"

namespace editor_test {
namespace {

class ScaleTaskTest : public StageTest {
 protected:
  // The body on the stage page of two frames with the tool current; A is (20, 20, 60, 50).
  void Stage(std::int32_t tool, const std::function<void()>& body) {
    OnStage([&] {
      UseTool(tool);
      Open(MakeStagePage(2));
      before = SavedLayout();
      body();
    });
  }
  // Undo gives back the saved page as it was, redo the scaled one.
  void ExpectUndoAndRedo() {
    ASSERT_EQ(sink.undoable.size(), 1u);
    const std::string after = SavedLayout();
    sink.undoable.back()->Undo();
    EXPECT_EQ(SavedLayout(), before) << "undone";
    sink.undoable.back()->Redo();
    EXPECT_EQ(SavedLayout(), after) << "redone";
    sink.undoable.back()->Undo();
    sink.undoable.clear();
  }
  std::string before;
};

struct ScaleRow {
  const char* name;
  std::int32_t modifiers;
  std::vector<Point> drag;
  Rect scaled;
};

TEST_F(ScaleTaskTest, TheGrabbedCornerFollowsThePointerAndNeverCrossesTheFixedOne) {
  Stage(3, [&] {
    const ScaleRow rows[] = {
        {"bottom-right corner out", 0, {{58, 48}, {70, 60}, {80, 70}}, {20, 20, 80, 70}},
        {"past the top-left corner", 0, {{58, 48}, {30, 30}, {0, 0}}, {20, 20, 24, 24}},
        {"top-left corner past the bottom-right", 0, {{21, 21}, {199, 149}}, {56, 46, 60, 50}},
        {"top-right corner in", 0, {{59, 20}, {50, 30}}, {20, 30, 50, 50}},
        {"shift, within 15 pixels of the size", kModifierShift, {{58, 48}, {70, 53}}, {20, 20, 60, 50}},
        {"shift, wider", kModifierShift, {{58, 48}, {100, 40}}, {20, 20, 100, 80}},
        {"shift, taller", kModifierShift, {{58, 48}, {30, 100}}, {20, 20, 127, 100}},
    };
    for (const ScaleRow& row : rows) {
      SCOPED_TRACE(row.name);
      Drag(row.drag, row.modifiers);
      EXPECT_EQ(RectOf(1, 0), row.scaled);
      EXPECT_EQ(RectOf(1, 1), Rect(20, 30, 60, 60)) << "the other frame stays";
      ExpectUndoAndRedo();
    }
  });
}

TEST_F(ScaleTaskTest, ScalingShowsTheScaledSpriteAndItsHandles) {
  Stage(3, [&] {
    Drag({{58, 48}, {75, 60}, {90, 80}});
    EXPECT_EQ(RectOf(1, 0), Rect(20, 20, 90, 80)) << "the corner goes where the pointer is";
    ExpectGolden(Render(), "editor/stage/scale.ppm");
    ExpectUndoAndRedo();
  });
}

TEST_F(ScaleTaskTest, ToolFifteenScalesFromAnyPointAndTheCentreCountsAsTopRight) {
  Stage(15, [&] {
    // Pressed on A's centre (40, 35): the right side and the top, about the bottom-left corner.
    Drag({{40, 35}, {70, 10}});
    EXPECT_EQ(RectOf(1, 0), Rect(20, 10, 70, 50));
    ExpectGolden(Render(), "editor/stage/scale-centre.ppm");
    ExpectUndoAndRedo();
  });
}

TEST_F(ScaleTaskTest, TheRectangleFollowsTheGrabbedSidesProportionally) {
  struct Row {
    std::int32_t dirX, dirY;
    Point pointer;
    Rect expected;
  };
  // From (0, 0, 40, 30) about its top-left corner, and (-40, -30, 0, 0) about its bottom-right one.
  const Row rows[] = {
      {1, 1, {80, 60}, {0, 0, 80, 60}},
      {1, 1, {20, 45}, {0, 0, 20, 45}},
      {-1, -1, {-20, -15}, {-20, -15, 0, 0}},
  };
  for (const Row& row : rows) {
    const Rect from = row.dirX > 0 ? Rect(0, 0, 40, 30) : Rect(-40, -30, 0, 0);
    EXPECT_EQ(CScaleTask::ScaleRect(row.dirX, row.dirY, row.pointer, {0, 0}, {0, 0}, from, from), row.expected);
  }
  // The box rides along, placed elsewhere: half the width, twice the height.
  EXPECT_EQ(CScaleTask::ScaleRect(1, 1, {120, 90}, {100, 60}, {10, 10}, {100, 60, 140, 75}, {10, 10, 50, 25}),
            Rect(10, 10, 30, 40));
}

}  // namespace
}  // namespace editor_test

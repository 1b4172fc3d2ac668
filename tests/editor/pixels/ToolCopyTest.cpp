// Copies and clones of the brush, the eraser and the task tool: what each takes over, and that a tool of
// another kind is refused.
#include <gtest/gtest.h>

#include "editor/CDropperTool.h"
#include "editor/pixels/CMouseTask.h"
#include "editor/pixels/CTaskTool.h"
#include "editor/pixels/PaintTools.h"
#include "editor/pixels/PixelTasks.h"
#include "editor/pixels/PixelTestSupport.h"
#include "graphics/DisplayPort.h"
#include "support/AlertRecorder.h"

namespace editor_test {
namespace {

class ToolCopyTest : public PixelTest {
 protected:
  // The picture's bytes after one stamp of the brush at picture (10, 10).
  std::vector<std::uint8_t> StampOf(CBrushTool& brush) {
    MakePane();
    DisplayPort port(pane->GetPicture(), {0, 0, 100, 80});
    brush.StampAt(port, 10, 10);
    return PictureBytes();
  }
};

TEST_F(ToolCopyTest, ACloneOfTheBrushPaintsTheSameShapeWithTheSameCursorAndSound) {
  SmartRef<CBrushTool> brush(new CBrushTool(~paintState));
  brush->SetChoice(0, 12);
  const Rect pen = brush->GetPenRect();
  SmartRef<CBrushTool> clone(CastSmart<CBrushTool>(brush->Clone()));
  ASSERT_TRUE(clone);
  EXPECT_EQ(clone->GetId(), 102);
  EXPECT_EQ(clone->GetChoice(0), 12);
  EXPECT_EQ(clone->GetCursor(), brush->GetCursor());
  EXPECT_EQ(clone->GetSound(), brush->GetSound());
  EXPECT_EQ(clone->GetPenRect(), pen);
  const std::vector<std::uint8_t> blank = PictureBytes();
  EXPECT_NE(StampOf(*brush), blank);
  EXPECT_EQ(StampOf(*clone), StampOf(*brush));
  // A brush of another size takes the copy's size and shape.
  SmartRef<CBrushTool> other(new CBrushTool(~paintState));
  ASSERT_TRUE(other->CanCopyFrom(~brush));
  other->CopyFrom(~brush);
  EXPECT_EQ(other->GetChoice(0), 12);
  EXPECT_EQ(other->GetPenRect(), pen);
  EXPECT_EQ(StampOf(*other), StampOf(*brush));
}

TEST_F(ToolCopyTest, ACloneOfTheEraserKeepsItsSize) {
  SmartRef<CEraserTool> eraser(new CEraserTool);
  eraser->SetChoice(0, 13);
  SmartRef<CEraserTool> clone(CastSmart<CEraserTool>(eraser->Clone()));
  ASSERT_TRUE(clone);
  EXPECT_EQ(clone->GetId(), 109);
  EXPECT_EQ(clone->GetExtent(), Point(24, 4));
  EXPECT_EQ(clone->GetSound(), eraser->GetSound());
  SmartRef<CEraserTool> other(new CEraserTool);
  other->CopyFrom(~eraser);
  EXPECT_EQ(other->GetChoice(0), 13);
}

TEST_F(ToolCopyTest, ACloneOfATaskToolGivesTheSameToolBackButRunsNoGesture) {
  AlertRecorder alerts;
  SmartRef<Tool> previous(new Tool);
  SmartRef<CEraserTool> eraser(new CEraserTool);
  SmartRef<CMouseTask> task = MakePixelTask(109, ~pane, pane->GetPicture(), ~eraser);
  SmartRef<CTaskTool> tool(new CTaskTool(~task, ~previous));
  SmartRef<CTaskTool> clone(CastSmart<CTaskTool>(tool->Clone()));
  ASSERT_TRUE(clone);
  EXPECT_EQ(clone->GetPreviousTool(), ~previous);
  EXPECT_EQ(clone->GetCursor(), previous->GetCursor());
  EXPECT_FALSE(clone->GetInteractor());
  EXPECT_ANY_THROW(clone->MouseDown(30, 40, 0, 1, ~window.root));
}

TEST_F(ToolCopyTest, ACopyFromAnotherKindOfToolIsRefused) {
  AlertRecorder alerts;
  SmartRef<CBrushTool> brush(new CBrushTool(~paintState));
  SmartRef<CEraserTool> eraser(new CEraserTool);
  SmartRef<CTaskTool> task(new CTaskTool(nullptr, nullptr));
  struct Case {
    Smart* target;
    Smart* source;
  } cases[] = {{~brush, ~eraser}, {~eraser, ~brush}, {~task, ~brush}, {~brush, ~task}};
  for (const Case& c : cases) {
    EXPECT_FALSE(c.target->CanCopyFrom(c.source));
    EXPECT_ANY_THROW(c.target->CopyFrom(c.source));
  }
  EXPECT_EQ(brush->GetChoice(0), 6);
  EXPECT_EQ(eraser->GetChoice(0), 3);
}

}  // namespace
}  // namespace editor_test

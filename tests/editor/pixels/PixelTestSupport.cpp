#include "editor/pixels/PixelTestSupport.h"

#include <gtest/gtest.h>

#include "editor/pixels/CMouseTask.h"
#include "editor/pixels/CTaskTool.h"
#include "editor/pixels/PixelTasks.h"
#include "editor/CurrentStagePane.h"
#include "ui/shell/App.h"
#include "ui/shell/Signal.h"
#include "ui/shell/Tool.h"

namespace editor_test {

void RecordingSink::DoCommand(GenericSignal* signal) {
  if (dynamic_cast<AppCommand*>(signal)) ++toolCommands;
}

void PixelTest::SetUp() {
  EditorTest::SetUp();
  // The use sounds of the paint tools.
  for (int n : {31, 32, 33, 35, 36}) data->WriteSound(n);
  InitPaintColors();
  paintState = new CDropperTool;
  CPixPane::zoomStepDelay = 0;
  CPixPane::blinkDelay = 0;
  window.notifier->AddSink(&sink);
  window.MakeFront();
  MakePane();
  white = PixelAt(0, 0);
}

void PixelTest::TearDown() {
  if (pane) window.root->RemoveSubview(~pane);
  pane = nullptr;
  gPixPane = nullptr;
  gCurrentStagePane = nullptr;
  sink.undoable.clear();
  paintState = nullptr;
  window.notifier->RemoveSink(&sink);
  CPixPane::zoomStepDelay = 50;
  CPixPane::blinkDelay = 100;
  EditorTest::TearDown();
}

void PixelTest::MakePane(CStamp* frameImage, const Rect& pictureRect) {
  if (pane) window.root->RemoveSubview(~pane);
  pane = new CPixPane(~window.root, paneBounds, pictureRect, frameImage);
  window.root->AddSubview(~pane);
}

std::uint32_t PixelTest::PixelAt(int x, int y) const {
  return pane->GetPicture()->GetBitMap()->GetPixelValue(x, y);
}

std::string PixelTest::Pixels(const Rect& rect, std::uint32_t ink) const {
  std::string text;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      const std::uint32_t v = PixelAt(x, y);
      text += v == white ? '.' : v == ink ? '#' : '?';
    }
    text += '\n';
  }
  return text;
}

std::vector<std::uint8_t> PixelTest::PictureBytes() const {
  std::vector<std::uint8_t> bytes;
  Rect bounds;
  pane->GetPicture()->GetBounds(&bounds);
  for (int y = 0; y < bounds.bottom; ++y)
    for (int x = 0; x < bounds.right; ++x) bytes.push_back(static_cast<std::uint8_t>(PixelAt(x, y)));
  return bytes;
}

void PixelTest::Drag(Tool* tool, const std::vector<Point>& points, std::int32_t modifiers) {
  View* root = ~window.root;
  tool->MouseDown(points.front().x, points.front().y, modifiers, 1, root);
  for (std::size_t n = 1; n < points.size(); ++n) tool->MouseMoved(points[n].x, points[n].y, modifiers, true, root);
  tool->MouseMoved(points.back().x, points.back().y, modifiers, false, root);
}

SmartRef<CMouseTask> PixelTest::Gesture(std::int32_t id, CTool* tool, const std::vector<Point>& points,
                                        std::int32_t modifiers) {
  SmartRef<CMouseTask> task = MakePixelTask(id, ~pane, pane->GetPicture(), tool);
  task->Prepare();
  SmartRef<CTaskTool> taskTool(new CTaskTool(~task, tool));
  Drag(~taskTool, points, modifiers);
  return task;
}

void PixelTest::ExpectUndoRedo(CMouseTask* task, const std::vector<std::uint8_t>& before) {
  const std::vector<std::uint8_t> after = PictureBytes();
  task->Undo();
  EXPECT_EQ(PictureBytes(), before) << "undo";
  task->Redo();
  EXPECT_EQ(PictureBytes(), after) << "redo";
}

}  // namespace editor_test

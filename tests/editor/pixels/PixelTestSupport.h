// A window for the pixel editor's tests: a root view over a white surface whose notifier records the
// tasks posted as undoable and carries out the commands sent (the application's tool changes), and the
// pixel pane over a part of it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/CDropperTool.h"
#include "editor/EditorTestSupport.h"
#include "editor/pixels/CPixPane.h"
#include "graphics/OffScreen.h"
#include "ui/ViewTestSupport.h"
#include "ui/shell/Task.h"

namespace editor_test {

class RecordingSink : public AppCommandSink {
 public:
  void Changed(void*) override {}
  void AddUndoable(Task* task) override { undoable.push_back(SmartRef<Task>(task)); }
  void WindowOpened(Window*) override {}
  void WindowClosed(Window*) override {}
  // The application's tool commands are counted.
  void DoCommand(GenericSignal* signal) override;

  std::vector<SmartRef<Task>> undoable;
  int toolCommands = 0;
};

// The pane at (20, 30) 100 x 80 in a 200 x 150 window, its picture white; the paint state at its first
// colours.
class PixelTest : public EditorTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The pane again, over the frame's picture.
  void MakePane(CStamp* frameImage = nullptr, const Rect& pictureRect = {20, 30, 120, 110});

  // The picture's pixel values, one character a pixel over the rectangle (picture coordinates): '.' for
  // the white index, '#' for the index given, '?' for any other.
  std::string Pixels(const Rect& rect, std::uint32_t ink) const;
  std::uint32_t PixelAt(int x, int y) const;
  std::vector<std::uint8_t> PictureBytes() const;
  // A press, the moves and a release at window points through the task tool.
  void Drag(Tool* tool, const std::vector<Point>& points, std::int32_t modifiers = 0);
  // One gesture of the tool's task, as the pane runs it; answers the task.
  SmartRef<CMouseTask> Gesture(std::int32_t id, CTool* tool, const std::vector<Point>& points,
                               std::int32_t modifiers = 0);
  // Undo gives back the bytes before, redo those after.
  void ExpectUndoRedo(CMouseTask* task, const std::vector<std::uint8_t>& before);

  TestWindow window{200, 150};
  // Where MakePane puts the pane, in the window.
  Rect paneBounds{20, 30, 120, 110};
  RecordingSink sink;
  SmartRef<CDropperTool> paintState;
  SmartRef<CPixPane> pane;
  std::uint32_t white = 0;
};

}  // namespace editor_test

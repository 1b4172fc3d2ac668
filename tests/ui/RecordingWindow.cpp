#include "RecordingWindow.h"

SMART_DEFINE_ABSTRACT(RecordingTask, "RecordingTask", SmartImplementation, Task)

SmartRef<RecordingWindow> OpenWindow(int kind, bool activate) {
  SmartRef<RecordingWindow> window(new RecordingWindow(kind));
  window->Open(activate);
  return window;
}

HWND HandleOf(Window& window) { return window.GetFrame()->GetHandle(); }

std::vector<HWND> ZOrder() {
  std::vector<HWND> order;
  ChildWindowIterator children;
  for (HWND child = children.First(); child; child = children.Next()) order.push_back(child);
  return order;
}

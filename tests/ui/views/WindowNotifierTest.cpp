#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Raised.h"
#include "support/graphics/SurfaceDevice.h"
#include "ui/ViewTestSupport.h"
#include "ui/views/WindowNotifier.h"

namespace {

using Calls = std::vector<std::string>;

class RecordingSink : public AppCommandSink {
 public:
  RecordingSink(Calls* calls, std::string name) : calls(calls), name(std::move(name)) {}
  void Changed(void*) override { Record("changed"); }
  void AddUndoable(Task* task) override { Record("undoable", task); }
  void WindowOpened(Window* window) override { Record("opened", window); }
  void WindowClosed(Window* window) override {
    Record("closed", window);
    if (leaveOnClose) leaveOnClose->RemoveSink(this);
  }
  void DoCommand(GenericSignal* signal) override { Record("command", signal); }
  WindowNotifier* leaveOnClose = nullptr;

 private:
  void Record(const std::string& what, const void* argument = nullptr) {
    calls->push_back(name + ":" + what + (argument ? " " + std::to_string(reinterpret_cast<std::uintptr_t>(argument)) : ""));
  }
  Calls* calls;
  std::string name;
};

class RecordingListener : public AppListener {
 public:
  RecordingListener(Calls* calls, std::string name) : calls(calls), name(std::move(name)) {}
  void AppChanged(App* app) override { calls->push_back(name + ":app " + std::to_string(reinterpret_cast<std::uintptr_t>(app))); }

 private:
  Calls* calls;
  std::string name;
};

template <class T>
T* Fake(std::uintptr_t n) {
  return reinterpret_cast<T*>(n);
}

TEST(WindowNotifier, ViewsReachEverySinkInOrderThroughTheSharedNotifier) {
  Calls calls;
  SmartRef<WindowNotifier> notifier(new WindowNotifier);
  RecordingSink app(&calls, "app"), document(&calls, "doc");
  notifier->AddSink(&app);
  notifier->AddSink(&document);
  SmartRef<SurfaceDevice> surface(new SurfaceDevice(20, 20));
  SmartRef<RootView> root(new RootView(~surface, ~notifier));
  SmartRef<ProbeView> pane(new ProbeView(~root, {0, 0, 10, 10}, nullptr, "P"));
  SmartRef<ProbeView> deep(new ProbeView(~pane, {0, 0, 5, 5}, nullptr, "D"));

  deep->NotifyChanged();
  deep->PostUndoable(Fake<Task>(1));
  deep->OpenWindow(Fake<Window>(2));
  deep->SendCommand(Fake<GenericSignal>(3));
  deep->Invalidate(true);  // hidden: nothing to repaint, but the change is still told
  EXPECT_EQ(calls, (Calls{"app:changed", "doc:changed", "app:undoable 1", "doc:undoable 1", "app:opened 2",
                          "doc:opened 2", "app:command 3", "doc:command 3", "app:changed", "doc:changed"}));
}

TEST(WindowNotifier, ASinkMayLeaveWhileAWindowClosesAndMissingEntriesAreRangeErrors) {
  Calls calls;
  WindowNotifier notifier;
  RecordingSink first(&calls, "first"), second(&calls, "second");
  first.leaveOnClose = &notifier;
  notifier.AddSink(&first);
  notifier.AddSink(&second);
  notifier.WindowClosed(Fake<Window>(9));
  EXPECT_EQ(calls, (Calls{"first:closed 9", "second:closed 9"}));
  calls.clear();
  notifier.Changed(nullptr);
  EXPECT_EQ(calls, (Calls{"second:changed"}));

  EXPECT_EQ(RaisedText(Raised([&] { notifier.RemoveSink(&first); })), "Range error");
  RecordingListener a(&calls, "a"), b(&calls, "b");
  EXPECT_EQ(RaisedText(Raised([&] { notifier.RemoveAppListener(&a); })), "Range error");
  notifier.AddAppListener(&a);
  notifier.AddAppListener(&b);
  calls.clear();
  notifier.NotifyAppListeners(Fake<App>(5));
  notifier.RemoveAppListener(&a);
  notifier.NotifyAppListeners(Fake<App>(6));
  EXPECT_EQ(calls, (Calls{"a:app 5", "b:app 5", "b:app 6"}));
}

}  // namespace

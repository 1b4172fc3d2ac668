// How the views of one window reach the window's owners (the application, a document window): each view
// holds the window's one notifier, which passes changes, undoable tasks, window openings and closings and
// commands to every registered sink, and application changes to every application listener.
#pragma once

#include "core/GenericArray.h"
#include "core/Smart.h"

class App;
class GenericSignal;
class Task;
class Window;

class AppCommandSink {
 public:
  // The content of a view changed (the document becomes modified). The argument is not read.
  virtual void Changed(void* unused) = 0;
  virtual void AddUndoable(Task* task) = 0;
  virtual void WindowOpened(Window* window) = 0;
  virtual void WindowClosed(Window* window) = 0;
  virtual void DoCommand(GenericSignal* signal) = 0;

 protected:
  ~AppCommandSink() = default;
};

// Told when the application changes (its active pane, say).
class AppListener {
 public:
  virtual void AppChanged(App* app) = 0;

 protected:
  ~AppListener() = default;
};

class WindowNotifier : public AppCommandSink, public SmartImplementation {
 public:
  WindowNotifier() = default;
  WindowNotifier(const WindowNotifier&) = delete;
  WindowNotifier& operator=(const WindowNotifier&) = delete;

  void AddSink(AppCommandSink* sink);
  // Removing a sink or a listener that is not registered raises "Range error".
  void RemoveSink(AppCommandSink* sink);
  void AddAppListener(AppListener* listener);
  void RemoveAppListener(AppListener* listener);
  void NotifyAppListeners(App* app);

  // Each goes to every sink, first to last. A sink may remove itself while told that a window closed.
  void Changed(void* unused) override;
  void AddUndoable(Task* task) override;
  void WindowOpened(Window* window) override;
  void WindowClosed(Window* window) override;
  void DoCommand(GenericSignal* signal) override;

 private:
  template <class F>
  void EachSink(F&& tell);

  GenericArray sinks{sizeof(AppCommandSink*), 0};
  GenericArray appListeners{sizeof(AppListener*), 0};
};

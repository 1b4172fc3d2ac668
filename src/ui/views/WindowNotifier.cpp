#include "ui/views/WindowNotifier.h"

#include <vector>

namespace {

template <class T>
void Append(GenericArray& array, T* item) {
  array.Insert(&item, array.NumItems(), 1);
}

template <class T>
void RemoveFirst(GenericArray& array, T* item) {
  array.Delete(array.Find(&item), 1);
}

template <class T>
T* ItemAt(GenericArray& array, std::int32_t n) {
  return *static_cast<T**>(array.At(n));
}

}  // namespace

void WindowNotifier::AddSink(AppCommandSink* sink) { Append(sinks, sink); }

void WindowNotifier::RemoveSink(AppCommandSink* sink) { RemoveFirst(sinks, sink); }

void WindowNotifier::AddAppListener(AppListener* listener) { Append(appListeners, listener); }

void WindowNotifier::RemoveAppListener(AppListener* listener) { RemoveFirst(appListeners, listener); }

void WindowNotifier::NotifyAppListeners(App* app) {
  for (std::int32_t n = 1; n <= appListeners.NumItems(); ++n) ItemAt<AppListener>(appListeners, n)->AppChanged(app);
}

template <class F>
void WindowNotifier::EachSink(F&& tell) {
  for (std::int32_t n = 1; n <= sinks.NumItems(); ++n) tell(ItemAt<AppCommandSink>(sinks, n));
}

void WindowNotifier::Changed(void* unused) {
  EachSink([&](AppCommandSink* sink) { sink->Changed(unused); });
}

void WindowNotifier::AddUndoable(Task* task) {
  EachSink([&](AppCommandSink* sink) { sink->AddUndoable(task); });
}

void WindowNotifier::WindowOpened(Window* window) {
  EachSink([&](AppCommandSink* sink) { sink->WindowOpened(window); });
}

void WindowNotifier::WindowClosed(Window* window) {
  std::vector<AppCommandSink*> copy;
  for (std::int32_t n = 1; n <= sinks.NumItems(); ++n) copy.push_back(ItemAt<AppCommandSink>(sinks, n));
  for (AppCommandSink* sink : copy) sink->WindowClosed(window);
}

void WindowNotifier::DoCommand(GenericSignal* signal) {
  EachSink([&](AppCommandSink* sink) { sink->DoCommand(signal); });
}

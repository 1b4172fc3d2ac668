// Windows and tasks that record what reaches them, for the window and application tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/shell/Task.h"
#include "ui/views/Window.h"

// A window that records what reaches it.
class RecordingWindow : public Window {
 public:
  explicit RecordingWindow(int kind = kFrameNormal, int width = 200, int height = 100)
      : Window(nullptr, kind, false, false, width, height) {}
  ~RecordingWindow() override {
    if (destroyed) *destroyed = true;
  }
  bool CanClose(int kind) override {
    closeKinds.push_back(kind);
    return mayClose;
  }
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override {
    downs.push_back({x, y, clicks});
    downModifiers.push_back(modifiers);
    return Window::MouseDown(x, y, modifiers, clicks, window);
  }
  bool MouseMoved(std::int32_t x, std::int32_t y, std::int32_t modifiers) override {
    moves.push_back({x, y, modifiers});
    return Window::MouseMoved(x, y, modifiers);
  }
  bool KeyDown(std::int32_t key, std::int32_t) override {
    keys.push_back(key);
    return takesKeys;
  }
  void DrawContent(DisplayPort& port, const Area& area) override {
    ++draws;
    Window::DrawContent(port, area);
  }

  struct Event {
    int x, y, extra;
  };
  std::vector<Event> downs, moves;
  std::vector<std::int32_t> downModifiers;
  std::vector<int> keys;
  std::vector<int> closeKinds;
  bool mayClose = true;
  bool takesKeys = true;
  int draws = 0;
  bool* destroyed = nullptr;
};

// A task that records its undos and redos.
class RecordingTask : public SmartImplementation, public Task {
  SMART_ABSTRACT(RecordingTask)
 public:
  RecordingTask(std::string name, std::vector<std::string>& log) : name(std::move(name)), log(log) {}
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }
  void Do() override { log.push_back("do " + name); }
  void Undo() override {
    EXPECT_TRUE(gUndoing);
    log.push_back("undo " + name);
  }
  void Redo() override { log.push_back("redo " + name); }

 private:
  std::string name;
  std::vector<std::string>& log;
};

SmartRef<RecordingWindow> OpenWindow(int kind = kFrameNormal, bool activate = true);
HWND HandleOf(Window& window);

// The windows of the main window from the top down.
std::vector<HWND> ZOrder();

// Controls inside a real framework window of the running program, driven by input injected at the
// screen, with a model that records what its controls tell it and a signal that records its sends.
#pragma once

#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "support/ui/ProgramFixture.h"
#include "platform/user/Screen.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "ui/controls/Control.h"
#include "ui/controls/Controllable.h"
#include "ui/shell/Signal.h"
#include "support/WindowFixture.h"
#include "ui/views/Window.h"
#include "support/ScreenPixels.h"

// Per command: a range, a page size and a value; every SetValue is recorded as {command, value}.
class TestModel : public SmartImplementation, public Controllable {
  SMART_ABSTRACT(TestModel)
 public:
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }

  void GetRange(std::int32_t command, std::int32_t* min, std::int32_t* max) override {
    ++rangeQueries;
    *min = ranges[command].first;
    *max = ranges[command].second;
  }
  std::int32_t GetPageSize(std::int32_t command) override { return pages[command]; }
  void SetValue(std::int32_t command, std::int32_t value) override {
    values[command] = value;
    sets.emplace_back(command, value);
  }
  std::int32_t GetValue(std::int32_t command) override { return values[command]; }

  std::map<std::int32_t, std::pair<std::int32_t, std::int32_t>> ranges;
  std::map<std::int32_t, std::int32_t> pages;
  std::map<std::int32_t, std::int32_t> values;
  std::vector<std::pair<std::int32_t, std::int32_t>> sets;
  int rangeQueries = 0;
};

// Counts its sends and remembers the watcher of the last one.
class RecordingSignal : public GenericSignal {
 public:
  int GetSignalStatus(Smart* watcher) override { return statusFor ? statusFor(watcher) : status; }
  void Send(Smart* watcher) override {
    ++sends;
    lastWatcher = watcher;
    if (onSend) onSend();
  }
  int status = kCommandEnabled;
  int sends = 0;
  Smart* lastWatcher = nullptr;
  std::function<void()> onSend;
  std::function<int(Smart*)> statusFor;
};

class ControlWindow : public Window {
 public:
  ControlWindow(std::int32_t width, std::int32_t height) : Window(nullptr, kFrameNormal, false, false, width, height) {}
};

class ControlsInWindow : public ProgramFixture {
 protected:
  // The body runs with a 320 x 240 window open and active at (20, 30) of the main window.
  void InWindow(const std::function<void(ControlWindow&)>& body) {
    Run([&] {
      SmartRef<ControlWindow> window(new ControlWindow(320, 240));
      window->SetGlobalBounds(Rect(20, 30, 340, 270));
      window->Open(true);
      Pump();
      body(*window);
      window->Close();
      Pump();
      PostQuitMessage(0);
    });
  }

  // The screen point of a point of a native window's client area.
  static POINT OnScreen(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
  }
  void Press(POINT p) {
    platform::InjectMouseButton(p.x, p.y, platform::MouseButton::Left, true);
    Pump();
  }
  void Release(POINT p) {
    platform::InjectMouseButton(p.x, p.y, platform::MouseButton::Left, false);
    Pump();
  }
  void MoveTo(POINT p) {
    platform::InjectMouseMove(p.x, p.y);
    Pump();
  }
  void Click(POINT p) {
    Press(p);
    Release(p);
  }
  // A click in the middle of a control's native window.
  void ClickControl(const Control& control) {
    RECT r;
    GetClientRect(control.GetOSControl()->window, &r);
    Click(OnScreen(control.GetOSControl()->window, r.right / 2, r.bottom / 2));
  }
};

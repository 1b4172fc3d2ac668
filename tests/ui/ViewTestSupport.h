// Views for the view tests: a root view standing for a window over any device, and probe views that
// record what reaches them and paint their frame in one colour.
#pragma once

#include <string>
#include <vector>

#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "support/graphics/SurfaceDevice.h"
#include "ui/views/View.h"
#include "ui/views/WindowNotifier.h"

class RootView : public View {
 public:
  RootView(DisplayDevice* device, WindowNotifier* notifier, bool buffered = false)
      : View(device, notifier, true, false, buffered) {}
};

// A window's root view over a surface of its own, with the window's notifier.
struct TestWindow {
  TestWindow(int width, int height, bool buffered = false)
      : surface(new SurfaceDevice(width, height)), notifier(new WindowNotifier),
        root(new RootView(~surface, ~notifier, buffered)) {}
  // Shown and active, as the application leaves its front window.
  void MakeFront() {
    root->Show(true);
    root->SetParentActive(true);
    root->SetTargetFlag(true);
  }
  // The bounds of what the surface has to repaint; empty when nothing.
  Rect InvalidBounds() const {
    Area invalid;
    surface->GetInvalidArea(&invalid);
    return invalid.IsEmpty() ? Rect(0, 0, 0, 0) : invalid.GetBounds();
  }

  SmartRef<SurfaceDevice> surface;
  SmartRef<WindowNotifier> notifier;
  SmartRef<RootView> root;
};

// One shared record of the calls, in order, as "name:what".
using CallLog = std::vector<std::string>;

class ProbeView : public View {
 public:
  ProbeView(View* parent, const Rect& frame, CallLog* log, std::string name, bool acceptsTarget = true,
            std::uint8_t anchoring = kAnchorTopLeft)
      : View(parent, frame, anchoring, acceptsTarget, false), log(log), name(std::move(name)) {}

  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override {
    Record("down " + std::to_string(x) + "," + std::to_string(y) + " m" + std::to_string(modifiers) + " c" +
           std::to_string(clicks));
    lastWindow = window;
    return View::MouseDown(x, y, modifiers, clicks, window) || handles;
  }
  bool MouseMoved(std::int32_t x, std::int32_t y, std::int32_t modifiers) override {
    Record("move " + std::to_string(x) + "," + std::to_string(y));
    return View::MouseMoved(x, y, modifiers) || handles;
  }
  bool KeyDown(std::int32_t key, std::int32_t modifiers) override {
    Record("key " + std::to_string(key));
    return View::KeyDown(key, modifiers) || handles;
  }
  void Idle() override {
    Record("idle");
    View::Idle();
  }
  void Activate(bool active) override { Record(active ? "on" : "off"); }
  void DrawContent(DisplayPort& port, const Area&) override {
    if (paint) port.DrawRect(GetBounds(), color, color);
  }
  void GetSizeRange(Rect* range) override { *range = sizeRange; }

  bool handles = true;
  bool paint = false;
  Color color;
  Rect sizeRange{0, 0, 0, 0};
  View* lastWindow = nullptr;

 private:
  void Record(const std::string& what) {
    if (log) log->push_back(name + ":" + what);
  }
  CallLog* log;
  std::string name;
};

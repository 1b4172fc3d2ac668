#include "ui/controls/GraphicButton.h"

#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/Transform.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "ui/shell/Signal.h"
#include "ui/shell/MessagePump.h"

SMART_DEFINE_ABSTRACT(GraphicButton, "GraphicButton", View)
SMART_DEFINE_ABSTRACT(ToggleButton, "ToggleButton", GraphicButton)
SMART_DEFINE_ABSTRACT(GraphicPushButton, "GraphicPushButton", ToggleButton)

GraphicButton::GraphicButton(View* parent, const Rect& frame, Graphic* graphic, GenericSignal* signal, Smart* watcher)
    : View(parent, frame, kAnchorTopLeft, true, false), graphic(graphic), signal(signal), watcher(watcher) {}

GraphicButton::~GraphicButton() = default;

void GraphicButton::DrawContent(DisplayPort& port, const Area&) {
  if (graphic) DrawGraphic(port, ~graphic);
}

bool GraphicButton::MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks,
                              View* window) {
  if (!signal) return View::MouseDown(x, y, modifiers, clicks, window);
  ReleaseCapture();
  // The signal may close the window and let go of this button.
  SmartRef<GenericSignal> sent = signal;
  if (watcher) {
    sent->Send(watcher);
  } else {
    SendCommand(~sent);
  }
  return true;
}

void GraphicButton::DrawGraphic(DisplayPort& port, Graphic* drawn) {
  if (drawn == nullptr) return;
  const Rect g = drawn->GetBounds();
  const Rect f = GetBounds();
  const Point gs = g.Size();
  const Point fs = f.Size();
  SmartRef<Transform> transform;
  // An empty graphic has no proportions to keep: it is only moved.
  if (gs == fs || gs.x >= fs.x || gs.y >= fs.y || gs.x <= 0 || gs.y <= 0) {
    transform = new Translation(f.left - g.left, f.top - g.top);
  } else {
    Rect destination = f;
    if (gs.y * 100 / fs.y != gs.x * 100 / fs.x) {
      if (gs.x < gs.y) {
        destination.right = f.left + fs.y * gs.x / gs.y;
      } else {
        destination.bottom = f.top + fs.x * gs.y / gs.x;
      }
    }
    transform = new ScaleTrans(g, destination, false);
  }
  PortState state(port, *transform);
  drawn->Draw(port);
}

ToggleButton::ToggleButton(View* parent, const Rect& frame, Graphic* graphic, GenericSignal* signal, Smart* watcher,
                           Graphic* onGraphic, Graphic* thirdGraphic)
    : GraphicButton(parent, frame, graphic, signal, watcher), onGraphic(onGraphic), thirdGraphic(thirdGraphic) {}

ToggleButton::~ToggleButton() = default;

void ToggleButton::SetState(std::int32_t newState) {
  if (newState == state) return;
  state = newState;
  Invalidate(false);
}

void ToggleButton::DrawContent(DisplayPort& port, const Area&) {
  switch (state) {
    case kToggleOff: DrawGraphic(port, ~GetGraphic()); break;
    case kToggleOn:
      if (onGraphic) {
        DrawGraphic(port, ~onGraphic);
      } else {
        DrawGraphic(port, ~GetGraphic());
        port.InvertRect(GetBounds());
      }
      break;
    case kToggleUnavailable:
      if (thirdGraphic) {
        DrawGraphic(port, ~thirdGraphic);
      } else {
        DrawGraphic(port, ~GetGraphic());
        DimRect(port, GetBounds());
      }
      break;
    default: break;
  }
}

bool ToggleButton::MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks,
                             View* window) {
  ReleaseCapture();
  switch (state) {
    case kToggleOff: SetState(kToggleOn); break;
    case kToggleOn:
      if (!canTurnOff) return false;
      SetState(kToggleOff);
      break;
    case kToggleUnavailable: return false;
    default: break;
  }
  return GraphicButton::MouseDown(x, y, modifiers, clicks, window);
}

GraphicPushButton::GraphicPushButton(View* parent, const Rect& frame, Graphic* graphic, GenericSignal* signal,
                                     Smart* watcher, Graphic* pressedGraphic, Graphic* thirdGraphic)
    : ToggleButton(parent, frame, graphic, signal, watcher, pressedGraphic, thirdGraphic) {
  SetBuffered(true);
}

GraphicPushButton::~GraphicPushButton() = default;

bool GraphicPushButton::MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks,
                                  View* window) {
  if (GetState() != kToggleOff) return false;
  SmartRef<GraphicPushButton> keep(this);
  if (!TrackPress()) return false;
  return Fire(x, y, modifiers, clicks, window);
}

bool GraphicPushButton::TrackPress() {
  SetState(kToggleOn);
  PumpPaintMessages();
  // The window took the mouse at the press, so the release comes here wherever the pointer is.
  const Rect f = GetBounds();
  MSG msg;
  for (;;) {
    const BOOL got = GetMessageA(&msg, nullptr, WM_MOUSEMOVE, WM_MBUTTONDBLCLK);
    if (got == 0) {
      // The quit message was taken here: the program's own loop must still see it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
      const auto px = static_cast<std::int32_t>(LOWORD(msg.lParam));
      const auto py = static_cast<std::int32_t>(HIWORD(msg.lParam));
      const bool over = px > 0 && py > 0 && f.left <= px && px < f.right && f.top <= py && py < f.bottom;
      SetState(over ? kToggleOn : kToggleOff);
    }
    if (msg.message == WM_LBUTTONUP) break;
    PumpPaintMessages();
  }
  ReleaseCapture();
  return GetState() == kToggleOn;
}

bool GraphicPushButton::Fire(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks,
                             View* window) {
  const bool fired = GraphicButton::MouseDown(x, y, modifiers, clicks, window);
  // A command that set another state itself keeps it.
  if (GetState() == kToggleOn) SetState(kToggleOff);
  return fired;
}

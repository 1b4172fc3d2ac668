#include "graphics/DisplayDevice.h"

#include "graphics/DisplayPort.h"
#include "graphics/Transform.h"

SMART_DEFINE_ABSTRACT(DisplayDevice, "DisplayDevice", SmartImplementation)

DisplayDevice::DisplayDevice(const Color& background, bool erase) : flags(erase ? kErase : 0), background(background) {}

void DisplayDevice::BeginDraw(int) { ++drawingCount; }

void DisplayDevice::EndDraw() { --drawingCount; }

void DisplayDevice::InvalidateArea(const Area& area, const Area&) {
  invalidArea.Union(area);
  flags |= kUpdatePending;
}

void DisplayDevice::Validate() {
  invalidArea.Assign(Area::emptyArea());
  flags &= static_cast<std::uint8_t>(~kUpdatePending);
}

PortState::PortState(DisplayPort& port) : port(port), savedClip(port.GetClip()), savedTransform(port.GetTransform()) {}

PortState::PortState(DisplayPort& port, const Area& clip) : PortState(port) { port.ClipTo(clip); }

PortState::PortState(DisplayPort& port, const Rect& clip) : PortState(port) { port.ClipTo(Area(clip)); }

PortState::PortState(DisplayPort& port, const Transform& transform) : PortState(port) {
  port.ConcatTransform(transform);
}

PortState::~PortState() {
  port.SetClip(~savedClip);
  port.SetTransform(~savedTransform);
}

// How views draw, invalidate and copy their buffers.
#include "core/Exception.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/Transform.h"
#include "ui/views/View.h"

void View::Draw(DisplayPort& port, const Area& area) {
  if (!IsVisible()) return;
  if (buffer && port.GetDevice() == GetDevice()) {
    // The children on the buffer are brought up to date there, and the buffer reaches the port whole.
    ImageChannelNode::Redraw(~buffer);
    CopyBufferToPort(port, area);
  }
  ImageChannelNode::Draw(port, area);
}

void View::SubtractOwnArea(Area& area) {
  // A buffered view paints every pixel of its frame.
  if (IsVisible() && buffer) area.Subtract(Area(frame));
}

void View::DrawContent(DisplayPort&, const Area&) {}

void View::Invalidate(bool notify) {
  if (IsVisible()) InvalidateArea(Area(frame), Area::emptyArea());
  if (notify) NotifyChanged();
}

void View::InvalidateArea(const Area& area, const Area& second) {
  if (!IsVisible()) return;
  if (buffer) buffer->InvalidateArea(area, second);
  GetDevice()->InvalidateArea(area, second);
  if (windowFrame && ~windowFrame != GetDevice()) windowFrame->InvalidateArea(area, second);
}

void View::Highlight() {
  if (!IsVisible()) return;
  DisplayPort port(GetDevice(), frame);
  port.InvertFrame(frame, 2);
}

void View::SetBuffered(bool buffered) {
  if (buffered == IsBuffered()) return;
  if (buffered) {
    buffer = new OffScreen(GetDevice(), frame, false, true);
  } else {
    buffer = nullptr;
    SetDevice(GetWindowFrameOnly());
  }
}

SmartRef<DisplayDevice> View::GetBufferOrDevice() const {
  if (buffer) return SmartRef<DisplayDevice>(~buffer);
  return GetDevice();
}

void View::RedrawFromBuffer(const Area& area) {
  DisplayPort port(GetWindowFrameOnly(), frame);
  CopyBufferToPort(port, area);
}

void View::CopyBufferToPort(DisplayPort& port, const Area& area) {
  if (!buffer) AssertFailed("~buffer != NULL", __FILE__, __LINE__);
  PortState clip(port, area);
  PortState moved(port, Translation(frame.left, frame.top));
  buffer->GetBitMap()->DrawOpaque(port);
}

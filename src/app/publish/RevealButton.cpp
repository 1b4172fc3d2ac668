#include "app/publish/RevealButton.h"

#include "core/GenericArray.h"
#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "graphics/Paint.h"

DisclosureTriangle::DisclosureTriangle(const Rect& bounds, Direction direction)
    : GenericGraphic(bounds.left, bounds.top, bounds.right, bounds.bottom), direction(direction) {}

void DisclosureTriangle::Draw(DisplayPort& port) {
  const Rect b = GetBounds();
  port.DrawRect(b, standardColors[13], standardColors[13]);
  const Point centre((b.left + b.right) / 2, (b.top + b.bottom) / 2);
  GenericArray corners(sizeof(Point), 0);
  if (direction == Direction::kRight) {
    const Point points[] = {Point(b.left + 3, b.top), Point(b.left + 3, b.bottom), Point(centre.x + 3, centre.y)};
    corners.Insert(points, 0, 3);
  } else {
    const Point points[] = {Point(b.left, b.top + 3), Point(b.right, b.top + 3), Point(centre.x, centre.y + 3)};
    corners.Insert(points, 0, 3);
  }
  ColorPaint black(standardColors[1]);
  port.DrawPolygon(corners, black, black);
}

namespace {

constexpr Rect kTriangleBounds(0, 0, 12, 12);

}  // namespace

RevealButton::RevealButton(View* parent, const Rect& frame, GenericSignal* signal, Smart* watcher)
    : ToggleButton(parent, frame, new DisclosureTriangle(kTriangleBounds, DisclosureTriangle::Direction::kRight),
                   signal, watcher, new DisclosureTriangle(kTriangleBounds, DisclosureTriangle::Direction::kDown),
                   nullptr) {
  SetCanTurnOff(true);
}

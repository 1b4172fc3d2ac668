#include "graphics/Gradient.h"

#include "core/Exception.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/Transform.h"

namespace {

std::uint16_t ChannelStep(std::uint16_t from, std::uint16_t to, std::int16_t count) {
  return static_cast<std::uint16_t>((static_cast<std::int32_t>(to) - static_cast<std::int32_t>(from)) / count);
}

}  // namespace

Color ComputeColorStep(const Color& first, const Color& second, std::int32_t count) {
  const auto lines = static_cast<std::int16_t>(count);
  if (lines == 0) return {};
  return {ChannelStep(first.red, second.red, lines), ChannelStep(first.green, second.green, lines),
          ChannelStep(first.blue, second.blue, lines), 0};
}

void AddColorStep(const Color& step, Color& color) {
  color.red = static_cast<std::uint16_t>(color.red + step.red);
  color.green = static_cast<std::uint16_t>(color.green + step.green);
  color.blue = static_cast<std::uint16_t>(color.blue + step.blue);
}

void DrawLinearGradient(DisplayPort& port, const Rect& rect, const Color& first, const Color& second,
                        std::int16_t kind) {
  const bool rows = kind == 2 || kind == 3;
  const std::int32_t count = rows ? rect.Height() : rect.Width();
  Rect line;
  Point move;
  switch (kind) {
    case 2: line = {rect.left, rect.top, rect.right, rect.top + 1}, move = {0, 1}; break;
    case 3: line = {rect.left, rect.bottom - 1, rect.right, rect.bottom}, move = {0, -1}; break;
    case 5: line = {rect.left, rect.top, rect.left + 1, rect.bottom}, move = {1, 0}; break;
    default: line = {rect.right - 1, rect.top, rect.right, rect.bottom}, move = {-1, 0}; break;
  }
  const Color step = ComputeColorStep(first, second, count);
  Color current = first;
  for (std::int32_t i = 0; i < count; ++i) {
    port.DrawRect(line, current, current, 1);
    line.Offset(move.x, move.y);
    AddColorStep(step, current);
  }
}

void DrawGradientKind(DisplayPort& port, const Rect& rect, const Color& first, const Color& second, std::int16_t kind) {
  switch (kind) {
    case 1: port.DrawRect(rect, first, first, 1); break;
    case 4: port.DrawRect(rect, second, second, 1); break;
    case 2:
    case 3:
    case 5:
    case 6: DrawLinearGradient(port, rect, first, second, kind); break;
    case 7:
    case 8:
    case 9:
    case 10: break;
    default: THROW_ERROR("No Such Gradient");
  }
}

void DrawGradient(DisplayPort& port, const Rect& rect, const Color& first, const Color& second, std::int16_t kind,
                  std::int16_t depth) {
  const std::int16_t deviceDepth = port.GetDevice()->GetColorTable()->GetDepth();
  if (kind == 1 || kind == 4 || depth <= deviceDepth) {
    DrawGradientKind(port, rect, first, second, kind);
    return;
  }
  if (rect.IsEmpty()) return;
  SmartRef<OffScreen> surface(new OffScreen(rect.Width(), rect.Height(), depth, Color(0), true));
  {
    DisplayPort surfacePort(~surface, {0, 0, rect.Width(), rect.Height()});
    PortState moved(surfacePort, Translation(-rect.left, -rect.top));
    DrawGradientKind(surfacePort, rect, first, second, kind);
  }
  PortState placed(port, Translation(rect.left, rect.top));
  surface->GetBitMap()->Draw(port, kDrawTransparent);
}

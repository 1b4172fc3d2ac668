// Text drawn without a style of its own: the default style in the caller's colour. Strings draw so, and
// this library installs their drawing.
#include "core/String.h"
#include "graphics/Area.h"
#include "graphics/DisplayPort.h"
#include "ui/TextStyle.h"

void DisplayPort::DrawTextBox(const char* text, std::int32_t length, const Rect& rect, const Color& color) {
  if (!IsDrawing()) return;
  const SmartRef<TextStyle> style = MakeDefaultTextStyle(color, Color(kTransparentColor));
  const SmartRef<Area> box = new Area(rect);
  EraseArea(*box);
  DrawText(rect, text, length, *style);
}

namespace {

void DrawString(const String& text, DisplayPort& port, const Rect& rect, const Color& color) {
  TextLock lock(text);
  port.DrawTextBox(lock.Chars(), lock.Length(), rect, color);
}

[[maybe_unused]] const bool gStringDrawerInstalled = (SetStringDrawer(&DrawString), true);

}  // namespace

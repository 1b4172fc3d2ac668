// Text drawn without a style of its own: the default style in the caller's colour. Display ports and
// strings draw so, and this library, which owns text styles, installs that drawing.
#include "core/String.h"
#include "graphics/DisplayPort.h"
#include "ui/text/TextStyle.h"

namespace {

void DrawInDefaultStyle(DisplayPort& port, const Rect& rect, const char* text, std::int32_t length,
                        const Color& color) {
  const SmartRef<TextStyle> style = MakeDefaultTextStyle(color, Color(kTransparentColor));
  port.DrawText(rect, text, length, *style);
}

void DrawString(const String& text, DisplayPort& port, const Rect& rect, const Color& color) {
  TextLock lock(text);
  port.DrawTextBox(lock.Chars(), lock.Length(), rect, color);
}

[[maybe_unused]] const bool gStringDrawerInstalled =
    (SetStringDrawer(&DrawString), SetDefaultStyleTextDrawer(&DrawInDefaultStyle), true);

}  // namespace

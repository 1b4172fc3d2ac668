#include "ui/EditColors.h"

#include "graphics/ColorTable.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Window.h"
#include "ui/TextStyle.h"

namespace {

// One solid brush at a time: controls paint as soon as they have asked, so only the last answer is in use,
// and the brushes never pile up however often the controls repaint. The last one lives until the exit.
HBRUSH SolidBrush(COLORREF color) {
  static HBRUSH brush = nullptr;
  static COLORREF colorOfBrush = 0;
  if (brush == nullptr || color != colorOfBrush) {
    if (brush != nullptr) DeleteObject(brush);
    brush = CreateSolidBrush(color);
    colorOfBrush = color;
  }
  return brush;
}

COLORREF HighBytes(const Color& color) {
  return RGB(color.red >> 8, color.green >> 8, color.blue >> 8);
}

}  // namespace

HBRUSH EditControlBrush(HWND control, HDC dc) {
  SelectPalette(dc, ColorTable::GetAppPalette(), FALSE);
  const auto* style = static_cast<const TextStyle*>(GetPropA(control, kTextStyleProperty));
  if (style == nullptr) return nullptr;
  SetTextColor(dc, HighBytes(style->GetTextColor()));
  const Color back = style->GetBackColor();
  if (back.SameAs8Bit(standardColors[kTransparentColor])) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  return SolidBrush(HighBytes(back));
}

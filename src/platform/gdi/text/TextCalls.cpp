// The text calls of the drawing interface: measuring and drawing with the font selected into a context.
#include <algorithm>
#include <climits>
#include <initializer_list>
#include <string_view>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/raster/Raster.h"
#include "platform/gdi/text/FontObjects.h"
#include "platform/gdi/text/TextLayout.h"
#include "platform/kernel/Errors.h"

using namespace platform::gdi;
using namespace platform::text;

namespace {

constexpr BYTE kCopy = 0xF0;  // the paint replaces the destination

// The context and its font; null (with the last error set) when either is missing.
DeviceContext* ContextAndFont(HDC handle, const RasterFont*& font) {
  DeviceContext* dc = GetDC(handle);
  if (!dc) return nullptr;
  if (!dc->font || !dc->font->font) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  font = dc->font->font.get();
  return dc;
}

// The characters of a call: `count` bytes, or up to the NUL for -1 where the call allows it.
bool Characters(LPCSTR text, int count, bool nulTerminated, std::string_view& chars) {
  if (count == -1 && nulTerminated && text) {
    chars = text;
    return true;
  }
  if (count < 0 || (count > 0 && !text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  chars = std::string_view(text ? text : "", static_cast<std::size_t>(count));
  return true;
}

// Coordinates beyond what the system's drawing takes are refused, so that no sum of them overflows.
bool Coordinates(std::initializer_list<LONG> values) {
  for (LONG v : values)
    if (v < -kMaxTextCoordinate || v > kMaxTextCoordinate) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
  return true;
}

// Paints [left, right) x [top, bottom), given in context coordinates and cut to `limit`, within the
// context's clip.
void Fill(DeviceContext& dc, RECT area, const RECT& limit, const Paint& paint) {
  area = IntersectRects(area, limit);
  if (area.left >= area.right || area.top >= area.bottom) return;
  FillClipped(dc, RECT{area.left + dc.origin.x, area.top + dc.origin.y, area.right + dc.origin.x,
                       area.bottom + dc.origin.y},
              paint, kCopy);
}

// Draws one line with the top-left of its first cell at (x, y), within `limit` (context coordinates) and
// the context's clip: the cell in the background colour when opaque, then the characters' ink.
void DrawLine(DeviceContext& dc, const RasterFont& font, std::string_view line, int x, int y, const RECT& limit) {
  if (dc.bkMode == OPAQUE)
    Fill(dc, RECT{x, y, x + font.Width(line), y + font.Height()}, limit, SolidPaint(dc, dc.bkColor));
  const Paint ink = SolidPaint(dc, dc.textColor);
  RenderLine(font, line, x, y, [&](int row, int left, int right) { Fill(dc, RECT{left, row, right, row + 1}, limit, ink); });
}

constexpr RECT kNoLimit{INT_MIN, INT_MIN, INT_MAX, INT_MAX};

}  // namespace

BOOL GetTextMetricsA(HDC handle, TEXTMETRICA* metrics) {
  const RasterFont* font = nullptr;
  if (!ContextAndFont(handle, font)) return FALSE;
  if (!metrics) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *metrics = font->Metrics();
  return TRUE;
}

BOOL GetTextExtentPoint32A(HDC handle, LPCSTR text, int count, SIZE* size) {
  const RasterFont* font = nullptr;
  if (!ContextAndFont(handle, font)) return FALSE;
  std::string_view chars;
  if (!Characters(text, count, false, chars)) return FALSE;
  if (!size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *size = SIZE{font->Width(chars), font->Height()};
  return TRUE;
}

BOOL GetTextExtentPointA(HDC handle, LPCSTR text, int count, SIZE* size) {
  return GetTextExtentPoint32A(handle, text, count, size);
}

BOOL TextOutA(HDC handle, int x, int y, LPCSTR text, int count) {
  const RasterFont* font = nullptr;
  DeviceContext* dc = ContextAndFont(handle, font);
  if (!dc) return FALSE;
  std::string_view chars;
  if (!Characters(text, count, false, chars) || !Coordinates({x, y})) return FALSE;
  DrawLine(*dc, *font, chars, x, y, kNoLimit);
  return TRUE;
}

int DrawTextA(HDC handle, LPCSTR text, int count, RECT* rect, UINT format) {
  const RasterFont* font = nullptr;
  DeviceContext* dc = ContextAndFont(handle, font);
  if (!dc) return 0;
  std::string_view chars;
  if (!Characters(text, count, true, chars)) return 0;
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!Coordinates({rect->left, rect->top, rect->right, rect->bottom})) return 0;
  const TextLayout layout = LayOutText(*font, chars, rect->left, rect->top, rect->right - rect->left,
                                       (format & DT_WORDBREAK) != 0, format);
  const int height = layout.bottom - layout.top;
  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const PlacedLine& placed : layout.lines) widest = std::max(widest, placed.line.width);
    rect->right = rect->left + widest;
    rect->bottom = rect->top + height;
    return height;
  }
  const RECT limit = (format & DT_NOCLIP) ? kNoLimit : *rect;
  for (const PlacedLine& placed : layout.lines)
    DrawLine(*dc, *font, chars.substr(placed.line.start, placed.line.length), placed.x, placed.y, limit);
  return height;
}

#include "platform/user/Look.h"

#include <cstdint>

#include "platform/user/Message.h"
#include "platform/user/Window.h"

namespace platform::user {

void Fill(HDC dc, RECT r, COLORREF colour) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void Ring(HDC dc, RECT r, COLORREF topLeft, COLORREF bottomRight) {
  Fill(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, topLeft);
  Fill(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
  Fill(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  Fill(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

RECT Inset(RECT r, int by) { return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

void RaisedEdge(HDC dc, RECT r) {
  Ring(dc, r, kHighlight, kDark);
  Ring(dc, Inset(r, 1), kFace, kShadow);
}

void SunkenEdge(HDC dc, RECT r) {
  Ring(dc, r, kShadow, kHighlight);
  Ring(dc, Inset(r, 1), kDark, kFace);
}

void FocusRect(HDC dc, RECT r) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  // The dots keep to one grid of the window, so that rectangles meeting along an edge line up.
  auto dot = [dc](int x, int y) {
    if (((x + y) & 1) != 0) return;
    RECT pixel{x, y, x + 1, y + 1};
    InvertRect(dc, &pixel);
  };
  for (int x = r.left; x < r.right; ++x) {
    dot(x, r.top);
    if (r.bottom - 1 > r.top) dot(x, r.bottom - 1);
  }
  for (int y = r.top + 1; y < r.bottom - 1; ++y) {
    dot(r.left, y);
    if (r.right - 1 > r.left) dot(r.right - 1, y);
  }
}

void DrawLabel(HDC dc, const char* text, int length, RECT r, UINT format, bool enabled) {
  const int mode = SetBkMode(dc, TRANSPARENT);
  if (enabled) {
    DrawTextA(dc, text, length, &r, format);
  } else {
    const COLORREF previous = SetTextColor(dc, kHighlight);
    RECT relief{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
    DrawTextA(dc, text, length, &relief, format);
    SetTextColor(dc, kShadow);
    DrawTextA(dc, text, length, &r, format);
    SetTextColor(dc, previous);
  }
  SetBkMode(dc, mode);
}

HBRUSH FaceBrush() {
  static const HBRUSH brush = CreateSolidBrush(kFace);
  return brush;
}

HBRUSH TrackBrush() {
  static const HBRUSH brush = [] {
    // White and face-grey pixels alternating: an 8 x 8 one-bit picture with its two colours.
    struct {
      BITMAPINFOHEADER header;
      RGBQUAD colours[2];
      std::uint32_t rows[8];
    } dib{};
    dib.header.biSize = sizeof(BITMAPINFOHEADER);
    dib.header.biWidth = 8;
    dib.header.biHeight = 8;
    dib.header.biPlanes = 1;
    dib.header.biBitCount = 1;
    dib.header.biCompression = BI_RGB;
    dib.colours[0] = RGBQUAD{0xFF, 0xFF, 0xFF, 0};
    dib.colours[1] = RGBQUAD{0xC0, 0xC0, 0xC0, 0};
    for (int y = 0; y < 8; ++y) dib.rows[y] = (y & 1) ? 0x55 : 0xAA;
    return CreateDIBPatternBrushPt(&dib, DIB_RGB_COLORS);
  }();
  return brush;
}

HBRUSH ControlColours(HWND control, HDC dc, UINT message) {
  const HWND parent = (GetWindowLongA(control, GWL_STYLE) & WS_CHILD) ? GetParent(control) : nullptr;
  const auto wParam = reinterpret_cast<WPARAM>(dc);
  const auto lParam = reinterpret_cast<LPARAM>(control);
  LRESULT brush = parent != nullptr ? SendMessageA(parent, message, wParam, lParam) : 0;
  if (brush == 0) brush = DefWindowProcA(control, message, wParam, lParam);
  return reinterpret_cast<HBRUSH>(brush);
}

}  // namespace platform::user

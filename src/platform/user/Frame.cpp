// The frames the window system draws around client areas: borders, captions with their title and close
// box, the menu bar's area and sunken client edges, in an active and an inactive look.
#include <algorithm>
#include <cstring>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/text/Text.h"
#include "platform/user/Look.h"
#include "platform/user/MenuData.h"
#include "platform/user/Paint.h"
#include "platform/user/WindowSurface.h"
#include "platform/user/WindowTree.h"
#include "platform/user/FrameInternals.h"
#include "platform/user/PaintInternals.h"

namespace platform::user {

namespace {

constexpr COLORREF kActiveCaption = 0x00800000;  // navy
constexpr COLORREF kActiveTitle = 0x00FFFFFF;
constexpr COLORREF kInactiveCaption = 0x00808080;
constexpr COLORREF kInactiveTitle = 0x00C0C0C0;

bool HasFrame(const WindowData& w) {
  const RECT in = Insets(w);
  return in.left != 0 || in.top != 0 || in.right != 0 || in.bottom != 0;
}

// The border: a thin black line, or a raised frame of several rings (dialog frame 3, sizing frame 4).
void DrawBorder(HDC dc, RECT r, int border) {
  if (border == 1) {
    Ring(dc, r, kDark, kDark);
    return;
  }
  Ring(dc, r, kFace, kDark);
  r = Inset(r, 1);
  Ring(dc, r, kHighlight, kShadow);
  for (int ring = 2; ring < border; ++ring) {
    r = Inset(r, 1);
    Ring(dc, r, kFace, kFace);
  }
}

RECT CloseBox(const WindowData& w) {
  const platform::FrameLayout f = platform::FrameLayoutOf(w.style, w.exStyle, w.hasMenu);
  const int width = w.rect.right - w.rect.left;
  const int inset = f.caption >= 14 ? 2 : 1;
  const int side = f.caption - 2 * inset;
  const int right = width - f.border - inset;
  const int top = f.border + inset;
  return RECT{right - side, top, right, top + side};
}

bool HasCloseBox(const WindowData& w) {
  const platform::FrameLayout f = platform::FrameLayoutOf(w.style, w.exStyle, w.hasMenu);
  return f.caption > 0 && (w.style & WS_SYSMENU) != 0;
}

void DrawCloseBox(HDC dc, RECT box, bool pushed) {
  Fill(dc, box, kFace);
  if (pushed) {
    Ring(dc, box, kDark, kHighlight);
    Ring(dc, RECT{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1}, kShadow, kFace);
  } else {
    RaisedEdge(dc, box);
  }
  // A cross of two-pixel strokes, kept clear of the button's edges; held down, it sinks by a pixel.
  const int margin = (box.bottom - box.top) >= 12 ? 4 : 2;
  const int left = box.left + margin + (pushed ? 1 : 0), top = box.top + margin + (pushed ? 1 : 0);
  const int size = (box.bottom - box.top) - 2 * margin;
  for (int i = 0; i < size; ++i) {
    Fill(dc, RECT{left + i, top + i, std::min(left + i + 2, left + size), top + i + 1}, kDark);
    Fill(dc, RECT{std::max(left + size - i - 2, left), top + i, left + size - i, top + i + 1}, kDark);
  }
}

void DrawCaption(HDC dc, const WindowData& w, RECT caption) {
  Fill(dc, caption, w.captionActive ? kActiveCaption : kInactiveCaption);
  RECT titleArea{caption.left + 3, caption.top, caption.right - 2, caption.bottom};
  if (HasCloseBox(w)) titleArea.right = CloseBox(w).left - 2;
  const int height = caption.bottom - caption.top;
  if (!w.text.empty() && titleArea.right > titleArea.left) {
    LOGFONTA description{};
    description.lfHeight = height >= 14 ? -11 : -(height - 3);
    description.lfWeight = height >= 14 ? FW_BOLD : FW_NORMAL;
    std::strcpy(description.lfFaceName, "Arial");
    HFONT font = CreateFontIndirectA(&description);
    if (font != nullptr) {
      HGDIOBJ previous = SelectObject(dc, font);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, w.captionActive ? kActiveTitle : kInactiveTitle);
      SIZE extent{0, 0};
      GetTextExtentPoint32A(dc, w.text.data(), static_cast<int>(w.text.size()), &extent);
      RECT line = titleArea;
      line.top = caption.top + std::max<LONG>(0, (height - extent.cy) / 2);
      DrawTextA(dc, w.text.data(), static_cast<int>(w.text.size()), &line, DT_LEFT | DT_NOPREFIX);
      SelectObject(dc, previous);
      DeleteObject(font);
    }
  }
  if (HasCloseBox(w)) DrawCloseBox(dc, CloseBox(w), w.closePushed);
}

void DrawFrame(WindowData& w) {
  if (!HasFrame(w) || !IsShownChain(w)) return;
  DrawTarget target = WindowDrawTarget(w.handle, false);
  if (target.surface == nullptr || target.surface->bitmap == nullptr) return;
  const RECT in = Insets(w);
  const int width = w.rect.right - w.rect.left;
  const int height = w.rect.bottom - w.rect.top;
  // The client area is the window's own to paint.
  target.clip.Subtract(gdi::MovedRect(RECT{in.left, in.top, width - in.right, height - in.bottom}, target.origin));
  if (target.clip.Empty()) return;
  const HDC dc = OpenDrawContext(target);
  if (dc == nullptr) return;
  const platform::FrameLayout f = platform::FrameLayoutOf(w.style, w.exStyle, w.hasMenu);
  RECT r{0, 0, width, height};
  if (f.border > 0) DrawBorder(dc, r, f.border);
  r = Inset(r, f.border);
  if (f.caption > 0) {
    DrawCaption(dc, w, RECT{r.left, r.top, r.right, r.top + f.caption});
    r.top += f.caption;
  }
  if (f.menuBar > 0) {
    Fill(dc, RECT{r.left, r.top, r.right, r.top + f.menuBar}, kFace);
    Fill(dc, RECT{r.left, r.top + f.menuBar - 1, r.right, r.top + f.menuBar}, kShadow);
    DrawBar(dc, w, RECT{r.left, r.top, r.right, r.top + f.menuBar - 1}, OpenBarItem(w.handle));
    r.top += f.menuBar;
  }
  if (f.edge > 0) {
    Ring(dc, r, kShadow, kHighlight);
    Ring(dc, Inset(r, 1), kDark, kFace);
  }
  ReleaseDC(w.handle, dc);
}

void PaintFramesBelow(WindowData& w) {
  if (!(w.style & WS_VISIBLE)) return;
  if (w.frameDirty && &w != &Desktop()) {
    w.frameDirty = false;
    const HWND handle = w.handle;
    SendMessageA(handle, WM_NCPAINT, 1, 0);
    if (Find(handle) == nullptr) return;
  }
  std::vector<HWND> children;
  for (WindowData* child : w.children) children.push_back(child->handle);
  for (HWND child : children) {
    if (WindowData* c = Find(child)) PaintFramesBelow(*c);
  }
}

}  // namespace

void MarkFrame(WindowData& window) {
  if (&window != &Desktop() && HasFrame(window)) window.frameDirty = true;
}

void MarkFramesIn(WindowData& window, const RectList& area) {
  for (WindowData* child : window.children) {
    if (!(child->style & WS_VISIBLE) || !HasFrame(*child)) continue;
    RectList part = area;
    part.Intersect(child->rect);
    if (!part.Empty()) child->frameDirty = true;
  }
}

void PaintFrames() { PaintFramesBelow(Desktop()); }

LRESULT FramePaint(HWND window) {
  if (WindowData* w = Find(window)) DrawFrame(*w);
  return 0;
}

int HitTest(const WindowData& w, POINT screen) {
  const POINT origin = WindowOriginOnScreen(w);
  const int x = screen.x - origin.x;
  const int y = screen.y - origin.y;
  const int width = w.rect.right - w.rect.left;
  const int height = w.rect.bottom - w.rect.top;
  if (x < 0 || y < 0 || x >= width || y >= height) return HTNOWHERE;
  const RECT in = Insets(w);
  if (x >= in.left && x < width - in.right && y >= in.top && y < height - in.bottom) return HTCLIENT;
  const platform::FrameLayout f = platform::FrameLayoutOf(w.style, w.exStyle, w.hasMenu);
  const bool left = x < f.border, right = x >= width - f.border;
  const bool top = y < f.border, bottom = y >= height - f.border;
  if (left || right || top || bottom) {
    if (!(w.style & WS_THICKFRAME)) return HTBORDER;
    if (top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    return left ? HTLEFT : HTRIGHT;
  }
  if (y < f.border + f.caption) {
    if (HasCloseBox(w)) {
      const RECT box = CloseBox(w);
      if (x >= box.left && x < box.right && y >= box.top && y < box.bottom) return HTCLOSE;
    }
    return HTCAPTION;
  }
  if (y < f.border + f.caption + f.menuBar) return HTMENU;
  return HTBORDER;
}

}  // namespace platform::user

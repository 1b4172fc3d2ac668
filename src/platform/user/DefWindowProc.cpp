// What a window does with the messages its procedure leaves to the system.
#include <algorithm>
#include <cstring>

#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/Window.h"
#include "platform/user/WindowTree.h"

using namespace platform::user;

namespace {

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
  if (y < f.border + f.caption) return HTCAPTION;
  if (y < f.border + f.caption + f.menuBar) return HTMENU;
  return HTBORDER;
}

}  // namespace

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowData* w = Find(window);
  if (w == nullptr) return 0;
  switch (message) {
    case WM_NCCREATE: return TRUE;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
      platform::NoteScreenChanged();
      return TRUE;
    case WM_GETTEXT: {
      if (wParam == 0 || lParam == 0) return 0;
      const std::size_t count = std::min<std::size_t>(w->text.size(), wParam - 1);
      auto* buffer = reinterpret_cast<char*>(lParam);
      std::memcpy(buffer, w->text.data(), count);
      buffer[count] = '\0';
      return static_cast<LRESULT>(count);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND: return EraseBackground(window, reinterpret_cast<HDC>(wParam));
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (pos == nullptr) return 0;
      const RECT client = ClientRectInParent(*w);
      if (!(pos->flags & SWP_NOCLIENTMOVE)) SendMessageA(window, WM_MOVE, 0, MAKELONG(client.left, client.top));
      if (!(pos->flags & SWP_NOCLIENTSIZE) && IsWindow(window)) {
        SendMessageA(window, WM_SIZE, (Find(window)->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED,
                     MAKELONG(client.right - client.left, client.bottom - client.top));
      }
      return 0;
    }
    case WM_NCHITTEST: return HitTest(*w, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_MOUSEACTIVATE:
      if (w->style & WS_CHILD) {
        const LRESULT parent = SendMessageA(w->parent->handle, WM_MOUSEACTIVATE, wParam, lParam);
        if (parent != 0) return parent;
      }
      return MA_ACTIVATE;
    case WM_SETCURSOR:
      if (w->style & WS_CHILD) return SendMessageA(w->parent->handle, WM_SETCURSOR, wParam, lParam);
      return FALSE;
    case WM_NCACTIVATE: return TRUE;
    default: return 0;
  }
}

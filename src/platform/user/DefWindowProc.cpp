// What a window does with the messages its procedure leaves to the system.
#include <algorithm>
#include <cstring>

#include "platform/user/Activation.h"
#include "platform/user/Cursor.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/Look.h"
#include "platform/user/MenuData.h"
#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/Window.h"
#include "platform/user/WindowTree.h"
#include "platform/user/FrameInternals.h"
#include "platform/user/PaintInternals.h"

using namespace platform::user;

namespace {
bool& AltAlone() {
  static bool alone = false;
  return alone;
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
      MarkFrame(*w);  // the caption shows the text
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
    case WM_NCPAINT: return FramePaint(window);
    case WM_NCLBUTTONDOWN:
      if (wParam == HTMENU) {
        TrackMenuBar(window, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
      }
      BeginFrameTracking(window, static_cast<int>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    // Alt pressed and let go on its own, or F10, takes the user to the menu bar.
    case WM_KEYDOWN: AltAlone() = false; return 0;
    case WM_SYSKEYDOWN: AltAlone() = wParam == VK_MENU && !(static_cast<DWORD>(lParam) & (1u << 30)); return 0;
    case WM_SYSKEYUP: {
      const bool enter = wParam == VK_F10 || (wParam == VK_MENU && AltAlone());
      AltAlone() = false;
      if (enter) EnterMenuBar(window);
      return 0;
    }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_ACTIVATE:
      // The window activated gets the focus back where it was when it was deactivated, else takes it.
      if (LOWORD(wParam) != WA_INACTIVE) {
        const HWND remembered = w->lastFocus;
        w->lastFocus = nullptr;
        SetFocus(IsWindow(remembered) && IsChild(window, remembered) && IsWindowVisible(remembered) ? remembered : window);
      }
      return 0;
    case WM_MOUSEACTIVATE:
      if (w->style & WS_CHILD) {
        const LRESULT parent = SendMessageA(w->parent->handle, WM_MOUSEACTIVATE, wParam, lParam);
        if (parent != 0) return parent;
      }
      return MA_ACTIVATE;
    case WM_SETCURSOR: {
      // The parent may choose first; else the class cursor over the client area, the arrow over the frame.
      if ((w->style & WS_CHILD) && SendMessageA(w->parent->handle, WM_SETCURSOR, wParam, lParam)) return TRUE;
      w = Find(window);
      if (w == nullptr) return FALSE;
      const int hit = static_cast<SHORT>(LOWORD(lParam));
      if (hit == HTCLIENT) {
        const HCURSOR cursor = w->windowClass ? w->windowClass->info.hCursor : nullptr;
        if (cursor == nullptr) return FALSE;
        SetCursor(cursor);
        return TRUE;
      }
      if (hit == HTERROR || hit == HTNOWHERE) return FALSE;
      SetCursor(LoadCursorA(nullptr, IDC_ARROW));
      return TRUE;
    }
    case WM_CANCELMODE:
      // Whatever the window was following with the mouse ends: a control let go of ends its press.
      if (GetCapture() == window) ReleaseCapture();
      return 0;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR: {
      // The system's colours for a control whose parent chooses none: black on the face grey, and the
      // checked track of scroll bars.
      const auto dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, kDark);
      SetBkColor(dc, kFace);
      return reinterpret_cast<LRESULT>(message == WM_CTLCOLORSCROLLBAR ? TrackBrush() : FaceBrush());
    }
    case WM_CTLCOLOREDIT: {
      // Edit fields: black on white.
      const auto dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, kDark);
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_NCACTIVATE:
      if (w->captionActive != (wParam != 0)) {
        w->captionActive = wParam != 0;
        MarkFrame(*w);
      }
      return TRUE;
    default: return 0;
  }
}

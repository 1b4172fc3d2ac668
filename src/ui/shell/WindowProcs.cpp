// The procedures of the main window and of the framework's child windows: messages become calls of the
// application's entry points, and nothing thrown while handling one message gets past its procedure.
#include "core/Alert.h"
#include "core/Exception.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Activation.h"
#include "platform/user/Button.h"
#include "platform/user/Edit.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/Window.h"
#include "graphics/bitmaps/ColorTable.h"
#include "platform/gdi/Gdi.h"
#include "ui/shell/App.h"
#include "ui/menus/Menu.h"
#include "ui/text/TextStyle.h"
#include "ui/views/Window.h"
#include "ui/shell/MessagePump.h"
#include "ui/shell/WinMain.h"
#include "ui/shell/WindowProcs.h"
#include "graphics/SystemVersion.h"
#include "ui/Seams.h"

bool gSuppressControlNotifications = false;

namespace {

constexpr SourceName kSource("WinSupport");

// Besides a button's click and an edit field taking the focus, the framework's child windows take these
// control notifications as a click on the control: a list's selection changing and a combo box's list
// dropping down.
constexpr WORD kSelectionChanged = 1;
constexpr WORD kListDroppedDown = 7;

void Report(Exception* exception) {
  SmartRef<Exception> held(exception);
  held->Report(kAlertStop);
}

// Views see the arrows and Delete as characters: Left 28, Right 29, Up 30, Down 31, Delete 8.
LRESULT KeyDown(HWND window, WPARAM wParam, LPARAM lParam) {
  if (IsLimitedWindows() && GetKeyState(VK_CONTROL) < 0) {
    // Limited systems have no accelerator table: the shortcut table stands in for it.
    if (WPARAM command = FindShortcutCommand(wParam)) {
      PostMessageA(gMainWindow, WM_COMMAND, command, 0);
      return 0;
    }
  }
  int code;
  switch (LOBYTE(wParam)) {
    case VK_DELETE: code = 8; break;
    case VK_LEFT: code = 28; break;
    case VK_RIGHT: code = 29; break;
    case VK_UP: code = 30; break;
    case VK_DOWN: code = 31; break;
    default: return DefWindowProcA(window, WM_KEYDOWN, wParam, lParam);
  }
  SendMessageA(window, WM_CHAR, static_cast<WPARAM>(code), lParam);
  return 0;
}

// A control's notification reads as a click at the control's bottom-right corner, where the control
// layer finds the control.
void ControlNotification(HWND window, HWND control) {
  if (gSuppressControlNotifications) return;
  RECT r{};
  GetWindowRect(control, &r);
  POINT corner{r.right, r.bottom};
  CheckCall(ScreenToClient(window, &corner), kSource.Unnumbered());
  MouseDownEvent(MouseEventRecord{window, corner.x, corner.y, 0, 1});
}

// A scroll bar's message reads as a click at its centre; the scroll code and thumb position travel in
// the modifiers, for the scroll-bar control.
void ScrollNotification(HWND window, HWND bar, WPARAM wParam) {
  RECT r{};
  GetWindowRect(bar, &r);
  POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  CheckCall(ScreenToClient(window, &centre), kSource.Unnumbered());
  MouseDownEvent(MouseEventRecord{window, centre.x, centre.y, static_cast<std::uint32_t>(wParam), 1});
}

// An edit control's colours are those of its text style (its "TextStyle" property). One brush serves
// every edit control of a background colour and is kept until another colour is asked for: the control
// paints with the brush before the next one asks.
LRESULT EditColors(HDC dc, HWND control) {
  static HBRUSH brush = nullptr;
  static COLORREF brushColor = 0;
  SelectPalette(dc, ColorTable::GetAppPalette(), FALSE);
  const auto* style = static_cast<const TextStyle*>(GetPropA(control, "TextStyle"));
  if (style == nullptr) return 0;
  const Color text = style->GetTextColor();
  SetTextColor(dc, RGB(text.red >> 8, text.green >> 8, text.blue >> 8));
  const Color back = style->GetBackColor();
  if (back.SameAs8Bit(standardColors[kTransparentColor])) {
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  }
  const COLORREF wanted = RGB(back.red >> 8, back.green >> 8, back.blue >> 8);
  if (brush == nullptr || brushColor != wanted) {
    if (brush) DeleteObject(brush);
    brush = CreateSolidBrush(wanted);
    brushColor = wanted;
  }
  return reinterpret_cast<LRESULT>(brush);
}

void Command(HWND window, WPARAM wParam, LPARAM lParam, bool fromMainWindow) {
  HWND control = reinterpret_cast<HWND>(lParam);
  if (IsWindow(control)) {
    const WORD code = HIWORD(wParam);
    const bool passed = code == BN_CLICKED || code == EN_SETFOCUS ||
                        (!fromMainWindow && (code == kSelectionChanged || code == kListDroppedDown));
    if (passed) ControlNotification(window, control);
    return;
  }
  ClearBenignError({ERROR_INVALID_PARAMETER});
  const WORD command = LOWORD(wParam);
  if (command == 1) {
    ShowAboutEvent();
    return;
  }
  // A shortcut sees the menus as they would be when opened.
  const bool shortcut = HIWORD(wParam) == kCommandFromAccelerator;
  if (shortcut) UpdateMenusEvent(nullptr);
  try {
    // A shortcut of a hidden menu does nothing; the menu itself can still be opened and chosen from.
    if (shortcut) {
      SmartRef<Menu> owner = Menu::FromCommand(command);
      if (owner && owner->IsHidden()) return;
    }
    MenuCommand(command, nullptr);
  } catch (Exception* exception) {
    SmartRef<Exception> dropped(exception);
  }
}

LRESULT MainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      // Only a request: a window that refuses to close keeps the program running.
      QuitApplication(kCloseAsking);
      return 0;
    case WM_ACTIVATEAPP:
      if (LOBYTE(wParam) != 0) RealizeAppPalette();
      AppActivatedEvent(wParam);
      if (LOBYTE(wParam) == 1) InvalidateRgn(gMainWindow, nullptr, FALSE);
      return 0;
    case WM_KEYDOWN:
      return KeyDown(window, wParam, lParam);
    case WM_CHAR:
      KeyEvent(static_cast<int>(wParam), 0);
      return 0;
    case WM_COMMAND:
      Command(window, wParam, lParam, true);
      return 0;
    case WM_INITMENU:
      UpdateMenusEvent(nullptr);
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_PALETTECHANGED: {
      HWND changer = reinterpret_cast<HWND>(wParam);
      if (gMainWindow != nullptr && changer != gMainWindow && GetParent(changer) != gMainWindow) {
        InvalidateRgn(gMainWindow, nullptr, FALSE);
        return 0;
      }
      return DefWindowProcA(window, message, wParam, lParam);
    }
    case socketEventMessage:
      if (GetInternetHooks().socketEvent) GetInternetHooks().socketEvent(wParam, lParam);
      return 0;
    case hostLookupMessage:
      if (GetInternetHooks().hostLookup) GetInternetHooks().hostLookup(wParam, lParam);
      return 0;
    case createApplicationMessage:
      CreateAndStartApplication();
      return 0;
    case kIgnoredMainMessage:
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

MouseEventRecord MouseRecord(HWND window, WPARAM wParam, LPARAM lParam, std::int32_t clicks) {
  const Point p = PointFromLParam(lParam);
  return MouseEventRecord{window, p.x, p.y, MouseModifierFlags(wParam), clicks};
}

LRESULT ChildMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (IsWindowVisible(window)) {
        WindowResizedEvent(window);
      } else {
        ClearLastError();
      }
      break;
    case WM_ACTIVATE:
      break;
    case WM_PAINT:
      if (IsWindowVisible(window)) PaintWindowEvent(window);
      // A paint that no framework window answered must not come back on every pass of the loop.
      ValidateRect(window, nullptr);
      break;
    case WM_CLOSE:
      CloseWindowEvent(window, kCloseAsking);
      break;
    case WM_MOUSEACTIVATE:
      // A click does not activate a child window by itself: the framework decides (WindowActivatedEvent).
      return MA_NOACTIVATE;
    case WM_WINDOWPOSCHANGED:
      if (!(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOACTIVATE)) WindowActivatedEvent(window);
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_KEYDOWN:
      return KeyDown(window, wParam, lParam);
    case WM_CHAR:
      KeyEvent(static_cast<int>(wParam), 0);
      break;
    case WM_COMMAND:
      Command(window, wParam, lParam, false);
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      ScrollNotification(window, reinterpret_cast<HWND>(lParam), wParam);
      break;
    case WM_CTLCOLOREDIT: {
      const LRESULT answer = EditColors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
      TakeLastError();
      return answer;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (GetForegroundWindow() != gMainWindow) SetForegroundWindow(gMainWindow);
      SetCapture(window);
      // The first click on an inactive window only activates it.
      if (WindowActivatedEvent(window)) break;
      MouseDownEvent(MouseRecord(window, wParam, lParam, 1));
      break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      if (WindowActivatedEvent(window)) break;
      MouseDownEvent(MouseRecord(window, wParam, lParam, 2));
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const bool button = (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
      if (message != WM_MOUSEMOVE) ReleaseCapture();
      if (message == WM_MOUSEMOVE && button && GetCapture() != window) break;
      MouseEvent(MouseRecord(window, wParam, lParam, button ? 1 : 0));
      break;
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
  TakeLastError();
  return 0;
}

}  // namespace

namespace {

// Nothing may leave a window procedure: the program's failures are reported, anything else is fatal.
LRESULT Guarded(LRESULT (*handle)(HWND, UINT, WPARAM, LPARAM), HWND window, UINT message, WPARAM wParam,
                LPARAM lParam) {
  try {
    return handle(window, message, wParam, lParam);
  } catch (Exception* exception) {
    Report(exception);
  } catch (...) {
    ShowFatalError(static_cast<long>(message), static_cast<long>(wParam), static_cast<long>(lParam));
  }
  return 0;
}

}  // namespace

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Guarded(&MainMessage, window, message, wParam, lParam);
}

LRESULT ChildWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Guarded(&ChildMessage, window, message, wParam, lParam);
}

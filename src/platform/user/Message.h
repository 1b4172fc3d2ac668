// Messages and the message queue: posting, sending, retrieving and dispatching.
#pragma once

#include <functional>

#include "platform/kernel/WinTypes.h"

enum : UINT {
  WM_NULL = 0x0000,
  WM_CREATE = 0x0001,
  WM_DESTROY = 0x0002,
  WM_MOVE = 0x0003,
  WM_SIZE = 0x0005,
  WM_ACTIVATE = 0x0006,
  WM_SETFOCUS = 0x0007,
  WM_KILLFOCUS = 0x0008,
  WM_ENABLE = 0x000A,
  WM_SETTEXT = 0x000C,
  WM_GETTEXT = 0x000D,
  WM_GETTEXTLENGTH = 0x000E,
  WM_PAINT = 0x000F,
  WM_CLOSE = 0x0010,
  WM_QUIT = 0x0012,
  WM_ERASEBKGND = 0x0014,
  WM_SHOWWINDOW = 0x0018,
  WM_ACTIVATEAPP = 0x001C,
  WM_CANCELMODE = 0x001F,
  WM_SETCURSOR = 0x0020,
  WM_MOUSEACTIVATE = 0x0021,
  WM_GETMINMAXINFO = 0x0024,
  WM_SETFONT = 0x0030,
  WM_GETFONT = 0x0031,
  WM_WINDOWPOSCHANGING = 0x0046,
  WM_WINDOWPOSCHANGED = 0x0047,
  WM_NCCREATE = 0x0081,
  WM_NCDESTROY = 0x0082,
  WM_NCCALCSIZE = 0x0083,
  WM_NCHITTEST = 0x0084,
  WM_NCPAINT = 0x0085,
  WM_NCACTIVATE = 0x0086,
  WM_NCMOUSEMOVE = 0x00A0,
  WM_NCLBUTTONDOWN = 0x00A1,
  WM_NCLBUTTONUP = 0x00A2,
  WM_NCLBUTTONDBLCLK = 0x00A3,
  WM_NCRBUTTONDOWN = 0x00A4,
  WM_NCRBUTTONUP = 0x00A5,
  WM_NCRBUTTONDBLCLK = 0x00A6,
  WM_NCMBUTTONDOWN = 0x00A7,
  WM_NCMBUTTONUP = 0x00A8,
  WM_NCMBUTTONDBLCLK = 0x00A9,
  WM_KEYDOWN = 0x0100,
  WM_KEYUP = 0x0101,
  WM_CHAR = 0x0102,
  WM_SYSKEYDOWN = 0x0104,
  WM_SYSKEYUP = 0x0105,
  WM_SYSCHAR = 0x0106,
  WM_COMMAND = 0x0111,
  WM_SYSCOMMAND = 0x0112,
  WM_TIMER = 0x0113,
  WM_HSCROLL = 0x0114,
  WM_VSCROLL = 0x0115,
  WM_INITMENU = 0x0116,
  WM_INITMENUPOPUP = 0x0117,
  WM_CTLCOLOREDIT = 0x0133,
  WM_CTLCOLORBTN = 0x0135,
  WM_CTLCOLORSCROLLBAR = 0x0137,
  WM_CTLCOLORSTATIC = 0x0138,
  WM_MOUSEMOVE = 0x0200,
  WM_LBUTTONDOWN = 0x0201,
  WM_LBUTTONUP = 0x0202,
  WM_LBUTTONDBLCLK = 0x0203,
  WM_RBUTTONDOWN = 0x0204,
  WM_RBUTTONUP = 0x0205,
  WM_RBUTTONDBLCLK = 0x0206,
  WM_MBUTTONDOWN = 0x0207,
  WM_MBUTTONUP = 0x0208,
  WM_MBUTTONDBLCLK = 0x0209,
  WM_MOUSEWHEEL = 0x020A,
  WM_CAPTURECHANGED = 0x0215,
  WM_PALETTECHANGED = 0x0311,
  WM_USER = 0x0400,
};

// The high word of WM_COMMAND when the command comes from a menu or from an accelerator. A control puts
// its notification code there instead (BN_CLICKED, EN_SETFOCUS, ...) and its handle in lParam.
enum : WORD { kCommandFromMenu = 0, kCommandFromAccelerator = 1 };

// Key and button state bits of mouse messages.
enum : WPARAM { MK_LBUTTON = 0x01, MK_RBUTTON = 0x02, MK_SHIFT = 0x04, MK_CONTROL = 0x08, MK_MBUTTON = 0x10 };

enum : UINT { PM_NOREMOVE = 0x0000, PM_REMOVE = 0x0001, PM_NOYIELD = 0x0002 };

// Hit-test codes (WM_NCHITTEST).
enum : int {
  HTERROR = -2,
  HTTRANSPARENT = -1,
  HTNOWHERE = 0,
  HTCLIENT = 1,
  HTCAPTION = 2,
  HTSYSMENU = 3,
  HTMENU = 5,
  HTLEFT = 10,
  HTRIGHT = 11,
  HTTOP = 12,
  HTTOPLEFT = 13,
  HTTOPRIGHT = 14,
  HTBOTTOM = 15,
  HTBOTTOMLEFT = 16,
  HTBOTTOMRIGHT = 17,
  HTBORDER = 18,
  HTCLOSE = 20,
};

enum : int { WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2 };

enum : WPARAM { SC_MOVE = 0xF010, SC_CLOSE = 0xF060 };

enum : int { MA_ACTIVATE = 1, MA_ACTIVATEANDEAT = 2, MA_NOACTIVATE = 3, MA_NOACTIVATEANDEAT = 4 };

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};

// A window of 0 takes every message of the program; (HWND)-1 only those posted to no window. A range of
// 0 to 0 takes every message; WM_QUIT comes whatever the range.
BOOL GetMessageA(MSG* msg, HWND window, UINT first, UINT last);
BOOL PeekMessageA(MSG* msg, HWND window, UINT first, UINT last, UINT remove);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageA(DWORD thread, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
void PostQuitMessage(int exitCode);
BOOL WaitMessage();

enum : DWORD {
  QS_KEY = 0x01,
  QS_MOUSEMOVE = 0x02,
  QS_MOUSEBUTTON = 0x04,
  QS_POSTMESSAGE = 0x08,
  QS_TIMER = 0x10,
  QS_PAINT = 0x20,
  QS_MOUSE = QS_MOUSEMOVE | QS_MOUSEBUTTON,
  QS_INPUT = QS_MOUSE | QS_KEY,
  QS_ALLINPUT = QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT,
};
enum : DWORD { WAIT_OBJECT_0 = 0, WAIT_TIMEOUT = 258, WAIT_FAILED = 0xFFFFFFFF };
// With no objects (count 0, the only form there is): waits at most the given time for a message of the
// wake mask, posted or input arriving after the call began, or a timer due or a window to paint.
DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask);
DWORD GetMessageTime();
DWORD GetMessagePos();

namespace platform {
// Called while the message loop waits, with the longest time it may take. While it watches something the
// wait is its own, so that a socket's readiness ends it at once, and input is looked at right after; when
// it watches nothing, the loop waits for input as usual. The sockets layer polls its sockets here.
enum class SocketWait { kNothingWatched, kNothingArrived, kPosted };
using WaitSource = std::function<SocketWait(DWORD timeoutMs)>;
void SetSocketWaitSource(WaitSource source);
// Forgets every queued message, timer and window: a fresh window system for the next test.
void ResetWindowSystemForTesting();
}  // namespace platform

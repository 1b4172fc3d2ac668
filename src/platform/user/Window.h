// Windows, window classes and procedures: the tree of windows, its z-order, placement and visibility.
#pragma once

#include "platform/kernel/WinTypes.h"

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// Window styles.
enum : DWORD {
  WS_OVERLAPPED = 0x00000000,
  WS_POPUP = 0x80000000,
  WS_CHILD = 0x40000000,
  WS_MINIMIZE = 0x20000000,
  WS_VISIBLE = 0x10000000,
  WS_DISABLED = 0x08000000,
  WS_CLIPSIBLINGS = 0x04000000,
  WS_CLIPCHILDREN = 0x02000000,
  WS_MAXIMIZE = 0x01000000,
  WS_CAPTION = 0x00C00000,
  WS_BORDER = 0x00800000,
  WS_DLGFRAME = 0x00400000,
  WS_VSCROLL = 0x00200000,
  WS_HSCROLL = 0x00100000,
  WS_SYSMENU = 0x00080000,
  WS_THICKFRAME = 0x00040000,
  WS_GROUP = 0x00020000,
  WS_TABSTOP = 0x00010000,
  WS_MINIMIZEBOX = 0x00020000,
  WS_MAXIMIZEBOX = 0x00010000,
  WS_OVERLAPPEDWINDOW = 0x00CF0000,
  WS_POPUPWINDOW = 0x80880000,
};

enum : DWORD {
  WS_EX_DLGMODALFRAME = 0x00000001,
  WS_EX_TOPMOST = 0x00000008,
  WS_EX_TOOLWINDOW = 0x00000080,
  WS_EX_WINDOWEDGE = 0x00000100,
  WS_EX_CLIENTEDGE = 0x00000200,
};

// Class styles.
enum : UINT {
  CS_VREDRAW = 0x0001,
  CS_HREDRAW = 0x0002,
  CS_DBLCLKS = 0x0008,
  CS_OWNDC = 0x0020,
  CS_CLASSDC = 0x0040,
  CS_PARENTDC = 0x0080,
  CS_NOCLOSE = 0x0200,
  CS_SAVEBITS = 0x0800,
  CS_BYTEALIGNCLIENT = 0x1000,
  CS_BYTEALIGNWINDOW = 0x2000,
  CS_GLOBALCLASS = 0x4000,
};

enum : int {
  SW_HIDE = 0,
  SW_SHOWNORMAL = 1,
  SW_NORMAL = 1,
  SW_SHOWMAXIMIZED = 3,
  SW_MAXIMIZE = 3,
  SW_SHOWNOACTIVATE = 4,
  SW_SHOW = 5,
  SW_SHOWNA = 8,
  SW_RESTORE = 9,
  SW_SHOWDEFAULT = 10,
};

enum : UINT {
  SWP_NOSIZE = 0x0001,
  SWP_NOMOVE = 0x0002,
  SWP_NOZORDER = 0x0004,
  SWP_NOREDRAW = 0x0008,
  SWP_NOACTIVATE = 0x0010,
  SWP_FRAMECHANGED = 0x0020,
  SWP_SHOWWINDOW = 0x0040,
  SWP_HIDEWINDOW = 0x0080,
  SWP_NOCOPYBITS = 0x0100,
  SWP_NOOWNERZORDER = 0x0200,
  SWP_NOSENDCHANGING = 0x0400,
  // Reported in WM_WINDOWPOSCHANGED when the client area kept its size or its place.
  SWP_NOCLIENTSIZE = 0x0800,
  SWP_NOCLIENTMOVE = 0x1000,
};

#define HWND_TOP (reinterpret_cast<HWND>(0))
#define HWND_BOTTOM (reinterpret_cast<HWND>(1))
#define HWND_TOPMOST (reinterpret_cast<HWND>(-1))
#define HWND_NOTOPMOST (reinterpret_cast<HWND>(-2))
#define HWND_MESSAGE (reinterpret_cast<HWND>(-3))

enum : UINT { GW_HWNDFIRST = 0, GW_HWNDLAST = 1, GW_HWNDNEXT = 2, GW_HWNDPREV = 3, GW_OWNER = 4, GW_CHILD = 5 };

enum : int {
  GWL_WNDPROC = -4,
  GWL_HINSTANCE = -6,
  GWL_HWNDPARENT = -8,
  GWL_ID = -12,
  GWL_STYLE = -16,
  GWL_EXSTYLE = -20,
  GWL_USERDATA = -21,
};

enum : int { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };

#define CW_USEDEFAULT (static_cast<int>(0x80000000))

struct WNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
};

struct CREATESTRUCTA {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
};

struct WINDOWPOS {
  HWND hwnd;
  HWND hwndInsertAfter;
  int x;
  int y;
  int cx;
  int cy;
  UINT flags;
};

ATOM RegisterClassA(const WNDCLASSA* windowClass);
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* windowClass);

// hMenu is the menu of a top-level window and the identifier of a child window.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
BOOL DestroyWindow(HWND window);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The values are pointer-sized, so that procedures and pointers travel through them whole.
LONG_PTR GetWindowLongA(HWND window, int index);
LONG_PTR SetWindowLongA(HWND window, int index, LONG_PTR value);

// Properties: named values attached to a window; names compare without regard to case.
BOOL SetPropA(HWND window, LPCSTR name, HANDLE value);
HANDLE GetPropA(HWND window, LPCSTR name);
HANDLE RemovePropA(HWND window, LPCSTR name);

BOOL IsWindow(HWND window);
BOOL IsWindowVisible(HWND window);
BOOL IsWindowEnabled(HWND window);
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsChild(HWND parent, HWND window);
BOOL IsZoomed(HWND window);
HWND GetParent(HWND window);
HWND GetDesktopWindow();
HWND GetTopWindow(HWND parent);
HWND GetWindow(HWND window, UINT relation);
int GetDlgCtrlID(HWND window);

BOOL SetWindowTextA(HWND window, LPCSTR text);
int GetWindowTextA(HWND window, LPSTR buffer, int size);
int GetWindowTextLengthA(HWND window);

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL ShowWindow(HWND window, int command);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND window);

// Window rectangles are in screen coordinates; client rectangles start at (0, 0).
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL ScreenToClient(HWND window, POINT* point);
BOOL ClientToScreen(HWND window, POINT* point);
// Answers the offset added, x in the low word and y in the high word.
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu);
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);
HWND WindowFromPoint(POINT point);
HWND ChildWindowFromPoint(HWND parent, POINT point);

namespace platform {
constexpr int kCaptionHeight = 18;
constexpr int kSmallCaptionHeight = 10;
constexpr int kMenuBarHeight = 22;
// The parts of the frame the layer draws around a client area, from the outside in: the border, then
// along the top the caption and the menu bar, then a sunken edge on every side.
struct FrameLayout {
  int border = 0;
  int caption = 0;
  int menuBar = 0;
  int edge = 0;
};
FrameLayout FrameLayoutOf(DWORD style, DWORD exStyle, bool menu);
// The thickness of the frame on each side; AdjustWindowRectEx adds exactly these.
RECT NonClientInsets(DWORD style, DWORD exStyle, bool menu);
// Sees every message as it reaches a window procedure, before the procedure runs (the message log of the
// tests stands on it).
using MessageObserver = void (*)(void* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void AddMessageObserver(MessageObserver observer, void* context);
void RemoveMessageObserver(MessageObserver observer, void* context);
}  // namespace platform

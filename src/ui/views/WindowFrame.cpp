#include "ui/views/WindowFrame.h"

#include <cstring>
#include <memory>

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/String.h"
#include "graphics/DisplayPort.h"
#include "graphics/bitmaps/ColorTable.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Cursor.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/Window.h"
#include "ui/UiState.h"
#include "ui/shell/WinMain.h"
#include "graphics/DisplayDepth.h"
#include "graphics/RectConversion.h"

bool gForceTopmost = false;
HWND gFocusBeforeModal = nullptr;
SmartRef<WindowFrame> gScreenDevice;

namespace {

constexpr char kLinkProperty[] = "ClassInfo";
constexpr SourceName kSource("WINDOWF");

MainWindowRecord* gMainWindowInfo = nullptr;

// The frame of a native window this layer made, or null for any other window.
WindowFrame* FrameOf(HWND window) {
  if (window == nullptr || GetPropA(window, kLinkProperty) == nullptr) return nullptr;
  return reinterpret_cast<WindowFrame*>(GetWindowLongA(window, GWL_USERDATA));
}

}  // namespace

struct WindowFrame::DrawState {
  HDC dc = nullptr;
  HPALETTE previousPalette = nullptr;
  PAINTSTRUCT paint{};
};

SMART_DEFINE_ABSTRACT(WindowFrame, "WindowFrame", DisplayDevice)

bool IsModalKind(int kind) { return kind == kFrameModal || kind == kFrameModalPlain; }
bool IsFloatingKind(int kind) { return kind >= kFrameFloating; }
bool IsNonFloatingKind(int kind) { return kind >= kFrameNormal && kind <= kFrameModalPlain; }

DWORD FrameKindStyle(int kind) {
  switch (kind) {
    case kFrameNormal:
    case kFrameFloating:
    case kFramePalette: return WS_CHILD | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU;
    case kFrameModal: return WS_CHILD | WS_CLIPSIBLINGS | WS_CAPTION;
    case kFrameModalPlain: return WS_CHILD | WS_CLIPSIBLINGS | WS_DLGFRAME;
    default: return WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER;
  }
}

int FrameKindCaptionHeight(int kind) { return IsFloatingKind(kind) ? 10 : 18; }

// Floating frames are tool windows, which the window system gives the small caption.
DWORD FrameKindExStyle(int kind) { return IsFloatingKind(kind) ? DWORD{WS_EX_TOOLWINDOW} : DWORD{0}; }

void SetMainWindowInfo(MainWindowRecord* record) { gMainWindowInfo = record; }

HWND CreateFrameWindow(const String* title, int kind) {
  char text[32] = {};
  if (title) title->CopyTo(text, sizeof text);
  const int id = TheUiState().nextChildId++;
  HWND window = CreateWindowExA(FrameKindExStyle(kind), "ChildWClass", text, FrameKindStyle(kind), 0, 0, 100, 100, gMainWindow,
                                reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)),
                                gMainWindowInfo ? gMainWindowInfo->instance : nullptr, nullptr);
  return CheckNotNull(window, kSource.Unnumbered());
}

Rect GetMainClientRect() {
  ASSERT(gMainWindow != nullptr);
  RECT r{};
  GetClientRect(gMainWindow, &r);
  return FromRECT(r);
}

WindowFrame* GetScreenDevice() {
  if (!gScreenDevice) gScreenDevice = new WindowFrame(WindowFrame::Screen{});
  return ~gScreenDevice;
}

Window* WindowFromHandle(HWND window) {
  if (window == nullptr) return nullptr;
  auto* linked = static_cast<Window*>(GetPropA(window, kLinkProperty));
  ClearBenignError({ERROR_INVALID_PARAMETER});
  return linked;
}

WindowFrame::WindowFrame(const String* title, int kind, Window*, bool systemErase)
    : DisplayDevice(standardColors[0], !systemErase), kind(kind) {
  hwnd = CreateFrameWindow(title, kind);
  SetWindowLongA(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
  frameFlags = static_cast<std::uint8_t>((systemErase ? kSystemErase : 0) | (IsFloatingKind(kind) ? kFloating : 0));
}

WindowFrame::WindowFrame(Screen) : DisplayDevice(standardColors[0], true) {}

WindowFrame::~WindowFrame() {
  // Failures are not raised from here: a destructor that threw would end the program. A frame destroyed
  // while drawing gives its context back first, while its window still exists to take it.
  if (drawState) EndDrawing();
  if (hwnd != nullptr) {
    ClipCursor(nullptr);
    ReleaseCapture();
    SetWindowLongA(hwnd, GWL_USERDATA, 0);
    DestroyWindow(hwnd);
  }
}

void WindowFrame::BeginDraw(int mode) {
  if (drawState == nullptr) {
    drawMode = mode;
    auto state = std::make_unique<DrawState>();
    if (mode == kPortPaintsUpdate) {
      RECT update{};
      if (hwnd) GetUpdateRect(hwnd, &update, FALSE);
      DisplayDevice::InvalidateArea(Area(FromRECT(update)), Area::emptyArea());
      state->dc = BeginPaint(hwnd, &state->paint);
    } else {
      state->dc = ::GetDC(hwnd);
    }
    CheckNotNull(state->dc, kSource.Unnumbered());
    state->previousPalette = SelectPalette(state->dc, ColorTable::GetAppPalette(), TRUE);
    RealizePalette(state->dc);
    drawState = state.release();
  }
  DisplayDevice::BeginDraw(mode);
}

void WindowFrame::EndDraw() {
  DisplayDevice::EndDraw();
  if (IsDrawing() || drawState == nullptr) return;
  EndDrawing();
}

void WindowFrame::EndDrawing() {
  SelectPalette(drawState->dc, drawState->previousPalette, TRUE);
  if (drawMode == kPortPaintsUpdate) {
    EndPaint(hwnd, &drawState->paint);
  } else {
    ReleaseDC(hwnd, drawState->dc);
  }
  delete drawState;
  drawState = nullptr;
}

void WindowFrame::GetBounds(Rect* bounds) const {
  RECT r{};
  GetClientRect(hwnd ? hwnd : GetDesktopWindow(), &r);
  *bounds = FromRECT(r);
}

ColorTable* WindowFrame::GetColorTable() const { return ColorTable::GetStandard(GetDisplayBitDepth()); }

void WindowFrame::InvalidateArea(const Area& area, const Area& second) {
  DisplayDevice::InvalidateArea(area, second);
  if (!IsVisible()) return;
  const BOOL erase = (frameFlags & kSystemErase) ? TRUE : FALSE;
  for (const Area* each : {&area, &second}) {
    for (std::int32_t i = 1; i <= each->NumRects(); ++i) {
      const RECT r = ToRECT(each->GetRect(i));
      InvalidateRect(hwnd, &r, erase);
    }
  }
}

bool WindowFrame::NeedsUpdate() const {
  if (DisplayDevice::NeedsUpdate()) return true;
  RECT update{};
  return hwnd != nullptr && GetUpdateRect(hwnd, &update, FALSE);
}

HDC WindowFrame::GetDC() const {
  if (drawState) return drawState->dc;
  ReportError("Not implemented.", kSource.Line(1023));
  return nullptr;
}

void WindowFrame::Link(Window* window) {
  if (hwnd == nullptr) return;
  CheckCall(SetPropA(hwnd, kLinkProperty, window), kSource.Unnumbered());
}

void WindowFrame::Unlink() {
  // A native window already gone (destroyed with its parent, say) has no link left to remove; raising
  // here would end the program, as the window's destructor unlinks.
  if (hwnd == nullptr || !IsWindow(hwnd)) return;
  CheckNotNull(RemovePropA(hwnd, kLinkProperty), kSource.Unnumbered());
}

bool WindowFrame::IsVisible() const { return hwnd != nullptr && IsWindowVisible(hwnd); }

void WindowFrame::ShowCursor(bool show) { ::ShowCursor(show ? TRUE : FALSE); }

void WindowFrame::SetTitle(const String* title) {
  char text[256] = {};
  if (title) title->CopyTo(text, sizeof text);
  SetWindowTextA(hwnd, text);
}

String* WindowFrame::GetTitle() const {
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return new String(text);
}

void WindowFrame::Show(bool show) {
  if (hwnd == nullptr) AssertFailed("data", kSource.Unnumbered());
  ShowWindow(hwnd, show ? SW_RESTORE : SW_HIDE);
  if (show) BringToFront();
}

void WindowFrame::BringToFront() {
  if (hwnd == nullptr) AssertFailed("data", kSource.Unnumbered());
  HWND lastFloating = nullptr;
  if (!IsFloating()) {
    ChildWindowIterator children;
    for (HWND child = children.First(); child != nullptr; child = children.Next()) {
      if (child == hwnd) continue;
      WindowFrame* frame = FrameOf(child);
      // A native child that is no framework window stays above them, as a floating one does.
      if (frame == nullptr || frame->IsFloating()) {
        lastFloating = child;
        continue;
      }
      break;
    }
  }
  if (lastFloating == hwnd) AssertFailed("data != lastFloatingWindow", kSource.Unnumbered());
  const bool toTop = gForceTopmost || IsFloating();
  HWND insertAfter = (toTop || lastFloating == nullptr) ? HWND_TOP : lastFloating;
  CheckCall(SetWindowPos(hwnd, insertAfter, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOSIZE), kSource.Unnumbered());
  if (!toTop && lastFloating != nullptr && GetTopWindow(GetParent(hwnd)) == hwnd)
    AssertFailed("GetTopWindow(GetParent(&data->hwnd)) != &data->hwnd", kSource.Unnumbered());
}

void WindowFrame::Activate(bool active) {
  if (active) CheckCall(ReleaseCapture(), kSource.Unnumbered());
  if (!IsFloating()) {
    PostMessageA(hwnd, WM_NCACTIVATE, active ? TRUE : FALSE, 0);
    SetFocus(hwnd);
  }
  if (IsModalKind(kind) || kind == kFramePalette) {
    if (active) {
      gFocusBeforeModal = SetFocus(hwnd);
    } else if (gFocusBeforeModal != nullptr) {
      SetFocus(gFocusBeforeModal);
    }
  }
}

void WindowFrame::MoveTo(const Rect& rect) {
  if (hwnd == nullptr) return;
  RECT r = ToRECT(rect);
  const bool topLevel = GetParent(hwnd) == nullptr;
  CheckCall(AdjustWindowRectEx(&r, topLevel ? WS_OVERLAPPEDWINDOW : FrameKindStyle(kind), topLevel,
                               topLevel ? 0 : FrameKindExStyle(kind)),
            kSource.Unnumbered());
  CheckCall(MoveWindow(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE), kSource.Unnumbered());
}

Rect WindowFrame::GetGlobalBounds() const {
  ASSERT(gMainWindow != nullptr);
  RECT r{};
  GetClientRect(hwnd, &r);
  MapWindowPoints(hwnd, gMainWindow, reinterpret_cast<POINT*>(&r), 2);
  return FromRECT(r);
}

Point WindowFrame::MapPoint(const Point& point, WindowFrame* from) const {
  if (from == nullptr || from == this || from->hwnd == nullptr || hwnd == nullptr) return point;
  POINT mapped{point.x, point.y};
  MapWindowPoints(from->hwnd, hwnd, &mapped, 1);
  return Point(mapped.x, mapped.y);
}

bool WindowFrame::Update() {
  CheckCall(UpdateWindow(hwnd), kSource.Unnumbered());
  return true;
}

HWND WindowFrame::FrontHandle(HWND excluded, bool skipFloating) {
  ChildWindowIterator children;
  for (HWND child = children.First(); child != nullptr; child = children.Next()) {
    WindowFrame* frame = FrameOf(child);
    if (frame == nullptr) return nullptr;
    if (child == excluded || (skipFloating && frame->IsFloating())) continue;
    return child;
  }
  return nullptr;
}

HWND ChildWindowIterator::First() { return current = GetTopWindow(gMainWindow); }

HWND ChildWindowIterator::Next() { return current = current ? GetWindow(current, GW_HWNDNEXT) : nullptr; }

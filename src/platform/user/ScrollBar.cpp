#include "platform/user/ScrollBar.h"

#include <algorithm>
#include <climits>
#include <cstddef>

#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Input.h"
#include "platform/user/Look.h"
#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/SystemClasses.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"

namespace platform::user {

namespace {

enum class Part { None, LineUp, LineDown, PageUp, PageDown, Thumb };

struct ScrollState final : ControlState {
  int min = 0;
  int max = 0;
  UINT page = 0;
  int pos = 0;
  Part pressed = Part::None;  // the part the left button went down on, while it is held
  bool over = false;          // the pointer is over the pressed part
  int trackPos = 0;           // while the thumb is dragged: the position it shows
  int grab = 0;               // while the thumb is dragged: where it was taken, from its start
  POINT pointer{0, 0};        // where the mouse was last seen while a part is pressed
};

// The repeat of an arrow or page held down: a first pause, then steady steps.
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstDelay = 250;
constexpr UINT kRepeatDelay = 50;
// The shortest thumb a page size may give.
constexpr int kMinThumb = 8;

ScrollState* StateOf(HWND bar) { return ControlStateOf<ScrollState>(bar); }

bool IsVertical(HWND bar) { return (GetWindowLongA(bar, GWL_STYLE) & SBS_VERT) != 0; }

// The last position the thumb can take: a page shown from it reaches max.
long long LastPosition(const ScrollState& s) {
  const long long last = static_cast<long long>(s.max) - (s.page > 1 ? static_cast<long long>(s.page) - 1 : 0);
  return std::max<long long>(last, s.min);
}

int Clamped(const ScrollState& s, long long position) {
  return static_cast<int>(std::clamp<long long>(position, s.min, LastPosition(s)));
}

bool ValidRange(long long min, long long max) { return max >= min && max - min <= INT_MAX; }

// Where the parts lie along the bar, in pixels from its top (or left) end.
struct Layout {
  bool vertical = false;
  int length = 0;
  int thickness = 0;
  int arrow = 0;  // the length of each arrow
  int trackStart = 0;
  int trackEnd = 0;
  bool thumb = false;
  int thumbStart = 0;
  int thumbEnd = 0;
};

Layout LayoutOf(HWND bar, const ScrollState& s, int position) {
  Layout l;
  RECT client{};
  GetClientRect(bar, &client);
  l.vertical = IsVertical(bar);
  l.length = l.vertical ? client.bottom : client.right;
  l.thickness = l.vertical ? client.right : client.bottom;
  l.arrow = std::min(l.thickness, l.length / 2);
  l.trackStart = l.arrow;
  l.trackEnd = l.length - l.arrow;
  const long long track = l.trackEnd - l.trackStart;
  const long long span = LastPosition(s) - s.min;
  if (!IsWindowEnabled(bar) || span <= 0 || track <= 0) return l;
  long long thumb = std::min(l.thickness, static_cast<int>(track));
  if (s.page > 0) {
    const long long positions = static_cast<long long>(s.max) - s.min + 1;
    thumb = std::max<long long>(kMinThumb, track * s.page / positions);
  }
  if (thumb > track) return l;  // no room for a thumb: the arrows alone
  l.thumb = true;
  const long long offset = std::clamp<long long>(static_cast<long long>(position) - s.min, 0, span);
  l.thumbStart = l.trackStart + static_cast<int>((track - thumb) * offset / span);
  l.thumbEnd = l.thumbStart + static_cast<int>(thumb);
  return l;
}

// The rectangle between two distances along the bar, across its whole thickness.
RECT Span(const Layout& l, int from, int to) {
  return l.vertical ? RECT{0, from, l.thickness, to} : RECT{from, 0, to, l.thickness};
}

Part HitPart(const Layout& l, POINT p) {
  const int along = l.vertical ? p.y : p.x;
  const int across = l.vertical ? p.x : p.y;
  if (across < 0 || across >= l.thickness || along < 0 || along >= l.length) return Part::None;
  if (along < l.trackStart) return Part::LineUp;
  if (along >= l.trackEnd) return Part::LineDown;
  if (!l.thumb) return Part::None;
  if (along < l.thumbStart) return Part::PageUp;
  if (along >= l.thumbEnd) return Part::PageDown;
  return Part::Thumb;
}

WORD CodeOf(Part part) {
  switch (part) {
    case Part::LineUp: return SB_LINEUP;
    case Part::LineDown: return SB_LINEDOWN;
    case Part::PageUp: return SB_PAGEUP;
    case Part::PageDown: return SB_PAGEDOWN;
    default: return SB_ENDSCROLL;
  }
}

void Repaint(HWND bar) { RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

// Tells the parent; the parent may change the bar, or destroy it, before this returns.
void Send(HWND bar, WORD code, int position) {
  // A bar on its way out tells nothing more: the action it ends is over for its parent too.
  const WindowData* w = Find(bar);
  if (w == nullptr || w->destroying || !(w->style & WS_CHILD)) return;
  const HWND parent = GetParent(bar);
  if (parent == nullptr) return;
  const auto wParam = static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(code, static_cast<WORD>(position))));
  SendMessageA(parent, IsVertical(bar) ? WM_VSCROLL : WM_HSCROLL, wParam, reinterpret_cast<LPARAM>(bar));
}

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

void Press(HWND bar, POINT p) {
  ScrollState* s = StateOf(bar);
  if (s->pressed != Part::None) return;
  const Layout l = LayoutOf(bar, *s, s->pos);
  const Part part = HitPart(l, p);
  if (part == Part::None) return;
  SetCapture(bar);
  if ((s = StateOf(bar)) == nullptr) return;
  s->pressed = part;
  s->over = true;
  s->pointer = p;
  if (part == Part::Thumb) {
    s->trackPos = s->pos;
    s->grab = (l.vertical ? p.y : p.x) - l.thumbStart;
    Repaint(bar);
    return;
  }
  Repaint(bar);
  SetTimer(bar, kRepeatTimer, kFirstDelay, nullptr);
  Send(bar, CodeOf(part), 0);
}

// The position under the thumb dragged to a point, the thumb taken where it was grabbed.
int DraggedPosition(HWND bar, const ScrollState& s, POINT p) {
  const Layout l = LayoutOf(bar, s, s.pos);
  if (!l.thumb) return s.trackPos;
  const int thumb = l.thumbEnd - l.thumbStart;
  const long long room = (l.trackEnd - l.trackStart) - thumb;
  if (room <= 0) return s.min;
  const long long start = std::clamp<long long>((l.vertical ? p.y : p.x) - s.grab, l.trackStart, l.trackEnd - thumb);
  const long long span = LastPosition(s) - s.min;
  // Rounded to the nearest position, so that each position has its own stretch of the track.
  return Clamped(s, s.min + ((start - l.trackStart) * span * 2 + room) / (room * 2));
}

void Move(HWND bar, POINT p) {
  ScrollState* s = StateOf(bar);
  if (s->pressed == Part::None) return;
  s->pointer = p;
  if (s->pressed == Part::Thumb) {
    const int position = DraggedPosition(bar, *s, p);
    if (position == s->trackPos) return;
    s->trackPos = position;
    Repaint(bar);
    Send(bar, SB_THUMBTRACK, position);
    return;
  }
  const bool over = HitPart(LayoutOf(bar, *s, s->pos), p) == s->pressed;
  if (over == s->over) return;
  s->over = over;
  Repaint(bar);
}

void Repeat(HWND bar) {
  ScrollState* s = StateOf(bar);
  if (s->pressed == Part::None || s->pressed == Part::Thumb) {
    KillTimer(bar, kRepeatTimer);
    return;
  }
  SetTimer(bar, kRepeatTimer, kRepeatDelay, nullptr);
  // A page held down stops once the thumb has come to the pointer.
  const bool over = HitPart(LayoutOf(bar, *s, s->pos), s->pointer) == s->pressed;
  if (over != s->over) {
    s->over = over;
    Repaint(bar);
  }
  if (over) Send(bar, CodeOf(s->pressed), 0);
}

// Ends the action: let go, the thumb's last place is reported; cut short (the capture taken away, the bar
// disabled), only the end.
void End(HWND bar, bool letGo) {
  ScrollState* s = StateOf(bar);
  if (s == nullptr || s->pressed == Part::None) return;
  const Part part = s->pressed;
  const int trackPos = s->trackPos;
  s->pressed = Part::None;
  s->over = false;
  KillTimer(bar, kRepeatTimer);
  if (GetCapture() == bar) ReleaseCapture();
  Repaint(bar);
  if (part == Part::Thumb && letGo) Send(bar, SB_THUMBPOSITION, trackPos);
  if (IsWindow(bar)) Send(bar, SB_ENDSCROLL, 0);
}

enum class Direction { Up, Down, Left, Right };

// A solid triangle pointing one way, its widest row `rows` from its point.
void DrawGlyph(HDC dc, Direction d, int cx, int cy, int rows, COLORREF colour) {
  for (int i = 0; i < rows; ++i) {
    const int along = (d == Direction::Up || d == Direction::Left) ? i : rows - 1 - i;
    const int at = (d == Direction::Up || d == Direction::Down ? cy : cx) - rows / 2 + along;
    const RECT row = (d == Direction::Up || d == Direction::Down) ? RECT{cx - i, at, cx + i + 1, at + 1}
                                                                  : RECT{at, cy - i, at + 1, cy + i + 1};
    Fill(dc, row, colour);
  }
}

void DrawArrow(HDC dc, RECT box, Direction d, bool pushed, bool enabled) {
  Fill(dc, box, kFace);
  if (pushed) {
    Ring(dc, box, kShadow, kShadow);
  } else {
    RaisedEdge(dc, box);
  }
  const int side = std::min(box.right - box.left, box.bottom - box.top);
  const int rows = std::max(1, side / 4);
  const int shift = pushed ? 1 : 0;
  const int cx = box.left + (box.right - box.left - 1) / 2 + shift;
  const int cy = box.top + (box.bottom - box.top - 1) / 2 + shift;
  if (enabled) {
    DrawGlyph(dc, d, cx, cy, rows, kDark);
  } else {
    DrawGlyph(dc, d, cx + 1, cy + 1, rows, kHighlight);
    DrawGlyph(dc, d, cx, cy, rows, kShadow);
  }
}

void Paint(HWND bar) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(bar, &paint);
  if (dc == nullptr) return;
  const HBRUSH track = ControlColours(bar, dc, WM_CTLCOLORSCROLLBAR);
  // Taken after the parent had its say: it may have changed the bar.
  if (const ScrollState* s = StateOf(bar)) {
    const Layout l = LayoutOf(bar, *s, s->pressed == Part::Thumb ? s->trackPos : s->pos);
    const bool enabled = IsWindowEnabled(bar) != FALSE;
    auto held = [s](Part part) { return s->pressed == part && s->over; };
    DrawArrow(dc, Span(l, 0, l.arrow), l.vertical ? Direction::Up : Direction::Left, held(Part::LineUp), enabled);
    DrawArrow(dc, Span(l, l.length - l.arrow, l.length), l.vertical ? Direction::Down : Direction::Right,
              held(Part::LineDown), enabled);
    auto fillTrack = [&](int from, int to, bool dark) {
      const RECT r = Span(l, from, to);
      if (r.right <= r.left || r.bottom <= r.top) return;
      if (dark) {
        Fill(dc, r, kDark);
      } else {
        FillRect(dc, &r, track);
      }
    };
    if (l.thumb) {
      fillTrack(l.trackStart, l.thumbStart, held(Part::PageUp));
      fillTrack(l.thumbEnd, l.trackEnd, held(Part::PageDown));
      const RECT thumb = Span(l, l.thumbStart, l.thumbEnd);
      Fill(dc, thumb, kFace);
      RaisedEdge(dc, thumb);
    } else {
      fillTrack(l.trackStart, l.trackEnd, false);
    }
  }
  EndPaint(bar, &paint);
}

LRESULT SetRange(HWND bar, ScrollState& s, WPARAM minimum, LPARAM maximum, bool redraw) {
  const int min = static_cast<int>(minimum), max = static_cast<int>(maximum);
  if (!ValidRange(min, max)) {
    SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
    return FALSE;
  }
  s.min = min;
  s.max = max;
  s.page = static_cast<UINT>(std::min<long long>(s.page, static_cast<long long>(max) - min + 1));
  s.pos = Clamped(s, s.pos);
  if (redraw) Repaint(bar);
  return TRUE;
}

bool ValidInfoSize(const SCROLLINFO* info) {
  return info != nullptr && (info->cbSize == sizeof(SCROLLINFO) || info->cbSize == offsetof(SCROLLINFO, nTrackPos));
}

LRESULT SetInfo(HWND bar, ScrollState& s, const SCROLLINFO* info, bool redraw) {
  if (!ValidInfoSize(info)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (info->fMask & SIF_RANGE) {
    if (!ValidRange(info->nMin, info->nMax)) {
      SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
      return 0;
    }
    s.min = info->nMin;
    s.max = info->nMax;
  }
  if (info->fMask & SIF_PAGE) s.page = info->nPage;
  s.page = static_cast<UINT>(std::min<long long>(s.page, static_cast<long long>(s.max) - s.min + 1));
  if (info->fMask & SIF_POS) s.pos = info->nPos;
  s.pos = Clamped(s, s.pos);
  if (redraw) Repaint(bar);
  return s.pos;
}

LRESULT GetInfo(const ScrollState& s, SCROLLINFO* info) {
  if (!ValidInfoSize(info)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (info->fMask & SIF_RANGE) {
    info->nMin = s.min;
    info->nMax = s.max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = s.page;
  if (info->fMask & SIF_POS) info->nPos = s.pos;
  if ((info->fMask & SIF_TRACKPOS) && info->cbSize == sizeof(SCROLLINFO)) {
    info->nTrackPos = s.pressed == Part::Thumb ? s.trackPos : s.pos;
  }
  return TRUE;
}

}  // namespace

LRESULT ScrollBarProcedure(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  ScrollState* s = ControlStateFor<ScrollState>(bar, message);
  if (s == nullptr || message == WM_NCCREATE) return DefWindowProcA(bar, message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND: return 1;  // the painting covers every pixel
    case WM_PAINT: Paint(bar); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: Press(bar, PointOf(lParam)); return 0;
    case WM_MOUSEMOVE: Move(bar, PointOf(lParam)); return 0;
    case WM_LBUTTONUP: End(bar, true); return 0;
    case WM_TIMER:
      if (wParam == kRepeatTimer) Repeat(bar);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != bar) End(bar, false);
      return 0;
    case WM_ENABLE:
      if (!wParam) End(bar, false);
      Repaint(bar);
      return 0;
    case WM_SIZE: InvalidateRect(bar, nullptr, FALSE); return 0;
    case SBM_SETPOS: {
      const int previous = s->pos;
      s->pos = Clamped(*s, static_cast<int>(wParam));
      if (lParam) Repaint(bar);
      return previous;
    }
    case SBM_GETPOS: return s->pos;
    case SBM_SETRANGE: return SetRange(bar, *s, wParam, lParam, false);
    case SBM_SETRANGEREDRAW: return SetRange(bar, *s, wParam, lParam, true);
    case SBM_GETRANGE:
      if (wParam != 0) *reinterpret_cast<int*>(wParam) = s->min;
      if (lParam != 0) *reinterpret_cast<int*>(lParam) = s->max;
      return 0;
    case SBM_SETSCROLLINFO: return SetInfo(bar, *s, reinterpret_cast<const SCROLLINFO*>(lParam), wParam != 0);
    case SBM_GETSCROLLINFO: return GetInfo(*s, reinterpret_cast<SCROLLINFO*>(lParam));
    default: return DefWindowProcA(bar, message, wParam, lParam);
  }
}

}  // namespace platform::user

using namespace platform::user;

namespace {

// The scroll-bar control a scroll call addresses, or null with the error set.
HWND BarOf(HWND window, int bar) {
  if (!IsWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (bar != SB_CTL || ControlStateOf<ScrollState>(window) == nullptr) {
    SetLastError(ERROR_NO_SCROLLBARS);
    return nullptr;
  }
  return window;
}

}  // namespace

BOOL SetScrollRange(HWND window, int bar, int min, int max, BOOL redraw) {
  const HWND control = BarOf(window, bar);
  if (control == nullptr) return FALSE;
  return SendMessageA(control, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(min),
                      static_cast<LPARAM>(max)) != 0
             ? TRUE
             : FALSE;
}

BOOL GetScrollRange(HWND window, int bar, int* min, int* max) {
  const HWND control = BarOf(window, bar);
  if (control == nullptr || min == nullptr || max == nullptr) {
    if (control != nullptr) SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  SendMessageA(control, SBM_GETRANGE, reinterpret_cast<WPARAM>(min), reinterpret_cast<LPARAM>(max));
  return TRUE;
}

int SetScrollPos(HWND window, int bar, int position, BOOL redraw) {
  const HWND control = BarOf(window, bar);
  if (control == nullptr) return 0;
  return static_cast<int>(SendMessageA(control, SBM_SETPOS, static_cast<WPARAM>(position), redraw));
}

int GetScrollPos(HWND window, int bar) {
  const HWND control = BarOf(window, bar);
  return control != nullptr ? static_cast<int>(SendMessageA(control, SBM_GETPOS, 0, 0)) : 0;
}

int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw) {
  const HWND control = BarOf(window, bar);
  if (control == nullptr) return 0;
  return static_cast<int>(SendMessageA(control, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(info)));
}

BOOL GetScrollInfo(HWND window, int bar, SCROLLINFO* info) {
  const HWND control = BarOf(window, bar);
  if (control == nullptr) return FALSE;
  return SendMessageA(control, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)) != 0 ? TRUE : FALSE;
}

// The "EDIT" control's window procedure: messages, keys and mouse, painting and notifications.
#include "platform/user/Edit.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Objects.h"
#include "platform/gdi/text/FontObjects.h"
#include "platform/kernel/Errors.h"
#include "platform/user/EditBuffer.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/Look.h"
#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/WindowSurface.h"
#include "platform/user/SystemClasses.h"
#include "platform/user/Window.h"
#include "platform/user/WindowTree.h"

namespace platform::user {
namespace {

// The selection's colours.
constexpr COLORREF kSelection = RGB(0, 0, 128);
constexpr COLORREF kSelectedText = RGB(255, 255, 255);

// Under a hollow brush the control shows what lies beneath it. Nothing repaints that while the control
// covers it (a parent never paints under its children), so the control keeps those pixels from when it
// first covered them and puts them back before it draws its text.
struct Backdrop {
  RECT area{};  // in the top-level window's surface
  std::vector<std::uint32_t> pixels;
};

struct EditControl : ControlState {
  EditControl(HWND window, DWORD style)
      : window(window),
        multiLine((style & ES_MULTILINE) != 0),
        alignment(style & (ES_CENTER | ES_RIGHT)),
        passwordChar(!(style & ES_MULTILINE) && (style & ES_PASSWORD) ? '*' : 0),
        keepSelection((style & ES_NOHIDESEL) != 0),
        buffer(multiLine) {}

  const HWND window;
  const bool multiLine;
  const UINT alignment;  // DT_CENTER and DT_RIGHT have the values of ES_CENTER and ES_RIGHT
  const char passwordChar;
  const bool keepSelection;
  EditBuffer buffer;
  HFONT font = nullptr;
  int leftMargin = 0;
  int rightMargin = 0;
  std::size_t firstLine = 0;  // multi-line: the line at the top
  int scrollX = 0;            // single-line: pixels scrolled off to the left
  bool focused = false;
  bool tracking = false;  // the left button went down in the control and is still held
  Backdrop backdrop;
};

EditControl* ControlOf(HWND window) {
  const DWORD saved = GetLastError();
  EditControl* control = ControlStateOf<EditControl>(window);
  SetLastError(saved);
  return control;
}

// The font the control shows: its own while that is a live font, else the system font.
std::shared_ptr<const text::RasterFont> FontOf(HFONT handle) {
  const DWORD saved = GetLastError();
  gdi::Object* object = handle != nullptr ? gdi::Find(handle) : nullptr;
  SetLastError(saved);
  if (object == nullptr || object->kind != gdi::Kind::Font) object = gdi::Stock(SYSTEM_FONT);
  if (object == nullptr) return nullptr;
  return static_cast<gdi::FontObject*>(object)->font;
}

RECT ClientOf(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return client;
}

// The formatting rectangle: the client area less the margins.
RECT FormatRect(const EditControl& c) {
  RECT r = ClientOf(c.window);
  r.left = std::min(r.right, r.left + c.leftMargin);
  r.right = std::max(r.left, r.right - c.rightMargin);
  return r;
}

int VisibleLines(const EditControl& c) {
  const RECT r = FormatRect(c);
  const int height = c.buffer.LineHeight();
  return height > 0 ? std::max(1, static_cast<int>((r.bottom - r.top) / height)) : 1;
}

// Brings the caret into view: whole lines in a multi-line control, pixels in a single-line one.
void ScrollToCaret(EditControl& c) {
  const POINT caret = c.buffer.PointOf(c.buffer.Caret());
  if (c.multiLine) {
    const std::size_t line = c.buffer.LineOf(c.buffer.Caret());
    const auto visible = static_cast<std::size_t>(VisibleLines(c));
    if (line < c.firstLine) c.firstLine = line;
    if (line >= c.firstLine + visible) c.firstLine = line + 1 - visible;
    c.firstLine = std::min(c.firstLine, c.buffer.LineCount() - 1);
    return;
  }
  const RECT r = FormatRect(c);
  const int width = r.right - r.left;
  const text::PlacedLine& line = c.buffer.Line(0);
  if (line.x >= 0 && line.x + line.line.width < width) {
    c.scrollX = 0;  // all of it shows
  } else if (caret.x < c.scrollX) {
    c.scrollX = caret.x;
  } else if (caret.x >= c.scrollX + width) {
    c.scrollX = caret.x - width + 1;
  }
}

void LayOut(EditControl& c) {
  const RECT r = FormatRect(c);
  const auto font = FontOf(c.font);
  if (!font) return;
  c.buffer.LayOut(font, r.right - r.left, c.alignment, c.passwordChar);
  c.firstLine = std::min(c.firstLine, c.buffer.LineCount() - 1);
}

// After the text, the font or the size changed.
void LayOutAndFollowCaret(EditControl& c) {
  LayOut(c);
  ScrollToCaret(c);
}

void Redraw(const EditControl& c) { InvalidateRect(c.window, nullptr, FALSE); }

// Tells the parent; the parent may destroy the control meanwhile, so callers touch nothing after it.
void Notify(HWND window, WORD code) {
  if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) return;
  const HWND parent = GetParent(window);
  const auto id = static_cast<WORD>(GetDlgCtrlID(window));
  SendMessageA(parent, WM_COMMAND, static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(id, code))),
               reinterpret_cast<LPARAM>(window));
}

// After every change of the text by the user.
void Changed(EditControl& c) {
  LayOutAndFollowCaret(c);
  Redraw(c);
  Notify(c.window, EN_CHANGE);
}

void MoveCaret(EditControl& c, std::size_t to, bool extend) {
  c.buffer.Select(extend ? c.buffer.Anchor() : to, to);
  ScrollToCaret(c);
  Redraw(c);
}

// The caret's point in the formatting rectangle once scrolled, and the way back.
POINT ToClient(const EditControl& c, POINT p) {
  const RECT r = FormatRect(c);
  return POINT{r.left + p.x - c.scrollX, r.top + p.y - static_cast<int>(c.firstLine) * c.buffer.LineHeight()};
}

std::size_t PositionAtClient(const EditControl& c, int x, int y) {
  const RECT r = FormatRect(c);
  return c.buffer.PositionAt(x - r.left + c.scrollX, y - r.top + static_cast<int>(c.firstLine) * c.buffer.LineHeight());
}

void KeyDown(EditControl& c, int key) {
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  EditBuffer& b = c.buffer;
  const std::size_t caret = b.Caret();
  switch (key) {
    case VK_LEFT: MoveCaret(c, b.HasSelection() && !shift ? b.SelectionStart() : b.Previous(caret), shift); break;
    case VK_RIGHT: MoveCaret(c, b.HasSelection() && !shift ? b.SelectionEnd() : b.Next(caret), shift); break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
      const std::size_t line = b.LineOf(caret);
      const bool up = key == VK_UP || key == VK_PRIOR;
      if (!c.multiLine || (up && line == 0) || (!up && line + 1 >= b.LineCount())) {
        MoveCaret(c, caret, shift);  // nowhere to go
        break;
      }
      const std::size_t step = (key == VK_PRIOR || key == VK_NEXT) ? static_cast<std::size_t>(VisibleLines(c)) : 1;
      const std::size_t target = up ? line - std::min(line, step) : std::min(b.LineCount() - 1, line + step);
      MoveCaret(c, b.PositionOnLine(target, b.PointOf(caret).x), shift);
      break;
    }
    case VK_HOME: MoveCaret(c, ctrl ? 0 : b.Line(b.LineOf(caret)).line.start, shift); break;
    case VK_END: {
      const text::TextLine& line = b.Line(b.LineOf(caret)).line;
      MoveCaret(c, ctrl ? b.Length() : line.start + line.length, shift);
      break;
    }
    case VK_DELETE:
      if (!b.HasSelection()) {
        if (caret >= b.Length()) break;
        b.Select(caret, b.Next(caret));
      }
      b.ReplaceSelection({});
      Changed(c);
      break;
    default: break;
  }
}

void Character(EditControl& c, unsigned char character) {
  EditBuffer& b = c.buffer;
  if (character == '\b') {
    if (!b.HasSelection()) {
      if (b.Caret() == 0) return;
      b.Select(b.Caret(), b.Previous(b.Caret()));
    }
    b.ReplaceSelection({});
  } else if (character == '\r') {
    if (!c.multiLine) return;
    b.ReplaceSelection("\r\n");
  } else if (character >= 32) {
    const char typed = static_cast<char>(character);
    b.ReplaceSelection(std::string_view(&typed, 1));
  } else {
    return;  // other control characters type nothing
  }
  Changed(c);
}

bool Covers(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// Takes the pixels under the control where it did not lie before (where it did, the kept ones still hold
// what is beneath), then draws them back through the context, within its clip.
void RestoreBackdrop(EditControl& c, HDC dc) {
  const DrawTarget target = WindowDrawTarget(c.window, true);
  const Surface* surface = target.surface;
  if (surface == nullptr || surface->pixels == nullptr) return;
  const RECT client = ClientOf(c.window);
  const RECT area{std::max(0, static_cast<int>(target.origin.x)), std::max(0, static_cast<int>(target.origin.y)),
                  std::min(surface->width, static_cast<int>(target.origin.x + client.right)),
                  std::min(surface->height, static_cast<int>(target.origin.y + client.bottom))};
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  const Backdrop& old = c.backdrop;
  if (std::memcmp(&area, &old.area, sizeof area) != 0) {
    Backdrop fresh{area,
                   std::vector<std::uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))};
    const auto at = [](const RECT& r, int x, int y) {
      return static_cast<std::size_t>(y - r.top) * static_cast<std::size_t>(r.right - r.left) +
             static_cast<std::size_t>(x - r.left);
    };
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x)
        fresh.pixels[at(area, x, y)] = Covers(old.area, x, y) ? old.pixels[at(old.area, x, y)] : surface->Row(y)[x];
    }
    c.backdrop = std::move(fresh);
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, area.left - target.origin.x, area.top - target.origin.y, static_cast<DWORD>(width),
                    static_cast<DWORD>(height), 0, 0, 0, static_cast<UINT>(height), c.backdrop.pixels.data(), &info,
                    DIB_RGB_COLORS);
}

void Paint(EditControl& c) {
  const HWND window = c.window;
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window, &paint);
  if (dc == nullptr) return;
  const HBRUSH brush = ControlColours(window, dc, WM_CTLCOLOREDIT);
  if (ControlOf(window) != &c) {  // the parent destroyed the control meanwhile
    EndPaint(window, &paint);
    return;
  }
  // A font deleted since the last layout gives way to the system font, here as when drawing.
  if (FontOf(c.font) != c.buffer.Font()) LayOut(c);
  const RECT client = ClientOf(window);
  LOGBRUSH look{};
  if (GetObjectA(brush, sizeof look, &look) != 0 && look.lbStyle == BS_NULL) {
    RestoreBackdrop(c, dc);
  } else {
    c.backdrop = Backdrop{};
    FillRect(dc, &client, brush);
  }
  const HGDIOBJ previousFont = c.font != nullptr ? SelectObject(dc, c.font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  const COLORREF textColor = GetTextColor(dc);
  const EditBuffer& b = c.buffer;
  const bool showSelection = b.HasSelection() && (c.focused || c.keepSelection);
  const int lineHeight = b.LineHeight();
  for (std::size_t i = c.firstLine; i < b.LineCount(); ++i) {
    const text::PlacedLine& placed = b.Line(i);
    const POINT at = ToClient(c, POINT{placed.x, placed.y});
    if (at.y >= client.bottom) break;
    const std::string_view shown = b.Shown(placed.line);
    TextOutA(dc, at.x, at.y, shown.data(), static_cast<int>(shown.size()));
    const std::size_t lineEnd = placed.line.start + placed.line.length;
    const std::size_t from = std::max(b.SelectionStart(), placed.line.start);
    const std::size_t to = std::min(b.SelectionEnd(), lineEnd);
    if (!showSelection || from >= to) continue;
    const POINT left = ToClient(c, b.PointOf(from));
    const POINT right = ToClient(c, b.PointOf(to));
    const RECT band{left.x, at.y, right.x, at.y + lineHeight};
    const HBRUSH highlight = CreateSolidBrush(kSelection);
    FillRect(dc, &band, highlight);
    DeleteObject(highlight);
    SetTextColor(dc, kSelectedText);
    const std::string_view selected = shown.substr(from - placed.line.start, to - from);
    TextOutA(dc, left.x, at.y, selected.data(), static_cast<int>(selected.size()));
    SetTextColor(dc, textColor);
  }
  if (c.focused) {
    const POINT caret = ToClient(c, b.PointOf(b.Caret()));
    const int x = std::clamp<int>(caret.x, 0, std::max(0, static_cast<int>(client.right) - 1));
    PatBlt(dc, x, caret.y, 1, lineHeight, DSTINVERT);
  }
  if (previousFont != nullptr) SelectObject(dc, previousFont);
  EndPaint(window, &paint);
}

LRESULT EditMessage(EditControl& c, UINT message, WPARAM wParam, LPARAM lParam) {
  EditBuffer& b = c.buffer;
  switch (message) {
    case EM_GETSEL: {
      const auto start = static_cast<DWORD>(b.SelectionStart());
      const auto end = static_cast<DWORD>(b.SelectionEnd());
      if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = start;
      if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = end;
      return static_cast<LRESULT>(
          static_cast<DWORD>(MAKELONG(std::min<DWORD>(start, 0xFFFF), std::min<DWORD>(end, 0xFFFF))));
    }
    case EM_SETSEL: {
      const auto anchor = static_cast<long long>(static_cast<int>(wParam));
      const auto caret = static_cast<long long>(static_cast<int>(lParam));
      if (anchor < 0) {
        b.Select(b.Caret(), b.Caret());
      } else {
        b.Select(static_cast<std::size_t>(anchor), caret < 0 ? b.Length() : static_cast<std::size_t>(caret));
      }
      ScrollToCaret(c);
      Redraw(c);
      return 0;
    }
    case EM_GETRECT:
      if (lParam != 0) *reinterpret_cast<RECT*>(lParam) = FormatRect(c);
      return 0;
    case EM_SCROLL: {
      if (!c.multiLine) return FALSE;
      const auto page = static_cast<long long>(VisibleLines(c));
      long long delta = 0;
      switch (static_cast<int>(wParam)) {
        case SB_LINEUP: delta = -1; break;
        case SB_LINEDOWN: delta = 1; break;
        case SB_PAGEUP: delta = -page; break;
        case SB_PAGEDOWN: delta = page; break;
        default: return FALSE;
      }
      const long long last = static_cast<long long>(b.LineCount()) - 1;
      const long long from = static_cast<long long>(c.firstLine);
      const long long to = std::clamp(from + delta, 0LL, last);
      c.firstLine = static_cast<std::size_t>(to);
      if (to != from) Redraw(c);
      return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(static_cast<SHORT>(to - from), TRUE)));
    }
    case EM_GETLINECOUNT: return static_cast<LRESULT>(b.LineCount());
    case EM_LINEINDEX: {
      const int line = static_cast<int>(wParam);
      const std::size_t index = line < 0 ? b.LineOf(b.Caret()) : static_cast<std::size_t>(line);
      return index < b.LineCount() ? static_cast<LRESULT>(b.Line(index).line.start) : -1;
    }
    case EM_LINELENGTH: {
      const int position = static_cast<int>(wParam);
      if (!c.multiLine) return static_cast<LRESULT>(b.Length());
      if (position < 0) {
        // The characters of the selection's lines that are not selected.
        const text::TextLine& first = b.Line(b.LineOf(b.SelectionStart())).line;
        const text::TextLine& last = b.Line(b.LineOf(b.SelectionEnd())).line;
        const std::size_t before = b.SelectionStart() - std::min(b.SelectionStart(), first.start);
        const std::size_t lastEnd = last.start + last.length;
        return static_cast<LRESULT>(before + (lastEnd - std::min(lastEnd, b.SelectionEnd())));
      }
      if (static_cast<std::size_t>(position) > b.Length()) return 0;
      return static_cast<LRESULT>(b.Line(b.LineOf(static_cast<std::size_t>(position))).line.length);
    }
    case EM_REPLACESEL:
      b.ReplaceSelection(lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "");
      Changed(c);
      return 0;
    case EM_LINEFROMCHAR: {
      const int position = static_cast<int>(wParam);
      return static_cast<LRESULT>(b.LineOf(position < 0 ? b.SelectionStart() : static_cast<std::size_t>(position)));
    }
    case EM_GETFIRSTVISIBLELINE: return static_cast<LRESULT>(c.multiLine ? c.firstLine : 0);
    case EM_GETPASSWORDCHAR: return static_cast<unsigned char>(c.passwordChar);
    case EM_SETMARGINS:
      if (wParam & EC_LEFTMARGIN) c.leftMargin = LOWORD(lParam);
      if (wParam & EC_RIGHTMARGIN) c.rightMargin = HIWORD(lParam);
      LayOutAndFollowCaret(c);
      Redraw(c);
      return 0;
    case EM_GETMARGINS: return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(c.leftMargin, c.rightMargin)));
    case EM_POSFROMCHAR: {
      if (wParam > b.Length()) return -1;
      const POINT p = ToClient(c, b.PointOf(static_cast<std::size_t>(wParam)));
      return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(p.x, p.y)));
    }
    default: return 0;
  }
}

}  // namespace

LRESULT EditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    WindowData* w = Find(window);
    if (w == nullptr) return FALSE;
    auto control = std::make_unique<EditControl>(window, create != nullptr ? static_cast<DWORD>(create->style) : 0);
    if (create != nullptr && create->lpszName != nullptr) control->buffer.SetText(create->lpszName);
    w->control = std::move(control);
    return DefWindowProcA(window, message, wParam, lParam);
  }
  EditControl* c = ControlOf(window);
  if (c == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  EditBuffer& b = c->buffer;
  if (message >= EM_GETSEL && message <= EM_POSFROMCHAR) return EditMessage(*c, message, wParam, lParam);
  switch (message) {
    case WM_CREATE:
    case WM_SIZE:
      LayOutAndFollowCaret(*c);
      Redraw(*c);
      return 0;
    case WM_SETTEXT:
      b.SetText(lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "");
      c->firstLine = 0;
      c->scrollX = 0;
      LayOutAndFollowCaret(*c);
      Redraw(*c);
      if (!c->multiLine) Notify(window, EN_CHANGE);
      return TRUE;
    case WM_GETTEXT: {
      if (wParam == 0 || lParam == 0) return 0;
      const std::size_t count = std::min<std::size_t>(b.Length(), wParam - 1);
      auto* buffer = reinterpret_cast<char*>(lParam);
      std::memcpy(buffer, b.Text().data(), count);
      buffer[count] = '\0';
      return static_cast<LRESULT>(count);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(b.Length());
    case WM_SETFONT:
      c->font = reinterpret_cast<HFONT>(wParam);
      LayOutAndFollowCaret(*c);
      if (LOWORD(lParam) != 0) Redraw(*c);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(c->font);
    case WM_ERASEBKGND: return 1;  // painting covers the whole control
    case WM_PAINT: Paint(*c); return 0;
    case WM_ENABLE: Redraw(*c); return 0;
    case WM_WINDOWPOSCHANGED: {
      // Hidden, the control no longer covers what is beneath it, which may change before it shows again.
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (pos != nullptr && (pos->flags & SWP_HIDEWINDOW)) c->backdrop = Backdrop{};
      return DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_SETFOCUS:
      c->focused = true;
      Redraw(*c);
      Notify(window, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      c->focused = false;
      Redraw(*c);
      Notify(window, EN_KILLFOCUS);
      return 0;
    case WM_KEYDOWN: KeyDown(*c, static_cast<int>(wParam)); return 0;
    case WM_CHAR: Character(*c, static_cast<unsigned char>(wParam & 0xFF)); return 0;
    case WM_LBUTTONDOWN: {
      if (GetFocus() != window) {
        SetFocus(window);
        if (ControlOf(window) != c) return 0;
      }
      SetCapture(window);
      c->tracking = true;
      MoveCaret(*c, PositionAtClient(*c, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)), (wParam & MK_SHIFT) != 0);
      return 0;
    }
    case WM_LBUTTONDBLCLK: {
      const auto [start, end] = b.WordAround(PositionAtClient(*c, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      b.Select(start, end);
      ScrollToCaret(*c);
      Redraw(*c);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (c->tracking && GetCapture() == window && (wParam & MK_LBUTTON)) {
        MoveCaret(*c, PositionAtClient(*c, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)), true);
      }
      return 0;
    case WM_LBUTTONUP:
      if (c->tracking) {
        c->tracking = false;
        if (GetCapture() == window) ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED: c->tracking = false; return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace platform::user

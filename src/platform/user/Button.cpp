#include "platform/user/Button.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/Look.h"
#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/SystemClasses.h"
#include "platform/user/Window.h"

namespace platform::user {

namespace {

struct ButtonState final : ControlState {
  UINT check = BST_UNCHECKED;
  bool pushed = false;     // drawn pressed in
  bool focused = false;
  bool tracking = false;   // following the mouse, with the capture, since the left button went down on it
  bool spaceDown = false;  // pressed by the space bar, which clicks it when it comes up
  HFONT font = nullptr;    // null: the system font
};

// The box of a check box and the circle of a radio button, and the gap between them and the text.
constexpr int kCheckSide = 13;
constexpr int kRadioSide = 12;
constexpr int kTextGap = 4;

enum class Kind { Push, Check, Radio };

DWORD TypeOf(HWND button) { return static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE)) & BS_TYPEMASK; }

// Kinds the class does not draw otherwise are drawn and behave as push buttons.
Kind KindOf(DWORD type) {
  switch (type) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE: return Kind::Check;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return Kind::Radio;
    default: return Kind::Push;
  }
}

bool IsThreeState(DWORD type) { return type == BS_3STATE || type == BS_AUTO3STATE; }

ButtonState* StateOf(HWND button) { return ControlStateOf<ButtonState>(button); }

// A change of look shows at once, as the user presses and lets go, not at the next round of painting.
void Repaint(HWND button) { RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

void SetPushed(HWND button, bool pushed) {
  ButtonState* s = StateOf(button);
  if (s == nullptr || s->pushed == pushed) return;
  s->pushed = pushed;
  Repaint(button);
}

bool Inside(HWND button, LPARAM point) {
  RECT client{};
  GetClientRect(button, &client);
  const int x = GET_X_LPARAM(point), y = GET_Y_LPARAM(point);
  return x >= client.left && x < client.right && y >= client.top && y < client.bottom;
}

void Notify(HWND button, WORD code) {
  if (!(GetWindowLongA(button, GWL_STYLE) & WS_CHILD)) return;
  const HWND parent = GetParent(button);
  if (parent == nullptr) return;
  const auto id = static_cast<WORD>(GetDlgCtrlID(button));
  SendMessageA(parent, WM_COMMAND, static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(id, code))),
               reinterpret_cast<LPARAM>(button));
}

// The siblings of the button's group, in the order they were made (the window system keeps the newest in
// front): from the last one at or before it with WS_GROUP up to the next one with WS_GROUP.
std::vector<HWND> GroupOf(HWND button) {
  std::vector<HWND> order;
  for (HWND c = GetWindow(button, GW_HWNDLAST); c != nullptr; c = GetWindow(c, GW_HWNDPREV)) order.push_back(c);
  std::size_t at = 0;
  while (at < order.size() && order[at] != button) ++at;
  if (at == order.size()) return {button};
  auto grouped = [&](std::size_t i) { return (GetWindowLongA(order[i], GWL_STYLE) & WS_GROUP) != 0; };
  std::size_t first = at;
  while (first > 0 && !grouped(first)) --first;
  std::size_t end = at + 1;
  while (end < order.size() && !grouped(end)) ++end;
  return std::vector<HWND>(order.begin() + static_cast<std::ptrdiff_t>(first),
                           order.begin() + static_cast<std::ptrdiff_t>(end));
}

void CheckInGroup(HWND button) {
  for (HWND other : GroupOf(button)) {
    if (other != button && StateOf(other) != nullptr && TypeOf(other) == BS_AUTORADIOBUTTON) {
      SendMessageA(other, BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
  if (IsWindow(button)) SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0);
}

void Click(HWND button) {
  const ButtonState* s = StateOf(button);
  if (s == nullptr) return;
  switch (TypeOf(button)) {
    case BS_AUTOCHECKBOX: SendMessageA(button, BM_SETCHECK, s->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0); break;
    case BS_AUTO3STATE: SendMessageA(button, BM_SETCHECK, (s->check + 1) % 3, 0); break;
    case BS_AUTORADIOBUTTON: CheckInGroup(button); break;
    default: break;
  }
  if (IsWindow(button)) Notify(button, BN_CLICKED);
}

// Ends a press by the mouse without a click: the capture went elsewhere, the button lost the focus or was
// disabled.
void CancelTracking(HWND button) {
  ButtonState* s = StateOf(button);
  if (s == nullptr || !s->tracking) return;
  s->tracking = false;
  if (GetCapture() == button) ReleaseCapture();
  SetPushed(button, false);
}

std::string TextOf(HWND button) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(button)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(button, text.data(), static_cast<int>(text.size()))));
  return text;
}

// Where the text goes when centred vertically in the area: the area's width, the text's height.
RECT TextBox(HDC dc, const std::string& text, RECT area, UINT format) {
  RECT measured = area;
  DrawTextA(dc, text.data(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
  const int height = measured.bottom - measured.top;
  RECT box = area;
  box.top = area.top + ((area.bottom - area.top) - height) / 2;
  box.bottom = box.top + height;
  if (format & DT_CENTER) return box;
  box.right = measured.right;
  return box;
}

void PaintPush(HDC dc, RECT r, bool isDefault, const ButtonState& s, const std::string& text, bool enabled) {
  Fill(dc, r, kFace);
  if (isDefault) {
    Ring(dc, r, kDark, kDark);
    r = Inset(r, 1);
  }
  if (s.pushed) {
    Ring(dc, r, kShadow, kShadow);
  } else {
    RaisedEdge(dc, r);
  }
  RECT area = Inset(r, 2);
  if (s.pushed) area = RECT{area.left + 1, area.top + 1, area.right + 1, area.bottom + 1};
  SetTextColor(dc, kDark);
  const RECT box = TextBox(dc, text, area, DT_CENTER);
  DrawLabel(dc, text.data(), static_cast<int>(text.size()), box, DT_CENTER, enabled);
  if (s.focused) FocusRect(dc, Inset(r, 3));
}

// A check mark of seven columns, each three pixels tall, falling then rising.
void DrawCheckMark(HDC dc, int left, int top, COLORREF colour) {
  static constexpr int kColumnTops[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int c = 0; c < 7; ++c) Fill(dc, RECT{left + c, top + kColumnTops[c], left + c + 1, top + kColumnTops[c] + 3}, colour);
}

// A round well: two rings lit from the top left, a white (or grey) inside and, when checked, a dot.
void DrawRadio(HDC dc, int left, int top, COLORREF inside, bool checked, COLORREF dot) {
  const double centre = (kRadioSide - 1) / 2.0;
  for (int y = 0; y < kRadioSide; ++y) {
    for (int x = 0; x < kRadioSide; ++x) {
      const double dx = x - centre, dy = y - centre, d2 = dx * dx + dy * dy;
      const bool upperLeft = dx + dy < 0;
      COLORREF colour;
      if (d2 > 36) continue;
      if (d2 > 25) {
        colour = upperLeft ? kShadow : kHighlight;
      } else if (d2 > 16) {
        colour = upperLeft ? kDark : kFace;
      } else {
        colour = checked && d2 <= 4 ? dot : inside;
      }
      SetPixel(dc, left + x, top + y, colour);
    }
  }
}

void PaintMark(HDC dc, RECT client, Kind kind, const ButtonState& s, const std::string& text, bool enabled) {
  const int side = kind == Kind::Check ? kCheckSide : kRadioSide;
  const int top = client.top + ((client.bottom - client.top) - side) / 2;
  const COLORREF inside = (s.pushed || !enabled) ? kFace : kHighlight;
  const COLORREF ink = (!enabled || s.check == BST_INDETERMINATE) ? kShadow : kDark;
  if (kind == Kind::Check) {
    const RECT box{client.left, top, client.left + side, top + side};
    SunkenEdge(dc, box);
    Fill(dc, Inset(box, 2), inside);
    if (s.check != BST_UNCHECKED) DrawCheckMark(dc, box.left + 3, box.top + 3, ink);
  } else {
    DrawRadio(dc, client.left, top, inside, s.check != BST_UNCHECKED, ink);
  }
  const RECT area{client.left + side + kTextGap, client.top, client.right, client.bottom};
  const RECT box = TextBox(dc, text, area, DT_LEFT);
  DrawLabel(dc, text.data(), static_cast<int>(text.size()), box, DT_LEFT, enabled);
  if (s.focused && !text.empty()) FocusRect(dc, RECT{box.left - 1, box.top, std::min(box.right + 1, client.right), box.bottom});
}

void Paint(HWND button) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(button, &paint);
  if (dc == nullptr) return;
  RECT client{};
  GetClientRect(button, &client);
  const DWORD type = TypeOf(button);
  const Kind kind = KindOf(type);
  const std::string text = TextOf(button);
  const bool enabled = IsWindowEnabled(button) != FALSE;
  // The parent chooses the colours around a check box, as it does for static text.
  const HBRUSH background = kind != Kind::Push ? ControlColours(button, dc, WM_CTLCOLORSTATIC) : nullptr;
  // Taken after the parent had its say: it may have changed the button.
  const ButtonState* s = StateOf(button);
  if (s != nullptr) {
    const HGDIOBJ previousFont = s->font != nullptr ? SelectObject(dc, s->font) : nullptr;
    if (kind == Kind::Push) {
      PaintPush(dc, client, type == BS_DEFPUSHBUTTON, *s, text, enabled);
    } else {
      FillRect(dc, &client, background);
      PaintMark(dc, client, kind, *s, text, enabled);
    }
    if (previousFont != nullptr) SelectObject(dc, previousFont);
  }
  EndPaint(button, &paint);
}

// Tab, Enter and Esc are the window's keys, not the button's: they go on to the parent, so that a window
// that moves between its fields, accepts or cancels with them keeps doing so while a button has the focus.
LRESULT CharacterTyped(HWND button, WPARAM wParam, LPARAM lParam) {
  if (wParam == ' ') return 0;  // the space bar's own character: the key already clicked
  const bool windowKey = wParam == '\t' || wParam == '\r' || wParam == 27;
  if (!windowKey || !(GetWindowLongA(button, GWL_STYLE) & WS_CHILD)) return DefWindowProcA(button, WM_CHAR, wParam, lParam);
  const HWND parent = GetParent(button);
  return parent != nullptr ? SendMessageA(parent, WM_CHAR, wParam, lParam) : 0;
}

LRESULT SetCheck(HWND button, WPARAM wParam) {
  ButtonState* s = StateOf(button);
  const DWORD type = TypeOf(button);
  if (s == nullptr || KindOf(type) == Kind::Push) return 0;
  const UINT check = IsThreeState(type) ? (wParam >= BST_INDETERMINATE ? BST_INDETERMINATE : static_cast<UINT>(wParam))
                                        : (wParam != BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED);
  if (s->check != check) {
    s->check = check;
    Repaint(button);
  }
  return 0;
}

}  // namespace

LRESULT ButtonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  ButtonState* s = ControlStateFor<ButtonState>(button, message);
  if (s == nullptr || message == WM_NCCREATE) return DefWindowProcA(button, message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND: return 1;  // the painting covers every pixel
    case WM_PAINT: Paint(button); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // A double click is two clicks for a button.
      SetFocus(button);
      if (StateOf(button) == nullptr) return 0;
      SetCapture(button);
      if ((s = StateOf(button)) == nullptr) return 0;
      s->tracking = true;
      SetPushed(button, true);
      return 0;
    case WM_MOUSEMOVE:
      if (s->tracking) SetPushed(button, Inside(button, lParam));
      return 0;
    case WM_LBUTTONUP: {
      if (!s->tracking) return 0;
      s->tracking = false;
      const bool inside = Inside(button, lParam);
      SetPushed(button, false);
      if (GetCapture() == button) ReleaseCapture();
      if (inside) Click(button);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (s->tracking && reinterpret_cast<HWND>(lParam) != button) CancelTracking(button);
      return 0;
    case WM_SETFOCUS:
      s->focused = true;
      Repaint(button);
      return 0;
    case WM_KILLFOCUS:
      s->focused = false;
      s->spaceDown = false;
      CancelTracking(button);
      if ((s = StateOf(button)) != nullptr) s->pushed = false;
      Repaint(button);
      return 0;
    case WM_ENABLE:
      if (!wParam) CancelTracking(button);
      Repaint(button);
      return 0;
    case WM_KEYDOWN:
      if (wParam != VK_SPACE) return DefWindowProcA(button, message, wParam, lParam);
      if (!s->spaceDown && !s->tracking) {
        s->spaceDown = true;
        SetPushed(button, true);
      }
      return 0;
    case WM_KEYUP:
      if (wParam != VK_SPACE) return DefWindowProcA(button, message, wParam, lParam);
      if (s->spaceDown) {
        s->spaceDown = false;
        const bool pushed = s->pushed;
        SetPushed(button, false);
        if (pushed) Click(button);
      }
      return 0;
    case WM_CHAR: return CharacterTyped(button, wParam, lParam);
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcA(button, message, wParam, lParam);
      Repaint(button);
      return result;
    }
    case WM_SETFONT:
      s->font = reinterpret_cast<HFONT>(wParam);
      if (lParam) Repaint(button);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case BM_GETCHECK: return KindOf(TypeOf(button)) == Kind::Push ? BST_UNCHECKED : s->check;
    case BM_SETCHECK: return SetCheck(button, wParam);
    case BM_GETSTATE:
      return static_cast<LRESULT>((KindOf(TypeOf(button)) == Kind::Push ? 0u : s->check) |
                                  (s->pushed ? BST_PUSHED : 0u) | (s->focused ? BST_FOCUS : 0u));
    case BM_SETSTATE: SetPushed(button, wParam != 0); return 0;
    case BM_SETSTYLE: {
      const auto style = static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE));
      const DWORD changed = (style & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK);
      if (changed == style) return 0;
      SetWindowLongA(button, GWL_STYLE, static_cast<LONG_PTR>(changed));
      // A button made the default, or no longer the default, shows it even when the caller asks for no
      // redrawing now: its next painting does.
      if (lParam) {
        Repaint(button);
      } else {
        InvalidateRect(button, nullptr, FALSE);
      }
      return 0;
    }
    case BM_CLICK:
      if (!IsWindowEnabled(button)) return 0;
      SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      if (IsWindow(button)) SendMessageA(button, WM_LBUTTONUP, 0, 0);
      return 0;
    default: return DefWindowProcA(button, message, wParam, lParam);
  }
}

}  // namespace platform::user

using namespace platform::user;

HWND GetDlgItem(HWND dialog, int id) {
  if (!IsWindow(dialog)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    if (GetDlgCtrlID(c) == id) return c;
  }
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  const HWND item = GetDlgItem(dialog, id);
  return item != nullptr ? static_cast<UINT>(SendMessageA(item, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  const HWND item = GetDlgItem(dialog, id);
  if (item == nullptr) return FALSE;
  SendMessageA(item, BM_SETCHECK, check, 0);
  return TRUE;
}

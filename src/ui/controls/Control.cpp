#include "ui/controls/Control.h"

#include <cstdint>

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/String.h"
#include "platform/user/Button.h"
#include "platform/user/Edit.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/ScrollBar.h"
#include "platform/user/Window.h"
#include "ui/UiState.h"
#include "ui/shell/App.h"
#include "ui/shell/Signal.h"
#include "ui/views/WindowFrame.h"

std::uint32_t gEditAlignmentStyle = 0;

namespace {

constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE;

const char* ClassOfKind(std::int32_t kind) {
  switch (kind) {
    case kControlScrollBar: return "SCROLLBAR";
    case kControlPopUp: return "STATIC";
    case kControlEdit: return "EDIT";
    default: return "BUTTON";
  }
}

DWORD StyleOfKind(std::int32_t kind, std::int32_t command) {
  switch (kind) {
    case kControlCheckBox: return kChildStyle | WS_TABSTOP | BS_CHECKBOX;
    case kControlScrollBar: return kChildStyle | (command == 1 ? SBS_HORZ : SBS_VERT);
    case kControlEdit:
      return command != 0 ? kChildStyle | WS_TABSTOP | ES_PASSWORD
                          : kChildStyle | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | gEditAlignmentStyle;
    default: return kChildStyle | WS_TABSTOP;
  }
}

WindowFrame* WindowFrameOf(const View* view) {
  return CHECK_NOT_NULL(CastSmart<WindowFrame>(view->GetWindowFrameOnly()));
}

}  // namespace

SMART_DEFINE_ABSTRACT(Control, "Control", View)
SMART_DEFINE_ABSTRACT(CheckBox, "CheckBox", Control)

Control::Control(View* parent, const Rect& frame, std::uint8_t anchoring, std::int32_t kind, const String* text,
                 Controllable* target, std::int32_t command)
    : View(parent, frame, anchoring, false, true), command(command), target(target) {
  gEditAlignmentStyle = 0;
  CreateOSControl(kind, text, WindowFrameOf(this));
  Validate();
}

Control::Control(View* parent, const Rect& frame, std::uint8_t anchoring, Menu* menu, Controllable* target,
                 std::int32_t command)
    : View(parent, frame, anchoring, false, true), command(command), target(target), menu(menu) {
  gEditAlignmentStyle = 0;
  const String empty;
  CreateOSControl(kControlPopUp, &empty, WindowFrameOf(this));
  Validate();
}

// The native control may already be gone with its window; a destructor has no one to tell.
Control::~Control() {
  if (osControl == nullptr) return;
  if (target && osControl->kind != kControlPopUp) target->ToggleObserver(this);
  if (osControl->kind != kControlPopUp && IsWindow(osControl->window)) DestroyWindow(osControl->window);
  delete osControl;
}

// A pop-up control never joined its target's observers, so it has none to leave.
void Control::DestroyOSControl() {
  if (osControl == nullptr) return;
  if (target && osControl->kind != kControlPopUp) target->ToggleObserver(this);
  OSControl* old = osControl;
  osControl = nullptr;
  const bool destroyed = old->kind == kControlPopUp || DestroyWindow(old->window);
  delete old;
  CHECK_CALL(destroyed);
}

void Control::CreateOSControl(std::int32_t kind, const String* text, WindowFrame* windowFrame) {
  DestroyOSControl();
  CHECK_NOT_NULL(windowFrame);
  if (kind == kControlPopUp) {
    if (!menu) AssertFailed("menu.Valid()", __FILE__, __LINE__);
    menu->Install(true);
    osControl = new OSControl{nullptr, kind, 0};
    return;
  }
  char shown[32] = {};
  if (text) text->CopyTo(shown, sizeof shown);
  const Rect frame = GetBounds();
  const std::int32_t id = TheUiState().nextControlId++;
  HWND window = CHECK_NOT_NULL(CreateWindowExA(0, ClassOfKind(kind), shown, StyleOfKind(kind, command), frame.left,
                                               frame.top, frame.right - frame.left, frame.bottom - frame.top,
                                               windowFrame->GetHandle(),
                                               reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), nullptr,
                                               nullptr));
  osControl = new OSControl{window, kind, id};
  if (target) target->ToggleObserver(this);
}

HWND Control::Native() const { return CHECK_NOT_NULL(osControl)->window; }

void Control::Enable(bool enable) {
  if (osControl && osControl->kind != kControlPopUp) EnableWindow(osControl->window, enable);
}

std::int32_t Control::GetValue() const {
  switch (GetKind()) {
    case kControlCheckBox:
      return static_cast<std::int32_t>(IsDlgButtonChecked(GetParent(osControl->window), osControl->childId));
    case kControlScrollBar: {
      const int position = GetScrollPos(osControl->window, SB_CTL);
      CHECK_CALL(position >= 0);
      return position;
    }
    case kControlPopUp: return static_cast<std::int32_t>(menu->GetPopup());
    default: return 0;
  }
}

void Control::GetRange(std::int32_t* min, std::int32_t* max) const {
  if (GetKind() == kControlScrollBar) {
    int low = 0, high = 0;
    CHECK_CALL(GetScrollRange(osControl->window, SB_CTL, &low, &high));
    *min = low;
    *max = high;
    return;
  }
  if (GetKind() == kControlPopUp) {
    *min = 1;
    *max = menu->CountEntries();
    return;
  }
  *min = 0;
  *max = 1;
}

void Control::SetValue(std::int32_t value) {
  switch (GetKind()) {
    case kControlCheckBox:
      CHECK_CALL(CheckDlgButton(GetParent(osControl->window), osControl->childId, static_cast<UINT>(value)));
      break;
    case kControlScrollBar: CHECK_CALL(SetScrollPos(osControl->window, SB_CTL, value, TRUE) >= 0); break;
    case kControlPopUp:
      menu->SetPopup(static_cast<std::uint32_t>(value));
      Invalidate(false);
      break;
    default: break;
  }
  PushValueToTarget();
}

// Only a scroll bar has a range to set: the others' is 0 to 1 whatever their model says, and a model that
// tells its observers of a new size must not fail at them.
void Control::SetRange(std::int32_t min, std::int32_t max) {
  if (GetKind() != kControlScrollBar) return;
  CHECK_CALL(SetScrollRange(Native(), SB_CTL, min, max, TRUE));
}

void Control::PushValueToTarget() {
  if (!target) return;
  target->SetValue(command, GetValue());
  Validate();
}

void Control::Validate() {
  if (osControl == nullptr) AssertFailed("osControl != NULL", __FILE__, __LINE__);
  const std::int32_t value = GetValue();
  std::int32_t min = 0, max = 0;
  GetRange(&min, &max);
  if (!(value >= min)) AssertFailed("value >= min", __FILE__, __LINE__);
  if (!(value <= max)) AssertFailed("value <= max", __FILE__, __LINE__);
}

void Control::SetButtonStyle(std::uint8_t style) {
  buttonStyle = style;
  SendMessageA(Native(), BM_SETSTYLE, style != 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void Control::DrawContent(DisplayPort& port, const Area&) {
  if (osControl == nullptr) return;
  if (osControl->kind == kControlPopUp) {
    DrawPopUp(port);
    return;
  }
  CHECK_CALL(RedrawWindow(osControl->window, nullptr, nullptr, RDW_UPDATENOW | RDW_INVALIDATE));
}

bool Control::MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t, View* window) {
  // A click may close the window that holds the control.
  SmartRef<Control> keep(this);
  switch (GetKind()) {
    case kControlPushButton: {
      HWND button = osControl->window;
      if (GetFocus() == button) {
        // The button was just pressed and tells of its click.
        Clicked(1);
        break;
      }
      if (!IsWindowEnabled(button)) return false;
      // A press beside the native button (on the view's right or bottom edge): the button tracks it.
      ReleaseCapture();
      const Point origin = WindowFrameOf(CHECK_NOT_NULL(window))->GetGlobalBounds().TopLeft();
      POINT p{origin.x + x, origin.y + y};
      CHECK_CALL(ClientToScreen(gMainWindow, &p));
      CHECK_CALL(ScreenToClient(button, &p));
      SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, static_cast<LPARAM>(MAKELONG(p.x, p.y)));
      break;
    }
    case kControlCheckBox: SetValue(1 - GetValue()); break;
    case kControlScrollBar: {
      std::int32_t value = GetValue(), min = 0, max = 0;
      GetRange(&min, &max);
      const std::int32_t page = CHECK_NOT_NULL(~target)->GetPageSize(command);
      const auto code = static_cast<std::uint32_t>(modifiers);
      switch (code & 0xFFFF) {
        case SB_LINEUP: value -= 1; break;
        case SB_LINEDOWN: value += 1; break;
        case SB_PAGEUP: value -= page; break;
        case SB_PAGEDOWN: value += page; break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: value = static_cast<std::int32_t>(code >> 16); break;
        case SB_TOP: value = min; break;
        case SB_BOTTOM: value = max; break;
        default: break;
      }
      SetValue(value < min ? min : value > max ? max : value);
      break;
    }
    case kControlPopUp: {
      const Point origin = WindowFrameOf(this)->GetGlobalBounds().TopLeft();
      menu->TrackPopup(gMainWindow, origin.x + x, origin.y + y);
      // The choice arrives as a menu command, which picks the item as the menu's current one.
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
          PostQuitMessage(static_cast<int>(msg.wParam));
          break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      if (osControl == nullptr) return true;
      SetValue(static_cast<std::int32_t>(menu->GetPopup()));
      break;
    }
    default: NOT_IMPLEMENTED(); break;
  }
  // The click may have closed the window and taken the native control with it.
  if (osControl == nullptr || osControl->kind == kControlPopUp || IsWindow(osControl->window)) Validate();
  return true;
}

void Control::ResizeBy(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom) {
  View::ResizeBy(dLeft, dTop, dRight, dBottom);
  if (osControl == nullptr || osControl->kind == kControlPopUp) return;
  const Rect frame = GetBounds();
  CHECK_CALL(MoveWindow(osControl->window, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                        TRUE));
}

void Control::Activate(bool active) {
  if (active && target) SetValue(target->GetValue(command));
}

void Control::Clicked(std::int32_t) {
  if (menu) MenuCommand(menu->CommandNumber(GetValue()), nullptr);
}

void Control::RangeChanged(const Range*) {}

void Control::TargetChanged(void*) {
  if (!target) return;
  std::int32_t min = 0, max = 0;
  target->GetRange(command, &min, &max);
  SetRange(min, max);
  Validate();
}

PushButton::PushButton(View* parent, const Rect& frame, const String* text, GenericSignal* signal, Smart* watcher)
    : Control(parent, frame, kAnchorTopLeft, kControlPushButton, text, nullptr, 0), signal(signal), watcher(watcher) {}

PushButton::~PushButton() = default;

void PushButton::Clicked(std::int32_t) {
  if (signal && signal->GetSignalStatus(watcher) != kCommandDisabled) signal->Send(watcher);
}

#include "ui/text/TextControl.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "graphics/TextMeasure.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Edit.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/Window.h"
#include "ui/dialogs/DialogSupport.h"
#include "ui/shell/WindowProcs.h"
#include "ui/views/WindowFrame.h"
#include "graphics/SystemVersion.h"

namespace {

// Far below any screen: an edit control this tall lays out every line of its text.
constexpr std::int32_t kUnlimitedBottom = 10000;

}  // namespace

TextControl::TextControl(View* parent, const Rect& frame, const String& text, Controllable* target, bool password)
    : Control(parent, frame, kAnchorAll, kControlEdit, &text, target, password ? 1 : 0) {
  SetText(text);
  SmartRef<TextStyle> plain(
      new TextStyle(kDefaultFontId, defaultTextSize, kAlignLeft, standardColors[1], standardColors[kTransparentColor]));
  plain->SetBackColor(standardColors[0]);
  SetStyle(plain, false);
  subClasser = std::make_unique<SubClasser>(Native());
}

// The native control may already be gone with its window: there is nothing left to give back then.
TextControl::~TextControl() {
  if (subClasser && IsWindow(subClasser->GetWindow())) subClasser->Remove();
}

void TextControl::SetText(const String& text) {
  std::vector<char> characters(static_cast<std::size_t>(text.Length()) + 1);
  text.CopyTo(characters.data(), static_cast<std::int32_t>(characters.size()));
  CHECK_CALL(SetWindowTextA(Native(), characters.data()));
}

std::string TextControl::WindowText() const {
  const int size = GetWindowTextLengthA(Native()) + 1;
  if (size <= 1) return {};
  std::vector<char> characters(static_cast<std::size_t>(size));
  const int read = GetWindowTextA(Native(), characters.data(), size);
  CHECK_CALL(read > 0);
  return std::string(characters.data(), static_cast<std::size_t>(read));
}

void TextControl::GetText(String& text) const {
  const std::string characters = WindowText();
  if (characters.empty()) {
    text.Clear();
  } else {
    text.Set(characters.c_str());
  }
}

void TextControl::GetSelection(std::int32_t* start, std::int32_t* end) const {
  DWORD from = 0, to = 0;
  SendMessageA(Native(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  *start = static_cast<std::int32_t>(from);
  *end = static_cast<std::int32_t>(to);
}

void TextControl::SetSelection(std::int32_t start, std::int32_t end) {
  PostMessageA(Native(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

bool TextControl::AlignmentNeedsNewControl() const {
  const auto bits = static_cast<DWORD>(GetWindowLongA(Native(), GWL_STYLE));
  switch (style->GetAlignment()) {
    case kAlignLeft: return (bits & (ES_CENTER | ES_RIGHT)) != 0;
    case kAlignCenter: return (bits & ES_CENTER) == 0;
    case kAlignRight: return (bits & ES_RIGHT) == 0;
    default: return false;
  }
}

void TextControl::RemakeForAlignment() {
  gEditAlignmentStyle = static_cast<std::uint32_t>(style->GetAlignment());
  const bool focused = GetFocus() == Native();
  SmartRef<String> text(new String);
  GetText(*text);
  std::int32_t start = 0, end = 0;
  GetSelection(&start, &end);
  // The field may have been moved since it was made (its view resized or fitted): the new one takes its
  // place, not the frame the control was made with.
  const Rect place = NativeRect();
  subClasser->Remove();
  subClasser.reset();
  CreateOSControl(kControlEdit, ~text, CHECK_NOT_NULL(CastSmart<WindowFrame>(GetWindowFrameOnly())));
  if (place != GetBounds()) SetBounds(place);
  if (focused) {
    // The new control's focus notification must not read as a click.
    gSuppressControlNotifications = true;
    SetFocus(Native());
    gSuppressControlNotifications = false;
  }
  subClasser = std::make_unique<SubClasser>(Native());
  SetText(*text);
  SetSelection(start, end);
  style->SetBackColor(standardColors[0]);
}

Rect TextControl::NativeRect() const {
  RECT onScreen{};
  CHECK_CALL(GetWindowRect(Native(), &onScreen));
  POINT topLeft{onScreen.left, onScreen.top};
  CHECK_CALL(ScreenToClient(GetParent(Native()), &topLeft));
  return Rect(topLeft.x, topLeft.y, topLeft.x + (onScreen.right - onScreen.left),
              topLeft.y + (onScreen.bottom - onScreen.top));
}

void TextControl::SetStyle(SmartRef<TextStyle> given, bool fit) {
  CHECK_NOT_NULL(~given);
  if (~given != ~style) style = given;
  if (AlignmentNeedsNewControl()) RemakeForAlignment();
  SendMessageA(Native(), WM_SETFONT, reinterpret_cast<WPARAM>(style->GetFont()), 0);
  // The window colours the field from the style it finds there.
  SetPropA(Native(), "TextStyle", static_cast<HANDLE>(~style));
  if (!fit || GetWindowTextLengthA(Native()) == 0) return;
  // Where the field stands now: its view may have moved or stretched it since it was made.
  const Rect bounds = NativeRect();
  SetBounds(Rect(bounds.left, bounds.top, bounds.right, kUnlimitedBottom));
  const Point needed = MeasureEditText(Native(), WindowText(), *style);
  SetBounds(Rect(bounds.left, bounds.top, bounds.left + bounds.Width(), bounds.top + needed.y));
}

Point TextControl::MeasureText() const {
  const std::string text = WindowText();
  return MeasureEditText(Native(), text.empty() ? std::string("W") : text, *style);
}

void TextControl::SetBounds(const Rect& rect) {
  if (SendMessageA(Native(), EM_GETPASSWORDCHAR, 0, 0) != 0)
    SendMessageA(Native(), EM_SETMARGINS, EC_LEFTMARGIN, MAKELONG(0, 0));
  const BOOL moved = MoveWindow(Native(), rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
  ClearBenignError({ERROR_INVALID_PARAMETER});
  CHECK_CALL(moved);
  if (IsLimitedWindows()) PostMessageA(Native(), EM_SCROLL, SB_LINEUP, 0);
}

bool TextControl::MouseDown(std::int32_t, std::int32_t, std::int32_t, std::int32_t, View*) {
  SetFocus(Native());
  return true;
}

bool TextControl::KeyDown(std::int32_t key, std::int32_t) {
  const WNDPROC native = subClasser->GetPrevious();
  if (key == 8 && gForwardDelete) {
    std::int32_t start = 0, end = 0;
    GetSelection(&start, &end);
    if (start == end) {
      // Delete takes the character after the caret: step over it, then take the one before. At the very
      // end there is none, and the step does not move: nothing is deleted.
      CallWindowProcA(native, Native(), WM_KEYDOWN, VK_RIGHT, 0);
      std::int32_t movedStart = 0, movedEnd = 0;
      GetSelection(&movedStart, &movedEnd);
      if (movedStart == start && movedEnd == end) return true;
    }
  }
  CallWindowProcA(native, Native(), WM_CHAR, static_cast<WPARAM>(key & 0xFF), 0);
  return true;
}

void TextControl::Clear() {
  std::int32_t start = 0, end = 0;
  GetSelection(&start, &end);
  const std::string text = WindowText();
  const auto length = static_cast<std::int32_t>(text.size());
  start = std::clamp(start, 0, length);
  end = std::clamp(end, start, length);
  const std::string kept = text.substr(0, static_cast<std::size_t>(start)) + text.substr(static_cast<std::size_t>(end));
  SetText(String(kept.c_str()));
  SetSelection(start, start);
}

void TextControl::Activate(bool active) {
  if (active) {
    SetFocus(Native());
    UpdateWindow(Native());
  } else if (GetCapture() == Native()) {
    ReleaseCapture();
  }
  ClearBenignError({ERROR_INVALID_PARAMETER});
}

#include "graphics/TextMeasure.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/Alert.h"
#include "core/Exception.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Edit.h"
#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/Window.h"
#include "graphics/SystemVersion.h"

namespace {

// The control's context with the style's font selected, given back however measuring ends.
class FontContext {
 public:
  FontContext(HWND window, HFONT font) : window(window), dc(CHECK_NOT_NULL(GetDC(window))) {
    if (font != nullptr) previous = SelectObject(dc, font);
  }
  ~FontContext() {
    if (previous != nullptr) SelectObject(dc, previous);
    ReleaseDC(window, dc);
  }
  FontContext(const FontContext&) = delete;
  FontContext& operator=(const FontContext&) = delete;
  HDC Get() const { return dc; }

 private:
  HWND window;
  HDC dc;
  HGDIOBJ previous = nullptr;
};

constexpr int kMeasuringControlId = 100;
constexpr int kUnlimitedWidth = 10000;
constexpr const char* kMeasuringHostClass = "QuilloryMeasuringHost";

// Measuring controls are children of the main window. Before there is one (or without one, as in the
// tests) they go into a hidden window of their own, made again whenever the window system has lost it.
HWND MeasuringParent() {
  if (IsWindow(gMainWindow)) return gMainWindow;
  static HWND host = nullptr;
  if (IsWindow(host)) return host;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.lpszClassName = kMeasuringHostClass;
  if (RegisterClassA(&windowClass) == 0 && GetLastError() == ERROR_CLASS_ALREADY_EXISTS) SetLastError(0);
  host = CHECK_NOT_NULL(CreateWindowExA(WS_EX_TOOLWINDOW, kMeasuringHostClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                        nullptr, nullptr, nullptr));
  return host;
}

// The hidden control goes however measuring ends.
class MeasuringControl {
 public:
  MeasuringControl(const char* text, int width)
      : window(CHECK_NOT_NULL(CreateWindowExA(
            0, "EDIT", text, DWORD{WS_CHILD} | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0, 0, width,
            kUnlimitedWidth, MeasuringParent(),
            reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(kMeasuringControlId)), nullptr, nullptr))) {}
  ~MeasuringControl() {
    if (window != nullptr) DestroyWindow(window);
  }
  MeasuringControl(const MeasuringControl&) = delete;
  MeasuringControl& operator=(const MeasuringControl&) = delete;
  HWND Get() const { return window; }
  // Destroys the control now, checked.
  void Destroy() {
    const HWND w = window;
    window = nullptr;
    CHECK_CALL(DestroyWindow(w));
  }

 private:
  HWND window;
};

}  // namespace

Point MeasureEditText(HWND control, std::string_view text, const PortTextStyle& style) {
  if (text.empty()) return Point(0, 0);
  FontContext context(control, style.GetFont());
  const auto lines = SendMessageA(control, EM_GETLINECOUNT, 0, 0);
  const bool limited = IsLimitedWindows();
  Point size(0, 0);
  std::string line;
  for (LRESULT i = 0; i < lines; ++i) {
    const auto start = SendMessageA(control, EM_LINEINDEX, static_cast<WPARAM>(i), 0);
    ClearBenignError({ERROR_INVALID_PARAMETER});
    CHECK_CALL(start != -1);
    const auto length = SendMessageA(control, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
    ClearBenignError({ERROR_INVALID_PARAMETER});
    // Only characters the text has: a control whose text differs from the one given measures no further.
    const auto from = std::min(static_cast<std::size_t>(start), text.size());
    line.assign(
        text.substr(from, std::min(static_cast<std::size_t>(std::max<LRESULT>(length, 0)), text.size() - from)));
    line += 'I';
    SIZE extent{};
    const int count = static_cast<int>(line.size());
    if (limited) {
      CHECK_CALL(GetTextExtentPointA(context.Get(), line.data(), count, &extent));
    } else {
      CHECK_CALL(GetTextExtentPoint32A(context.Get(), line.data(), count, &extent));
    }
    size.x = std::max<std::int32_t>(size.x, extent.cx);
    size.y += extent.cy;
  }
  return size;
}

Point MeasureWrappedText(const char* text, std::int32_t length, const PortTextStyle& style, std::int32_t width) {
  CHECK_CALL(length >= 0 && width >= 0 && (text != nullptr || length == 0));
  const bool unlimited = width == 0;
  const int boxWidth = unlimited ? kUnlimitedWidth : width;
  // The control takes the text up to a NUL, and is measured on what it took.
  const std::string copy(text != nullptr ? text : "", static_cast<std::size_t>(length));
  MeasuringControl control(copy.c_str(), boxWidth);
  SendMessageA(control.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(style.GetFont()), 0);
  const Point measured = MeasureEditText(control.Get(), copy.c_str(), style);
  control.Destroy();
  return Point(unlimited ? measured.x : width, measured.y);
}

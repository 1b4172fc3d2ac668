#include "ui/shell/Tool.h"

#include "core/Resources.h"
#include "ui/shell/Cursor.h"
#include "ui/views/View.h"

SMART_DEFINE_ABSTRACT(Tool, "Tool", SmartImplementation)

Tool::Tool() : cursor(gSystemCursors.GetCursor(StandardCursorIndex(0))) {}

Tool::~Tool() = default;

void Tool::SetInteractor(Interactor* newInteractor) { interactor = newInteractor; }

void Tool::SetCursor(Cursor* newCursor) { cursor = newCursor; }

Cursor* Tool::GetCursor() const { return ~cursor; }

SmartRef<Interactor> Tool::CreateInteractor(std::int32_t, std::int32_t, std::int32_t, View*) { return nullptr; }

void Tool::ApplyCursor(View*, std::int32_t, std::int32_t, std::int32_t) {
  if (cursor) cursor->Set();
}

void Tool::TrackGesture(View* window, std::int32_t x, std::int32_t y, std::int32_t modifiers, bool buttonDown) {
  // The interactor lives through its own Track, even when it ends the gesture itself; and one that hands
  // the gesture to another interactor leaves that one in place when it answers false.
  SmartRef<Interactor> tracked = interactor;
  if (!tracked->Track(window, x, y, modifiers, buttonDown) && interactor == tracked) interactor = nullptr;
}

bool Tool::MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) {
  ApplyCursor(window, x, y, modifiers);
  if (!interactor) {
    interactor = CreateInteractor(x, y, modifiers, window);
    if (!interactor) {
      if (window != nullptr) window->MouseDown(x, y, modifiers, clicks, window);
      return true;
    }
  }
  TrackGesture(window, x, y, modifiers, true);
  return true;
}

bool Tool::MouseMoved(std::int32_t x, std::int32_t y, std::int32_t modifiers, bool buttonDown, View* window) {
  ApplyCursor(window, x, y, modifiers);
  if (interactor)
    TrackGesture(window, x, y, modifiers, buttonDown);
  else if (window != nullptr)
    window->MouseMoved(x, y, modifiers);
  return true;
}

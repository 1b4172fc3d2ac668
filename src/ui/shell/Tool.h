// The application's current tool: it receives every mouse event of every window, and either feeds the
// gesture's interactor or passes the event to the window's view tree.
#pragma once

#include <cstdint>

#include "core/Smart.h"
#include "ui/shell/Task.h"

class Cursor;

class Tool : public SmartImplementation {
  SMART_ABSTRACT(Tool)
 public:
  // No gesture; the system's arrow cursor.
  Tool();
  ~Tool() override;
  Tool(const Tool&) = delete;
  Tool& operator=(const Tool&) = delete;

  // A press in the window. Without a gesture under way the tool may start one (CreateInteractor); when it
  // does not, the window's views get the press.
  virtual bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window);
  // A move or a release: to the gesture's interactor when there is one, else to the window's views.
  virtual bool MouseMoved(std::int32_t x, std::int32_t y, std::int32_t modifiers, bool buttonDown, View* window);
  // The interactor of a gesture that starts with this press; none here.
  virtual SmartRef<Interactor> CreateInteractor(std::int32_t x, std::int32_t y, std::int32_t modifiers, View* window);
  // Shows the tool's cursor; the place lets a tool choose its cursor by where the mouse is.
  virtual void ApplyCursor(View* window, std::int32_t x, std::int32_t y, std::int32_t modifiers);

  // Starts a gesture outside a click, or ends the current one with null.
  void SetInteractor(Interactor* interactor);
  SmartRef<Interactor> GetInteractor() const { return interactor; }
  void SetCursor(Cursor* cursor);
  Cursor* GetCursor() const;

 private:
  // Feeds the interactor one event, and lets it go when it answers that the gesture is over.
  void TrackGesture(View* window, std::int32_t x, std::int32_t y, std::int32_t modifiers, bool buttonDown);

  SmartRef<Interactor> interactor;
  SmartRef<Cursor> cursor;
};

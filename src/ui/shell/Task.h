// Undoable actions and mouse gestures. A Task is performed once with Do and kept on its window's undo list,
// which undoes and redoes it in turn. An Interactor takes every mouse event of one gesture from the tool
// that made it, until it answers that the gesture is over.
#pragma once

#include <cstdint>

#include "core/Smart.h"

class View;

class Task : public virtual Smart {
  SMART_ABSTRACT(Task)
 public:
  SMART_NOT_COPYABLE
  virtual void Do() = 0;
  virtual void Undo() = 0;
  virtual void Redo() = 0;
};

// Modifier bits of mouse events.
enum : std::int32_t { kModifierShift = 1, kModifierControl = 4 };

class Interactor : public SmartImplementation {
  SMART_ABSTRACT(Interactor)
 public:
  // One event of the gesture, in the coordinates of the window that had it. buttonDown is true on the
  // press and while a button is held, false for a move without a button and for the release. Answers
  // whether the gesture goes on.
  virtual bool Track(View* window, std::int32_t x, std::int32_t y, std::int32_t modifiers, bool buttonDown) = 0;
};

// The rubber-band selection of the editor.
class SelectRect : public Interactor {
  SMART_ABSTRACT(SelectRect)
};

// Native controls that keep the framework's keys and clicks: while a SubClasser is installed on a control,
// the characters typed into it go to the framework's key handling instead of the control (the framework's
// edit field hands them on to the native one itself), Ctrl shortcuts reach the menu commands, Delete
// arrives as a backspace with gForwardDelete set, and mouse-button downs reach the framework's mouse
// handling as clicks in the control's window before the control sees them.
#pragma once

#include "platform/user/Window.h"

// Set only while a Delete key is re-sent as a backspace: the edit field then removes the character after
// the caret instead of the one before it.
extern bool gForwardDelete;

class SubClasser {
 public:
  // Installs the framework's procedure on the control; the control's "subClasser" property points to this
  // record until Remove.
  explicit SubClasser(HWND control);
  SubClasser(const SubClasser&) = delete;
  SubClasser& operator=(const SubClasser&) = delete;

  // Gives the control its own procedure back. The owner calls it before the control is destroyed.
  void Remove();

  HWND GetWindow() const { return window; }
  WNDPROC GetPrevious() const { return previous; }

 private:
  HWND window;
  WNDPROC previous = nullptr;
};

// The procedure of every subclassed control.
LRESULT SubClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

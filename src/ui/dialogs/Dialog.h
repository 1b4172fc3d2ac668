// Dialogs: windows their creator runs modally. The creator builds and lays out the dialog, fits it to its
// content, places and opens it, then calls Poll until it answers false and reads WasCancelled. Enter and
// the OK button accept, Esc and the cancel button cancel, and a quit request ends the dialog as cancelled.
#pragma once

#include <cstdint>

#include "core/ListData.h"
#include "ui/shell/Signal.h"
#include "ui/views/Window.h"

class Dialog : public Window {
  SMART_ABSTRACT(Dialog)
 public:
  explicit Dialog(int frameKind);

  // Esc cancels, the keypad Enter (3) accepts, Tab goes to the next field; other keys go to the target
  // view first, and an Enter it leaves accepts.
  bool KeyDown(std::int32_t key, std::int32_t modifiers) override;
  // Marks the dialog closed, then closes the window.
  void Close() override;

  // Paints what is pending and handles the messages of at most half a second. Answers true while the
  // dialog is open; a quit request cancels it.
  virtual bool Poll();
  virtual void Cancel();
  virtual void Accept();
  // The window takes its content's size (the preferred one when asked) and a margin of 10 pixels.
  virtual void FitToContent(bool usePreferred);

  // Appends, in subview order, the dialog's own text views that are being edited and are visible.
  void CollectTextFields(List* fields) const;
  // The field after the target one becomes the target with all its text selected; the last field and a
  // target that is no field give the first.
  void FocusNextField();

  bool WasCancelled() const { return flags & kCancelled; }
  bool IsClosed() const { return flags & kClosed; }
  // Lets the same dialog object run again.
  void ResetFlags() { flags = 0; }

 private:
  enum : std::uint8_t { kClosed = 1, kCancelled = 2 };
  std::uint8_t flags = 0;
};

// A dialog with a part shown on demand: the window grows to hold it and shrinks back when it is hidden.
class RevealDialog : public Dialog {
  SMART_ABSTRACT(RevealDialog)
 public:
  explicit RevealDialog(int frameKind) : Dialog(frameKind) {}

  // Hides a visible part, giving the window back the size it had before; shows a hidden one, growing the
  // window to hold it.
  void ToggleReveal(View* part);

 private:
  void KeepInScreenArea();

  std::int32_t savedWidth = 0;
  std::int32_t savedHeight = 0;
};

// Class records of two dialog classes that are never made: kind tests against them always fail.
extern const ClassInfo gPickerClassInfo;
extern const ClassInfo gTypePickerClassInfo;

// The buttons' commands: enabled on a dialog only.
class DialogSignal : public GenericSignal {
 public:
  int GetSignalStatus(Smart* watcher) override;
};

class DialogCancelSignal : public DialogSignal {
 public:
  void Send(Smart* watcher) override;
};

class DialogOKSignal : public DialogSignal {
 public:
  void Send(Smart* watcher) override;
};

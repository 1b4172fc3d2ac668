// Controls: views that own one native control of their window (a push button, a check box, a scroll bar,
// an edit field). A control keeps the native control over its frame, reads and writes its value, and keeps
// that value in step with a model (a Controllable) for one of the model's commands.
//
// Native controls tell their window of a click; the window turns the notification into a mouse-down at
// the control (a button's at its bottom-right corner, a scroll bar's at its centre with the scroll code
// in the modifiers), which the tool passes down the view tree to the control.
#pragma once

#include <cstdint>

#include "platform/kernel/WinTypes.h"
#include "ui/controls/Controllable.h"
#include "ui/menus/Menu.h"
#include "ui/views/View.h"

class GenericSignal;
class String;
class WindowFrame;

// Kinds of control: the native class each one makes.
enum : std::int32_t {
  kControlPushButton = 0,
  kControlCheckBox = 1,
  kControlButton = 2,  // never made
  kControlScrollBar = 3,
  kControlPopUp = 4,  // draws a menu's choice itself, without a native window
  kControlEdit = 5,
  kControlOtherButton = 6,  // never made
};

// The native control of a Control.
struct OSControl {
  HWND window;
  std::int32_t kind;
  std::int32_t childId;
};

// Alignment bits (ES_LEFT 0, ES_CENTER 1, ES_RIGHT 2) that the next multi-line edit control made by a
// Control takes. Set by the text control just before it remakes its edit control; every Control's
// constructor sets it back to 0.
extern std::uint32_t gEditAlignmentStyle;

class Control : public View, public ControllableObserver {
  SMART_ABSTRACT(Control)
 public:
  // A view sharing its parent's window frame, over a new native control of that kind. The text is cut to
  // its first 31 characters. For an edit field, a command other than 0 makes a one-line password field;
  // for a scroll bar, command 1 makes it horizontal.
  Control(View* parent, const Rect& frame, std::uint8_t anchoring, std::int32_t kind, const String* text,
          Controllable* target, std::int32_t command);
  // The pop-up kind: the choice of the menu's items, drawn by the control itself. Its value is the index
  // of the item chosen, from 1 to the number of items.
  Control(View* parent, const Rect& frame, std::uint8_t anchoring, Menu* menu, Controllable* target,
          std::int32_t command);
  ~Control() override;

  // Destroys the native control there is (leaving the target's observers) and makes a new one, with the
  // next child identifier, in the window frame's native window.
  void CreateOSControl(std::int32_t kind, const String* text, WindowFrame* windowFrame);

  void Enable(bool enable);
  // Check box: 1 when checked; scroll bar: its position; pop-up: the menu's current choice; other kinds 0.
  std::int32_t GetValue() const;
  // Scroll bar: its range; pop-up: 1 and the number of the menu's entries; other kinds 0 and 1.
  void GetRange(std::int32_t* min, std::int32_t* max) const;
  // Sets the native value, then gives it to the target.
  void SetValue(std::int32_t value);
  // The value must lie in the range, and the native control must exist.
  void Validate() override;

  std::int32_t GetCommand() const { return command; }
  SmartRef<Menu> GetMenu() const { return menu; }
  SmartRef<Controllable> GetTarget() const { return target; }
  const OSControl* GetOSControl() const { return osControl; }
  std::int32_t GetKind() const { return osControl ? osControl->kind : -1; }
  // Style 1 makes the native push button the default one (drawn with a heavier border).
  void SetButtonStyle(std::uint8_t style);
  std::uint8_t GetButtonStyle() const { return buttonStyle; }

  // The native control repaints at once.
  void DrawContent(DisplayPort& port, const Area& area) override;
  // A notification of the native control, or a click beside it (see the kinds in the source).
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override;
  // The native control follows the frame.
  void ResizeBy(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom) override;
  // A control that becomes active shows its model's value.
  void Activate(bool active) override;

  // A click on the control: a pop-up control performs its chosen item as if chosen from the menu bar;
  // other kinds do nothing here.
  virtual void Clicked(std::int32_t code);
  // The target takes the control's value.
  virtual void PushValueToTarget();
  virtual void SetRange(std::int32_t min, std::int32_t max);

  void RangeChanged(const Range* range) override;
  // The range comes again from the target (not the value).
  void TargetChanged(void* unused) override;

 private:
  void DestroyOSControl();
  HWND Native() const;

  OSControl* osControl = nullptr;
  void DrawPopUp(DisplayPort& port);

  std::int32_t command;
  SmartRef<Controllable> target;
  SmartRef<Menu> menu;
  std::uint8_t buttonStyle = 0;
};

class CheckBox : public Control {
  SMART_ABSTRACT(CheckBox)
 public:
  CheckBox(View* parent, const Rect& frame, std::uint8_t anchoring, const String* text, Controllable* target,
           std::int32_t command)
      : Control(parent, frame, anchoring, kControlCheckBox, text, target, command) {}
};

// The push button of the framework's dialogs: a click sends its signal to its watcher, unless the signal
// is disabled for it.
class PushButton : public Control {
 public:
  PushButton(View* parent, const Rect& frame, const String* text, GenericSignal* signal, Smart* watcher);
  ~PushButton() override;

  void Clicked(std::int32_t code) override;
  void SetStyle(std::uint8_t style) { SetButtonStyle(style); }

 private:
  SmartRef<GenericSignal> signal;
  Smart* watcher;
};

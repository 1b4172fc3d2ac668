// The edit field of a text view being edited: a Control over a multi-line (or password) native edit
// control, subclassed so that its keys and clicks reach the framework first. It keeps the control's text
// in step with a String, shows the text in the font and colours of a TextStyle, measures the height its
// lines need, and remakes the native control when the alignment changes (an edit control's alignment is
// fixed when it is made).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ui/controls/Control.h"
#include "ui/text/TextStyle.h"

class SubClasser;

class TextControl : public Control {
 public:
  // Anchored to every edge of its parent; black 12-point text of the default face on white.
  TextControl(View* parent, const Rect& frame, const String& text, Controllable* target, bool password);
  ~TextControl() override;

  void SetText(const String& text);
  // The String takes the control's text (its observers are told).
  void GetText(String& text) const;
  // 0-based, end exclusive.
  void GetSelection(std::int32_t* start, std::int32_t* end) const;
  // Posted: the selection changes when the message loop delivers it, after the current event.
  void SetSelection(std::int32_t start, std::int32_t end);
  // Takes the style (the object itself, not a copy): its font, its colours and its alignment, remaking
  // the native control for a new alignment with the text, the selection and the focus kept. Fitting
  // makes the control as tall as its text at its width.
  void SetStyle(SmartRef<TextStyle> style, bool fit);
  SmartRef<TextStyle> GetStyle() const { return style; }
  // The size the text needs (an empty text: one line's).
  Point MeasureText() const;

  // Moves only the native control; the view's frame stays.
  using View::SetBounds;
  void SetBounds(const Rect& rect) override;
  // The click itself reaches the native control through the subclassing: this gives it the focus.
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override;
  // Types the character into the native control (Delete arrives as a backspace while the subclassing
  // forwards it, and removes the character after the caret).
  bool KeyDown(std::int32_t key, std::int32_t modifiers) override;
  // Removes the selected characters; the caret stands where the selection began.
  void Clear() override;
  void Activate(bool active) override;

 private:
  HWND Native() const { return GetOSControl()->window; }
  std::string WindowText() const;
  // Where the native field stands now, in its window's coordinates.
  Rect NativeRect() const;
  bool AlignmentNeedsNewControl() const;
  void RemakeForAlignment();

  SmartRef<TextStyle> style;
  std::unique_ptr<SubClasser> subClasser;
};

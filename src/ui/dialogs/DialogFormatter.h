// Lays a dialog out in code, line by line from a start point: labels, text fields, labelled fields and
// rows of push buttons. The formatter remembers only the rectangle it placed last; each new element goes
// to its right on the same line or to the start of a new line below it. Buttons do not move that
// rectangle, so every button shares the row below the last field, at fractions of the default width
// measured from the dialog's left edge: they are added last.
#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "core/Smart.h"

class Dialog;
class GenericSignal;
class PushButton;
class String;
class TextView;

// The kinds of standard button.
enum : int { kButtonOK = 0, kButtonCancel = 1 };

class DialogFormatter : public SmartImplementation {
  SMART_ABSTRACT(DialogFormatter)
 public:
  // The dialog outlives the formatter. Options are kept and read by nothing.
  DialogFormatter(Dialog* dialog, std::int32_t defaultWidth, std::uint8_t options, std::int32_t spacingX,
                  std::int32_t spacingY, std::int32_t startX, std::int32_t startY);
  SMART_NOT_COPYABLE

  // A bold label on a new line, 21 high, left-aligned or centred in its width (0: the default width).
  virtual SmartRef<TextView> AddLabel(const String& text, bool centred, std::int32_t width);
  // A text view over the String (a new empty one for null), which it edits when editable; several lines
  // make it a multi-line field. A width of 0 is the default width.
  virtual SmartRef<TextView> AddTextField(String* text, bool editable, std::int32_t lines, bool sameLine,
                                          std::int32_t width);
  // A plain label, then the field after it or below it. Widths of 0 and a field same-line flag of -1 take
  // the field defaults. Answers the field.
  virtual SmartRef<TextView> AddLabeledField(String* label, std::int32_t lines, String* text, bool labelSameLine,
                                             std::int32_t fieldSameLine, std::int32_t labelWidth,
                                             std::int32_t fieldWidth);
  // The defaults of labelled fields; a same-line flag of -1 keeps the current one.
  virtual void SetFieldDefaults(std::int32_t labelWidth, std::int32_t fieldWidth, std::int32_t fieldSameLine,
                                bool fieldEditable);
  // A cancel button at the cancel position, then the default OK button at the OK position; null or empty
  // texts give "OK" and "Annuler". Answers the OK button.
  virtual SmartRef<PushButton> AddButtonRow(const String* okText, const String* cancelText, double okPosition,
                                            double cancelPosition);
  // A standard button whose command ends the dialog; another kind is reported as not implemented and gets
  // a button that does nothing.
  virtual SmartRef<PushButton> AddButton(int kind, double position, const String* text);
  // An 80 x 22 button centred on the position times the default width, on the line below the last
  // element placed.
  virtual SmartRef<PushButton> AddPushButton(const String* text, GenericSignal* signal, Smart* watcher,
                                             double position);
  // The next element's rectangle, which becomes the last one placed.
  virtual Rect PlaceRect(std::int32_t width, std::int32_t height, bool sameLine);
  virtual Point NextPosition(bool sameLine);
  virtual void OffsetLast(std::int32_t dx, std::int32_t dy);
  // From the start point to the last element's bottom-right corner (not the union of all elements).
  virtual Rect GetBounds();
  // A field's size: 20 pixels a line, except that one line is 21 high.
  virtual Point TextSize(std::int32_t width, std::int32_t lines);

  std::uint8_t GetOptions() const { return options; }
  Rect GetLastRect() const { return lastRect; }
  std::int32_t GetLabelWidth() const { return labelWidth; }
  std::int32_t GetFieldWidth() const { return fieldWidth; }
  std::int16_t GetFieldSameLine() const { return fieldSameLine; }
  bool IsFieldEditable() const { return fieldEditable; }

 private:
  Dialog* dialog;
  std::uint8_t options;
  std::int32_t startX;
  std::int32_t startY;
  std::int32_t spacingX;
  std::int32_t spacingY;
  std::int32_t defaultWidth;
  std::int32_t labelWidth;
  std::int32_t fieldWidth;
  std::int16_t fieldSameLine = 0;
  std::uint8_t fieldEditable = 1;
  Rect lastRect = Rect::emptyRect;
};

#include "ui/DialogFormatter.h"

#include "core/Exception.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "ui/Control.h"
#include "ui/Dialog.h"

SMART_DEFINE_ABSTRACT(DialogFormatter, "DialogFormatter", SmartImplementation)

namespace {
constexpr std::int32_t kButtonWidth = 80;
constexpr std::int32_t kButtonHeight = 22;

bool IsEmpty(const String* text) { return text == nullptr || text->Length() == 0; }
}  // namespace

DialogFormatter::DialogFormatter(Dialog* dialog, std::int32_t defaultWidth, std::uint8_t options,
                                 std::int32_t spacingX, std::int32_t spacingY, std::int32_t startX,
                                 std::int32_t startY)
    : dialog(dialog), options(options), startX(startX), startY(startY), spacingX(spacingX), spacingY(spacingY),
      defaultWidth(defaultWidth), labelWidth(defaultWidth), fieldWidth(defaultWidth) {}

void DialogFormatter::SetFieldDefaults(std::int32_t newLabelWidth, std::int32_t newFieldWidth,
                                       std::int32_t sameLine, bool editable) {
  labelWidth = newLabelWidth;
  fieldWidth = newFieldWidth;
  if (sameLine != -1) fieldSameLine = static_cast<std::int16_t>(sameLine);
  fieldEditable = editable;
}

SmartRef<PushButton> DialogFormatter::AddButtonRow(const String* okText, const String* cancelText,
                                                   double okPosition, double cancelPosition) {
  AddButton(kButtonCancel, cancelPosition, cancelText);
  return AddButton(kButtonOK, okPosition, okText);
}

SmartRef<PushButton> DialogFormatter::AddButton(int kind, double position, const String* text) {
  String standard;
  SmartRef<GenericSignal> signal;
  switch (kind) {
    case kButtonOK:
      standard = String("OK"_cp);
      signal = new DialogOKSignal;
      break;
    case kButtonCancel:
      standard = String("Annuler"_cp);
      signal = new DialogCancelSignal;
      break;
    default:
      NOT_IMPLEMENTED();
      break;
  }
  SmartRef<PushButton> button = AddPushButton(IsEmpty(text) ? &standard : text, ~signal, dialog, position);
  if (kind == kButtonOK) button->SetStyle(1);
  return button;
}

SmartRef<PushButton> DialogFormatter::AddPushButton(const String* text, GenericSignal* signal, Smart* watcher,
                                                    double position) {
  const auto centre = static_cast<std::int32_t>(defaultWidth * position + 0.5);
  const std::int32_t y = NextPosition(false).y;
  SmartRef<PushButton> button(new PushButton(
      dialog, Rect::FromSizeAndOrigin(Point(kButtonWidth, kButtonHeight), Point(centre - kButtonWidth / 2, y)),
      text, signal, watcher));
  dialog->AddSubview(~button);
  return button;
}

Rect DialogFormatter::PlaceRect(std::int32_t width, std::int32_t height, bool sameLine) {
  lastRect = Rect::FromSizeAndOrigin(Point(width, height), NextPosition(sameLine));
  return lastRect;
}

Point DialogFormatter::NextPosition(bool sameLine) {
  if (lastRect == Rect::emptyRect) return Point(startX, startY);
  if (sameLine) return Point(lastRect.right + spacingX, lastRect.top);
  return Point(startX, lastRect.bottom + spacingY);
}

void DialogFormatter::OffsetLast(std::int32_t dx, std::int32_t dy) { lastRect.Offset(dx, dy); }

Rect DialogFormatter::GetBounds() { return Rect(startX, startY, lastRect.right, lastRect.bottom); }

Point DialogFormatter::TextSize(std::int32_t width, std::int32_t lines) {
  return Point(width, lines == 1 ? 21 : 20 * lines);
}

#include "ui/dialogs/DialogFormatter.h"

#include "core/Exception.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "graphics/Color.h"
#include "ui/controls/Control.h"
#include "ui/dialogs/Dialog.h"
#include "ui/text/StyledText.h"
#include "ui/text/TextStyle.h"
#include "ui/text/TextView.h"

namespace {
constexpr SourceName kSource("DialogFormatter");
}  // namespace

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

SmartRef<TextView> DialogFormatter::AddLabel(const String& text, bool centred, std::int32_t width) {
  SmartRef<TextStyle> style(new TextStyle(1, 12, kAlignLeft, standardColors[1], standardColors[13]));
  style->AddStyle(kBoldStyle);
  if (centred) style->SetAlignment(kAlignCenter);
  SmartRef<StyledText> label(new StyledText(text, SmartRef<Smart>(~style)));
  return AddTextField(~label, false, 1, false, width);
}

SmartRef<TextView> DialogFormatter::AddTextField(String* text, bool editable, std::int32_t lines, bool sameLine,
                                                 std::int32_t width) {
  SmartRef<String> edited(text != nullptr ? text : new String);
  const Point size = TextSize(width != 0 ? width : defaultWidth, lines);
  const Rect frame = PlaceRect(size.x, size.y, sameLine);
  SmartRef<TextView> field(new TextView(dialog, frame, ~edited, kAnchorTopLeft, editable, false, lines > 1, false));
  dialog->AddSubview(~field);
  return field;
}

SmartRef<TextView> DialogFormatter::AddLabeledField(String* label, std::int32_t lines, String* text,
                                                    bool labelSameLine, std::int32_t sameLine,
                                                    std::int32_t ownLabelWidth, std::int32_t ownFieldWidth) {
  AddTextField(label, false, 1, labelSameLine, ownLabelWidth != 0 ? ownLabelWidth : labelWidth);
  return AddTextField(text, fieldEditable, lines, sameLine == -1 ? fieldSameLine != 0 : sameLine != 0,
                      ownFieldWidth != 0 ? ownFieldWidth : fieldWidth);
}

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
      ReportError("Not implemented.", kSource.Line(156));
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

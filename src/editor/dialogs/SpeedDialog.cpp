#include "editor/dialogs/SpeedDialog.h"

#include <algorithm>

#include "core/Exception.h"
#include "engine/page/CShow.h"
#include "graphics/Area.h"
#include "graphics/DisplayPort.h"
#include "ui/controls/Control.h"
#include "ui/controls/ScrollBar.h"
#include "ui/views/Window.h"

SMART_DEFINE_ABSTRACT(SpeedControl, "SpeedControl", Controllable, SmartImplementation)

SpeedControl::SpeedControl(CShow* show, std::int16_t minimum, std::int16_t maximum)
    : show(CHECK_NOT_NULL(show)), minimum(minimum), maximum(maximum) {}

void SpeedControl::GetRange(std::int32_t, std::int32_t* min, std::int32_t* max) {
  *min = minimum;
  *max = maximum;
}

void SpeedControl::SetValue(std::int32_t, std::int32_t value) {
  const auto rate = static_cast<std::int16_t>(std::clamp<std::int32_t>(value, minimum, maximum));
  show->SetFrameRate(rate);
  listeners.NotifyAll([rate](SpeedListener* listener) { listener->SpeedChanged(rate); });
}

std::int32_t SpeedControl::GetValue(std::int32_t) { return show->GetFrameRate(); }

const Rect SpeedDialog::kDialogFrame(100, 100, 500, 200);
const Rect SpeedDialog::kValueRect(100, 10, 150, 35);
const Rect SpeedDialog::kSliderRect(20, 40, 380, 56);
const Rect SpeedDialog::kButtonRect(300, 70, 380, 95);

SpeedDialog::SpeedDialog() : Dialog(1) {}

SmartRef<SpeedDialog> SpeedDialog::Run(CShow* show, std::int16_t minimum, std::int16_t maximum) {
  SmartRef<SpeedDialog> dialog(new SpeedDialog());
  dialog->SetGlobalBounds(kDialogFrame);
  dialog->speed = new SpeedControl(show, minimum, maximum);
  dialog->speed->ToggleListener(~dialog);
  dialog->speedText = String(static_cast<int>(dialog->speed->GetValue(0)));
  const String ok("OK");
  SmartRef<PushButton> button(new PushButton(~dialog, kButtonRect, &ok, new WindowCommand(), ~dialog));
  button->SetStyle(1);
  dialog->AddSubview(~button);
  SmartRef<ScrollBar> slider(new ScrollBar(~dialog, kSliderRect, ~dialog->speed, true));
  dialog->AddSubview(~slider);
  dialog->Open(true);
  return dialog;
}

SpeedDialog::~SpeedDialog() {
  if (speed) speed->ToggleListener(this);
}

void SpeedDialog::DrawContent(DisplayPort& port, const Area& area) {
  Dialog::DrawContent(port, area);
  const std::string text = TextOf(speedText);
  port.DrawTextBox(text.c_str(), static_cast<std::int32_t>(text.size()), kValueRect, standardColors[1]);
}

void SpeedDialog::SpeedChanged(std::int32_t value) {
  speedText = String(static_cast<int>(value));
  if (IsActive()) InvalidateArea(Area(kValueRect), Area::emptyArea());
}

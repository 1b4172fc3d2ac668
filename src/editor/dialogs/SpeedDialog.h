// The speed dialog: a number, a slider and "OK", to set how many frames a second a page plays. Every
// slider movement is stored in the page at once; "OK" only closes the window.
#pragma once

#include <cstdint>

#include "core/PointerArray.h"
#include "core/String.h"
#include "ui/controls/Controllable.h"
#include "ui/dialogs/Dialog.h"

class CShow;

// Told after the speed changed.
class SpeedListener {
 public:
  virtual void SpeedChanged(std::int32_t value) = 0;

 protected:
  ~SpeedListener() = default;
};

// The page's frame rate as the value of a control.
class SpeedControl : public Controllable, public SmartImplementation {
  SMART_ABSTRACT(SpeedControl)
 public:
  static constexpr std::int32_t kPageSize = 5;

  SpeedControl(CShow* show, std::int16_t minimum, std::int16_t maximum);
  SMART_NOT_COPYABLE

  void GetRange(std::int32_t command, std::int32_t* min, std::int32_t* max) override;
  std::int32_t GetPageSize(std::int32_t) override { return kPageSize; }
  // Kept within the range: a slider or a caller asking for more gets the nearest end.
  void SetValue(std::int32_t command, std::int32_t value) override;
  std::int32_t GetValue(std::int32_t command) override;

  void ToggleListener(SpeedListener* listener) { listeners.Toggle(listener); }

 private:
  SmartRef<CShow> show;
  std::int16_t minimum;
  std::int16_t maximum;
  PointerArray<SpeedListener> listeners;
};

class SpeedDialog : public Dialog, private SpeedListener {
 public:
  static const Rect kDialogFrame;
  static const Rect kValueRect;
  static const Rect kSliderRect;
  static const Rect kButtonRect;

  // Opens the dialog for the page and returns at once; the window list keeps it until "OK".
  static SmartRef<SpeedDialog> Run(CShow* show, std::int16_t minimum, std::int16_t maximum);
  ~SpeedDialog() override;

  void DrawContent(DisplayPort& port, const Area& area) override;
  SpeedControl* GetControl() const { return ~speed; }
  const String& GetSpeedText() const { return speedText; }

 private:
  SpeedDialog();
  void SpeedChanged(std::int32_t value) override;

  String speedText;
  SmartRef<SpeedControl> speed;
};

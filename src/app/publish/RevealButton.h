// The small triangle beside a dialog's choice that shows or hides the dialog's advanced part: pointing
// right while the part is hidden, down while it shows.
#pragma once

#include "graphics/Image.h"
#include "ui/controls/GraphicButton.h"

class DisclosureTriangle : public GenericGraphic {
 public:
  enum class Direction { kRight, kDown };
  // 12 x 12 bounds suit the reveal button.
  DisclosureTriangle(const Rect& bounds, Direction direction);
  void Draw(DisplayPort& port) override;

 private:
  Direction direction;
};

// A toggle that may be switched off again; each click sends its command.
class RevealButton : public ToggleButton {
 public:
  RevealButton(View* parent, const Rect& frame, GenericSignal* signal, Smart* watcher);
};

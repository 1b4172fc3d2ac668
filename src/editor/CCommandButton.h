// The editor's picture push button: pictures of the editor's set for its off, pressed and unavailable
// looks, a command sent when the child releases the mouse over it, and a click sound played just before.
#pragma once

#include <cstdint>

#include "ui/controls/GraphicButton.h"

class ImageResource;
class SoundResource;

class CCommandButton : public GraphicPushButton {
  SMART_ABSTRACT(CCommandButton)
 public:
  // All three pictures are required. The frame keeps its top-left corner and takes the normal picture's
  // size. Without a signal a click goes to the view's own MouseDown; the sound may be null.
  CCommandButton(View* parent, const Rect& frame, GenericSignal* signal, ImageResource* normal,
                 ImageResource* pressed, ImageResource* third, SoundResource* clickSound);
  ~CCommandButton() override;

  // Nothing while pressed or unavailable; otherwise follows the mouse until it comes up, and over the
  // button plays the sound and sends the command.
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override;

 private:
  SmartRef<SoundResource> clickSound;
};

// Picture buttons drawn by the framework: a GraphicButton shows a graphic in its frame and sends its
// signal when pressed; a ToggleButton has an off, an on and an unavailable look; a GraphicPushButton looks
// pressed while the mouse button is held over it and sends its signal when released there.
#pragma once

#include <cstdint>

#include "graphics/Image.h"
#include "ui/views/View.h"

class GenericSignal;

class GraphicButton : public View {
  SMART_ABSTRACT(GraphicButton)
 public:
  // The watcher (not counted) receives the signal; without one the signal goes to the window's owners.
  GraphicButton(View* parent, const Rect& frame, Graphic* graphic, GenericSignal* signal, Smart* watcher);
  ~GraphicButton() override;

  SmartRef<Graphic> GetGraphic() const { return graphic; }

  void DrawContent(DisplayPort& port, const Area& area) override;
  // With a signal the press sends it; without, the press goes on to the subviews.
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override;
  // At its own size from the frame's top-left when it is as large as the frame in either direction (what
  // goes past the frame is clipped); otherwise scaled up into the frame keeping its proportions.
  virtual void DrawGraphic(DisplayPort& port, Graphic* graphic);

 private:
  SmartRef<Graphic> graphic;
  SmartRef<GenericSignal> signal;
  Smart* watcher;
};

// States of a ToggleButton.
enum : std::int32_t { kToggleOff = 0, kToggleOn = 1, kToggleUnavailable = 2 };

class ToggleButton : public GraphicButton {
  SMART_ABSTRACT(ToggleButton)
 public:
  // Off; a click turns it on (and sends the signal) but not off again until SetCanTurnOff.
  ToggleButton(View* parent, const Rect& frame, Graphic* graphic, GenericSignal* signal, Smart* watcher,
               Graphic* onGraphic, Graphic* thirdGraphic);
  ~ToggleButton() override;

  std::int32_t GetState() const { return state; }
  void SetState(std::int32_t newState);
  void SetCanTurnOff(bool canTurnOff) { this->canTurnOff = canTurnOff; }

  // Without a picture of its own, the on look is the graphic inverted and the unavailable look the
  // graphic shaded.
  void DrawContent(DisplayPort& port, const Area& area) override;
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override;

 private:
  SmartRef<Graphic> onGraphic;
  SmartRef<Graphic> thirdGraphic;
  std::int32_t state = kToggleOff;
  bool canTurnOff = false;
};

// Always buffered. It follows the mouse itself until the button comes up, and is off again afterwards.
class GraphicPushButton : public ToggleButton {
  SMART_ABSTRACT(GraphicPushButton)
 public:
  GraphicPushButton(View* parent, const Rect& frame, Graphic* graphic, GenericSignal* signal, Smart* watcher,
                    Graphic* pressedGraphic, Graphic* thirdGraphic);
  ~GraphicPushButton() override;

  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override;

 protected:
  // Shows the button pressed while the pointer is over it, until the mouse button comes up; answers
  // whether it came up over the button.
  bool TrackPress();
  // The signal goes out for a release over the button; the button is off again afterwards.
  bool Fire(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window);
};

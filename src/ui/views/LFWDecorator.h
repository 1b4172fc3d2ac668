// Where framework windows go inside the main window: one placement area, in which a window is centred,
// put against an edge or stretched, in each direction on its own, and the point where cascaded windows
// put their top-left corner.
#pragma once

#include "core/Geometry.h"
#include "core/Smart.h"

class Window;

class LFWDecorator : public SmartImplementation {
  SMART_CLASS(LFWDecorator)
 public:
  // Vertical and horizontal modes of AlignRect and Place.
  enum : int { kCentre = 0, kTopOrLeft = 1, kBottomOrRight = 2, kFill = 3 };

  // The one decorator, made at the first call over the main window's client area inset by 2.
  static LFWDecorator& Get();
  static int CaptionHeight();
  static int SmallCaptionHeight();

  LFWDecorator() = default;
  const Rect& GetArea() const { return area; }
  void SetArea(int left, int top, int right, int bottom);
  // Cascaded windows go to the area's top-left, below a caption.
  void ResetCascade();
  Point GetCascadePoint() const { return cascadePoint; }
  // Vertical mode 1 leaves room above the client area for a caption, small or normal.
  void AlignRect(Rect& rect, int verticalMode, int horizontalMode, bool smallCaption) const;
  // The window's size aligned in the area.
  void Place(Window& window, int verticalMode, int horizontalMode);
  // The window's top-left at the cascade point.
  void Cascade(Window& window);
  void SetWindowBounds(Window& window, int left, int top, int right, int bottom, int unused);

 private:
  Rect area;
  Point cascadePoint;
};

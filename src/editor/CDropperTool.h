// The paint state: the one colour dropper (tool id 110) holds the current colours and pattern for every
// tool, palette and indicator, makes the paints the tools paint with, opens the choosers, and tells its
// listeners of every change.
#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "core/PointerArray.h"
#include "editor/CTool.h"
#include "editor/PaintState.h"
#include "graphics/Color.h"
#include "ui/controls/ColorView.h"

class Paint;

// The current paints. The pattern is the one the pattern chooser sets for the whole program.
extern Color gPaintForeground;
extern Color gPaintSecondColor;
extern Color gPaintBackground;
inline Pattern& gPaintPattern = gChosenPattern;

// Their starting values: colours 14, 15 and 0, stock pattern 1. Once, by the application.
void InitPaintColors();
bool PaintColorsInitialised();

class CDropperTool : public CTool, public PaintState {
 public:
  CDropperTool();
  SMART_NOT_COPYABLE

  // The foreground becomes colour n - 1 of the engine application's palette, when it has one; every
  // change is told.
  void SetChoice(std::int16_t kind, std::int16_t n) override;
  std::int16_t GetChoice(std::int16_t) override { return choice; }
  std::int16_t CountChoices(std::int16_t) override { return 32; }
  void DrawSample(DisplayPort& port, const Rect& rect) override;

  // A new paint of the current values: the pattern in the foreground over the second colour, or the
  // plain foreground.
  SmartRef<Paint> MakePaint(bool withPattern) const;
  // Adds the listener to the indicators (true) or the others, or removes it when it is there.
  void ToggleListener(PaintStateListener* listener, bool indicator);
  bool HasListener(PaintStateListener* listener, bool indicator) const;
  // Indicators first, then the others.
  void NotifyListeners() override;

  // The choosers, at a point of the main window's client area; the gesture that opened one goes on in it.
  void ChooseForeground(const Point& at);
  void ChooseSecondColor(const Point& at);
  void ChoosePattern(const Point& at);
  void PickColor(std::int32_t x, std::int32_t y);

 private:
  std::int16_t choice = 0;
  PointerArray<PaintStateListener> general;
  PointerArray<PaintStateListener> indicators;
};

// Made by the tools window; outlives it.
extern SmartRef<CDropperTool> gPaintState;

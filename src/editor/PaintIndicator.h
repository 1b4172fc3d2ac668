// The colour and pattern indicator: the foreground colour in a swatch nested in the second colour's, under
// a box labelled " Motif "; a click opens the chooser of what was clicked.
#pragma once

#include "core/Geometry.h"
#include "editor/PaintState.h"
#include "ui/views/View.h"

class PaintIndicator : public View, public PaintStateListener {
 public:
  static constexpr std::int32_t kSize = 74;

  // 74 x 74 at the parent's origin; it follows the paint state (gPaintState) from now on.
  explicit PaintIndicator(View* parent);
  ~PaintIndicator() override;

  void ResizeBy(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom) override;
  void DrawContent(DisplayPort& port, const Area& area) override;
  // Always handled, also between the boxes.
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override;
  // Redrawn at once.
  void PaintStateChanged() override;

  Rect GetPatternBox() const { return patternBox; }
  Rect GetForegroundSwatch() const { return foregroundSwatch; }
  Rect GetSecondSwatch() const { return secondSwatch; }

 private:
  void ComputeBoxes();
  void DrawLabel(DisplayPort& port);

  Rect patternBox;
  Rect foregroundSwatch;
  Rect secondSwatch;
};

// How a shape is filled or outlined: a solid colour or an 8x8 pattern in two colours. The transparent
// colour selects the null brush or pen, so a paint of it draws nothing; `noPaint` is that paint.
#pragma once

#include "core/Smart.h"
#include "graphics/Color.h"
#include "platform/kernel/WinTypes.h"

// One brush selection and one pen selection are open at a time: each drawing operation selects, draws and
// restores, and the brush and pen they displaced wait in one process-wide slot each.
class Paint : public SmartImplementation {
 public:
  virtual bool SelectBrush(HDC dc) = 0;
  virtual bool SelectPen(HDC dc, int width) = 0;
  virtual void RestoreBrush(HDC dc) = 0;
  virtual void RestorePen(HDC dc) = 0;
};

class ColorPaint : public Paint {
 public:
  explicit ColorPaint(const Color& color) : color(color) {}
  bool SelectBrush(HDC dc) override;
  bool SelectPen(HDC dc, int width) override;
  void RestoreBrush(HDC dc) override;
  void RestorePen(HDC dc) override;
  const Color& GetColor() const { return color; }

 private:
  Color color;
};

// Set bits of the pattern take the foreground, clear bits the background; a transparent background
// leaves the destination showing through the clear bits.
class PatternPaint : public Paint {
 public:
  PatternPaint(const Color& foreground, const Color& background, const Pattern& pattern)
      : foreground(foreground), background(background), pattern(pattern) {}
  bool SelectBrush(HDC dc) override;
  bool SelectPen(HDC dc, int width) override;
  void RestoreBrush(HDC dc) override;
  void RestorePen(HDC dc) override;

 private:
  Color foreground;
  Color background;
  Pattern pattern;
};

class UnimplementedPaint : public Paint {
 public:
  bool SelectBrush(HDC dc) override;
  bool SelectPen(HDC, int) override { return false; }
  void RestoreBrush(HDC) override {}
  void RestorePen(HDC) override {}
};

class BrushSelection {
 public:
  BrushSelection(Paint& paint, HDC dc);
  virtual ~BrushSelection();
  BrushSelection(const BrushSelection&) = delete;
  BrushSelection& operator=(const BrushSelection&) = delete;

 private:
  HDC dc;
  Paint& paint;
  bool selected;
};

class PenSelection {
 public:
  PenSelection(Paint& paint, HDC dc, int width);
  virtual ~PenSelection();
  PenSelection(const PenSelection&) = delete;
  PenSelection& operator=(const PenSelection&) = delete;

 private:
  HDC dc;
  Paint& paint;
  bool selected;
};

// The paint of the transparent colour: what callers pass for no outline or no fill.
extern Paint* noPaint;

// Copy mode, white background colour and black text colour, set only where the DC differs.
void ResetDCState(HDC dc);
// ResetDCState, then the background colour of the device.
void ResetDC(HDC dc, const Color& background);

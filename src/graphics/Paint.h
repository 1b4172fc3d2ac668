// How a shape is filled or outlined: a solid colour or an 8x8 pattern in two colours. The transparent
// colour selects the null brush or pen, so a paint of it draws nothing; `noPaint` is that paint.
#pragma once

#include "core/Smart.h"
#include "graphics/Color.h"
#include "platform/kernel/WinTypes.h"

// A paint selects a brush or a pen it makes into a DC and answers the object it displaced, which the
// matching restore selects back before deleting what the paint made. The selection scopes below keep the
// displaced object, so that selections on several DCs, or nested on one, each restore their own.
class Paint : public SmartImplementation {
 public:
  virtual bool SelectBrush(HDC dc, HGDIOBJ* displaced) = 0;
  virtual bool SelectPen(HDC dc, int width, HGDIOBJ* displaced) = 0;
  virtual void RestoreBrush(HDC dc, HGDIOBJ displaced) = 0;
  virtual void RestorePen(HDC dc, HGDIOBJ displaced) = 0;
};

class ColorPaint : public Paint {
 public:
  explicit ColorPaint(const Color& color) : color(color) {}
  bool SelectBrush(HDC dc, HGDIOBJ* displaced) override;
  bool SelectPen(HDC dc, int width, HGDIOBJ* displaced) override;
  void RestoreBrush(HDC dc, HGDIOBJ displaced) override;
  void RestorePen(HDC dc, HGDIOBJ displaced) override;
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
  bool SelectBrush(HDC dc, HGDIOBJ* displaced) override;
  bool SelectPen(HDC dc, int width, HGDIOBJ* displaced) override;
  void RestoreBrush(HDC dc, HGDIOBJ displaced) override;
  void RestorePen(HDC dc, HGDIOBJ displaced) override;

 private:
  Color foreground;
  Color background;
  Pattern pattern;
};

class UnimplementedPaint : public Paint {
 public:
  bool SelectBrush(HDC dc, HGDIOBJ* displaced) override;
  bool SelectPen(HDC, int, HGDIOBJ*) override { return false; }
  void RestoreBrush(HDC, HGDIOBJ) override {}
  void RestorePen(HDC, HGDIOBJ) override {}
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
  HGDIOBJ displaced = nullptr;
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
  HGDIOBJ displaced = nullptr;
};

// The paint of the transparent colour: what callers pass for no outline or no fill.
extern Paint* noPaint;

// Copy mode, white background colour and black text colour, set only where the DC differs.
void ResetDCState(HDC dc);
// ResetDCState, then the background colour of the device.
void ResetDC(HDC dc, const Color& background);

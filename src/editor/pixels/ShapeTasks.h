// Rectangles, rounded rectangles and ellipses (thin outline, thick outline or filled, free or square),
// straight lines in six widths snapped while constrained, and the task that shows the shape as a rubber band
// during the drag and paints it into the picture at the release.
#pragma once

#include <cstdint>

#include "editor/CTool.h"
#include "editor/pixels/CMouseTask.h"

// 0 until a width is chosen; the thick outlines read it too.
extern std::int16_t gLineWidth;

class CShapeTool : public CTool {
  SMART_ABSTRACT(CShapeTool)
 public:
  enum : std::int16_t { kRectangle = 0, kRoundRect = 1, kEllipse = 2 };

  // A filled rectangle, free.
  CShapeTool(std::int32_t id, SoundResource* sound);
  SMART_NOT_COPYABLE

  // Variants 1 to 18: 1 + 3 x shape + mode (0 thin, 1 thick, 2 filled) + 9 when constrained.
  void SetChoice(std::int16_t kind, std::int16_t variant) override;
  std::int16_t GetChoice(std::int16_t kind) override;
  std::int16_t CountChoices(std::int16_t) override { return 18; }
  void DrawSample(DisplayPort& port, const Rect& rect) override;

  bool ToggleConstrained(bool toggle);
  int PenWidth() const;
  // Squares the drag when constrained, or when shift says so against a free tool.
  virtual void ConstrainRect(Point& point, const Point& last, const Point& anchor, std::int32_t modifiers);
  // The shape between the two corners, in the paint state's paints; the rectangle it fills.
  virtual void DrawShape(DisplayPort& port, Rect* rect, const Point& a, const Point& b, std::int32_t modifiers);

 protected:
  bool IsConstrained() const { return flags & kConstrained; }

 private:
  enum : std::uint8_t { kFilled = 1, kConstrained = 2, kThick = 4 };
  std::uint8_t flags = kFilled;
  std::int16_t shape = kRectangle;
};

class CLineTool : public CShapeTool {
 public:
  CLineTool();

  // Widths 1, 2, 4, 8, 12 and 16.
  void SetChoice(std::int16_t kind, std::int16_t index) override;
  std::int16_t GetChoice(std::int16_t kind) override;
  std::int16_t CountChoices(std::int16_t) override { return 6; }
  void DrawSample(DisplayPort& port, const Rect& rect) override;
  void ConstrainRect(Point&, const Point&, const Point&, std::int32_t) override {}
  // From b towards a; constrained, snapped to horizontal, vertical or 45 degrees.
  void DrawShape(DisplayPort& port, Rect* rect, const Point& a, const Point& b, std::int32_t modifiers) override;
  // Where a constrained line from b towards a ends.
  static Point SnapEnd(const Point& a, const Point& b);
};

class CShapeTask : public CPaintTask {
 public:
  CShapeTask(CPixPane* pane, OffScreen* picture, CShapeTool* tool);
  void Continue(Point& point, Point& last, Point& anchor, std::int32_t modifiers) override;
  void End(Point& point, Point& last, Point& anchor, std::int32_t modifiers) override;

 private:
  SmartRef<CShapeTool> tool;
};

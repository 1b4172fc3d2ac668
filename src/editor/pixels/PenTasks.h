// The paint tasks of the tools that leave a trail of stamps. The eraser stamps at every event and repaints
// the erased part of the screen at once; the brush only records the pointer's path while the mouse moves and
// stamps it when no input waits, so that painting never lags behind the hand; the pencil paints nothing.
#pragma once

#include <cstdint>

#include "editor/pixels/CMouseTask.h"
#include "graphics/Color.h"

class CBrushTool;
class CEraserTool;
class CTool;
class DisplayPort;

class CPenTask : public CPaintTask {
 public:
  CPenTask(std::int32_t code, CPixPane* pane, OffScreen* picture, CTool* pen);
  void Continue(Point& point, Point& last, Point& anchor, std::int32_t modifiers) override;
  // Stamps the pen at the point and answers the stamped rectangle; nothing here.
  virtual Rect Stamp(DisplayPort& port, const Point& point);

 protected:
  // A move that did not move is skipped, unless it is the press itself.
  static bool Skipped(const Point& point, const Point& last, const Point& anchor) {
    return point == last && point != anchor;
  }
  SmartRef<CTool> pen;
};

class CEraserTask : public CPenTask {
 public:
  CEraserTask(CPixPane* pane, OffScreen* picture, CEraserTool* pen);
  void Begin(Point& anchor, std::int32_t modifiers) override;
  void Continue(Point& point, Point& last, Point& anchor, std::int32_t modifiers) override;
  Rect Stamp(DisplayPort& port, const Point& point) override;

 private:
  Rect bounds;
  Rect stampRect;
  Rect pending;
};

// The points the brush has still to stamp, in order; shared by every brush stroke.
class BrushRing {
 public:
  static constexpr std::int32_t kSize = 20000;
  bool IsEmpty() const { return head == tail; }
  bool IsFull() const { return (head + 1) % kSize == tail; }
  void Clear() { head = tail = 0; }
  void Push(const Point& point) {
    points[head] = point;
    head = (head + 1) % kSize;
  }
  const Point& Front() const { return points[tail]; }
  void Pop() { tail = (tail + 1) % kSize; }
  std::int32_t Count() const { return (head - tail + kSize) % kSize; }

 private:
  Point points[kSize];
  std::int32_t head = 0;
  std::int32_t tail = 0;
};
extern BrushRing gBrushPoints;
// Clear while a brush stroke goes on.
extern bool gBrushIdle;

class CBrushTask : public CPenTask {
 public:
  CBrushTask(CPixPane* pane, OffScreen* picture, CBrushTool* pen);
  void Begin(Point& anchor, std::int32_t modifiers) override;
  void Continue(Point& point, Point& last, Point& anchor, std::int32_t modifiers) override;
  void End(Point& point, Point& last, Point& anchor, std::int32_t modifiers) override;
  // Stamps the queued points; unless forced or the ring is full, it stops as soon as the mouse moves.
  void Drain(bool force);

 private:
  CBrushTool& Brush() const;
  // The points of the straight line from last towards the point, as the brush steps along it.
  void Queue(const Point& point, const Point& last);
  void ShowPending();

  Rect bounds;
  Rect pending;
};

class CPencilTask : public CPenTask {
 public:
  CPencilTask(CPixPane* pane, OffScreen* picture, CTool* pen);
  Rect Stamp(DisplayPort& port, const Point& point) override;

 private:
  Color color;
  Pattern pattern;
};

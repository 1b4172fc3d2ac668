// The tools that paint into the pixel editor's picture: the brush (its shapes are the brush cursors, so
// what the child sees under the pointer is what gets painted), the eraser, the pencil (no button) and the
// fill bucket.
#pragma once

#include <array>
#include <cstdint>

#include "editor/CTool.h"

class Area;
class BitMap;
class CDropperTool;
class Paint;

// The tools that leave a trail of stamps.
class CPenTool : public CTool {
  SMART_ABSTRACT(CPenTool)
 public:
  CPenTool(std::int32_t id, SoundResource* sound);
  // The pen's shape, relative to the point it is stamped at.
  virtual Rect GetPenRect() = 0;
};

class CBrushTool : public CPenTool {
  SMART_ABSTRACT(CBrushTool)
 public:
  static constexpr std::int16_t kBrushCount = 24;

  explicit CBrushTool(CDropperTool* paintState);
  // A copy takes the tool's fields, the paint state, the size and the built brushes (shared); it never shares a gesture.
  CBrushTool(const CBrushTool& source);
  CBrushTool& operator=(const CBrushTool&) = delete;
  bool CanCopyFrom(Smart* source) override;
  void CopyFrom(Smart* source) override;
  Smart* Clone() const override;

  // 0 and below choose size 1, above the count the last size; the cursor follows.
  void SetChoice(std::int16_t kind, std::int16_t n) override;
  std::int16_t GetChoice(std::int16_t) override { return sizeIndex; }
  std::int16_t CountChoices(std::int16_t) override { return kBrushCount; }
  void DrawSample(DisplayPort& port, const Rect& rect) override;
  // Cursor resource 299 + size, at most 319.
  void ChooseCursor() override;
  Rect GetPenRect() override;

  // The brush of the current size, its top-left (as the cursor's hot spot) at the point, in the paint
  // state's pattern paint.
  void StampAt(DisplayPort& port, std::int32_t x, std::int32_t y);
  // One stroke: the paint and brush are taken once and the stamps share them.
  void PrepareStroke();
  void StampCached(DisplayPort& port, std::int32_t x, std::int32_t y);
  void ReleaseStroke();
  // The next stamp of each size builds its shape from the cursor again.
  void ClearBrushImages();

 private:
  SmartRef<BitMap> BrushImage();
  void Stamp(DisplayPort& port, BitMap& brush, Paint& paint, std::int32_t x, std::int32_t y);

  SmartRef<CDropperTool> paintState;
  std::int16_t sizeIndex = 6;
  std::array<SmartRef<BitMap>, kBrushCount> brushImages;
  std::array<Rect, kBrushCount> brushRects{};
  SmartRef<Paint> cachedPaint;
  SmartRef<BitMap> cachedBrush;
};

class CEraserTool : public CPenTool {
  SMART_ABSTRACT(CEraserTool)
 public:
  CEraserTool();
  // A copy takes the tool's fields and the size; it never shares a gesture.
  CEraserTool(const CEraserTool& source);
  CEraserTool& operator=(const CEraserTool&) = delete;
  bool CanCopyFrom(Smart* source) override;
  void CopyFrom(Smart* source) override;
  Smart* Clone() const override;

  // Sizes outside 1 to 20 leave the size as it was.
  void SetChoice(std::int16_t kind, std::int16_t index) override;
  std::int16_t GetChoice(std::int16_t) override { return sizeIndex; }
  std::int16_t CountChoices(std::int16_t) override { return 20; }
  void DrawSample(DisplayPort& port, const Rect& rect) override;
  // The eraser's task sizes its stamps by GetExtent; it has no pen shape.
  Rect GetPenRect() override;
  Point GetExtent() const;

 private:
  std::int16_t sizeIndex = 3;
};

// The pencil has no button and paints nothing.
class CPencilTool : public CPenTool {
  SMART_ABSTRACT(CPencilTool)
 public:
  CPencilTool();
  SMART_NOT_COPYABLE
  Rect GetPenRect() override { return Rect::emptyRect; }
};

class CBucketTool : public CTool {
 public:
  CBucketTool();
  ~CBucketTool() override;
  SMART_NOT_COPYABLE

  // Any value is kept; the fill refuses the kinds it does not know.
  void SetChoice(std::int16_t, std::int16_t n) override { gradientKind = n; }
  std::int16_t GetChoice(std::int16_t) override { return gradientKind; }
  std::int16_t CountChoices(std::int16_t) override { return 10; }
  void DrawSample(DisplayPort& port, const Rect& rect) override;

  // Shared by every bucket; each new bucket starts it at 1 again.
  static std::int16_t gradientKind;

 private:
  SmartRef<Area> proxyRegion;
};

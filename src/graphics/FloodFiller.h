// The fill of the paint tools: the region of a bitmap that a fill from a seed pixel covers (the pixels of
// the seed's exact value connected to it), its bounding box, and the copy of a pattern bitmap (such as a
// rendered gradient) into the bitmap through that region.
#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "core/Smart.h"

class BitMap;

class FloodFiller {
 public:
  FloodFiller(BitMap* image, const Point& seed);
  ~FloodFiller();
  FloodFiller(const FloodFiller&) = delete;
  FloodFiller& operator=(const FloodFiller&) = delete;

  // The bounding box of the region (half-open), computed with the mask on first need.
  Rect GetBounds();
  // Copies the pattern's raw values into the destination where the region lies; the pattern has the
  // bounding box's size and the destination's depth and colour table.
  void Fill(BitMap& dest, BitMap& pattern);
  // The one-bit mask: 0 where the fill reaches, 1 elsewhere (null until computed).
  BitMap* GetMask() const { return ~mask; }

 private:
  void ComputeMask();

  Rect bounds;
  Point seed;
  SmartRef<BitMap> image;
  Rect imageBounds;
  SmartRef<BitMap> mask;
  std::uint32_t seedValue;
};

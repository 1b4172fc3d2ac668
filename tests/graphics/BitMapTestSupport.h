// Bitmaps for tests: any depth, pixels set from a function of (x, y).
#pragma once

#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/bitmaps/PixelCursor.h"

template <class F>
void SetAll(BitMap& bitmap, F value) {
  PixelCursor cursor(&bitmap, bitmap.GetBounds(), true);
  for (; cursor.HasRow(); cursor.NextPixel()) cursor.SetPixel(value(cursor.GetPosition().x, cursor.GetPosition().y));
}

// A 16-entry grey table, black first: the standard tables have no depth 4.
SmartRef<ColorTable> Greys16();
// A bitmap of any depth: 16- and 32-bit ones come from system bitmaps, as the tables' direct depth is 24.
SmartRef<BitMap> MakeBitMap(std::int32_t width, std::int32_t height, std::int16_t depth);

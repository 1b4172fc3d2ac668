#include "graphics/formats/ImageScribe.h"

#include <cstring>
#include <unordered_map>

#include "core/Exception.h"
#include "core/Progress.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/bitmaps/PixelCursor.h"
#include "graphics/SystemVersion.h"

SMART_DEFINE_ABSTRACT(ImageScribe, "ImageScribe", Scribe, SmartImplementation)

bool ImageScribe::ReadsKindOf(const ClassInfo* info) { return BitMap::classInfo.IsKindOf(info); }

void StorePixels(BitMap& bitmap, const PixelBuffer& pixels) {
  ASSERT(bitmap.GetBitDepth() == pixels.depth);
  // Decoded rows and the back end's rows have the same bytes: indexes, or blue, green, red.
  PixelCursor cursor(&bitmap, bitmap.GetBounds(), true);
  for (std::int32_t y = 0; cursor.HasRow(); ++y, cursor.NextRow())
    std::memcpy(cursor.GetAddress(), pixels.Row(y), pixels.RowBytes());
}

BitMap* NewBitMapOfPixels(const PixelBuffer& pixels, ColorTable* table) {
  SmartRef<BitMap> bitmap = new BitMap(pixels.width, pixels.height, table);
  StorePixels(*bitmap, pixels);
  BitMap* made = ~bitmap;
  made->Reference();
  bitmap = nullptr;
  made->Unreference();
  return made;
}

PixelBuffer ReduceToStandardColors(const PixelBuffer& pixels, const char* caption) {
  ColorTable* table = ColorTable::GetStandard(8);
  PixelBuffer reduced(pixels.width, pixels.height, 8);
  for (std::int32_t i = 0; i < 256; ++i) reduced.colors[static_cast<std::size_t>(i)] = table->GetColor(i);
  // Pictures hold few colours compared to their pixels: each is looked up once.
  std::unordered_map<std::uint32_t, std::uint8_t> nearest;
  Progress progress(static_cast<std::uint32_t>(pixels.height), caption);
  for (std::int32_t y = 0; y < pixels.height; ++y) {
    progress.Step();
    const std::uint8_t* in = pixels.Row(y);
    std::uint8_t* out = reduced.Row(y);
    for (std::int32_t x = 0; x < pixels.width; ++x, in += 3) {
      const std::uint32_t key = in[0] | in[1] << 8 | std::uint32_t{in[2]} << 16;
      auto [entry, added] = nearest.try_emplace(key, 0);
      if (added) entry->second = static_cast<std::uint8_t>(table->NearestIndex(Color::FromRGB8(in[2], in[1], in[0])));
      out[x] = entry->second;
    }
  }
  return reduced;
}

BitMap* NewBitMapForDisplay(const PixelBuffer& pixels, const char* caption) {
  if (IsLimitedWindows()) return NewBitMapOfPixels(ReduceToStandardColors(pixels, caption), ColorTable::GetStandard(8));
  return NewBitMapOfPixels(pixels, ColorTable::GetStandard(24));
}

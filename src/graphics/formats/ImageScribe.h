// What the picture file scribes share: a counted reference to their stream, the bitmaps they read, and
// the step from decoded pixels to a BitMap.
#pragma once

#include <cstdint>

#include "core/ObjectFile.h"
#include "core/Stream.h"
#include "graphics/formats/PixelBuffer.h"

class BitMap;
class ColorTable;

class ImageScribe : public Scribe, public SmartImplementation {
  SMART_ABSTRACT(ImageScribe)
 public:
  explicit ImageScribe(Stream* stream) : stream(stream) {}

  bool IsWritable() override { return stream->IsWritable(); }
  // Every picture file reads as a BitMap.
  bool ReadsKindOf(const ClassInfo* info) override;
  Stream* GetStream() const { return ~stream; }

 protected:
  SmartRef<Stream> stream;
};

// Copies the pixels into a bitmap of their size and depth.
void StorePixels(BitMap& bitmap, const PixelBuffer& pixels);
// A new bitmap of the pixels, whose depth the table must have.
BitMap* NewBitMapOfPixels(const PixelBuffer& pixels, ColorTable* table);
// Depth-24 pixels turned into the nearest colours of the standard 8-bit table, as limited systems show
// pictures; one progress step a row, under the caption.
PixelBuffer ReduceToStandardColors(const PixelBuffer& pixels, const char* caption);
// A decoded depth-24 picture as the display takes it: 8-bit with the standard colours on a limited
// system, else 24-bit with the standard direct table.
BitMap* NewBitMapForDisplay(const PixelBuffer& pixels, const char* caption);

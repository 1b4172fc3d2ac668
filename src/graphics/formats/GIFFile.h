// The scribe of GIF pictures ("Image GIF"), which are read and never written.
#pragma once

#include "core/FileType.h"
#include "graphics/formats/ImageScribe.h"

class BitMap;

class GIFFile : public ImageScribe {
  SMART_CLASS(GIFFile)
 public:
  explicit GIFFile(Stream* stream) : ImageScribe(stream) {}
  // Reports "Not implemented." and writes nothing.
  void Write(SmartRef<Smart> object) override;
  void Read(SmartRef<Smart>* object) override;

  // "Image GIF", 'GIFf', extension gif.
  static SmartRef<FileType> fileType;
};

// The file's first image as a new bitmap: 24-bit, or 8-bit in the standard colours on a limited system.
BitMap* ConvertGIFToBitMap(Stream* stream);

// Macintosh PICT files: the picture data is kept as it is, never interpreted; only its frame is read.
#pragma once

#include <cstdint>

#include "core/FileType.h"
#include "core/Geometry.h"
#include "graphics/formats/ImageScribe.h"

class Memory;
class Stream;

// A PICT file starts with 512 bytes that mean nothing to the picture.
inline constexpr std::uint32_t kPICTFileHeaderSize = 512;
// The picture data starts with its 16-bit size and its frame: top, left, bottom, right, big-endian.
inline constexpr std::uint32_t kPICTPictureHeaderSize = 10;

// Reads the whole stream after the file header into data and answers the picture's frame. A stream too
// short to hold a picture header raises the program's error.
Rect ReadPICTData(Stream& stream, Memory& data);


// The scribe of "Image PICT" files: they read as a bitmap of the picture (which this system cannot
// draw), and are never written.
class PICTFile : public ImageScribe {
  SMART_CLASS(PICTFile)
 public:
  explicit PICTFile(Stream* stream) : ImageScribe(stream) {}
  // A Picture reports "Not implemented."; other objects write nothing.
  void Write(SmartRef<Smart> object) override;
  // A bitmap of the picture at the size of its frame.
  void Read(SmartRef<Smart>* object) override;
  // A bitmap of the given size with the picture drawn into it, on white.
  void ReadPreview(SmartRef<Smart>* picture, Point size, int depth) override;

  // "Image PICT", 'PICT', no extension.
  static SmartRef<FileType> fileType;
};

// The scribe of JPEG pictures ("Image JPEG"): every published page is written through it, and imported
// JPEG files are read through it.
#pragma once

#include "core/FileType.h"
#include "graphics/formats/ImageScribe.h"

class BitMap;
class Image;

class JPEGFile : public ImageScribe {
  SMART_CLASS(JPEGFile)
 public:
  explicit JPEGFile(Stream* stream) : ImageScribe(stream) {}
  // The object must be an Image ("Missing (NULL) value." otherwise).
  void Write(SmartRef<Smart> object) override;
  void Read(SmartRef<Smart>* object) override;

  // "Image JPEG", 'JPEG', extension jpg.
  static SmartRef<FileType> fileType;
};

// A bitmap is compressed as it is; another image is first drawn into a bitmap of its size.
void WriteJPEG(Image& image, Stream& stream);
BitMap* ReadJPEG(Stream& stream);
void CompressBitMapToJPEG(BitMap& bitmap, Stream& stream);
BitMap* DecompressJPEGToBitMap(Stream& stream);

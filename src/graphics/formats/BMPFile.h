// The scribe of BMP files ("Fichier BitMap"), which are read and never written, and the clipboard's
// packed bitmaps read the same way.
#pragma once

#include "core/FileType.h"
#include "graphics/formats/ImageScribe.h"
#include "platform/kernel/WinTypes.h"

class BitMap;

class BMPFile : public ImageScribe {
  SMART_CLASS(BMPFile)
 public:
  explicit BMPFile(Stream* stream) : ImageScribe(stream) {}
  // Reports "Not implemented." and writes nothing.
  void Write(SmartRef<Smart> object) override;
  // A new BitMap of the file, without key.
  void Read(SmartRef<Smart>* object) override;

  // "Fichier BitMap", no Mac type, extension bmp.
  static SmartRef<FileType> fileType;
};

// A new bitmap of the clipboard's packed DIB (header, colours, pixels); the handle is only read.
BitMap* NewBitMapFromDIB(HGLOBAL handle);

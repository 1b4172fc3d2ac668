#include "graphics/formats/GIFFile.h"

#include "core/Exception.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/formats/GIFDecoder.h"

SMART_DEFINE(GIFFile, "GIFFile", nullptr, nullptr, ImageScribe)

SmartRef<FileType> GIFFile::fileType(new FileType("Image GIF", FourCharCode("GIFf"), FourCharCode("gif ")));

BitMap* ConvertGIFToBitMap(Stream* stream) { return NewBitMapForDisplay(DecodeGIF(*stream), "Conversion GIF"); }

void GIFFile::Write(SmartRef<Smart>) { NOT_IMPLEMENTED(); }

void GIFFile::Read(SmartRef<Smart>* object) { *object = ConvertGIFToBitMap(~stream); }

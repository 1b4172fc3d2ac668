#include "graphics/formats/BMPFile.h"

#include <algorithm>
#include <cstring>

#include "core/Exception.h"
#include "core/Memory.h"
#include "graphics/formats/BMPDecoder.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/OffScreen.h"
#include "platform/kernel/System.h"
#include "graphics/bitmaps/OSBitMap.h"
#include "graphics/SystemVersion.h"
#include "graphics/DisplayDepth.h"

SMART_DEFINE(BMPFile, "BMPFile", nullptr, nullptr, ImageScribe)

SmartRef<FileType> BMPFile::fileType(new FileType("Fichier BitMap", 0, FourCharCode("bmp ")));

BitMap::BitMap(Stream* stream, bool useKey, std::int32_t key) : chromaKey(key), useChromaKey(useKey) {
  PixelBuffer pixels = DecodeBMP(*stream, useKey, static_cast<int>(key));
  if (pixels.depth == 24 && IsLimitedWindows()) {
    pixels = ReduceToStandardColors(pixels, "Conversion BMP");
    colorTable = ColorTable::GetStandard(8);
  } else if (pixels.depth == 8) {
    GenericArray colors(sizeof(Color), 0);
    colors.Insert(pixels.colors.data(), 0, static_cast<std::int32_t>(pixels.colors.size()));
    colorTable = new ColorTable(colors);
  } else {
    colorTable = new ColorTable();
  }
  CreateOSBitMap(pixels.width, pixels.height, ~colorTable);
  StorePixels(*this, pixels);
  Unlock();
  MatchDisplayPalette();
}

void BitMap::MatchDisplayPalette() {
  if (GetBitDepth() != 8 || GetDisplayBitDepth() > 15) return;
  ColorTable* standard = ColorTable::GetStandard(8);
  bool isCopy = false;
  void* bits = backEnd->LockBits(&isCopy);
  backEnd->RemapToPalette(standard->GetPalette(), bits);
  backEnd->UnlockBits(true, bits, isCopy);
  colorTable = standard;
}

void BMPFile::Write(SmartRef<Smart>) { NOT_IMPLEMENTED(); }

void BMPFile::Read(SmartRef<Smart>* object) { *object = new BitMap(~stream, false, 0); }

BitMap* NewBitMapFromDIB(HGLOBAL handle) {
  const std::uint32_t size = static_cast<std::uint32_t>(CHECK_NON_ZERO(GlobalSize(handle)));
  const auto* dib = static_cast<const std::uint8_t*>(CHECK_NOT_NULL(GlobalLock(handle)));
  // The colours follow the header; the file header in front says where the pixels start.
  std::uint32_t bitsOffset = 54;
  if (size >= 40) {
    std::uint32_t headerSize = 0, compression = 0, colorsUsed = 0;
    std::uint16_t bitCount = 0;
    std::memcpy(&headerSize, dib, 4);
    std::memcpy(&bitCount, dib + 14, 2);
    std::memcpy(&compression, dib + 16, 4);
    std::memcpy(&colorsUsed, dib + 32, 4);
    const std::uint64_t colors = colorsUsed ? colorsUsed : (bitCount < 32 ? std::uint64_t{1} << bitCount : 0);
    // Headers of 108 and 124 bytes (the clipboard's newer format) are longer; 40-byte ones with bit
    // fields are followed by their three masks.
    const std::uint32_t masks = headerSize == 40 && compression == 3 ? 12 : 0;
    bitsOffset = 14 + std::min<std::uint32_t>(headerSize, 124) + masks + (colors <= 256 ? 4 * static_cast<std::uint32_t>(colors) : 0);
  }
  SmartRef<MemoryStream> stream = new MemoryStream(size + 14);
  const std::uint8_t fileHeader[14] = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(bitsOffset),
                                       static_cast<std::uint8_t>(bitsOffset >> 8), static_cast<std::uint8_t>(bitsOffset >> 16), 0};
  stream->Write(fileHeader, 14);
  stream->Write(dib, size);
  GlobalUnlock(handle);
  stream->Seek(0, kSeekFromStart);
  return new BitMap(~stream, false, 0);
}

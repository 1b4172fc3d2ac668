// Macintosh PICT files: the picture data is kept as it is, never interpreted; only its frame is read.
#pragma once

#include <cstdint>

#include "core/Geometry.h"

class Memory;
class Stream;

// A PICT file starts with 512 bytes that mean nothing to the picture.
inline constexpr std::uint32_t kPICTFileHeaderSize = 512;
// The picture data starts with its 16-bit size and its frame: top, left, bottom, right, big-endian.
inline constexpr std::uint32_t kPICTPictureHeaderSize = 10;

// Reads the whole stream after the file header into data and answers the picture's frame. A stream too
// short to hold a picture header raises the program's error.
Rect ReadPICTData(Stream& stream, Memory& data);

// Windows BMP files (and the packed bitmaps of the clipboard, with a file header put in front) decoded
// from a stream into pixels and colours.
#pragma once

#include "graphics/formats/PixelBuffer.h"

class Stream;

// The stream's current position is the start of the file. Files of 8 bits a pixel or fewer come out at
// depth 8 with a 256-colour table (the entries the file does not give are black), all others at depth 24.
// With useKey, the table's entry keyIndex carries the transparent flag. Damaged, truncated and
// unsupported files raise the program's error.
PixelBuffer DecodeBMP(Stream& stream, bool useKey = false, int keyIndex = 0);

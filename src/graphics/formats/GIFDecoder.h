// GIF pictures: the first image of a file, decoded into blue, green, red rows. The reader is a source
// module of the JPEG library, so that a damaged file stops through the library's error manager.
#pragma once

#include "graphics/formats/PixelBuffer.h"

class Stream;

// Reads from the stream's current position; the picture has depth 24 and no transparency. Bad files
// raise the program's error; damaged image data decodes as far as it goes, the rest colour-map entry 0.
PixelBuffer DecodeGIF(Stream& stream);

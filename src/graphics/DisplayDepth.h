// The depth of the screen, which decides the bitmaps made for it and the colours pictures are reduced to.
#pragma once

#include <cstdint>

// Bits per pixel of the screen.
std::int16_t GetDisplayBitDepth();

// The composed screen as the user sees it, read by the tests of the window system and of every library
// above it.
#pragma once

#include <cstdint>

#include "platform/kernel/WinTypes.h"
#include "support/Netpbm.h"

// 0xRRGGBB of the composed screen at a point of the screen.
std::uint32_t ScreenPixel(int x, int y);
inline std::uint32_t ScreenPixel(POINT p) { return ScreenPixel(p.x, p.y); }
// The composed screen's pixels inside a screen rectangle (0xRRGGBB, rows top first).
ColourPicture ScreenPicture(RECT r);

// Golden pictures: renders compared pixel for pixel with pictures checked in under tests/fixtures.
#pragma once

#include <string>

#include "support/Netpbm.h"

class BitMap;

// Every pixel of the bitmap as its colour, rows top first.
ColourPicture PixelsOf(BitMap& bitmap);

// Expects the picture to be tests/fixtures/<name> (a PPM file); QUILLORY_UPDATE_GOLDEN=1 writes it there
// first, after a deliberate change. A render that differs is left in the build folder for a look.
void ExpectGolden(const ColourPicture& picture, const std::string& name);

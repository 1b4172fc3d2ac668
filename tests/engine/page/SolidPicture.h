// A picture movie of one colour, for the page suites and the benchmarks of playing pages alike (so it
// stands apart from the suites' fixtures).
#pragma once

#include "engine/movie/CMovie.h"

namespace engine_test {

// A one-frame picture movie of the standard colour; with a border, its outer ring of pixels is white (the
// page colour, so a keyed sprite leaves it out).
SmartRef<CMovie> SolidPicture(int width, int height, int colour, bool whiteBorder = false);

}  // namespace engine_test

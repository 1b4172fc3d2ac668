// The information window's one flag: the window is up.
#pragma once

#include <cstdint>

extern std::uint8_t gInfoWindowOpen;

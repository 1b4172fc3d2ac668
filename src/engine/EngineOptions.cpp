#include "engine/EngineOptions.h"

std::uint32_t gEngineOptions = 4;

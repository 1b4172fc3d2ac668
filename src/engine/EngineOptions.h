// The engine application's option word, which the editor's tools and windows read.
#pragma once

#include <cstdint>

// The application factory sets it to 0x0C before the application is made; until then the authoring
// layer's own value.
extern std::uint32_t gEngineOptions;

enum : std::uint32_t {
  kOptionCompactOverview = 1u << 0,
  kOptionOutlineThumbnails = 1u << 1,
  kOptionNoStartAndQuitSounds = 1u << 3,
  kOptionNoHintSounds = 1u << 7,
};

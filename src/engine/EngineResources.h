// The engine's numbered texts and cursors (ids 400 to 499).
#pragma once

#include "core/Resources.h"

extern Resources gEngineResources;

enum : int {
  kNotEnoughMemoryText = 0,  // 400
  kMemoryShortText = 1,      // 401
  kLinkCursor = 4,           // 404
  kLinkHotCursor = 5,        // 405
};

// Text 400 + index into buffer (256 bytes), with up to four %1..%4 arguments.
void GetEngineString(char* buffer, int index, const char* a1 = nullptr, const char* a2 = nullptr,
                     const char* a3 = nullptr, const char* a4 = nullptr);

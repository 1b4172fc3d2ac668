#include "graphics/DisplayDepth.h"

#include "core/Exception.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Paint.h"

std::int16_t GetDisplayBitDepth() {
  HDC screen = CHECK_NOT_NULL(::GetDC(nullptr));
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  CHECK_NON_ZERO(::ReleaseDC(nullptr, screen));
  return static_cast<std::int16_t>(bits);
}

#include "graphics/bitmaps/DIBitMap.h"

#include <cstring>

#include "core/Exception.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Paint.h"

OSBITMAP_DEFINE(DIBitMap, "DIBitMap")

namespace {

// Selects and realises a palette in a context for the length of a scope (nothing for none).
class PaletteInDC {
 public:
  PaletteInDC(HDC dc, HPALETTE palette) : dc(dc) {
    if (!palette) return;
    previous = SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
  }
  ~PaletteInDC() {
    if (previous) SelectPalette(dc, previous, FALSE);
  }
  PaletteInDC(const PaletteInDC&) = delete;
  PaletteInDC& operator=(const PaletteInDC&) = delete;

 private:
  HDC dc;
  HPALETTE previous = nullptr;
};

}  // namespace

void DIBitMap::StretchTo(HDC dc, HPALETTE palette, const Rect& from, const Rect& to) {
  PaletteInDC selected(dc, palette);
  // Rows count from the bottom of a bottom-up DIB.
  const int sourceY = height - from.bottom;
  CHECK_CALL(StretchDIBits(dc, to.left, to.top, to.Width(), to.Height(), from.left, sourceY, from.Width(),
                           from.Height(), memory.get(), GetDIBHeader(), DIB_RGB_COLORS, SRCCOPY) != 0);
}

void DIBitMap::CopyPixelsTo(OSBitMap*, const Rect&, const Rect&, std::int32_t) { NOT_IMPLEMENTED(); }

HBRUSH DIBitMap::CreatePatternBrush() {
  HDC screen = CHECK_NOT_NULL(::GetDC(nullptr));
  const BITMAPINFO* header = GetDIBHeader();
  HBITMAP device = CreateDIBitmap(screen, &header->bmiHeader, CBM_INIT, memory.get(), header, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  CHECK_NOT_NULL(device);
  HBRUSH brush = ::CreatePatternBrush(device);
  DeleteObject(device);
  return CHECK_NOT_NULL(brush);
}

HDC DIBitMap::GetDC() {
  NOT_IMPLEMENTED();
  return nullptr;
}

void DIBitMap::ReleaseDC(HDC) { NOT_IMPLEMENTED(); }

void* DIBitMap::LockBits(bool* isCopy) {
  *isCopy = false;
  return memory.get();
}

HBITMAP DIBitMap::CreateHandle() {
  memory.reset(new std::uint8_t[static_cast<std::size_t>(GetByteSize())]());
  return CHECK_NOT_NULL(CreateBitmap(1, 1, 1, 1, nullptr));
}

void DIBitMap::SetBits(const void* buffer, std::int32_t size) {
  ASSERT(size == (long) GetByteSize());
  std::memcpy(memory.get(), buffer, static_cast<std::size_t>(size));
}

void DIBitMap::GetBits(void* buffer, std::int32_t size) const {
  ASSERT(size >= (long) GetByteSize());
  std::memcpy(buffer, memory.get(), static_cast<std::size_t>(GetByteSize()));
}

#include "graphics/bitmaps/DIBSection.h"

#include <cstring>
#include <vector>

#include "core/Exception.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Paint.h"

OSBITMAP_DEFINE(DIBSection, "DIBSection")

DIBSection::~DIBSection() { Release(); }

// The section leaves its context before the base deletes it.
void DIBSection::Release() {
  if (!memoryDC) return;
  SelectObject(memoryDC, previousObject);
  if (!DeleteDC(memoryDC)) ReportError("Call failed.", __FILE__, __LINE__);
  memoryDC = nullptr;
  previousObject = nullptr;
  bits = nullptr;
}

void DIBSection::StretchTo(HDC dc, HPALETTE palette, const Rect& from, const Rect& to) {
  HPALETTE previousPalette = nullptr;
  if (palette) {
    previousPalette = SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
  }
  int previousMode = 0;
  const bool stretched = from.Size() != to.Size();
  if (stretched) previousMode = CHECK_NON_ZERO(SetStretchBltMode(dc, depth <= 8 ? COLORONCOLOR : HALFTONE));
  // Rows count from the bottom of a bottom-up DIB.
  const int drawn = StretchDIBits(dc, to.left, to.top, to.Width(), to.Height(), from.left, height - from.bottom,
                                  from.Width(), from.Height(), bits, GetDIBHeader(), DIB_RGB_COLORS, SRCCOPY);
  if (stretched) SetStretchBltMode(dc, previousMode);
  if (previousPalette) SelectPalette(dc, previousPalette, FALSE);
  CHECK_CALL(drawn != 0);
}

HBRUSH DIBSection::CreatePatternBrush() {
  const std::size_t colors = depth <= 8 ? std::size_t{1} << depth : 0;
  const std::size_t headerBytes = sizeof(BITMAPINFOHEADER) + 4 * colors;
  std::vector<std::uint8_t> packed(headerBytes + static_cast<std::size_t>(GetByteSize()));
  std::memcpy(packed.data(), GetDIBHeader(), headerBytes);
  std::memcpy(packed.data() + headerBytes, bits, static_cast<std::size_t>(GetByteSize()));
  return CHECK_NOT_NULL(CreateDIBPatternBrushPt(packed.data(), DIB_RGB_COLORS));
}

void* DIBSection::LockBits(bool* isCopy) {
  *isCopy = false;
  return bits;
}

HBITMAP DIBSection::CreateHandle() {
  HDC screen = CHECK_NOT_NULL(::GetDC(nullptr));
  HBITMAP section = CreateDIBSection(screen, GetDIBHeader(), DIB_RGB_COLORS, &bits, nullptr, 0);
  ::ReleaseDC(nullptr, screen);
  CHECK_NOT_NULL(section);
  memoryDC = CreateCompatibleDC(nullptr);
  if (!memoryDC) DeleteObject(section);
  CHECK_NOT_NULL(memoryDC);
  previousObject = SelectObject(memoryDC, section);
  return section;
}

void DIBSection::SetBits(const void* buffer, std::int32_t size) {
  ASSERT((unsigned long)size <= (unsigned long)GetByteSize());
  std::memcpy(bits, buffer, static_cast<std::size_t>(size));
}

void DIBSection::GetBits(void* buffer, std::int32_t size) const {
  ASSERT((unsigned long)size >= (unsigned long)GetByteSize());
  std::memcpy(buffer, bits, static_cast<std::size_t>(GetByteSize()));
}

// The section's own colour table follows the header, so that blits from its context show the new colours.
void DIBSection::RemapToPalette(HPALETTE palette, void* pixels) {
  OSBitMap::RemapToPalette(palette, pixels);
  if (depth > 8) return;
  const BITMAPINFO* header = GetDIBHeader();
  SetDIBColorTable(memoryDC, 0, 1u << depth, header->bmiColors);
}

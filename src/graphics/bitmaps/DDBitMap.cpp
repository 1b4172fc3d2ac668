#include "graphics/bitmaps/DDBitMap.h"

#include "core/Exception.h"
#include "graphics/bitmaps/ColorTable.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Paint.h"

OSBITMAP_DEFINE(DDBitMap, "DDBitMap")

DDBitMap::~DDBitMap() { Release(); }

// Destruction cannot raise: what goes wrong is reported and the rest is still freed.
void DDBitMap::Release() {
  SetCacheBits(false);
  if (dcCount != 0 || lockedCount != 0) ReportError("Call failed.", __FILE__, __LINE__);
}

void DDBitMap::StretchTo(HDC dc, HPALETTE, const Rect& from, const Rect& to) {
  HDC source = GetDC();
  const int previousMode = SetStretchBltMode(dc, COLORONCOLOR);
  const BOOL drawn = StretchBlt(dc, to.left, to.top, to.Width(), to.Height(), source, from.left, from.top,
                                from.Width(), from.Height(), SRCCOPY);
  ClearBenignError({ERROR_INVALID_PARAMETER});
  if (previousMode) SetStretchBltMode(dc, previousMode);
  ReleaseDC(source);
  CHECK_CALL(drawn);
}

HBRUSH DDBitMap::CreatePatternBrush() { return CHECK_NOT_NULL(::CreatePatternBrush(handle)); }

HDC DDBitMap::GetDC() {
  CHECK_CALL(lockedCount == 0 && selectedOld == nullptr);
  HDC dc = CHECK_NOT_NULL(CreateCompatibleDC(nullptr));
  HGDIOBJ old = SelectObject(dc, handle);
  if (!old) {
    DeleteDC(dc);
    CHECK_NOT_NULL(old);
  }
  ++dcCount;
  selectedOld = old;
  if (depth == 8) {
    // The bitmap's values are indexes into the program's palette, in the context as on the screen.
    SelectPalette(dc, ColorTable::GetAppPalette(), FALSE);
    RealizePalette(dc);
  }
  return dc;
}

void DDBitMap::ReleaseDC(HDC dc) {
  CHECK_CALL(lockedCount == 0 && dcCount > 0);
  --dcCount;
  SelectObject(dc, selectedOld);
  selectedOld = nullptr;
  CHECK_CALL(DeleteDC(dc));
}

std::int32_t DDBitMap::GetRowBytes(std::int16_t forDepth) const {
  const std::int64_t bits = std::int64_t{width} * (forDepth ? forDepth : depth);
  return static_cast<std::int32_t>(((bits + 15) & ~std::int64_t{15}) / 8);
}

void DDBitMap::Create(std::int32_t newWidth, std::int32_t newHeight, std::int16_t newDepth, HPALETTE palette) {
  CHECK_CALL(newDepth <= 8);
  OSBitMap::Create(newWidth, newHeight, newDepth, palette);
}

void* DDBitMap::LockBits(bool* isCopy) {
  if (!cacheBits) return OSBitMap::LockBits(isCopy);
  if (!cachedBits) cachedBits = static_cast<std::uint8_t*>(OSBitMap::LockBits(isCopy));
  *isCopy = true;
  return cachedBits;
}

void DDBitMap::UnlockBits(bool writeBack, void* bits, bool isCopy) {
  if (!cacheBits) {
    OSBitMap::UnlockBits(writeBack, bits, isCopy);
    return;
  }
  CHECK_CALL(bits == cachedBits);
  if (writeBack) SetBits(cachedBits, GetByteSize());
}

void DDBitMap::SetCacheBits(bool cache) {
  cacheBits = cache;
  if (!cache) {
    delete[] cachedBits;
    cachedBits = nullptr;
  }
}

HBITMAP DDBitMap::CreateHandle() {
  HDC screen = CHECK_NOT_NULL(::GetDC(nullptr));
  HBITMAP made = CreateBitmap(width, height, 1, static_cast<UINT>(depth), nullptr);
  ::ReleaseDC(nullptr, screen);
  return CHECK_NOT_NULL(made);
}

void DDBitMap::SetBits(const void* buffer, std::int32_t size) {
  CHECK_CALL(size == GetByteSize());
  CHECK_CALL(SetBitmapBits(handle, static_cast<DWORD>(size), buffer) == size);
}

void DDBitMap::GetBits(void* buffer, std::int32_t size) const {
  CHECK_CALL(size == GetByteSize());
  CHECK_CALL(GetBitmapBits(handle, size, buffer) == size);
}

void DDBitMap::DrawRotated(HDC dc, HBITMAP mask, const Rect& from, const POINT points[3]) {
  HDC source = GetDC();
  const BOOL drawn = PlgBlt(dc, points, source, from.left, from.top, from.Width(), from.Height(), mask, 0, 0);
  ReleaseDC(source);
  CHECK_CALL(drawn);
}

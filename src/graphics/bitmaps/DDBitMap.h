// A device-dependent bitmap: pixels in the drawing layer's own rows (top-down, 16-bit aligned), reached
// through a memory context or copied out and back. Up to 8 bits per pixel.
#pragma once

#include "graphics/bitmaps/OSBitMap.h"

class DDBitMap : public OSBitMap {
  SMART_CLASS(DDBitMap)
 public:
  DDBitMap() = default;
  DDBitMap(const DDBitMap& other);
  DDBitMap& operator=(const DDBitMap&) = delete;
  ~DDBitMap() override;

  void StretchTo(HDC dc, HPALETTE palette, const Rect& from, const Rect& to) override;
  HBRUSH CreatePatternBrush() override;
  // Contexts do not nest: a second GetDC before ReleaseDC fails.
  HDC GetDC() override;
  void ReleaseDC(HDC dc) override;
  std::int32_t GetRowBytes(std::int16_t forDepth = 0) const override;
  void Create(std::int32_t width, std::int32_t height, std::int16_t depth, HPALETTE palette) override;
  void* LockBits(bool* isCopy) override;
  void UnlockBits(bool writeBack, void* bits, bool isCopy) override;
  bool IsTopDown() const override { return true; }
  // While caching, the copy of the pixels that LockBits gives is kept and given again.
  void SetCacheBits(bool cache) override;
  HBITMAP CreateHandle() override;
  void SetBits(const void* buffer, std::int32_t size) override;
  void GetBits(void* buffer, std::int32_t size) const override;

  // Draws the source rectangle onto the parallelogram of the points (upper left, upper right, lower
  // left), leaving the destination where the monochrome mask is 0.
  void DrawRotated(HDC dc, HBITMAP mask, const Rect& from, const POINT points[3]);

 private:
  void Release();

  HGDIOBJ selectedOld = nullptr;
  std::int16_t dcCount = 0;
  std::int16_t lockedCount = 0;
  std::uint8_t* cachedBits = nullptr;
  bool cacheBits = false;
};

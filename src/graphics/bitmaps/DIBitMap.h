// A packed DIB: bottom-up rows in plain memory, drawn with StretchDIBits. It has no context of its own;
// its handle is a 1x1 placeholder.
#pragma once

#include <memory>

#include "graphics/bitmaps/OSBitMap.h"

class DIBitMap : public OSBitMap {
  SMART_CLASS(DIBitMap)
 public:
  DIBitMap() = default;
  DIBitMap(const DIBitMap& other);
  DIBitMap& operator=(const DIBitMap&) = delete;
  ~DIBitMap() override = default;

  void StretchTo(HDC dc, HPALETTE palette, const Rect& from, const Rect& to) override;
  void CopyPixelsTo(OSBitMap* into, const Rect& from, const Rect& to, std::int32_t key) override;
  HBRUSH CreatePatternBrush() override;
  HDC GetDC() override;
  void ReleaseDC(HDC dc) override;
  void* LockBits(bool* isCopy) override;
  HBITMAP CreateHandle() override;
  void SetBits(const void* buffer, std::int32_t size) override;
  void GetBits(void* buffer, std::int32_t size) const override;

 private:
  void Release() { memory.reset(); }

  std::unique_ptr<std::uint8_t[]> memory;
};

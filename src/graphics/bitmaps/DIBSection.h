// A DIB section: bottom-up rows the program reaches directly, selected for its whole life into a memory
// context of its own.
#pragma once

#include "graphics/bitmaps/OSBitMap.h"

class DIBSection : public OSBitMap {
  SMART_CLASS(DIBSection)
 public:
  DIBSection() = default;
  DIBSection(const DIBSection& other);
  DIBSection& operator=(const DIBSection&) = delete;
  ~DIBSection() override;

  void StretchTo(HDC dc, HPALETTE palette, const Rect& from, const Rect& to) override;
  HBRUSH CreatePatternBrush() override;
  HDC GetDC() override { return memoryDC; }
  void ReleaseDC(HDC) override {}
  void* LockBits(bool* isCopy) override;
  HBITMAP CreateHandle() override;
  void SetBits(const void* buffer, std::int32_t size) override;
  void GetBits(void* buffer, std::int32_t size) const override;
  void RemapToPalette(HPALETTE palette, void* pixels) override;

 private:
  void Release();

  HDC memoryDC = nullptr;
  void* bits = nullptr;
  HGDIOBJ previousObject = nullptr;
};

// A display device whose surface is a bitmap in memory: ports opened on it draw into the bitmap, which is
// how the program composes images, renders thumbnails, masks and gradients, and double-buffers views.
// While a port draws, the bitmap is locked and its device context held.
#pragma once

#include <cstdint>

#include "graphics/bitmaps/BitMap.h"
#include "graphics/DisplayDevice.h"

class Image;

class OffScreen : public DisplayDevice {
  SMART_ABSTRACT(OffScreen)
 public:
  // The device's size and colour table; the key colour is the device's background.
  OffScreen(DisplayDevice* device, const Rect& rect, bool useChroma, bool clear);
  // The standard table of the depth.
  OffScreen(std::int32_t width, std::int32_t height, std::int16_t depth, const Color& background, bool clear);
  OffScreen(std::int32_t width, std::int32_t height, ColorTable* table, const Color& background, bool clear);
  // The image's table; the image is drawn over the whole bitmap, proportions kept and centred.
  OffScreen(Image& image, std::int32_t width, std::int32_t height, const Color& background, bool clear);
  ~OffScreen() override;

  void BeginDraw(int mode) override;
  void EndDraw() override;
  void GetBounds(Rect* bounds) const override { *bounds = bitmap->GetBounds(); }
  ColorTable* GetColorTable() const override { return bitmap->GetColorTable(); }
  HDC GetDC() const override { return dc; }
  std::int16_t GetDepth() const override { return bitmap->GetBitDepth(); }

  bool CreateBitMap(std::int32_t width, std::int32_t height, ColorTable* table, const Color& keyColor, bool useChroma,
                    bool clear);
  void SetBitMap(BitMap* newBitmap) { bitmap = newBitmap; }
  SmartRef<BitMap> GetBitMap() const { return bitmap; }
  // Moves each side by its delta; with keep, the old pixels stay at the top-left. Nothing while drawing.
  void Resize(std::int32_t leftDelta, std::int32_t topDelta, std::int32_t rightDelta, std::int32_t bottomDelta,
              bool keep);

 private:
  SmartRef<BitMap> bitmap;
  HDC dc = nullptr;
};

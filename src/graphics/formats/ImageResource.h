// The numbered pictures of a resource set, and the patterns made from them.
#pragma once

#include "core/Geometry.h"
#include "core/Memory.h"
#include "core/Resources.h"
#include "core/Smart.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/Color.h"

// The cache entry of one numbered picture of a set: loaded at the first Get, dropped by a purge when no
// one else holds it, loaded again when asked again.
class ImageResource : public SmartImplementation, public Purgeable {
  SMART_ABSTRACT(ImageResource)
 public:
  ImageResource(const Resources* set, int index);
  ~ImageResource() override;
  ImageResource(const ImageResource&) = delete;
  ImageResource& operator=(const ImageResource&) = delete;
  SMART_NOT_COPYABLE

  SmartRef<BitMap> Get();
  Point GetSize() const;
  void Purge() override;

 private:
  SmartRef<BitMap> picture;
  const Resources* set;
  std::int16_t index;
};

// Stock pattern n: picture 250 + n of the framework's stock set.
Pattern GetStockPattern(int n);

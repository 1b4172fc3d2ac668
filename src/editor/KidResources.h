// The editor's pictures and sounds (ids 1000 to 4999) and the looks of its button grids.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Resources.h"
#include "core/Smart.h"
#include "graphics/formats/ImageResource.h"


// Entry n is the resource or "Data" file of id 1000 + n.
extern Resources gKidResources;

// A grid of picture buttons, filled row by row: its size, its cells and the pictures of the whole grid
// with every button up, pressed or disabled, plus the down pictures of single buttons.
class PaletteLook : public SmartImplementation {
  SMART_ABSTRACT(PaletteLook)
 public:
  PaletteLook(std::int16_t rows, std::int16_t columns, std::int16_t cellWidth, std::int16_t cellHeight)
      : rows(rows), columns(columns), cellWidth(cellWidth), cellHeight(cellHeight) {}
  SMART_NOT_COPYABLE

  std::int16_t rows;
  std::int16_t columns;
  std::int16_t cellWidth;
  std::int16_t cellHeight;
  SmartRef<ImageResource> image;
  SmartRef<ImageResource> pressedImage;
  SmartRef<ImageResource> disabledImage;
  // The buttons with pictures of their own, and those pictures, entry for entry.
  std::vector<std::int16_t> buttonNumbers;
  std::vector<SmartRef<ImageResource>> downImages;
  std::vector<SmartRef<ImageResource>> downSelectedImages;
};

namespace KidResources {

// A new look on every call; an id without a look fails the assertion.
SmartRef<PaletteLook> Describe(int lookId);
// Entry n of the editor's set.
SoundResource* GetSound(int n);
ImageResource* GetImage(int n);

}  // namespace KidResources

#include "editor/KidResources.h"

#include <array>

#include "core/Exception.h"
#include "graphics/formats/ImageResource.h"

SMART_DEFINE_ABSTRACT(PaletteLook, "PaletteLook", SmartImplementation)

Resources gKidResources(1000, 4999);

namespace {

constexpr SourceName kSource("ORVANEL/AUTHOR/KidResources");

struct LookRow {
  int id;
  std::int16_t rows, columns, cellWidth, cellHeight;
  int image, pressedImage, disabledImage;  // 0: none
};

constexpr std::array<LookRow, 18> kLooks{{
    {201, 1, 7, 30, 25, 20, 21, 0},
    {202, 3, 2, 25, 25, 30, 31, 0},
    {203, 2, 2, 33, 33, 10, 11, 0},
    {204, 2, 1, 22, 17, 50, 51, 0},
    {206, 1, 1, 66, 33, 60, 61, 62},
    {210, 1, 3, 100, 34, 100, 101, 0},
    {211, 1, 3, 100, 34, 110, 111, 0},
    {212, 1, 3, 100, 34, 120, 121, 0},
    {213, 1, 3, 100, 34, 130, 131, 0},
    {300, 2, 7, 35, 35, 2000, 0, 0},
    {301, 2, 10, 35, 35, 2010, 0, 0},
    // The grids below draw their cells through their tool, not from pictures.
    {304, 0, 0, 35, 35, 0, 0, 0},
    {305, 2, 9, 35, 35, 0, 0, 0},
    {306, 2, 5, 35, 35, 0, 0, 0},
    {307, 2, 9, 35, 35, 0, 0, 0},
    {308, 2, 3, 35, 35, 0, 0, 0},
    {309, 2, 2, 35, 35, 0, 0, 0},
    {310, 2, 3, 35, 35, 0, 0, 0},
}};

SmartRef<ImageResource> Picture(int n) {
  return n == 0 ? nullptr : SmartRef<ImageResource>(KidResources::GetImage(n));
}

}  // namespace

namespace KidResources {

SmartRef<PaletteLook> Describe(int lookId) {
  for (const LookRow& row : kLooks) {
    if (row.id != lookId) continue;
    SmartRef<PaletteLook> look(new PaletteLook(row.rows, row.columns, row.cellWidth, row.cellHeight));
    look->image = Picture(row.image);
    look->pressedImage = Picture(row.pressedImage);
    look->disabledImage = Picture(row.disabledImage);
    return look;
  }
  AssertFailed("false", kSource.Line(250));
  return nullptr;
}

SoundResource* GetSound(int n) { return gKidResources.GetSoundResource(n); }

ImageResource* GetImage(int n) { return gKidResources.GetImageResource(n); }

}  // namespace KidResources

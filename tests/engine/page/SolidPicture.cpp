#include "engine/page/SolidPicture.h"

#include "engine/kinds/CMoviePic.h"
#include "engine/media/CResource.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/bitmaps/PixelCursor.h"

namespace engine_test {

SmartRef<CMovie> SolidPicture(int width, int height, int colour, bool whiteBorder) {
  const SmartRef<BitMap> bitmap = new BitMap(width, height, ColorTable::GetStandard(8));
  std::int32_t inside = 0, border = 0;
  bitmap->GetColorTable()->IndexOf(Color(colour), &inside);
  bitmap->GetColorTable()->IndexOf(Color(0), &border);
  int i = 0;
  for (PixelCursor cursor(~bitmap, bitmap->GetBounds(), true); cursor.HasRow(); cursor.NextPixel(), ++i) {
    const int x = i % width, y = i / width;
    const bool edge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
    cursor.SetPixel(static_cast<std::uint32_t>(whiteBorder && edge ? border : inside));
  }
  const SmartRef<CResource> resource = new CResource(SmartRef<Smart>(~bitmap));
  return new CMoviePic(~resource);
}

}  // namespace engine_test

// The graphics library's classes of the document numbering (see support/GenericTypeRows.h). Bitmaps and
// colour tables need the screen and the program's palette: the suites run these rows under a
// GraphicsFixture.
#include "support/GenericTypeRows.h"

#include "core/GenericArray.h"
#include "graphics/Area.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/formats/Picture.h"
#include "graphics/bitmaps/PixelCursor.h"

namespace {

// Every pixel a value of its own, and a key colour, so that all the stored fields are exercised.
SmartRef<Smart> MakeBitMap() {
  SmartRef<BitMap> bitmap = new BitMap(5, 3, ColorTable::GetStandard(8), Color(1), true);
  PixelCursor cursor(~bitmap, bitmap->GetBounds(), true);
  for (; cursor.HasRow(); cursor.NextPixel())
    cursor.SetPixel(static_cast<std::uint32_t>(cursor.GetPosition().y * 5 + cursor.GetPosition().x));
  return bitmap;
}

SmartRef<Smart> MakeArea() {
  SmartRef<Area> area = new Area(Rect(1, 2, 30, 40));
  area->Union(Area(Rect(20, 35, 60, 50)));
  return area;
}

SmartRef<Smart> MakeColorTable() {
  GenericArray colors(sizeof(Color), 0);
  for (const Color& c : {Color(0), Color(1), Color(7), Color(0x1234, 0x5678, 0x9ABC, 0)})
    colors.Insert(&c, colors.NumItems(), 1);
  return new ColorTable(colors);
}

const GenericTypeRows graphicsRows{
    {25, &MakeBitMap},
    {29, &MakeArea},
    // Pictures are not archived: the stored one is empty, and reads back empty.
    {31, [] { return SmartRef<Smart>(new Picture()); }},
    {32, &MakeColorTable},
};

}  // namespace

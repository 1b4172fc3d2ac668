#include "engine/page/PageTestSupport.h"

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

CSprite* AddSprite(CMovieGroup& group, CMovie& movie, std::int16_t start, std::int16_t count) {
  const SmartRef<CSprite> sprite = new CSprite(start, SmartRef<CMovie>(&movie), movie.GetBounds());
  sprite->SetFrameCount(count);
  // Sprites of one movie would merge: each comes in as a sprite of its own.
  sprite->SetName(new String(std::to_string(group.GetSpriteCount()).c_str()));
  return group.GetSprite(group.MergeSprite(~sprite));
}

void PlaceAt(CSprite& sprite, std::int16_t frame, const Point& topLeft) {
  Rect bounds;
  sprite.GetMovie()->GetFrameBounds(&bounds, sprite.GetImageIndex(frame));
  const Rect target = Rect::FromSizeAndOrigin(bounds.Size(), topLeft);
  sprite.FitFrameToRect(frame, &target, nullptr);
}

SmartRef<CShow> MakePage(const Rect& bounds, std::int16_t frames) {
  const SmartRef<CMovieGroup> group = new CMovieGroup(bounds);
  if (frames > 1) group->InsertFrames(1, static_cast<std::int16_t>(frames - 1), true, false);
  return new CShow(~group, false);
}

}  // namespace engine_test

#include "engine/page/PageTestSupport.h"

#include "engine/kinds/CMoviePic.h"
#include "engine/kinds/CMovieText.h"
#include "engine/links/CLink.h"
#include "engine/media/CResource.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"

namespace engine_test {

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

SmartRef<CShow> MakeRichPage() {
  const SmartRef<CShow> page = MakePage({0, 0, 480, 360}, 4);
  CMovieGroup& group = GroupOf(*page);
  CSprite* background = AddSprite(group, *SolidPicture(480, 360, 10), 0, 4);
  background->ToggleBackgroundFlag(true);
  const SmartRef<CMovie> opaque = SolidPicture(120, 90, 6, true);
  opaque->ToggleMode4(true);
  CSprite* still = AddSprite(group, *opaque, 0, 4);
  CSprite* moving = AddSprite(group, *SolidPicture(60, 40, 4, true), 0, 4);
  const SmartRef<String> words = new String("Bonjour");
  Point size;
  words->Measure(size, 0);
  const SmartRef<CResource> text = new CResource(SmartRef<Smart>(~words));
  text->SetBounds(0, 0, size.x, size.y);
  const SmartRef<CMovie> textMovie = new CMovieText(~text, {0, 0, size.x, size.y});
  CSprite* caption = AddSprite(group, *textMovie, 0, 4);
  for (std::int16_t f = 0; f < 4; ++f) {
    PlaceAt(*background, f, {0, 0});
    PlaceAt(*still, f, {180, 140});
    PlaceAt(*moving, f, {100 + 70 * f, 160});
    PlaceAt(*caption, f, {20, 20 + 10 * f});
  }
  moving->HideFrames(2, 1);
  moving->SetSound(1, 1, ~MakeSound(std::string("RIFF\4\0\0\0WAVE", 12)));
  const SmartRef<CLink> link = new CLink();
  link->SetHref(new String("http://quillory.example/"));
  moving->SetLink(3, 1, ~link);
  return page;
}

}  // namespace engine_test

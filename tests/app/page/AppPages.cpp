#include "app/page/AppPages.h"

#include <string>

#include "engine/sprites/CSprite.h"

namespace app_test {

SmartRef<CShow> MakePage(int width, int height, std::int16_t frames) {
  const SmartRef<CMovieGroup> group = new CMovieGroup(Rect{0, 0, width, height});
  if (frames > 1) group->InsertFrames(1, static_cast<std::int16_t>(frames - 1), true, false);
  return new CShow(~group, false);
}

CSprite* AddSpriteAt(CMovieGroup& group, CMovie& movie, std::int16_t count, const Point& topLeft, const char* name) {
  const SmartRef<CSprite> made = new CSprite(0, SmartRef<CMovie>(&movie), movie.GetBounds());
  made->SetFrameCount(count);
  // Sprites of one movie would merge: each comes in as a sprite of its own.
  made->SetName(new String(name ? name : std::to_string(group.GetSpriteCount()).c_str()));
  CSprite* sprite = group.GetSprite(group.MergeSprite(~made));
  const Rect target = Rect::FromSizeAndOrigin(movie.GetBounds().Size(), topLeft);
  for (std::int16_t f = 0; f < count; ++f) sprite->FitFrameToRect(f, &target, nullptr);
  return sprite;
}

}  // namespace app_test

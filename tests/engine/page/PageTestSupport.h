// What the page suites share: pictures of solid colours, sprites placed frame by frame, and pages built
// from them.
#pragma once

#include <cstdint>

#include "engine/EngineTestSupport.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/page/SolidPicture.h"

namespace engine_test {

// The engine's fixture with the program's data (its palette) in place.
class PageTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    Prepare(32, Win95);
  }
};

// A sprite of the movie over the page frames [start, start + count), merged into the group; the sprite
// in the group is answered.
CSprite* AddSprite(CMovieGroup& group, CMovie& movie, std::int16_t start, std::int16_t count);
// The sprite's frame placed with its top-left corner at the point, unscaled.
void PlaceAt(CSprite& sprite, std::int16_t frame, const Point& topLeft);

// A page of the size with that many frames and its group.
SmartRef<CShow> MakePage(const Rect& bounds, std::int16_t frames);
inline CMovieGroup& GroupOf(CShow& page) { return *CastSmart<CMovieGroup>(page.GetMovieGroup()); }

// A page of 480 x 360 and four frames, bottom to top: a background picture over the whole page, an opaque
// picture that stays, a keyed picture moving over it (hidden in frame 2, with a sound in frame 1 and a
// link to a web address in frame 3), and a text.
SmartRef<CShow> MakeRichPage();

}  // namespace engine_test

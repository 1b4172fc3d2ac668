// Pages for the application's suites, built as the engine's suites build theirs.
#pragma once

#include <cstdint>

#include "core/String.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"

namespace app_test {

// An empty page of that size with that many frames.
SmartRef<CShow> MakePage(int width, int height, std::int16_t frames = 1);
inline CMovieGroup& GroupOf(CShow& page) { return *CastSmart<CMovieGroup>(page.GetMovieGroup()); }
// A sprite of the movie over the page frames [0, count), its top-left corner at the point in every frame;
// named after its position unless a name is given.
CSprite* AddSpriteAt(CMovieGroup& group, CMovie& movie, std::int16_t count, const Point& topLeft,
                     const char* name = nullptr);

}  // namespace app_test

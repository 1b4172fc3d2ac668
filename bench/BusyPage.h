// The busy page the editor's benchmarks work on: 50 sprites over a background the size of the page.
#pragma once

#include <string>

#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/page/SolidPicture.h"

namespace bench {

inline constexpr int kBusySprites = 50;

// Ten columns of sprites of 60 x 40 in five colours, over a background the size of the page.
inline SmartRef<CShow> BusyPage(int width, int height) {
  const SmartRef<CMovieGroup> group = new CMovieGroup(Rect(0, 0, width, height));
  const auto add = [&](const SmartRef<CMovie>& movie, const Rect& at) {
    const SmartRef<CSprite> sprite = new CSprite(0, movie, at);
    sprite->SetName(new String(std::to_string(group->GetSpriteCount()).c_str()));
    return group->GetSprite(group->MergeSprite(~sprite));
  };
  add(engine_test::SolidPicture(width, height, 3), Rect(0, 0, width, height))->ToggleBackgroundFlag(true);
  for (int i = 0; i < kBusySprites; ++i) {
    const int x = 10 + (i % 10) * (width - 80) / 9, y = 10 + (i / 10) * (height - 60) / 4;
    add(engine_test::SolidPicture(60, 40, 4 + i % 5, true), Rect(x, y, x + 60, y + 40));
  }
  return new CShow(~group, false);
}

}  // namespace bench

// Areas as rectangle lists, checked pixel by pixel against a plain bitmap over many random operations.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "platform/user/RectList.h"

namespace {

constexpr int kSize = 24;
using Pixels = std::array<std::array<bool, kSize>, kSize>;

RECT RandomRect(std::mt19937& random) {
  std::uniform_int_distribution<int> coordinate(-2, kSize + 2);
  int a = coordinate(random), b = coordinate(random), c = coordinate(random), d = coordinate(random);
  return RECT{std::min(a, b), std::min(c, d), std::max(a, b), std::max(c, d)};
}

void Paint(Pixels& pixels, const RECT& r, bool value) {
  for (int y = std::max(0, static_cast<int>(r.top)); y < std::min(kSize, static_cast<int>(r.bottom)); ++y) {
    for (int x = std::max(0, static_cast<int>(r.left)); x < std::min(kSize, static_cast<int>(r.right)); ++x) {
      pixels[y][x] = value;
    }
  }
}

TEST(RectList, MatchesAPixelModelAndStaysDisjoint) {
  std::mt19937 random(1234);
  for (int round = 0; round < 300; ++round) {
    platform::RectList area;
    Pixels model{};
    const RECT bounds{0, 0, kSize, kSize};
    for (int step = 0; step < 8; ++step) {
      const RECT r = platform::IntersectRects(RandomRect(random), bounds);
      switch (random() % 3) {
        case 0: area.Add(r); Paint(model, r, true); break;
        case 1: area.Subtract(r); Paint(model, r, false); break;
        default: {
          area.Intersect(r);
          Pixels kept{};
          for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) kept[y][x] = model[y][x];
          model = kept;
        }
      }
    }
    long long count = 0;
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        ASSERT_EQ(area.Contains(x, y), model[y][x]) << "round " << round << " at " << x << "," << y;
        count += model[y][x];
      }
    }
    // Disjoint rectangles: their areas add up to the number of pixels covered.
    ASSERT_EQ(area.AreaSize(), count) << "round " << round;
    const RECT box = area.Bounds();
    for (const RECT& r : area.Rects()) {
      EXPECT_FALSE(platform::IsRectEmptyValue(r));
      EXPECT_GE(r.left, box.left);
      EXPECT_LE(r.right, box.right);
    }
  }
}

}  // namespace

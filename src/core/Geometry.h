// Integer points and half-open rectangles: the geometry of the whole program. Plain values, stored in
// streams as 32-bit fields in declaration order.
#pragma once

#include <cstdint>

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

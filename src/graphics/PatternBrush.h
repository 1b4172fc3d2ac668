// 8x8 monochrome pattern brushes made from a pattern's eight row bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "graphics/Color.h"
#include "platform/gdi/GdiTypes.h"

class PatternBrushMaker {
 public:
  static constexpr int kBrushSize = 8;
  static constexpr int kBrushDepth = 1;

  // The eight row bytes, row 0 first; any other length fails.
  void Fill(const void* bytes, std::size_t length);
  // A new brush of the pattern, which the caller deletes.
  HBRUSH MakePatternBrush() const;

 private:
  std::array<std::uint8_t, 8> rows{};
};

void CopyPatternBytes(const Pattern& pattern, PatternBrushMaker& maker);

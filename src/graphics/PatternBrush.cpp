#include "graphics/PatternBrush.h"

#include <cstring>

#include "core/Exception.h"
#include "platform/gdi/Gdi.h"

void PatternBrushMaker::Fill(const void* bytes, std::size_t length) {
  CHECK_CALL(length == rows.size());
  std::memcpy(rows.data(), bytes, rows.size());
}

HBRUSH PatternBrushMaker::MakePatternBrush() const {
  // Monochrome bitmaps take 16-bit rows.
  std::array<std::uint8_t, 16> words{};
  for (std::size_t i = 0; i < rows.size(); ++i) words[2 * i] = rows[i];
  HBITMAP bitmap = CHECK_NOT_NULL(CreateBitmap(kBrushSize, kBrushSize, 1, kBrushDepth, words.data()));
  HBRUSH brush = CreatePatternBrush(bitmap);
  const BOOL deleted = DeleteObject(bitmap);
  CHECK_NOT_NULL(brush);
  CHECK_CALL(deleted);
  return brush;
}

void CopyPatternBytes(const Pattern& pattern, PatternBrushMaker& maker) { maker.Fill(pattern.rows.data(), pattern.rows.size()); }

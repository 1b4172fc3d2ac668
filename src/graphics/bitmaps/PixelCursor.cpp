#include "graphics/bitmaps/PixelCursor.h"

#include <algorithm>

#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/OSBitMap.h"

PixelCursor::PixelCursor(BitMap* bitmap, const Rect& rect, bool topFirst) : bitmap(bitmap), rect(rect) {
  OSBitMap* backEnd = bitmap->GetBackEnd();
  lockedBits = backEnd->LockBits(&lockedCopy);
  memory = {static_cast<std::uint8_t*>(lockedBits),
            backEnd->GetRowBytes(0),
            backEnd->GetWidth(),
            backEnd->GetHeight(),
            backEnd->GetBitDepth(),
            backEnd->IsTopDown()};
  Start(topFirst);
}

PixelCursor::~PixelCursor() {
  if (bitmap == nullptr) return;
  bitmap->GetBackEnd()->UnlockBits(true, lockedBits, lockedCopy);
  bitmap->Unlock();
}

PixelCursor::PixelCursor(const PixelMemory& memory, const Rect& rect, bool topFirst) : memory(memory), rect(rect) {
  Start(topFirst);
}

void PixelCursor::Start(bool topFirst) {
  downwards = topFirst;
  rowsInRect = std::max(rect.Height(), 0);
  row = 0;
  x = rect.left;
  y = downwards ? rect.top : rect.bottom - 1;
  PointAtRow();
}

// Rows outside the bitmap (a rectangle hanging off its top or bottom) have no memory: every pixel access
// on them is ignored instead of reaching past the pixel block.
void PixelCursor::PointAtRow() {
  if (!HasRow() || y < 0 || y >= memory.height || memory.bits == nullptr) {
    rowStart = nullptr;
    return;
  }
  const std::int32_t memoryRow = memory.topDown ? y : memory.height - 1 - y;
  rowStart = memory.bits + static_cast<std::ptrdiff_t>(memoryRow) * memory.stride;
}

void PixelCursor::NextRow() {
  ++row;
  x = rect.left;
  y += downwards ? 1 : -1;
  PointAtRow();
}

void PixelCursor::MoveTo(std::int32_t newX, std::int32_t newY) {
  x = newX;
  y = newY;
  row = downwards ? newY - rect.top : rect.bottom - 1 - newY;
  PointAtRow();
}

std::uint8_t* PixelCursor::GetAddress() const {
  if (rowStart == nullptr) return nullptr;
  const std::int32_t left = std::clamp(rect.left, 0, memory.width);
  return rowStart + static_cast<std::ptrdiff_t>(left) * memory.depth / 8;
}

std::int32_t PixelCursor::RowByteCount() const {
  const std::int64_t left = std::clamp(rect.left, 0, memory.width);
  const std::int64_t right = std::clamp(rect.right, 0, memory.width);
  if (right <= left) return 0;
  const std::int64_t first = left * memory.depth / 8;
  const std::int64_t end = (right * memory.depth + 7) / 8;
  return static_cast<std::int32_t>(std::min<std::int64_t>(end - first, memory.stride));
}

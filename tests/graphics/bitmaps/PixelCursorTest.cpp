#include <gtest/gtest.h>

#include <vector>

#include "graphics/bitmaps/PixelCursor.h"

namespace {

// A block of DIB rows of the given size and depth, padded to 32 bits like every back end's.
struct Rows {
  Rows(std::int32_t width, std::int32_t height, std::int16_t depth, bool topDown)
      : bytes(static_cast<std::size_t>(((width * depth + 31) / 32) * 4 * height) + 8, 0xCD) {
    memory = {bytes.data(), ((width * depth + 31) / 32) * 4, width, height, depth, topDown};
  }
  std::vector<std::uint8_t> bytes;  // 8 guard bytes after the rows
  PixelMemory memory;
};

std::uint32_t ValueAt(std::int32_t x, std::int32_t y, std::int16_t depth) {
  const std::uint64_t mask = (std::uint64_t{1} << depth) - 1;
  return static_cast<std::uint32_t>((0x9E3779B1u * static_cast<std::uint32_t>(x * 131 + y * 7 + 1)) & mask);
}

TEST(PixelCursor, RoundTripsEveryDepthInBothRowOrders) {
  for (std::int16_t depth : {1, 2, 4, 8, 16, 24, 32}) {
    for (bool memoryTopDown : {false, true}) {
      for (bool writeTopFirst : {false, true}) {
        SCOPED_TRACE(testing::Message() << "depth " << depth << " memory top-down " << memoryTopDown
                                        << " written top first " << writeTopFirst);
        Rows rows(13, 5, depth, memoryTopDown);
        const Rect all{0, 0, 13, 5};
        {
          PixelCursor cursor(rows.memory, all, writeTopFirst);
          for (; cursor.HasRow(); cursor.NextPixel()) {
            const Point at = cursor.GetPosition();
            cursor.SetPixel(ValueAt(at.x, at.y, depth));
          }
        }
        PixelCursor reader(rows.memory, all, !writeTopFirst);
        int count = 0;
        for (; reader.HasRow(); reader.NextPixel(), ++count) {
          const Point at = reader.GetPosition();
          ASSERT_EQ(reader.GetPixel(), ValueAt(at.x, at.y, depth)) << at.x << "," << at.y;
        }
        EXPECT_EQ(count, 13 * 5);
        for (std::size_t i = rows.bytes.size() - 8; i < rows.bytes.size(); ++i) EXPECT_EQ(rows.bytes[i], 0xCD);
      }
    }
  }
}

TEST(PixelCursor, StartsAtTheTopOrTheBottomOfTheRectangle) {
  for (bool memoryTopDown : {false, true}) {
    Rows rows(4, 6, 8, memoryTopDown);
    PixelCursor top(rows.memory, {1, 2, 3, 5}, true);
    EXPECT_EQ(top.GetPosition(), Point(1, 2));
    top.NextRow();
    EXPECT_EQ(top.GetPosition(), Point(1, 3));
    PixelCursor bottom(rows.memory, {1, 2, 3, 5}, false);
    EXPECT_EQ(bottom.GetPosition(), Point(1, 4));
    bottom.NextPixel();
    bottom.NextPixel();
    EXPECT_EQ(bottom.GetPosition(), Point(1, 3));
    bottom.NextRow();
    bottom.NextRow();
    EXPECT_FALSE(bottom.HasRow());
  }
}

TEST(PixelCursor, PixelLayoutsInMemory) {
  // The first memory row of a bottom-up block is the image's last row.
  Rows rows(4, 2, 24, false);
  std::uint8_t* lastRow = rows.bytes.data();
  lastRow[0] = 0x11;
  lastRow[1] = 0x22;
  lastRow[2] = 0x33;
  PixelCursor cursor(rows.memory, {0, 0, 4, 2}, false);
  EXPECT_EQ(cursor.GetPixel(), 0x332211u) << "blue, green, red in memory is 0xRRGGBB";
  cursor.NextPixel();
  cursor.SetPixel(0x445566);
  EXPECT_EQ(lastRow[3], 0x66);
  EXPECT_EQ(lastRow[5], 0x44);

  struct Case {
    std::int16_t depth;
    std::int32_t x;
    std::uint32_t value;
    std::size_t byte;
    std::uint8_t expected;
  };
  const Case cases[] = {
      {1, 0, 1, 0, 0x80},   {1, 9, 1, 1, 0x40},       {2, 1, 3, 0, 0x30},       {4, 0, 0xA, 0, 0xA0},
      {4, 3, 0x5, 1, 0x05}, {16, 1, 0x1234, 2, 0x34}, {16, 1, 0x1234, 3, 0x12}, {32, 1, 0x11223344, 4, 0x44},
  };
  for (const Case& c : cases) {
    Rows one(16, 1, c.depth, true);
    std::fill(one.bytes.begin(), one.bytes.end(), 0);
    PixelCursor writer(one.memory, {0, 0, 16, 1}, true);
    writer.MoveTo(c.x, 0);
    writer.SetPixel(c.value);
    EXPECT_EQ(one.bytes[c.byte], c.expected) << "depth " << c.depth << " x " << c.x;
    EXPECT_EQ(writer.GetPixel(), c.value);
  }
}

TEST(PixelCursor, OutsideTheBitmapReadsZeroAndWritesNothing) {
  Rows rows(3, 3, 8, false);
  std::fill(rows.bytes.begin(), rows.bytes.end(), 7);
  const std::vector<std::uint8_t> before = rows.bytes;
  PixelCursor cursor(rows.memory, {-2, -2, 6, 6}, true);
  int inside = 0;
  for (; cursor.HasRow(); cursor.NextPixel()) {
    const Point at = cursor.GetPosition();
    const bool in = at.x >= 0 && at.x < 3 && at.y >= 0 && at.y < 3;
    EXPECT_EQ(cursor.GetPixel(), in ? 7u : 0u);
    if (in)
      ++inside;
    else
      cursor.SetPixel(99);
  }
  EXPECT_EQ(inside, 9);
  EXPECT_EQ(rows.bytes, before);
}

TEST(PixelCursor, RowAddressAndByteCount) {
  Rows rows(33, 2, 1, true);
  PixelCursor whole(rows.memory, {0, 0, 33, 2}, true);
  EXPECT_EQ(whole.GetAddress(), rows.bytes.data());
  EXPECT_EQ(whole.RowByteCount(), 5);
  whole.NextRow();
  EXPECT_EQ(whole.GetAddress(), rows.bytes.data() + 8);
  Rows wide(3, 1, 24, true);
  PixelCursor middle(wide.memory, {1, 0, 3, 1}, true);
  EXPECT_EQ(middle.GetAddress(), wide.bytes.data() + 3);
  EXPECT_EQ(middle.RowByteCount(), 6);
}

}  // namespace

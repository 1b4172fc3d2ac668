// The program's cursors: the tools' cursors are there, and each brush cursor holds its brush's shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/user/Cursor.h"

namespace {

const HINSTANCE kProgram = reinterpret_cast<HINSTANCE>(0x400000);

// The cursor's AND mask: true where the cursor paints (black or white) rather than leaving the screen.
std::vector<std::vector<bool>> Shape(UINT id, POINT* hotSpot) {
  const HCURSOR cursor = LoadCursorA(kProgram, MAKEINTRESOURCEA(id));
  EXPECT_NE(cursor, nullptr) << id;
  ICONINFO info{};
  if (cursor == nullptr || !GetIconInfo(cursor, &info)) return {};
  *hotSpot = POINT{static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
  BITMAP bm{};
  GetObjectA(info.hbmMask, sizeof bm, &bm);
  std::vector<BYTE> bits(static_cast<std::size_t>(bm.bmWidthBytes * bm.bmHeight));
  GetBitmapBits(info.hbmMask, static_cast<LONG>(bits.size()), bits.data());
  DeleteObject(info.hbmMask);
  std::vector<std::vector<bool>> shape(static_cast<std::size_t>(bm.bmHeight / 2));
  for (int y = 0; y < bm.bmHeight / 2; ++y)
    for (int x = 0; x < bm.bmWidth; ++x)
      shape[static_cast<std::size_t>(y)].push_back(!(bits[static_cast<std::size_t>(y * bm.bmWidthBytes + x / 8)] & (0x80 >> (x % 8))));
  return shape;
}

TEST(ProgramCursors, BrushCursorsHoldTheirShapeInTheTopLeftCorner) {
  struct Case {
    UINT id;
    int width;
    int height;
    int count;  // pixels of the shape
  };
  for (const Case c : {Case{300, 16, 16, 256}, Case{301, 11, 11, -1}, Case{302, 16, 15, 30}, Case{303, 17, 16, 32},
                       Case{304, 12, 12, 144}, Case{305, 7, 7, -1}, Case{308, 11, 2, 22}, Case{309, 2, 11, 22},
                       Case{314, 4, 4, 16}, Case{315, 4, 4, 12}, Case{316, 4, 4, 8}, Case{318, 2, 2, 4},
                       Case{319, 1, 1, 1}}) {
    SCOPED_TRACE(c.id);
    POINT hot{-1, -1};
    const auto shape = Shape(c.id, &hot);
    ASSERT_EQ(shape.size(), 32u);
    EXPECT_EQ(hot.x, 0);
    EXPECT_EQ(hot.y, 0);
    int right = 0, bottom = 0, count = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        if (shape[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]) {
          right = std::max(right, x + 1);
          bottom = std::max(bottom, y + 1);
          ++count;
        }
    EXPECT_EQ(right, c.width);
    EXPECT_EQ(bottom, c.height);
    if (c.count >= 0) {
      EXPECT_EQ(count, c.count);
    }
  }
  // Falling strokes start at the top left, rising ones at the bottom left.
  POINT hot{};
  EXPECT_TRUE(Shape(302, &hot)[0][0]);
  EXPECT_TRUE(Shape(303, &hot)[15][0]);
  EXPECT_FALSE(Shape(303, &hot)[0][0]);
}

TEST(ProgramCursors, TheToolsCursorsAreThereAndOthersAreMissing) {
  for (UINT id : {201u, 208u, 210u, 219u, 230u, 404u, 405u})
    EXPECT_NE(LoadCursorA(kProgram, MAKEINTRESOURCEA(id)), nullptr) << id;
  for (UINT id : {202u, 211u, 223u, 299u, 320u, 403u, 406u})
    EXPECT_EQ(LoadCursorA(kProgram, MAKEINTRESOURCEA(id)), nullptr) << id;
}

}  // namespace

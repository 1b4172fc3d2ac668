// Flood fill: 4-connected, bounded by colour, by the clip and by the surface.
#include <gtest/gtest.h>

#include "GdiTestSupport.h"

using gditest::Canvas;
using gditest::Rows;

namespace {

// Draws a picture of '#' (black) and '.' (white) onto a 32-bit canvas.
void Draw(Canvas& canvas, std::initializer_list<const char*> rows) {
  int y = 0;
  for (const char* row : rows) {
    for (int x = 0; row[x]; ++x) canvas.SetValue(x, y, row[x] == '#' ? 0x000000 : 0xFFFFFF);
    ++y;
  }
}

TEST(FloodFill, FourConnectedFillNeverLeaksThroughADiagonalGap) {
  Canvas canvas(6, 6, 32);
  Draw(canvas, {"......", ".###..", ".#..#.", ".#..#.", "..##..", "......"});
  gditest::Selected brush(canvas.dc(), CreateSolidBrush(RGB(255, 0, 0)));
  EXPECT_TRUE(ExtFloodFill(canvas.dc(), 2, 2, RGB(255, 255, 255), FLOODFILLSURFACE));
  // The ring has gaps only at corners (diagonal steps): the inside is filled, the outside is not.
  EXPECT_EQ(canvas.Picture(0xFF0000), Rows({"......", "......", "..##..", "..##..", "......", "......"}));
}

TEST(FloodFill, BorderFillStopsAtTheBorderColourWhateverElseItMeets) {
  Canvas canvas(7, 5, 32);
  Draw(canvas, {"#######", "#.....#", "#..#..#", "#.....#", "#######"});
  canvas.SetValue(1, 1, 0x00FF00);  // another colour inside is filled over
  gditest::Selected brush(canvas.dc(), CreateSolidBrush(RGB(255, 0, 0)));
  EXPECT_TRUE(FloodFill(canvas.dc(), 2, 1, RGB(0, 0, 0)));
  EXPECT_EQ(canvas.Picture(0xFF0000), Rows({".......", ".#####.", ".##.##.", ".#####.", "......."}));
  // A seed on the border colour fills nothing.
  EXPECT_FALSE(FloodFill(canvas.dc(), 0, 0, RGB(0, 0, 0)));
}

TEST(FloodFill, SeedOutsideTheSurfaceOrTheClipOrOfAnotherColourFails) {
  Canvas canvas(4, 4, 32);
  canvas.Clear(RGB(255, 255, 255));
  EXPECT_FALSE(ExtFloodFill(canvas.dc(), 4, 0, RGB(255, 255, 255), FLOODFILLSURFACE));
  EXPECT_FALSE(ExtFloodFill(canvas.dc(), -1, 0, RGB(255, 255, 255), FLOODFILLSURFACE));
  EXPECT_FALSE(ExtFloodFill(canvas.dc(), 0, 0, RGB(0, 0, 0), FLOODFILLSURFACE));
  EXPECT_FALSE(ExtFloodFill(canvas.dc(), 0, 0, RGB(255, 255, 255), 7));
  // The clip bounds the fill like a wall.
  HRGN clip = CreateRectRgn(0, 0, 2, 3);
  SelectClipRgn(canvas.dc(), clip);
  DeleteObject(clip);
  SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
  EXPECT_FALSE(ExtFloodFill(canvas.dc(), 3, 3, RGB(255, 255, 255), FLOODFILLSURFACE));
  EXPECT_TRUE(ExtFloodFill(canvas.dc(), 1, 1, RGB(255, 255, 255), FLOODFILLSURFACE));
  EXPECT_EQ(canvas.Picture(0), Rows({"##..", "##..", "##..", "...."}));
}

TEST(FloodFill, FillsWithPatternsAndOnIndexedSurfaces) {
  Canvas canvas(8, 2, 8);
  canvas.Fill(9);
  canvas.SetValue(4, 0, 3);
  canvas.SetValue(4, 1, 3);
  const WORD rows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
  gditest::Selected brush(canvas.dc(), CreatePatternBrush(pattern));
  DeleteObject(pattern);
  SetBkColor(canvas.dc(), RGB(255, 255, 255));
  SetTextColor(canvas.dc(), RGB(0, 0, 0));
  // Index 9 of the 8-bit grey ramp is grey 9: the fill compares indices.
  EXPECT_TRUE(ExtFloodFill(canvas.dc(), 0, 0, RGB(9, 9, 9), FLOODFILLSURFACE));
  EXPECT_EQ(canvas.Picture(255), Rows({"#.#.....", ".#.#...."}));
  EXPECT_EQ(canvas.Picture(0), Rows({".#.#....", "#.#....."}));
}

TEST(FloodFill, MonochromeMaskFillAsTheFillToolUsesIt) {
  // A 1-bit mask: 0 where the picture has the seed's value. The connected zeros around the seed turn white.
  Canvas mask(5, 3, 1);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) mask.SetValue(x, y, 1);
  for (int x : {0, 1, 3}) mask.SetValue(x, 1, 0);
  COLORREF seed = GetPixel(mask.dc(), 0, 1);
  ASSERT_EQ(seed, RGB(0, 0, 0));
  gditest::Selected white(mask.dc(), CreateSolidBrush(RGB(255, 255, 255)));
  EXPECT_TRUE(ExtFloodFill(mask.dc(), 0, 1, seed, FLOODFILLSURFACE));
  EXPECT_EQ(mask.Picture(0), Rows({".....", "...#.", "....."}));
}

}  // namespace

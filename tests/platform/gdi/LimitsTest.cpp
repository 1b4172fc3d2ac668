// Huge and hostile coordinates: refused beyond the drawing range, and within it drawn at the cost of the
// part that shows.
#include <gtest/gtest.h>

#include <climits>

#include "GdiTestSupport.h"

using gditest::Canvas;

namespace {

constexpr int kFar = 50000000;  // within the drawing range, far beyond any surface

TEST(Limits, CoordinatesBeyondTheDrawingRangeAreRefused) {
  Canvas canvas(4, 4, 32);
  canvas.Clear(RGB(255, 255, 255));
  RECT huge{INT_MIN, 0, INT_MAX, 4};
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  SetLastError(0);
  EXPECT_EQ(FillRect(canvas.dc(), &huge, black), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(InvertRect(canvas.dc(), &huge));
  EXPECT_FALSE(Rectangle(canvas.dc(), INT_MIN, 0, 2, 2));
  EXPECT_FALSE(Ellipse(canvas.dc(), 0, 0, INT_MAX, 2));
  EXPECT_FALSE(LineTo(canvas.dc(), INT_MAX, 0));
  EXPECT_FALSE(MoveToEx(canvas.dc(), INT_MIN, 0, nullptr));
  EXPECT_FALSE(BitBlt(canvas.dc(), INT_MAX - 1, 0, 2, 2, canvas.dc(), 0, 0, SRCCOPY));
  EXPECT_FALSE(StretchBlt(canvas.dc(), 0, 0, 4, 4, canvas.dc(), INT_MIN, 0, 4, 4, SRCCOPY));
  EXPECT_FALSE(PatBlt(canvas.dc(), 0, 0, INT_MAX, 1, PATCOPY));
  EXPECT_EQ(GetPixel(canvas.dc(), INT_MAX, 0), CLR_INVALID);
  EXPECT_FALSE(ExtFloodFill(canvas.dc(), INT_MIN, 0, 0, FLOODFILLSURFACE));
  EXPECT_EQ(CreateRectRgn(INT_MIN, 0, 1, 1), nullptr);
  const POINT points[] = {{0, 0}, {INT_MAX, 0}, {0, 3}};
  EXPECT_FALSE(Polygon(canvas.dc(), points, 3));
  // A region moved beyond the range stays where it was.
  HRGN region = CreateRectRgn(0, 0, 2, 2);
  EXPECT_EQ(OffsetRgn(region, INT_MAX, 0), ERROR);
  EXPECT_TRUE(PtInRegion(region, 1, 1));
  DeleteObject(region);
  EXPECT_EQ(canvas.Picture(0), gditest::Rows({"....", "....", "....", "...."}));
}

TEST(Limits, HugeShapesDrawOnlyWhatShows) {
  Canvas canvas(8, 6, 32);
  canvas.Clear(RGB(255, 255, 255));
  SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
  // The outline lies far away; the inside covers the surface.
  EXPECT_TRUE(Ellipse(canvas.dc(), -kFar, -kFar, kFar, kFar));
  EXPECT_EQ(canvas.Picture(0), gditest::Rows({"########", "########", "########", "########", "########", "########"}));
  canvas.Clear(RGB(255, 255, 255));
  EXPECT_TRUE(RoundRect(canvas.dc(), -kFar, 2, kFar, 4, kFar, kFar));
  EXPECT_EQ(canvas.Value(4, 2), 0u);
  EXPECT_EQ(canvas.Value(4, 1), 0xFFFFFFu);
  canvas.Clear(RGB(255, 255, 255));
  MoveToEx(canvas.dc(), -kFar, 3, nullptr);
  EXPECT_TRUE(LineTo(canvas.dc(), kFar, 3));
  EXPECT_EQ(canvas.Picture(0), gditest::Rows({"........", "........", "........", "########", "........", "........"}));
  canvas.Clear(RGB(255, 255, 255));
  gditest::Selected pen(canvas.dc(), CreatePen(PS_SOLID, 5, RGB(0, 0, 0)));
  MoveToEx(canvas.dc(), 3, -kFar, nullptr);
  EXPECT_TRUE(LineTo(canvas.dc(), 3, kFar));
  EXPECT_EQ(canvas.Value(1, 0), 0u);
  EXPECT_EQ(canvas.Value(5, 5), 0u);
  EXPECT_EQ(canvas.Value(6, 5), 0xFFFFFFu);
  // The half above the diagonal y = x.
  const POINT triangle[] = {{-kFar, -kFar}, {kFar, -kFar}, {kFar, kFar}};
  SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
  canvas.Clear(RGB(255, 255, 255));
  EXPECT_TRUE(Polygon(canvas.dc(), triangle, 3));
  EXPECT_EQ(canvas.Value(7, 5), 0u);
  EXPECT_EQ(canvas.Value(0, 5), 0xFFFFFFu);
}

TEST(Limits, HugeStretchesDrawOnlyWhatShows) {
  Canvas source(2, 1, 32), dest(4, 2, 32);
  source.SetValue(0, 0, 0x112233);
  source.SetValue(1, 0, 0x445566);
  for (int mode : {COLORONCOLOR, HALFTONE}) {
    SetStretchBltMode(dest.dc(), mode);
    // Each source pixel covers half of a destination 2 * kFar wide, centred on the surface.
    EXPECT_TRUE(StretchBlt(dest.dc(), -kFar + 2, 0, 2 * kFar, 2, source.dc(), 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(dest.Value(1, 0), 0x112233u);
    EXPECT_EQ(dest.Value(2, 1), 0x445566u);
    // And a huge source reduced onto the surface reads only the pixels that exist.
    EXPECT_TRUE(StretchBlt(dest.dc(), 0, 0, 4, 2, source.dc(), 0, 0, kFar, 1, SRCCOPY));
  }
}

}  // namespace

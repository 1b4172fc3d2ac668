// Region algebra, checked pixel by pixel over many random regions, and the clip a context keeps.
#include <gtest/gtest.h>

#include <random>

#include "GdiTestSupport.h"

namespace {

HRGN RandomRegion(std::mt19937& random) {
  std::uniform_int_distribution<int> coordinate(-4, 20), count(0, 4);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  int n = count(random);
  for (int i = 0; i < n; ++i) {
    HRGN part = CreateRectRgn(coordinate(random), coordinate(random), coordinate(random), coordinate(random));
    CombineRgn(region, region, part, RGN_OR);
    DeleteObject(part);
  }
  return region;
}

bool Expected(int mode, bool a, bool b) {
  switch (mode) {
    case RGN_AND: return a && b;
    case RGN_OR: return a || b;
    case RGN_XOR: return a != b;
    case RGN_DIFF: return a && !b;
    default: return a;
  }
}

void ExpectCanonical(HRGN region) {
  std::vector<RECT> rects = platform::GetRegionRects(region);
  for (std::size_t i = 0; i < rects.size(); ++i) {
    ASSERT_LT(rects[i].left, rects[i].right);
    ASSERT_LT(rects[i].top, rects[i].bottom);
    if (i == 0) continue;
    const RECT& p = rects[i - 1];
    const RECT& r = rects[i];
    if (p.top == r.top) {
      ASSERT_EQ(p.bottom, r.bottom);
      ASSERT_LT(p.right, r.left);  // sorted, neither overlapping nor touching
    } else {
      ASSERT_GE(r.top, p.bottom);
    }
  }
}

TEST(Regions, CombineMatchesSetAlgebraOnEveryPixel) {
  std::mt19937 random(20261210);
  const int modes[] = {RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY};
  for (int round = 0; round < 300; ++round) {
    HRGN a = RandomRegion(random), b = RandomRegion(random), out = CreateRectRgn(0, 0, 0, 0);
    for (int mode : modes) {
      int kind = CombineRgn(out, a, b, mode);
      ExpectCanonical(out);
      bool any = false;
      for (int y = -5; y < 22; ++y) {
        for (int x = -5; x < 22; ++x) {
          bool in = PtInRegion(out, x, y);
          ASSERT_EQ(in, Expected(mode, PtInRegion(a, x, y), PtInRegion(b, x, y)))
              << "round " << round << " mode " << mode << " at " << x << "," << y;
          any |= in;
        }
      }
      RECT box;
      EXPECT_EQ(GetRgnBox(out, &box), kind);
      EXPECT_EQ(kind == NULLREGION, !any);
      // The box is tight: its edges hold pixels of the region.
      if (any) {
        bool leftEdge = false, topEdge = false;
        for (int t = box.top; t < box.bottom; ++t) leftEdge |= PtInRegion(out, box.left, t);
        for (int t = box.left; t < box.right; ++t) topEdge |= PtInRegion(out, t, box.top);
        EXPECT_TRUE(leftEdge && topEdge);
      }
    }
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(out);
  }
}

TEST(Regions, EqualSetsHaveEqualRegionsWhateverTheirConstruction) {
  // Two L shapes made differently.
  HRGN a = CreateRectRgn(0, 0, 10, 5), part = CreateRectRgn(0, 5, 4, 10);
  CombineRgn(a, a, part, RGN_OR);
  HRGN b = CreateRectRgn(0, 0, 4, 10), part2 = CreateRectRgn(4, 0, 10, 5);
  CombineRgn(b, b, part2, RGN_OR);
  EXPECT_TRUE(EqualRgn(a, b));
  EXPECT_EQ(platform::GetRegionRects(a).size(), 2u);
  // Touching bands with the same columns merge into one rectangle.
  HRGN c = CreateRectRgn(0, 0, 4, 5), d = CreateRectRgn(0, 5, 4, 10);
  EXPECT_EQ(CombineRgn(c, c, d, RGN_OR), SIMPLEREGION);
  for (HRGN r : {a, b, c, d, part, part2}) DeleteObject(r);
}

TEST(Regions, OffsetBoxPointsAndRectangles) {
  HRGN region = CreateRectRgn(10, 20, 0, 5);  // reversed corners are normalised
  RECT box;
  EXPECT_EQ(GetRgnBox(region, &box), SIMPLEREGION);
  EXPECT_EQ(gditest::Text(box), "0,5,10,20");
  EXPECT_EQ(OffsetRgn(region, -3, 2), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(region, -3, 7));
  EXPECT_FALSE(PtInRegion(region, 7, 7));  // right edge excluded
  EXPECT_FALSE(PtInRegion(region, 0, 22));  // bottom edge excluded
  RECT touching{7, 7, 9, 9}, inside{6, 21, 8, 30};
  EXPECT_FALSE(RectInRegion(region, &touching));
  EXPECT_TRUE(RectInRegion(region, &inside));
  EXPECT_TRUE(SetRectRgn(region, 0, 0, 0, 0));
  EXPECT_EQ(GetRgnBox(region, &box), NULLREGION);
  DeleteObject(region);
}

TEST(Regions, BadHandlesAndModesFail) {
  HRGN region = CreateRectRgn(0, 0, 1, 1);
  EXPECT_EQ(CombineRgn(region, region, region, 0), ERROR);
  EXPECT_EQ(CombineRgn(region, region, region, 6), ERROR);
  HRGN gone = CreateRectRgn(0, 0, 1, 1);
  DeleteObject(gone);
  EXPECT_EQ(CombineRgn(region, gone, region, RGN_OR), ERROR);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(OffsetRgn(reinterpret_cast<HRGN>(GetStockObject(BLACK_BRUSH)), 1, 1), ERROR);
  EXPECT_FALSE(DeleteObject(gone));
  DeleteObject(region);
}

TEST(Regions, ContextKeepsItsOwnCopyOfTheClip) {
  gditest::Canvas canvas(10, 10, 32);
  canvas.Clear(RGB(255, 255, 255));
  HRGN clip = CreateRectRgn(2, 2, 5, 5);
  EXPECT_EQ(SelectClipRgn(canvas.dc(), clip), SIMPLEREGION);
  // Changing or deleting the caller's region leaves the context's clip as it was selected.
  SetRectRgn(clip, 0, 0, 10, 10);
  DeleteObject(clip);
  RECT box;
  EXPECT_EQ(GetClipBox(canvas.dc(), &box), SIMPLEREGION);
  EXPECT_EQ(gditest::Text(box), "2,2,5,5");
  RECT all{0, 0, 10, 10};
  FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  int black = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) black += canvas.Value(x, y) == 0 ? 1 : 0;
  EXPECT_EQ(black, 9);
  EXPECT_EQ(SelectClipRgn(canvas.dc(), nullptr), SIMPLEREGION);
  EXPECT_EQ(GetClipBox(canvas.dc(), &box), SIMPLEREGION);
  EXPECT_EQ(gditest::Text(box), "0,0,10,10");
}

TEST(Regions, ClipOutsideTheSurfaceIsEmpty) {
  gditest::Canvas canvas(4, 4, 8);
  HRGN clip = CreateRectRgn(10, 10, 20, 20);
  EXPECT_EQ(SelectClipRgn(canvas.dc(), clip), NULLREGION);
  DeleteObject(clip);
  RECT box;
  EXPECT_EQ(GetClipBox(canvas.dc(), &box), NULLREGION);
}

}  // namespace

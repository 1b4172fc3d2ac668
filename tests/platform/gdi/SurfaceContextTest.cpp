// Contexts over a shared screen surface, as the window system uses them: an origin and a system clip.
#include <gtest/gtest.h>

#include "GdiTestSupport.h"

using gditest::Rows;

namespace {

class ScreenSurface : public ::testing::Test {
 protected:
  gditest::Canvas screen{10, 8, 32, {}, true};
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  void SetUp() override { screen.Clear(RGB(255, 255, 255)); }
};

TEST_F(ScreenSurface, DrawsAtTheOriginWithinTheSystemClip) {
  HDC window = platform::CreateSurfaceDC(screen.bitmap());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetObjectType(window), static_cast<DWORD>(OBJ_DC));
  platform::SetDCOrigin(window, POINT{2, 1});
  // Visible: the window's area {2, 1, 9, 7} less a window in front at {6, 0, 10, 4}.
  HRGN visible = CreateRectRgn(2, 1, 9, 7), front = CreateRectRgn(6, 0, 10, 4);
  CombineRgn(visible, visible, front, RGN_DIFF);
  platform::SetDCSystemClip(window, visible);
  DeleteObject(visible);
  DeleteObject(front);
  RECT all{-100, -100, 100, 100};
  FillRect(window, &all, black);
  EXPECT_EQ(screen.Picture(0), Rows({"..........", "..####....", "..####....", "..####....", "..#######.", "..#######.",
                                     "..#######.", ".........."}));
  RECT box;
  EXPECT_EQ(GetClipBox(window, &box), COMPLEXREGION);
  EXPECT_EQ(gditest::Text(box), "0,0,7,6");
  // The context's own clip is in its own coordinates and narrows the system clip.
  screen.Clear(RGB(255, 255, 255));
  HRGN clip = CreateRectRgn(0, 4, 3, 100);
  SelectClipRgn(window, clip);
  DeleteObject(clip);
  FillRect(window, &all, black);
  EXPECT_EQ(screen.Picture(0), Rows({"..........", "..........", "..........", "..........", "..........", "..###.....",
                                     "..###.....", ".........."}));
  // Pixels read and written are in context coordinates too.
  EXPECT_EQ(GetPixel(window, 0, 4), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(window, 0, 3), CLR_INVALID);
  DeleteDC(window);
}

TEST_F(ScreenSurface, ContextsShareTheSurfaceAndMayMoveToANewOne) {
  HDC a = platform::CreateSurfaceDC(screen.bitmap());
  HDC b = platform::CreateSurfaceDC(screen.bitmap());
  platform::SetDCOrigin(b, POINT{5, 0});
  SetPixel(a, 0, 0, RGB(0, 0, 0));
  SetPixel(b, 0, 0, RGB(0, 0, 0));
  EXPECT_EQ(screen.Value(0, 0), 0u);
  EXPECT_EQ(screen.Value(5, 0), 0u);
  // A window context draws into its surface only: no bitmap can be selected into it.
  HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, nullptr);
  EXPECT_EQ(SelectObject(a, bitmap), nullptr);
  gditest::Canvas bigger(20, 10, 32, {}, true);
  bigger.Clear(RGB(255, 255, 255));
  EXPECT_TRUE(platform::SetDCSurface(b, bigger.bitmap()));
  SetPixel(b, 10, 9, RGB(0, 0, 0));
  EXPECT_EQ(bigger.Value(15, 9), 0u);
  POINT origin;
  EXPECT_TRUE(platform::GetDCOrigin(b, &origin));
  EXPECT_EQ(origin.x, 5);
  // Blits between two windows of one surface work like any others.
  BitBlt(a, 1, 1, 1, 1, a, 0, 0, SRCCOPY);
  EXPECT_EQ(screen.Value(1, 1), 0u);
  DeleteObject(bitmap);
  DeleteDC(a);
  DeleteDC(b);
  EXPECT_EQ(screen.Value(5, 0), 0u);  // the surface outlives its contexts
}

TEST_F(ScreenSurface, BrushOriginIsRelativeToTheContext) {
  const WORD rows[8] = {0x80, 0, 0, 0, 0, 0, 0, 0};  // one set bit at the tile's top left
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
  HBRUSH brush = CreatePatternBrush(pattern);
  DeleteObject(pattern);
  HDC window = platform::CreateSurfaceDC(screen.bitmap());
  platform::SetDCOrigin(window, POINT{3, 2});
  SetBkColor(window, RGB(0, 0, 0));
  SetTextColor(window, RGB(255, 255, 255));
  RECT r{0, 0, 7, 6};
  FillRect(window, &r, brush);
  EXPECT_EQ(screen.Value(3, 2), 0u);  // the context's (0, 0)
  EXPECT_EQ(screen.Value(2, 2), 0xFFFFFFu);
  EXPECT_EQ(screen.Value(4, 2), 0xFFFFFFu);
  DeleteDC(window);
  DeleteObject(brush);
}

TEST_F(ScreenSurface, RegionRectanglesComeInBandOrder) {
  HRGN region = CreateRectRgn(0, 0, 10, 10), hole = CreateRectRgn(3, 3, 6, 6);
  CombineRgn(region, region, hole, RGN_DIFF);
  std::vector<RECT> rects = platform::GetRegionRects(region);
  ASSERT_EQ(rects.size(), 4u);
  EXPECT_EQ(rects[0].bottom, 3);
  EXPECT_EQ(rects[1].right, 3);
  EXPECT_EQ(rects[2].left, 6);
  EXPECT_EQ(rects[3].top, 6);
  EXPECT_TRUE(platform::GetRegionRects(nullptr).empty());
  DeleteObject(region);
  DeleteObject(hole);
}

}  // namespace

// Update areas and WM_PAINT: accumulation, exposure by hiding, moving and raising, clipping, validation.
#include <gtest/gtest.h>

#include <climits>

#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"
#include "platform/user/RectList.h"
#include "platform/user/WindowSurface.h"
#include "support/WindowFixture.h"

namespace {

class Painting : public WindowFixture {
 protected:
  // Each WM_PAINT of the window is painted (BeginPaint/EndPaint) and its rcPaint kept.
  void Track(HWND window) {
    Handle(window, [this](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (m != WM_PAINT) return std::nullopt;
      PAINTSTRUCT ps;
      BeginPaint(h, &ps);
      painted[h].push_back(ps.rcPaint);
      EndPaint(h, &ps);
      return 0;
    });
  }
  std::map<HWND, std::vector<RECT>> painted;
};

TEST_F(Painting, HidingAnOverlappingChildPaintsExactlyTheExposedArea) {
  HWND top = MakeTop({0, 0, 300, 300});
  HWND lower = MakeChild(top, {10, 10, 110, 110});
  HWND upper = MakeChild(top, {50, 50, 150, 150});
  for (HWND w : {top, lower, upper}) Track(w);
  Pump();
  painted.clear();
  log.Clear();
  ShowWindow(upper, SW_HIDE);
  Pump();
  ASSERT_EQ(painted[top].size(), 1u);
  EXPECT_EQ(painted[top][0], (RECT{50, 50, 150, 150}));
  ASSERT_EQ(painted[lower].size(), 1u);
  EXPECT_EQ(painted[lower][0], (RECT{40, 40, 100, 100}));
  EXPECT_TRUE(painted[upper].empty());
  // The parent's part leaves out what the lower child covers.
  EXPECT_EQ(log.Count(top, WM_PAINT), 1);
}

TEST_F(Painting, HiddenWindowsGetNoPaint) {
  HWND top = MakeTop({0, 0, 300, 300});
  HWND hiddenChild = MakeChild(top, {10, 10, 60, 60}, WS_CHILD);
  HWND hiddenTop = MakeTop({0, 0, 50, 50}, WS_POPUP);
  Pump();
  log.Clear();
  InvalidateRect(hiddenChild, nullptr, TRUE);
  InvalidateRect(hiddenTop, nullptr, TRUE);
  UpdateWindow(hiddenChild);
  Pump();
  EXPECT_EQ(log.Count(hiddenChild, WM_PAINT), 0);
  EXPECT_EQ(log.Count(hiddenTop, WM_PAINT), 0);
  RECT r;
  EXPECT_FALSE(GetUpdateRect(hiddenChild, &r, FALSE));
  // Shown, it paints all of itself.
  ShowWindow(hiddenChild, SW_SHOW);
  Pump();
  EXPECT_EQ(log.Count(hiddenChild, WM_PAINT), 1);
}

TEST_F(Painting, AWindowThatDoesNotValidateIsAskedAgain) {
  HWND w = MakeTop({0, 0, 100, 100});
  Pump();
  int asked = 0;
  Handle(w, [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_PAINT) ++asked;
    return m == WM_PAINT ? std::optional<LRESULT>(0) : std::nullopt;
  });
  InvalidateRect(w, nullptr, FALSE);
  MSG msg;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
    DispatchMessageA(&msg);
  }
  EXPECT_EQ(asked, 3);
  ValidateRect(w, nullptr);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Painting, InvalidationsAccumulateIntoOnePaint) {
  HWND w = MakeTop({0, 0, 200, 200});
  Track(w);
  Pump();
  painted.clear();
  RECT a{10, 10, 20, 20}, b{50, 60, 70, 80};
  InvalidateRect(w, &a, FALSE);
  InvalidateRect(w, &b, FALSE);
  RECT bounds;
  EXPECT_TRUE(GetUpdateRect(w, &bounds, FALSE));
  EXPECT_EQ(bounds, (RECT{10, 10, 70, 80}));
  RECT part{50, 60, 70, 80};
  ValidateRect(w, &part);
  InvalidateRect(w, &b, FALSE);
  Pump();
  ASSERT_EQ(painted[w].size(), 1u);
  EXPECT_EQ(painted[w][0], (RECT{10, 10, 70, 80}));
}

// Rectangles reaching the ends of the integer range (a caller's "everything") invalidate and validate the
// part of the window they cover, like any other.
TEST_F(Painting, RectanglesOfTheWholeIntegerRangeCoverTheWindow) {
  HWND w = MakeTop({0, 0, 200, 200});
  HWND child = MakeChild(w, {10, 10, 60, 60});
  Track(w);
  Pump();
  painted.clear();
  const RECT huge[] = {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {0, 0, INT_MAX, INT_MAX}, {INT_MIN, INT_MIN, 100, 100}};
  const RECT expected[] = {{0, 0, 200, 200}, {0, 0, 200, 200}, {0, 0, 100, 100}};
  for (std::size_t i = 0; i < std::size(huge); ++i) {
    EXPECT_TRUE(InvalidateRect(w, &huge[i], FALSE));
    RECT bounds{};
    EXPECT_TRUE(GetUpdateRect(w, &bounds, FALSE)) << i;
    EXPECT_EQ(bounds, expected[i]);
    EXPECT_TRUE(ValidateRect(w, &huge[i]));
    EXPECT_FALSE(GetUpdateRect(w, &bounds, FALSE)) << i;
  }
  EXPECT_TRUE(RedrawWindow(w, &huge[0], nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN));
  RECT childBounds{};
  EXPECT_TRUE(GetUpdateRect(child, &childBounds, FALSE));
  EXPECT_EQ(childBounds, (RECT{0, 0, 50, 50}));
}

TEST_F(Painting, RegionsInvalidateAndValidateExactly) {
  HWND w = MakeTop({0, 0, 200, 200});
  Pump();
  HRGN shape = CreateRectRgn(10, 10, 50, 20);
  HRGN bar = CreateRectRgn(10, 10, 20, 80);
  CombineRgn(shape, shape, bar, RGN_OR);
  InvalidateRgn(w, shape, FALSE);
  HRGN update = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetUpdateRgn(w, update, FALSE), COMPLEXREGION);
  EXPECT_TRUE(EqualRgn(update, shape));
  ValidateRgn(w, bar);
  HRGN rest = CreateRectRgn(20, 10, 50, 20);
  GetUpdateRgn(w, update, FALSE);
  EXPECT_TRUE(EqualRgn(update, rest));
  EXPECT_FALSE(InvalidateRgn(w, reinterpret_cast<HRGN>(0x4321), FALSE));  // not a region
  for (HRGN r : {shape, bar, update, rest}) DeleteObject(r);
}

TEST_F(Painting, UpdateWindowPaintsAtOnceAndOnlyWhenNeeded) {
  HWND top = MakeTop({0, 0, 200, 200});
  HWND child = MakeChild(top, {0, 0, 50, 50});
  Pump();
  log.Clear();
  UpdateWindow(top);
  EXPECT_EQ(log.Count(top, WM_PAINT), 0);
  InvalidateRect(top, nullptr, FALSE);  // without WS_CLIPCHILDREN the children are included
  UpdateWindow(top);
  EXPECT_EQ(log.Count(top, WM_PAINT), 1);
  EXPECT_EQ(log.Count(child, WM_PAINT), 1);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(log.Count(child, WM_PAINT), 2);
}

TEST_F(Painting, EraseIsAskedOnlyWhenTheInvalidationAskedForIt) {
  HWND w = MakeTop({0, 0, 100, 100});
  Pump();
  log.Clear();
  InvalidateRect(w, nullptr, FALSE);
  Pump();
  EXPECT_EQ(log.Count(w, WM_ERASEBKGND), 0);
  InvalidateRect(w, nullptr, TRUE);
  RECT first{0, 0, 10, 10};
  InvalidateRect(w, &first, FALSE);
  Pump();
  EXPECT_EQ(log.Count(w, WM_ERASEBKGND), 1);
}

TEST_F(Painting, MovingAndRaisingRepaintWhatTheyUncover) {
  HWND top = MakeTop({0, 0, 300, 300});
  HWND lower = MakeChild(top, {10, 10, 110, 110});
  HWND upper = MakeChild(top, {60, 60, 160, 160});
  for (HWND w : {top, lower, upper}) Track(w);
  Pump();
  painted.clear();
  // Raising the lower child repaints only the part of it that was covered.
  SetWindowPos(lower, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Pump();
  ASSERT_EQ(painted[lower].size(), 1u);
  EXPECT_EQ(painted[lower][0], (RECT{50, 50, 100, 100}));
  EXPECT_TRUE(painted[top].empty());
  EXPECT_TRUE(painted[upper].empty());
  painted.clear();
  // Moving it away uncovers the parent and the other child where it was.
  MoveWindow(lower, 200, 200, 100, 100, TRUE);
  Pump();
  ASSERT_EQ(painted[top].size(), 1u);
  EXPECT_EQ(painted[top][0], (RECT{10, 10, 110, 110}));
  ASSERT_EQ(painted[upper].size(), 1u);
  EXPECT_EQ(painted[upper][0], (RECT{0, 0, 50, 50}));
  ASSERT_EQ(painted[lower].size(), 1u);
  EXPECT_EQ(painted[lower][0], (RECT{0, 0, 100, 100}));
}

TEST_F(Painting, DrawingExcludesChildrenAndSiblingsAbove) {
  HWND top = MakeTop({100, 100, 400, 400});
  HWND lower = MakeChild(top, {10, 10, 110, 110});
  MakeChild(top, {60, 60, 160, 160});
  HWND inner = MakeChild(lower, {0, 0, 20, 20});
  Pump();
  using platform::RectList;
  const platform::DrawTarget parent = platform::WindowDrawTarget(top, true);
  RectList expected(RECT{0, 0, 300, 300});
  expected.Subtract(RECT{10, 10, 110, 110});
  expected.Subtract(RECT{60, 60, 160, 160});
  EXPECT_TRUE(parent.clip.SameArea(expected));
  const platform::DrawTarget below = platform::WindowDrawTarget(lower, true);
  EXPECT_EQ(below.origin.x, 10);
  RectList belowExpected(RECT{10, 10, 110, 110});
  belowExpected.Subtract(RECT{60, 60, 160, 160});
  belowExpected.Subtract(RECT{10, 10, 30, 30});
  EXPECT_TRUE(below.clip.SameArea(belowExpected));
  EXPECT_EQ(platform::WindowDrawTarget(inner, true).clip.AreaSize(), 400);
  ShowWindow(top, SW_HIDE);
  EXPECT_TRUE(platform::WindowDrawTarget(inner, true).clip.Empty());
}

TEST_F(Painting, AContextOfADestroyedWindowCannotBeGivenBack) {
  HWND top = MakeTop({0, 0, 100, 100});
  for (const bool painting : {false, true}) {
    HWND child = MakeChild(top, {10, 10, 50, 50});
    PAINTSTRUCT ps{};
    InvalidateRect(child, nullptr, FALSE);
    HDC dc = painting ? BeginPaint(child, &ps) : GetDC(child);
    ASSERT_NE(dc, nullptr);
    DestroyWindow(child);
    SetLastError(0);
    EXPECT_EQ(painting ? EndPaint(child, &ps) : ReleaseDC(child, dc), 0) << painting;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE)) << painting;
  }
  SetLastError(0);
}

}  // namespace

// Painting as the pixels show it: erasing with the class brush, the clip of BeginPaint and GetDC.
#include <gtest/gtest.h>

#include "platform/DemoWindow.h"
#include "platform/user/Screen.h"
#include "platform/gdi/Gdi.h"
#include "support/WindowFixture.h"
#include "support/ScreenPixels.h"

namespace {

constexpr std::uint32_t kBrush = 0x0000A000;
constexpr std::uint32_t kMark = 0x00FF00FF;

class PaintPixels : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    brush = CreateSolidBrush(ColorRefOf(kBrush));
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hbrBackground = brush;
    wc.lpszClassName = "Brushed";
    ASSERT_NE(RegisterClassA(&wc), 0);
  }
  void TearDown() override {
    WindowFixture::TearDown();
    DeleteObject(brush);
  }
  HBRUSH brush = nullptr;
};

TEST_F(PaintPixels, TheClassBrushErasesExactlyTheUpdateArea) {
  HWND w = CreateWindowExA(0, "Brushed", "", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr, nullptr,
                           nullptr);
  Pump();
  EXPECT_EQ(ScreenPixel(100, 100), kBrush);
  EXPECT_EQ(ScreenPixel(299, 199), kBrush);
  EXPECT_EQ(ScreenPixel(300, 200), platform::kDesktopColour);
  FillVisible(w, kMark);
  RECT part{10, 20, 30, 40};
  InvalidateRect(w, &part, TRUE);
  Pump();
  EXPECT_EQ(ScreenPixel(110, 120), kBrush);
  EXPECT_EQ(ScreenPixel(129, 139), kBrush);
  EXPECT_EQ(ScreenPixel(130, 139), kMark);
  EXPECT_EQ(ScreenPixel(109, 120), kMark);
  // Invalidated without erasing, the old pixels stay for the window to paint over.
  InvalidateRect(w, nullptr, FALSE);
  FillVisible(w, kMark);
  Pump();
  EXPECT_EQ(ScreenPixel(110, 120), kMark);
}

TEST_F(PaintPixels, DrawingLeavesChildrenAndSiblingsAboveAlone) {
  HWND top = MakeTop({0, 0, 300, 300});
  HWND lower = MakeChild(top, {10, 10, 110, 110});
  HWND upper = MakeChild(top, {60, 60, 160, 160});
  Pump();
  FillVisible(upper, 0x00000003);
  FillVisible(lower, 0x00000002);
  FillVisible(top, 0x00000001);
  EXPECT_EQ(ScreenPixel(5, 5), 0x00000001u);
  EXPECT_EQ(ScreenPixel(20, 20), 0x00000002u);
  EXPECT_EQ(ScreenPixel(70, 70), 0x00000003u);  // the lower child did not draw over the upper one
  EXPECT_EQ(ScreenPixel(159, 159), 0x00000003u);
  EXPECT_EQ(ScreenPixel(160, 159), 0x00000001u);
}

TEST_F(PaintPixels, BeginPaintDrawsOnlyInTheUpdateArea) {
  HWND w = MakeTop({0, 0, 100, 100});
  Pump();
  FillVisible(w, kMark);
  Handle(w, [](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m != WM_PAINT) return std::nullopt;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    HBRUSH b = CreateSolidBrush(ColorRefOf(kBrush));
    RECT all{0, 0, 100, 100};
    FillRect(dc, &all, b);
    DeleteObject(b);
    EndPaint(h, &ps);
    return 0;
  });
  const std::size_t objects = platform::CountGdiObjects();
  RECT a{0, 0, 10, 10}, b{50, 50, 60, 60};
  InvalidateRect(w, &a, FALSE);
  InvalidateRect(w, &b, FALSE);
  Pump();
  EXPECT_EQ(ScreenPixel(5, 5), kBrush);
  EXPECT_EQ(ScreenPixel(55, 55), kBrush);
  EXPECT_EQ(ScreenPixel(30, 30), kMark);  // inside the paint's bounds, outside its area
  EXPECT_EQ(platform::CountGdiObjects(), objects);  // no context or region left over
}

// Every window has a context to draw with, as the system's do, even one with no pixels to show yet (no
// size) or too large to hold them: drawing through it changes nothing.
TEST_F(PaintPixels, WindowsWithoutPixelsStillGiveAContext) {
  const RECT places[] = {{0, 0, 0, 0}, {10, 10, 10, 60}, {0, 0, 100000, 100000}};
  for (const RECT& place : places) {
    HWND w = MakeTop(place);
    HWND child = MakeChild(w, {0, 0, 20, 20});
    Pump();
    for (HWND window : {w, child}) {
      const std::size_t objects = platform::CountGdiObjects();
      HDC dc = GetDC(window);
      ASSERT_NE(dc, nullptr) << place.right;
      RECT box{1, 1, 1, 1};
      EXPECT_EQ(GetClipBox(dc, &box), NULLREGION);
      EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
      RECT all{0, 0, 50, 50};
      EXPECT_TRUE(FillRect(dc, &all, brush));
      EXPECT_EQ(ReleaseDC(window, dc), 1);
      EXPECT_EQ(platform::CountGdiObjects(), objects);
    }
    DestroyWindow(w);
  }
  EXPECT_EQ(ScreenPixel(5, 5), platform::kDesktopColour);
}

}  // namespace

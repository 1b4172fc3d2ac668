// A view tree on a real window of the headless screen: invalidation reaches the window system, whose paint
// messages draw the tree, and the composed screen shows it.
#include <gtest/gtest.h>

#include "graphics/bitmaps/ColorTable.h"
#include "platform/user/Screen.h"
#include "platform/user/Paint.h"
#include "support/WindowFixture.h"
#include "ui/ViewTestSupport.h"
#include "support/ScreenPixels.h"

namespace {

// The device of one native window, as a window's frame is: paints go through BeginPaint, other drawing
// through GetDC, and invalid areas are handed to the window system.
class NativeWindowDevice : public DisplayDevice {
 public:
  explicit NativeWindowDevice(HWND window) : DisplayDevice(Color(0), true), window(window) {}
  void BeginDraw(int mode) override {
    if (!IsDrawing()) {
      painting = mode == 1;
      RECT update;
      if (painting && GetUpdateRect(window, &update, FALSE))
        DisplayDevice::InvalidateArea(Area(Rect(update.left, update.top, update.right, update.bottom)),
                                      Area::emptyArea());
      dc = painting ? BeginPaint(window, &paint) : ::GetDC(window);
    }
    DisplayDevice::BeginDraw(mode);
  }
  void EndDraw() override {
    DisplayDevice::EndDraw();
    if (IsDrawing()) return;
    if (painting)
      EndPaint(window, &paint);
    else
      ReleaseDC(window, dc);
    dc = nullptr;
  }
  void GetBounds(Rect* bounds) const override {
    RECT client;
    GetClientRect(window, &client);
    *bounds = Rect(client.left, client.top, client.right, client.bottom);
  }
  ColorTable* GetColorTable() const override { return ColorTable::GetStandard(32); }
  void InvalidateArea(const Area& area, const Area& second) override {
    DisplayDevice::InvalidateArea(area, second);
    for (std::int32_t n = 1; n <= area.NumRects(); ++n) {
      const Rect r = area.GetRect(n);
      const RECT native{r.left, r.top, r.right, r.bottom};
      InvalidateRect(window, &native, FALSE);
    }
  }
  bool NeedsUpdate() const override {
    RECT update;
    return DisplayDevice::NeedsUpdate() || GetUpdateRect(window, &update, FALSE);
  }
  HDC GetDC() const override { return dc; }
  std::int16_t GetDepth() const override { return 32; }

 private:
  HWND window;
  HDC dc = nullptr;
  PAINTSTRUCT paint{};
  bool painting = false;
};

class ViewOnWindow : public WindowFixture {
 protected:
  static constexpr int kLeft = 40, kTop = 30;
  void SetUp() override {
    WindowFixture::SetUp();
    window = MakeTop({kLeft, kTop, kLeft + 60, kTop + 40});
    device = new NativeWindowDevice(window);
    notifier = new WindowNotifier;
    root = new RootView(~device, ~notifier);
    Handle(window, [this](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (message != WM_PAINT) return std::nullopt;
      ++paints;
      root->Redraw(~device);
      return 0;
    });
  }
  void TearDown() override {
    root = nullptr;
    WindowFixture::TearDown();
  }
  SmartRef<ProbeView> Painter(const Rect& frame, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    SmartRef<ProbeView> view(new ProbeView(~root, frame, nullptr, "P"));
    view->paint = true;
    view->color = Color::FromRGB8(r, g, b);
    root->AddSubview(~view);
    return view;
  }
  // The screen's pixel at a point of the window's client area.
  static std::uint32_t At(int x, int y) {
    return ScreenPixel(kLeft + x, kTop + y);
  }

  HWND window = nullptr;
  SmartRef<NativeWindowDevice> device;
  SmartRef<WindowNotifier> notifier;
  SmartRef<RootView> root;
  int paints = 0;
};

TEST_F(ViewOnWindow, TheWindowSystemsPaintsDrawTheTreeWhereItChanged) {
  auto red = Painter({10, 10, 30, 30}, 255, 0, 0);
  auto blue = Painter({20, 20, 50, 35}, 0, 0, 255);
  blue->Show(false);
  root->Show(true);
  Pump();
  EXPECT_EQ(At(10, 10), 0xFF0000u);
  EXPECT_EQ(At(29, 29), 0xFF0000u);
  EXPECT_EQ(At(30, 30), 0xFFFFFFu);
  EXPECT_EQ(At(45, 25), 0xFFFFFFu);

  blue->Show(true);
  const int before = paints;
  Pump();
  EXPECT_EQ(paints, before + 1);
  EXPECT_EQ(At(25, 25), 0x0000FFu);
  EXPECT_EQ(At(49, 34), 0x0000FFu);
  EXPECT_EQ(At(15, 15), 0xFF0000u);

  // Moving the front view uncovers what lay behind it.
  blue->SetBounds(40, 0, 60, 10);
  Pump();
  EXPECT_EQ(At(25, 25), 0xFF0000u);
  EXPECT_EQ(At(35, 25), 0xFFFFFFu);
  EXPECT_EQ(At(45, 5), 0x0000FFu);
  EXPECT_EQ(Pump(), 0) << "nothing is left to paint";
}

}  // namespace

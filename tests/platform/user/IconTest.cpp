// The program's icons: loaded by number from their picture and mask, refused when damaged, and shown by
// the back end as the icon of the program's main window.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"
#include "platform/screen/Backend.h"
#include "platform/user/Cursor.h"
#include "platform/user/Icon.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "support/WindowFixture.h"

namespace {

using Icons = WindowFixture;

// A packed 32-bit DIB of 3 x 2 pixels, 0x00RRGGBB, given top row first (the DIB holds the bottom row
// first).
std::vector<BYTE> PackedDIB(const std::uint32_t (&top)[3], const std::uint32_t (&bottom)[3]) {
  BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), 3, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<BYTE> bytes(sizeof header + 2 * 3 * 4);
  std::memcpy(bytes.data(), &header, sizeof header);
  std::memcpy(bytes.data() + sizeof header, bottom, sizeof bottom);
  std::memcpy(bytes.data() + sizeof header + sizeof bottom, top, sizeof top);
  return bytes;
}

const std::vector<BYTE> kPicture = PackedDIB({0xFF0000, 0x00FF00, 0x0000FF}, {0x123456, 0xFFFFFF, 0x000000});
// The middle of the top row and the right of the bottom row are left out.
const BYTE kMask[] = {0x40, 0, 0, 0, 0x20, 0, 0, 0};
const BYTE kShortMask[] = {0x40, 0, 0, 0};

TEST_F(Icons, AnIconLoadsByNumberWithItsMaskAsTransparency) {
  static const platform::IconResource kIcons[] = {
      {9100, kPicture, kMask},
      {9101, std::span<const BYTE>(kPicture).first(30), kMask},  // the rows cut off
      {9102, kPicture, kShortMask},
  };
  platform::RegisterIconResources(kIcons);
  const HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(9100));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(9100)), icon);
  const platform::IconImage* image = platform::IconImageOf(icon);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 3);
  EXPECT_EQ(image->height, 2);
  EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{0xFFFF0000, 0, 0xFF0000FF, 0xFF123456, 0xFFFFFFFF, 0}));

  // Its colours and its mask, as the drawing layer reads them back.
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  EXPECT_TRUE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 1u);
  EXPECT_EQ(info.yHotspot, 1u);
  std::uint32_t colours[6] = {}, mask[6] = {};
  BITMAPINFO read{};
  read.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 3, -2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(nullptr);
  ASSERT_EQ(GetDIBits(screen, info.hbmColor, 0, 2, colours, &read, DIB_RGB_COLORS), 2);
  ASSERT_EQ(GetDIBits(screen, info.hbmMask, 0, 2, mask, &read, DIB_RGB_COLORS), 2);
  ReleaseDC(nullptr, screen);
  // Black where the mask leaves the pixel out, so that drawing through the mask leaves the screen there.
  EXPECT_EQ(std::vector<std::uint32_t>(colours, colours + 6),
            (std::vector<std::uint32_t>{0xFF0000, 0, 0x0000FF, 0x123456, 0xFFFFFF, 0}));
  for (int i = 0; i < 6; ++i) EXPECT_EQ(mask[i] & 0xFFFFFF, i == 1 || i == 5 ? 0xFFFFFFu : 0u) << i;
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);

  for (int id : {9101, 9102, 9199}) {
    SetLastError(0);
    EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(id)), nullptr) << id;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND)) << id;
  }
  EXPECT_EQ(platform::IconImageOf(nullptr), nullptr);
}

// Delivers what is queued, then once more with the queue empty, when the back end is shown what changed.
void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Records the icons it is told to show.
class IconRecorder : public platform::Backend {
 public:
  explicit IconRecorder(std::vector<std::vector<std::uint32_t>>* shown) : shown(shown) {}
  void PumpInput(DWORD) override {}
  void Present(const std::uint32_t*, int, int) override {}
  void ShowWindowIcon(const std::uint32_t* pixels, int width, int height) override {
    shown->push_back(pixels == nullptr ? std::vector<std::uint32_t>{}
                                       : std::vector<std::uint32_t>(pixels, pixels + width * height));
  }
  std::vector<std::vector<std::uint32_t>>* shown;
};

TEST_F(Icons, TheBackEndShowsTheMainWindowsClassIconOnceAndAgainWhenItChanges) {
  static const platform::IconResource kIcons[] = {{9110, kPicture, kMask}};
  platform::RegisterIconResources(kIcons);
  WNDCLASSA withIcon{};
  withIcon.lpfnWndProc = &DefWindowProcA;
  withIcon.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(9110));
  withIcon.lpszClassName = "IconTestMain";
  ASSERT_NE(RegisterClassA(&withIcon), 0);

  std::vector<std::vector<std::uint32_t>> shown;
  platform::SetBackend(std::make_unique<IconRecorder>(&shown));
  Pump();
  ASSERT_EQ(shown.size(), 1u);  // no window yet: no icon
  EXPECT_TRUE(shown[0].empty());

  HWND main = CreateWindowExA(0, "IconTestMain", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 80, nullptr,
                              nullptr, nullptr, nullptr);
  ASSERT_NE(main, nullptr);
  Pump();
  Pump();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1], platform::IconImageOf(withIcon.hIcon)->pixels);

  DestroyWindow(main);
  Pump();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_TRUE(shown[2].empty());
  platform::SetBackend(nullptr);
  UnregisterClassA("IconTestMain", nullptr);
}

}  // namespace

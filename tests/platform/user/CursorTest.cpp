// Cursors: standard and program cursors, the current cursor and its display counter, masks for stamping,
// and the cursor the SDL window shows.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/backend/SdlBackend.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Cursor.h"
#include "support/WindowFixture.h"

namespace {

using Cursors = WindowFixture;

TEST_F(Cursors, StandardCursorsAreSharedAndProgramCursorsComeByIdOrNotAtAll) {
  const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
  for (LPCSTR id : {IDC_IBEAM, IDC_WAIT, IDC_CROSS, IDC_UPARROW, IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL, IDC_NO}) {
    const HCURSOR c = LoadCursorA(nullptr, id);
    EXPECT_NE(c, nullptr);
    EXPECT_NE(c, arrow);
  }
  EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(201)), nullptr);

  static const platform::CursorResource kPen[] = {{9201, 4, 3, 1, 2, "#..#"
                                                                     ".oo."
                                                                     "~..#"}};
  platform::RegisterCursorResources(kPen);
  const auto module = reinterpret_cast<HINSTANCE>(0x400000);
  const HCURSOR pen = LoadCursorA(module, MAKEINTRESOURCEA(9201));
  ASSERT_NE(pen, nullptr);
  // A missing cursor gives null, so that the caller can fall back on a cursor it knows is there.
  SetLastError(0);
  EXPECT_EQ(LoadCursorA(module, MAKEINTRESOURCEA(9299)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));

  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(pen, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 1u);
  EXPECT_EQ(info.yHotspot, 2u);
  EXPECT_EQ(info.hbmColor, nullptr);
  BITMAP bm{};
  ASSERT_EQ(GetObjectA(info.hbmMask, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 4);
  EXPECT_EQ(bm.bmHeight, 6);  // the AND mask stacked above the XOR mask
  EXPECT_EQ(bm.bmBitsPixel, 1);
  BYTE bits[12] = {};
  ASSERT_EQ(GetBitmapBits(info.hbmMask, sizeof bits, bits), 12);
  // Rows of 16 bits: AND 0110, 1001, 1110 then XOR 0000, 0110, 1000.
  const BYTE expected[12] = {0x60, 0, 0x90, 0, 0xE0, 0, 0x00, 0, 0x60, 0, 0x80, 0};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(bits[i], expected[i]) << i;
  DeleteObject(info.hbmMask);
}

TEST_F(Cursors, MadeCursorsRoundTripTheirMasks) {
  const BYTE andPlane[4] = {0xF0, 0x00, 0x0F, 0x00};
  const BYTE xorPlane[4] = {0xCC, 0x00, 0x33, 0x00};
  const HCURSOR made = CreateCursor(nullptr, 3, 1, 8, 2, andPlane, xorPlane);
  ASSERT_NE(made, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(made, &info));
  BYTE bits[8] = {};
  ASSERT_EQ(GetBitmapBits(info.hbmMask, sizeof bits, bits), 8);
  const BYTE expected[8] = {0xF0, 0, 0x0F, 0, 0xCC, 0, 0x33, 0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(bits[i], expected[i]) << i;
  DeleteObject(info.hbmMask);
  EXPECT_EQ(CreateCursor(nullptr, 9, 0, 8, 2, andPlane, xorPlane), nullptr);  // hot spot outside
  SetCursor(made);
  EXPECT_TRUE(DestroyCursor(made));
  EXPECT_EQ(GetCursor(), nullptr);
  EXPECT_FALSE(DestroyCursor(made));
  EXPECT_FALSE(GetIconInfo(made, &info));
  EXPECT_TRUE(DestroyCursor(LoadCursorA(nullptr, IDC_WAIT)));  // shared: stays usable
  EXPECT_NE(SetCursor(LoadCursorA(nullptr, IDC_WAIT)), reinterpret_cast<HCURSOR>(1));
  EXPECT_TRUE(GetIconInfo(LoadCursorA(nullptr, IDC_WAIT), &info));
  DeleteObject(info.hbmMask);
}

TEST_F(Cursors, TheCursorShowsWhileItsCounterIsNotNegative) {
  const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  EXPECT_EQ(SetCursor(arrow), nullptr);
  ASSERT_NE(platform::ShownCursor(), nullptr);
  EXPECT_EQ(platform::ShownCursor()->hotX, 0);
  struct Step {
    BOOL show;
    int count;
    bool shown;
  };
  for (const Step s : {Step{FALSE, -1, false}, Step{FALSE, -2, false}, Step{TRUE, -1, false}, Step{TRUE, 0, true},
                       Step{TRUE, 1, true}, Step{FALSE, 0, true}}) {
    EXPECT_EQ(ShowCursor(s.show), s.count);
    EXPECT_EQ(platform::ShownCursor() != nullptr, s.shown) << s.count;
  }
  SetCursor(nullptr);
  EXPECT_EQ(platform::ShownCursor(), nullptr);
}

TEST_F(Cursors, TheSdlWindowShowsTheCursor) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  std::string error;
  auto sdl = platform::SdlBackend::Open("Quillory cursors", &error);
  ASSERT_TRUE(sdl) << error;
  platform::SdlBackend* shown = sdl.get();
  platform::SetBackend(std::move(sdl));
  SetCursor(LoadCursorA(nullptr, IDC_CROSS));
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
  EXPECT_TRUE(shown->CursorVisible());
  ShowCursor(FALSE);
  PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
  EXPECT_FALSE(shown->CursorVisible());
  ShowCursor(TRUE);
  PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
  EXPECT_TRUE(shown->CursorVisible());
  platform::SetBackend(nullptr);
}

}  // namespace

// Logical palettes, the true-colour screen, and an 8-bit palette screen.
#include <gtest/gtest.h>

#include <vector>

#include "GdiTestSupport.h"
#include "platform/user/Paint.h"

namespace {

HPALETTE MakePalette(const std::vector<PALETTEENTRY>& entries) {
  std::vector<BYTE> bytes(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(bytes.data());
  log->palVersion = 0x300;
  log->palNumEntries = static_cast<WORD>(entries.size());
  std::copy(entries.begin(), entries.end(), log->palPalEntry);
  return CreatePalette(log);
}

TEST(Palettes, EntriesAndNearestIndexWithTiesToTheLowerIndex) {
  HPALETTE palette = MakePalette({{0, 0, 0, 0}, {100, 0, 0, 0}, {0, 100, 0, 0}, {100, 0, 0, PC_NOCOLLAPSE}});
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 4u);
  PALETTEENTRY entries[4] = {};
  EXPECT_EQ(GetPaletteEntries(palette, 2, 10, entries), 2u);
  EXPECT_EQ(entries[0].peGreen, 100);
  EXPECT_EQ(entries[1].peFlags, PC_NOCOLLAPSE);
  EXPECT_EQ(GetNearestPaletteIndex(palette, RGB(90, 0, 0)), 1u);      // 1 and 3 tie: the lower wins
  EXPECT_EQ(GetNearestPaletteIndex(palette, RGB(60, 60, 0)), 1u);     // 1 and 2 tie
  EXPECT_EQ(GetNearestPaletteIndex(palette, PALETTERGB(0, 90, 10)), 2u);
  WORD count = 0;
  EXPECT_EQ(GetObject(palette, sizeof(count), &count), 2);
  EXPECT_EQ(count, 4);
  DeleteObject(palette);

  LOGPALETTE bad{0x200, 1, {{0, 0, 0, 0}}};
  EXPECT_EQ(CreatePalette(&bad), nullptr);
  LOGPALETTE empty{0x300, 0, {{0, 0, 0, 0}}};
  EXPECT_EQ(CreatePalette(&empty), nullptr);
}

TEST(Palettes, TheScreenIsTrueColourWithoutASystemPalette) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(dc, SIZEPALETTE), 0);
  PALETTEENTRY entries[256];
  EXPECT_EQ(GetSystemPaletteEntries(dc, 0, 256, entries), 0u);
  DeleteDC(dc);
}

TEST(Palettes, HighColourScreensReportTheirDepthWithoutAPalette) {
  for (int bits : {16, 24}) {
    SCOPED_TRACE(bits);
    platform::SetScreenFormat(bits, 640, 480);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), bits);
    EXPECT_EQ(GetDeviceCaps(screen, SIZEPALETTE), 0);
    HBITMAP compatible = CreateCompatibleBitmap(screen, 3, 2);
    BITMAP info{};
    ASSERT_EQ(GetObject(compatible, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmBitsPixel, bits);
    DeleteObject(compatible);
    ReleaseDC(nullptr, screen);
  }
  platform::SetScreenFormat(32, 1024, 768);
}

TEST(Palettes, PaletteIndexColoursComeFromTheSelectedPalette) {
  gditest::Canvas canvas(2, 1, 32);
  HPALETTE palette = MakePalette({{1, 2, 3, 0}, {200, 100, 50, 0}});
  HPALETTE old = SelectPalette(canvas.dc(), palette, FALSE);
  EXPECT_EQ(SetPixel(canvas.dc(), 0, 0, PALETTEINDEX(1)), RGB(200, 100, 50));
  EXPECT_FALSE(DeleteObject(palette));  // still selected
  SelectPalette(canvas.dc(), old, FALSE);
  EXPECT_TRUE(DeleteObject(palette));
}

// Runs with the screen turned into an 8-bit palette device, and back to true colour afterwards.
class PaletteScreen : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetScreenFormat(8, 640, 480); }
  void TearDown() override { platform::SetScreenFormat(32, 1024, 768); }
};

TEST_F(PaletteScreen, ReportsAPaletteWithTheStaticColours) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 8);
  EXPECT_NE(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE, 0);
  EXPECT_EQ(GetDeviceCaps(dc, SIZEPALETTE), 256);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 640);
  PALETTEENTRY entries[256];
  EXPECT_EQ(GetSystemPaletteEntries(dc, 0, 256, entries), 256u);
  EXPECT_EQ(entries[1].peRed, 128);
  EXPECT_EQ(entries[9].peBlue, 240);
  EXPECT_EQ(entries[246].peGreen, 251);
  EXPECT_EQ(entries[255].peRed, 255);
  DeleteDC(dc);
}

TEST_F(PaletteScreen, RealisingAPaletteOnTheScreenSetsTheFreeEntries) {
  gditest::Canvas screen(4, 1, 8);  // stands for the 8-bit screen surface
  HDC dc = platform::CreateSurfaceDC(screen.bitmap());
  std::vector<PALETTEENTRY> entries(256);
  for (int i = 0; i < 256; ++i) entries[i] = PALETTEENTRY{static_cast<BYTE>(i), 7, 7, PC_NOCOLLAPSE};
  HPALETTE palette = MakePalette(entries);
  SelectPalette(dc, palette, TRUE);
  EXPECT_EQ(RealizePalette(dc), 236u);
  PALETTEENTRY system[256];
  GetSystemPaletteEntries(dc, 0, 256, system);
  EXPECT_EQ(system[10].peRed, 10);
  EXPECT_EQ(system[245].peRed, 245);
  EXPECT_EQ(system[0].peGreen, 0);  // static black stays
  // Drawing now finds the realised colours in the screen's table.
  EXPECT_EQ(SetPixel(dc, 0, 0, PALETTERGB(123, 7, 7)), RGB(123, 7, 7));
  EXPECT_EQ(screen.Value(0, 0), 123u);
  EXPECT_EQ(RealizePalette(dc), 0u);  // nothing changes a second time
  // The screen growing keeps the realised colours; another depth starts again.
  platform::SetScreenFormat(8, 800, 600);
  GetSystemPaletteEntries(dc, 0, 256, system);
  EXPECT_EQ(system[10].peRed, 10);
  platform::SetScreenFormat(32, 800, 600);
  platform::SetScreenFormat(8, 800, 600);
  GetSystemPaletteEntries(dc, 0, 256, system);
  EXPECT_EQ(system[10].peRed, 0);
  SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), TRUE);
  DeleteObject(palette);
  DeleteDC(dc);
}

TEST_F(PaletteScreen, EightBitDeviceBitmapsShowThePaletteRealisedInTheirContext) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(2, 1, 1, 8, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HPALETTE palette = MakePalette({{0, 0, 0, 0}, {9, 99, 199, 0}});
  SelectPalette(dc, palette, FALSE);
  EXPECT_EQ(RealizePalette(dc), 2u);
  EXPECT_EQ(SetPixel(dc, 1, 0, RGB(9, 99, 199)), RGB(9, 99, 199));
  BYTE bits[2] = {};
  GetBitmapBits(bitmap, 2, bits);
  EXPECT_EQ(bits[1], 1);
  SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  SelectObject(dc, old);
  DeleteObject(palette);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace

// Bitmaps: sizes and row layouts, refused sizes, pixels as bytes and as DIBs, and object lifetimes.
#include <gtest/gtest.h>

#include <cstring>

#include "GdiTestSupport.h"

namespace {

std::vector<BYTE> Header(int width, int height, int bpp) {
  std::vector<BYTE> bytes(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
  auto* info = reinterpret_cast<BITMAPINFO*>(bytes.data());
  info->bmiHeader = BITMAPINFOHEADER{40, width, height, 1, static_cast<WORD>(bpp), BI_RGB, 0, 0, 0, 0, 0};
  return bytes;
}

TEST(Bitmaps, DibSectionRowsAreDwordAlignedAndBottomUpUnlessAsked) {
  struct Case {
    int width, bpp, stride;
  };
  const Case cases[] = {{1, 1, 4}, {33, 1, 8}, {1, 8, 4}, {1, 24, 4}, {3, 4, 4}, {9, 4, 8}, {5, 16, 12}, {3, 24, 12}, {3, 32, 12}};
  for (const Case& c : cases) {
    auto header = Header(c.width, 2, c.bpp);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(header.data()), DIB_RGB_COLORS, &bits,
                                      nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    ASSERT_NE(bits, nullptr);
    DIBSECTION ds{};
    EXPECT_EQ(GetObject(bitmap, sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
    EXPECT_EQ(ds.dsBm.bmWidthBytes, c.stride) << c.width << "x" << c.bpp;
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    EXPECT_EQ(ds.dsBmih.biHeight, 2);
    DeleteObject(bitmap);
  }
  // A bottom-up section keeps the picture's top row last in memory.
  gditest::Canvas canvas(2, 2, 8);
  SetPixel(canvas.dc(), 0, 0, RGB(255, 255, 255));
  EXPECT_EQ(canvas.bits()[4], 255);
  EXPECT_EQ(canvas.bits()[0], 0);
  gditest::Canvas topDown(2, 2, 8, {}, true);
  SetPixel(topDown.dc(), 0, 0, RGB(255, 255, 255));
  EXPECT_EQ(topDown.bits()[0], 255);
}

TEST(Bitmaps, BadSizesAndFormatsAreRefused) {
  struct Case {
    int width, height, bpp;
    DWORD error;
  };
  const Case cases[] = {{0, 4, 8, ERROR_INVALID_PARAMETER},      {4, 0, 8, ERROR_INVALID_PARAMETER},
                        {-4, 4, 8, ERROR_INVALID_PARAMETER},     {4, 4, 7, ERROR_INVALID_PARAMETER},
                        {4, 4, 0, ERROR_INVALID_PARAMETER},      {100000, 100000, 32, ERROR_NOT_ENOUGH_MEMORY},
                        {0x7FFFFFFF, 2, 32, ERROR_NOT_ENOUGH_MEMORY}, {4, INT32_MIN, 8, ERROR_INVALID_PARAMETER}};
  for (const Case& c : cases) {
    auto header = Header(c.width, c.height, c.bpp);
    void* bits = reinterpret_cast<void*>(1);
    SetLastError(0);
    EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(header.data()), DIB_RGB_COLORS, &bits, nullptr, 0),
              nullptr);
    EXPECT_EQ(bits, nullptr);
    EXPECT_EQ(GetLastError(), c.error) << c.width << "x" << c.height << "x" << c.bpp;
    if (c.bpp != 7 && c.bpp != 0) {
      SetLastError(0);
      EXPECT_EQ(CreateBitmap(c.width, c.height, 1, static_cast<UINT>(c.bpp), nullptr), nullptr);
      EXPECT_EQ(GetLastError(), c.error);
      SetLastError(0);
      EXPECT_EQ(CreateDIBitmap(nullptr, &reinterpret_cast<BITMAPINFO*>(header.data())->bmiHeader, 0, nullptr, nullptr,
                               DIB_RGB_COLORS),
                nullptr);
      EXPECT_EQ(GetLastError(), c.error);
    }
  }
  // Negative heights mean top-down rows, and a colour table longer than the depth allows is refused.
  auto topDown = Header(4, -4, 8);
  HBITMAP ok = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(topDown.data()), DIB_RGB_COLORS, nullptr, nullptr, 0);
  EXPECT_NE(ok, nullptr);
  DeleteObject(ok);
  auto tooMany = Header(4, 4, 4);
  reinterpret_cast<BITMAPINFO*>(tooMany.data())->bmiHeader.biClrUsed = 17;
  EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(tooMany.data()), DIB_RGB_COLORS, nullptr, nullptr, 0),
            nullptr);
}

TEST(Bitmaps, DeviceBitmapBitsHaveWordAlignedRowsTopFirst) {
  const BYTE bits[] = {0xFF, 0x80, 0x00, 0x00};  // width 9 at 1 bit: two bytes a row
  HBITMAP bitmap = CreateBitmap(9, 2, 1, 1, nullptr);
  BITMAP bm{};
  GetObject(bitmap, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmWidthBytes, 2);
  EXPECT_EQ(bm.bmBits, nullptr);
  EXPECT_EQ(GetBitmapBits(bitmap, 0, nullptr), 4);
  EXPECT_EQ(SetBitmapBits(bitmap, 4, bits), 4);
  BYTE back[4] = {};
  EXPECT_EQ(GetBitmapBits(bitmap, 4, back), 4);
  EXPECT_EQ(back[0], 0xFF);
  EXPECT_EQ(back[1], 0x80);
  EXPECT_EQ(back[2], 0x00);  // row 1 starts at byte 2
  // Pixel (0, 0) is white, (0, 1) black: rows run top first.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_EQ(GetPixel(dc, 8, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 0, 1), RGB(0, 0, 0));
  // A short buffer takes whole rows only.
  EXPECT_EQ(GetBitmapBits(bitmap, 3, back), 2);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

TEST(Bitmaps, GetDIBitsAndSetDIBitsConvertFormats) {
  gditest::Canvas canvas(3, 2, 32);
  canvas.Clear(RGB(10, 20, 30));
  SetPixel(canvas.dc(), 2, 0, RGB(255, 0, 0));
  auto header = Header(0, 0, 0);
  auto* info = reinterpret_cast<BITMAPINFO*>(header.data());
  // With no depth asked, only the format comes back.
  EXPECT_EQ(GetDIBits(canvas.dc(), canvas.bitmap(), 0, 2, nullptr, info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(info->bmiHeader.biWidth, 3);
  EXPECT_EQ(info->bmiHeader.biBitCount, 32);
  // As a 24-bit bottom-up DIB: rows of 12 bytes, the picture's top row last.
  info->bmiHeader.biBitCount = 24;
  BYTE bits[24] = {};
  HBITMAP bitmap = canvas.bitmap();
  EXPECT_EQ(GetDIBits(canvas.dc(), bitmap, 0, 2, bits, info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(bits[0], 30);
  EXPECT_EQ(bits[1], 20);
  EXPECT_EQ(bits[2], 10);
  EXPECT_EQ(bits[12 + 6], 0);
  EXPECT_EQ(bits[12 + 8], 255);
  // Only the bottom scan: the picture's second row, all (10, 20, 30).
  BYTE one[12] = {};
  EXPECT_EQ(GetDIBits(canvas.dc(), bitmap, 0, 1, one, info, DIB_RGB_COLORS), 1);
  EXPECT_EQ(one[8], 10);

  // Back through SetDIBits into an 8-bit bitmap: the colours become the nearest entries of its table.
  gditest::Canvas grey(3, 2, 8);
  bits[12 + 8] = 0;
  bits[12 + 7] = 0;
  bits[12 + 6] = 200;  // blue 200 at the top right
  EXPECT_EQ(SetDIBits(grey.dc(), grey.bitmap(), 0, 2, bits, info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(grey.Value(0, 0), 20u);
  EXPECT_EQ(grey.Value(2, 0), 67u);  // nearest grey to (0, 0, 200)
}

TEST(Bitmaps, ObjectsSelectedIntoAContextAreNotDeleted) {
  std::size_t before = platform::CountGdiObjects();
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  EXPECT_FALSE(DeleteObject(bitmap));
  EXPECT_FALSE(DeleteObject(brush));
  // A bitmap lives in one context at a time.
  HDC other = CreateCompatibleDC(dc);
  EXPECT_EQ(SelectObject(other, bitmap), nullptr);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
  SelectObject(dc, oldBitmap);
  SelectObject(dc, oldBrush);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_TRUE(DeleteObject(brush));
  // Stock objects survive deletion; deleted handles stay dead.
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(GetObjectType(GetStockObject(BLACK_BRUSH)), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_EQ(SelectObject(dc, bitmap), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
  DeleteDC(other);
  DeleteDC(dc);
  EXPECT_FALSE(DeleteDC(dc));
  EXPECT_EQ(platform::CountGdiObjects(), before);
}

TEST(Bitmaps, CompatibleBitmapsFollowTheContext) {
  HDC dc = CreateCompatibleDC(nullptr);
  // A new memory context holds a 1x1 monochrome bitmap, so its compatible bitmaps are monochrome.
  HBITMAP mono = CreateCompatibleBitmap(dc, 8, 8);
  BITMAP bm{};
  GetObject(mono, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE, 0);
  HBITMAP deep = CreateBitmap(2, 2, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, deep);
  HBITMAP compatible = CreateCompatibleBitmap(dc, 8, 8);
  GetObject(compatible, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  SelectObject(dc, old);
  for (HBITMAP b : {mono, deep, compatible}) DeleteObject(b);
  DeleteDC(dc);
}

}  // namespace

namespace {

// The callers' pixel buffers need not start on a four-byte boundary: pixels are read and written at any
// address, with the same results as from an aligned buffer.
TEST(Bitmaps, DibBuffersMayStartAtAnyAddress) {
  gditest::Canvas canvas(4, 2, 8, gditest::GreyRamp(256));
  for (int x = 0; x < 4; ++x) {
    canvas.SetValue(x, 0, static_cast<std::uint32_t>(40 * x));
    canvas.SetValue(x, 1, static_cast<std::uint32_t>(200 - 40 * x));
  }
  auto header = Header(4, 2, 32);
  auto* info = reinterpret_cast<BITMAPINFO*>(header.data());
  alignas(4) BYTE aligned[32] = {};
  alignas(4) BYTE shifted[33] = {};
  ASSERT_EQ(GetDIBits(canvas.dc(), canvas.bitmap(), 0, 2, aligned, info, DIB_RGB_COLORS), 2);
  ASSERT_EQ(GetDIBits(canvas.dc(), canvas.bitmap(), 0, 2, shifted + 1, info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(std::memcmp(aligned, shifted + 1, sizeof aligned), 0);

  // And a 32-bit DIB at an odd address, averaged down to half its width.
  for (int mode : {COLORONCOLOR, HALFTONE}) {
    gditest::Canvas fromAligned(2, 2, 32), fromShifted(2, 2, 32);
    SetStretchBltMode(fromAligned.dc(), mode);
    SetStretchBltMode(fromShifted.dc(), mode);
    EXPECT_EQ(StretchDIBits(fromAligned.dc(), 0, 0, 2, 2, 0, 0, 4, 2, aligned, info, DIB_RGB_COLORS, SRCCOPY), 2);
    EXPECT_EQ(StretchDIBits(fromShifted.dc(), 0, 0, 2, 2, 0, 0, 4, 2, shifted + 1, info, DIB_RGB_COLORS, SRCCOPY), 2);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 2; ++x) EXPECT_EQ(fromShifted.Value(x, y), fromAligned.Value(x, y)) << mode << " " << x << "," << y;
  }
}

}  // namespace

// Blits between every pair of depths, clipping, raster operations, mirroring, and stretching checked
// against ImageMagick.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "GdiTestSupport.h"
#include "support/TempFolder.h"

using gditest::Canvas;

namespace {

// Colours every depth from 4 bits up holds exactly (the 16-bit one survives 5-5-5 packing).
const COLORREF kColors[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 0, 255), RGB(0x84, 0x21, 0x10)};

std::vector<RGBQUAD> TableWithTestColors(int bpp) {
  if (bpp > 8) return {};
  std::vector<RGBQUAD> table = gditest::GreyRamp(1 << bpp);
  if (bpp == 1) return table;
  for (std::size_t i = 0; i < std::size(kColors); ++i) {
    table[i + 2] = RGBQUAD{GetBValue(kColors[i]), GetGValue(kColors[i]), GetRValue(kColors[i]), 0};
  }
  return table;
}

COLORREF NearestBlackOrWhite(COLORREF c) {
  int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  int toBlack = r * r + g * g + b * b;
  int toWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
  return toWhite < toBlack ? RGB(255, 255, 255) : RGB(0, 0, 0);
}

TEST(Blits, EveryDepthConvertsToEveryDepth) {
  const int depths[] = {1, 4, 8, 16, 24, 32};
  for (int from : depths) {
    for (int to : depths) {
      Canvas source(5, 3, from, TableWithTestColors(from));
      Canvas dest(5, 3, to, TableWithTestColors(to));
      int count = from == 1 ? 2 : static_cast<int>(std::size(kColors));
      for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 3; ++y) SetPixel(source.dc(), x, y, kColors[(x + y) % count]);
      ASSERT_TRUE(BitBlt(dest.dc(), 0, 0, 5, 3, source.dc(), 0, 0, SRCCOPY));
      for (int x = 0; x < 5; ++x) {
        for (int y = 0; y < 3; ++y) {
          COLORREF c = kColors[(x + y) % count];
          COLORREF expected = to == 1 ? NearestBlackOrWhite(c) : c;
          ASSERT_EQ(GetPixel(dest.dc(), x, y), expected) << from << " -> " << to << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(Blits, IdenticalTablesCopyIndicesEvenWhereColoursRepeat) {
  std::vector<RGBQUAD> table(256, RGBQUAD{0, 0, 0, 0});  // every entry black
  Canvas source(4, 1, 8, table), dest(4, 1, 8, table);
  for (int x = 0; x < 4; ++x) source.SetValue(x, 0, 200 + x);
  BitBlt(dest.dc(), 0, 0, 4, 1, source.dc(), 0, 0, SRCCOPY);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(dest.Value(x, 0), static_cast<std::uint32_t>(200 + x));
  // Another table maps through the colours: all black is index 0 of a grey ramp.
  Canvas ramp(4, 1, 8);
  ramp.Fill(7);
  BitBlt(ramp.dc(), 0, 0, 4, 1, source.dc(), 0, 0, SRCCOPY);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(ramp.Value(x, 0), 0u);
}

TEST(Blits, MonochromeDeviceBitmapsTakeTheContextColours) {
  const BYTE bytes[4] = {0xA0, 0x00, 0x50, 0x00};  // 16-bit rows
  HBITMAP mono = CreateBitmap(4, 2, 1, 1, bytes);
  HDC monoDC = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(monoDC, mono);
  Canvas colour(4, 2, 32);
  SetTextColor(colour.dc(), RGB(255, 0, 0));  // 0 bits
  SetBkColor(colour.dc(), RGB(0, 0, 255));    // 1 bits
  BitBlt(colour.dc(), 0, 0, 4, 2, monoDC, 0, 0, SRCCOPY);
  EXPECT_EQ(colour.Picture(0x0000FF), gditest::Rows({"#.#.", ".#.#"}));
  EXPECT_EQ(colour.Picture(0xFF0000), gditest::Rows({".#.#", "#.#."}));

  // Colour to monochrome: the source context's background colour becomes 1, everything else 0.
  colour.Clear(RGB(9, 9, 9));
  SetPixel(colour.dc(), 1, 1, RGB(0, 200, 0));
  SetBkColor(colour.dc(), RGB(0, 200, 0));
  BitBlt(monoDC, 0, 0, 4, 2, colour.dc(), 0, 0, SRCCOPY);
  BYTE back[4] = {};
  EXPECT_EQ(GetBitmapBits(mono, 4, back), 4);
  EXPECT_EQ(back[0], 0x00);
  EXPECT_EQ(back[2], 0x40);
  SelectObject(monoDC, old);
  DeleteObject(mono);
  DeleteDC(monoDC);
}

TEST(Blits, ClippedOnAllFourSidesOfDestinationAndSource) {
  struct Case {
    int x, y, sx, sy;
  };
  // Destination hanging off each side, and source rectangles hanging off each side of the source.
  const Case cases[] = {{-2, 1, 0, 0}, {5, 1, 0, 0}, {1, -2, 0, 0}, {1, 6, 0, 0},
                        {2, 2, -2, 0}, {2, 2, 2, 0}, {2, 2, 0, -3}, {2, 2, 0, 3}};
  for (const Case& c : cases) {
    Canvas source(4, 4, 8), dest(8, 8, 8);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) source.SetValue(x, y, 100 + 10 * y + x);
    dest.Fill(1);
    BitBlt(dest.dc(), c.x, c.y, 4, 4, source.dc(), c.sx, c.sy, SRCCOPY);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        int u = x - c.x + c.sx, v = y - c.y + c.sy;
        bool covered = x - c.x >= 0 && x - c.x < 4 && y - c.y >= 0 && y - c.y < 4 && u >= 0 && u < 4 && v >= 0 && v < 4;
        std::uint32_t expected = covered ? static_cast<std::uint32_t>(100 + 10 * v + u) : 1u;
        ASSERT_EQ(dest.Value(x, y), expected) << "case " << c.x << "," << c.y << "," << c.sx << "," << c.sy << " at " << x
                                              << "," << y;
      }
    }
  }
}

TEST(Blits, RasterOperations) {
  struct Case {
    DWORD rop;
    std::uint32_t expected;
  };
  // Source 0x0F0F0F, destination 0x333333, brush 0x550055.
  const Case cases[] = {
      {SRCCOPY, 0x0F0F0F},  {SRCAND, 0x030303},   {SRCPAINT, 0x3F3F3F},   {SRCINVERT, 0x3C3C3C},
      {NOTSRCCOPY, 0xF0F0F0}, {SRCERASE, 0x0C0C0C}, {NOTSRCERASE, 0xC0C0C0}, {MERGEPAINT, 0xF3F3F3},
      {DSTINVERT, 0xCCCCCC}, {PATCOPY, 0x550055},  {PATINVERT, 0x663366},   {MERGECOPY, 0x050005},
      {BLACKNESS, 0x000000}, {WHITENESS, 0xFFFFFF}, {PATPAINT, 0xF7F3F7},
  };
  for (const Case& c : cases) {
    Canvas source(2, 2, 32), dest(2, 2, 32);
    source.Clear(RGB(0x0F, 0x0F, 0x0F));
    dest.Clear(RGB(0x33, 0x33, 0x33));
    gditest::Selected brush(dest.dc(), CreateSolidBrush(RGB(0x55, 0x00, 0x55)));
    ASSERT_TRUE(BitBlt(dest.dc(), 0, 0, 2, 2, source.dc(), 0, 0, c.rop));
    EXPECT_EQ(dest.Value(1, 1), c.expected) << std::hex << c.rop;
  }
}

TEST(Blits, OverlappingCopyWithinOneSurface) {
  Canvas canvas(6, 1, 8);
  for (int x = 0; x < 6; ++x) canvas.SetValue(x, 0, x + 1);
  BitBlt(canvas.dc(), 1, 0, 5, 1, canvas.dc(), 0, 0, SRCCOPY);
  const std::uint32_t expected[] = {1, 1, 2, 3, 4, 5};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(canvas.Value(x, 0), expected[x]);
}

TEST(Blits, NegativeExtentsMirror) {
  Canvas source(3, 2, 8), dest(3, 2, 8);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) source.SetValue(x, y, 10 * y + x);
  // The destination {3, 0, 3 - 3, 2} normalised is columns [0, 3).
  StretchBlt(dest.dc(), 3, 0, -3, 2, source.dc(), 0, 0, 3, 2, SRCCOPY);
  EXPECT_EQ(dest.Value(0, 0), 2u);
  EXPECT_EQ(dest.Value(2, 0), 0u);
  EXPECT_EQ(dest.Value(0, 1), 12u);
  StretchBlt(dest.dc(), 0, 0, 3, 2, source.dc(), 0, 2, 3, -2, SRCCOPY);
  EXPECT_EQ(dest.Value(0, 0), 10u);
  EXPECT_EQ(dest.Value(2, 1), 2u);
}

// --- Stretching against ImageMagick ---------------------------------------------------------------

void WritePpm(const Canvas& canvas, const std::filesystem::path& path) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << canvas.width() << " " << canvas.height() << "\n255\n";
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      std::uint32_t v = canvas.Value(x, y);
      out.put(static_cast<char>(v >> 16)).put(static_cast<char>(v >> 8)).put(static_cast<char>(v));
    }
  }
}

std::vector<BYTE> ReadPpm(const std::filesystem::path& path, int width, int height) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int w = 0, h = 0, max = 0;
  in >> magic >> w >> h >> max;
  in.get();
  EXPECT_EQ(magic, "P6");
  EXPECT_EQ(w, width);
  EXPECT_EQ(h, height);
  std::vector<BYTE> data(static_cast<std::size_t>(width) * height * 3);
  in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
  return data;
}

struct Stretch {
  int width, height;
  std::string option;  // ImageMagick options that give the same picture
};

void ExpectStretchMatches(int mode, int sourceWidth, int sourceHeight, const std::vector<Stretch>& stretches,
                          int tolerance) {
  std::mt19937 random(7);
  Canvas source(sourceWidth, sourceHeight, 24);
  for (int y = 0; y < sourceHeight; ++y)
    for (int x = 0; x < sourceWidth; ++x) source.SetValue(x, y, random() & 0xFFFFFF);
  const TempFolder folder;
  const auto in = folder.Path() / "in.ppm";
  WritePpm(source, in);
  for (const Stretch& s : stretches) {
    int w = s.width, h = s.height;
    Canvas dest(w, h, 24);
    SetStretchBltMode(dest.dc(), mode);
    ASSERT_TRUE(StretchBlt(dest.dc(), 0, 0, w, h, source.dc(), 0, 0, sourceWidth, sourceHeight, SRCCOPY));
    const auto out = folder.Path() / "out.ppm";
    std::string command = "/usr/bin/convert '" + in.string() + "' " + s.option + " '" + std::to_string(w) + "x" +
                          std::to_string(h) + "!' '" + out.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::vector<BYTE> expected = ReadPpm(out, w, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        std::uint32_t v = dest.Value(x, y);
        const BYTE* e = &expected[(static_cast<std::size_t>(y) * w + x) * 3];
        int got[3] = {static_cast<int>(v >> 16), static_cast<int>((v >> 8) & 255), static_cast<int>(v & 255)};
        for (int k = 0; k < 3; ++k) {
          ASSERT_LE(std::abs(got[k] - e[k]), tolerance) << s.option << " " << w << "x" << h << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(Blits, ColorOnColorIsNearestNeighbourLikeImageMagickSample) {
  // COLORONCOLOR takes source pixel floor(x * sourceWidth / destWidth); ImageMagick samples near pixel
  // centres (pixel k * x + (k - 1) / 2 for a reduction by k), so its input is first rolled by (k - 1) / 2.
  ExpectStretchMatches(COLORONCOLOR, 36, 24,
                       {{9, 6, "-roll +1+1 -sample"}, {12, 8, "-roll +1+1 -sample"}, {18, 12, "-sample"},
                        {72, 48, "-sample"}, {108, 24, "-sample"}},
                       0);
  // Ratios that are not whole numbers follow the formula exactly.
  Canvas source(7, 1, 8), dest(3, 1, 8);
  for (int x = 0; x < 7; ++x) source.SetValue(x, 0, x);
  SetStretchBltMode(dest.dc(), COLORONCOLOR);
  StretchBlt(dest.dc(), 0, 0, 3, 1, source.dc(), 0, 0, 7, 1, SRCCOPY);
  for (int x = 0; x < 3; ++x) EXPECT_EQ(dest.Value(x, 0), static_cast<std::uint32_t>(x * 7 / 3));
}

TEST(Blits, HalftoneIsABoxAverageLikeImageMagickScale) {
  ExpectStretchMatches(HALFTONE, 37, 23, {{9, 5, "-scale"}, {12, 8, "-scale"}, {36, 22, "-scale"}, {10, 23, "-scale"}},
                       1);
}

TEST(Blits, StretchDIBitsCountsSourceRowsFromTheBottomOfABottomUpDib) {
  // A 1x4 bottom-up DIB whose memory rows hold 1, 2, 3, 4 from the bottom: picture rows 4, 3, 2, 1.
  std::vector<BYTE> header(sizeof(BITMAPINFOHEADER) + 256 * 4);
  auto* info = reinterpret_cast<BITMAPINFO*>(header.data());
  info->bmiHeader = BITMAPINFOHEADER{40, 1, 4, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
  auto ramp = gditest::GreyRamp(256);
  std::memcpy(info->bmiColors, ramp.data(), 1024);
  const BYTE bits[16] = {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0};
  Canvas dest(1, 2, 8);
  // Picture rows 1 and 2 (values 3 and 2) are sourceY = 4 - 1 - 2 = 1.
  EXPECT_EQ(StretchDIBits(dest.dc(), 0, 0, 1, 2, 0, 1, 1, 2, bits, info, DIB_RGB_COLORS, SRCCOPY), 2);
  EXPECT_EQ(dest.Value(0, 0), 3u);
  EXPECT_EQ(dest.Value(0, 1), 2u);
  // SetDIBitsToDevice of the whole DIB shows it top row first.
  Canvas whole(1, 4, 8);
  EXPECT_EQ(SetDIBitsToDevice(whole.dc(), 0, 0, 1, 4, 0, 0, 0, 4, bits, info, DIB_RGB_COLORS), 4);
  for (int y = 0; y < 4; ++y) EXPECT_EQ(whole.Value(0, y), static_cast<std::uint32_t>(4 - y));
  // A header that lies about its size is refused, not read.
  info->bmiHeader.biBitCount = 7;
  EXPECT_EQ(StretchDIBits(dest.dc(), 0, 0, 1, 2, 0, 0, 1, 2, bits, info, DIB_RGB_COLORS, SRCCOPY), 0);
}

}  // namespace

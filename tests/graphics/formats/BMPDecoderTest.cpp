#include <gtest/gtest.h>

#include <cstring>

#include "graphics/PictureFixtures.h"
#include "core/Text1252.h"
#include "graphics/formats/BMPDecoder.h"
#include "support/Raised.h"

using namespace picture_testing;

namespace {

// A 3x2 red picture as older programs write it (ImageMagick's BMP2: does too): a 12-byte header with
// 16-bit sizes.
const std::string kOlderHeaderBMP(
    "BM\x32\0\0\0\0\0\0\0\x1a\0\0\0"
    "\x0c\0\0\0\x03\0\x02\0\x01\0\x18\0"
    "\0\0\xff\0\0\xff\0\0\xff\0\0\0\0\0\xff\0\0\xff\0\0\xff\0\0\0",
    50);

PixelBuffer Decode(const std::string& bytes, bool useKey = false, int key = 0) {
  SmartRef<MemoryStream> stream = StreamOf(bytes);
  return DecodeBMP(*stream, useKey, key);
}

TEST(BMPDecoder, FilesOfStandardToolsReadAsTheirReferenceDecoderReadsThem) {
  const struct {
    const char* file;
    const char* expected;
    int depth;
  } cases[] = {
      {"im3-24.bmp", "im3-24.ppm", 24},           {"im3-8.bmp", "im3-8.ppm", 8},
      {"im3-rle8.bmp", "im3-8.ppm", 8},           {"im5-24.bmp", "im5-24.ppm", 24},
      {"im5-rgb565.bmp", "im5-rgb565.ppm", 24},   {"im5-32.bmp", "im5-32.ppm", 24},
      {"pbm-1.bmp", "pbm-1.ppm", 8},              {"pbm-4.bmp", "pbm-4.ppm", 8},
      {"pbm-8.bmp", "pbm-8.ppm", 8},              {"pbm-24.bmp", "pbm-24.ppm", 24},
      {"hand-rle4.bmp", "hand-rle4.ppm", 8},      {"hand-topdown-24.bmp", "hand-topdown-24.ppm", 24},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const RGBPicture expected = ReadPnm(c.expected);
    ASSERT_GT(expected.width, 0);
    const PixelBuffer decoded = Decode(ReadFixture(c.file));
    EXPECT_EQ(decoded.depth, c.depth);
    EXPECT_EQ(decoded.colors.size(), c.depth == 8 ? 256u : 0u);
    const RGBPicture got = ToRGB(decoded);
    EXPECT_TRUE(got == expected) << FirstDifference(got, expected);
  }
}

TEST(BMPDecoder, IndexedRowsExpandOnePixelPerByteWithinTheWidth) {
  BmpBuilder four;
  four.width = 3, four.bits = 4;
  for (std::uint32_t i = 0; i < 16; ++i) four.colors.push_back(i * 0x111111);
  four.data = std::string("\x12\x30\0\0", 4);
  const PixelBuffer p4 = Decode(four.Build());
  EXPECT_EQ(std::vector<std::uint8_t>(p4.pixels), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(p4.colors[2], Color::FromRGB8(0x22, 0x22, 0x22));
  EXPECT_EQ(p4.colors[16], Color::FromRGB8(0, 0, 0));
  EXPECT_EQ(p4.colors[255], Color::FromRGB8(0, 0, 0));

  // 9 pixels a row: 2 bytes and 2 of padding; exactly 9 pixels each.
  BmpBuilder one;
  one.width = 9, one.height = 2, one.bits = 1, one.colors = {0x000000, 0xFFFFFF};
  one.data = std::string("\x80\x80\xFF\xFF" "\xAA\x00\xFF\xFF", 8);
  const PixelBuffer p1 = Decode(one.Build());
  EXPECT_EQ(p1.pixels, (std::vector<std::uint8_t>{1, 0, 1, 0, 1, 0, 1, 0, 0,  // top row: the file's second
                                                  1, 0, 0, 0, 0, 0, 0, 0, 1}));
}

TEST(BMPDecoder, ColourCountsAndTheChromaKey) {
  // An 8-bit file claiming 300 colours has at most its 256: the table is read, not skipped.
  BmpBuilder many;
  many.colorsUsed = 300;
  for (std::uint32_t i = 0; i < 256; ++i) many.colors.push_back(i << 8);
  many.data = std::string("\x07\0\0\0", 4);
  const PixelBuffer p = Decode(many.Build());
  EXPECT_EQ(p.depth, 8);
  EXPECT_EQ(p.GetPixelColor(0, 0), Color::FromRGB8(0, 7, 0));

  // A 24-bit file with 300 colours used has no table to read.
  BmpBuilder deep;
  deep.bits = 24, deep.colorsUsed = 300, deep.data = std::string("\x01\x02\x03\0", 4);
  const PixelBuffer d = Decode(deep.Build());
  EXPECT_EQ(d.GetPixelColor(0, 0), Color::FromRGB8(3, 2, 1));

  // The key colour carries the transparent flag; an index past a short table is black.
  BmpBuilder keyed;
  keyed.bits = 8, keyed.colorsUsed = 8;
  for (std::uint32_t i = 0; i < 8; ++i) keyed.colors.push_back(0x010101 * i);
  keyed.data = std::string("\xC8\0\0\0", 4);
  const PixelBuffer k = Decode(keyed.Build(), true, 5);
  EXPECT_EQ(k.colors[5].flag, 0xFFFF);
  EXPECT_EQ(k.colors[4].flag, 0);
  EXPECT_EQ(k.GetPixelColor(0, 0), Color::FromRGB8(0, 0, 0));
}

TEST(BMPDecoder, BadFilesGiveTheProgramsError) {
  const std::string good = ReadFixture("im3-24.bmp");
  auto patched = [&good](std::size_t at, std::string bytes) {
    std::string copy = good;
    copy.replace(at, bytes.size(), bytes);
    return copy;
  };
  auto u32 = [](std::uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
  BmpBuilder badMask;
  badMask.bits = 16, badMask.compression = 3, badMask.data = std::string(4, '\0');
  badMask.masks = u32(0xF00F) + u32(0x0F00) + u32(0x00F0);
  BmpBuilder rleTopDown;
  rleTopDown.height = -1, rleTopDown.compression = 1, rleTopDown.data = std::string("\0\1", 2);
  BmpBuilder rleCut;
  rleCut.compression = 1, rleCut.colorsUsed = 1, rleCut.colors = {0}, rleCut.data = std::string("\0\5\1", 3);
  const struct {
    const char* what;
    std::string bytes;
    std::string error;
  } cases[] = {
      // Refusals that are the reader's own checks reach the child as the damaged-file text.
      {"not BM", patched(0, "MB"), "Fichier BMP endommagé."_cp},
      {"header of 64 bytes", patched(14, u32(64)), "Fichier BMP endommagé."_cp},
      {"12-byte header of older programs", kOlderHeaderBMP, "Fichier BMP endommagé."_cp},
      {"cut in the colour table", ReadFixture("pbm-8.bmp").substr(0, 100), "Fichier BMP endommagé."_cp},
      {"2 bits a pixel", patched(28, "\x02"), "Fichier BMP endommagé."_cp},
      {"JPEG inside", patched(30, u32(4)), "Compression BMP non prise en charge."},
      {"RLE8 on 24 bits", patched(30, u32(1)), "Compression BMP non prise en charge."},
      {"no width", patched(18, u32(0)), "Image vide."},
      {"no height", patched(22, u32(0)), "Image vide."},
      {"too wide", patched(18, u32(100000)), "Image trop grande."},
      {"wider than the file", patched(18, u32(16000)), "Fin de fichier inattendue."},
      {"too many pixels", patched(18, u32(16000)).replace(22, 4, u32(16000)), "Image trop grande."},
      {"rows cut short", good.substr(0, good.size() - 200), "Fin de fichier inattendue."},
      {"bits past the end", patched(10, u32(100000)), "Fin de fichier inattendue."},
      {"scattered mask", badMask.Build(), "Fichier BMP endommagé."_cp},
      {"run lengths top down", rleTopDown.Build(), "Fichier BMP endommagé."_cp},
      {"run lengths cut short", rleCut.Build(), "Fin de fichier inattendue."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(RaisedText(Raised([&] { Decode(c.bytes); })), c.error);
  }
}

}  // namespace

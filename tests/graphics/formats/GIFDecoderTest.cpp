#include <gtest/gtest.h>

#include "graphics/PictureFixtures.h"
#include "core/Text1252.h"
#include "graphics/formats/GIFDecoder.h"
#include "support/Raised.h"

using namespace picture_testing;

namespace {

PixelBuffer Decode(const std::string& bytes) {
  SmartRef<MemoryStream> stream = StreamOf(bytes);
  return DecodeGIF(*stream);
}

TEST(GIFDecoder, FilesOfStandardToolsReadAsTheirReferenceDecoderReadsThem) {
  // Plain and interlaced (47 rows: every pass), version 89a with a graphic control extension, and a local
  // map that replaces the screen map.
  for (const char* name : {"im", "im-interlaced", "build-local-map"}) {
    SCOPED_TRACE(name);
    const RGBPicture expected = ReadPnm(std::string(name) + ".ppm");
    ASSERT_GT(expected.width, 0);
    const PixelBuffer decoded = Decode(ReadFixture(std::string(name) + ".gif"));
    EXPECT_EQ(decoded.depth, 24);
    const RGBPicture got = ToRGB(decoded);
    EXPECT_TRUE(got == expected) << FirstDifference(got, expected);
  }
}

TEST(GIFDecoder, PixelsAreStoredBlueGreenRed) {
  const PixelBuffer decoded = Decode(ReadFixture("im.gif"));
  const RGBPicture expected = ReadPnm("im.ppm");
  EXPECT_EQ(decoded.pixels[0], expected.rgb[2]);
  EXPECT_EQ(decoded.pixels[2], expected.rgb[0]);
}

TEST(GIFDecoder, AFileWithoutColourMapHasDefinedColours) {
  const RGBPicture got = ToRGB(Decode(ReadFixture("build-no-map.gif")));
  const RGBPicture expected{4, 2, {0, 0, 0, 255, 255, 255, 2, 2, 2, 3, 3, 3,  //
                                   3, 3, 3, 2, 2, 2, 255, 255, 255, 0, 0, 0}};
  EXPECT_TRUE(got == expected) << FirstDifference(got, expected);
}

TEST(GIFDecoder, AnotherVersionStillDecodes) {
  std::string bytes = ReadFixture("im.gif");
  bytes.replace(3, 3, "90a");
  EXPECT_TRUE(ToRGB(Decode(bytes)) == ReadPnm("im.ppm"));
}

TEST(GIFDecoder, ImageDataThatEndsEarlyLeavesTheRestInColourZero) {
  // The image's sub-blocks stop after the first one; the file still ends properly.
  std::string bytes = ReadFixture("build-local-map.gif");
  const std::size_t image = bytes.find(',', 13 + 3 * (2 << (bytes[10] & 7)));
  const std::size_t data = image + 10 + 3 * (2 << (bytes[image + 9] & 7)) + 1;
  bytes = bytes.substr(0, data + 1 + static_cast<std::uint8_t>(bytes[data])) + std::string("\0;", 2);
  const RGBPicture got = ToRGB(Decode(bytes));
  const RGBPicture full = ReadPnm("build-local-map.ppm");
  ASSERT_EQ(got.width, full.width);
  EXPECT_TRUE(std::equal(got.rgb.begin(), got.rgb.begin() + 30, full.rgb.begin()));
  // Entry 0 of the local map is the screen map's entry 1.
  const std::size_t last = got.rgb.size() - 3;
  const std::uint8_t* entry0 = reinterpret_cast<const std::uint8_t*>(&bytes[image + 10]);
  EXPECT_EQ(std::vector<std::uint8_t>(got.rgb.begin() + last, got.rgb.end()), std::vector<std::uint8_t>(entry0, entry0 + 3));
}

TEST(GIFDecoder, BadFilesGiveTheProgramsError) {
  const std::string good = ReadFixture("im.gif");
  std::string huge = ReadFixture("build-local-map.gif");
  const std::size_t image = huge.find(',', 13 + 3 * (2 << (huge[10] & 7)));
  huge.replace(image + 5, 4, "\xFF\xFF\xFF\xFF");
  const struct {
    const char* what;
    std::string bytes;
    std::string error;
  } cases[] = {
      {"code size 1", ReadFixture("build-code-size-1.gif"), "Bogus GIF codesize 1"},
      {"code size 12", ReadFixture("build-code-size-12.gif"), "Bogus GIF codesize 12"},
      {"no image", good.substr(0, 13 + 3 * (2 << (good[10] & 7))) + ";", "Too few images in GIF file"},
      {"not a GIF", "PNG" + good.substr(3), "Not a GIF file"},
      {"empty", "", "Not a GIF file"},
      {"screen descriptor cut", good.substr(0, 9), "Fin prématurée de fichier d'entrée"_cp},
      {"65535 x 65535", huge, "Image trop grande."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(RaisedText(Raised([&] { Decode(c.bytes); })), c.error);
  }
}

}  // namespace

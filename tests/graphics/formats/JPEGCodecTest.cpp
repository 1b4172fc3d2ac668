#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "graphics/PictureFixtures.h"
#include "core/Exception.h"
#include "core/Progress.h"
#include "core/Seams.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "graphics/formats/JPEGCodec.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

using namespace picture_testing;

namespace {

PixelBuffer Decode(const std::string& bytes) {
  SmartRef<MemoryStream> stream = StreamOf(bytes);
  return DecompressJPEG(*stream);
}

std::string Encode(const PixelBuffer& picture) {
  SmartRef<MemoryStream> stream = new MemoryStream();
  CompressToJPEG(PixelBufferSource(picture), *stream);
  const Memory& memory = stream->GetMemory();
  return std::string(reinterpret_cast<const char*>(memory.GetData()), stream->GetLength());
}

PixelBuffer FromRGB(const RGBPicture& picture) {
  PixelBuffer buffer(picture.width, picture.height, 24);
  for (std::size_t i = 0; i < picture.rgb.size(); i += 3) {
    buffer.pixels[i] = picture.rgb[i + 2];
    buffer.pixels[i + 1] = picture.rgb[i + 1];
    buffer.pixels[i + 2] = picture.rgb[i];
  }
  return buffer;
}

TEST(JPEGCodec, FilesOfTheReferenceEncoderReadAsItsDecoderReadsThem) {
  // Baseline, progressive, greyscale (widened to grey RGB) and with a restart marker after every block row.
  const struct {
    const char* file;
    const char* expected;
  } cases[] = {{"cjpeg-baseline.jpg", "cjpeg-baseline.ppm"},
               {"cjpeg-progressive.jpg", "cjpeg-progressive.ppm"},
               {"cjpeg-grey.jpg", "cjpeg-grey.pgm"},
               {"cjpeg-restart.jpg", "cjpeg-restart.ppm"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const RGBPicture expected = ReadPnm(c.expected);
    ASSERT_GT(expected.width, 0);
    const RGBPicture got = ToRGB(Decode(ReadFixture(c.file)));
    EXPECT_TRUE(got == expected) << FirstDifference(got, expected);
  }
}

TEST(JPEGCodec, CMYKFilesReadAsTheirColours) {
  const RGBPicture got = ToRGB(Decode(ReadFixture("im-cmyk.jpg")));
  const RGBPicture source = ReadPnm("source.ppm");
  ASSERT_EQ(got.width, source.width);
  ASSERT_EQ(got.height, source.height);
  double total = 0;
  for (std::size_t i = 0; i < got.rgb.size(); ++i) total += std::abs(int(got.rgb[i]) - int(source.rgb[i]));
  EXPECT_LT(total / static_cast<double>(got.rgb.size()), 6.0);
}

// The writer's file is the reference encoder's at quality 90, but for the JFIF density: unit 2, 0 x 0.
TEST(JPEGCodec, WrittenFilesAreTheReferenceEncodersAtQuality90WithDensityUnit2) {
  const std::string written = Encode(FromRGB(ReadPnm("source.ppm")));
  std::string expected = ReadFixture("cjpeg-q90.jpg");
  ASSERT_GT(expected.size(), 18u);
  expected.replace(13, 5, std::string("\x02\0\0\0\0", 5));
  EXPECT_TRUE(written == expected) << written.size() << " bytes vs " << expected.size();

  TempFolder folder;
  folder.Write("page.jpg", written);
  const std::string report = (folder.Path() / "report.txt").string();
  const std::string command = "djpeg -verbose -verbose " + (folder.Path() / "page.jpg").string() + " >/dev/null 2>" + report;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  EXPECT_NE(folder.Read("report.txt").find("density 0x0  2"), std::string::npos) << folder.Read("report.txt");
}

TEST(JPEGCodec, RowsGoTopFirstAndOnePixelRoundTrips) {
  // Top half red, bottom half blue: whole blocks, so that colour subsampling keeps them apart.
  PixelBuffer picture(16, 32, 24);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 16; ++x) picture.Row(y)[3 * x + (y < 16 ? 2 : 0)] = 255;
  const PixelBuffer back = Decode(Encode(picture));
  const Color top = back.GetPixelColor(0, 0), bottom = back.GetPixelColor(0, 31);
  EXPECT_GT(top.red >> 8, 200);
  EXPECT_LT(top.blue >> 8, 60);
  EXPECT_GT(bottom.blue >> 8, 200);
  EXPECT_LT(bottom.red >> 8, 60);

  PixelBuffer one(1, 1, 8);
  one.colors[0] = Color::FromRGB8(10, 200, 30);
  const PixelBuffer small = Decode(Encode(one));
  EXPECT_EQ(small.width, 1);
  EXPECT_EQ(small.height, 1);
  EXPECT_NEAR(small.GetPixelColor(0, 0).green >> 8, 200, 4);
}

TEST(JPEGCodec, AFileCutInItsScanDataReadsToItsEnd) {
  const std::string whole = ReadFixture("cjpeg-baseline.jpg");
  const std::size_t scan = whole.find("\xFF\xDA");
  ASSERT_NE(scan, std::string::npos);
  const PixelBuffer cut = Decode(whole.substr(0, scan + (whole.size() - scan) / 2));
  const RGBPicture expected = ReadPnm("cjpeg-baseline.ppm");
  EXPECT_EQ(cut.width, expected.width);
  EXPECT_EQ(cut.height, expected.height);
  EXPECT_TRUE(std::equal(expected.rgb.begin(), expected.rgb.begin() + 3 * expected.width, ToRGB(cut).rgb.begin()));
}

TEST(JPEGCodec, BadFilesGiveTheProgramsError) {
  std::string huge = ReadFixture("cjpeg-baseline.jpg");
  const std::size_t frame = huge.find("\xFF\xC0");
  huge.replace(frame + 5, 4, "\xEA\x60\xEA\x60");  // 60000 x 60000
  const struct {
    const char* what;
    std::string bytes;
    std::string error;
  } cases[] = {
      {"empty", "", "Fichier d'entrée vide"_cp},
      {"not a JPEG", "GIF89a and more", "Not a JPEG file: starts with 0x47 0x49"},
      {"header only", ReadFixture("cjpeg-baseline.jpg").substr(0, 20), "Le flux de données JPEG ne contient pas d'image"_cp},
      {"60000 x 60000", huge, "Image trop grande."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(RaisedText(Raised([&] { Decode(c.bytes); })), c.error);
  }
}

// A stream that fails after some bytes, as a full disk does.
class FailingStream : public MemoryStream {
 public:
  explicit FailingStream(std::uint32_t room) : room(room) {}
  void Write(const void* buffer, std::uint32_t length) override {
    if (GetLength() + length > room) ThrowError("Disque plein", __FILE__, __LINE__);
    MemoryStream::Write(buffer, length);
  }

 private:
  std::uint32_t room;
};

TEST(JPEGCodec, AStreamErrorInsideTheLibraryReachesTheCallerAndTheLibraryLetsGo) {
  PixelBuffer picture(300, 300, 24);
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = static_cast<std::uint8_t>(i * 7);
  for (std::uint32_t room : {0u, 5000u}) {
    SmartRef<FailingStream> stream = new FailingStream(room);
    EXPECT_EQ(RaisedText(Raised([&] { CompressToJPEG(PixelBufferSource(picture), *stream); })), "Disque plein");
  }
  // The next conversion starts afresh.
  EXPECT_EQ(Decode(Encode(picture)).width, 300);
}

class StoppedDisplay : public SilentProgressDisplay {
 public:
  bool WasCancelled() override { return true; }
};

TEST(JPEGCodec, StoppingTheProgressDisplayCancelsTheConversion) {
  SetProgressDisplayMaker([](const char*) -> SmartRef<ProgressDisplay> { return new StoppedDisplay(); });
  const std::string bytes = ReadFixture("cjpeg-progressive.jpg");
  SmartRef<Exception> raised = Raised([&] { Decode(bytes); });
  SetProgressDisplayMaker(nullptr);
  gProgressDialog = nullptr;
  EXPECT_NE(dynamic_cast<UserCancelException*>(~raised), nullptr) << RaisedText(raised);
}

}  // namespace

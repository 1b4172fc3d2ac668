// Damaged files of every format, made from the fixtures: cut at many lengths and with bytes changed.
#include <gtest/gtest.h>

#include <random>

#include "graphics/PictureFixtures.h"
#include "graphics/PictureFuzzTargets.h"

using namespace picture_testing;

namespace {

const struct {
  PictureFormat format;
  const char* file;
} kFixtures[] = {
    {PictureFormat::kBMP, "im3-24.bmp"},     {PictureFormat::kBMP, "im3-rle8.bmp"},
    {PictureFormat::kBMP, "im5-rgb565.bmp"}, {PictureFormat::kBMP, "pbm-1.bmp"},
    {PictureFormat::kBMP, "pbm-4.bmp"},      {PictureFormat::kBMP, "hand-rle4.bmp"},
    {PictureFormat::kGIF, "im.gif"},         {PictureFormat::kGIF, "im-interlaced.gif"},
    {PictureFormat::kJPEG, "cjpeg-baseline.jpg"}, {PictureFormat::kJPEG, "cjpeg-progressive.jpg"},
    {PictureFormat::kJPEG, "im-cmyk.jpg"},   {PictureFormat::kPICT, "im.pict"},
};

bool Read(PictureFormat format, const std::string& bytes) {
  return ReadUntrusted(format, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST(PictureRobustness, FilesCutShortReadOrGiveTheProgramsError) {
  for (const auto& f : kFixtures) {
    SCOPED_TRACE(f.file);
    const std::string whole = ReadFixture(f.file);
    ASSERT_TRUE(Read(f.format, whole));
    // Every length through the headers, then a spread of lengths through the data.
    for (std::size_t length = 0; length < whole.size(); length += length < 700 ? 1 : 37) Read(f.format, whole.substr(0, length));
  }
}

TEST(PictureRobustness, FilesWithChangedBytesReadOrGiveTheProgramsError) {
  std::mt19937 random(20261210);
  for (const auto& f : kFixtures) {
    SCOPED_TRACE(f.file);
    const std::string whole = ReadFixture(f.file);
    // Changes in the headers matter most: half of them land in the first 128 bytes.
    for (int round = 0; round < 400; ++round) {
      std::string bytes = whole;
      const int changes = 1 + static_cast<int>(random() % 4);
      for (int i = 0; i < changes; ++i) {
        const std::size_t span = (round & 1) ? bytes.size() : std::min<std::size_t>(bytes.size(), 128);
        bytes[random() % span] = static_cast<char>(random() % 4 == 0 ? 0xFF : random());
      }
      Read(f.format, bytes);
    }
  }
}

}  // namespace

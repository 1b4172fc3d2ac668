// Damaged files of every format, made from the fixtures: cut at many lengths and with bytes changed.
#include <gtest/gtest.h>

#include <random>

#include "core/Text1252.h"
#include "graphics/PictureFixtures.h"
#include "graphics/PictureFuzzTargets.h"
#include "graphics/formats/GIFDecoder.h"
#include "graphics/formats/JPEGCodec.h"
#include "graphics/formats/PICTFile.h"
#include "support/Raised.h"

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

void ReadRefusing(PictureFormat format, Stream& stream) {
  Memory picture;
  switch (format) {
    case PictureFormat::kGIF: DecodeGIF(stream); break;
    case PictureFormat::kJPEG: DecompressJPEG(stream); break;
    default: ReadPICTData(stream, picture); break;
  }
}

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

// Files that a reader refuses give the reader's own text, whatever check refused them.
TEST(PictureRobustness, RefusedFilesGiveTheReadersText) {
  const std::string gif = ReadFixture("im.gif"), jpeg = ReadFixture("cjpeg-baseline.jpg");
  const struct {
    const char* what;
    PictureFormat format;
    std::string bytes;
    std::string error;
  } cases[] = {
      {"GIF cut in its header", PictureFormat::kGIF, gif.substr(0, 8), "Fin prématurée de fichier d'entrée"_cp},
      {"GIF cut in its colour map", PictureFormat::kGIF, gif.substr(0, 20), "Fin prématurée de fichier d'entrée"_cp},
      {"empty JPEG", PictureFormat::kJPEG, "", "Fichier d'entrée vide"_cp},
      {"JPEG of another kind", PictureFormat::kJPEG, "GIF89a" + jpeg.substr(6), "Not a JPEG file: starts with 0x47 0x49"},
      {"PICT without its picture", PictureFormat::kPICT, std::string(515, '\0'), "Fichier PICT trop court."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SmartRef<MemoryStream> stream = StreamOf(c.bytes);
    EXPECT_EQ(RaisedText(Raised([&] { ReadRefusing(c.format, *stream); })), c.error);
  }
}

}  // namespace

// The picture fuzzers' corpora, replayed through the fuzzers' own entry so that every seed and every input
// that once failed runs under the sanitizers with the other tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "graphics/PictureFixtures.h"
#include "graphics/PictureFuzzTargets.h"

using namespace picture_testing;

namespace {

TEST(PictureFuzzCorpus, EveryInputReadsOrGivesTheProgramsError) {
  const struct {
    const char* folder;
    PictureFormat format;
  } corpora[] = {{"bmp", PictureFormat::kBMP}, {"gif", PictureFormat::kGIF}, {"jpeg", PictureFormat::kJPEG}, {"pict", PictureFormat::kPICT}};
  for (const auto& corpus : corpora) {
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(QUILLORY_SOURCE_DIR) / "fuzz/corpus" / corpus.folder)) {
      SCOPED_TRACE(entry.path().string());
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string bytes(std::istreambuf_iterator<char>(in), {});
      ReadUntrusted(corpus.format, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++replayed;
    }
    EXPECT_GT(replayed, 0) << corpus.folder;
  }
}

}  // namespace

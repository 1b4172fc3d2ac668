// The list fuzzer's corpus replayed through the fuzzer's own entry, so that every seed and every input
// that once failed runs under the sanitizers with the other tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ListFuzzTargets.h"

namespace {

TEST(ListFuzzCorpus, EveryInputReadsOrIsFoundBad) {
  int replayed = 0, read = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(QUILLORY_SOURCE_DIR) / "fuzz/corpus/lists")) {
    SCOPED_TRACE(entry.path().string());
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    read += list_testing::ReadUntrustedLists(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ++replayed;
  }
  EXPECT_GT(replayed, 0);
  EXPECT_GT(read, 0) << "the seeds hold good lists";
}

}  // namespace

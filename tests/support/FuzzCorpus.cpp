#include "support/FuzzCorpus.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/Format.h"
#include "support/UntrustedDocument.h"

namespace {

std::filesystem::path CorpusFolder(const std::string& corpus) {
  return std::filesystem::path(QUILLORY_SOURCE_DIR) / "fuzz/corpus" / corpus;
}

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

void ExpectCorpusSeed(const std::string& corpus, const std::string& name, const std::string& bytes) {
  const std::filesystem::path path = CorpusFolder(corpus) / ("seed-" + name);
  if (std::getenv("QUILLORY_WRITE_CORPUS") != nullptr) std::ofstream(path, std::ios::binary) << bytes;
  if (!std::filesystem::exists(path)) {
    ADD_FAILURE() << path << " is missing: run this suite with QUILLORY_WRITE_CORPUS=1 and commit the seed";
    return;
  }
  EXPECT_TRUE(ReadWhole(path) == bytes) << path << " differs from what the program writes now";
}

void ReplayObjectFileCorpus() {
  const SmartRef<TypeIndex> documents = GetGenericTypeIndex();
  int replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(CorpusFolder("objectfile"))) {
    SCOPED_TRACE(entry.path().filename().string());
    const std::string bytes = ReadWhole(entry.path());
    document_testing::ReadUntrustedDocument(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                                            documents);
    ++replayed;
  }
  EXPECT_GT(replayed, 0);
}

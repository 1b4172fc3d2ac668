// The object-file fuzzer's corpus, replayed through the fuzzer's own entry so that every seed and every
// input that once failed runs under the sanitizers with the other tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "ObjectFileTestSupport.h"
#include "support/FuzzCorpus.h"
#include "core/Text1252.h"

using namespace objectfile_testing;

namespace {

const std::filesystem::path kCorpus = std::filesystem::path(QUILLORY_SOURCE_DIR) / "fuzz/corpus/objectfile";

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The seeds: files this program writes, and the layouts it only reads.
std::map<std::string, std::string> MakeSeeds() {
  std::map<std::string, std::string> seeds;
  seeds["graph"] = GraphFixture();
  seeds["graph-big-endian"] = GraphFixture(true);
  seeds["graph-newer-node"] = GraphFixture(false, true);
  SmartRef<Node> varying = MakeTestGraph(&Node::type13);
  varying->next->padding = 3;
  seeds["graph-newer-varying-node"] = SaveToBytes(varying, MakeTestTypeIndex(&Node::type13));
  BreakCycle(~varying);
  SmartRef<Node> self = new Node();
  self->next = self;
  self->label = new String("soi");
  seeds["self-cycle"] = SaveToBytes(self, MakeTestTypeIndex());
  self->next = nullptr;
  seeds["string-root"] = SaveToBytes(new String("Été"_cp), MakeTestTypeIndex());
  Bytes obsolete(true);
  obsolete.B("ZODx").L(1).L(0).L(1).L(1).L(0);
  seeds["obsolete"] = obsolete.out;
  return seeds;
}

TEST(FuzzCorpus, SeedsAreThoseTheProgramWrites) {
  for (const auto& [name, bytes] : MakeSeeds()) {
    SCOPED_TRACE(name);
    ExpectCorpusSeed("objectfile", name, bytes);
  }
}

// Through the tests' own class numbering, which the graph seeds are written in.
TEST(FuzzCorpus, EveryInputReadsWithoutFault) {
  int replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kCorpus)) {
    SCOPED_TRACE(entry.path().filename().string());
    const std::string bytes = ReadWhole(entry.path());
    ReadUntrusted(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ++replayed;
  }
  EXPECT_GT(replayed, 0);
}

// The same inputs as the fuzzer reads them: through the class numbering of documents.
TEST(FuzzCorpus, EveryInputReadsAsADocument) { ReplayObjectFileCorpus(); }

}  // namespace

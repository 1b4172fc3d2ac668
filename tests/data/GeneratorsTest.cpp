// The generators of data/ and of the program's compiled pictures remake them exactly: run into an empty folder, together they write every file
// that is checked in, byte for byte, and nothing else.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::map<std::string, std::string> Tree(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    files[fs::relative(entry.path(), root).string()] = ReadFile(entry.path());
  }
  return files;
}

int RunScript(const std::string& script, const fs::path& argument) {
  const std::string command =
      std::string("'") + QUILLORY_SOURCE_DIR + "/scripts/" + script + "' '" + argument.string() + "'";
  return std::system(command.c_str());
}

TEST(DataGenerators, EachRunWritesTheCheckedInBytes) {
  TempFolder out;
  fs::create_directories(out.Path() / "Data");
  ASSERT_EQ(RunScript("make-data", out.Path()), 0);
  ASSERT_EQ(RunScript("make-patterns", out.Path() / "Data"), 0);
  ASSERT_EQ(RunScript("make-palette", out.Path() / "Data/standard.pal"), 0);
  // The example pages' script builds their writer first; the suite has it built already.
  const std::string pages = std::string("'") + QUILLORY_EXAMPLE_PAGES_TOOL + "' '" + QUILLORY_SOURCE_DIR +
                            "/data' '" + out.Path().string() + "'";
  ASSERT_EQ(std::system(pages.c_str()), 0);
  const auto made = Tree(out.Path());
  const auto checkedIn = Tree(fs::path(QUILLORY_SOURCE_DIR) / "data");
  for (const auto& [name, bytes] : checkedIn) {
    const auto found = made.find(name);
    if (found == made.end()) {
      ADD_FAILURE() << name << " is checked in but no generator makes it";
      continue;
    }
    EXPECT_TRUE(found->second == bytes) << name << " differs from what its generator writes";
  }
  for (const auto& [name, bytes] : made)
    EXPECT_TRUE(checkedIn.contains(name)) << name << " is made but not checked in";

  const fs::path compiled = fs::path(QUILLORY_SOURCE_DIR) / "src/ui/shell/ProgramPictures.inc";
  ASSERT_EQ(RunScript("make-program-pictures", out.Path() / "ProgramPictures.inc"), 0);
  EXPECT_TRUE(ReadFile(out.Path() / "ProgramPictures.inc") == ReadFile(compiled))
      << compiled << " differs from what make-program-pictures writes";
}

}  // namespace

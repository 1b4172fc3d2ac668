#include "support/TempFolder.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quillory-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Read-only items would survive a plain removal.
  for (auto& entry : std::filesystem::recursive_directory_iterator(path, ignored))
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
  std::filesystem::remove_all(path, ignored);
}

std::string TempFolder::WinPath(const std::string& child) const {
  std::string out = path.string();
  if (!child.empty()) out += "/" + child;
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

std::string TempFolder::Write(const std::string& relative, const std::string& bytes) const {
  const auto file = path / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
  return WinPath(relative);
}

std::string TempFolder::MakeFolder(const std::string& relative) const {
  std::filesystem::create_directories(path / relative);
  return WinPath(relative);
}

std::string TempFolder::Read(const std::string& relative) const {
  std::ifstream in(path / relative, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

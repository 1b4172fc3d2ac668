#include "platform/kernel/Paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <vector>

#include "platform/kernel/Codepage.h"
#include "platform/kernel/Errors.h"

namespace platform {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Characters Windows never accepts inside a name.
bool IsValidNameChar(unsigned char c) { return c >= 32 && !std::strchr("<>:\"|?*", c); }

bool Exists(const std::string& posix) {
  struct stat info {};
  return lstat(posix.c_str(), &info) == 0;
}

// The spelling on disk of the entry of the folder whose name equals the Windows name without regard to
// case; empty when there is none.
std::string FindIgnoringCase(const std::string& folder, std::string_view windowsName) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return {};
  std::string found;
  while (dirent* entry = readdir(dir)) {
    if (NamesEqualIgnoringCase(ToWindowsName(entry->d_name), windowsName)) {
      found = entry->d_name;
      break;
    }
  }
  closedir(dir);
  return found;
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace

unsigned char LowerCp1252(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A:
      return 0x9A;  // Š
    case 0x8C:
      return 0x9C;  // Œ
    case 0x8E:
      return 0x9E;  // Ž
    case 0x9F:
      return 0xFF;  // Ÿ
    default:
      return c;
  }
}

bool NamesEqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerCp1252(static_cast<unsigned char>(a[i])) != LowerCp1252(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*" || pattern == "*") return true;
  // Iterative wildcard match with one back-track point for the last star.
  std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || LowerCp1252(static_cast<unsigned char>(pattern[p])) ==
                                                               LowerCp1252(static_cast<unsigned char>(name[n])))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::string ToWindowsName(std::string_view posixName) { return Utf8ToCp1252(posixName); }

std::string ToWindowsPath(std::string_view posixPath) {
  std::string out = Utf8ToCp1252(posixPath);
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

bool ToPosixPath(const char* windowsPath, std::string* posixPath) {
  if (windowsPath == nullptr || *windowsPath == '\0') {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  std::string_view path(windowsPath);
  if (path.size() >= MAX_PATH) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  // Every drive is the one root.
  bool absolute = false;
  if (path.size() >= 2 && path[1] == ':' &&
      ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
    path.remove_prefix(2);
    absolute = true;
  }
  if (!path.empty() && IsSeparator(path[0])) absolute = true;

  std::string result = absolute ? "/" : "";
  bool parentExists = true;
  std::size_t pos = 0;
  while (pos < path.size()) {
    std::size_t end = pos;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    std::string_view name = path.substr(pos, end - pos);
    pos = end + 1;
    if (name.empty()) continue;
    if (name != "." && name != "..") {
      while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.remove_suffix(1);
      if (name.empty()) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
      }
      for (char c : name)
        if (!IsValidNameChar(static_cast<unsigned char>(c))) {
          SetLastError(ERROR_INVALID_NAME);
          return false;
        }
    }
    std::string spelled = Cp1252ToUtf8(name);
    std::string candidate = Join(result, spelled);
    if (parentExists && !Exists(candidate)) {
      const std::string onDisk = (name == "." || name == "..") ? std::string() : FindIgnoringCase(result, name);
      if (onDisk.empty()) {
        parentExists = false;
      } else {
        candidate = Join(result, onDisk);
      }
    }
    result = std::move(candidate);
  }
  if (result.empty()) result = ".";
  *posixPath = std::move(result);
  return true;
}

}  // namespace platform

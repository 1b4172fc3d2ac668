// Windows-form paths at the system-call boundary. The program builds and parses paths the Windows way
// ("\" between names, Windows-1252 bytes, at most 259 characters); Linux wants "/" and UTF-8, and tells
// letter case apart. These helpers turn one form into the other.
#pragma once

#include <string>
#include <string_view>

#include "platform/kernel/WinTypes.h"

inline constexpr DWORD MAX_PATH = 260;

namespace platform {

// The POSIX path of a Windows-form path, or false with the last error set (ERROR_INVALID_NAME for
// characters Windows refuses in names, ERROR_FILENAME_EXCED_RANGE for 260 characters or more,
// ERROR_PATH_NOT_FOUND for an empty path). Both separators are accepted; a drive prefix ("C:") stands for
// the root. Trailing dots and blanks of every name are dropped, as Windows drops them. Each name that is
// not found as spelled is looked up without regard to letter case in its folder; a name that is not
// found at all keeps its spelling, so that the path can be created.
bool ToPosixPath(const char* windowsPath, std::string* posixPath);

// The Windows form of a POSIX path: "/" becomes "\" and UTF-8 becomes Windows-1252.
std::string ToWindowsPath(std::string_view posixPath);

// The Windows-1252 form of one name as the file system spells it.
std::string ToWindowsName(std::string_view posixName);

// Whether two Windows-1252 names are equal without regard to letter case.
bool NamesEqualIgnoringCase(std::string_view a, std::string_view b);
// The lower-case form of one Windows-1252 byte.
unsigned char LowerCp1252(unsigned char c);

// Whether a Windows-1252 name matches a pattern of "*" and "?", without regard to letter case. "*.*"
// matches every name, also one without a dot.
bool MatchesPattern(std::string_view name, std::string_view pattern);

}  // namespace platform

#include <gtest/gtest.h>

#include "core/Text1252.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Paths.h"
#include "support/TempFolder.h"

namespace {

TEST(Paths, WindowsPathsReachTheFilesAsSpelledOnDisk) {
  TempFolder root;
  root.Write("Projets/Mon site/index.zod", "x");
  root.Write("Projets/Mon site/été.txt", "x");
  const std::string base = root.Path().string();
  struct Case {
    std::string windows;
    std::string posix;
  };
  const Case cases[] = {
      {root.WinPath("Projets\\Mon site\\index.zod"), base + "/Projets/Mon site/index.zod"},
      {root.WinPath("PROJETS\\mon SITE\\Index.ZOD"), base + "/Projets/Mon site/index.zod"},
      {root.WinPath("projets/mon site/index.zod"), base + "/Projets/Mon site/index.zod"},
      // Trailing dots and blanks of every name are dropped.
      {root.WinPath("Projets. \\Mon site\\index.zod. ."), base + "/Projets/Mon site/index.zod"},
      // Windows-1252 names, matched without regard to case also beyond ASCII.
      {root.WinPath("Projets\\Mon site\\") + "ÉTÉ.TXT"_cp, base + "/Projets/Mon site/été.txt"},
      // A missing name keeps its spelling, so that it can be made; below it nothing is looked up.
      {root.WinPath("projets\\Nouveau\\Page.zod"), base + "/Projets/Nouveau/Page.zod"},
      {"C:" + root.WinPath("projets"), base + "/Projets"},
  };
  for (const auto& c : cases) {
    std::string posix;
    ASSERT_TRUE(platform::ToPosixPath(c.windows.c_str(), &posix)) << c.windows;
    EXPECT_EQ(posix, c.posix) << c.windows;
  }
}

TEST(Paths, MalformedPathsAreRefusedWithTheirError) {
  struct Case {
    std::string path;
    DWORD error;
  };
  const Case cases[] = {
      {"", ERROR_PATH_NOT_FOUND},
      {"\\tmp\\a?b", ERROR_INVALID_NAME},
      {"\\tmp\\a*b", ERROR_INVALID_NAME},
      {"\\tmp\\a\"b", ERROR_INVALID_NAME},
      {"\\tmp\\a:b", ERROR_INVALID_NAME},
      {"\\tmp\\...\\x", ERROR_INVALID_NAME},
      {"\\tmp\\" + std::string(255, 'a'), ERROR_FILENAME_EXCED_RANGE},
  };
  for (const auto& c : cases) {
    std::string posix;
    SetLastError(0);
    EXPECT_FALSE(platform::ToPosixPath(c.path.c_str(), &posix)) << c.path;
    EXPECT_EQ(GetLastError(), c.error) << c.path;
  }
  std::string posix;
  EXPECT_TRUE(platform::ToPosixPath(("\\tmp\\" + std::string(255, 'a')).substr(1).c_str(), &posix));
}

TEST(Paths, WindowsFormOfPosixPaths) {
  EXPECT_EQ(platform::ToWindowsPath("/home/enfant/Été"), "\\home\\enfant\\Été"_cp);
}

TEST(Paths, PatternsMatchWithoutRegardToCase) {
  struct Case {
    const char* name;
    const char* pattern;
    bool matches;
  };
  const Case cases[] = {
      {"photo.GIF", "*.gif", true}, {"photo.gif", "*.jpg", false},    {"README", "*.*", true},
      {"a.b.c", "*.c", true},       {"a.b.c", "*.b", false},          {"abc", "a?c", true},
      {"ac", "a?c", false},         {"x.txt", "X.TXT", true},         {"", "*", true},
      {"abcabd", "*ab?", true},     {"PAGE1.ZOD", "page*.zod", true}, {"\xC9t\xE9.txt", "\xE9T\xC9*", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(platform::MatchesPattern(c.name, c.pattern), c.matches) << c.name << " ~ " << c.pattern;
}

}  // namespace

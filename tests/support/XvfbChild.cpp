#include "support/XvfbChild.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {
constexpr const char* kVariable = "QUILLORY_XVFB_CHILD";
}

bool RegisterXvfbChild(const char* name, void (*body)()) {
  const char* wanted = std::getenv(kVariable);
  if (wanted == nullptr || std::string(wanted) != name) return false;
  testing::RegisterTest("XvfbChild", name, nullptr, nullptr, __FILE__, __LINE__, [body]() -> testing::Test* {
    struct Body : testing::Test {
      explicit Body(void (*run)()) : run(run) {}
      void TestBody() override { run(); }
      void (*run)();
    };
    return new Body(body);
  });
  return true;
}

int RunXvfbChild(const char* name, const char* screen, const std::string& tools, int seconds) {
  std::istringstream needed("xvfb-run " + tools);
  for (std::string tool; needed >> tool;) {
    if (std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) != 0) return -1;
  }
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  const std::string log = (std::filesystem::temp_directory_path() /
                           ("quillory-xvfb-" + std::string(name) + "-" + std::to_string(getpid()) + ".log"))
                              .string();
  // SDL's X11 and system-bus libraries keep a few blocks for the life of the process, out of our reach.
  const std::string command = std::string(kVariable) + "=" + name + " ASAN_OPTIONS=detect_leaks=0 timeout " + std::to_string(seconds) + " xvfb-run -a -s '-screen 0 " +
                              screen + "' '" + self + "' --gtest_filter=XvfbChild." + name + " > '" + log + "' 2>&1";
  const int status = std::system(command.c_str());
  if (status != 0) std::system(("cat '" + log + "'").c_str());
  std::filesystem::remove(log);
  return status;
}

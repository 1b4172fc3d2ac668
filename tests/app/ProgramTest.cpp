// The program itself, started as a process from a folder laid out as scripts/run lays it out: without a
// display it says so and ends with 1; on a real X display it opens its SDL window, shows the splash and
// then the welcome, with no alert.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "support/RunProgram.h"
#include "support/TempFolder.h"
#include "support/XvfbChild.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;

const std::string kProgram = std::string(QUILLORY_BINARY_DIR) + "/quillory";

// The program's folder: the program's data as it ships.
void LayOutProgramFolder(const fs::path& folder) {
  fs::copy(fs::path(QUILLORY_SOURCE_DIR) / "data", folder, fs::copy_options::recursive);
}

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Program, WithoutADisplaySaysSoAndEndsWithOne) {
  TempFolder folder;
  LayOutProgramFolder(folder.Path());
  const fs::path output = folder.Path() / "output.txt";
  const std::string command = "cd '" + folder.Path().string() +
                              "' && env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 '" + kProgram + "' 2>&1";
  EXPECT_EQ(RunProgram({"sh", "-c", command}, output.c_str()), 1);
  EXPECT_NE(ReadAll(output).find("quillory: "), std::string::npos) << ReadAll(output);
}

// Runs under xvfb-run: the program in its folder, its window found by its title, the screen taken during
// the splash and again once the splash's five seconds are over.
void SplashThenWelcome() {
  TempFolder folder;
  LayOutProgramFolder(folder.Path());
  const std::string log = (folder.Path() / "log.txt").string();
  pid_t program = fork();
  ASSERT_GE(program, 0);
  if (program == 0) {
    if (chdir(folder.Path().c_str()) != 0) _exit(90);
    // With no message box of its own on this platform, every alert is written to the error output.
    if (freopen(log.c_str(), "w", stderr) == nullptr) _exit(92);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    execl(kProgram.c_str(), kProgram.c_str(), static_cast<char*>(nullptr));
    _exit(91);
  }
  const fs::path splash = folder.Path() / "splash.png";
  const fs::path welcome = folder.Path() / "welcome.png";
  const int found = std::system("timeout 30 xdotool search --sync --name '^Quillory$' >/dev/null 2>&1");
  EXPECT_EQ(found, 0) << "no window titled Quillory";
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_EQ(RunProgram({"import", "-window", "root", splash.string()}), 0);
  std::this_thread::sleep_for(std::chrono::seconds(7));
  EXPECT_EQ(RunProgram({"import", "-window", "root", welcome.string()}), 0);
  kill(program, SIGTERM);
  int status = 0;
  waitpid(program, &status, 0);
  EXPECT_TRUE(WIFEXITED(status)) << "the program ends by itself when told to";
  // The two screens differ where the splash stood: the welcome took its place.
  const fs::path difference = folder.Path() / "difference.txt";
  // compare gives the count of differing pixels on its error output.
  RunProgram({"sh", "-c", "/usr/bin/compare -metric AE '" + splash.string() + "' '" + welcome.string() + "' null: 2>&1"},
             difference.c_str());
  const std::string counted = ReadAll(difference);
  EXPECT_GT(std::atol(counted.c_str()), 10000) << "splash and welcome look the same: " << counted;
  // An alert is written as "[caption] text": a fresh folder has every folder and resource it needs.
  std::istringstream lines(ReadAll(log));
  for (std::string line; std::getline(lines, line);) {
    EXPECT_NE(line.rfind('[', 0), 0u) << "an alert at start-up: " << line;
  }
}

const bool gChildRegistered = RegisterXvfbChild("QuilloryUnderX", &SplashThenWelcome);

TEST(Program, UnderXTheSplashAndThenTheWelcomeShowInARealWindow) {
  const int status = RunXvfbChild("QuilloryUnderX", "1024x768x24", "xdotool import");
  if (status == -1) GTEST_SKIP() << "xvfb-run, xdotool or import is missing (scripts/install-deps installs them)";
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace app_test

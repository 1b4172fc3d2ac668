// The program itself, started as a process from a folder laid out as scripts/run lays it out: without a
// display it says so and ends with 1; on a real X display it opens its SDL window, shows the splash and
// then the welcome, with no alert.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "ProgramUnderX.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"
#include "support/XvfbChild.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;

const std::string kProgram = std::string(QUILLORY_BINARY_DIR) + "/quillory";

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Program, WithoutADisplaySaysSoAndEndsWithOne) {
  TempFolder folder;
  ASSERT_TRUE(LayOutProgramFolder(folder.Path()));
  const fs::path output = folder.Path() / "output.txt";
  // As a user starts it, with no video driver named: SDL's own fallbacks show nothing and must not serve.
  const std::string command = "cd '" + folder.Path().string() +
                              "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 60 '" + kProgram +
                              "' 2>&1";
  EXPECT_EQ(RunProgram({"sh", "-c", command}, output.c_str()), 1) << "124: it ran on without a window";
  EXPECT_NE(ReadAll(output).find("quillory: no display"), std::string::npos) << ReadAll(output);
}

// Runs under xvfb-run: the program in its folder, its window found by its title, the screen taken during
// the splash and again once the splash's five seconds are over.
void SplashThenWelcome() {
  TempFolder folder;
  ASSERT_TRUE(LayOutProgramFolder(folder.Path()));
  RunningProgram program(folder.Path());
  ASSERT_TRUE(program.FindWindow(30000)) << "no window titled Quillory";
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  const ColourPicture splash = program.Shot();
  std::this_thread::sleep_for(std::chrono::seconds(7));
  const ColourPicture welcome = program.Shot();
  EXPECT_GE(program.Terminate(10000), 0) << "the program ends by itself when told to";
  ASSERT_GT(splash.width, 0);
  // The two screens differ where the splash stood: the welcome took its place.
  EXPECT_GT(DifferingPixels(splash, welcome, {0, 0, splash.width, splash.height}), 10000)
      << "splash and welcome look the same";
  // An alert is written as "[caption] text": a fresh folder has every folder and resource it needs.
  EXPECT_TRUE(program.Alerts().empty()) << "an alert at start-up: " << program.Log();
}

const bool gChildRegistered = RegisterXvfbChild("QuilloryUnderX", &SplashThenWelcome);

TEST(Program, UnderXTheSplashAndThenTheWelcomeShowInARealWindow) {
  const int status = RunXvfbChild("QuilloryUnderX", "1024x768x24", "xdotool import");
  if (status == -1) GTEST_SKIP() << "xvfb-run, xdotool or import is missing (scripts/install-deps installs them)";
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace app_test

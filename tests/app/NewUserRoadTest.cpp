// The new user's road: the program started from a folder laid out as scripts/run lays it out, on a real X
// display in a network of its own with a real FTP server on port 21, used from the splash to "Quitter" as
// a child uses it, every step checked on the screen by region; no alert, no crash, and the program ends
// with 0. Once with each server, as they behave differently.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ProgramUnderX.h"
#include "support/TempFolder.h"
#include "support/XvfbChild.h"
#include "support/web/Servers.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;
using web_test::FtpServerKind;

// The program's screen: the main window's caption, its 22-pixel menu bar, and its client area under them.
constexpr int kScreenWidth = 800;
constexpr int kClientTop = 40;
constexpr int kClientHeight = 560;
// Where the welcome dialog's "Nouveau projet" button lies on its picture.
constexpr ScreenPoint kNewProjectButton{137, 115};
constexpr const char* kProject = "Voyage";
constexpr std::uint32_t kWhite = 0xFFFFFF;

// Waits of the road: the splash stays between 5 and 6 seconds; a debug build with the sanitizers takes
// a few seconds to start.
constexpr int kStartMs = 30000;
constexpr int kStepMs = 10000;

void WalkTheRoad(FtpServerKind kind) {
  TempFolder work;
  web_test::FtpServer server;
  std::string why;
  ASSERT_TRUE(server.Start(kind, work.Path(), &why)) << why;
  const fs::path folder = work.Path() / "program";
  ASSERT_TRUE(LayOutProgramFolder(folder)) << "scripts/lay-out-program failed";
  const ColourPicture splash = ReadPicture(folder / "Data" / "1422.bmp");
  const ColourPicture welcome = ReadPicture(folder / "Data" / "1421.bmp");
  ASSERT_GT(splash.width, 0);
  ASSERT_GT(welcome.width, 0);

  RunningProgram program(folder);
  ASSERT_TRUE(program.FindWindow(kStartMs)) << "no window titled Quillory\n" << program.Log();
  ColourPicture shot;

  // The splash: its picture whole, in the middle of the client area.
  ASSERT_TRUE(program.WaitForShot([&](const ColourPicture& s) { return FindPicture(s, splash).has_value(); }, kStartMs,
                                  &shot))
      << "no splash\n" << program.Log();
  const ScreenPoint splashAt = *FindPicture(shot, splash);
  EXPECT_NEAR(splashAt.x + splash.width / 2, kScreenWidth / 2, 8);
  EXPECT_NEAR(splashAt.y + splash.height / 2, kClientTop + kClientHeight / 2, 8);

  // The welcome takes its place: its picture under its texts and buttons, the splash gone.
  std::optional<ScreenPoint> welcomeAt;
  ASSERT_TRUE(program.WaitForShot(
      [&](const ColourPicture& s) {
        welcomeAt = FindPicture(s, welcome, 0.5);
        return welcomeAt && !FindPicture(s, splash);
      },
      kStepMs, &shot))
      << "no welcome after the splash\n" << program.Log();

  // "Nouveau projet": the name dialog, its field holding the default name selected, which the typed name
  // replaces.
  const ColourPicture atWelcome = shot;
  program.Click({welcomeAt->x + kNewProjectButton.x, welcomeAt->y + kNewProjectButton.y});
  ASSERT_TRUE(program.WaitForShot([&](const ColourPicture& s) { return !FindPicture(s, welcome, 0.5); }, kStepMs, &shot))
      << "the name dialog did not open over the welcome";
  const ColourPicture nameDialog = shot;
  program.Type(kProject);
  ASSERT_TRUE(program.WaitForShot(
      [&](const ColourPicture& s) { return DifferingPixels(s, nameDialog, {0, kClientTop, kScreenWidth, kClientHeight}) > 50; },
      kStepMs, &shot))
      << "the typed name does not show";
  program.Key("Return");

  // The project: its folder under its lock, and its first page, empty, in the page window.
  ASSERT_TRUE(program.WaitForShot([&](const ColourPicture& s) { return FindBlock(s, 480, 360, kWhite).has_value(); }, kStepMs, &shot))
      << "no empty page of 480 x 360\n" << program.Log();
  EXPECT_TRUE(fs::exists(folder / "Projets" / kProject / "lockinfo.lok"));
  EXPECT_GT(DifferingPixels(shot, atWelcome, {0, kClientTop, kScreenWidth, kClientHeight}), 100000)
      << "the welcome is still there";

  // "Quitter", the last item of "Fichier".
  ASSERT_TRUE(program.ChooseMenuItem(0, -1)) << "no \"Fichier\" menu";
  EXPECT_EQ(program.WaitForExit(kStepMs), 0) << program.Log();
  EXPECT_TRUE(program.Alerts().empty()) << program.Log();
}

const bool gRoadWithPyftpdlib =
    RegisterXvfbChild("NewUserRoadPyftpdlib", [] { WalkTheRoad(FtpServerKind::kPyftpdlib); });
const bool gRoadWithVsftpd = RegisterXvfbChild("NewUserRoadVsftpd", [] { WalkTheRoad(FtpServerKind::kVsftpd); });

class NewUserRoad : public ::testing::TestWithParam<FtpServerKind> {};

// The display and everything on it live in the private network: the server, the program and xdotool.
TEST_P(NewUserRoad, FromTheSplashToQuitter) {
  std::string why;
  if (!web_test::EnterPrivateNetwork(&why)) GTEST_SKIP() << why;
  const std::string child = GetParam() == FtpServerKind::kPyftpdlib ? "NewUserRoadPyftpdlib" : "NewUserRoadVsftpd";
  const int status = RunXvfbChild(child.c_str(), "1024x768x24", "xdotool import");
  if (status == -1) GTEST_SKIP() << "xvfb-run, xdotool or import is missing (scripts/install-deps installs them)";
  EXPECT_EQ(status, 0);
}

INSTANTIATE_TEST_SUITE_P(Servers, NewUserRoad, ::testing::Values(FtpServerKind::kPyftpdlib, FtpServerKind::kVsftpd),
                         [](const auto& info) { return web_test::FtpServerName(info.param); });

}  // namespace
}  // namespace app_test

// The information window in the running program: one at a time, closed by a click on its picture or by
// Esc, and the debug parameters when Ctrl and Shift are both held as it closes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/AppTestSupport.h"
#include "app/DromelApp.h"
#include "app/windows/InfoWindow.h"
#include "core/Text1252.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "ui/controls/GraphicButton.h"
#include "ui/dialogs/Dialog.h"
#include "ui/shell/DebugMessage.h"
#include "ui/text/TextView.h"

namespace app_test {
namespace {

constexpr int kPictureWidth = 200;
constexpr int kPictureHeight = 120;

// The information window: a dialog showing one picture button and nothing else.
GraphicButton* InfoPicture(Window* window) {
  auto* dialog = CastSmart<Dialog>(window);
  if (dialog == nullptr || dialog->GetSubviews().NumItems() != 1) return nullptr;
  return CastSmart<GraphicButton>(dialog->GetSubviews().At(1));
}

bool DebugParametersInFront() {
  auto* dialog = CastSmart<Dialog>(gApplication ? ~gApplication->FrontWindow() : nullptr);
  if (dialog == nullptr) return false;
  auto* label = CastSmart<TextView>(dialog->GetSubviews().At(1));
  if (label == nullptr) return false;
  String text;
  label->GetText(&text);
  return TextOf(text) == "Debug Parameters";
}

void Key(int key, bool down) { platform::InjectKey(key, down); }

class InfoWindowTest : public DromelAppTest {
 protected:
  void SetUp() override {
    DromelAppTest::SetUp();
    WriteAppPicture(421, kPictureWidth, kPictureHeight, 0xC08040);
  }
  void TearDown() override {
    gInfoWindowOpen = 0;
    DromelAppTest::TearDown();
  }
  static bool InfoInFront() { return InfoPicture(Front()) != nullptr; }
};

// Which keys are held as the window closes decides whether the debug parameters come; a second request
// while the window is up does nothing, and once it has closed the window opens again.
struct CloseCase {
  const char* name;
  std::vector<int> held;
  bool byEsc;
  bool debugParameters;
};

void PrintTo(const CloseCase& c, std::ostream* out) { *out << c.name; }

class InfoCloseTest : public InfoWindowTest, public testing::WithParamInterface<CloseCase> {};

TEST_P(InfoCloseTest, DebugParametersOnlyWithCtrlAndShift) {
  const CloseCase& c = GetParam();
  int opened = 0;
  int debugShown = 0;
  Point size;
  std::vector<std::uint8_t> flags;
  const auto countAndClose = [&] {
    ++opened;
    Window* window = Front();
    size = window->GetBounds().Size();
    // Asked again while it is up: nothing, at once.
    const std::int32_t windows = gApplication->GetWindows().NumItems();
    gDromelApp->ShowAbout();
    EXPECT_EQ(gApplication->GetWindows().NumItems(), windows);
    EXPECT_EQ(Front(), window);
    for (int key : c.held) Key(key, true);
    if (c.byEsc) {
      Key(VK_ESCAPE, true);
      Key(VK_ESCAPE, false);
    } else {
      ClickAt(*window, InfoPicture(window)->GetBounds().Center());
    }
  };
  std::vector<Step> script{{&FrontIsWelcome, [] { CancelFront(); }},
                           {&StartupOver,
                            [&] {
                              gDromelApp->ShowAbout();
                              flags.push_back(gInfoWindowOpen);
                              for (int key : c.held) Key(key, false);
                            }},
                           {&InfoInFront, countAndClose}};
  if (c.debugParameters) {
    script.push_back({&DebugParametersInFront, [&] {
                        ++debugShown;
                        for (int key : c.held) Key(key, false);
                        CancelFront();
                      }});
  }
  // Once closed it opens again.
  script.push_back({[] { return !gInfoWindowOpen; }, [&] { gDromelApp->ShowAbout(); }});
  script.push_back({&InfoInFront, [&] {
                      ++opened;
                      Key(VK_ESCAPE, true);
                      Key(VK_ESCAPE, false);
                    }});
  RunDromel(script);
  EXPECT_EQ(opened, 2);
  EXPECT_EQ(debugShown, c.debugParameters ? 1 : 0);
  EXPECT_EQ(flags, (std::vector<std::uint8_t>{0}));
  EXPECT_EQ(size, Point(kPictureWidth, kPictureHeight));
  EXPECT_TRUE(alerts.Alerts().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InfoCloseTest,
    testing::Values(CloseCase{"ClickNoKeys", {}, false, false},
                    CloseCase{"ClickCtrlOnly", {VK_CONTROL}, false, false},
                    CloseCase{"ClickShiftOnly", {VK_SHIFT}, false, false},
                    CloseCase{"ClickCtrlAndShift", {VK_CONTROL, VK_SHIFT}, false, true},
                    CloseCase{"EscCtrlAndShift", {VK_CONTROL, VK_SHIFT}, true, true}),
    [](const testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });

// A missing picture is reported by the window itself, and the next request tries again.
TEST_F(InfoWindowTest, AMissingPictureIsReportedAndTheWindowCanOpenAgain) {
  std::filesystem::remove(data->folder.Path() / "Data" / "1421.bmp");
  std::vector<std::uint8_t> flags;
  RunDromel({{&FrontIsWelcome, [] { CancelFront(); }},
             {&StartupOver, [&] {
                gDromelApp->ShowAbout();
                flags.push_back(gInfoWindowOpen);
                EXPECT_FALSE(InfoInFront());
                WriteAppPicture(421, kPictureWidth, kPictureHeight, 0xC08040);
                gDromelApp->ShowAbout();
              }},
             {&InfoInFront, [] { AcceptFront(); }}});
  EXPECT_EQ(flags, (std::vector<std::uint8_t>{0}));
  ASSERT_FALSE(alerts.Alerts().empty());
  EXPECT_NE(alerts.Alerts()[0].text.find("ResID=1421"), std::string::npos) << alerts.Alerts()[0].text;
}

}  // namespace
}  // namespace app_test

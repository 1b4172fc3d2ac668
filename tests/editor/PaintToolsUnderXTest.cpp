// The paint-tools window under a real X server: xdotool clicks the shape tool's button and then one of
// the option cells that come up beside it, and the shape tool takes that cell's variant.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/Alert.h"
#include "editor/CTool.h"
#include "editor/PaintToolsWindow.h"
#include "editor/app/AuthoringAppTestSupport.h"
#include "platform/backend/SdlBackend.h"
#include "platform/user/Message.h"
#include "platform/user/Screen.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"
#include "support/XvfbChild.h"
#include "ui/views/WindowFrame.h"

namespace editor_test {
namespace {

const char* const kTitle = "Quillory outils";
// Ticks of 100 ms the child waits for each click before it gives up.
constexpr int kPatience = 100;
constexpr std::int16_t kShapeButton = 10;
// The constrained thin rectangle: variant 10.
constexpr std::int16_t kCell = 24;

struct Clicks {
  PaintToolsWindow* tools = nullptr;
  int step = 0;
  int ticks = 0;
};
Clicks* gClicks = nullptr;

// xdotool clicks at a point of the tools window, in the coordinates of the program's screen.
void ClickAt(PaintToolsWindow& tools, const Point& inWindow) {
  POINT p{inWindow.x, inWindow.y};
  ClientToScreen(tools.GetFrame()->GetHandle(), &p);
  const std::string command = std::string("(timeout 20 xdotool search --sync --name '^") + kTitle +
                              "$' windowfocus --sync %1 mousemove --sync --window %1 " + std::to_string(p.x) +
                              " " + std::to_string(p.y) + " sleep 0.2 click 1) >/dev/null 2>&1 &";
  EXPECT_EQ(std::system(command.c_str()), 0);
}

// Runs on the program's own loop, so that the clicks are taken while xdotool makes them.
void Hand(HWND, UINT, UINT_PTR, DWORD) {
  Clicks& c = *gClicks;
  PaintToolsWindow& tools = *c.tools;
  ++c.ticks;
  if (c.step == 0 && c.ticks > 3) {
    ClickAt(tools, tools.GetPaintPalette()->GetButtonRect(kShapeButton).Center());
    c.step = 1;
    c.ticks = 0;
  } else if (c.step == 1 && tools.GetCurrentToolId() == 113 && tools.GetOptionPalette()) {
    ClickAt(tools, tools.GetOptionPalette()->GetButtonRect(kCell).Center());
    c.step = 2;
    c.ticks = 0;
  } else if (c.step == 2 && tools.GetOptionPalette()->GetSelection() == kCell) {
    c.step = 3;
    PostQuitMessage(0);
  } else if (c.ticks > kPatience) {
    PostQuitMessage(0);
  }
}

struct UnderX : AuthoringAppTest {
  void TestBody() override {}
  void Play() {
    setenv("SDL_VIDEODRIVER", "x11", 1);
    SetUp();
    std::string error;
    auto sdl = platform::SdlBackend::Open(kTitle, &error);
    ASSERT_TRUE(sdl) << error;
    platform::SetBackend(std::move(sdl));
    Clicks clicks;
    gClicks = &clicks;
    std::int16_t variant = 0;
    PlayedSounds played;
    InAuthoringProgram([&](PaintToolsWindow& tools) {
      clicks.tools = &tools;
      const UINT_PTR hand = SetTimer(nullptr, 0, 100, &Hand);
      MSG msg;
      while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      KillTimer(nullptr, hand);
      if (SmartRef<CTool> tool = tools.GetCurrentTool()) variant = tool->GetChoice(0);
    });
    EXPECT_EQ(clicks.step, 3) << "the clicks did not reach the window";
    EXPECT_EQ(variant, kCell - 14);
    // The start sound, the palette's click for the tool's button, the option sound for the cell.
    EXPECT_EQ(played.Numbers({60, 1, 2}), (std::vector<int>{60, 1, 2}));
    EXPECT_TRUE(alerts.Alerts().empty());
    gClicks = nullptr;
    TearDown();
    platform::SetBackend(nullptr);
  }
};

void ClickUnderX() { UnderX().Play(); }

const bool gChildRegistered = RegisterXvfbChild("PaintToolsUnderX", &ClickUnderX);

TEST(PaintToolsUnderX, AClickedShapeButtonAndOptionCellGiveTheToolThatVariant) {
  const int status = RunXvfbChild("PaintToolsUnderX", "1024x768x24", "xdotool");
  if (status == -1) GTEST_SKIP() << "xvfb-run or xdotool is missing (scripts/install-deps installs them)";
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace editor_test

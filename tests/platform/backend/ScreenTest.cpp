// The virtual screen: composition of top-level windows, the same pixels through SDL, and real clicks
// through an X server.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/DemoWindow.h"
#include "platform/gdi/Gdi.h"
#include "platform/screen/HeadlessBackend.h"
#include "platform/user/Screen.h"
#include "platform/kernel/System.h"
#include "platform/user/KeyState.h"
#include "platform/user/Keyboard.h"
#include "platform/backend/SdlBackend.h"
#include "support/WindowFixture.h"
#include "support/XvfbChild.h"
#include "support/ScreenPixels.h"

namespace {

using Screen = WindowFixture;

TEST_F(Screen, ComposesShownTopLevelWindowsBackToFront) {
  HWND back = MakeTop({100, 100, 300, 300});
  HWND front = MakeTop({200, 200, 400, 400});
  HWND child = MakeChild(back, {10, 10, 50, 50});
  HWND hidden = MakeTop({0, 0, 50, 50}, WS_POPUP);
  Pump();
  FillVisible(back, 0x00112233);
  FillVisible(front, 0x00445566);
  FillVisible(child, 0x00778899);
  FillVisible(hidden, 0x00AABBCC);
  EXPECT_EQ(ScreenPixel(5, 5), platform::kDesktopColour);
  EXPECT_EQ(ScreenPixel(150, 150), 0x00112233u);
  EXPECT_EQ(ScreenPixel(110, 110), 0x00778899u);
  EXPECT_EQ(ScreenPixel(149, 149), 0x00778899u);
  EXPECT_EQ(ScreenPixel(150, 110), 0x00112233u);  // right edge excluded
  EXPECT_EQ(ScreenPixel(250, 250), 0x00445566u);
  EXPECT_EQ(ScreenPixel(399, 399), 0x00445566u);
  EXPECT_EQ(ScreenPixel(400, 400), platform::kDesktopColour);

  // A top-level window keeps its pixels: raised or moved, it shows them without repainting.
  SetWindowPos(back, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(ScreenPixel(250, 250), 0x00112233u);
  log.Clear();
  MoveWindow(front, 500, 300, 200, 200, TRUE);
  EXPECT_EQ(ScreenPixel(550, 350), 0x00445566u);
  Pump();
  EXPECT_EQ(log.Count(front, WM_PAINT), 0);
}

// Windows wholly or partly off the screen (moved there, or left there when the screen shrank) show the part
// that lies on it, and nothing of the rest.
TEST_F(Screen, WindowsOffTheScreenShowOnlyWhatLiesOnIt) {
  struct Case {
    RECT place;
    POINT inside;  // a screen point the window covers, or {-1, -1}
  };
  const Case cases[] = {
      {{900, 100, 1000, 200}, {-1, -1}},  {{-300, 100, -200, 200}, {-1, -1}}, {{100, 700, 200, 800}, {-1, -1}},
      {{100, -300, 200, -200}, {-1, -1}}, {{-50, -50, 50, 50}, {0, 0}},       {{750, 550, 850, 650}, {799, 599}},
  };
  for (const Case& c : cases) {
    HWND w = MakeTop(c.place);
    Pump();
    FillVisible(w, 0x00123456);
    const auto& pixels = platform::ComposeScreen();
    const std::size_t painted = static_cast<std::size_t>(std::count(pixels.begin(), pixels.end(), 0x00123456u));
    if (c.inside.x < 0) {
      EXPECT_EQ(painted, 0u) << c.place.left << "," << c.place.top;
    } else {
      EXPECT_EQ(painted, 50u * 50u) << c.place.left << "," << c.place.top;
      EXPECT_EQ(ScreenPixel(c.inside.x, c.inside.y), 0x00123456u);
    }
    DestroyWindow(w);
  }
  // The screen shrinks under a window at its right.
  HWND right = MakeTop({600, 100, 700, 200});
  Pump();
  platform::SetScreenSize(500, 400);
  EXPECT_EQ(ScreenPixel(499, 150), platform::kDesktopColour);
  DestroyWindow(right);
}

TEST_F(Screen, TheScreenContextDrawsUnderTheWindowsAndKnowsTheScreen) {
  MakeTop({100, 100, 200, 200});
  Pump();
  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 800);
  HBRUSH brush = CreateSolidBrush(0x000000FF);
  RECT all{0, 0, 800, 600};
  FillRect(screen, &all, brush);
  DeleteObject(brush);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
  EXPECT_EQ(ScreenPixel(50, 50), 0x00FF0000u);
  EXPECT_EQ(ScreenPixel(150, 150), 0x00FFFFFFu);  // the window stays on top
  platform::SetScreenSize(1024, 700);
  screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 1024);
  EXPECT_EQ(GetDeviceCaps(screen, VERTRES), 700);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 0);  // released once only
}

// The demo drawn on a fresh window system with the given back end; answers the composed screen.
std::vector<std::uint32_t> RenderDemo(std::unique_ptr<platform::Backend> backend) {
  platform::ResetWindowSystemForTesting();
  platform::SetBackend(std::move(backend));
  DemoWindow demo;
  demo.Open(40, 30, "Quillory demo");
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  // Presented when the queue ran dry.
  return platform::ComposeScreen();
}

TEST_F(Screen, TheDemoLooksTheSameHeadlessAndThroughSdl) {
  const std::vector<std::uint32_t> headless = RenderDemo(std::make_unique<platform::HeadlessBackend>());
  POINT inButton{DemoWindow::kButton.left + 5, DemoWindow::kButton.top + 5};
  POINT inClient{5, 5};
  // The frame is 320 x 240 at (40, 30) with the frame's insets.
  const RECT in = platform::NonClientInsets(WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS, 0, false);
  for (POINT* p : {&inButton, &inClient}) {
    p->x += 40 + in.left;
    p->y += 30 + in.top;
  }
  EXPECT_EQ(headless[static_cast<std::size_t>(inButton.y) * 800 + inButton.x], DemoWindow::kButtonColour);
  EXPECT_EQ(headless[static_cast<std::size_t>(inClient.y) * 800 + inClient.x], DemoWindow::kClientColour);
  EXPECT_EQ(headless[0], platform::kDesktopColour);

  setenv("SDL_VIDEODRIVER", "dummy", 1);
  std::string error;
  auto sdl = platform::SdlBackend::Open("Quillory demo", &error);
  ASSERT_TRUE(sdl) << error;
  platform::SdlBackend* shown = sdl.get();
  const std::vector<std::uint32_t> composed = RenderDemo(std::move(sdl));
  int width = 0, height = 0;
  const std::vector<std::uint32_t> seen = shown->ReadShownPixels(&width, &height);
  ASSERT_EQ(width, 800);
  ASSERT_EQ(height, 600);
  ASSERT_EQ(seen.size(), headless.size());
  std::size_t differences = 0;
  for (std::size_t i = 0; i < seen.size(); ++i) differences += (seen[i] & 0xFFFFFF) != headless[i];
  EXPECT_EQ(differences, 0u);
  EXPECT_EQ(composed, headless);
  platform::SetBackend(nullptr);
}

// Under a real X server (started by the test below), a click made with xdotool reaches the demo's button
// as WM_LBUTTONDOWN at the right client coordinates, and keys reach the front window.
void ClickUnderX() {
  setenv("SDL_VIDEODRIVER", "x11", 1);
  platform::ResetWindowSystemForTesting();
  platform::SetScreenSize(640, 480);
  std::string error;
  auto sdl = platform::SdlBackend::Open("Quillory demo", &error);
  ASSERT_TRUE(sdl) << error;
  platform::SetBackend(std::move(sdl));
  // The server's keymap lacks é. Given a key of its own while the window's connection keeps the server from
  // resetting, é is typed like any key; left to xdotool, which maps it only while it runs, a busy window
  // reads the key after the mapping has gone and sees nothing.
  ASSERT_EQ(std::system("xmodmap -e 'keycode 93 = eacute Eacute'"), 0);
  DemoWindow demo;
  demo.Open(40, 30, "Quillory demo");
  MessageLog log;
  MSG msg;
  // The program's loop: Ctrl+Z is the undo command's shortcut.
  constexpr WORD kUndo = 0x0305;
  const ACCEL undo{FVIRTKEY | FCONTROL, 'Z', kUndo};
  const HACCEL accelerators = CreateAcceleratorTableA(&undo, 1);
  ASSERT_NE(accelerators, nullptr);
  auto pump = [&](int ms) {
    const DWORD until = GetTickCount() + static_cast<DWORD>(ms);
    while (static_cast<std::int32_t>(GetTickCount() - until) < 0) {
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (TranslateAcceleratorA(demo.frame, accelerators, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      Sleep(5);
    }
  };
  pump(300);
  POINT target{DemoWindow::kButton.left + 17, DemoWindow::kButton.top + 11};
  ClientToScreen(demo.frame, &target);
  const std::string find = "timeout 20 xdotool search --sync --name '^Quillory demo$' ";
  const std::string click = find + "mousemove --sync --window %1 " + std::to_string(target.x) + " " +
                            std::to_string(target.y) + " click 1";
  ASSERT_EQ(std::system(click.c_str()), 0) << click;
  for (int waited = 0; waited < 15000 && demo.clicks.empty(); waited += 50) pump(50);
  ASSERT_EQ(demo.clicks.size(), 1u);
  EXPECT_EQ(demo.clicks[0].x, 17);
  EXPECT_EQ(demo.clicks[0].y, 11);

  // Keys reach the front window: Return as a key (and its character), a letter as typed text.
  const std::string keys = find + "windowfocus --sync %1 key Return key a";
  ASSERT_EQ(std::system(keys.c_str()), 0) << keys;
  auto chars = [&] { return log.Of(demo.frame, WM_CHAR); };
  for (int waited = 0; waited < 15000 && chars().size() < 2; waited += 50) pump(50);
  ASSERT_EQ(chars().size(), 2u);
  EXPECT_EQ(chars()[0].wParam, 13u);
  EXPECT_EQ(chars()[1].wParam, static_cast<WPARAM>('a'));
  const auto down = log.Of(demo.frame, WM_KEYDOWN);
  ASSERT_FALSE(down.empty());
  EXPECT_EQ(down[0].wParam, static_cast<WPARAM>(VK_RETURN));

  // 'é' and Ctrl+Z, as the scripted streams give them: the character 0xE9, and the undo command from the
  // accelerator (high word 1) with no character.
  const std::string accented = find + "windowfocus --sync %1 key eacute";
  ASSERT_EQ(std::system(accented.c_str()), 0) << accented;
  for (int waited = 0; waited < 20000 && chars().size() < 3; waited += 50) pump(50);
  ASSERT_EQ(chars().size(), 3u);
  EXPECT_EQ(chars()[2].wParam, 0xE9u);
  // A character typed with Shift comes once, as the character the key typed.
  const std::string at = find + "windowfocus --sync %1 key at";
  ASSERT_EQ(std::system(at.c_str()), 0) << at;
  for (int waited = 0; waited < 15000 && chars().size() < 4; waited += 50) pump(50);
  ASSERT_EQ(chars().size(), 4u);
  EXPECT_EQ(chars()[3].wParam, static_cast<WPARAM>('@'));
  const std::string control = find + "windowfocus --sync %1 key ctrl+z";
  ASSERT_EQ(std::system(control.c_str()), 0) << control;
  auto commands = [&] { return log.Of(demo.frame, WM_COMMAND); };
  for (int waited = 0; waited < 15000 && commands().empty(); waited += 50) pump(50);
  ASSERT_EQ(commands().size(), 1u);
  EXPECT_EQ(commands()[0].wParam, static_cast<WPARAM>(MAKELONG(kUndo, 1)));
  pump(200);
  EXPECT_EQ(chars().size(), 4u);  // no character 26, and no second '@'
  DestroyAcceleratorTable(accelerators);
  platform::SetBackend(nullptr);
}

const bool gChildRegistered = RegisterXvfbChild("ClickUnderX", &ClickUnderX);

TEST(ScreenUnderX, ARealClickReachesTheWindowAtItsClientCoordinates) {
  const int status = RunXvfbChild("ClickUnderX", "1024x768x24", "xdotool xmodmap");
  if (status == -1) GTEST_SKIP() << "xvfb-run, xdotool or xmodmap is missing (scripts/install-deps installs them)";
  EXPECT_EQ(status, 0);
}

}  // namespace

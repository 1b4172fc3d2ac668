// The colour indicator under a real X server: xdotool presses the inner swatch, drags to a colour of the
// "Palette" window that opens and releases there; a screenshot of the program's window shows the swatch
// in that colour.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "EditorTestSupport.h"
#include "core/Alert.h"
#include "core/String.h"
#include "editor/CDropperTool.h"
#include "editor/PaintIndicator.h"
#include "editor/Seams.h"
#include "graphics/bitmaps/ColorTable.h"
#include "platform/user/Message.h"
#include "platform/user/Screen.h"
#include "platform/user/Window.h"
#include "support/TempFolder.h"
#include "support/XvfbChild.h"
#include "ui/views/Window.h"
#include "ui/views/WindowFrame.h"

namespace editor_test {
namespace {

const char* const kTitle = "Quillory couleurs";
// The colour dragged to: cell (3, 2) of the palette.
constexpr int kColumn = 3, kRow = 2;

Point OnScreen(HWND window, Point p) {
  POINT q{p.x, p.y};
  ClientToScreen(window, &q);
  return {q.x, q.y};
}

// 0xRRGGBB of a pixel of a picture file, read by ImageMagick; -1 when it cannot be read.
long PixelOfShot(const std::string& file, Point at) {
  const std::string command = "/usr/bin/convert '" + file + "' -crop 1x1+" + std::to_string(at.x) + "+" +
                              std::to_string(at.y) + " -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-Fa-f]\\{6\\}'";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  char text[16] = "";
  const bool read = std::fgets(text, sizeof text, pipe) != nullptr;
  pclose(pipe);
  return read ? std::strtol(text + 1, nullptr, 16) : -1;
}

struct Gesture {
  SmartRef<Window> window;
  SmartRef<PaintIndicator> indicator;
  Color expected;
  std::string shot;
  int step = 0;
  int ticks = 0;
  long swatchPixel = -1;
};
Gesture* gGesture = nullptr;

// Runs on the program's own loop, so that the gesture's events are taken while xdotool makes them.
void Hand(HWND, UINT, UINT_PTR, DWORD) {
  Gesture& g = *gGesture;
  ++g.ticks;
  if (g.step == 0 && g.ticks > 3) {
    const Rect fg = g.indicator->GetForegroundSwatch();
    const Point press = OnScreen(g.window->GetFrame()->GetHandle(), fg.Center());
    // The palette opens with its bottom-right corner at the press (main-window coordinates).
    const Point corner = press - OnScreen(gMainWindow, {0, 0});
    const Point cell = OnScreen(gMainWindow, {corner.x - 320 + kColumn * 10 + 5, corner.y - 80 + kRow * 10 + 5});
    const std::string command =
        std::string("(timeout 20 xdotool search --sync --name '^") + kTitle + "$' windowfocus --sync %1 " +
        "mousemove --sync --window %1 " + std::to_string(press.x) + " " + std::to_string(press.y) +
        " mousedown 1 sleep 0.4 mousemove --window %1 " + std::to_string(cell.x - 20) + " " +
        std::to_string(cell.y) + " sleep 0.2 mousemove --window %1 " + std::to_string(cell.x) + " " +
        std::to_string(cell.y) + " sleep 0.3 mouseup 1) >/dev/null 2>&1 &";
    EXPECT_EQ(std::system(command.c_str()), 0);
    g.step = 1;
  } else if (g.step == 1 && gPaintForeground == g.expected) {
    g.step = 2;
    g.ticks = 0;
  } else if (g.step == 2 && g.ticks > 3) {
    const std::string command = std::string("timeout 20 import -window \"$(xdotool search --name '^") + kTitle +
                                "$' | head -1)\" '" + g.shot + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    const Rect fg = g.indicator->GetForegroundSwatch();
    g.swatchPixel = PixelOfShot(g.shot, OnScreen(g.window->GetFrame()->GetHandle(), fg.Center()));
    g.step = 3;
    PostQuitMessage(0);
  }
}

struct UnderX : EditorProgramUnderX {
  void Play() {
    Gesture gesture;
    gGesture = &gesture;
    PlayUnderX(
        kTitle,
        [&] {
          TempFolder shots;
          gesture.shot = (shots.Path() / "shot.png").string();
          gesture.expected = ColorTable::GetStandard(8)->GetColor(kRow * 32 + kColumn);
          gPaintState = new CDropperTool;
          InitPaintColors();
          // The application's tool, whose gesture the opened palette takes over.
          SmartRef<Tool> tool(new Tool);
          app->SetTool(~tool);
          const String title("Outils");
          gesture.window = new Window(&title, kFrameNormal, false, false, 120, 100);
          gesture.window->SetGlobalBounds({400, 250, 520, 350});
          gesture.indicator = new PaintIndicator(~gesture.window);
          gesture.indicator->SetBounds(Rect(20, 10, 94, 84));
          gesture.window->AddSubview(~gesture.indicator);
          gesture.window->Open(true);
          LoopWithHand(&Hand);
          gesture.indicator = nullptr;
          gesture.window->Close();
          gesture.window = nullptr;
          gPaintState = nullptr;
        },
        [&] {
          EXPECT_EQ(gesture.step, 3) << "the gesture chose no colour";
          EXPECT_EQ(gPaintSecondColor, standardColors[15]) << "only the foreground was chosen";
          const Color& c = gesture.expected;
          EXPECT_EQ(gesture.swatchPixel, static_cast<long>((c.red >> 8) << 16 | (c.green >> 8) << 8 | c.blue >> 8));
          EXPECT_TRUE(alerts.Alerts().empty());
        });
    gGesture = nullptr;
  }
};

void IndicatorUnderX() { UnderX().Play(); }

const bool gChildRegistered = RegisterXvfbChild("PaintIndicatorUnderX", &IndicatorUnderX);

TEST(PaintIndicatorUnderX, ADraggedColourFillsTheSwatchOnTheScreen) {
  const int status = RunXvfbChild("PaintIndicatorUnderX", "800x600x24", "xdotool import");
  if (status == -1) GTEST_SKIP() << "xvfb-run, xdotool or ImageMagick is missing (scripts/install-deps installs them)";
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace editor_test

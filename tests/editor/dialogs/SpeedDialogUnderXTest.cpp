// The speed dialog under a real X server: xdotool takes the slider's thumb and drags it to the right; the
// page's frame rate follows the thumb, and the number above the slider shows it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "editor/EditorTestSupport.h"
#include "editor/dialogs/SpeedDialog.h"
#include "engine/page/CShow.h"
#include "engine/page/PageTestSupport.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "support/XvfbChild.h"
#include "ui/views/WindowFrame.h"

namespace editor_test {
namespace {

const char* const kTitle = "Quillory speed";

Point OnScreen(HWND window, Point p) {
  POINT q{p.x, p.y};
  ClientToScreen(window, &q);
  return {q.x, q.y};
}

struct Drag {
  SmartRef<CShow> page;
  SmartRef<SpeedDialog> dialog;
  int step = 0;
  int ticks = 0;
  std::int16_t rate = 0;
  std::string text;
};
Drag* gDrag = nullptr;

void Hand(HWND, UINT, UINT_PTR, DWORD) {
  Drag& d = *gDrag;
  ++d.ticks;
  if (d.step == 0 && d.ticks > 3) {
    const HWND native = d.dialog->GetFrame()->GetHandle();
    // At 15 in 1..60 the thumb of the 360-pixel slider lies about 105 pixels from its left end.
    const Rect slider = SpeedDialog::kSliderRect;
    const Point from = OnScreen(native, {slider.left + 105, slider.top + 8});
    const Point to = OnScreen(native, {slider.left + 300, slider.top + 8});
    const std::string command =
        std::string("(timeout 20 xdotool search --sync --name '^") + kTitle + "$' windowfocus --sync %1 " +
        "mousemove --sync --window %1 " + std::to_string(from.x) + " " + std::to_string(from.y) +
        " mousedown 1 sleep 0.3 mousemove --window %1 " + std::to_string(from.x + 90) + " " +
        std::to_string(from.y) + " sleep 0.3 mousemove --window %1 " + std::to_string(to.x) + " " +
        std::to_string(to.y) + " sleep 0.3 mouseup 1) >/dev/null 2>&1 &";
    EXPECT_EQ(std::system(command.c_str()), 0);
    d.step = 1;
    d.ticks = 0;
  } else if (d.step == 1 && d.page->GetFrameRate() > 40) {
    d.step = 2;
    d.ticks = 0;
  } else if (d.step == 2 && d.ticks > 8) {
    // The release has come and gone: the rate stays where the thumb was let go.
    d.rate = d.page->GetFrameRate();
    d.text = TextOf(d.dialog->GetSpeedText());
    d.step = 3;
    PostQuitMessage(0);
  } else if (d.ticks > 150) {
    PostQuitMessage(0);
  }
}

struct UnderX : EditorProgramUnderX {
  void Play() {
    Drag drag;
    gDrag = &drag;
    PlayUnderX(
        kTitle,
        [&] {
          drag.page = engine_test::MakePage({0, 0, 200, 150}, 2);
          drag.dialog = SpeedDialog::Run(~drag.page, 1, 60);
          LoopWithHand(&Hand);
          drag.dialog->Close();
          drag.dialog = nullptr;
        },
        [&] {
          ASSERT_EQ(drag.step, 3) << "the rate never followed the thumb";
          EXPECT_GT(drag.rate, 40);
          EXPECT_LE(drag.rate, 60);
          EXPECT_EQ(drag.text, std::to_string(drag.rate));
          EXPECT_TRUE(alerts.Alerts().empty());
        });
    gDrag = nullptr;
  }
};

void SpeedUnderX() { UnderX().Play(); }

const bool gChildRegistered = RegisterXvfbChild("SpeedDialogUnderX", &SpeedUnderX);

TEST(SpeedDialogUnderX, DraggingTheThumbSetsThePagesRate) {
  const int status = RunXvfbChild("SpeedDialogUnderX", "800x600x24", "xdotool");
  if (status == -1) GTEST_SKIP() << "xvfb-run or xdotool is missing (scripts/install-deps installs them)";
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace editor_test

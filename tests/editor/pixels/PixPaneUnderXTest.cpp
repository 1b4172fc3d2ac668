// A brush stroke under a real X server: xdotool presses in a pixel pane, drags through a few points and
// releases; the pane's picture then holds exactly the pixels of the same stroke done headless (its golden
// picture), the screen shows them, the window's undo gives back the white picture and redo the stroke.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "editor/EditorTestSupport.h"
#include "core/String.h"
#include "editor/CDropperTool.h"
#include "editor/CToolsDir.h"
#include "editor/pixels/CMouseTask.h"
#include "editor/pixels/CPixPane.h"
#include "editor/pixels/PaintTools.h"
#include "editor/pixels/PixelTestSupport.h"
#include "graphics/OffScreen.h"
#include "graphics/bitmaps/BitMap.h"
#include "platform/backend/SdlBackend.h"
#include "platform/user/Message.h"
#include "platform/user/Screen.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"
#include "support/TempFolder.h"
#include "support/XvfbChild.h"
#include "support/graphics/GoldenPicture.h"
#include "ui/views/Window.h"
#include "ui/views/WindowFrame.h"
#include "ui/views/WindowNotifier.h"

namespace editor_test {
namespace {

const char* const kTitle = "Quillory pixels";
const char* const kGolden = "editor/pixels/stroke.ppm";
// The pane's place in its window, and the stroke's points in the window.
const Rect kPaneBounds{20, 30, 120, 110};
const std::vector<Point> kStroke = {{30, 40}, {55, 48}, {90, 75}, {104, 52}, {70, 96}, {44, 88}};

// The stroke done headless, through the brush's task as the pane runs it: its picture is the golden one.
TEST_F(PixelTest, AHeadlessBrushStrokeGivesItsGoldenPicture) {
  SmartRef<CBrushTool> brush(new CBrushTool(~paintState));
  Gesture(102, ~brush, kStroke);
  ExpectGolden(PixelsOf(*pane->GetPicture()->GetBitMap()), kGolden);
}

struct Stroke {
  SmartRef<Window> window;
  SmartRef<CPixPane> pane;
  SmartRef<CBrushTool> brush;
  ColourPicture blank;
  ColourPicture painted;
  ColourPicture undone;
  ColourPicture redone;
  std::string shot;
  int step = 0;
  int ticks = 0;
  int settle = 0;
};
Stroke* gStroke = nullptr;

ColourPicture PictureOf(CPixPane& pane) { return PixelsOf(*pane.GetPicture()->GetBitMap()); }

// Runs on the program's own loop, so that the stroke's events are taken while xdotool makes them.
void Hand(HWND, UINT, UINT_PTR, DWORD) {
  Stroke& s = *gStroke;
  ++s.ticks;
  if (s.step == 0 && s.ticks > 3) {
    // The first click on the window only activates it: it goes beside the pane.
    EXPECT_EQ(std::system(XdotoolDrag(kTitle, s.window->GetFrame()->GetHandle(), {140, 15}, kStroke).c_str()), 0);
    s.step = 1;
  } else if (s.step == 1 && s.window->CanUndo() && gApplication->GetTool() == SmartRef<Tool>(~s.brush)) {
    // The gesture is over: the stroke is on the window's undo list and the brush is the tool again.
    s.painted = PictureOf(*s.pane);
    s.step = 2;
    s.settle = 0;
  } else if (s.step == 2 && ++s.settle > 5) {
    // What the screen shows of the pane.
    const Point corner = OnScreen(s.window->GetFrame()->GetHandle(), kPaneBounds.TopLeft());
    const std::string command = std::string("timeout 20 import -window \"$(xdotool search --name '^") + kTitle +
                                "$' | head -1)\" -crop " + std::to_string(kPaneBounds.Width()) + "x" +
                                std::to_string(kPaneBounds.Height()) + "+" + std::to_string(corner.x) + "+" +
                                std::to_string(corner.y) + " +repage -depth 8 'ppm:" + s.shot + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    s.window->UndoRedo();
    s.undone = PictureOf(*s.pane);
    s.window->UndoRedo();
    s.redone = PictureOf(*s.pane);
    s.step = 3;
    PostQuitMessage(0);
  } else if (s.ticks > 80) {
    PostQuitMessage(0);
  }
}

struct UnderX : EditorProgramTest {
  void TestBody() override {}
  void Play() {
    setenv("SDL_VIDEODRIVER", "x11", 1);
    SetUp();
    std::string error;
    auto sdl = platform::SdlBackend::Open(kTitle, &error);
    ASSERT_TRUE(sdl) << error;
    platform::SetBackend(std::move(sdl));
    for (int n : {31, 32, 33, 35, 36}) data->WriteSound(n);
    CPixPane::zoomStepDelay = 0;
    CPixPane::blinkDelay = 0;
    TempFolder shots;
    Stroke stroke;
    stroke.shot = (shots.Path() / "pane.ppm").string();
    gStroke = &stroke;
    Run([&] {
      InitPaintColors();
      gPaintState = new CDropperTool;
      SmartRef<CToolsDir> tools(new CToolsDir(nullptr));
      gToolsDirectory = tools;
      // The brush's shapes are the program's cursors: every mouse event chooses its cursor again.
      std::optional<ProgramCursors> cursors(std::in_place);
      stroke.brush = new CBrushTool(~gPaintState);
      stroke.brush->GetPenRect();
      tools->SetCurrentTool(~stroke.brush);
      app->SetTool(~stroke.brush);
      const String title(kTitle);
      stroke.window = new Window(&title, kFrameNormal, false, false, 160, 140);
      stroke.window->SetGlobalBounds({300, 200, 460, 340});
      stroke.pane = new CPixPane(~stroke.window, kPaneBounds, kPaneBounds, nullptr);
      stroke.window->AddSubview(~stroke.pane);
      UndoList undoList(~stroke.window);
      stroke.window->AddSink(&undoList);
      stroke.window->Open(true);
      stroke.blank = PictureOf(*stroke.pane);
      const UINT_PTR hand = SetTimer(nullptr, 0, 100, &Hand);
      MSG msg;
      while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      KillTimer(nullptr, hand);
      app->SetTool(nullptr);
      cursors.reset();
      gToolsDirectory = nullptr;
      tools = nullptr;
      stroke.window->RemoveSink(&undoList);
      stroke.window->ClearUndo();
      stroke.pane->SetIdleChore(0, 0);
      stroke.window->RemoveSubview(~stroke.pane);
      stroke.pane = nullptr;
      gPixPane = nullptr;
      stroke.window->Close();
      stroke.window = nullptr;
      stroke.brush = nullptr;
      gPaintState = nullptr;
      PostQuitMessage(0);
    });
    CPixPane::zoomStepDelay = 50;
    CPixPane::blinkDelay = 100;
    ASSERT_EQ(stroke.step, 3) << "the stroke never ended";
    const auto golden = ReadPpm(std::string(QUILLORY_SOURCE_DIR) + "/tests/fixtures/" + kGolden);
    ASSERT_TRUE(golden);
    EXPECT_TRUE(stroke.painted == *golden) << "the dragged stroke differs from the headless one";
    const auto shown = ReadPpm(stroke.shot);
    ASSERT_TRUE(shown) << "no screenshot";
    EXPECT_TRUE(*shown == *golden) << "the screen does not show the stroke as painted";
    EXPECT_TRUE(stroke.undone == stroke.blank) << "undo leaves paint behind";
    EXPECT_TRUE(stroke.redone == *golden) << "redo does not paint the stroke again";
    // Hovering over the pane tells once that following the mouse without a button is not done; nothing
    // else is reported.
    for (const RecordedAlert& alert : alerts.Alerts()) EXPECT_EQ(alert.text.substr(0, 16), "Not implemented.");
    gStroke = nullptr;
    TearDown();
    platform::SetBackend(nullptr);
  }
};

void StrokeUnderX() { UnderX().Play(); }

const bool gChildRegistered = RegisterXvfbChild("PixPaneUnderX", &StrokeUnderX);

TEST(PixPaneUnderX, AStrokeDraggedWithTheRealMouseEqualsTheHeadlessOneAndUndoes) {
  const int status = RunXvfbChild("PixPaneUnderX", "800x600x24", "xdotool import");
  if (status == -1) GTEST_SKIP() << "xvfb-run, xdotool or ImageMagick is missing (scripts/install-deps installs them)";
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace editor_test

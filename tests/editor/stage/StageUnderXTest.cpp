// A sprite dragged on the stage under a real X server: xdotool presses on a sprite of a page in a real
// window, drags it and releases; the page then holds the sprite at its new place (read from the saved
// page), and the window's undo gives the old place back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "editor/CBorderSize.h"
#include "editor/CDropperTool.h"
#include "editor/stage/StageTestSupport.h"
#include "platform/backend/SdlBackend.h"
#include "platform/kernel/System.h"
#include "platform/user/Message.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"
#include "support/XvfbChild.h"
#include "ui/views/Window.h"
#include "ui/views/WindowFrame.h"

namespace editor_test {
namespace {

const char* const kTitle = "Quillory stage";
// A (40 x 30 at (20, 20) in frame 0) is pressed 10 pixels into it and dragged 50 right and 60 down.
const std::vector<Point> kDrag = {{30, 30}, {45, 50}, {60, 70}, {80, 90}};

struct DragState {
  SmartRef<Window> window;
  SmartRef<CHAPane> pane;
  std::string dragged;
  std::string undone;
  int step = 0;
  int ticks = 0;
};
DragState* gDrag = nullptr;

struct UnderX : StageTest {
  void TestBody() override {}

  // Runs on the program's own loop, so that the drag's events are taken while xdotool makes them.
  static void Hand(HWND, UINT, UINT_PTR, DWORD) {
    DragState& d = *gDrag;
    ++d.ticks;
    if (d.step == 0 && d.ticks > 3) {
      // The first click on the window only activates it: it goes on the page's background.
      EXPECT_EQ(std::system(XdotoolDrag(kTitle, d.window->GetFrame()->GetHandle(), {180, 140}, kDrag).c_str()), 0);
      d.step = 1;
    } else if (d.step == 1 && d.window->CanUndo() && gApplication->GetTool() == SmartRef<Tool>(~gBorderSizeTool)) {
      // The drag is over: it is on the window's undo list and the border-size tool is the tool again.
      d.step = 2;
      PostQuitMessage(0);
    } else if (d.ticks > 80) {
      PostQuitMessage(0);
    }
  }

  void Play() {
    setenv("SDL_VIDEODRIVER", "x11", 1);
    SetUp();
    std::string error;
    auto sdl = platform::SdlBackend::Open(kTitle, &error);
    ASSERT_TRUE(sdl) << error;
    platform::SetBackend(std::move(sdl));
    platform::SetClockForTesting({});
    DragState drag;
    gDrag = &drag;
    std::string before;
    Run([&] {
      gPaintState = new CDropperTool;
      SmartRef<CToolsDir> tools = MakeStageToolsDir();
      gToolsDirectory = tools;
      UseToolIn(*tools);
      const String title(kTitle);
      drag.window = new Window(&title, kFrameNormal, false, false, 200, 150);
      drag.window->SetGlobalBounds({300, 200, 500, 350});
      page = MakeStagePage(2);
      Rect frame;
      page->MakeEditor(&frame, ~drag.window, drag.window->GetBounds());
      const List& views = drag.window->GetSubviews();
      drag.pane = CastSmart<CHAPane>(views.At(views.NumItems()));
      UndoList undoList(~drag.window);
      drag.window->AddSink(&undoList);
      drag.window->Open(true);
      before = SavedLayout();
      const UINT_PTR hand = SetTimer(nullptr, 0, 100, &Hand);
      MSG msg;
      while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      KillTimer(nullptr, hand);
      if (drag.step == 2) {
        drag.dragged = SavedLayout();
        drag.window->UndoRedo();
        drag.undone = SavedLayout();
      }
      app->SetTool(nullptr);
      gToolsDirectory = nullptr;
      tools->Close();
      tools = nullptr;
      drag.window->RemoveSink(&undoList);
      drag.window->ClearUndo();
      drag.window->RemoveSubview(~drag.pane);
      drag.pane = nullptr;
      page = nullptr;
      drag.window->Close();
      drag.window = nullptr;
      gPaintState = nullptr;
      PostQuitMessage(0);
    });
    ASSERT_EQ(drag.step, 2) << "the drag never ended";
    EXPECT_NE(drag.dragged.find("1: 70,80,110,110 | 20,30,60,60"), std::string::npos) << drag.dragged;
    EXPECT_EQ(drag.undone, before);
    gDrag = nullptr;
    TearDown();
    platform::SetBackend(nullptr);
  }

  void UseToolIn(CToolsDir& tools) {
    tools.SetCurrentTool(~gBorderSizeTool);
    app->SetTool(~gBorderSizeTool);
  }
};

void DragUnderX() { UnderX().Play(); }

const bool gChildRegistered = RegisterXvfbChild("StageUnderX", &DragUnderX);

TEST(StageUnderX, ASpriteDraggedWithTheRealMouseMovesAndUndoes) {
  const int status = RunXvfbChild("StageUnderX", "800x600x24", "xdotool");
  if (status == -1) GTEST_SKIP() << "xvfb-run or xdotool is missing (scripts/install-deps installs them)";
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace editor_test

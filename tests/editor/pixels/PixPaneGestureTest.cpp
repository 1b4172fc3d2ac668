// A press in the pixel pane inside the program: the current tool's task runs as the application's tool
// for the one gesture, and the tool before comes back.
#include <gtest/gtest.h>

#include <vector>

#include "editor/EditorTestSupport.h"
#include "editor/CBorderSize.h"
#include "editor/CDropperTool.h"
#include "editor/CToolsDir.h"
#include "editor/pixels/CPixPane.h"
#include "editor/pixels/CTaskTool.h"
#include "editor/pixels/PaintTools.h"
#include "editor/pixels/SelectionTasks.h"
#include "graphics/OffScreen.h"
#include "ui/shell/App.h"
#include "ui/views/Window.h"

namespace editor_test {
namespace {

class PixPaneGestureTest : public EditorProgramTest {
 protected:
  void SetUp() override {
    EditorProgramTest::SetUp();
    for (int n : {31, 32, 33, 35, 36}) data->WriteSound(n);
  }
  void TearDown() override {
    gToolsDirectory = nullptr;
    gBorderSizeTool = nullptr;
    gPaintState = nullptr;
    gPixPane = nullptr;
    CSelectionMoveTask::ReleaseFloating();
    EditorProgramTest::TearDown();
  }
};

TEST_F(PixPaneGestureTest, APressRunsTheCurrentToolsTaskAndGivesTheToolBack) {
  InProgram([&] {
    PlayedSounds played;
    InitPaintColors();
    const String title("Page");
    SmartRef<Window> page(new Window(&title, kFrameNormal, false, false, 300, 200));
    page->Open(true);
    SmartRef<CToolsDir> tools(new CToolsDir(nullptr));
    gToolsDirectory = tools;
    SmartRef<CPixPane> pane(new CPixPane(~page, {20, 30, 120, 110}, {20, 30, 120, 110}, nullptr));
    page->AddSubview(~pane);
    const std::uint32_t white = pane->GetPicture()->GetBitMap()->GetPixelValue(0, 0);
    // The brush's shapes are the program's cursors, taken as the brush is made.
    SmartRef<CBrushTool> brush;
    {
      const ProgramCursors cursors;
      brush = new CBrushTool(~gPaintState);
      brush->GetPenRect();
    }
    // The pane picks its task by the tools window's tool; the gesture runs as the application's tool.
    tools->SetCurrentTool(~brush);
    gApplication->SetTool(~brush);
    pane->GetSelection()->SetRect({30, 40, 50, 60});
    pane->MouseDown(40, 50, 0, 1, ~page);
    // The press deselected, made the brush's task the application's tool and painted the press point.
    EXPECT_TRUE(pane->GetSelection()->IsEmpty());
    SmartRef<Tool> current = gApplication->GetTool();
    ASSERT_TRUE(CastSmart<CTaskTool>(~current));
    EXPECT_TRUE(pane->MarkChanged(false));
    EXPECT_NE(pane->GetPicture()->GetBitMap()->GetPixelValue(22, 22), white);
    current->MouseMoved(60, 50, 0, true, ~page);
    current->MouseMoved(60, 50, 0, false, ~page);
    EXPECT_EQ(gApplication->GetTool(), SmartRef<Tool>(~brush));
    EXPECT_EQ(played.Numbers({31}), std::vector<int>{31}) << "the brush's use sound, once";
    EXPECT_NE(pane->GetPicture()->GetBitMap()->GetPixelValue(42, 22), white);
    // With the lasso, a press outside the selection starts a marquee.
    SmartRef<CLassoTool> lasso(new CLassoTool);
    tools->SetCurrentTool(~lasso);
    gApplication->SetTool(~lasso);
    pane->MouseDown(30, 40, 0, 1, ~page);
    current = gApplication->GetTool();
    current->MouseMoved(50, 60, 0, true, ~page);
    current->MouseMoved(50, 60, 0, false, ~page);
    EXPECT_EQ(pane->GetSelection()->GetBounds(), Rect(30, 40, 50, 60));
    EXPECT_EQ(gApplication->GetTool(), SmartRef<Tool>(~lasso));
    // A press inside the selection moves it, and what it holds.
    auto drag = [&](Point from, Point to) {
      pane->MouseDown(from.x, from.y, 0, 1, ~page);
      SmartRef<Tool> gesture = gApplication->GetTool();
      gesture->MouseMoved(to.x, to.y, 0, true, ~page);
      gesture->MouseMoved(to.x, to.y, 0, false, ~page);
    };
    auto bytes = [&] {
      std::vector<std::uint32_t> all;
      for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x) all.push_back(pane->GetPicture()->GetBitMap()->GetPixelValue(x, y));
      return all;
    };
    const std::uint32_t ink = pane->GetPicture()->GetBitMap()->GetPixelValue(22, 22);
    EXPECT_EQ(pane->GetPicture()->GetBitMap()->GetPixelValue(22, 42), white);
    drag({35, 45}, {35, 65});
    EXPECT_EQ(pane->GetSelection()->GetBounds(), Rect(30, 60, 50, 80));
    EXPECT_EQ(pane->GetPicture()->GetBitMap()->GetPixelValue(22, 22), white) << "lifted";
    EXPECT_EQ(pane->GetPicture()->GetBitMap()->GetPixelValue(22, 42), ink) << "stamped 20 further down";
    // With the whole pane selected, a press starts a new marquee instead and moves nothing.
    pane->SelectAll(false);
    EXPECT_EQ(pane->GetSelection()->GetBounds(), pane->GetBounds());
    const auto before = bytes();
    drag({40, 50}, {60, 70});
    EXPECT_EQ(pane->GetSelection()->GetBounds(), Rect(40, 50, 60, 70));
    EXPECT_EQ(bytes(), before);
    gApplication->SetTool(nullptr);
    gToolsDirectory = nullptr;
    tools = nullptr;
    // The window's undo list keeps the brush's task, and with it the pane, past the program's end: its
    // blink stops with the program.
    pane->SetIdleChore(0, 0);
    page->RemoveSubview(~pane);
    gPixPane = nullptr;
    pane = nullptr;
    page->Close();
  });
}

}  // namespace
}  // namespace editor_test

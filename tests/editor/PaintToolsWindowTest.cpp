// The paint-tools window under the authoring application: its buttons and tools, the option cells of each
// paint tool, and how they are drawn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/app/AuthoringAppTestSupport.h"
#include "editor/CBorderSize.h"
#include "editor/CCommandButton.h"
#include "editor/CDropperTool.h"
#include "editor/PaintIndicator.h"
#include "editor/PaintToolsWindow.h"
#include "editor/pixels/PaintTools.h"
#include "editor/text/TextPaletteWindow.h"
#include "platform/user/Window.h"
#include "support/ScreenPixels.h"
#include "ui/shell/Task.h"
#include "support/graphics/GoldenPicture.h"
#include "ui/views/WindowFrame.h"

namespace editor_test {
namespace {

std::int32_t IdAt(PaintToolsWindow& tools, std::int16_t number) {
  SmartRef<Tool> tool = tools.GetToolAt(number);
  auto* editorTool = CastSmart<CTool>(~tool);
  return editorTool ? editorTool->GetId() : -1;
}

class PaintToolsWindowTest : public AuthoringAppTest {};

TEST_F(PaintToolsWindowTest, ButtonsHoldTheirToolsAndToolsFindTheirButtons) {
  InAuthoringProgram(
      [&](PaintToolsWindow& tools) {
        const std::int32_t ids[] = {3, 15, 18, 3, 3, 15, 18, 103, 102, 113, 106, 109, 111};
        for (std::int16_t number = 1; number <= 13; ++number)
          EXPECT_EQ(IdAt(tools, number), ids[number - 1]) << "button " << number;
        EXPECT_TRUE(CastSmart<CBorderSizeTool>(~tools.GetToolAt(4)));
        EXPECT_EQ(tools.GetToolAt(14), SmartRef<Tool>(~gTextStyleTool));
        for (std::int16_t none : {0, 15, -1}) EXPECT_FALSE(tools.GetToolAt(none)) << none;
        // Each button's own tool, not one made again on every call.
        EXPECT_EQ(tools.GetToolAt(9), tools.GetToolAt(9));

        struct Case {
          std::int16_t selectedControl;
          std::int32_t id;
          std::int16_t number;
        } cases[] = {
            {1, 4, 14},   {1, 103, 8},  {1, 102, 9}, {1, 113, 10}, {1, 106, 11}, {1, 109, 12},
            {1, 111, 13}, {1, 110, 0},  {1, 999, 0}, {1, 15, 2},   {1, 18, 3},
            // A tool of id 3 is the selected control button when that holds one, else the first.
            {1, 3, 1},    {4, 3, 4},    {5, 3, 5},   {2, 3, 1},    {6, 15, 6},   {6, 18, 3},
        };
        for (const Case& c : cases) {
          tools.GetToolPalette()->SetSelection(c.selectedControl);
          EXPECT_EQ(tools.IndexOfTool(c.id), c.number) << "id " << c.id << ", control " << c.selectedControl;
        }
        // The control button shows only with the page tools.
        CCommandButton* controls = tools.GetCommandButton();
        ASSERT_NE(controls, nullptr);
        tools.Layout(CToolsDir::kPageTools);
        EXPECT_TRUE(controls->IsVisible());
        tools.Layout(CToolsDir::kPictureEditing);
        EXPECT_FALSE(controls->IsVisible());

        // Asked for, the first three control tools are toggled, and only those.
        SmartRef<PaintToolsWindow> toggled(new PaintToolsWindow(true, false, true));
        for (std::int16_t number = 1; number <= 7; ++number) {
          auto* tool = CastSmart<CTool>(~toggled->GetToolAt(number));
          EXPECT_EQ(tool->IsToggled(), number <= 3) << number;
        }
        EXPECT_EQ(toggled->IndexOfTool(3), 1) << "without controls, the first button";
        EXPECT_FALSE(toggled->GetCommandButton());
      },
      true);
}

// A click on option cell 17 with the shape tool: the filled rectangle, with the option sound; a number
// past the tool's eighteen choices changes nothing.
TEST_F(PaintToolsWindowTest, AnOptionCellSetsTheToolsChoiceAndOneBeyondItsChoicesIsIgnored) {
  InAuthoringProgram([&](PaintToolsWindow& tools) {
    CToolPalette* paint = tools.GetPaintPalette();
    const Rect shapes = paint->GetButtonRect(10);
    PlayedSounds played;
    paint->MouseDown(shapes.left + 5, shapes.top + 5, 0, 1, &tools);
    EXPECT_EQ(tools.GetCurrentToolId(), 113);
    EXPECT_EQ(played.Numbers({1, 2}), std::vector<int>{1}) << "the palette's own sound";
    CTool* shape = ~tools.GetCurrentTool();
    CToolPalette* options = tools.GetOptionPalette();
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->GetFirst(), 15);
    EXPECT_EQ(options->GetCount(), 18);
    EXPECT_EQ(options->GetSelection(), 14 + shape->GetChoice(0));

    const auto click = [&](std::int16_t number) {
      const Rect cell = options->GetButtonRect(number);
      options->MouseDown(cell.left + 5, cell.top + 5, 0, 1, &tools);
    };
    click(26);
    EXPECT_EQ(shape->GetChoice(0), 12);
    played.Clear();
    click(17);
    EXPECT_EQ(shape->GetChoice(0), 3);
    EXPECT_EQ(options->GetSelection(), 17);
    EXPECT_EQ(played.Numbers({1, 2}), std::vector<int>{2});

    played.Clear();
    tools.OnPaletteSelection(33);
    EXPECT_EQ(shape->GetChoice(0), 3);
    EXPECT_EQ(options->GetSelection(), 17);
    EXPECT_TRUE(played.Numbers({1, 2}).empty());
    // The last of its choices is taken.
    tools.OnPaletteSelection(32);
    EXPECT_EQ(shape->GetChoice(0), 18);
  });
}

// Each paint tool's option cells as the child sees them, with the colour indicator beside those of the
// tools that paint in colour: the cells drawn by the tool in the current paints, the lasso's none.
TEST_F(PaintToolsWindowTest, EachPaintToolShowsItsOptionCells) {
  InAuthoringProgram([&](PaintToolsWindow& tools) {
    struct Case {
      const char* name;
      std::int16_t button;
      std::int16_t cells;
      bool indicator;
    } cases[] = {
        {"bucket", 8, 6, true}, {"brush", 9, 18, true},  {"shapes", 10, 18, true},
        {"line", 11, 6, true},  {"eraser", 12, 18, false}, {"lasso", 13, 0, false},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      tools.SelectTool(c.button);
      Pump();
      ASSERT_NE(tools.GetOptionPalette(), nullptr);
      EXPECT_EQ(tools.GetOptionPalette()->GetCount(), c.cells);
      EXPECT_EQ(tools.GetIndicator() != nullptr, c.indicator);
      EXPECT_EQ(tools.GetLayout()->GetSubviews().NumItems(), c.indicator ? 3 : 2) << "no cells left behind";
      const Point size = tools.GetBounds().Size();
      EXPECT_EQ(size, tools.GetLayout()->GetBounds().Size());
      // The window grows to the right of where it was placed: moved into view whole for the picture.
      tools.SetGlobalBounds(Rect(10, 10, 10 + size.x, 10 + size.y));
      Pump();
      POINT corner{0, 0};
      ClientToScreen(tools.GetFrame()->GetHandle(), &corner);
      ExpectGolden(ScreenPicture(RECT{corner.x, corner.y, corner.x + size.x, corner.y + size.y}),
                   std::string("editor/paint-tools-") + c.name + ".ppm");
    }
  });
}

// The text-style tool's option window is the text palette, beside the tools window in place of the
// option window before it: picked ten times, one of them is left in the application's list. A paint tool
// picked afterwards closes it.
TEST_F(PaintToolsWindowTest, TheTextStyleToolOpensTheTextPaletteAndOnlyOneStays) {
  InAuthoringProgram([&](PaintToolsWindow& tools) {
    const auto textPalettes = [] {
      std::vector<TextPaletteWindow*> found;
      const List& windows = gApplication->GetWindows();
      for (std::int32_t i = 1; i <= windows.NumItems(); ++i)
        if (auto* palette = dynamic_cast<TextPaletteWindow*>(CastSmart<Window>(windows.At(i))))
          found.push_back(palette);
      return found;
    };
    const std::int32_t before = gApplication->GetWindows().NumItems();
    for (int i = 0; i < 10; ++i) tools.SelectTool(PaintToolsWindow::kTextStyleButton);
    EXPECT_EQ(tools.GetCurrentToolId(), 4);
    const std::vector<TextPaletteWindow*> open = textPalettes();
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(gApplication->GetWindows().NumItems(), before + 1);
    EXPECT_EQ(authoring->GetCurrentWindow(), open[0]);
    EXPECT_TRUE(open[0]->IsVisible());
    // Its top-left corner just above the tools window's frame.
    RECT outer;
    GetWindowRect(tools.GetFrame()->GetHandle(), &outer);
    POINT corner{0, 0};
    ClientToScreen(open[0]->GetFrame()->GetHandle(), &corner);
    EXPECT_EQ(corner.x, outer.left);
    EXPECT_EQ(corner.y, outer.top - 1);

    tools.SelectTool(9);
    EXPECT_TRUE(textPalettes().empty());
    EXPECT_EQ(authoring->GetCurrentWindow(), nullptr);
    EXPECT_EQ(gApplication->GetWindows().NumItems(), before);

    // The dropper has no window to offer: the text palette goes all the same.
    tools.SelectTool(PaintToolsWindow::kTextStyleButton);
    ASSERT_EQ(textPalettes().size(), 1u);
    tools.SetCurrentTool(~gPaintState);
    tools.SelectTool(0);
    EXPECT_TRUE(textPalettes().empty());
    EXPECT_EQ(gApplication->GetWindows().NumItems(), before);
  });
}

class Listener : public ToolsDirListener {
 public:
  void ToolsChanged(CToolsDir*) override { ++told; }
  int told = 0;
};

class Gesture : public Interactor {
 public:
  bool Track(View*, std::int32_t, std::int32_t, std::int32_t, bool) override { return true; }
};

// Closing the window, like a change of the pane's state, tells the listeners and ends the brush's
// gesture; the window stays shown. Another tool's gesture goes on.
TEST_F(PaintToolsWindowTest, ClosingTellsTheListenersAndEndsTheBrushsGestureButKeepsTheWindow) {
  InAuthoringProgram([&](PaintToolsWindow& tools) {
    Listener listener;
    tools.ToggleListener(&listener);
    for (const std::int16_t button : {9, 12}) {
      SCOPED_TRACE(button);
      tools.SelectTool(button);
      SmartRef<Tool> current = gApplication->GetTool();
      SmartRef<Interactor> gesture(new Gesture);
      current->SetInteractor(~gesture);
      listener.told = 0;
      tools.Close();
      EXPECT_TRUE(tools.IsVisible());
      EXPECT_EQ(listener.told, 1);
      EXPECT_EQ(current->GetInteractor() == nullptr, button == 9);
      current->SetInteractor(~gesture);
      tools.PaneStateChanged();
      EXPECT_EQ(listener.told, 2);
      EXPECT_EQ(current->GetInteractor() == nullptr, button == 9);
      current->SetInteractor(nullptr);
    }
    tools.ToggleListener(&listener);
  });
}

}  // namespace
}  // namespace editor_test

// What the stage pane's suites share: a page in a window, edited by the stage pane the page's editor
// makes, the layer's clock in the test's hands, and the sprites' rectangles read from the page as it is
// and as it is saved.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/EditorTestSupport.h"
#include "editor/pixels/PixelTestSupport.h"
#include "editor/CToolsDir.h"
#include "editor/stage/CHAPane.h"
#include "engine/page/PageTestSupport.h"
#include "platform/kernel/WinTypes.h"
#include "support/Netpbm.h"
#include "ui/ViewTestSupport.h"
#include "ui/shell/Tool.h"

namespace editor_test {

// Records what the pane tells its listeners: "pane" or "null".
class RecordingStageListener : public StageListener {
 public:
  void StagePaneChanged(CHAPane* pane) override { told.push_back(pane ? "pane" : "null"); }
  std::vector<std::string> told;
};

// A page of 200 x 150 and that many frames over a grey background sprite, with sprites of one colour:
// A (40 x 30, red) at (20, 20 + 10 f), B (30 x 30, green) at (100, 60), C (20 x 20, blue) at (150, 100),
// hidden in frame 2.
SmartRef<CShow> MakeStagePage(std::int16_t frames);

// A tools window with its two palettes (hidden), as the application's has them; the program must run.
SmartRef<CToolsDir> MakeStageToolsDir();

// The program runs (the tools window needs it): each test's body runs inside it through OnStage.
class StageTest : public EditorProgramTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The body inside the program, with the tools window made.
  void OnStage(const std::function<void()>& body);

  // Makes a tool of the id the tools window's current tool; a toggled one records motion.
  void UseTool(std::int32_t id, bool toggled = false);

  // The page in the window through its editor, which must be a stage pane; the pane is made the
  // window's target, so that it is active.
  void Open(SmartRef<CShow> shown);
  CSprite* Sprite(std::int16_t index) const { return engine_test::GroupOf(*page).GetSprite(index); }

  // Every sprite's rectangle at every frame (the first frames only, when a count is given), a line a
  // sprite: "0: l,t,r,b | ... " ("-" where hidden).
  static std::string Layout(CShow& shown, std::int16_t frames = -1);
  // The layout of the page saved as a document and read back.
  std::string SavedLayout(std::int16_t frames = -1) const;
  // The rectangle of the sprite at the frame.
  Rect RectOf(std::int16_t index, std::int16_t frame) const;
  // The selection as sprite indexes, in selection order.
  std::vector<int> Selected() const;
  // The pane drawn whole into the window, and the window's pixels over the page.
  ColourPicture Render();
  // A press, moves and a release at the points (window coordinates) through the application's tool,
  // which the press made a task tool; the clock moves on by the step between two points.
  void Drag(const std::vector<Point>& points, std::int32_t modifiers = 0, DWORD step = 0);

  // The application's tool, as the last tool command left it.
  Tool* AppTool() const;

  DWORD now = 100000;
  TestWindow window{200, 150};
  RecordingSink sink;
  SmartRef<CShow> page;
  SmartRef<CHAPane> pane;
  SmartRef<CToolsDir> tools;
};

}  // namespace editor_test

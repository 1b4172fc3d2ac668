// What the stage pane's suites share: a page in a window, edited by the stage pane the page's editor
// makes, the layer's clock in the test's hands, and the sprites' rectangles read from the page as it is
// and as it is saved.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/EditorTestSupport.h"
#include "editor/pixels/PixelTestSupport.h"
#include "editor/stage/CHAPane.h"
#include "engine/page/PageTestSupport.h"
#include "platform/kernel/WinTypes.h"
#include "support/Netpbm.h"
#include "ui/ViewTestSupport.h"

namespace editor_test {

// Records what the pane tells its listeners: "pane" or "null".
class RecordingStageListener : public StageListener {
 public:
  void StagePaneChanged(CHAPane* pane) override { told.push_back(pane ? "pane" : "null"); }
  std::vector<std::string> told;
};

class StageTest : public EditorTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The page in the window through its editor, which must be a stage pane; the pane is made the
  // window's target, so that it is active.
  void Open(SmartRef<CShow> shown);
  // A page of 200 x 150 and that many frames over a grey background sprite, with sprites of one colour:
  // A (40 x 30, red) at (20, 20 + 10 f), B (30 x 30, green) at (100, 60), C (20 x 20, blue) at
  // (150, 100), hidden in frame 2.
  static SmartRef<CShow> MakeStagePage(std::int16_t frames);
  CSprite* Sprite(std::int16_t index) const { return engine_test::GroupOf(*page).GetSprite(index); }

  // Every sprite's rectangle at every frame, a line a sprite: "0: l,t,r,b | ... " ("-" where hidden).
  static std::string Layout(CShow& shown);
  // The layout of the page saved as a document and read back.
  std::string SavedLayout() const;
  // The pane drawn whole into the window, and the window's pixels over the page.
  ColourPicture Render();
  // A press, moves and a release at the points (window coordinates) through the application's tool,
  // which the press made a task tool; the clock moves on by the step between two points.
  void Drag(const std::vector<Point>& points, std::int32_t modifiers = 0, DWORD step = 0);

  DWORD now = 100000;
  TestWindow window{200, 150};
  RecordingSink sink;
  SmartRef<CShow> page;
  SmartRef<CHAPane> pane;
};

}  // namespace editor_test

// The fill bucket, the shapes and the lines in the pixel pane, each undone and redone.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "editor/CDropperTool.h"
#include "editor/pixels/PaintTools.h"
#include "editor/pixels/PixelTasks.h"
#include "editor/pixels/PixelTestSupport.h"
#include "editor/pixels/SelectionTasks.h"
#include "editor/pixels/ShapeTasks.h"
#include "editor/CurrentStagePane.h"
#include "graphics/DisplayPort.h"
#include "graphics/Paint.h"

namespace editor_test {
namespace {

class ShapeAndFillTest : public PixelTest {
 protected:
  void SetUp() override {
    PixelTest::SetUp();
    gLineWidth = 0;
  }
  void TearDown() override {
    gLineWidth = 0;
    PixelTest::TearDown();
  }
  // The box of the pixels that are not white.
  Rect Painted() const {
    Rect box;
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 100; ++x)
        if (PixelAt(x, y) != white) box = box.IsEmpty() ? Rect(x, y, x + 1, y + 1) : box.Union({x, y, x + 1, y + 1});
    return box;
  }
};

TEST_F(ShapeAndFillTest, TheBucketFillsTheInsideOfAnOutlineOrALonePixel) {
  {
    DisplayPort port(pane->GetPicture(), {0, 0, 100, 80});
    port.DrawRect({10, 10, 30, 30}, standardColors[13], standardColors[1]);
    port.DrawRect({50, 50, 51, 51}, standardColors[1], standardColors[1]);
  }
  const std::uint32_t black = PixelAt(10, 10);
  SmartRef<CBucketTool> bucket(new CBucketTool);
  for (std::int16_t kind = 1; kind <= 10; ++kind) {
    SCOPED_TRACE(kind);
    bucket->SetChoice(0, kind);
    EXPECT_EQ(CBucketTool::gradientKind, kind);
    const auto before = PictureBytes();
    SmartRef<CMouseTask> task = Gesture(103, ~bucket, {{40, 50}, {90, 90}});
    // Inside only: the outline and what lies outside keep their pixels.
    EXPECT_EQ(PixelAt(10, 10), black);
    EXPECT_EQ(PixelAt(9, 9), white);
    EXPECT_EQ(PixelAt(35, 35), white);
    // Kind 4 is the second colour, white here; 7 to 10 draw nothing.
    if (kind <= 6 && kind != 4) {
      EXPECT_NE(PixelAt(20, 20), white);
    }
    ExpectUndoRedo(~task, before);
    task->Undo();
    // On the lone pixel: that pixel alone.
    const auto lone = PictureBytes();
    SmartRef<CMouseTask> onPixel = Gesture(103, ~bucket, {{70, 80}});
    const auto after = PictureBytes();
    int changed = 0;
    for (std::size_t n = 0; n < lone.size(); ++n) changed += lone[n] != after[n];
    EXPECT_LE(changed, 1);
    onPixel->Undo();
  }
  SmartRef<CBucketTool> another(new CBucketTool);
  EXPECT_EQ(bucket->GetChoice(0), 1) << "a new bucket starts the shared kind again";
}

TEST_F(ShapeAndFillTest, ShapeVariantsRoundTripAndDrawTheirKindFreeOrSquare) {
  SmartRef<CShapeTool> tool(new CShapeTool(113, nullptr));
  EXPECT_EQ(tool->GetChoice(0), 3);
  tool->SetChoice(0, 12);
  EXPECT_EQ(tool->GetChoice(0), 12);
  tool->SetChoice(0, 0);
  tool->SetChoice(0, 19);
  EXPECT_EQ(tool->GetChoice(0), 12);
  for (std::int16_t variant = 1; variant <= 18; ++variant) {
    for (const std::int32_t shift : {0, 1}) {
      SCOPED_TRACE(std::to_string(variant) + (shift ? " shift" : ""));
      MakePane();
      tool->SetChoice(0, variant);
      EXPECT_EQ(tool->GetChoice(0), variant);
      const auto before = PictureBytes();
      // Dragged 40 right and 20 down from picture (10, 10).
      SmartRef<CMouseTask> task = Gesture(113, ~tool, {{30, 40}, {50, 50}, {70, 60}}, shift);
      const bool square = (variant > 9) != (shift != 0);
      const int mode = (variant - 1) % 3;
      const Rect box = Painted();
      // The pen is centred on the outline; a fill without a pen stops one short on the right and bottom.
      Rect expected = square ? Rect(10, 10, 30, 30) : Rect(10, 10, 50, 30);
      if (mode == 1) expected.Inset(-1);
      if (mode == 2) expected = Rect(10, 10, expected.right - 1, expected.bottom - 1);
      EXPECT_EQ(box, expected);
      const Point centre = box.Center();
      if (mode == 2) EXPECT_NE(PixelAt(centre.x, centre.y), white);
      else EXPECT_EQ(PixelAt(centre.x, centre.y), white);
      // A thick outline is 3 wide before any width is chosen.
      if (mode == 1 && (variant - 1) % 9 < 3) {
        EXPECT_NE(PixelAt(centre.x, 11), white);
        EXPECT_EQ(PixelAt(centre.x, 12), white);
      }
      ExpectUndoRedo(~task, before);
    }
  }
}

// A stage that paints itself grey.
class GreyStage : public View {
 public:
  GreyStage(View* parent, const Rect& frame) : View(parent, frame, kAnchorTopLeft, false, true) {}
  void DrawContent(DisplayPort& port, const Area&) override {
    port.DrawRect(GetBounds(), standardColors[4], standardColors[4]);
  }
};

TEST_F(ShapeAndFillTest, TheRubberBandAndTheMarqueeFollowThePointerWithoutTrails) {
  SmartRef<GreyStage> stage(new GreyStage(~window.root, {0, 0, 200, 150}));
  gCurrentStagePane = stage;
  constexpr std::uint32_t kGrey = 0x808080;
  SmartRef<CShapeTool> shape(new CShapeTool(113, nullptr));
  shape->SetChoice(0, 1);  // a thin rectangle
  SmartRef<CLassoTool> lasso(new CLassoTool);
  struct Case {
    const char* what;
    SmartRef<CMouseTask> task;
    std::uint32_t ink;
  } cases[] = {
      {"rubber band", MakePixelTask(113, ~pane, pane->GetPicture(), ~shape), 0xFF00FF},
      {"marquee", new CSelectionRect(~pane, pane->GetPicture(), ~lasso), 0x000000},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.task->Prepare();
    // Pressed at (30, 40), dragged to (110, 100), then back to (60, 70): the large outline is gone from
    // the screen, the small one shows.
    c.task->Track(~window.root, 30, 40, 0, true);
    c.task->Track(~window.root, 110, 100, 0, true);
    EXPECT_EQ(window.surface->Pixel(109, 70), c.ink);
    c.task->Track(~window.root, 60, 70, 0, true);
    EXPECT_EQ(window.surface->Pixel(109, 70), kGrey);
    EXPECT_EQ(window.surface->Pixel(80, 99), kGrey);
    EXPECT_EQ(window.surface->Pixel(59, 55), c.ink);
    EXPECT_EQ(window.surface->Pixel(45, 69), c.ink);
    EXPECT_EQ(window.surface->Pixel(45, 55), kGrey);
    c.task->Track(~window.root, 60, 70, 0, false);
  }
  gCurrentStagePane = nullptr;
  window.root->RemoveSubview(~stage);
}

TEST_F(ShapeAndFillTest, ThickOutlinesAndRoundCornersFollowTheirRules) {
  SmartRef<CShapeTool> tool(new CShapeTool(113, nullptr));
  tool->SetChoice(0, 2);
  for (const std::int16_t width : {1, 2}) {
    gLineWidth = width;
    EXPECT_EQ(tool->PenWidth(), 3);
  }
  gLineWidth = 16;
  EXPECT_EQ(tool->PenWidth(), 16);
  tool->SetChoice(0, 1);
  EXPECT_EQ(tool->PenWidth(), 1);
  // Each drag paints exactly the shape drawn straight into a blank picture with the stated corner or pen
  // width (picture coordinates).
  ColorPaint plain(gPaintForeground);
  PatternPaint pattern(gPaintForeground, gPaintSecondColor, gPaintPattern);
  struct Case {
    const char* what;
    std::int16_t variant;
    std::int16_t lineWidth;
    Point from, to;  // window
    std::function<void(DisplayPort&)> draw;
  } cases[] = {
      {"corners of 15 for 100 x 30", 4, 0, {20, 40}, {120, 70},
       [&](DisplayPort& port) { port.DrawRoundRect({0, 10, 100, 40}, 15, 15, *noPaint, plain, 1); }},
      {"corners of 10 for 12 x 12", 4, 0, {30, 40}, {42, 52},
       [&](DisplayPort& port) { port.DrawRoundRect({10, 10, 22, 22}, 10, 10, *noPaint, plain, 1); }},
      {"a thick outline 3 wide with width 1 chosen", 2, 1, {30, 40}, {90, 90},
       [&](DisplayPort& port) { port.DrawRect({10, 10, 70, 60}, *noPaint, pattern, 3); }},
      {"a thick outline 16 wide with width 16 chosen", 2, 16, {30, 40}, {90, 90},
       [&](DisplayPort& port) { port.DrawRect({10, 10, 70, 60}, *noPaint, pattern, 16); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MakePane();
    tool->SetChoice(0, c.variant);
    gLineWidth = c.lineWidth;
    Gesture(105, ~tool, {c.from, c.to});
    const std::vector<std::uint8_t> painted = PictureBytes();
    MakePane();
    {
      DisplayPort port(pane->GetPicture(), {0, 0, 100, 80});
      c.draw(port);
    }
    EXPECT_EQ(painted, PictureBytes());
  }
}

TEST_F(ShapeAndFillTest, LinesSnapWhileConstrainedAndTakeTheirWidths) {
  struct Snap {
    Point drag;
    Point end;
  } snaps[] = {{{30, 25}, {30, 30}}, {{30, 40}, {0, 40}}, {{2, 2}, {0, 2}}, {{40, 5}, {40, 0}}, {{-30, -25}, {-30, -30}}};
  for (const Snap& s : snaps)
    EXPECT_EQ(CLineTool::SnapEnd(Point(100, 100) + s.drag, {100, 100}), Point(100, 100) + s.end)
        << s.drag.x << "," << s.drag.y;
  SmartRef<CLineTool> line(new CLineTool);
  EXPECT_EQ(line->GetChoice(0), 1) << "no width chosen yet";
  const std::int16_t widths[] = {1, 2, 4, 8, 12, 16};
  for (std::int16_t index = 1; index <= 6; ++index) {
    SCOPED_TRACE(index);
    line->SetChoice(0, index);
    EXPECT_EQ(gLineWidth, widths[index - 1]);
    EXPECT_EQ(line->GetChoice(0), index);
    MakePane();
    const auto before = PictureBytes();
    // Shift snaps a drag 30 right and 25 down to the diagonal.
    SmartRef<CMouseTask> task = Gesture(106, ~line, {{40, 50}, {70, 75}}, kModifierShift);
    EXPECT_NE(PixelAt(35, 35), white);
    EXPECT_EQ(PixelAt(45, 25), white);
    const Rect box = Painted();
    EXPECT_GE(box.Height(), 30) << "the line reaches 30 down";
    ExpectUndoRedo(~task, before);
  }
  line->SetChoice(0, 7);
  EXPECT_EQ(gLineWidth, 16);
}

}  // namespace
}  // namespace editor_test

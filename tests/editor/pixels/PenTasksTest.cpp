// The brush, eraser and pencil strokes in the pixel pane, each undone and redone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/CDropperTool.h"
#include "editor/CurrentStagePane.h"
#include "editor/pixels/PaintTools.h"
#include "editor/pixels/PenTasks.h"
#include "editor/pixels/PixelTasks.h"
#include "editor/pixels/PixelTestSupport.h"
#include "graphics/DisplayPort.h"
#include "platform/user/Message.h"
#include "support/AlertRecorder.h"
#include "ui/shell/MessagePump.h"

namespace editor_test {
namespace {

// A stage that paints itself in one colour.
class StageProbe : public View {
 public:
  StageProbe(View* parent, const Rect& frame) : View(parent, frame, kAnchorTopLeft, false, true) {}
  void DrawContent(DisplayPort& port, const Area&) override {
    port.DrawRect(GetBounds(), standardColors[4], standardColors[4]);
  }
};

class PenTasksTest : public PixelTest {
 protected:
  void FillPicture(const Color& color) {
    DisplayPort port(pane->GetPicture(), {0, 0, 100, 80});
    port.DrawRect({0, 0, 100, 80}, color, color);
  }
};

TEST_F(PenTasksTest, TheBrushStepsAlongEachSegmentAndTheNextEventStartsFromThePointer) {
  SmartRef<CBrushTool> brush(new CBrushTool(~paintState));
  brush->SetChoice(0, 20);  // a single pixel
  EXPECT_EQ(brush->GetPenRect(), Rect(0, 0, 1, 1));
  const auto before = PictureBytes();
  // (10, 10) to (13, 10) in one event queues x 10, 12, 12; the next, to (14, 10), starts from 13.
  SmartRef<CMouseTask> task = Gesture(102, ~brush, {{30, 40}, {33, 40}, {34, 40}});
  const std::uint32_t ink = PixelAt(10, 10);
  EXPECT_NE(ink, white);
  EXPECT_EQ(Pixels({9, 10, 16, 11}, ink), ".#.##..\n");
  EXPECT_TRUE(gBrushIdle);
  EXPECT_TRUE(gBrushPoints.IsEmpty());
  ExpectUndoRedo(~task, before);
}

TEST_F(PenTasksTest, BrushSizesPaintTheirShapesWithTheTopLeftAtThePointer) {
  struct Case {
    std::int16_t size;
    Rect pen;
  } cases[] = {{6, {0, 0, 7, 7}}, {1, {0, 0, 16, 16}}, {5, {0, 0, 12, 12}}, {24, {0, 0, 1, 1}}};
  for (const Case& c : cases) {
    MakePane();
    SmartRef<CBrushTool> brush(new CBrushTool(~paintState));
    brush->SetChoice(0, c.size);
    EXPECT_EQ(brush->GetPenRect(), c.pen) << c.size;
    const auto before = PictureBytes();
    SmartRef<CMouseTask> task = Gesture(102, ~brush, {{30, 40}});
    // Painted exactly within the pen's rectangle at the press point, touching each of its sides.
    Rect painted;
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 100; ++x)
        if (PixelAt(x, y) != white) painted = painted.IsEmpty() ? Rect(x, y, x + 1, y + 1) : painted.Union({x, y, x + 1, y + 1});
    Rect expected = c.pen;
    expected.Offset(10, 10);
    EXPECT_EQ(painted, expected) << c.size;
    ExpectUndoRedo(~task, before);
  }
}

TEST_F(PenTasksTest, TheScreenShowsTheBrushedPixelsUnderThePointerAndNothingElse) {
  SmartRef<CBrushTool> brush(new CBrushTool(~paintState));  // a 7 x 7 disc
  window.surface->Fill(0x000000);
  Gesture(102, ~brush, {{30, 40}, {60, 40}});
  const std::uint32_t ink = 0xFF00FF;
  EXPECT_EQ(window.surface->Pixel(33, 43), ink) << "the press";
  EXPECT_EQ(window.surface->Pixel(50, 43), ink) << "along the drag";
  EXPECT_EQ(window.surface->Pixel(63, 43), ink) << "the release";
  EXPECT_EQ(window.surface->Pixel(30, 40), 0x000000u) << "the disc's corner";
  EXPECT_EQ(window.surface->Pixel(67, 43), 0x000000u) << "past the release";
  EXPECT_EQ(window.surface->Pixel(45, 48), 0x000000u) << "below the stroke";
}

TEST_F(PenTasksTest, TheBrushStaysInsideThePaneAtItsRightEdge) {
  SmartRef<CBrushTool> brush(new CBrushTool(~paintState));  // 7 x 7
  Gesture(102, ~brush, {{115, 40}, {130, 40}});
  EXPECT_NE(PixelAt(99, 13), white);
  EXPECT_EQ(PixelAt(92, 13), white);
  EXPECT_NE(PixelAt(93, 13), white);
}

TEST_F(PenTasksTest, AFullRingIsStampedInOrderBeforeItTakesMore) {
  // A pane of 199 x 150: room for more points than the ring holds, one pixel each.
  constexpr int kWidth = 199;
  window.root->RemoveSubview(~pane);
  pane = new CPixPane(~window.root, {0, 0, kWidth, 150}, {0, 0, kWidth, 150}, nullptr);
  window.root->AddSubview(~pane);
  SmartRef<CBrushTool> brush(new CBrushTool(~paintState));
  brush->SetChoice(0, 24);  // a single pixel
  // Row by row through the pixels, one pixel per event: each such event queues the point it starts from.
  auto at = [&](int i) {
    const int y = i / kWidth;
    return Point(y % 2 ? kWidth - 1 - i % kWidth : i % kWidth, y);
  };
  SmartRef<CMouseTask> task = MakePixelTask(102, ~pane, pane->GetPicture(), ~brush);
  task->Prepare();
  // The hand never rests: a new mouse move is always pending, so nothing is stamped while there is room.
  int moves = 0;
  auto forgetMoves = [] {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
    }
  };
  auto moveTo = [&](Point p, bool down) {
    forgetMoves();
    PostMessageA(nullptr, WM_MOUSEMOVE, 0, MAKELONG(++moves % 2 + 1, 0));
    task->Track(~window.root, p.x, p.y, 0, down);
  };
  const auto blank = PictureBytes();
  // The press and events 1 to n queue n + 1 points (p0 twice, then p1 to p(n - 1)): five short of full.
  const int last = BrushRing::kSize - 7;
  for (int i = 0; i <= last; ++i) moveTo(at(i), true);
  EXPECT_EQ(gBrushPoints.Count(), BrushRing::kSize - 6);
  EXPECT_EQ(PictureBytes(), blank) << "nothing stamped while the hand moves and the ring has room";
  // One event 10 pixels along the row queues L, L+2, L+2, L+4, L+4, L+6, L+6, L+8, L+8, L+10: the ring
  // fills after L+4, and all it holds is stamped before L+6 goes in.
  const Point from = at(last);
  const int d = at(last + 1).x - from.x;
  auto along = [&](int n) { return Point(from.x + n * d, from.y); };
  moveTo(along(10), true);
  EXPECT_EQ(gBrushPoints.Count(), 5);
  const std::uint32_t ink = PixelAt(at(0).x, at(0).y);
  ASSERT_NE(ink, white);
  int missing = 0;
  for (int i = 0; i <= last; ++i) missing += PixelAt(at(i).x, at(i).y) != ink;
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(Pixels({along(0).x, from.y, along(0).x + 11 * d, from.y + 1}, ink), "#.#.#......\n");
  // The release stamps what is left, the hand still moving or not.
  moveTo(along(10), false);
  forgetMoves();
  ForgetLastMousePosition();
  EXPECT_TRUE(gBrushPoints.IsEmpty());
  EXPECT_EQ(Pixels({along(0).x, from.y, along(0).x + 11 * d, from.y + 1}, ink), "#.#.#.#.#.#\n");
}

TEST_F(PenTasksTest, TheEraserRubsOutItsExtentCentredOnThePointer) {
  FillPicture(standardColors[1]);
  const std::uint32_t black = PixelAt(0, 0);
  SmartRef<CEraserTool> eraser(new CEraserTool);
  EXPECT_EQ(eraser->GetChoice(0), 3);
  eraser->SetChoice(0, 0);
  eraser->SetChoice(0, 21);
  EXPECT_EQ(eraser->GetExtent(), Point(12, 12));
  const auto before = PictureBytes();
  SmartRef<CMouseTask> task = Gesture(109, ~eraser, {{50, 60}});
  // Picture (30, 30) less 6 on each side: 24 to 35.
  EXPECT_EQ(Pixels({23, 29, 37, 31}, black), "#............#\n#............#\n");
  EXPECT_EQ(Pixels({29, 23, 31, 37}, black), "##\n..\n..\n..\n..\n..\n..\n..\n..\n..\n..\n..\n..\n##\n");
  ExpectUndoRedo(~task, before);
  eraser->SetChoice(0, 13);  // a bar 24 wide, 4 high
  EXPECT_EQ(eraser->GetExtent(), Point(24, 4));
  MakePane();
  FillPicture(standardColors[1]);
  Gesture(109, ~eraser, {{50, 60}, {52, 60}});
  // (30, 30) then (32, 30): x 18 to 43 and y 28 to 31 erased.
  const std::string full(28, '#');
  const std::string bar = "#" + std::string(26, '.') + "#";
  EXPECT_EQ(Pixels({17, 27, 45, 33}, black), full + "\n" + bar + "\n" + bar + "\n" + bar + "\n" + bar + "\n" + full + "\n");
}

TEST_F(PenTasksTest, TheEraserRepaintsTheScreenFromTheStageBelowTheToolStrip) {
  SmartRef<StageProbe> stage(new StageProbe(~window.root, {0, 0, 200, 150}));
  gCurrentStagePane = stage;
  SmartRef<CEraserTool> eraser(new CEraserTool);
  eraser->SetChoice(0, 7);  // 32 x 32
  window.surface->Fill(0x000000);
  Gesture(109, ~eraser, {{40, 50}});
  // The stamp covers window (24, 34) to (56, 66); the screen is repainted from y 50 down only.
  EXPECT_EQ(window.surface->Pixel(40, 49), 0x000000u);
  EXPECT_NE(window.surface->Pixel(40, 50), 0x000000u);
  EXPECT_NE(window.surface->Pixel(55, 65), 0x000000u);
  EXPECT_EQ(window.surface->Pixel(56, 65), 0x000000u);
}

TEST_F(PenTasksTest, APencilStrokeChangesNothingYetGoesOnTheUndoList) {
  AlertRecorder alerts;
  SmartRef<CPencilTool> pencil(new CPencilTool);
  const auto before = PictureBytes();
  SmartRef<CMouseTask> task = Gesture(104, ~pencil, {{30, 40}, {60, 70}});
  EXPECT_EQ(PictureBytes(), before);
  EXPECT_EQ(sink.undoable.size(), 1u);
  EXPECT_EQ(~gPixPane, ~pane);
  task->Undo();
  EXPECT_EQ(PictureBytes(), before);
}

TEST_F(PenTasksTest, ATaskForTheWrongKindOfToolIsRefused) {
  AlertRecorder alerts;
  SmartRef<CEraserTool> eraser(new CEraserTool);
  EXPECT_ANY_THROW(MakePixelTask(104, ~pane, pane->GetPicture(), ~eraser));
  EXPECT_ANY_THROW(MakePixelTask(109, ~pane, pane->GetPicture(), nullptr));
  EXPECT_FALSE(MakePixelTask(110, ~pane, pane->GetPicture(), ~eraser));
}

}  // namespace
}  // namespace editor_test

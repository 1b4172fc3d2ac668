// The pixel editor pane, its edit-pane base, and the paint task and task tool every gesture runs through.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/pixels/PixelTestSupport.h"
#include "editor/CToolPalette.h"
#include "editor/CToolsDir.h"
#include "editor/KidResources.h"
#include "editor/pixels/CMouseTask.h"
#include "editor/pixels/CTaskTool.h"
#include "editor/Seams.h"
#include "engine/Seams.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/kinds/FrameEditing.h"
#include "engine/media/CResource.h"
#include "engine/media/CStamp.h"
#include "graphics/DisplayPort.h"
#include "graphics/Transform.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "support/AlertRecorder.h"

namespace editor_test {
namespace {

// Paints one black pixel at every point it is given (picture coordinates), and records the calls.
class DotTask : public CPaintTask {
 public:
  DotTask(CPixPane* pane, OffScreen* picture) : CPaintTask(16, pane, picture) {}
  void Begin(Point& anchor, std::int32_t modifiers) override {
    calls.push_back("begin " + Text(anchor));
    if (failBegin) ThrowError("Pinceau introuvable", "TEST", 1);
    if (moveAnchor) anchor = anchor + Point(1, 0);
    CPaintTask::Begin(anchor, modifiers);
  }
  void Continue(Point& point, Point& last, Point& anchor, std::int32_t) override {
    calls.push_back("continue " + Text(point) + " " + Text(last) + " " + Text(anchor));
    const Point p = point - pane->PictureOrigin();
    DisplayPort port(~picture, {0, 0, 100, 80});
    port.DrawRect(Rect(p.x, p.y, p.x + 1, p.y + 1), standardColors[1], standardColors[1]);
  }
  void End(Point& point, Point& last, Point& anchor, std::int32_t modifiers) override {
    calls.push_back("end " + Text(point));
    CPaintTask::End(point, last, anchor, modifiers);
  }
  static std::string Text(const Point& p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
  std::vector<std::string> calls;
  bool moveAnchor = false;
  bool failBegin = false;
};

using CPixPaneTest = PixelTest;

TEST_F(CPixPaneTest, AnEditPaneKeepsItsChangedAndLockedBitsAndAnswersRevert) {
  AlertRecorder alerts;
  SmartRef<CEditPane> plain(new CEditPane(~window.root, {0, 0, 50, 50}));
  EXPECT_EQ(plain->GetNumberCommandStatus(kRevertCommand), 3);
  EXPECT_FALSE(plain->MarkChanged(false));
  EXPECT_FALSE(plain->Toggle(false));
  EXPECT_TRUE(plain->MarkChanged(true));
  EXPECT_EQ(plain->GetNumberCommandStatus(kRevertCommand), 0);
  EXPECT_EQ(plain->GetNumberCommandStatus(8), 3);
  plain->Lock();
  EXPECT_EQ(plain->GetNumberCommandStatus(kRevertCommand), 3);
  plain->HandleNumberCommand(kRevertCommand, nullptr);
  EXPECT_FALSE(plain->MarkChanged(false));
  EXPECT_EQ(alerts.Alerts().size(), 1u);
  // Resizing an inactive pane is no change; a plain pane gives no result.
  plain->ResizeBy(0, 0, 5, 5);
  EXPECT_FALSE(plain->MarkChanged(false));
  Rect bounds(1, 2, 3, 4);
  SmartRef<Smart> edited;
  EXPECT_FALSE(plain->GetEditResult(&bounds, &edited, true));
  EXPECT_EQ(bounds, Rect(1, 2, 3, 4));
}

TEST_F(CPixPaneTest, ANewPaneShowsTheFramesPictureOnWhiteAndDrawsDirect) {
  EXPECT_EQ(~gPixPane, ~pane);
  EXPECT_TRUE(pane->CanDrawDirect(false));
  EXPECT_FALSE(pane->IsMagnified(false));
  EXPECT_EQ(pane->ViewToPicture(33, 44), Point(33, 44));
  EXPECT_TRUE(pane->GetSelection()->IsEmpty());
  std::string allWhite;
  for (int y = 0; y < 80; ++y) allWhite += std::string(100, '.') + "\n";
  EXPECT_EQ(Pixels({0, 0, 100, 80}, 0), allWhite);
  // A 2 x 2 black picture shown on window (40, 50) to (44, 54) lands scaled at picture (20, 20).
  SmartRef<OffScreen> source(new OffScreen(2, 2, 8, standardColors[1], true));
  SmartRef<CStamp> frame(new CStamp(~source));
  MakePane(~frame, {40, 50, 44, 54});
  const std::uint32_t black = PixelAt(20, 20);
  EXPECT_NE(black, white);
  EXPECT_EQ(Pixels({19, 19, 25, 25}, black), "......\n.####.\n.####.\n.####.\n.####.\n......\n");
}

TEST_F(CPixPaneTest, AStrokeBeginsContinuesEndsAndGoesOnTheUndoListOnce) {
  SmartRef<DotTask> task(new DotTask(~pane, pane->GetPicture()));
  task->Prepare();
  const std::vector<std::uint8_t> before = PictureBytes();
  SmartRef<Tool> previous(new Tool);
  SmartRef<CTaskTool> tool(new CTaskTool(~task, ~previous));
  EXPECT_EQ(tool->GetId(), 0);
  EXPECT_EQ(tool->GetCursor(), previous->GetCursor());
  Drag(~tool, {{30, 40}, {31, 40}, {31, 40}, {35, 42}});
  EXPECT_EQ(task->calls, (std::vector<std::string>{"begin 30,40", "continue 30,40 30,40 30,40",
                                                   "continue 31,40 30,40 30,40", "continue 31,40 31,40 30,40",
                                                   "continue 35,42 31,40 30,40", "end 35,42",
                                                   "continue 35,42 35,42 30,40"}));
  // The gesture is over: the task tool asked for its previous tool back, once.
  EXPECT_FALSE(tool->GetInteractor());
  EXPECT_EQ(sink.toolCommands, 1);
  EXPECT_EQ(tool->GetPreviousTool(), ~previous);
  ASSERT_EQ(sink.undoable.size(), 1u);
  EXPECT_EQ(~sink.undoable[0], static_cast<Task*>(~task));
  const std::vector<std::uint8_t> painted = PictureBytes();
  EXPECT_NE(painted, before);
  EXPECT_EQ(Pixels({9, 9, 17, 13}, PixelAt(10, 10)), "........\n.##.....\n........\n......#.\n");
  // Undo and redo swap the picture with the copy taken at preparation, as often as asked.
  for (int round = 0; round < 2; ++round) {
    task->Undo();
    EXPECT_EQ(PictureBytes(), before);
    task->Redo();
    EXPECT_EQ(PictureBytes(), painted);
  }
}

TEST_F(CPixPaneTest, BeginMayMoveTheAnchorAndAReleaseWithoutAPressDoesNothing) {
  SmartRef<DotTask> task(new DotTask(~pane, pane->GetPicture()));
  task->moveAnchor = true;
  EXPECT_FALSE(task->Track(~window.root, 30, 40, 0, false));
  EXPECT_TRUE(task->calls.empty());
  EXPECT_TRUE(task->Track(~window.root, 30, 40, 0, true));
  task->Track(~window.root, 32, 40, 0, true);
  EXPECT_EQ(task->calls.back(), "continue 32,40 30,40 31,40");
}

TEST_F(CPixPaneTest, APressThatFailsEndsTheGestureAndGivesThePreviousToolBack) {
  AlertRecorder alerts;
  SmartRef<DotTask> task(new DotTask(~pane, pane->GetPicture()));
  task->failBegin = true;
  task->Prepare();
  const std::vector<std::uint8_t> before = PictureBytes();
  SmartRef<Tool> previous(new Tool);
  SmartRef<CTaskTool> tool(new CTaskTool(~task, ~previous));
  EXPECT_ANY_THROW(tool->MouseDown(30, 40, 0, 1, ~window.root));
  // The moves and the release call nothing more; the first move already gives the tool back.
  tool->MouseMoved(35, 42, 0, true, ~window.root);
  EXPECT_FALSE(tool->GetInteractor());
  EXPECT_EQ(sink.toolCommands, 1);
  tool->MouseMoved(40, 44, 0, false, ~window.root);
  EXPECT_EQ(task->calls, std::vector<std::string>{"begin 30,40"});
  EXPECT_TRUE(sink.undoable.empty());
  EXPECT_EQ(PictureBytes(), before);
}

TEST_F(CPixPaneTest, ATaskToolWithoutAMouseTaskRefusesThePressAndNeverMakesOne) {
  AlertRecorder alerts;
  SmartRef<CTaskTool> tool(new CTaskTool(nullptr, nullptr));
  EXPECT_ANY_THROW(tool->MouseDown(30, 40, 0, 1, ~window.root));
  EXPECT_ANY_THROW(tool->CreateInteractor(30, 40, 0, ~window.root));
  EXPECT_EQ(sink.toolCommands, 0);
}

TEST_F(CPixPaneTest, APressWithAToolThatPaintsNothingChangesNothing) {
  // No tools window: no current tool, so no task; the press is refused and the pane stays unchanged.
  AlertRecorder alerts;
  EXPECT_ANY_THROW(pane->MouseDown(30, 40, 0, 1, ~window.root));
  EXPECT_FALSE(pane->MarkChanged(false));
  EXPECT_EQ(sink.toolCommands, 1);
}

TEST_F(CPixPaneTest, TheEditResultIsThePaintedPartTrimmedOrNothing) {
  Rect movie(300, 400, 400, 480);
  SmartRef<Smart> edited;
  // No gesture: no result, nothing touched.
  EXPECT_FALSE(pane->GetEditResult(&movie, &edited, true));
  EXPECT_EQ(movie, Rect(300, 400, 400, 480));
  EXPECT_FALSE(edited);
  // A dot at picture (10, 12) and one at (14, 20): the result covers exactly them, in the movie's place.
  {
    DisplayPort port(pane->GetPicture(), {0, 0, 100, 80});
    port.DrawRect(Rect(10, 12, 11, 13), standardColors[1], standardColors[1]);
    port.DrawRect(Rect(14, 20, 15, 21), standardColors[1], standardColors[1]);
  }
  pane->MarkChanged(true);
  ASSERT_TRUE(pane->GetEditResult(&movie, &edited, true));
  EXPECT_EQ(movie, Rect(310, 412, 315, 421));
  auto* resource = CastSmart<CResource>(~edited);
  ASSERT_NE(resource, nullptr);
  EXPECT_EQ(resource->GetBounds(), movie);
}

TEST_F(CPixPaneTest, AnAllWhiteEditGivesNothingForANewPictureAndAnEmptyFrameForAnExistingOne) {
  Rect movie(0, 0, 100, 80);
  SmartRef<Smart> edited(new Area);
  pane->MarkChanged(true);
  EXPECT_FALSE(pane->GetEditResult(&movie, &edited, true));
  EXPECT_TRUE(edited);
  SmartRef<OffScreen> source(new OffScreen(2, 2, 8, standardColors[1], true));
  SmartRef<CStamp> frame(new CStamp(~source));
  MakePane(~frame, {40, 50, 44, 54});
  {
    DisplayPort port(pane->GetPicture(), {0, 0, 100, 80});
    port.DrawRect(Rect(0, 0, 100, 80), standardColors[0], standardColors[0]);
  }
  pane->MarkChanged(true);
  EXPECT_TRUE(pane->GetEditResult(&movie, &edited, true));
  EXPECT_FALSE(edited);
  EXPECT_EQ(movie, Rect(0, 0, 100, 80));
}

TEST_F(CPixPaneTest, ResizingThePaneKeepsThePaintedPixelsWhereTheyAreOnTheStage) {
  // Window (30, 42).
  {
    DisplayPort port(pane->GetPicture(), {0, 0, 100, 80});
    port.DrawRect(Rect(10, 12, 11, 13), standardColors[1], standardColors[1]);
  }
  const std::uint32_t black = PixelAt(10, 12);
  // Ten to the left, five up, twenty to the right: window (30, 42) is now picture (20, 17).
  pane->ResizeBy(-10, -5, 20, 0);
  EXPECT_EQ(pane->GetBounds(), Rect(10, 25, 140, 110));
  Rect bounds;
  pane->GetPicture()->GetBounds(&bounds);
  EXPECT_EQ(bounds, Rect(0, 0, 130, 85));
  EXPECT_EQ(Pixels({19, 16, 22, 19}, black), "...\n.#.\n...\n");
  EXPECT_EQ(PixelAt(0, 0), white);
  EXPECT_EQ(PixelAt(129, 84), white);
  EXPECT_EQ(pane->MarkChanged(false), pane->IsActive()) << "a resize changes an active pane only";
}

TEST_F(CPixPaneTest, TabGoesBackToThePreviousPaintToolAndOtherKeysGoOn) {
  struct Chosen : PaletteListener {
    void ButtonChosen(std::int16_t number) override { numbers.push_back(number); }
    std::vector<std::int16_t> numbers;
  } heard;
  SmartRef<PaintToolPalette> palette(new PaintToolPalette(~window.root, new PaletteLook(2, 3, 25, 25), 1, 4));
  palette->AddTool(&heard);
  gPaintPalette = palette;
  EXPECT_TRUE(pane->KeyDown(9, 0));
  EXPECT_FALSE(pane->KeyDown('a', 0));
  EXPECT_EQ(heard.numbers, std::vector<std::int16_t>{4}) << "Tab chose the palette's previous button, once";
  gPaintPalette = nullptr;
  window.root->RemoveSubview(~palette);
  palette = nullptr;
}

TEST_F(CPixPaneTest, CommandsAndEditOperationsFollowTheSelection) {
  AlertRecorder alerts;
  struct Row {
    std::int32_t number;
    int without;
    int with;
  } rows[] = {{18, 3, 0},   {19, 3, 0},   {20, 3, 3},   {21, 3, 0},   {2004, 0, 0}, {2006, 3, 3},
              {2013, 3, 3}, {2101, 0, 0}, {2103, 0, 0}, {2106, 0, 0}, {2109, 0, 0}, {7, 3, 3}};
  for (const Row& row : rows) EXPECT_EQ(pane->GetNumberCommandStatus(row.number), row.without) << row.number;
  EXPECT_TRUE(pane->CanEdit(kEditPaste));
  EXPECT_FALSE(pane->CanEdit(kEditCopy));
  EXPECT_FALSE(pane->CanEdit(kEditClear));
  pane->HandleNumberCommand(2004, nullptr);
  EXPECT_EQ(pane->GetSelection()->GetBounds(), pane->GetBounds());
  for (const Row& row : rows) EXPECT_EQ(pane->GetNumberCommandStatus(row.number), row.with) << row.number;
  EXPECT_TRUE(pane->CanEdit(kEditCut));
  pane->Deselect();
  EXPECT_TRUE(pane->GetSelection()->IsEmpty());
}

TEST_F(CPixPaneTest, TheBlinkOutlinesAOneRectangleSelectionOnTheScreenOnly) {
  window.surface->Fill(0x000000);
  pane->Idle();
  EXPECT_EQ(window.surface->Pixel(30, 40), 0x000000u) << "nothing selected, nothing drawn";
  pane->GetSelection()->SetRect({30, 40, 50, 60});
  const std::vector<std::uint8_t> before = PictureBytes();
  pane->Idle();
  // The outline ends in standard colour 7; inside and outside the screen keeps its pixels.
  EXPECT_EQ(window.surface->Pixel(30, 40), 0xFF0000u);
  EXPECT_EQ(window.surface->Pixel(49, 59), 0xFF0000u);
  EXPECT_EQ(window.surface->Pixel(40, 50), 0x000000u);
  EXPECT_EQ(window.surface->Pixel(50, 60), 0x000000u);
  EXPECT_EQ(PictureBytes(), before);
  // Two rectangles are not outlined.
  window.surface->Fill(0x000000);
  pane->GetSelection()->SetRect({30, 40, 40, 50});
  pane->GetSelection()->Union(Area(Rect(60, 70, 70, 80)));
  ASSERT_EQ(pane->GetSelection()->NumRects(), 2);
  pane->Idle();
  EXPECT_EQ(window.surface->Pixel(30, 40), 0x000000u);
}

TEST_F(CPixPaneTest, ClearFillsTheSelectionWithTheBackgroundColour) {
  {
    DisplayPort port(pane->GetPicture(), {0, 0, 100, 80});
    port.DrawRect(Rect(0, 0, 100, 80), standardColors[1], standardColors[1]);
  }
  const std::uint32_t black = PixelAt(0, 0);
  pane->Clear();
  EXPECT_EQ(PixelAt(5, 5), black) << "nothing selected, nothing cleared";
  pane->GetSelection()->SetRect({22, 33, 25, 35});
  pane->Clear();
  EXPECT_EQ(Pixels({1, 2, 6, 6}, black), "#####\n#...#\n#...#\n#####\n");
}

TEST_F(CPixPaneTest, TheEngineOpensThePixelPaneAsAFrameEditor) {
  InstallEditorSeams();
  ASSERT_NE(GetFrameEditHooks().makePixelPane, nullptr);
  SmartRef<View> made = GetFrameEditHooks().makePixelPane(~window.root, {0, 0, 60, 60}, {10, 10, 20, 20}, nullptr);
  EXPECT_NE(dynamic_cast<FrameEditor*>(~made), nullptr);
  EXPECT_EQ(static_cast<View*>(~gPixPane), ~made);
  window.root->RemoveSubview(~made);
}

TEST_F(CPixPaneTest, APictureEditLeavesNoPaneOnTheStageWhenItEnds) {
  InstallEditorSeams();
  window.root->RemoveAllSubviews();
  SmartRef<CResource> resource = new CResource(SmartRef<Smart>(new BitMap(20, 20, ColorTable::GetStandard(8))));
  resource->SetBounds(0, 0, 20, 20);
  SmartRef<CMoviePic> movie = new CMoviePic(~resource);
  movie->BeginEdit(0, 0, 1, 0, ~window.root, ~window.surface, {40, 40, 60, 60}, nullptr, false, false, false);
  ASSERT_NE(movie->GetEditor(), nullptr);
  EXPECT_NE(window.root->GetSubviews().IndexOf(movie->GetEditor()), 0) << "the pane is on the stage while editing";
  const SmartRef<View> editor(movie->GetEditor());
  movie->EndEdit(nullptr, false);
  EXPECT_EQ(window.root->GetSubviews().NumItems(), 0);
  EXPECT_EQ(window.root->GetSubviews().IndexOf(~editor), 0);
}

}  // namespace
}  // namespace editor_test

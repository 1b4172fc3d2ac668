#include <gtest/gtest.h>

#include <optional>

#include "support/Raised.h"
#include "support/graphics/GraphicsFixture.h"
#include "ui/controls/GridView.h"
#include "ui/shell/Tool.h"
#include "ui/ViewTestSupport.h"

namespace {

constexpr std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kCyan = 0x00FFFF, kYellow = 0xFFFF00;

// Cells in a red and blue checkerboard; records the cells it draws and its choices.
class CheckerGrid : public GridView {
 public:
  CheckerGrid(View* parent, const Rect& grid, std::int32_t cellWidth, std::int32_t cellHeight, const Point& selected)
      : GridView(parent, grid.left, grid.top, grid.right, grid.bottom, cellWidth, cellHeight, selected.x, selected.y) {}
  void DrawCell(DisplayPort& port, std::int32_t column, std::int32_t row, const Rect& cell) override {
    drawn.push_back(std::to_string(column) + "," + std::to_string(row));
    const Color color = (column + row) % 2 == 0 ? Color(7) : Color(9);
    port.DrawRect(cell, color, color);
  }
  void SelectionChanged() override { chosen.push_back(GetSelection()); }

  std::vector<std::string> drawn;
  std::vector<Point> chosen;
};

// A 3 x 2 grid of 5-pixel cells filling a 15 x 10 window, cell (1, 0) selected.
class GridViewTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    Make(false);
  }
  void TearDown() override {
    grid = nullptr;
    window.reset();
    GraphicsFixture::TearDown();
  }
  void Make(bool buffered) {
    grid = nullptr;
    window.emplace(15, 10, buffered);
    grid = new CheckerGrid(~window->root, {0, 0, 3, 2}, 5, 5, {1, 0});
    window->root->AddSubview(~grid);
    window->MakeFront();
    window->root->Redraw(~window->surface);
  }
  // Red and blue cells; their inversions cyan and yellow.
  std::string Picture() const {
    return window->surface->Picture({{kRed, 'r'}, {kBlue, 'b'}, {kCyan, 'c'}, {kYellow, 'y'}});
  }

  std::optional<TestWindow> window;
  SmartRef<CheckerGrid> grid;
};

const char kFirstSelected[] =
    "rrrrryyyyyrrrrr\n"
    "rrrrryyyyyrrrrr\n"
    "rrrrryybyyrrrrr\n"
    "rrrrryyyyyrrrrr\n"
    "rrrrryyyyyrrrrr\n"
    "bbbbbrrrrrbbbbb\n"
    "bbbbbrrrrrbbbbb\n"
    "bbbbbrrrrrbbbbb\n"
    "bbbbbrrrrrbbbbb\n"
    "bbbbbrrrrrbbbbb\n";

TEST_F(GridViewTest, CellsAreDrawnRowByRowAndTheSelectionIsFramedByAnInversion) {
  EXPECT_EQ(grid->drawn, (std::vector<std::string>{"0,0", "1,0", "2,0", "0,1", "1,1", "2,1"}));
  EXPECT_EQ(Picture(), kFirstSelected);
  EXPECT_EQ(grid->GetAnchoring(), kAnchorTopLeft);
  EXPECT_TRUE(grid->AcceptsTarget());
}

TEST_F(GridViewTest, CellsAndPointsFollowTheGridBoundsTimesTheCellSize) {
  struct Case {
    Rect grid;
    Point point;
    Point cell;  // (9, 9) for "the current selection"
  } cases[] = {
      {{0, 0, 32, 8}, {319, 79}, {31, 7}},
      {{0, 0, 32, 8}, {0, 0}, {0, 0}},
      {{0, 0, 32, 8}, {320, 5}, {9, 9}},
      {{0, 0, 32, 8}, {5, 80}, {9, 9}},
      // Just left of or above the grid is outside it, not in its first column or row.
      {{0, 0, 32, 8}, {-1, 5}, {9, 9}},
      {{0, 0, 32, 8}, {5, -9}, {9, 9}},
      // A grid that does not start at the origin lies away from it.
      {{2, 1, 5, 3}, {20, 10}, {2, 1}},
      {{2, 1, 5, 3}, {49, 29}, {4, 2}},
      {{2, 1, 5, 3}, {15, 15}, {9, 9}},
  };
  for (const Case& c : cases) {
    SmartRef<CheckerGrid> view(new CheckerGrid(~window->root, c.grid, 10, 10, {9, 9}));
    EXPECT_EQ(view->GetBounds(),
              Rect(c.grid.left * 10, c.grid.top * 10, c.grid.right * 10, c.grid.bottom * 10));
    EXPECT_EQ(view->PointToCell(c.point), c.cell) << c.point.x << "," << c.point.y;
  }
  EXPECT_EQ(grid->CellRect(2, 1), Rect(10, 5, 15, 10));
  EXPECT_EQ(grid->CellRect(-1, -1), Rect::emptyRect);
  EXPECT_EQ(RaisedText(Raised([&] { CheckerGrid(~window->root, {0, 0, 2, 2}, 0, 10, {0, 0}); })),
            "cellWidth > 0 && cellHeight > 0");
}

TEST_F(GridViewTest, MovingTheSelectionMovesItsFrameAndNothingElse) {
  grid->SetSelection({2, 1});
  EXPECT_EQ(grid->GetSelection(), Point(2, 1));
  EXPECT_EQ(grid->GetInitialSelection(), Point(1, 0));
  EXPECT_EQ(Picture(),
            "rrrrrbbbbbrrrrr\n"
            "rrrrrbbbbbrrrrr\n"
            "rrrrrbbbbbrrrrr\n"
            "rrrrrbbbbbrrrrr\n"
            "rrrrrbbbbbrrrrr\n"
            "bbbbbrrrrryyyyy\n"
            "bbbbbrrrrryyyyy\n"
            "bbbbbrrrrryybyy\n"
            "bbbbbrrrrryyyyy\n"
            "bbbbbrrrrryyyyy\n");
  const std::string before = Picture();
  const int draws = window->surface->beginCount;
  grid->SetSelection({2, 1});
  EXPECT_EQ(window->surface->beginCount, draws) << "the same cell draws nothing";
  for (Point outside : {Point(3, 0), Point(0, 2), Point(-1, 0)}) {
    grid->SetSelection(outside);
    EXPECT_EQ(grid->GetSelection(), Point(2, 1));
    EXPECT_EQ(Picture(), before);
  }
  // Drawing the selection twice leaves the window as it was.
  {
    DisplayPort port(~window->surface, grid->GetBounds());
    grid->DrawSelection(port, 0, 1);
    grid->DrawSelection(port, 0, 1);
    EXPECT_EQ(RaisedText(Raised([&] { grid->DrawSelection(port, 3, 1); })), "gridBounds.Contains(gridLocation)");
  }
  EXPECT_EQ(Picture(), before);
  EXPECT_TRUE(grid->chosen.empty()) << "moving the selection is not choosing";
}

TEST_F(GridViewTest, AGridWithoutACellDrawsNoFrameUntilOneIsSet) {
  grid->SetSelection(GridView::noCell);
  EXPECT_EQ(grid->GetSelection(), GridView::noCell);
  window->root->Invalidate(false);
  window->root->Redraw(~window->surface);
  const std::string none =
      "rrrrrbbbbbrrrrr\n"
      "rrrrrbbbbbrrrrr\n"
      "rrrrrbbbbbrrrrr\n"
      "rrrrrbbbbbrrrrr\n"
      "rrrrrbbbbbrrrrr\n"
      "bbbbbrrrrrbbbbb\n"
      "bbbbbrrrrrbbbbb\n"
      "bbbbbrrrrrbbbbb\n"
      "bbbbbrrrrrbbbbb\n"
      "bbbbbrrrrrbbbbb\n";
  EXPECT_EQ(Picture(), none);
  grid->SetSelection({1, 0});
  EXPECT_EQ(Picture(), kFirstSelected);
}

TEST_F(GridViewTest, AHiddenGridKeepsItsSelectionOffTheWindow) {
  grid->Show(false);
  window->surface->Fill(0x123456);
  const int draws = window->surface->beginCount;
  grid->SetSelection({0, 1});
  EXPECT_EQ(grid->GetSelection(), Point(0, 1));
  EXPECT_EQ(window->surface->beginCount, draws);
  grid->Show(true);
  window->root->Redraw(~window->surface);
  EXPECT_EQ(Picture().substr(5 * 16, 16), "yyyyyrrrrrbbbbb\n");
}

// A grid drawing on its window's off-screen buffer shows a new selection on the window at once, and the
// buffer agrees, so that the next repaint from it shows the same.
TEST_F(GridViewTest, AGridOnABufferShowsItsSelectionOnTheWindowToo) {
  Make(true);
  EXPECT_EQ(Picture(), kFirstSelected);
  grid->SetSelection({2, 1});
  const std::string moved = Picture();
  EXPECT_EQ(moved.substr(7 * 16, 16), "bbbbbrrrrryybyy\n");
  EXPECT_EQ(moved.substr(2 * 16, 16), "rrrrrbbbbbrrrrr\n");
  window->root->Invalidate(false);
  window->root->Redraw(~window->surface);
  EXPECT_EQ(Picture(), moved);
}

// The whole gesture through the tool, as the application feeds it: the release of the click that opened
// the grid is ignored, the selection follows the pressed pointer cell by cell (keeping the last cell
// outside the grid), and the release chooses once and ends the gesture.
TEST_F(GridViewTest, ASelectorWaitsForAPressFollowsThePointerAndChoosesOnTheRelease) {
  SmartRef<Tool> tool(new Tool);
  View* root = ~window->root;
  auto move = [&](int x, int y, bool down) { tool->MouseMoved(x, y, 0, down, root); };
  SmartRef<GridSelector> selector(new GridSelector(nullptr, ~grid));
  tool->SetInteractor(~selector);
  selector = nullptr;
  move(12, 7, false);
  move(1, 1, false);
  EXPECT_EQ(grid->GetSelection(), Point(1, 0));
  ASSERT_NE(tool->GetInteractor(), nullptr);

  move(12, 7, true);
  tool->MouseDown(12, 7, 0, 1, root);
  EXPECT_EQ(grid->GetSelection(), Point(2, 1));
  move(20, 3, true);
  EXPECT_EQ(grid->GetSelection(), Point(2, 1));
  move(3, 8, true);
  EXPECT_EQ(grid->GetSelection(), Point(0, 1));
  EXPECT_TRUE(grid->chosen.empty());
  move(3, 2, false);
  EXPECT_EQ(grid->chosen, std::vector<Point>{Point(0, 0)});
  EXPECT_EQ(tool->GetInteractor(), nullptr);
  EXPECT_EQ(Picture().substr(2 * 16, 16), "ccrccbbbbbrrrrr\n");
}

TEST_F(GridViewTest, ASelectorCopiesItsWindowGridAndWaiting) {
  SmartRef<GridSelector> started(new GridSelector(nullptr, ~grid));
  started->Track(~window->root, 2, 2, 0, true);
  SmartRef<CheckerGrid> other(new CheckerGrid(~window->root, {0, 0, 1, 1}, 5, 5, {0, 0}));
  SmartRef<GridSelector> copy(new GridSelector(nullptr, ~other));
  ASSERT_TRUE(copy->CanCopyFrom(~started));
  copy->CopyFrom(~started);
  SmartRef<GridSelector> clone(CastSmart<GridSelector>(started->Clone()));
  for (GridSelector* each : {~copy, ~clone}) {
    EXPECT_EQ(each->GetGridView(), SmartRef<GridView>(~grid));
    EXPECT_FALSE(each->IsWaiting());
  }
  SmartRef<Tool> tool(new Tool);
  EXPECT_FALSE(copy->CanCopyFrom(~tool));
  EXPECT_EQ(RaisedText(Raised([&] { copy->CopyFrom(~tool); })), "castPtr");
}

}  // namespace

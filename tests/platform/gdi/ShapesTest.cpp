// The pixel rules of the drawing calls, each checked on every pixel of a small surface.
#include <gtest/gtest.h>

#include "GdiTestSupport.h"

using gditest::Canvas;
using gditest::Rows;
using gditest::Selected;

namespace {

constexpr std::uint32_t kInk = 0x000000;
constexpr std::uint32_t kPaper = 0xFFFFFF;

TEST(Shapes, FillRectAndInvertRectCoverHalfOpenRectangles) {
  Canvas canvas(6, 5, 32);
  canvas.Clear(RGB(255, 255, 255));
  RECT r{1, 1, 4, 3};
  FillRect(canvas.dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  std::string filled = Rows({"......", ".###..", ".###..", "......", "......"});
  EXPECT_EQ(canvas.Picture(kInk), filled);

  // Reversed corners fill nothing, as the system does.
  RECT reversed{4, 3, 1, 1};
  FillRect(canvas.dc(), &reversed, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(canvas.Picture(kInk), filled);

  RECT inv{0, 2, 6, 4};
  InvertRect(canvas.dc(), &inv);
  EXPECT_EQ(canvas.Picture(kInk), Rows({"......", ".###..", "#...##", "######", "......"}));
  InvertRect(canvas.dc(), &inv);
  EXPECT_EQ(canvas.Picture(kInk), filled);
}

TEST(Shapes, FrameRectDrawsOnePixelInsideTheRectangle) {
  Canvas canvas(6, 5, 32);
  canvas.Clear(RGB(255, 255, 255));
  RECT r{0, 0, 5, 4};
  FrameRect(canvas.dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(canvas.Picture(kInk), Rows({"#####.", "#...#.", "#...#.", "#####.", "......"}));
}

TEST(Shapes, RectangleOutlinesItsLastRowAndColumnAndFillsInside) {
  Canvas canvas(7, 6, 32);
  canvas.Clear(RGB(255, 255, 255));
  Selected brush(canvas.dc(), CreateSolidBrush(RGB(255, 0, 0)));
  Rectangle(canvas.dc(), 1, 1, 6, 5);
  EXPECT_EQ(canvas.Picture(kInk), Rows({".......", ".#####.", ".#...#.", ".#...#.", ".#####.", "......."}));
  EXPECT_EQ(canvas.Picture(0xFF0000), Rows({".......", ".......", "..###..", "..###..", ".......", "......."}));
}

TEST(Shapes, RectangleWithTheNullPenFillsOnePixelLessOnTheRightAndBottom) {
  Canvas canvas(7, 6, 32);
  canvas.Clear(RGB(255, 255, 255));
  SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
  SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
  Rectangle(canvas.dc(), 6, 5, 1, 1);  // reversed corners are normalised
  EXPECT_EQ(canvas.Picture(kInk), Rows({".......", ".####..", ".####..", ".####..", ".......", "......."}));
}

TEST(Shapes, LineToLeavesOutItsLastPixelAndMovesThePosition) {
  struct Case {
    POINT from, to;
    const char* picture;
  };
  const Case cases[] = {
      {{0, 0}, {4, 0}, "####.\n.....\n.....\n.....\n.....\n"},
      {{4, 4}, {4, 0}, ".....\n....#\n....#\n....#\n....#\n"},
      {{0, 0}, {4, 4}, "#....\n.#...\n..#..\n...#.\n.....\n"},
      {{4, 0}, {0, 2}, "....#\n..##.\n.#...\n.....\n.....\n"},
      {{2, 2}, {2, 2}, ".....\n.....\n.....\n.....\n.....\n"},
  };
  for (const Case& c : cases) {
    Canvas canvas(5, 5, 32);
    canvas.Clear(RGB(255, 255, 255));
    MoveToEx(canvas.dc(), c.from.x, c.from.y, nullptr);
    LineTo(canvas.dc(), c.to.x, c.to.y);
    EXPECT_EQ(canvas.Picture(kInk), c.picture) << c.from.x << "," << c.from.y << " -> " << c.to.x << "," << c.to.y;
    POINT at;
    GetCurrentPositionEx(canvas.dc(), &at);
    EXPECT_EQ(at.x, c.to.x);
    EXPECT_EQ(at.y, c.to.y);
  }
}

TEST(Shapes, WidePenIsCentredOnTheLineWithRoundEnds) {
  Canvas canvas(9, 7, 32);
  canvas.Clear(RGB(255, 255, 255));
  Selected pen(canvas.dc(), CreatePen(PS_SOLID, 3, RGB(0, 0, 0)));
  MoveToEx(canvas.dc(), 2, 3, nullptr);
  LineTo(canvas.dc(), 6, 3);
  EXPECT_EQ(canvas.Picture(kInk), Rows({".........", ".........", ".#######.", ".#######.", ".#######.",
                                       ".........", "........."}));
}

TEST(Shapes, MonochromePatternBrushFollowsBitsAndBrushOrigin) {
  // Rows 11 44 11 44...: set bits take the background colour, clear ones the text colour.
  const WORD rows[8] = {0x11, 0x44, 0x11, 0x44, 0x11, 0x44, 0x11, 0x44};
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
  Canvas canvas(8, 2, 32);
  SetBkColor(canvas.dc(), RGB(255, 0, 0));
  SetTextColor(canvas.dc(), RGB(0, 0, 255));
  Selected brush(canvas.dc(), CreatePatternBrush(pattern));
  DeleteObject(pattern);
  PatBlt(canvas.dc(), 0, 0, 8, 2, PATCOPY);
  EXPECT_EQ(canvas.Picture(0xFF0000), Rows({"...#...#", ".#...#.."}));
  EXPECT_EQ(canvas.Picture(0x0000FF), Rows({"###.###.", "#.###.##"}));

  // Moving the origin by (1, 1) shifts the pattern: pixel (x, y) takes bit (y - 1, x - 1).
  SetBrushOrgEx(canvas.dc(), 1, 1, nullptr);
  PatBlt(canvas.dc(), 0, 0, 8, 2, PATCOPY);
  EXPECT_EQ(canvas.Picture(0xFF0000), Rows({"..#...#.", "#...#..."}));
}

}  // namespace

namespace {

TEST(Shapes, MergePenOrsRawIndicesOnIndexedSurfaces) {
  Canvas canvas(4, 1, 8);
  for (int x = 0; x < 4; ++x) canvas.SetValue(x, 0, 0x12 + x);
  // Index 0x40 of the grey ramp is grey 0x40; merging ORs the index bits, whatever colours they stand for.
  Selected pen(canvas.dc(), CreatePen(PS_SOLID, 1, RGB(0x40, 0x40, 0x40)));
  SetROP2(canvas.dc(), R2_MERGEPEN);
  MoveToEx(canvas.dc(), 0, 0, nullptr);
  LineTo(canvas.dc(), 4, 0);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(canvas.Value(x, 0), static_cast<std::uint32_t>((0x12 + x) | 0x40));
}

TEST(Shapes, DimmingPatternWithMergePenLeavesTheOtherPixelsAlone) {
  // A 50% white screen: set bits white, clear bits black ORed in, so they keep what was there.
  const WORD rows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
  Canvas canvas(4, 2, 32);
  canvas.Clear(RGB(0, 0, 0));
  SetBkColor(canvas.dc(), RGB(255, 255, 255));
  SetTextColor(canvas.dc(), RGB(0, 0, 0));
  SetROP2(canvas.dc(), R2_MERGEPEN);
  SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
  Selected brush(canvas.dc(), CreatePatternBrush(pattern));
  DeleteObject(pattern);
  Rectangle(canvas.dc(), 0, 0, 5, 3);
  EXPECT_EQ(canvas.Picture(kPaper), Rows({"#.#.", ".#.#"}));
}

TEST(Shapes, RopTwoModesOnRectangles) {
  struct Case {
    int rop2;
    std::uint32_t expected;
  };
  // Pen and brush 0x0F0F0F over 0x333333.
  const Case cases[] = {
      {R2_COPYPEN, 0x0F0F0F}, {R2_XORPEN, 0x3C3C3C}, {R2_MERGEPEN, 0x3F3F3F}, {R2_MASKPEN, 0x030303},
      {R2_NOT, 0xCCCCCC},     {R2_NOP, 0x333333},    {R2_BLACK, 0x000000},    {R2_WHITE, 0xFFFFFF},
      {R2_NOTCOPYPEN, 0xF0F0F0},
  };
  for (const Case& c : cases) {
    Canvas canvas(4, 4, 32);
    canvas.Clear(RGB(0x33, 0x33, 0x33));
    Selected pen(canvas.dc(), CreatePen(PS_SOLID, 1, RGB(0x0F, 0x0F, 0x0F)));
    Selected brush(canvas.dc(), CreateSolidBrush(RGB(0x0F, 0x0F, 0x0F)));
    SetROP2(canvas.dc(), c.rop2);
    Rectangle(canvas.dc(), 0, 0, 4, 4);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) ASSERT_EQ(canvas.Value(x, y), c.expected) << "rop2 " << c.rop2 << " at " << x << "," << y;
  }
}

// Checks the properties every ellipse must have on a canvas where it was drawn in ink.
void ExpectGoodEllipse(const Canvas& canvas, RECT box, const std::string& label) {
  int l = box.left, t = box.top, r = box.right - 1, b = box.bottom - 1;
  bool top = false, bottom = false, left = false, right = false;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      bool ink = canvas.Value(x, y) == kInk;
      if (!ink) continue;
      ASSERT_TRUE(x >= l && x <= r && y >= t && y <= b) << label << ": outside the box at " << x << "," << y;
      ASSERT_EQ(canvas.Value(l + r - x, y), kInk) << label << ": not mirrored left-right at " << x << "," << y;
      ASSERT_EQ(canvas.Value(x, t + b - y), kInk) << label << ": not mirrored top-bottom at " << x << "," << y;
      top |= y == t;
      bottom |= y == b;
      left |= x == l;
      right |= x == r;
    }
  }
  EXPECT_TRUE(top && bottom && left && right) << label << ": does not touch all four sides";
  // No gaps: the outline is one 8-connected ring (every outline pixel is reached from the first one).
  std::vector<std::vector<int>> seen(canvas.height(), std::vector<int>(canvas.width(), 0));
  std::vector<POINT> stack;
  int total = 0;
  for (int y = 0; y < canvas.height(); ++y)
    for (int x = 0; x < canvas.width(); ++x)
      if (canvas.Value(x, y) == kInk) {
        ++total;
        if (stack.empty() && !seen[y][x]) {
          stack.push_back(POINT{x, y});
          seen[y][x] = 1;
        }
      }
  int reached = 0;
  while (!stack.empty()) {
    POINT p = stack.back();
    stack.pop_back();
    ++reached;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        int x = p.x + dx, y = p.y + dy;
        if (x < 0 || y < 0 || x >= canvas.width() || y >= canvas.height() || seen[y][x]) continue;
        if (canvas.Value(x, y) != kInk) continue;
        seen[y][x] = 1;
        stack.push_back(POINT{x, y});
      }
  }
  EXPECT_EQ(reached, total) << label << ": the outline is broken";
}

TEST(Shapes, EllipsesAreSymmetricTouchTheirBoxAndHaveNoGaps) {
  const RECT boxes[] = {{0, 0, 1, 1},   {0, 0, 2, 2},   {1, 1, 9, 9},    {0, 0, 10, 5},  {2, 3, 33, 12},
                        {0, 0, 40, 40}, {0, 0, 3, 30},  {5, 0, 6, 20},   {0, 0, 64, 3},  {0, 0, 17, 16}};
  for (const RECT& box : boxes) {
    Canvas canvas(70, 42, 32);
    canvas.Clear(RGB(255, 255, 255));
    SelectObject(canvas.dc(), GetStockObject(NULL_BRUSH));
    Ellipse(canvas.dc(), box.left, box.top, box.right, box.bottom);
    ExpectGoodEllipse(canvas, box,
                      "ellipse " + std::to_string(box.left) + "," + std::to_string(box.top) + "," +
                          std::to_string(box.right) + "," + std::to_string(box.bottom));
  }
}

TEST(Shapes, FilledEllipseKeepsItsOutlineOnTopOfItsInside) {
  Canvas canvas(12, 10, 32);
  canvas.Clear(RGB(255, 255, 255));
  Selected brush(canvas.dc(), CreateSolidBrush(RGB(255, 0, 0)));
  Ellipse(canvas.dc(), 1, 1, 11, 9);
  for (int y = 0; y < 10; ++y) {
    // Every row holds ink, then red, then ink: the brush lies strictly inside the pen.
    std::string row;
    for (int x = 0; x < 12; ++x) row += canvas.Value(x, y) == kInk ? '#' : canvas.Value(x, y) == 0xFF0000 ? 'r' : '.';
    auto first = row.find_first_not_of('.'), last = row.find_last_not_of('.');
    if (first == std::string::npos) continue;
    EXPECT_EQ(row[first], '#') << row;
    EXPECT_EQ(row[last], '#') << row;
  }
  EXPECT_EQ(canvas.Value(6, 5), 0xFF0000u);
}

TEST(Shapes, RoundRectHasStraightSidesAndRoundedCorners) {
  Canvas canvas(12, 10, 32);
  canvas.Clear(RGB(255, 255, 255));
  SelectObject(canvas.dc(), GetStockObject(NULL_BRUSH));
  RoundRect(canvas.dc(), 0, 0, 12, 10, 6, 6);
  ExpectGoodEllipse(canvas, RECT{0, 0, 12, 10}, "round rect");
  EXPECT_EQ(canvas.Value(0, 0), kPaper);   // the corner is cut off
  EXPECT_EQ(canvas.Value(0, 5), kInk);     // straight left side
  EXPECT_EQ(canvas.Value(6, 0), kInk);     // straight top side
  // Corners of zero size give a plain rectangle.
  Canvas plain(5, 4, 32);
  plain.Clear(RGB(255, 255, 255));
  SelectObject(plain.dc(), GetStockObject(NULL_BRUSH));
  RoundRect(plain.dc(), 0, 0, 5, 4, 0, 0);
  EXPECT_EQ(plain.Picture(kInk), Rows({"#####", "#...#", "#...#", "#####"}));
}

TEST(Shapes, PolygonFillsByTheTopLeftRuleAndAlternates) {
  Canvas canvas(8, 8, 32);
  canvas.Clear(RGB(255, 255, 255));
  SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
  SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
  const POINT square[] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
  Polygon(canvas.dc(), square, 4);
  EXPECT_EQ(canvas.Picture(kInk),
            Rows({"........", ".####...", ".####...", ".####...", "........", "........", "........", "........"}));

  // A star drawn as one path leaves its centre empty (alternate rule).
  Canvas star(9, 9, 32);
  star.Clear(RGB(255, 255, 255));
  SelectObject(star.dc(), GetStockObject(NULL_PEN));
  SelectObject(star.dc(), GetStockObject(BLACK_BRUSH));
  const POINT twice[] = {{0, 0}, {8, 0}, {8, 8}, {0, 8}, {0, 0}, {6, 2}, {2, 2}, {2, 6}, {6, 6}, {6, 2}};
  Polygon(star.dc(), twice, 10);
  EXPECT_EQ(star.Value(1, 1), kInk);
  EXPECT_EQ(star.Value(4, 4), kPaper);
}

TEST(Shapes, PolygonOutlineWithPenClosesThePath) {
  Canvas canvas(6, 6, 32);
  canvas.Clear(RGB(255, 255, 255));
  SelectObject(canvas.dc(), GetStockObject(NULL_BRUSH));
  const POINT square[] = {{1, 1}, {4, 1}, {4, 4}, {1, 4}};
  Polygon(canvas.dc(), square, 4);
  EXPECT_EQ(canvas.Picture(kInk), Rows({"......", ".####.", ".#..#.", ".#..#.", ".####.", "......"}));
}

TEST(Shapes, SetPixelAndGetPixel) {
  Canvas canvas(4, 4, 8);
  EXPECT_EQ(SetPixel(canvas.dc(), 1, 2, RGB(0x80, 0x80, 0x80)), RGB(0x80, 0x80, 0x80));
  EXPECT_EQ(canvas.Value(1, 2), 0x80u);
  EXPECT_EQ(GetPixel(canvas.dc(), 1, 2), RGB(0x80, 0x80, 0x80));
  // A colour not in the table gives the nearest entry, and that is what SetPixel answers.
  EXPECT_EQ(SetPixel(canvas.dc(), 0, 0, RGB(0x11, 0x12, 0x13)), RGB(0x12, 0x12, 0x12));
  EXPECT_EQ(GetPixel(canvas.dc(), 4, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(canvas.dc(), 0, -1), CLR_INVALID);
  EXPECT_EQ(SetPixel(canvas.dc(), -1, 0, 0), CLR_INVALID);
  HRGN clip = CreateRectRgn(0, 0, 2, 2);
  SelectClipRgn(canvas.dc(), clip);
  DeleteObject(clip);
  EXPECT_EQ(GetPixel(canvas.dc(), 1, 2), CLR_INVALID);
  EXPECT_EQ(GetPixel(canvas.dc(), 1, 1), RGB(0, 0, 0));
}

}  // namespace

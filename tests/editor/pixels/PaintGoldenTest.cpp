// Scripted strokes of every paint tool give exact golden pictures: each tool's results side by side in one
// sheet under tests/fixtures/editor/pixels. Undo after each stroke gives back the picture byte for byte,
// redo paints it again.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "editor/CDropperTool.h"
#include "editor/pixels/CMouseTask.h"
#include "editor/pixels/PaintTools.h"
#include "editor/pixels/PixelTestSupport.h"
#include "editor/pixels/ShapeTasks.h"
#include "graphics/DisplayPort.h"
#include "graphics/Paint.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "support/graphics/GoldenPicture.h"

namespace editor_test {
namespace {

constexpr int kCellWidth = 64;
constexpr int kCellHeight = 48;

// Pictures of one tool, left to right and top to bottom.
class Sheet {
 public:
  Sheet(int columns, int rows) : columns(columns), picture{columns * kCellWidth, rows * kCellHeight, {}} {
    picture.pixels.assign(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height), 0);
  }
  void Put(int index, BitMap& bitmap) {
    const ColourPicture cell = PixelsOf(bitmap);
    const int left = index % columns * kCellWidth;
    const int top = index / columns * kCellHeight;
    for (int y = 0; y < kCellHeight; ++y)
      for (int x = 0; x < kCellWidth; ++x)
        picture.pixels[static_cast<std::size_t>((top + y) * picture.width + left + x)] =
            cell.pixels[static_cast<std::size_t>(y * kCellWidth + x)];
  }
  const ColourPicture& Picture() const { return picture; }

 private:
  int columns;
  ColourPicture picture;
};

class PaintGoldenTest : public PixelTest {
 protected:
  void SetUp() override {
    PixelTest::SetUp();
    // Every value of the picture has a colour of its own, so the colour sheet is as exact as the values.
    std::set<std::uint32_t> colours;
    for (int n = 0; n < 256; ++n) {
      const Color c = ColorTable::GetStandard(8)->GetColor(n);
      colours.insert(static_cast<std::uint32_t>(c.red >> 8) << 16 | static_cast<std::uint32_t>(c.green >> 8) << 8 |
                     static_cast<std::uint32_t>(c.blue >> 8));
    }
    ASSERT_EQ(colours.size(), 256u);
    // Red and yellow in a checkerboard, so that the pattern paint shows.
    gPaintForeground = standardColors[7];
    gPaintSecondColor = standardColors[10];
    gPaintPattern = standardPatterns[3];
    gLineWidth = 0;
    paneBounds = {20, 30, 20 + kCellWidth, 30 + kCellHeight};
    MakePane(nullptr, paneBounds);
  }
  void TearDown() override {
    gLineWidth = 0;
    CBucketTool::gradientKind = 1;
    PixelTest::TearDown();
  }
  // One gesture, undone and redone.
  void PaintAndUndo(std::int32_t id, CTool* tool, const std::vector<Point>& points, std::int32_t modifiers = 0) {
    const std::vector<std::uint8_t> before = PictureBytes();
    ExpectUndoRedo(~Gesture(id, tool, points, modifiers), before);
  }
  BitMap& Picture() { return *pane->GetPicture()->GetBitMap(); }
};

// A stroke that turns, doubles back and runs off the pane on the right.
const std::vector<Point> kStroke = {{26, 36}, {44, 40}, {60, 60}, {70, 44}, {50, 70}, {40, 62}, {100, 50}};

TEST_F(PaintGoldenTest, BrushStrokesOfTheLargestMiddleAndSmallestSizes) {
  Sheet sheet(3, 1);
  SmartRef<CBrushTool> brush(new CBrushTool(~paintState));
  const std::int16_t sizes[] = {1, 6, 24};
  for (int n = 0; n < 3; ++n) {
    SCOPED_TRACE(sizes[n]);
    MakePane(nullptr, paneBounds);
    brush->SetChoice(0, sizes[n]);
    PaintAndUndo(102, ~brush, kStroke);
    sheet.Put(n, Picture());
  }
  ExpectGolden(sheet.Picture(), "editor/pixels/brush.ppm");
}

TEST_F(PaintGoldenTest, EraserStrokesOfASquareAndAFlatBar) {
  Sheet sheet(2, 1);
  SmartRef<CEraserTool> eraser(new CEraserTool);
  const std::int16_t sizes[] = {3, 13};
  for (int n = 0; n < 2; ++n) {
    SCOPED_TRACE(sizes[n]);
    MakePane(nullptr, paneBounds);
    {
      DisplayPort port(pane->GetPicture(), {0, 0, kCellWidth, kCellHeight});
      PatternPaint paint(gPaintForeground, gPaintSecondColor, gPaintPattern);
      port.DrawRect({0, 0, kCellWidth, kCellHeight}, paint, paint);
    }
    eraser->SetChoice(0, sizes[n]);
    PaintAndUndo(109, ~eraser, kStroke);
    sheet.Put(n, Picture());
  }
  ExpectGolden(sheet.Picture(), "editor/pixels/eraser.ppm");
}

TEST_F(PaintGoldenTest, BucketKindsInAnOutlineAndOnALonePixel) {
  Sheet sheet(5, 2);
  SmartRef<CBucketTool> bucket(new CBucketTool);
  for (std::int16_t kind = 1; kind <= 10; ++kind) {
    SCOPED_TRACE(kind);
    MakePane(nullptr, paneBounds);
    {
      DisplayPort port(pane->GetPicture(), {0, 0, kCellWidth, kCellHeight});
      ColorPaint black(standardColors[1]);
      port.DrawEllipse({4, 4, 44, 40}, *noPaint, black, 2);
      port.DrawRect({54, 24, 55, 25}, standardColors[1], standardColors[1]);
    }
    bucket->SetChoice(0, kind);
    PaintAndUndo(103, ~bucket, {{44, 52}, {60, 60}});
    PaintAndUndo(103, ~bucket, {{74, 54}});
    sheet.Put(kind - 1, Picture());
  }
  ExpectGolden(sheet.Picture(), "editor/pixels/bucket.ppm");
}

TEST_F(PaintGoldenTest, EveryShapeVariantFreeAndWithShift) {
  // Rows: free, then with Shift; in each the 18 variants.
  Sheet sheet(9, 4);
  SmartRef<CShapeTool> tool(new CShapeTool(113, nullptr));
  for (const std::int32_t shift : {0, 1}) {
    for (std::int16_t variant = 1; variant <= 18; ++variant) {
      SCOPED_TRACE(std::to_string(variant) + (shift ? " shift" : ""));
      MakePane(nullptr, paneBounds);
      tool->SetChoice(0, variant);
      PaintAndUndo(113, ~tool, {{26, 36}, {50, 50}, {76, 66}}, shift);
      sheet.Put(shift * 18 + variant - 1, Picture());
    }
  }
  ExpectGolden(sheet.Picture(), "editor/pixels/shapes.ppm");
}

TEST_F(PaintGoldenTest, LinesOfEveryWidth) {
  Sheet sheet(6, 1);
  SmartRef<CLineTool> line(new CLineTool);
  for (std::int16_t index = 1; index <= 6; ++index) {
    SCOPED_TRACE(index);
    MakePane(nullptr, paneBounds);
    line->SetChoice(0, index);
    PaintAndUndo(106, ~line, {{26, 70}, {60, 50}, {78, 38}});
    sheet.Put(index - 1, Picture());
  }
  ExpectGolden(sheet.Picture(), "editor/pixels/lines.ppm");
}

}  // namespace
}  // namespace editor_test

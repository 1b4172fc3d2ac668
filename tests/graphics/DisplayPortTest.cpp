#include <gtest/gtest.h>

#include <cstring>

#include "support/graphics/GraphicsFixture.h"
#include "support/graphics/SurfaceDevice.h"
#include "support/graphics/TextLook.h"
#include "core/Text1252.h"
#include "graphics/DisplayPort.h"
#include "graphics/GraphicsState.h"
#include "graphics/Paint.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/WindowSystemCalls.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"
#include "graphics/SystemVersion.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kRed = 0xFF0000;
const std::vector<std::pair<std::uint32_t, char>> kKey = {{kWhite, '.'}, {kBlack, '#'}, {kRed, 'r'}};

Rect ClipBox(const DisplayPort& port) {
  RECT box{};
  GetClipBox(port.GetDC(), &box);
  return {box.left, box.top, box.right, box.bottom};
}

TEST(DisplayDevice, PortsNestAndTheDeviceDrawsUntilTheOuterOneCloses) {
  SurfaceDevice device(8, 8);
  EXPECT_EQ(device.GetDrawingDC(), nullptr);
  {
    DisplayPort outer(&device, {0, 0, 8, 8});
    EXPECT_NE(outer.GetDC(), nullptr);
    {
      DisplayPort inner(&device, {0, 0, 4, 4});
      EXPECT_EQ(inner.GetDC(), outer.GetDC());
    }
    EXPECT_TRUE(device.IsDrawing());
  }
  EXPECT_FALSE(device.IsDrawing());
  EXPECT_EQ(device.beginCount, 1);
  EXPECT_EQ(device.GetDrawingDC(), nullptr);
}

TEST(DisplayDevice, InvalidAreaGrowsAndIsValidated) {
  SurfaceDevice device(40, 40);
  EXPECT_FALSE(device.NeedsUpdate());
  device.InvalidateArea(Area(Rect{0, 0, 20, 20}), Area::emptyArea());
  device.InvalidateArea(Area(Rect{10, 10, 30, 30}), Area::emptyArea());
  EXPECT_TRUE(device.NeedsUpdate());
  Area invalid;
  device.GetInvalidArea(&invalid);
  int covered = 0;
  for (std::int32_t i = 1; i <= invalid.NumRects(); ++i) {
    const Rect r = invalid.GetRect(i);
    covered += r.Width() * r.Height();
    for (std::int32_t j = i + 1; j <= invalid.NumRects(); ++j) EXPECT_FALSE(r.Overlaps(invalid.GetRect(j)));
  }
  EXPECT_EQ(covered, 400 + 400 - 100);
  device.Validate();
  EXPECT_FALSE(device.NeedsUpdate());
  device.GetInvalidArea(&invalid);
  EXPECT_TRUE(invalid.IsEmpty());
}

TEST(DisplayPort, BeginUpdateErasesTheVisibleInvalidPartAndValidates) {
  for (bool erase : {true, false}) {
    SurfaceDevice device(6, 4, Color(7), erase);
    device.InvalidateArea(Area(Rect{0, 0, 4, 4}), Area::emptyArea());
    Area update;
    {
      DisplayPort port(&device, {0, 0, 6, 4}, kPortPaintsUpdate);
      port.BeginUpdate(Area(Rect{2, 0, 6, 2}), &update);
    }
    EXPECT_EQ(update.GetBounds(), (Rect{0, 0, 4, 4}));
    EXPECT_FALSE(device.NeedsUpdate());
    EXPECT_EQ(device.Picture(kKey), erase ? "..rr..\n..rr..\n......\n......\n" : "......\n......\n......\n......\n");
  }
}

TEST(DisplayPort, NestedClipScopesNarrowAndRestore) {
  SurfaceDevice device(10, 6);
  DisplayPort port(&device, {0, 0, 10, 6});
  {
    PortState wide(port, Rect{1, 1, 8, 5});
    {
      PortState narrow(port, Rect{4, 0, 10, 3});
      EXPECT_EQ(ClipBox(port), (Rect{4, 1, 8, 3}));
      port.DrawRect({0, 0, 10, 6}, Color(1), Color(1));
      {
        PortState outside(port, Rect{20, 20, 30, 30});
        EXPECT_TRUE(port.GetClip()->IsEmpty());
        port.DrawRect({0, 0, 10, 6}, Color(7), Color(7));
      }
      EXPECT_EQ(ClipBox(port), (Rect{4, 1, 8, 3}));
    }
    EXPECT_EQ(ClipBox(port), (Rect{1, 1, 8, 5}));
    {
      // Clip rectangles go through the transform the port has at that moment.
      PortState moved(port, Translation(0, 3));
      PortState clip(port, Rect{1, 0, 3, 1});
      port.DrawRect({0, 0, 10, 6}, Color(7), Color(7));
    }
  }
  EXPECT_EQ(ClipBox(port), (Rect{0, 0, 10, 6}));
  EXPECT_EQ(port.GetTransform(), nullptr);
  EXPECT_EQ(device.Picture(kKey),
            "..........\n"
            "....####..\n"
            "....####..\n"
            ".rr.......\n"
            "..........\n"
            "..........\n");
}

TEST(DisplayPort, DimRectLaysACheckerboardOfWhite) {
  SurfaceDevice device(8, 4);
  device.Fill(kBlack);
  {
    DisplayPort port(&device, {0, 0, 8, 4});
    DimRect(port, {0, 0, 9, 5});
  }
  // Without a pen, a rectangle fills all but its last column and row, as the system's does.
  EXPECT_EQ(device.Picture(kKey),
            ".#.#.#.#\n"
            "#.#.#.#.\n"
            ".#.#.#.#\n"
            "#.#.#.#.\n");
}

TEST(DisplayPort, InvertFrameInvertsOnlyTheFrame) {
  SurfaceDevice device(10, 10);
  {
    DisplayPort port(&device, {0, 0, 10, 10});
    port.InvertFrame({0, 0, 10, 10}, 2);
  }
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool frame = x < 2 || x >= 8 || y < 2 || y >= 8;
      EXPECT_EQ(device.Pixel(x, y), frame ? kBlack : kWhite) << x << "," << y;
    }
}

TEST(DisplayPort, PaintsOfTheTransparentColourDrawNothing) {
  SurfaceDevice device(6, 5);
  {
    DisplayPort port(&device, {0, 0, 6, 5});
    ColorPaint black(Color(1));
    port.DrawRect({0, 0, 6, 5}, *noPaint, *noPaint);
    port.DrawRect({1, 1, 5, 4}, *noPaint, black);
  }
  EXPECT_EQ(device.Picture(kKey),
            "......\n"
            ".####.\n"
            ".#..#.\n"
            ".####.\n"
            "......\n");
}

TEST(DisplayPort, RoundedRectangles) {
  SurfaceDevice device(14, 11);
  {
    DisplayPort port(&device, {0, 0, 14, 11});
    ColorPaint red(Color(7));
    ColorPaint black(Color(1));
    port.DrawRoundRect({1, 1, 13, 10}, 8, 8, red, black);
  }
  EXPECT_EQ(device.Picture(kKey),
            "..............\n"
            "...########...\n"
            "..#rrrrrrrr#..\n"
            ".#rrrrrrrrrr#.\n"
            ".#rrrrrrrrrr#.\n"
            ".#rrrrrrrrrr#.\n"
            ".#rrrrrrrrrr#.\n"
            ".#rrrrrrrrrr#.\n"
            "..#rrrrrrrr#..\n"
            "...########...\n"
            "..............\n");
}

TEST(DisplayPort, TransformsMapEveryShape) {
  SurfaceDevice device(8, 6);
  {
    DisplayPort port(&device, {0, 0, 8, 6});
    PortState scaled(port, ScaleTrans({0, 0, 2, 2}, {2, 2, 6, 6}));
    port.DrawRect({0, 0, 1, 1}, Color(1), Color(1));
    ColorPaint red(Color(7));
    port.DrawLine({1, 0}, {2, 0}, red);
  }
  EXPECT_EQ(device.Picture(kKey),
            "........\n"
            "........\n"
            "..##rr..\n"
            "..##....\n"
            "........\n"
            "........\n");
}

TEST(DisplayPort, NothingIsDrawnWhileTheDeviceIsNotDrawing) {
  SurfaceDevice device(4, 4);
  DisplayPort port(&device, {0, 0, 4, 4});
  device.EndDraw();  // the port's drawing period taken away under it
  port.DrawRect({0, 0, 4, 4}, Color(1), Color(1));
  port.InvertRect({0, 0, 4, 4});
  port.DrawLine({0, 0}, {3, 3}, *noPaint);
  device.BeginDraw(0);
  EXPECT_EQ(device.Picture(kKey), "....\n....\n....\n....\n");
}

TEST(DisplayPort, BevelsPolygonsAndEllipses) {
  SurfaceDevice device(9, 7);
  {
    DisplayPort port(&device, {0, 0, 9, 7});
    port.DrawBevel({0, 0, 8, 6}, Color(7), Color(1));
    GenericArray points(sizeof(Point), 0);
    for (Point p : {Point{2, 2}, Point{5, 2}, Point{5, 4}}) points.Insert(&p, points.NumItems(), 1);
    ColorPaint red(Color(7));
    port.DrawPolygon(points, red, red);
  }
  EXPECT_EQ(device.Picture(kKey),
            "rrrrrrrr.\n"
            "r.......#\n"
            "r.rrrr..#\n"
            "r..rrr..#\n"
            "r....r..#\n"
            "r.......#\n"
            ".########\n");
}

TEST(DisplayPort, LimitedSystemsSkipTinyEllipses) {
  for (int version : {Win95, Win31Only}) {
    TheGraphicsState().winVersion = version;
    SurfaceDevice device(12, 12);
    {
      DisplayPort port(&device, {0, 0, 12, 12});
      ColorPaint black(Color(1));
      port.DrawEllipse({0, 0, 4, 4}, black, black);
      port.DrawEllipse({5, 5, 11, 11}, black, black);
    }
    EXPECT_EQ(device.Pixel(1, 1) == kBlack, version == Win95);
    EXPECT_EQ(device.Pixel(8, 8), kBlack);
  }
  TheGraphicsState().winVersion = 0;
}

// Counts the pixels of one colour in a column range.
int Count(const SurfaceDevice& device, std::uint32_t rgb, int fromX, int toX, int height) {
  int count = 0;
  for (int y = 0; y < height; ++y)
    for (int x = fromX; x < toX; ++x) count += device.Pixel(x, y) == rgb;
  return count;
}

TEST(DisplayPort, TextTakesTheStylesColoursAndAlignment) {
  SurfaceDevice device(120, 40);
  device.Fill(0x0000FF);
  {
    DisplayPort port(&device, {0, 0, 120, 40});
    PortState moved(port, Translation(0, 20));
    port.DrawText({0, 0, 120, 20}, "Été"_cp, 3, Look(Color(7), Color(kTransparentColor), 2));
  }
  EXPECT_GT(Count(device, 0xFF0000, 60, 120, 40), 10) << "right-aligned red text";
  EXPECT_EQ(Count(device, 0xFF0000, 0, 60, 40), 0);
  EXPECT_EQ(Count(device, 0xFF0000, 0, 120, 20), 0) << "through the transform";
  EXPECT_EQ(Count(device, 0xFFFFFF, 0, 120, 40), 0) << "no background";
  {
    DisplayPort port(&device, {0, 0, 120, 40});
    port.DrawText({0, 0, 120, 20}, "Été"_cp, 3, Look(Color(1), Color(0), 0));
  }
  EXPECT_GT(Count(device, 0xFFFFFF, 0, 60, 20), 10) << "an opaque background behind the characters";
}

class DisplayPortOnScreen : public GraphicsFixture {};

TEST_F(DisplayPortOnScreen, MacPicturesAreReportedAndNotDrawn) {
  AlertRecorder alerts;
  SurfaceDevice device(4, 4);
  DisplayPort port(&device, {0, 0, 4, 4});
  port.DrawPicture("PICT");
  std::int16_t depth = 0;
  EXPECT_EQ(GetPictureFrame("PICT", &depth), Rect::emptyRect);
  EXPECT_EQ(depth, GetScreenBitDepth());
  ASSERT_EQ(alerts.Alerts().size(), 2u);
  EXPECT_EQ(alerts.Alerts()[0].text.substr(0, 16), "Not implemented.");
}

TEST(DisplayPort, ASelectionNeedsADeviceContext) {
  ColorPaint black(Color(1));
  EXPECT_EQ(RaisedText(Raised([&] { BrushSelection selection(black, nullptr); })), "display");
}

// Selections open on two DCs at once, and two nested on one, as when a view draws into an off-screen
// surface while the window's own drawing is open: each gives back what it displaced on its own DC.
TEST(DisplayPort, EverySelectionRestoresWhatItDisplacedOnItsOwnDC) {
  HDC first = CreateCompatibleDC(nullptr);
  HDC second = CreateCompatibleDC(nullptr);
  const HGDIOBJ brushes[] = {GetCurrentObject(first, OBJ_BRUSH), GetCurrentObject(second, OBJ_BRUSH)};
  const HGDIOBJ pens[] = {GetCurrentObject(first, OBJ_PEN), GetCurrentObject(second, OBJ_PEN)};
  const std::size_t objects = platform::CountGdiObjects();
  ColorPaint red(Color(4));
  ColorPaint blue(Color(6));
  PatternPaint grey(Color(1), Color(0), Pattern(3));
  {
    BrushSelection firstBrush(red, first);
    PenSelection firstPen(red, first, 2);
    HGDIOBJ redBrush = GetCurrentObject(first, OBJ_BRUSH);
    {
      BrushSelection secondBrush(blue, second);
      PenSelection secondPen(blue, second, 1);
      {
        BrushSelection nested(grey, first);
        PenSelection nestedPen(grey, first, 3);
      }
      EXPECT_EQ(GetCurrentObject(first, OBJ_BRUSH), redBrush) << "the nested selection gives the red brush back";
    }
    EXPECT_EQ(GetCurrentObject(second, OBJ_BRUSH), brushes[1]);
    EXPECT_EQ(GetCurrentObject(second, OBJ_PEN), pens[1]);
  }
  EXPECT_EQ(GetCurrentObject(first, OBJ_BRUSH), brushes[0]);
  EXPECT_EQ(GetCurrentObject(first, OBJ_PEN), pens[0]);
  EXPECT_EQ(platform::CountGdiObjects(), objects) << "every brush and pen a paint made is deleted";
  DeleteDC(first);
  DeleteDC(second);
}

}  // namespace

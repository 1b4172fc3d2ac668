#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitMapTestSupport.h"
#include "support/graphics/GraphicsFixture.h"
#include "support/graphics/SurfaceDevice.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "graphics/DisplayPort.h"
#include "graphics/FloodFiller.h"
#include "graphics/Gradient.h"
#include "graphics/OffScreen.h"
#include "graphics/OperationLog.h"
#include "graphics/Paint.h"
#include "graphics/Seams.h"
#include "support/Raised.h"

namespace {

class OffScreenTest : public GraphicsFixture {};

TEST_F(OffScreenTest, NestedPortsTakeTheContextOnce) {
  SmartRef<OffScreen> surface(new OffScreen(4, 4, 8, Color(0), true));
  SmartRef<BitMap> bitmap = surface->GetBitMap();
  const std::int16_t idle = bitmap->GetLockCount();
  {
    DisplayPort outer(~surface, {0, 0, 4, 4});
    HDC dc = outer.GetDC();
    ASSERT_NE(dc, nullptr);
    {
      DisplayPort inner(~surface, {0, 0, 2, 2});
      EXPECT_EQ(inner.GetDC(), dc);
      EXPECT_EQ(bitmap->GetLockCount(), idle + 1);
    }
    EXPECT_EQ(surface->GetDC(), dc);
  }
  EXPECT_EQ(surface->GetDC(), nullptr);
  EXPECT_EQ(bitmap->GetLockCount(), idle);
}

TEST_F(OffScreenTest, ASurfaceForADeviceTakesItsTableAndKeysItsBackground) {
  SmartRef<SurfaceDevice> window(new SurfaceDevice(20, 20, Color(7)));
  SmartRef<OffScreen> surface(new OffScreen(~window, {5, 5, 15, 12}, true, true));
  SmartRef<BitMap> bitmap = surface->GetBitMap();
  EXPECT_EQ(bitmap->GetBounds(), (Rect{0, 0, 10, 7}));
  EXPECT_EQ(bitmap->GetColorTable(), window->GetColorTable());
  EXPECT_TRUE(bitmap->GetUseChromaKey());
  EXPECT_EQ(bitmap->GetChromaKey(), 0xFF0000) << "the device's background, red";
  EXPECT_EQ(bitmap->GetPixelValue(3, 3), 0xFFFFFFu) << "cleared to the surface's own white";
}

TEST_F(OffScreenTest, ClearedSurfacesHoldTheirBackground) {
  for (std::int16_t depth : {1, 4, 8, 16, 24, 32}) {
    SmartRef<OffScreen> surface(new OffScreen(9, 3, depth, Color(7), true));
    SmartRef<BitMap> bitmap = surface->GetBitMap();
    const Color red = bitmap->GetPixelColor(bitmap->GetPixelValue(0, 0));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 9; ++x) ASSERT_EQ(bitmap->GetPixelValue(x, y), bitmap->GetPixelValue(0, 0)) << depth;
    if (depth > 1) {
      EXPECT_TRUE(red.SameAs8Bit(Color(7))) << depth;
    }
  }
}

TEST_F(OffScreenTest, AnImageIsDrawnWithItsProportionsCentred) {
  SmartRef<BitMap> wide(new BitMap(100, 50, ColorTable::GetStandard(8)));
  SetAll(*wide, [](int, int) { return 0u; });  // black
  SmartRef<OffScreen> surface(new OffScreen(*wide, 40, 40, Color(0), true));
  SmartRef<BitMap> bitmap = surface->GetBitMap();
  for (int y = 0; y < 40; ++y) {
    const bool image = y >= 10 && y < 30;
    EXPECT_EQ(bitmap->GetPixelColor(bitmap->GetPixelValue(20, y)).SameAs8Bit(Color(1)), image) << y;
  }
}

// An image that is no bitmap: a black square in a white frame of its bounds.
class Square : public Image {
 public:
  void Draw(DisplayPort& port, int) override { port.DrawRect({2, 2, 4, 4}, Color(1), Color(1)); }
  ColorTable* GetColorTable() const override { return ColorTable::GetStandard(8); }
  void GetBounds(Rect* out) const override { *out = {0, 0, 6, 6}; }
};

TEST_F(OffScreenTest, AnyImageConvertsToABitMap) {
  SmartRef<Smart> slot(static_cast<Image*>(new Square));
  ASSERT_TRUE(ConvertSmart(&slot, &BitMap::classInfo));
  BitMap* converted = CastSmart<BitMap>(~slot);
  ASSERT_NE(converted, nullptr);
  EXPECT_EQ(converted->GetBounds(), (Rect{0, 0, 6, 6}));
  EXPECT_TRUE(converted->GetPixelColor(converted->GetPixelValue(3, 3)).SameAs8Bit(Color(1)));
  EXPECT_TRUE(converted->GetPixelColor(converted->GetPixelValue(1, 1)).SameAs8Bit(Color(0)));
  SmartRef<Smart> notImage(new Area());
  EXPECT_FALSE(ConvertImageToBitMap(&notImage));
}

TEST_F(OffScreenTest, ResizeKeepsTheOldPixelsAtTheTopLeft) {
  SmartRef<OffScreen> surface(new OffScreen(4, 3, 8, Color(0), true));
  SetAll(*surface->GetBitMap(), [](int x, int y) { return static_cast<std::uint32_t>(1 + x + 4 * y); });
  {
    DisplayPort port(~surface, {0, 0, 4, 3});
    surface->Resize(0, 0, 10, 10, true);
    EXPECT_EQ(surface->GetBitMap()->GetBounds(), (Rect{0, 0, 4, 3})) << "nothing while a port draws";
  }
  surface->Resize(0, 0, 10, 10, true);
  SmartRef<BitMap> grown = surface->GetBitMap();
  EXPECT_EQ(grown->GetBounds(), (Rect{0, 0, 14, 13}));
  EXPECT_EQ(grown->GetPixelValue(3, 2), 12u);
  EXPECT_EQ(grown->GetPixelValue(4, 2), grown->GetPixelValue(13, 12)) << "new pixels are background";
}

// ---- Gradients ----

std::uint8_t RedAt(BitMap& bitmap, int x, int y) { return static_cast<std::uint8_t>(bitmap.GetPixelValue(x, y) >> 16); }

TEST_F(OffScreenTest, LinearGradientsStepEachLine) {
  EXPECT_EQ(ComputeColorStep(Color(1), Color(7), 4), Color(0x3FFF, 0, 0, 0));
  EXPECT_EQ(ComputeColorStep(Color(7), Color(1), 4).red, static_cast<std::uint16_t>(-0x3FFF));
  EXPECT_EQ(ComputeColorStep(Color(1), Color(7), 0), Color()) << "no step over no line";
  struct Case {
    std::int16_t kind;
    Point first;  // the pixel of colour 1
    Point move;
  };
  for (const Case& c :
       {Case{2, {0, 0}, {0, 1}}, Case{3, {0, 3}, {0, -1}}, Case{5, {0, 0}, {1, 0}}, Case{6, {3, 0}, {-1, 0}}}) {
    SmartRef<OffScreen> surface(new OffScreen(4, 4, 24, Color(0), true));
    {
      DisplayPort port(~surface, {0, 0, 4, 4});
      DrawGradient(port, {0, 0, 4, 4}, Color(1), Color(7), c.kind, 24);
    }
    SmartRef<BitMap> bitmap = surface->GetBitMap();
    const std::uint8_t expected[] = {0x00, 0x3F, 0x7F, 0xBF};
    for (int i = 0; i < 4; ++i) {
      const Point at{c.first.x + i * c.move.x, c.first.y + i * c.move.y};
      EXPECT_EQ(RedAt(*bitmap, at.x, at.y), expected[i]) << "kind " << c.kind << " line " << i;
      EXPECT_EQ(bitmap->GetPixelValue(at.x, at.y) & 0xFFFF, 0u);
    }
  }
}

TEST_F(OffScreenTest, GradientKindsThatDrawNothingOrAreUnknown) {
  SmartRef<OffScreen> surface(new OffScreen(4, 4, 24, Color(0), true));
  DisplayPort port(~surface, {0, 0, 4, 4});
  for (std::int16_t kind : {7, 8, 9, 10}) DrawGradientKind(port, {0, 0, 4, 4}, Color(1), Color(1), kind);
  DrawGradientKind(port, {0, 0, 4, 0}, Color(1), Color(7), 2);  // no rows: no step, no line
  DrawGradientKind(port, {0, 0, 0, 4}, Color(1), Color(7), 6);
  EXPECT_EQ(surface->GetBitMap()->GetPixelValue(1, 1), 0xFFFFFFu);
  for (std::int16_t kind : {0, 11, -1})
    EXPECT_EQ(RaisedText(Raised([&] {
                DrawGradientKind(port, {0, 0, 4, 4}, Color(1), Color(7), kind);
              })),
              "No Such Gradient");
  DrawGradientKind(port, {0, 0, 4, 4}, Color(1), Color(7), 4);
  EXPECT_EQ(surface->GetBitMap()->GetPixelValue(3, 3), 0xFF0000u) << "kind 4 is colour 2";
}

TEST_F(OffScreenTest, DeepGradientsOnShallowDevicesGoThroughAnOffScreen) {
  SmartRef<OffScreen> surface(new OffScreen(16, 2, ~Greys16(), Color(0), true));
  {
    DisplayPort port(~surface, {0, 0, 16, 2});
    DrawGradient(port, {0, 0, 16, 2}, Color(1), Color(0), 5, 8);
  }
  SmartRef<BitMap> bitmap = surface->GetBitMap();
  EXPECT_EQ(bitmap->GetPixelValue(0, 1), 0u);
  EXPECT_GE(bitmap->GetPixelValue(15, 1), 14u) << "the last column stops short of white by the truncation";
  for (int x = 1; x < 16; ++x) EXPECT_GE(bitmap->GetPixelValue(x, 0), bitmap->GetPixelValue(x - 1, 0));
}

// ---- Flood fill ----

// An 8-bit canvas from a picture: '#' black, anything else white.
SmartRef<BitMap> Canvas8(const std::vector<std::string>& rows) {
  SmartRef<BitMap> bitmap(new BitMap(static_cast<std::int32_t>(rows[0].size()), static_cast<std::int32_t>(rows.size()),
                                     ColorTable::GetStandard(8)));
  SetAll(*bitmap, [&](int x, int y) {
    return rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#' ? 0u : 255u;
  });
  return bitmap;
}

std::vector<std::string> MaskPicture(BitMap& mask) {
  std::vector<std::string> rows;
  const Rect bounds = mask.GetBounds();
  for (int y = 0; y < bounds.bottom; ++y) {
    rows.emplace_back();
    for (int x = 0; x < bounds.right; ++x) rows.back() += mask.GetPixelValue(x, y) == 0 ? 'o' : '.';
  }
  return rows;
}

TEST_F(OffScreenTest, TheFillStaysInsideARing) {
  SmartRef<BitMap> canvas = Canvas8({
      "..........",
      "..######..",
      "..#....#..",
      "..#....#..",
      "..######..",
      "..........",
  });
  FloodFiller filler(~canvas, {4, 2});
  EXPECT_EQ(filler.GetBounds(), (Rect{3, 2, 7, 4}));
  EXPECT_EQ(MaskPicture(*filler.GetMask()), (std::vector<std::string>{
                                                "..........",
                                                "..........",
                                                "...oooo...",
                                                "...oooo...",
                                                "..........",
                                                "..........",
                                            }));
  FloodFiller outside(~canvas, {0, 0});
  EXPECT_EQ(outside.GetBounds(), (Rect{0, 0, 10, 6}));
}

TEST_F(OffScreenTest, OnlyTheRegionTouchingTheSeedIsFilled) {
  SmartRef<BitMap> canvas = Canvas8({
      "..#...",
      "..#...",
      "###...",
      "......",
  });
  FloodFiller corner(~canvas, {0, 0});
  EXPECT_EQ(corner.GetBounds(), (Rect{0, 0, 2, 2}));
  FloodFiller dot(~canvas, {2, 0});
  SmartRef<BitMap> single = Canvas8({"...", ".#.", "..."});
  FloodFiller one(~single, {1, 1});
  EXPECT_EQ(one.GetBounds(), (Rect{1, 1, 2, 2}));

  // The pattern's values land where the region is, and nowhere else.
  SmartRef<BitMap> pattern(new BitMap(2, 2, ColorTable::GetStandard(8)));
  SetAll(*pattern, [](int x, int y) { return static_cast<std::uint32_t>(10 + x + 2 * y); });
  corner.Fill(*canvas, *pattern);
  EXPECT_EQ(canvas->GetPixelValue(1, 1), 13u);
  EXPECT_EQ(canvas->GetPixelValue(3, 0), 255u);
  EXPECT_EQ(RaisedText(Raised([&] { dot.Fill(*canvas, *pattern); })),
            "bounds.Size() == fillPattern->GetBounds().Size()");
}

TEST_F(OffScreenTest, GradientFillSpansTheRegionsBox) {
  SmartRef<OffScreen> surface(new OffScreen(6, 6, 24, Color(0), true));
  {
    DisplayPort port(~surface, {0, 0, 6, 6});
    ColorPaint black(Color(1));
    port.DrawRect({0, 0, 6, 6}, *noPaint, black, 1);
    port.GradientFill(Color(1), Color(7), 2, 2, 2);  // no transform: the seed as it is
  }
  SmartRef<BitMap> bitmap = surface->GetBitMap();
  EXPECT_EQ(bitmap->GetPixelValue(0, 0), 0u) << "the border stays";
  EXPECT_EQ(bitmap->GetPixelValue(2, 1), 0u) << "colour 1 in the box's top row";
  EXPECT_EQ(RedAt(*bitmap, 2, 4), 0xBF);

  // On a surface with a table of its own, the gradient's values are that table's.
  SmartRef<OffScreen> greys(new OffScreen(16, 1, ~Greys16(), Color(0), true));
  {
    DisplayPort port(~greys, {0, 0, 16, 1});
    port.GradientFill(Color(1), Color(0), 0, 0, 5);
  }
  SmartRef<BitMap> ramp = greys->GetBitMap();
  EXPECT_EQ(ramp->GetPixelValue(0, 0), 0u);
  EXPECT_GE(ramp->GetPixelValue(15, 0), 14u);
  for (int x = 1; x < 16; ++x) EXPECT_GE(ramp->GetPixelValue(x, 0), ramp->GetPixelValue(x - 1, 0)) << x;

  SmartRef<SurfaceDevice> window(new SurfaceDevice(4, 4));
  DisplayPort port(~window, {0, 0, 4, 4});
  port.GradientFill(Color(1), Color(7), 1, 1, 2);
  EXPECT_EQ(window->Pixel(1, 1), 0xFFFFFFu) << "windows are not filled";
}

// Every log opened for a fill writes its lines here, one list per log.
std::vector<std::vector<std::string>> gOpenedLogs;

class RecordingLog : public OperationLog, public SmartImplementation {
 public:
  explicit RecordingLog(std::vector<std::string>* lines) : lines(lines) {}
  void Log(const String& text) override { lines->push_back(TextOf(text)); }

 private:
  std::vector<std::string>* lines;
};

SmartRef<OperationLog> OpenRecordingLog() {
  gOpenedLogs.emplace_back();
  return new RecordingLog(&gOpenedLogs.back());
}

TEST_F(OffScreenTest, GradientFillWritesItsStepsInALogOfItsOwn) {
  gOpenedLogs.clear();
  gOpenedLogs.reserve(4);
  SetOperationLogOpener(&OpenRecordingLog);
  SmartRef<OffScreen> surface(new OffScreen(6, 6, 8, Color(0), true));
  {
    DisplayPort port(~surface, {0, 0, 6, 6});
    port.GradientFill(Color(1), Color(7), 2, 2, 2);
  }
  SmartRef<SurfaceDevice> window(new SurfaceDevice(4, 4));
  {
    DisplayPort port(~window, {0, 0, 4, 4});
    port.GradientFill(Color(1), Color(7), 1, 1, 2);
  }
  SetOperationLogOpener(nullptr);
  const std::vector<std::vector<std::string>> expected = {
      {"Lancement du gradient", "Create Flooder Filler", "Créer une carte de gradient"_cp, "Doing FloodFill",
       "Gradient terminé"_cp},
      {"Lancement du gradient"},
  };
  EXPECT_EQ(gOpenedLogs, expected);
}

}  // namespace

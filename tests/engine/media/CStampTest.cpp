#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/String.h"
#include "engine/EngineTestSupport.h"
#include "engine/geometry/XformTestSupport.h"
#include "engine/media/CResource.h"
#include "engine/media/CStamp.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/bitmaps/PixelCursor.h"
#include "support/AlertRecorder.h"
#include "support/DocumentBytes.h"
#include "support/graphics/GoldenPicture.h"
#include "support/Raised.h"
#include "support/graphics/GraphicsFixture.h"
#include "graphics/SystemVersion.h"

using namespace document_testing;
using namespace engine_testing;
using engine_test::Fill;
using engine_test::LetterF;
using engine_test::Surface;

namespace {

const Color kWhite(0), kBlack(1), kPale(2), kGrey(4), kRed(7), kGreen(8), kBlue(9);

std::uint32_t Rgb(const Color& c) {
  return static_cast<std::uint32_t>(c.red >> 8) << 16 | static_cast<std::uint32_t>(c.green >> 8) << 8 | (c.blue >> 8);
}

std::uint32_t Rgb(BitMap& bitmap, int x, int y) { return Rgb(bitmap.GetPixelColor(bitmap.GetPixelValue(x, y))); }

SmartRef<CStamp> Letter(int depth) { return new CStamp(~LetterF(depth)); }

class Stamps : public GraphicsFixture {};

// At 8 bits the pale grey page is not in the palette: its pixels hold the nearest colour, and those are
// the ones left out.
TEST_F(Stamps, DrawScaledOpaqueOrLeavingOutThePortsBackground) {
  for (const int depth : {8, 32}) {
    SCOPED_TRACE(depth);
    Prepare(depth, Win95);
    const SmartRef<CStamp> letter = Letter(depth);
    const SmartRef<OffScreen> page = Surface(56, 40, depth, kPale);
    Fill(*page->GetBitMap(), {0, 0, 56, 2}, kGrey);
    Fill(*page->GetBitMap(), {0, 10, 56, 12}, kGrey);
    {
      DisplayPort port(~page, {0, 0, 56, 40});
      letter->DrawScaled(port, {0, 0, 16, 16}, kStampKeyed);
      letter->DrawScaled(port, {20, 4, 52, 36}, kDrawOpaque);
    }
    BitMap& drawn = *page->GetBitMap();
    struct Expected {
      int x, y;
      Color color;
    } const keyed[] = {{0, 0, kGrey}, {8, 10, kGrey}, {3, 2, kBlue}, {4, 10, kRed}, {11, 11, kBlack}, {12, 12, kBlack}};
    for (const Expected& e : keyed) EXPECT_EQ(Rgb(drawn, e.x, e.y), Rgb(e.color)) << e.x << ", " << e.y;
    EXPECT_EQ(Rgb(drawn, 8, 5), Rgb(*letter->GetBitMap(), 8, 5)) << "the page as it was, where the letter is pale";
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        ASSERT_EQ(Rgb(drawn, 20 + x, 4 + y), Rgb(*letter->GetBitMap(), x / 2, y / 2)) << x << ", " << y;
  }
}

TEST_F(Stamps, TransformedCopiesScaleOrTurnAndRememberTheirTransform) {
  const SmartRef<CStamp> letter = Letter(8);
  BitMap& original = *letter->GetBitMap();
  const Rect bounds{0, 0, 16, 16};

  // No transform, or the hidden one: the rectangle's size, and the transform itself remembered.
  for (CXform* none : {static_cast<CXform*>(nullptr), hiddenFrameXform}) {
    const SmartRef<CStamp> copy = letter->DrawTransformed({5, 5, 21, 21}, none);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->GetBounds(), bounds);
    EXPECT_EQ(~copy->GetPicture(), static_cast<Smart*>(none));
    EXPECT_EQ(PixelsOf(*copy->GetBitMap()), PixelsOf(original));
  }

  // Scaled without a turn: drawn scaled, remembering a copy of the transform.
  const SmartRef<CXform> doubled = new CXform(bounds, {100, 100, 132, 132});
  const SmartRef<CStamp> big = letter->DrawTransformed(bounds, ~doubled);
  ASSERT_TRUE(big);
  EXPECT_EQ(big->GetBounds(), Rect(0, 0, 32, 32));
  auto* remembered = CastSmart<CXform>(~big->GetPicture());
  ASSERT_TRUE(remembered);
  EXPECT_NE(remembered, ~doubled);
  EXPECT_TRUE(remembered->IsEquivalent(~doubled));
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(Rgb(*big->GetBitMap(), x, y), Rgb(original, x / 2, y / 2));

  // A quarter turn moves every pixel exactly: what was right goes up.
  const SmartRef<CStamp> turned = letter->DrawTransformed(bounds, ~StoredXform(bounds, bounds, 90, 0));
  ASSERT_TRUE(turned);
  EXPECT_EQ(turned->GetBounds(), bounds);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(Rgb(*turned->GetBitMap(), y, 15 - x), Rgb(original, x, y));
}

// The raw pixel values, rows top first.
std::vector<std::uint32_t> Values(BitMap& bitmap) {
  std::vector<std::uint32_t> values;
  for (PixelCursor cursor(&bitmap, bitmap.GetBounds(), true); cursor.HasRow(); cursor.NextPixel())
    values.push_back(cursor.GetPixel());
  return values;
}

// Where the angles' matrix takes a point.
std::pair<double, double> Forward(int rotation, int skew, double x, double y) {
  const double a = (rotation + skew) * 0.01745329252, b = (skew - rotation) * 0.01745329252;
  return {std::cos(a) * x + std::sin(a) * y, std::sin(b) * x + std::cos(b) * y};
}

TEST_F(Stamps, TurnedAndSkewedCopiesPutEachPixelWhereTheMatrixTakesIt) {
  // Coordinates past 16 bits: a half turn of a long strip is its mirror image, pixel for pixel.
  const int length = 40000;
  const SmartRef<OffScreen> strip = Surface(length, 2, 8, kWhite);
  {
    PixelCursor cursor(~strip->GetBitMap(), {0, 0, length, 2}, true);
    for (int i = 0; cursor.HasRow(); cursor.NextPixel(), ++i) cursor.SetPixel(static_cast<std::uint32_t>(i * 7 % 251));
  }
  const Rect long_{0, 0, length, 2};
  const SmartRef<CStamp> mirrored =
      CStamp(strip->GetBitMap(), kWhite).DrawTransformed(long_, ~StoredXform(long_, long_, 180, 0));
  ASSERT_TRUE(mirrored);
  ASSERT_EQ(mirrored->GetBounds(), long_);
  const std::vector<std::uint32_t> before = Values(*strip->GetBitMap()), after = Values(*mirrored->GetBitMap());
  for (std::size_t i = 0; i < before.size(); ++i) ASSERT_EQ(after[before.size() - 1 - i], before[i]) << i;

  // 2 x 2 markers on a picture turned and skewed into a box that holds it whole.
  const int width = 64, height = 48;
  const SmartRef<OffScreen> surface = Surface(width, height, 8, kWhite);
  const Point markers[] = {{2, 2}, {60, 5}, {30, 40}, {50, 44}};
  for (const Point& m : markers) Fill(*surface->GetBitMap(), {m.x, m.y, m.x + 2, m.y + 2}, kRed);
  const SmartRef<CStamp> picture = new CStamp(~surface);
  const Rect bounds{0, 0, width, height};
  // Quarter and half turns fit their box as they are; other angles are refitted to the box that holds the
  // turned picture, as the editor would.
  struct Case {
    std::int16_t rotation, skew;
    bool refit;
  } const cases[] = {{0, 15, true}, {-30, 0, true}, {20, 10, true}, {180, 0, false}, {90, 0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.rotation) + " and " + std::to_string(c.skew));
    double right = 0, bottom = 0, left = 0, top = 0;
    for (const Point& corner : {Point(0, 0), Point(width, 0), Point(0, height), Point(width, height)}) {
      const auto [x, y] = Forward(c.rotation, c.skew, corner.x - width / 2.0, corner.y - height / 2.0);
      left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    }
    const Rect fit{0, 0, static_cast<int>(std::ceil(right - left - 1e-6)), static_cast<int>(std::ceil(bottom - top - 1e-6))};
    const SmartRef<CXform> transform = StoredXform(bounds, bounds, c.rotation, c.skew);
    if (c.refit) transform->Refit(bounds, fit);
    const SmartRef<CStamp> copy = picture->DrawTransformed(bounds, ~transform);
    ASSERT_TRUE(copy);
    BitMap& pixels = *copy->GetBitMap();
    const Rect box = pixels.GetBounds();
    ASSERT_EQ(box.Size(), fit.Size());
    for (const Point& m : markers) {
      const auto [dx, dy] = Forward(c.rotation, c.skew, m.x + 1 - width / 2.0, m.y + 1 - height / 2.0);
      const int cx = static_cast<int>(std::floor(box.Width() / 2.0 + dx));
      const int cy = static_cast<int>(std::floor(box.Height() / 2.0 + dy));
      int found = 0;
      for (int y = cy - 2; y <= cy + 2; ++y)
        for (int x = cx - 2; x <= cx + 2; ++x)
          if (box.Contains(x, y) && Rgb(pixels, x, y) == Rgb(kRed)) ++found;
      EXPECT_GE(found, 3) << "marker at " << m.x << ", " << m.y << " looked for at " << cx << ", " << cy;
    }
  }
}

// A keyed picture scaled 2x, turned by 30 and 90 degrees and skewed by 15, each copy drawn keyed on a
// striped page, at 8 and 32 bits: pixel for pixel the checked-in pictures.
TEST_F(Stamps, GoldenRenders) {
  for (const int depth : {8, 32}) {
    SCOPED_TRACE(depth);
    Prepare(depth, Win95);
    const SmartRef<CStamp> letter = Letter(depth);
    const Rect bounds{0, 0, 16, 16};
    const SmartRef<CXform> turned30 = StoredXform(bounds, bounds, 30, 0);
    turned30->Refit(bounds, {0, 0, 22, 22});
    const SmartRef<CXform> skewed = StoredXform(bounds, bounds, 0, 15);
    skewed->Refit(bounds, {0, 0, 20, 20});
    const SmartRef<CXform> copies[] = {new CXform(bounds, {0, 0, 32, 32}), turned30,
                                       StoredXform(bounds, bounds, 90, 0), skewed};

    const SmartRef<OffScreen> page = Surface(130, 40, depth, kPale);
    for (int y = 0; y < 40; y += 4) Fill(*page->GetBitMap(), {0, y, 130, y + 1}, kGrey);
    {
      DisplayPort port(~page, {0, 0, 130, 40});
      letter->DrawScaled(port, {2, 2, 18, 18}, kStampKeyed);
      int left = 20;
      for (const SmartRef<CXform>& transform : copies) {
        const SmartRef<CStamp> copy = letter->DrawTransformed(bounds, ~transform);
        ASSERT_TRUE(copy);
        const Rect size = copy->GetBounds();
        copy->DrawScaled(port, Rect::FromSizeAndOrigin(size.Size(), {left, 2}), kStampKeyed);
        left += size.Width() + 2;
      }
    }
    ExpectGolden(PixelsOf(*page->GetBitMap()), "stamps/keyed-" + std::to_string(depth) + ".ppm");
  }
}

TEST_F(Stamps, CoveredAreaTrimAndConversions) {
  AlertRecorder alerts;  // the drawing layer reports that it cannot give a colour's pixels
  const SmartRef<CStamp> letter = Letter(8);
  const SmartRef<Area> area = letter->GetArea(Point::origin);
  EXPECT_EQ(~letter->GetArea(Point::origin), ~area) << "cached";
  EXPECT_EQ(~letter->GetArea({3, 4}), ~area) << "an empty area is not moved";

  // Trimming crops to what is not white; all white leaves no bitmap and empty bounds.
  const SmartRef<OffScreen> surface = Surface(20, 10, 8, kWhite);
  Fill(*surface->GetBitMap(), {5, 3, 9, 7}, kRed);
  const SmartRef<CStamp> spot = new CStamp(~surface);
  EXPECT_EQ(spot->Trim(), Point(5, 3));
  EXPECT_EQ(spot->GetBounds(), Rect(0, 0, 4, 4));
  EXPECT_EQ(Rgb(*spot->GetBitMap(), 0, 0), Rgb(kRed));
  const SmartRef<CStamp> blank = new CStamp(~Surface(8, 8, 8, kWhite));
  EXPECT_EQ(blank->Trim(), Point::origin);
  EXPECT_EQ(blank->GetBounds(), Rect::emptyRect);
  EXPECT_EQ(RaisedText(Raised([&] { blank->GetArea(Point::origin); })), "data != NULL");

  // A stamp of anything that is an image; nothing of a text.
  const SmartRef<CStamp> made = CStamp::MakeStamp(SmartRef<Smart>(~letter->GetBitMap()), kGreen);
  ASSERT_TRUE(made);
  EXPECT_EQ(~made->GetBitMap(), ~letter->GetBitMap());
  EXPECT_EQ(made->GetBackground(), kGreen);
  EXPECT_FALSE(CStamp::MakeStamp(SmartRef<Smart>(new String("abc")), kGreen));
  EXPECT_FALSE(CStamp::MakeStamp(nullptr, kGreen));
  const SmartRef<CResource> resource = letter->MakeResource();
  EXPECT_EQ(resource->GetObject(), static_cast<Smart*>(~letter->GetBitMap()));

  // Copies share the bitmap, not what the original was made from or its area.
  letter->SetPicture(SmartRef<Smart>(new String("source")));
  const SmartRef<Smart> clone = letter->Clone();
  const SmartRef<CStamp> copy = CastSmart<CStamp>(~clone);
  ASSERT_TRUE(copy);
  EXPECT_EQ(~copy->GetBitMap(), ~letter->GetBitMap());
  EXPECT_EQ(copy->GetBackground(), kPale);
  EXPECT_FALSE(copy->GetPicture());
  EXPECT_NE(~copy->GetArea(Point::origin), ~area);
}

TEST_F(Stamps, StoresOnlyItsBitmap) {
  const SmartRef<CStamp> letter = Letter(8);
  letter->SetPicture(SmartRef<Smart>(new CXform({0, 0, 16, 16}, {0, 0, 16, 16})));
  const std::string saved = SaveDocument(SmartRef<Smart>(~letter));
  const std::string bitmapBody = ObjectBody(saved, 2);
  EXPECT_EQ(ObjectBody(saved, 1), Long(2) + bitmapBody);

  SmartRef<ObjectFile> file;
  const SmartRef<CStamp> read = CastSmart<CStamp>(~ReadDocument(saved, &file));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->GetBackground(), kWhite) << "the background is not stored";
  EXPECT_FALSE(read->GetPicture());
  EXPECT_EQ(PixelsOf(*read->GetBitMap()), PixelsOf(*letter->GetBitMap()));
  EXPECT_EQ(SaveDocument(SmartRef<Smart>(~read)), saved);
}

}  // namespace

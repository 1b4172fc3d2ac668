#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/EngineTestSupport.h"
#include "engine/geometry/CXform.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/media/CResource.h"
#include "engine/media/CStamp.h"
#include "engine/memory/CMemory.h"
#include "graphics/Area.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/bitmaps/PixelCursor.h"
#include "support/graphics/SurfaceDevice.h"

using namespace engine_test;

namespace {

const std::uint32_t kWhiteRgb = 0xFFFFFF;

// A movie kind whose frame f is a rectangle of standard colour 2 + f, each frame at bounds of its own,
// and which counts how often it is asked to draw.
class PaintedMovie : public CMovie {
  SMART_ABSTRACT(PaintedMovie)
 public:
  explicit PaintedMovie(const Rect& rect, int frames = 1) : CMovie(rect), frameBounds(frames, rect) {
    if (frames > 1) InsertFrames(1, static_cast<std::int16_t>(frames - 1), true, false);
  }
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }
  SmartRef<CMovie> ExtractFrames(std::int16_t, std::int16_t, bool) override { return nullptr; }
  const PersistentType* GetPersistentType() const override { return &CMovie::persistentType; }
  void GetFrameBounds(Rect* out, std::int16_t frame) override {
    *out = frame >= 0 && frame < static_cast<int>(frameBounds.size()) ? frameBounds[static_cast<std::size_t>(frame)]
                                                                        : Rect::emptyRect;
  }
  bool DrawFrame(DisplayPort& port, CXform* xform, std::int16_t frame, const Color&) override {
    ++draws;
    Rect rect;
    GetFrameBounds(&rect, frame);
    port.DrawRect(MapFrameRect(rect, xform), Color(2 + frame), standardColors[kTransparentColor]);
    return true;
  }
  std::int32_t CacheSize(std::int16_t frame) { return GetFrameCache(frame)->NumItems(); }

  std::vector<Rect> frameBounds;
  int draws = 0;
};

// Takes every imprint, or refuses them all.
class RecordingChanges : public FrameChangeRecord {
 public:
  bool AddImprint(CMovie*, std::int16_t frame, CXform*, const Rect& rect, const Area& changed, bool) override {
    frames.push_back(frame);
    rects.push_back(rect);
    area.Union(changed);
    return !refuse;
  }
  std::vector<std::int16_t> frames;
  std::vector<Rect> rects;
  Area area;
  bool refuse = false;
};

class MovieImagesTest : public EngineTest {
 protected:
  // Frames render at 8 bits, with the program's own palette.
  void SetUp() override {
    EngineTest::SetUp();
    Prepare(32, Win95);
  }
  void TearDown() override {
    CMemory::Get().SetLevel(0);
    ClearFrameChangeAreas();
    EngineTest::TearDown();
  }
  static SmartRef<CXform> Moved(const Rect& from, int dx, int dy) {
    Rect to = from;
    to.Offset(dx, dy);
    return new CXform(from, to);
  }
  static SmartRef<CXform> Turned(const Rect& from, int degrees) {
    SmartRef<CXform> xform = new CXform(from, from);
    const double a = degrees * 0.01745329252;
    xform->Decompose({std::cos(a), std::sin(a), -std::sin(a), std::cos(a)});
    return xform;
  }
};

}  // namespace

SMART_DEFINE_ABSTRACT(PaintedMovie, "PaintedMovie", CMovie)

namespace {

TEST_F(MovieImagesTest, AFrameMovedOnlyIsRenderedOnce) {
  SmartRef<PaintedMovie> movie = new PaintedMovie({0, 0, 20, 10});
  SurfaceDevice page(80, 60);
  DisplayPort port(&page, {0, 0, 80, 60});
  const Rect bounds = movie->GetBounds();
  for (const int dx : {5, 30, 0}) EXPECT_TRUE(movie->DrawFrameTransformed(port, ~Moved(bounds, dx, 3), 0, Color(0)));
  EXPECT_TRUE(movie->DrawFrameTransformed(port, nullptr, 0, Color(0)));
  EXPECT_EQ(movie->draws, 1);
  EXPECT_EQ(movie->CacheSize(0), 1);
  EXPECT_NE(page.Pixel(31, 4), kWhiteRgb) << "the last move drew at its own place";
}

TEST_F(MovieImagesTest, ATurnedFrameIsMadeFromTheCachedPlainImage) {
  SmartRef<PaintedMovie> movie = new PaintedMovie({0, 0, 20, 10});
  SurfaceDevice page(80, 60);
  DisplayPort port(&page, {0, 0, 80, 60});
  EXPECT_TRUE(movie->DrawFrameTransformed(port, ~Turned(movie->GetBounds(), 30), 0, Color(0)));
  EXPECT_TRUE(movie->DrawFrameTransformed(port, nullptr, 0, Color(0)));
  EXPECT_EQ(movie->draws, 1);
  EXPECT_EQ(movie->CacheSize(0), 2) << "the plain image and its turned copy";
}

TEST_F(MovieImagesTest, HiddenOrEmptyFramesDrawNothing) {
  SmartRef<PaintedMovie> movie = new PaintedMovie({0, 0, 20, 10});
  SurfaceDevice page(40, 40);
  DisplayPort port(&page, {0, 0, 40, 40});
  SmartRef<CXform> nowhere = new CXform({0, 0, 20, 10}, Rect::emptyRect);
  EXPECT_TRUE(movie->DrawFrameTransformed(port, hiddenFrameXform, 0, Color(0)));
  EXPECT_TRUE(movie->DrawFrameTransformed(port, ~nowhere, 0, Color(0)));
  movie->frameBounds[0] = Rect::emptyRect;
  EXPECT_TRUE(movie->DrawFrameTransformed(port, nullptr, 0, Color(0)));
  EXPECT_EQ(movie->draws, 0);
  EXPECT_EQ(page.Pixel(5, 5), kWhiteRgb);
}

TEST_F(MovieImagesTest, CachesAreKeptPerFrameAndEmptiedByAChangeOfTheirFrame) {
  SmartRef<PaintedMovie> movie = new PaintedMovie({0, 0, 20, 10}, 3);
  SurfaceDevice page(40, 40);
  DisplayPort port(&page, {0, 0, 40, 40});
  for (std::int16_t f = 0; f < 3; ++f) movie->DrawFrameTransformed(port, nullptr, f, Color(0));
  SmartRef<ListData> loose = movie->GetFrameCache(-1);
  loose->Append(new CStamp(new BitMap(2, 2, ColorTable::GetStandard(8)), Color(0)));
  EXPECT_EQ(movie->GetFrameCache(-1)->NumItems(), 0) << "a list for no frame is not kept";
  movie->Changed(~movie, Rect::emptyRect, 1);
  EXPECT_EQ(movie->CacheSize(0), 1);
  EXPECT_EQ(movie->CacheSize(1), 0);
  EXPECT_EQ(movie->CacheSize(2), 1);
  movie->PurgeCaches();
  EXPECT_EQ(movie->CacheSize(0) + movie->CacheSize(2), 0);
}

TEST_F(MovieImagesTest, AboveTheBudgetsThresholdNothingNewIsCached) {
  SmartRef<PaintedMovie> movie = new PaintedMovie({0, 0, 20, 10});
  SurfaceDevice page(40, 40);
  DisplayPort port(&page, {0, 0, 40, 40});
  CMemory::Get().SetLevel(4);
  for (int i = 0; i < 2; ++i) EXPECT_TRUE(movie->DrawFrameTransformed(port, nullptr, 0, Color(0)));
  EXPECT_EQ(movie->draws, 2) << "drawn straight each time";
  EXPECT_EQ(movie->CacheSize(0), 0);
  EXPECT_NE(page.Pixel(5, 5), kWhiteRgb);
  EXPECT_EQ(CMemory::Get().GetLevel(), 4) << "the level comes back as it was";
}

TEST_F(MovieImagesTest, AWholePictureOfFrameZero) {
  struct Case {
    bool whole;
    Rect first;
    Rect size;
  } cases[] = {{false, {10, 5, 30, 15}, {0, 0, 20, 10}}, {true, {10, 5, 30, 15}, {0, 0, 50, 40}},
               {false, Rect::emptyRect, {0, 0, 50, 40}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.whole);
    SmartRef<PaintedMovie> movie = new PaintedMovie({0, 0, 50, 40});
    movie->frameBounds[0] = c.first;
    gMakeImageWholeBounds = c.whole;
    SmartRef<BitMap> picture = movie->MakeImage();
    EXPECT_EQ(gMakeImageWholeBounds, 0);
    EXPECT_EQ(picture->GetBounds(), c.size);
    if (c.first.IsEmpty()) continue;
    auto rgb = [&](int x, int y) {
      const Color color = picture->GetPixelColor(picture->GetPixelValue(x, y));
      return (color.red >> 8) << 16 | (color.green >> 8) << 8 | color.blue >> 8;
    };
    const Color frameColor(2);
    const int expected = (frameColor.red >> 8) << 16 | (frameColor.green >> 8) << 8 | frameColor.blue >> 8;
    EXPECT_EQ(c.whole ? rgb(12, 7) : rgb(2, 2), expected);
    if (c.whole) {
      EXPECT_EQ(rgb(2, 2), 0xFFFFFF);
    }
  }
}

// A picture movie of two frames: frame 0 a 20 x 12 picture at (40, 40), frame 1 a picture of the given
// bounds. Each picture is of one colour with a white square in it, which a keyed draw leaves out.
SmartRef<CMovie> TwoPictures(const Rect& second) {
  const auto picture = [](const Rect& bounds, int colour) {
    SmartRef<BitMap> pixels = new BitMap(bounds.Width(), bounds.Height(), ColorTable::GetStandard(32));
    const auto fill = [&](const Rect& r, int c) {
      std::int32_t value = 0;
      pixels->GetColorTable()->IndexOf(Color(c), &value);
      for (PixelCursor cursor(~pixels, r, true); cursor.HasRow(); cursor.NextPixel())
        cursor.SetPixel(static_cast<std::uint32_t>(value));
    };
    fill(pixels->GetBounds(), colour);
    fill({2, 2, std::max(2, bounds.Width() - 2), std::max(2, bounds.Height() / 2)}, 0);
    SmartRef<CResource> resource = new CResource(SmartRef<Smart>(~pixels));
    resource->SetBounds(bounds.left, bounds.top, bounds.right, bounds.bottom);
    return resource;
  };
  SmartRef<CMoviePic> movie = new CMoviePic(~picture({40, 40, 60, 52}, 7));
  movie->InsertFrames(1, 1, false, false);
  movie->SetFrames(1, 1, ~picture(second, 9), false, 0);
  return movie;
}

// What the record holds between two frames of one movie, moved, turned and scaled at random, keyed or
// opaque, for a movie kind of the tests' own and for pictures: every pixel in which full draws of the two
// frames differ lies in the areas reported, unless the record was refused.
TEST_F(MovieImagesTest, TheReportedChangeHoldsEveryPixelThatChanges) {
  std::mt19937 random(20261211);
  std::uniform_int_distribution<int> offset(-30, 30), size(4, 40), angle(0, 3), mode(0, 2);
  const int angles[] = {0, 30, 90, 200};
  for (int round = 0; round < 120; ++round) {
    SCOPED_TRACE(round);
    const Rect second{40 + offset(random) / 3, 40, 40 + size(random), 40 + size(random)};
    SmartRef<CMovie> movie;
    if (round % 2 == 0) {
      SmartRef<PaintedMovie> painted = new PaintedMovie({40, 40, 60, 52}, 2);
      painted->frameBounds[1] = second;
      movie = painted;
    } else {
      // A picture has some size: an empty frame is the painted kind's case.
      movie = TwoPictures({second.left, second.top, std::max(second.right, second.left + 4), second.bottom});
    }
    // Movies start keyed; some draw opaque, some with no drawing bit at all (opaque, covering below).
    if (mode(random) == 1) movie->ToggleMode4(true);
    if (mode(random) == 2) movie->ToggleMode1(true);
    SmartRef<CXform> xforms[2];
    for (int side = 0; side < 2; ++side) {
      Rect bounds;
      movie->GetFrameBounds(&bounds, static_cast<std::int16_t>(side));
      Rect to = bounds;
      to.Offset(offset(random), offset(random));
      to.right = to.left + size(random);
      xforms[side] = new CXform(bounds, to);
      const int degrees = angles[angle(random)];
      if (degrees) {
        const double a = degrees * 0.01745329252;
        xforms[side]->Decompose({std::cos(a), std::sin(a), -std::sin(a), std::cos(a)});
      }
    }
    auto drawn = [&](int side) {
      auto page = std::make_unique<SurfaceDevice>(140, 140);
      DisplayPort port(page.get(), {0, 0, 140, 140});
      movie->DrawFrameTransformed(port, ~xforms[side], static_cast<std::int16_t>(side), Color(0));
      return page;
    };
    const auto before = drawn(0), after = drawn(1);
    ClearFrameChangeAreas();
    RecordingChanges record;
    Rect fromRect{0, 0, 140, 140}, toRect{0, 0, 140, 140};
    if (!movie->ComputeFrameChange(0, 1, ~xforms[0], ~xforms[1], &fromRect, &toRect, &record)) continue;
    Area reported(record.area);
    reported.Union(UncoveredArea());
    int missed = 0;
    for (int y = 0; y < 140; ++y)
      for (int x = 0; x < 140; ++x) {
        if (before->Pixel(x, y) == after->Pixel(x, y)) continue;
        bool in = false;
        for (std::int32_t r = 1; r <= reported.NumRects() && !in; ++r) in = reported.GetRect(r).Contains(x, y);
        missed += in ? 0 : 1;
      }
    EXPECT_EQ(missed, 0);
  }
}

TEST_F(MovieImagesTest, OpaqueImagesCoverWhatLiesBelowAndUnchangedOnesLeaveOnlyWhatTheyUncover) {
  struct Case {
    const char* name;
    std::uint8_t drawingMode;  // 0: opaque (no drawing bit), else the toggled bit
    int fromDx, toDx;
    std::int16_t fromFrame, toFrame;
    bool covers;
    Rect firstBack;
    Rect uncovered;
  } cases[] = {
      {"opaque, moved", 0, 0, 5, 0, 0, true, Rect::emptyRect, {10, 10, 30, 20}},
      {"keyed, still", 1, 0, 0, 0, 0, false, {10, 10, 30, 20}, Rect::emptyRect},
      {"keyed, other frame", 1, 0, 0, 0, 1, false, Rect::emptyRect, {10, 10, 30, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SmartRef<PaintedMovie> movie = new PaintedMovie({10, 10, 30, 20}, 2);
    if (c.drawingMode == 0) movie->ToggleMode1(true);
    ClearFrameChangeAreas();
    RecordingChanges record;
    Rect fromRect{0, 0, 100, 100}, toRect{0, 0, 100, 100};
    const SmartRef<CXform> from = Moved(movie->GetBounds(), c.fromDx, 0), to = Moved(movie->GetBounds(), c.toDx, 0);
    EXPECT_TRUE(movie->ComputeFrameChange(c.fromFrame, c.toFrame, ~from, ~to, &fromRect, &toRect, &record));
    EXPECT_EQ(!CoveredArea().IsEmpty(), c.covers);
    EXPECT_EQ(fromRect, c.firstBack);
    EXPECT_EQ(UncoveredArea().GetBounds(), c.uncovered);
    ASSERT_EQ(record.frames.size(), 1u);
    EXPECT_EQ(record.frames[0], c.toFrame);
  }
}

}  // namespace

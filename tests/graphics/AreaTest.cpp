#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/Stream.h"
#include "graphics/Area.h"
#include "graphics/Transform.h"
#include "platform/gdi/Gdi.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"

namespace {

std::vector<Rect> Rects(const Area& area) {
  std::vector<Rect> rects;
  for (std::int32_t n = 1; n <= area.NumRects(); ++n) rects.push_back(area.GetRect(n));
  return rects;
}

bool Covers(const Area& area, int x, int y) {
  for (const Rect& r : Rects(area))
    if (r.Contains(x, y)) return true;
  return false;
}

void ExpectNoOverlaps(const Area& area) {
  const auto rects = Rects(area);
  for (std::size_t i = 0; i < rects.size(); ++i) {
    EXPECT_FALSE(rects[i].IsEmpty());
    for (std::size_t j = i + 1; j < rects.size(); ++j) EXPECT_FALSE(rects[i].Overlaps(rects[j]));
  }
}

TEST(Area, UnionAndSubtractGiveTheExpectedListsInOrder) {
  struct Case {
    const char* name;
    Rect a, b;
    bool subtract;
    std::vector<Rect> expected;
  };
  const Case cases[] = {
      {"overlapping union", {0, 0, 10, 10}, {5, 5, 15, 15}, false, {{5, 0, 10, 5}, {0, 0, 5, 10}, {5, 5, 15, 15}}},
      {"inside adds nothing", {0, 0, 10, 10}, {2, 2, 8, 8}, false, {{0, 0, 10, 10}}},
      {"covering replaces", {2, 2, 8, 8}, {0, 0, 10, 10}, false, {{0, 0, 10, 10}}},
      {"beyond one side is cut", {0, 0, 10, 10}, {0, 5, 10, 20}, false, {{0, 0, 10, 10}, {0, 10, 10, 20}}},
      {"hole", {0, 0, 10, 10}, {3, 3, 7, 7}, true, {{3, 0, 7, 3}, {3, 7, 7, 10}, {0, 0, 3, 10}, {7, 0, 10, 10}}},
      {"touching edge", {0, 0, 10, 10}, {10, 0, 20, 10}, true, {{0, 0, 10, 10}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Area area(c.a);
    const Area other(c.b);
    if (c.subtract) area.Subtract(other);
    else area.Union(other);
    EXPECT_EQ(Rects(area), c.expected);
  }
  Area area({0, 0, 10, 10});
  area.Union(Area({5, 5, 15, 15}));
  EXPECT_EQ(area.GetBounds(), (Rect{0, 0, 15, 15}));
}

TEST(Area, EmptyAndRegionOnlyCases) {
  AlertRecorder alerts;
  EXPECT_TRUE(Area(Rect{5, 5, 5, 10}).IsEmpty());
  EXPECT_EQ(Area().GetBounds(), Rect::emptyRect);
  Area area({0, 0, 10, 10});
  area.Union(Area::emptyArea());
  EXPECT_EQ(Rects(area).size(), 1u);
  SmartRef<Area> touching(Area({0, 0, 10, 10}).Intersect(Area({10, 0, 20, 10})));
  EXPECT_TRUE(touching->IsEmpty());
  Area regionOnly(CreateRectRgn(2, 3, 12, 13));
  EXPECT_TRUE(regionOnly.IsRegionOnly());
  EXPECT_EQ(regionOnly.GetBounds(), (Rect{2, 3, 12, 13}));
  EXPECT_FALSE(regionOnly.Overlaps(area));
  EXPECT_FALSE(area.Overlaps(regionOnly));
  area.Union(regionOnly);
  EXPECT_EQ(Rects(area).size(), 1u) << "a region-only area changes nothing";
  SmartRef<Area> mixed(area.Intersect(regionOnly));
  EXPECT_TRUE(mixed->IsEmpty());
  EXPECT_EQ(alerts.Alerts().size(), 1u) << "the unsupported intersection is a notice";
}

TEST(Area, TransformsAndOffsets) {
  Area area({0, 0, 10, 10});
  EXPECT_TRUE(area.ApplyTransform(ScaleTrans({0, 0, 10, 10}, {0, 0, 20, 20})));
  EXPECT_EQ(Rects(area), (std::vector<Rect>{{0, 0, 20, 20}}));
  HRGN cached = area.GetRegion();
  area.Offset(5, -5);
  EXPECT_EQ(area.GetBounds(), (Rect{5, -5, 25, 15}));
  RECT box;
  GetRgnBox(cached, &box);
  EXPECT_EQ(box.left, 5) << "the cached region moves with the rectangles";
  EXPECT_EQ(box.top, -5);
}

// Properties over random rectangles: the list stays free of overlaps, unions cover both operands,
// subtraction removes exactly the other's pixels, and intersections lie in both; the cached region covers
// the same pixels as the list.
TEST(Area, AlgebraHoldsOverRandomRectangles) {
  std::mt19937 random(1234);
  std::uniform_int_distribution<int> coordinate(0, 24);
  const auto randomRect = [&] {
    int l = coordinate(random), r = coordinate(random), t = coordinate(random), b = coordinate(random);
    return Rect{std::min(l, r), std::min(t, b), std::max(l, r) + 1, std::max(t, b) + 1};
  };
  for (int round = 0; round < 200; ++round) {
    Area a(randomRect()), b(randomRect());
    for (int i = 0; i < 3; ++i) {
      a.Union(Area(randomRect()));
      b.Union(Area(randomRect()));
    }
    Area united(a);
    united.Union(b);
    Area difference(a);
    difference.Subtract(b);
    SmartRef<Area> common(a.Intersect(b));
    for (const Area* result : {&a, &b, &united, &difference, ~common}) ExpectNoOverlaps(*result);
    HRGN region = united.GetRegion();
    for (int y = 0; y < 26; ++y)
      for (int x = 0; x < 26; ++x) {
        const bool inA = Covers(a, x, y), inB = Covers(b, x, y);
        ASSERT_EQ(Covers(united, x, y), inA || inB) << x << "," << y;
        ASSERT_EQ(Covers(difference, x, y), inA && !inB) << x << "," << y;
        ASSERT_EQ(Covers(*common, x, y), inA && inB) << x << "," << y;
        ASSERT_EQ(PtInRegion(region, x, y) != FALSE, inA || inB) << x << "," << y;
      }
  }
}

class MemoryArchive : public BitBucketArchive {
 public:
  explicit MemoryArchive(Stream* stream) : stream(stream) {}
  void ReadWriteVersion(Version* version, std::int32_t, Version current) override {
    if (writing) {
      *version = current;
      stream->WriteLong(static_cast<std::int32_t>(current));
    } else {
      *version = static_cast<Version>(stream->ReadLong());
    }
  }
  Stream* GetStream() override { return stream; }
  bool writing = true;

 private:
  Stream* stream;
};

TEST(Area, StoredAndReadBack) {
  MemoryStream stream;
  SmartRef<MemoryArchive> archive(new MemoryArchive(&stream));
  Area area({0, 0, 10, 10});
  area.Union(Area({5, 5, 15, 15}));
  area.Write(~archive);
  Area regionOnly(CreateRectRgn(0, 0, 4, 4));
  regionOnly.Write(~archive);
  stream.Seek(0, kSeekFromStart);
  archive->writing = false;
  const Area read(~archive);
  EXPECT_EQ(Rects(read), Rects(area));
  const Area readRegionOnly(~archive);
  EXPECT_TRUE(readRegionOnly.IsRegionOnly());
  EXPECT_TRUE(readRegionOnly.IsEmpty());
}

TEST(Area, ACountTheBlockDoesNotHoldIsADamagedFile) {
  for (std::int32_t count : {-1, 2}) {
    MemoryStream stream;
    stream.WriteLong(static_cast<std::int32_t>(MakeVersion(1))).WriteByte(0).WriteLong(count);
    stream.WriteRect({0, 0, 1, 1});
    stream.Seek(0, kSeekFromStart);
    SmartRef<MemoryArchive> archive(new MemoryArchive(&stream));
    archive->writing = false;
    const SmartRef<Exception> raised = Raised([&] { Area read(~archive); });
    auto* error = dynamic_cast<ErrorException*>(~raised);
    ASSERT_NE(error, nullptr) << count;
    EXPECT_EQ(std::string(error->GetText()).rfind("Ce fichier est corrompu", 0), 0u) << error->GetText();
  }
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/BitMapTestSupport.h"
#include "support/graphics/GraphicsFixture.h"
#include "core/Archive.h"
#include "core/Stream.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/bitmaps/PixelCursor.h"
#include "platform/gdi/Gdi.h"
#include "support/Raised.h"
#include "graphics/SystemVersion.h"

namespace {

// Object references kept in a table of the archive; the first block read answers the given version.
class TestArchive : public BitBucketArchive {
 public:
  TestArchive(Stream* stream, Version readAs) : stream(stream), readAs(readAs) {}
  void ReadWriteVersion(Version* version, std::int32_t, Version current) override {
    *version = reading && !versionGiven ? readAs : current;
    versionGiven = true;
  }
  std::int32_t ObjectToIndex(Persistent* object) override {
    if (object == nullptr) return 0;
    objects.emplace_back(object);
    return static_cast<std::int32_t>(objects.size());
  }
  Persistent* IndexToObject(std::int32_t index) override {
    return index >= 1 && index <= static_cast<std::int32_t>(objects.size())
               ? ~objects[static_cast<std::size_t>(index - 1)]
               : nullptr;
  }
  Stream* GetStream() override { return stream; }
  bool reading = false;
  std::vector<SmartRef<Persistent>> objects;

 private:
  Stream* stream;
  Version readAs;
  bool versionGiven = false;
};

std::string Bytes(MemoryStream& stream) {
  return std::string(reinterpret_cast<const char*>(stream.GetMemory().GetData()), stream.GetLength());
}

class BitMapTest : public GraphicsFixture {};

TEST_F(BitMapTest, PixelCursorRoundTripsEveryDepthOnEveryBackEnd) {
  for (int version : {Win95, Win31Only}) {
    Prepare(version == Win95 ? 32 : 8, version);  // limited systems need a 256-colour screen
    for (std::int16_t depth : {1, 4, 8, 16, 24, 32}) {
      SCOPED_TRACE(testing::Message() << "depth " << depth << " version " << version);
      SmartRef<BitMap> made = MakeBitMap(11, 4, depth);
      BitMap& bitmap = *made;
      ASSERT_EQ(bitmap.GetBitDepth(), depth);
      const auto value = [depth](int x, int y) {
        return static_cast<std::uint32_t>((x * 37 + y * 101 + 5) * 0x01010101u) &
               static_cast<std::uint32_t>((std::uint64_t{1} << depth) - 1);
      };
      SetAll(bitmap, value);
      for (bool topFirst : {true, false}) {
        PixelCursor cursor(&bitmap, bitmap.GetBounds(), topFirst);
        EXPECT_EQ(cursor.GetPosition().y, topFirst ? 0 : 3);
        for (; cursor.HasRow(); cursor.NextPixel())
          ASSERT_EQ(cursor.GetPixel(), value(cursor.GetPosition().x, cursor.GetPosition().y));
      }
      EXPECT_EQ(bitmap.GetPixelValue(3, 2), value(3, 2));
      EXPECT_EQ(bitmap.GetPixelValue(11, 0), 0u) << "beyond the right edge";
    }
  }
}

TEST_F(BitMapTest, TwentyFourBitPixelsMatchTheirTablesColours) {
  BitMap bitmap(2, 1, ColorTable::GetStandard(24));
  SetAll(bitmap, [](int, int) { return 0x112233u; });
  EXPECT_TRUE(bitmap.GetPixelColor(bitmap.GetPixelValue(0, 0)).SameAs8Bit(Color::FromRGB8(0x11, 0x22, 0x33)));
  // Drawn through the drawing layer, the same pixel shows red 0x11, green 0x22, blue 0x33.
  Canvas canvas(2, 1, RGB(0, 0, 0));
  bitmap.GetBackEnd()->StretchTo(canvas.DC(), nullptr, bitmap.GetBounds(), bitmap.GetBounds());
  EXPECT_EQ(canvas.At(0, 0), RGB(0x11, 0x22, 0x33));
}

SmartRef<BitMap> ReadBack(const std::string& bytes, Version version, const std::vector<SmartRef<Persistent>>& objects) {
  MemoryStream stream;
  stream.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  stream.Seek(0, kSeekFromStart);
  SmartRef<TestArchive> archive(new TestArchive(&stream, version));
  archive->reading = true;
  archive->objects = objects;
  return static_cast<BitMap*>(BitMap::ReadNew(~archive));
}

TEST_F(BitMapTest, StoredFormsReadBack) {
  for (int version : {Win95, Win31Only}) {
    Prepare(version == Win95 ? 32 : 8, version);  // limited systems need a 256-colour screen
    SmartRef<BitMap> original(new BitMap(3, 2, ColorTable::GetStandard(8), Color(1), true));
    SetAll(*original, [](int x, int y) { return static_cast<std::uint32_t>(10 * y + x + 1); });
    EXPECT_TRUE(original->GetUseChromaKey());
    const std::int32_t black = original->GetChromaKey();
    MemoryStream stream;
    SmartRef<TestArchive> archive(new TestArchive(&stream, 0));
    original->Write(~archive);
    const std::string bytes = Bytes(stream);
    // depth, bounds, table reference, key, flag, row length, rows from the top
    ASSERT_EQ(bytes.size(), 2u + 16 + 4 + 4 + 1 + 4 + 2 * 3);
    EXPECT_EQ(bytes.substr(bytes.size() - 10), std::string("\x03\x00\x00\x00\x01\x02\x03\x0B\x0C\x0D", 10));

    SmartRef<BitMap> current = ReadBack(bytes, MakeVersion(1, 1), archive->objects);
    EXPECT_EQ(current->GetBounds(), (Rect{0, 0, 3, 2}));
    EXPECT_TRUE(current->GetUseChromaKey());
    EXPECT_EQ(current->GetChromaKey(), black);
    EXPECT_EQ(current->GetPixelValue(2, 1), 13u);
    EXPECT_EQ(current->GetLockCount(), 0);

    // A 1.0 block has no key fields.
    const std::string old = bytes.substr(0, 22) + bytes.substr(27);
    SmartRef<BitMap> older = ReadBack(old, MakeVersion(1, 0), archive->objects);
    EXPECT_FALSE(older->GetUseChromaKey());
    EXPECT_EQ(older->GetChromaKey(), 0);
    EXPECT_EQ(older->GetPixelValue(0, 0), 1u);
  }
}

TEST_F(BitMapTest, StoredRowsHoldOnlyTheirPixels) {
  struct Case {
    std::int32_t width;
    std::int16_t depth;
    std::int32_t rowLength;
  };
  for (const Case& c : {Case{3, 4, 2}, Case{33, 1, 5}, Case{5, 24, 15}}) {
    SmartRef<BitMap> made = MakeBitMap(c.width, 2, c.depth);
    BitMap& bitmap = *made;
    MemoryStream stream;
    SmartRef<TestArchive> archive(new TestArchive(&stream, 0));
    bitmap.Write(~archive);
    EXPECT_EQ(stream.GetLength(), 2u + 16 + 4 + 4 + 1 + 4 + 2 * static_cast<std::uint32_t>(c.rowLength)) << c.width;
  }
}

// Bitmaps made from system bitmaps keep the system bitmap's depth under a standard table of another
// depth (the direct table is 24-bit, the palette table 8-bit); copies and stored pages keep every pixel.
TEST_F(BitMapTest, SystemBitmapsOfEveryDepthCopyAndStore) {
  for (std::int16_t depth : {1, 4, 8, 16, 24, 32}) {
    SCOPED_TRACE(testing::Message() << "depth " << depth);
    // The header and a colour table of greys, as many colours as the depth has values.
    std::vector<std::uint32_t> header((sizeof(BITMAPINFOHEADER) + 4 * 256) / 4);
    auto* info = reinterpret_cast<BITMAPINFO*>(header.data());
    info->bmiHeader = {sizeof(BITMAPINFOHEADER), 5, 3, 1, static_cast<WORD>(depth), BI_RGB, 0, 0, 0, 0, 0};
    for (std::uint32_t i = 0; i < 256; ++i) header[sizeof(BITMAPINFOHEADER) / 4 + i] = i * 0x010101u;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
    SmartRef<BitMap> original(new BitMap(section, 0, false, 0));
    DeleteObject(section);
    ASSERT_EQ(original->GetBitDepth(), depth);
    const auto value = [depth](int x, int y) {
      return static_cast<std::uint32_t>((x * 37 + y * 101 + 5) * 0x01010101u) &
             static_cast<std::uint32_t>((std::uint64_t{1} << depth) - 1);
    };
    SetAll(*original, value);

    SmartRef<BitMap> copy;
    ASSERT_EQ(RaisedText(Raised([&] { copy = CastSmart<BitMap>(original->Clone()); })), "(nothing raised)");
    MemoryStream stream;
    SmartRef<TestArchive> archive(new TestArchive(&stream, 0));
    original->Write(~archive);
    SmartRef<BitMap> stored;
    ASSERT_EQ(RaisedText(Raised([&] { stored = ReadBack(Bytes(stream), MakeVersion(1, 1), archive->objects); })),
              "(nothing raised)");
    for (BitMap* bitmap : {~copy, ~stored}) {
      EXPECT_EQ(bitmap->GetBitDepth(), depth);
      EXPECT_EQ(bitmap->GetBounds(), (Rect{0, 0, 5, 3}));
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) ASSERT_EQ(bitmap->GetPixelValue(x, y), value(x, y)) << x << "," << y;
    }
  }
}

TEST_F(BitMapTest, DamagedStoredBitmapsAreRefused) {
  SmartRef<BitMap> original(new BitMap(3, 2, ColorTable::GetStandard(8)));
  MemoryStream stream;
  SmartRef<TestArchive> archive(new TestArchive(&stream, 0));
  original->Write(~archive);
  const std::string good = Bytes(stream);
  const auto patched = [&](std::size_t at, std::int32_t value) {
    std::string bytes = good;
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
    return bytes;
  };
  const std::string cases[] = {
      patched(27, 400),        // a row longer than the back end's row: would overflow each row
      patched(27, 2),          // shorter than the row's pixels
      patched(27, -1),         //
      patched(14, 0x7FFFFFF),  // more rows than the stream holds
      patched(10, -5),         // negative width
      patched(18, 0),          // no colour table
      good.substr(0, good.size() - 1),
  };
  for (const std::string& bytes : cases) {
    EXPECT_TRUE(Raised([&] { ReadBack(bytes, MakeVersion(1, 1), archive->objects); }));
  }
}

TEST_F(BitMapTest, CopiesOwnTheirPixels) {
  for (int version : {Win95, Win31Only}) {
    Prepare(version == Win95 ? 32 : 8, version);  // limited systems need a 256-colour screen
    for (std::int16_t depth : {8, 24}) {
      SmartRef<BitMap> original(new BitMap(4, 3, ColorTable::GetStandard(depth), Color(0), true));
      SetAll(*original, [](int x, int y) { return static_cast<std::uint32_t>(x + 4 * y + 1); });
      SmartRef<BitMap> copy(CastSmart<BitMap>(original->Clone()));
      EXPECT_NE(copy->GetBackEnd(), original->GetBackEnd());
      EXPECT_EQ(copy->GetPixelValue(3, 2), 12u);
      EXPECT_EQ(copy->GetChromaKey(), original->GetChromaKey());
      SmartRef<BitMap> other(new BitMap(1, 1, ColorTable::GetStandard(depth)));
      other->CopyFrom(~original);
      SetAll(*original, [](int, int) { return 0u; });
      EXPECT_EQ(other->GetPixelValue(1, 1), 6u);
      EXPECT_EQ(other->GetBounds(), (Rect{0, 0, 4, 3}));
    }
  }
}

TEST_F(BitMapTest, KeysAndPatterns) {
  BitMap missing(2, 2, ColorTable::GetStandard(1), Color::FromRGB8(10, 200, 30), true);
  EXPECT_FALSE(missing.GetUseChromaKey()) << "a key colour the table lacks turns keying off";
  EXPECT_EQ(RaisedText(Raised([&] { missing.SetChromaKey(1); })), "useChromaKey == 1");

  BitMap zeros(10, 10, ColorTable::GetStandard(8));
  SetAll(zeros, [](int, int) { return 0u; });
  EXPECT_EQ(zeros.GetPattern(), Pattern(0));
  SetAll(zeros, [](int, int) { return 1u; });
  EXPECT_EQ(zeros.GetPattern(), Pattern(1));
  BitMap checks(8, 8, ColorTable::GetStandard(1));
  SetAll(checks, [](int x, int y) { return static_cast<std::uint32_t>((x + y + 1) & 1); });
  EXPECT_EQ(checks.GetPattern(), Pattern(3));
  SmartRef<Area> area(zeros.GetColorArea(Color(0)));
  EXPECT_TRUE(area->IsEmpty());
}

TEST_F(BitMapTest, TrimBitMap) {
  SmartRef<BitMap> blank(new BitMap(12, 10, ColorTable::GetStandard(8)));
  SetAll(*blank, [](int, int) { return 9u; });
  EXPECT_EQ(TrimBitMap(&blank, 9), Point::origin);
  EXPECT_EQ(blank, nullptr);

  SmartRef<BitMap> dot(new BitMap(12, 10, ColorTable::GetStandard(8), Color(1), true));
  SetAll(*dot, [](int x, int y) { return x == 5 && y == 7 ? 3u : 9u; });
  EXPECT_EQ(TrimBitMap(&dot, 9), Point(5, 7));
  EXPECT_EQ(dot->GetBounds(), (Rect{0, 0, 1, 1}));
  EXPECT_EQ(dot->GetPixelValue(0, 0), 3u);
  EXPECT_TRUE(dot->GetUseChromaKey());

  SmartRef<BitMap> full(new BitMap(3, 3, ColorTable::GetStandard(8)));
  BitMap* before = ~full;
  SetAll(*full, [](int x, int y) { return (x == 0 && y == 0) || (x == 2 && y == 2) ? 1u : 0u; });
  EXPECT_EQ(TrimBitMap(&full, 0), Point::origin);
  EXPECT_EQ(~full, before);
}

}  // namespace

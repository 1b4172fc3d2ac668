#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/Stream.h"
#include "support/Raised.h"

namespace {

std::vector<unsigned char> Bytes(MemoryStream& stream) {
  const auto* data = stream.GetMemory().GetData();
  return {data, data + stream.GetLength()};
}

TEST(Stream, TypedWritesInBothByteOrders) {
  struct Case {
    const char* name;
    void (*write)(Stream&);
    std::vector<unsigned char> little, big;
  };
  const Case cases[] = {
      {"long", [](Stream& s) { s.WriteLong(0x01020304); }, {4, 3, 2, 1}, {1, 2, 3, 4}},
      {"short", [](Stream& s) { s.WriteShort(0x0102); }, {2, 1}, {1, 2}},
      {"byte", [](Stream& s) { s.WriteByte(0xAB); }, {0xAB}, {0xAB}},
      {"point", [](Stream& s) { s.WritePoint({1, -2}); }, {1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF},
       {0, 0, 0, 1, 0xFF, 0xFF, 0xFF, 0xFE}},
      {"rect", [](Stream& s) { s.WriteRect({1, 2, 3, 4}); },
       {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0}, {0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4}},
      {"long from pointer", [](Stream& s) { const std::int32_t v = -1; s.WriteLong(&v); }, {0xFF, 0xFF, 0xFF, 0xFF},
       {0xFF, 0xFF, 0xFF, 0xFF}},
  };
  for (const Case& c : cases) {
    for (bool swap : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (swap ? " swapped" : ""));
      MemoryStream stream;
      stream.SetSwap(swap);
      c.write(stream);
      EXPECT_EQ(Bytes(stream), swap ? c.big : c.little);
    }
  }
}

TEST(Stream, TypedReadsUndoTheWritesInBothByteOrders) {
  for (bool swap : {false, true}) {
    MemoryStream stream;
    stream.SetSwap(swap);
    stream.WriteLong(-123456789).WriteShort(-2).WriteByte(200).WritePoint({7, -8}).WriteRect({-1, 2, -3, 4});
    stream.Seek(0, kSeekFromStart);
    EXPECT_EQ(stream.ReadLong(), -123456789);
    EXPECT_EQ(stream.ReadShort(), -2);
    EXPECT_EQ(stream.ReadByte(), 200);
    Point p;
    stream.ReadPoint(&p);
    EXPECT_EQ(p, (Point{7, -8}));
    Rect r;
    stream.ReadRect(&r);
    EXPECT_EQ(r, (Rect{-1, 2, -3, 4}));
    EXPECT_EQ(stream.SwapLong(0x01020304), swap ? 0x04030201 : 0x01020304);
  }
}

// A stored coordinate past a billion pixels is damage: its sizes and centres would overflow.
TEST(Stream, StoredCoordinatesBeyondABillionAreRefused) {
  constexpr std::int32_t kEdge = 1 << 30;
  struct Case {
    std::int32_t value;
    bool refused;
  };
  const Case cases[] = {{kEdge, false}, {-kEdge, false}, {kEdge + 1, true}, {-kEdge - 1, true},
                        {INT32_MIN, true}, {INT32_MAX, true}};
  for (const Case& c : cases) {
    for (int place = 0; place < 4; ++place) {
      SCOPED_TRACE(std::to_string(c.value) + " at " + std::to_string(place));
      MemoryStream stream;
      for (int i = 0; i < 4; ++i) stream.WriteLong(i == place ? c.value : 80);
      stream.Seek(0, kSeekFromStart);
      Rect r;
      EXPECT_EQ(RaisedText(Raised([&] { stream.ReadRect(&r); })),
                c.refused ? "value >= -kMaxStoredCoordinate && value <= kMaxStoredCoordinate" : "(nothing raised)");
      if (place >= 2) continue;
      stream.Seek(0, kSeekFromStart);
      Point p;
      EXPECT_EQ(Raised([&] { stream.ReadPoint(&p); }) != nullptr, c.refused);
    }
  }
}

TEST(MemoryStream, PositionsLengthsAndReadsPastTheEnd) {
  MemoryStream stream(4);
  const char ten[] = "0123456789";
  stream.Write(ten, 10);
  stream.Seek(4, kSeekFromStart);
  stream.Write("ab", 2);
  EXPECT_EQ(stream.GetLength(), 10u);
  EXPECT_EQ(stream.GetPosition(), 6u);
  EXPECT_EQ(*stream.GetCurrentPointer(), '6');
  char four[4];
  stream.Read(four, 4);
  EXPECT_EQ(std::string(four, 4), "6789");
  stream.Seek(7, kSeekFromStart);
  EXPECT_EQ(RaisedText(Raised([&] { stream.Read(four, 4); })), "position + len <= streamSize");
  EXPECT_EQ(stream.GetPosition(), 7u) << "nothing read";
  EXPECT_EQ(stream.Seek(-2, kSeekRelative), 5u);
  EXPECT_EQ(stream.Seek(3, kSeekFromEnd), 7u);
}

TEST(MemoryStream, SeekingBeforeTheStartIsRefusedAndGapsFillWithZeros) {
  MemoryStream stream(64);  // capacity holds stale bytes that must never show
  stream.Write("abc", 3);
  EXPECT_EQ(RaisedText(Raised([&] { stream.Seek(-4, kSeekRelative); })), "position >= 0");
  EXPECT_EQ(RaisedText(Raised([&] { stream.Seek(-1, kSeekFromStart); })), "position >= 0");
  EXPECT_EQ(stream.GetPosition(), 3u);
  stream.Seek(8, kSeekFromStart);
  stream.Write("z", 1);
  EXPECT_EQ(Bytes(stream), (std::vector<unsigned char>{'a', 'b', 'c', 0, 0, 0, 0, 0, 'z'}));
  stream.SetLength(11);
  EXPECT_EQ(Bytes(stream).back(), 0);
  stream.SetLength(2);
  EXPECT_EQ(stream.GetLength(), 2u);
  EXPECT_EQ(stream.GetPosition(), 9u) << "SetLength leaves the position";
}

TEST(MemoryStream, CopiesAreIndependent) {
  MemoryStream original;
  original.SetSwap(true);
  original.WriteLong(1);
  SmartRef<Smart> clone(original.Clone());
  auto* copy = CastSmart<MemoryStream>(~clone);
  ASSERT_NE(copy, nullptr);
  EXPECT_TRUE(copy->GetSwap());
  EXPECT_EQ(copy->GetPosition(), 4u);
  copy->WriteLong(2);
  EXPECT_EQ(original.GetLength(), 4u);
  EXPECT_EQ(copy->GetLength(), 8u);
  MemoryStream fromBlock(copy->GetMemory());
  EXPECT_EQ(fromBlock.GetLength(), 8u);
  EXPECT_EQ(fromBlock.GetPosition(), 0u);
}

TEST(BitBucket, DiscardsWritesAndReadsZeros) {
  BitBucket& bucket = *gBitBucket();
  bucket.WriteLong(99).WriteRect({1, 2, 3, 4});
  EXPECT_EQ(bucket.GetPosition(), 0u);
  EXPECT_EQ(bucket.GetLength(), 0u);
  EXPECT_EQ(bucket.ReadLong(), 0);
  EXPECT_EQ(bucket.ReadShort(), 0);
  EXPECT_EQ(bucket.ReadByte(), 0);
  Rect r{5, 5, 5, 5};
  bucket.ReadRect(&r);
  EXPECT_EQ(r, Rect{});
  EXPECT_EQ(bucket.GetPosition(), 0u);
  EXPECT_TRUE(bucket.IsWritable());
  { SmartRef<Stream> held(&bucket); }  // the shared bucket is permanent
  EXPECT_EQ(gBitBucket()->GetReferenceCount(), SmartImplementation::kPermanent);
}

}  // namespace

#include <gtest/gtest.h>

#include "core/Archive.h"
#include "core/Stream.h"
#include "graphics/Color.h"
#include "support/Raised.h"

namespace {

TEST(Color, StandardColoursAndTheirChecks) {
  EXPECT_EQ(Color(16), (Color{0, 0, 0, 0}));
  EXPECT_EQ(Color(13), (Color{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}));
  EXPECT_EQ(Color(10), Color(11)) << "duplicates stay separate indices";
  EXPECT_EQ(RaisedText(Raised([] { Color bad(17); })), "whichColor < numStandardColors");
  EXPECT_EQ(RaisedText(Raised([] { Color bad(-1); })), "whichColor >= 0");
  EXPECT_EQ(RaisedText(Raised([] { Pattern bad(5); })), "pattern < numStandardPatterns");
  EXPECT_EQ(Pattern(3).rows[0], 0xAA);
  EXPECT_EQ(Pattern(3).rows[1], 0x55);
}

TEST(Color, EightBitValuesAndSameness) {
  EXPECT_EQ(Color::FromRGB8(0xAB, 0x00, 0xFF), (Color{0xABAB, 0, 0xFFFF, 0}));
  struct Case {
    Color a, b;
    bool same;
  };
  const Case cases[] = {
      {{0x12FF, 0, 0, 0}, {0x1200, 0, 0, 0}, true},
      {{0x12FF, 0, 0, 0}, {0x13FF, 0, 0, 0}, false},
      {Color(13), Color(0), false},
      {Color(0), Color(15), true},
  };
  for (const Case& c : cases) EXPECT_EQ(c.a.SameAs8Bit(c.b), c.same);
  EXPECT_TRUE(Color(13).IsTransparent());
  EXPECT_FALSE(Color(0).IsTransparent());
  EXPECT_EQ(MakeColorRef({0x1234, 0x5678, 0x9ABC, 0}), 0x029A5612u);
}

// Colours and patterns live inside other objects' blocks; a bit bucket archive over a memory stream is
// enough to see their bytes.
class StreamArchive : public BitBucketArchive {
 public:
  explicit StreamArchive(Stream* stream) : stream(stream) {}
  void ReadWriteVersion(Version* version, std::int32_t, Version current) override { *version = current; }
  Stream* GetStream() override { return stream; }

 private:
  Stream* stream;
};

TEST(Color, StoredAndReadBackInBothByteOrders) {
  const PersistentType type(&Smart::classInfo, MakeVersion(1), MakeVersion(1), nullptr);
  const Color color{0x0102, 0x0304, 0x0506, 0xFFFF};
  const Pattern pattern({1, 2, 3, 4, 5, 6, 7, 8});
  for (bool swap : {false, true}) {
    MemoryStream stream;
    stream.SetSwap(swap);
    SmartRef<StreamArchive> archive(new StreamArchive(&stream));
    {
      ArchiveBlock block(~archive, &type);
      color.Write(block);
      pattern.Write(block);
    }
    const unsigned char* bytes = stream.GetMemory().GetData();
    EXPECT_EQ(bytes[0], swap ? 1 : 2) << "each word is swapped as a 16-bit value";
    EXPECT_EQ(bytes[1], swap ? 2 : 1);
    EXPECT_EQ(bytes[8], 1) << "pattern bytes are never swapped";
    stream.Seek(0, kSeekFromStart);
    ArchiveBlock block(~archive, &type);
    Color readColor;
    Pattern readPattern;
    readColor.Read(block);
    readPattern.Read(block);
    EXPECT_EQ(readColor, color);
    EXPECT_EQ(readPattern, pattern);
  }
  ArchiveBlock measuring(gBitBucketArchive());
  Color fromNothing(7);
  fromNothing.Read(measuring);
  EXPECT_EQ(fromNothing, Color{}) << "a skipping block reads zeros";
}

}  // namespace

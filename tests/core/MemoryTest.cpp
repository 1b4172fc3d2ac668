#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/CoreState.h"
#include "core/Memory.h"
#include "core/Stream.h"
#include "core/Utilities.h"
#include "platform/kernel/System.h"
#include "core/Text1252.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"

namespace {

TEST(GrowableMemory, GrowsAndShrinksInSteps) {
  struct Case {
    std::uint32_t from;
    std::uint32_t asked;
    std::uint32_t result;
  };
  const Case cases[] = {
      {100, 101, 150},       {10, 11, 42},        {100000, 100001, 132000}, {0, 1, 32},   {100, 150, 150},
      {100, 200, 200},       {40, 30, 40},        {40, 0, 0},               {20, 0, 20},  {100, 50, 50},
      {100, 51, 100},        {64000, 32000, 32000}, {100, 100, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " asked for " + std::to_string(c.asked));
    GrowableMemory block;
    block.Memory::SetSize(c.from);
    block.SetSize(c.asked);
    EXPECT_EQ(block.GetSize(), c.result);
  }
}

TEST(Memory, ResizeKeepsSharedBytesAndTheSameSizeKeepsThePointer) {
  Memory block(8);
  std::memcpy(block.GetData(), "abcdefgh", 8);
  unsigned char* before = block.GetData();
  block.SetSize(8);
  EXPECT_EQ(block.GetData(), before);
  block.SetSize(4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block.GetData()), 4), "abcd");
  block.SetSize(0);
  EXPECT_EQ(block.GetData(), nullptr);
  EXPECT_EQ(block.GetSize(), 0u);
}

TEST(Memory, AFailedAllocationKeepsTheOldBytes) {
  Memory block(4);
  std::memcpy(block.GetData(), "keep", 4);
  TheCoreState().allocationLimit = 1000;
  const auto raised = Raised([&] { block.SetSize(5000); });
  TheCoreState().allocationLimit = 0;
  EXPECT_EQ(RaisedText(raised), "memorySize == 0");
  ASSERT_EQ(block.GetSize(), 4u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block.GetData()), 4), "keep");
}

TEST(Memory, AssignTakeFromAndLocks) {
  Memory a(3), b;
  std::memcpy(a.GetData(), "xyz", 3);
  b.Assign(a);
  EXPECT_NE(b.GetData(), a.GetData());
  EXPECT_TRUE(MemEqual(b.GetData(), "xyz", 3));
  b.Assign(b);
  EXPECT_EQ(b.GetSize(), 3u);
  Memory c;
  unsigned char* bytes = a.GetData();
  c.TakeFrom(a);
  EXPECT_EQ(c.GetData(), bytes);
  EXPECT_EQ(a.GetData(), nullptr);
  EXPECT_EQ(a.GetSize(), 0u);
  c.Lock();
  c.Lock();
  c.Unlock();
  c.Unlock();
  c.Unlock();  // never below 0
  EXPECT_EQ(c.GetLockCount(), 0u);
}

TEST(Memory, BlocksGoThroughStreamsAndDamagedSizesAreRefused) {
  Memory block(5);
  std::memcpy(block.GetData(), "hello", 5);
  MemoryStream stream;
  WriteMemoryBlock(block, stream);
  stream.Seek(0, kSeekFromStart);
  Memory read;
  ReadMemoryBlock(read, stream);
  EXPECT_EQ(read.GetSize(), 5u);
  EXPECT_TRUE(MemEqual(read.GetData(), "hello", 5));

  MemoryStream damaged;
  damaged.WriteLong(0x7FFFFFF0).WriteLong(0);
  damaged.Seek(0, kSeekFromStart);
  AlertRecorder alerts;
  EXPECT_EQ(RaisedText(Raised([&] { ReadMemoryBlock(read, damaged); })),
            "Ce fichier est corrompu ou de format obsolète. Il se peut que certaines informations aient été récupérées."_cp)
      << "the damaged-file error of every reader";
  EXPECT_EQ(read.GetSize(), 5u) << "the block is left as it was";
}

TEST(Purgeable, RegisterAndUnregister) {
  struct Cache : Purgeable {
    void Purge() override {}
  } a, b;
  RegisterPurgeable(&a);
  RegisterPurgeable(&b);
  EXPECT_TRUE(IsRegisteredPurgeable(&a));
  UnregisterPurgeable(&a);
  UnregisterPurgeable(&a);
  EXPECT_FALSE(IsRegisteredPurgeable(&a));
  EXPECT_TRUE(IsRegisteredPurgeable(&b));
  UnregisterPurgeable(&b);
}

TEST(Utilities, TextHelpers) {
  char buffer[6];
  EXPECT_FALSE(IntToText(-12345, buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "-1234");
  EXPECT_TRUE(IntToText(42, buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "42");
  CopyBounded("a long text", buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "a lon");
  CopyBounded(nullptr, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "");
  char joined[8] = "abc";
  AppendBounded(joined, "defghij", sizeof joined);
  EXPECT_STREQ(joined, "abcdefg");
  EXPECT_EQ(TextLength(nullptr), 0u);
  EXPECT_EQ(TextLength("four"), 4u);
  char overlap[] = "abcdef";
  CopyBytes(overlap, overlap + 2, 4);
  EXPECT_STREQ(overlap, "ababcd");
  CopyBytes(nullptr, overlap, 3);  // nothing
  EXPECT_STREQ(overlap, "ababcd");
}

TEST(Utilities, TextToIntReportsFailures) {
  struct Case {
    const char* text;
    bool ok;
    int value;
  };
  const Case cases[] = {
      {"123", true, 123},     {"  -42abc", true, -42}, {"+7", true, 7},     {"", false, 0},
      {"abc", false, 0},      {"-", false, 0},         {nullptr, false, 0}, {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},          {"2147483648", false, 0}, {"99999999999999", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text ? c.text : "(null)");
    int value = -1;
    EXPECT_EQ(TextToInt(c.text, &value), c.ok);
    EXPECT_EQ(value, c.value);
  }
}

TEST(Utilities, RoundAndMinMax) {
  const std::pair<double, int> rounding[] = {{2.5, 3}, {-2.5, -3}, {2.4, 2}, {-2.4, -2}, {0.0, 0}, {0.5, 1}};
  for (auto [x, expected] : rounding) EXPECT_EQ(Round(x), expected) << x;
  int v = 5;
  SetMin(&v, 3);
  EXPECT_EQ(v, 3);
  SetMin(&v, 9);
  EXPECT_EQ(v, 3);
  EXPECT_EQ(SetMax(&v, 8), 8);
  EXPECT_EQ(v, 8);
}

TEST(Utilities, RandomStaysInRangeAndFollowsItsGenerator) {
  TheCoreState().randomState = 1;
  TheCoreState().randomSeeded = true;
  EXPECT_EQ(Random(5, 5), 5);
  EXPECT_EQ(TheCoreState().randomState, 1u) << "an empty range does not advance the state";
  const int first = Random(0, 9);
  EXPECT_EQ(TheCoreState().randomState, 1u * 2147001325u + 715136305u);
  EXPECT_EQ(first, static_cast<int>((TheCoreState().randomState & 0xFFFF) % 10));
  for (int i = 0; i < 200; ++i) {
    const int r = Random(0, 1);
    EXPECT_TRUE(r == 0 || r == 1);
    const int s = Random(-3, 3);
    EXPECT_GE(s, -3);
    EXPECT_LE(s, 3);
  }
  EXPECT_EQ(Random(4, 2), 4);
}

TEST(Utilities, WaitUntilTickAcrossTheWrap) {
  DWORD now = 0xFFFFFFF0u;
  platform::SetClockForTesting([&] { return now += 4; });
  WaitUntilTick(0xFFFFFF00u);  // already passed: returns at once
  EXPECT_EQ(now, 0xFFFFFFF4u);
  WaitUntilTick(0x00000008u);  // ahead, on the far side of the wrap
  EXPECT_EQ(now, 0x00000008u);
  now = 100;
  Delay(12);
  EXPECT_EQ(now, 116u);
  platform::SetClockForTesting(nullptr);
}

}  // namespace

// The chunk layer: the AIFF rate field, the headers as written, and finding chunks.
#include <gtest/gtest.h>

#include "SoundFilesTestSupport.h"
#include "sound/files/ChunkIO.h"
#include "sound/files/ExtendedRate.h"

using namespace sound_testing;

namespace {

TEST(ExtendedRate, EncodesAndDecodesWholeRates) {
  const struct {
    std::uint32_t rate;
    std::uint16_t exponent;
    std::uint64_t mantissa;
    std::uint32_t decoded;
  } cases[] = {
      {22254, 0x400D, 0xADDD174600000000, 22254}, {11127, 0x400C, 0xADDD174400000000, 11127},
      {22050, 0x400D, 0xAC44000000000000, 22050}, {44100, 0x400E, 0xAC44000000000000, 44100},
      {8000, 0x400B, 0xFA00000000000000, 8000},   {96000, 0x400F, 0xBB80000000000000, 96000},
      {1, 0x3FFF, 0x8000000000000000, 1},          {0xFFFFFFFF, 0x401E, 0xFFFFFFFF00000000, 0xFFFFFFFF},
      {0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rate);
    const ExtendedRate encoded = EncodeRate(c.rate);
    EXPECT_EQ(encoded.exponent, c.exponent);
    EXPECT_EQ(encoded.mantissa, c.mantissa);
    EXPECT_EQ(DecodeRate(encoded), c.decoded);
  }
  // What other writers store: fractions, below 1 Hz, negative, beyond 32 bits.
  EXPECT_EQ(DecodeRate({0x400D, 0xADDD170A3D70A000}), 22254u);
  EXPECT_EQ(DecodeRate({0x3FFE, 0x8000000000000000}), 0u);
  EXPECT_EQ(DecodeRate({0xC00D, 0xAC44000000000000}), 0u);
  EXPECT_EQ(DecodeRate({0x401F, 0x8000000000000000}), 0u);
}

TEST(RIFFChunkIO, WholeBytesPerSecondAndFrame) {
  const struct {
    std::int16_t channels, bits;
    std::uint32_t rate, perSecond;
    std::uint16_t align;
  } cases[] = {{1, 8, 22050, 22050, 1}, {1, 4, 22050, 11025, 1}, {2, 16, 44100, 176400, 4}, {1, 24, 22050, 66150, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.channels << "x" << c.bits);
    MemoryStream out;
    SampleFormat format;
    format.length = 11;
    format.channels = c.channels;
    format.bits = c.bits;
    format.rate = c.rate;
    EXPECT_EQ(RIFFChunkIO().WriteHeader(out, format, kMachineOrder), 1);
    const std::string header = Bytes(out);
    ASSERT_EQ(header.size(), 44u);
    EXPECT_EQ(header.substr(0, 4) + header.substr(8, 8) + header.substr(36, 4), "RIFFWAVEfmt data");
    EXPECT_EQ(Little32(header, 4), 11u + 1 + 36);
    EXPECT_EQ(Little32(header, 28), c.perSecond);
    EXPECT_EQ(Little16(header, 32), c.align);
    EXPECT_EQ(Little32(header, 40), 11u);
  }
}

TEST(AIFFChunkIO, FrameCountOfSmallSamples) {
  // Samples of fewer than 8 bits take a byte each; without channels there are no frames.
  const struct {
    std::int16_t channels, bits;
    std::uint32_t frames;
  } cases[] = {{1, 8, 12}, {2, 16, 3}, {1, 4, 12}, {2, 4, 6}, {0, 8, 0}};
  for (const auto& c : cases) {
    MemoryStream out;
    SampleFormat format;
    format.length = 12;
    format.channels = c.channels;
    format.bits = c.bits;
    format.rate = 0;
    AIFFChunkIO().WriteHeader(out, format, kMachineOrder);
    EXPECT_EQ(Big32(Bytes(out), 22), c.frames) << c.channels << "x" << c.bits;
    EXPECT_EQ(Big16(Bytes(out), 28), 0) << "rate 0 is written as zero";
  }
}

TEST(ChunkIO, FindsChunksPastOddAndEmptyOnesWithinTheData) {
  const auto chunk = [](const char* id, const std::string& body) {
    std::string out = std::string(id, 4) + std::string(1, static_cast<char>(body.size())) + std::string(3, '\0') + body;
    if (body.size() & 1) out += '\0';
    return out;
  };
  const struct {
    const char* name;
    std::string chunks;
    bool found;
  } cases[] = {
      {"first", chunk("data", "ab"), true},
      {"after an even chunk", chunk("LIST", "INFO") + chunk("data", "ab"), true},
      {"after an odd chunk and its pad", chunk("note", "odd") + chunk("data", "ab"), true},
      {"after empty chunks", chunk("fact", "") + chunk("LIST", "") + chunk("data", ""), true},
      {"absent", chunk("LIST", "INFO"), false},
      {"beyond a chunk claiming more than there is", std::string("junk\xFF\0\0\0", 8) + chunk("data", "ab"), false},
      {"header cut short", std::string("junk\x02\0\0\0ab") + "dat", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SmartRef<MemoryStream> stream = StreamOf(c.chunks);
    ChunkHeader header;
    EXPECT_EQ(ChunkIO::FindChunk("data", *stream, header, kLittleEndian, kMachineOrder), c.found);
    if (c.found) {
      EXPECT_EQ(stream->GetPosition(), c.chunks.size() - ChunkIO::GetSize(header, kLittleEndian, kMachineOrder));
    }
  }
}

}  // namespace

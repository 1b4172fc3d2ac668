// WAVE and AIFF files made by sox, converted to the other format and read back by sox.
#include <gtest/gtest.h>

#include <fstream>

#include "SoundFilesTestSupport.h"
#include "sound/files/SoundConverter.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

using namespace sound_testing;

namespace {

std::string Convert(const std::string& input) {
  SmartRef<MemoryStream> in = StreamOf(input);
  MemoryStream out;
  if (SoundConverter(kMachineOrder, static_cast<std::uint32_t>(input.size())).Convert(*in, out) != 1) return "";
  return Bytes(out);
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class SoundConverterTest : public SoundFilesTest {};

TEST_F(SoundConverterTest, SoxFilesConvertAndSoxReadsTheSameSamplesBack) {
  const struct {
    const char* fixture;
    std::uint16_t channels, bits;
    std::uint32_t rate;      // as our header gives it
    const char* soxRate;     // as soxi reads our file
  } cases[] = {
      {"mono8-11025.wav", 1, 8, 11127, "11127.3"},  {"stereo16-22050.wav", 2, 16, 22254, "22254.5"},
      {"mono16-44100.wav", 1, 16, 44100, "44100"},  {"mono16-96000.wav", 1, 16, 96000, "96000"},
      {"list-chunk.wav", 2, 16, 22254, "22254.5"},  {"odd-chunk.wav", 1, 8, 11127, "11127.3"},
      {"empty-chunk.wav", 1, 16, 44100, "44100"},   {"mono8-22254.iff", 1, 8, 22050, "22050"},
      {"stereo16-11127.iff", 2, 16, 11025, "11025"}, {"mono16-44100.iff", 1, 16, 44100, "44100"},
      {"stereo8-22050.iff", 2, 8, 22050, "22050"},  {"mono24-22050.iff", 1, 24, 22050, "22050"},
      {"odd-chunk.iff", 1, 16, 44100, "44100"},     {"empty-chunk.iff", 2, 8, 22050, "22050"},
  };
  TempFolder folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    const std::string input = Fixture(c.fixture);
    const std::string output = Convert(input);
    ASSERT_FALSE(output.empty());
    const bool toWave = output.compare(0, 4, "RIFF") == 0;
    EXPECT_EQ(toWave, input.compare(0, 4, "FORM") == 0);
    const auto written = folder.Path() / (toWave ? "out.wav" : "out.aiff");
    WriteFile(written, output);
    if (toWave) {
      EXPECT_EQ(Little16(output, 22), c.channels);
      EXPECT_EQ(Little32(output, 24), c.rate);
      EXPECT_EQ(Little16(output, 34), c.bits);
    } else {
      EXPECT_EQ(Big16(output, 20), c.channels);
      EXPECT_EQ(Big16(output, 26), c.bits);
    }
    const SoxInfo ours = Soxi(written);
    const SoxInfo theirs = Soxi(FixturePath(c.fixture));
    ASSERT_TRUE(ours.read) << "sox cannot read what we wrote";
    EXPECT_EQ(ours.channels, std::to_string(c.channels));
    EXPECT_EQ(ours.rate, c.soxRate);
    EXPECT_EQ(ours.bits, std::to_string(c.bits) + "-bit");
    EXPECT_EQ(ours.samples, theirs.samples);
    const std::string samples = SoxSamples(written);
    EXPECT_FALSE(samples.empty());
    EXPECT_TRUE(samples == SoxSamples(FixturePath(c.fixture))) << "the samples changed";
  }
}

TEST_F(SoundConverterTest, HeadersCountOddLengthsAndTheirPadByte) {
  // 1001 8-bit mono samples at 11025 Hz.
  const std::string aiff = Convert(Fixture("mono8-11025.wav"));
  ASSERT_EQ(aiff.size(), 54u + 1001 + 1);
  EXPECT_EQ(aiff.substr(0, 4), "FORM");
  EXPECT_EQ(Big32(aiff, 4), 1048u);
  EXPECT_EQ(Big32(aiff, 22), 1001u) << "frames";
  EXPECT_EQ(aiff.substr(38, 4), "SSND");
  EXPECT_EQ(Big32(aiff, 42), 1009u);
  EXPECT_EQ(Big32(aiff, 46), 0u);
  EXPECT_EQ(Big32(aiff, 50), 0u);
  EXPECT_EQ(aiff.back(), '\0');
  // 8-bit samples turn signed: each byte less 128.
  const std::string wave = Fixture("mono8-11025.wav");
  for (std::size_t i = 0; i < 1001; ++i)
    ASSERT_EQ(static_cast<unsigned char>(aiff[54 + i]), static_cast<unsigned char>(wave[44 + i] - 128)) << i;

  const std::string back = Convert(aiff);
  ASSERT_EQ(back.size(), 44u + 1001 + 1);
  EXPECT_EQ(Little32(back, 4), 1001u + 1 + 36);
  EXPECT_EQ(Little32(back, 40), 1001u);
  EXPECT_EQ(back.substr(44, 1001), wave.substr(44, 1001));
}

TEST_F(SoundConverterTest, MacintoshRatesComeBackFromAiffThroughWave) {
  for (const char* fixture : {"mono8-22254.iff", "stereo16-11127.iff"}) {
    SCOPED_TRACE(fixture);
    const std::string original = Fixture(fixture);
    SmartRef<Sound> sound = ReadSound(original, Sound::aiff);
    ASSERT_TRUE(sound);
    const std::string aiff = WriteSound(*sound, Sound::aiff);
    const bool high = std::string(fixture).find("22254") != std::string::npos;
    const std::string rate = high ? std::string("\x40\x0D\xAD\xDD\x17\x46\0\0\0\0", 10)
                                  : std::string("\x40\x0C\xAD\xDD\x17\x44\0\0\0\0", 10);
    EXPECT_EQ(aiff.substr(28, 10), rate);
    EXPECT_EQ(aiff.substr(54), original.substr(original.size() - (aiff.size() - 54)));
  }
}

TEST_F(SoundConverterTest, RatesAboveSixteenBitsAreExactBothWays) {
  const std::string aiff = Convert(Fixture("mono16-96000.wav"));
  ASSERT_FALSE(aiff.empty());
  EXPECT_EQ(Big16(aiff, 28), 0x400F);
  EXPECT_EQ(Big32(aiff, 30), 96000u << 15);
  EXPECT_EQ(Little32(Convert(aiff), 24), 96000u);
  // Between 32768 and 65535 Hz the rate is its own first mantissa word.
  const std::string cd = Convert(Fixture("mono16-44100.wav"));
  EXPECT_EQ(Big16(cd, 28), 0x400E);
  EXPECT_EQ(Big16(cd, 30), 44100);
}

// Every one of these gives "Call failed." to the reader, and never reads beyond the bytes it has.
TEST_F(SoundConverterTest, ForeignDamagedAndUnconvertibleFilesAreRefused) {
  const std::string mono = Fixture("mono16-44100.wav");
  std::string noChannels = mono, fourBits = mono, floating = mono, noRate = mono, hugeChunk = mono;
  noChannels[22] = 0;
  fourBits[34] = 4;
  floating[20] = 3;
  noRate.replace(24, 4, std::string(4, '\0'));
  hugeChunk.replace(16, 4, "\xF0\xFF\xFF\xFF");
  const std::string aiff = Fixture("mono16-44100.iff");
  std::string badRate = aiff;
  const std::size_t comm = aiff.find("COMM");
  badRate[comm + 16] = '\xC0';  // a negative rate
  std::string ssndOffset = aiff;
  const std::size_t ssnd = aiff.find("SSND");
  ssndOffset.replace(ssnd + 8, 4, "\x7F\xFF\xFF\xFF");
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"24-bit extensible WAVE", Fixture("mono24-extensible.wav")},
      {"samples cut short", Fixture("truncated-samples.wav")},
      {"header cut short", Fixture("truncated-header.wav")},
      {"AIFF samples cut short", Fixture("truncated-samples.iff")},
      {"no channels", noChannels},
      {"4-bit samples", fourBits},
      {"floating-point samples", floating},
      {"rate 0", noRate},
      {"chunk beyond the file", hugeChunk},
      {"negative AIFF rate", badRate},
      {"SSND offset beyond its chunk", ssndOffset},
      {"a picture", "GIF89a\x01\0\x01\0\0\0\0;"},
      {"nothing", ""},
      {"RIFF alone", "RIFF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Convert(c.bytes), "");
    std::string failure;
    if (c.bytes.compare(0, 4, "FORM") == 0) {
      EXPECT_FALSE(ReadSound(c.bytes, Sound::aiff, &failure));
      EXPECT_EQ(failure, "Call failed.");
      continue;
    }
    // A WAVE image is held as it is; it is refused when it has to become AIFF, and nothing is written.
    SmartRef<Sound> held = ReadSound(c.bytes, Sound::wave);
    ASSERT_TRUE(held);
    MemoryStream out;
    EXPECT_EQ(RaisedText(Raised([&] { held->Write(out, Sound::aiff); })), "Call failed.");
    gLastException = nullptr;
    EXPECT_EQ(out.GetLength(), 0u);
  }
}

}  // namespace

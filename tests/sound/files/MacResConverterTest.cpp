// Macintosh 'snd ' resources built from the Sound Manager's layout (scripts/make-sound-fixtures).
#include <gtest/gtest.h>

#include <fstream>

#include "SoundFilesTestSupport.h"
#include "core/Memory.h"
#include "sound/files/MacResConverter.h"
#include "support/TempFolder.h"

using namespace sound_testing;

namespace {

class MacResConverterTest : public SoundFilesTest {};

// Every resource holds these unsigned samples after its 22-byte sampled-sound header.
std::string Samples(const std::string& resource, std::size_t length) { return resource.substr(resource.size() - length); }

TEST_F(MacResConverterTest, SampledSoundsBecomeWaveThroughAiff) {
  const struct {
    const char* fixture;
    std::uint16_t channels;
    std::uint32_t aiffRate, waveRate;
    std::size_t length;
  } cases[] = {
      {"format1-22254.snd", 1, 22254, 22050, 301}, {"format2-11127.snd", 1, 11127, 11025, 301},
      {"stereo-22254.snd", 2, 22254, 22050, 300},  {"rate-8000.snd", 1, 8000, 8000, 301},
      {"sound-command.snd", 1, 22254, 22050, 301},
  };
  TempFolder folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    const std::string resource = Fixture(c.fixture);
    Memory block(static_cast<std::uint32_t>(resource.size()));
    std::copy(resource.begin(), resource.end(), block.GetData());
    MemoryStream aiff;
    ASSERT_EQ(MacResConverter().Convert(block, aiff), 1);
    const std::string image = Bytes(aiff);
    EXPECT_EQ(image.substr(0, 12), std::string("FORM") + image.substr(4, 4) + "AIFF");
    EXPECT_EQ(Big32(image, 4), c.length + (c.length & 1) + 46);
    EXPECT_EQ(image.size(), 54 + c.length + (c.length & 1)) << "the pad byte the header counts";
    EXPECT_EQ(Big16(image, 20), c.channels);
    EXPECT_EQ(Big32(image, 22), c.length / c.channels);
    EXPECT_EQ(Big16(image, 26), 8);

    SmartRef<Sound> sound = ReadSound(resource, Sound::snd);
    ASSERT_TRUE(sound);
    const std::string wave = Bytes(sound->GetData());
    EXPECT_EQ(Little16(wave, 22), c.channels);
    EXPECT_EQ(Little32(wave, 24), c.waveRate);
    EXPECT_EQ(Little32(wave, 40), c.length);
    // Unsigned in the resource, signed in AIFF, unsigned again in WAVE: the same bytes.
    EXPECT_EQ(wave.substr(44, c.length), Samples(resource, c.length));
    std::ofstream(folder.Path() / "out.wav", std::ios::binary) << wave;
    const SoxInfo info = Soxi(folder.Path() / "out.wav");
    EXPECT_EQ(info.channels, std::to_string(c.channels));
    EXPECT_EQ(info.samples, std::to_string(c.length / c.channels));
  }
}

TEST_F(MacResConverterTest, ResourcesWithoutAUsableSoundAreRefused) {
  for (const char* fixture : {"no-offset-flag.snd", "sample-pointer.snd", "rate-zero.snd", "extended-header.snd",
                              "length-beyond.snd", "format-3.snd", "truncated.snd"}) {
    SCOPED_TRACE(fixture);
    std::string failure;
    EXPECT_FALSE(ReadSound(Fixture(fixture), Sound::snd, &failure));
    EXPECT_EQ(failure, "Call failed.");
  }
  // Every cut of a good resource is refused or converted, never read beyond.
  const std::string whole = Fixture("format1-22254.snd");
  for (std::size_t size = 0; size < whole.size(); ++size) {
    Memory block(static_cast<std::uint32_t>(size));
    std::copy(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size), block.GetData());
    MemoryStream aiff;
    ASSERT_EQ(MacResConverter().Convert(block, aiff), 0) << size;
    EXPECT_EQ(aiff.GetLength(), 0u);
  }
}

}  // namespace

#include <gtest/gtest.h>

#include <filesystem>

#include "core/Memory.h"
#include "core/Sound.h"
#include "core/Stream.h"
#include "platform/kernel/Errors.h"
#include "platform/media/Mmsystem.h"
#include "sound/Seams.h"
#include "sound/SoundChannel.h"
#include "support/AlertRecorder.h"
#include "support/DiskAudio.h"
#include "support/graphics/GraphicsFixture.h"

namespace {

const char* const kDeviceFormat = "-r 22050 -c 1 -b 8 -e unsigned-integer";

SmartRef<Sound> SoundOf(const std::string& image) {
  MemoryStream stream(static_cast<std::uint32_t>(image.size()));
  stream.Write(image.data(), static_cast<std::uint32_t>(image.size()));
  return new Sound(stream, Sound::wave, false);
}


class SoundChannelTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    InstallSoundSeams();
    folder.MakeFolder("Data");
    Prepare(32, Win95, folder.WinPath());
    first = SoxWave(kDeviceFormat, "synth 1.5 sine 440");
    second = SoxWave(kDeviceFormat, "synth 0.2 square 300");
    ASSERT_FALSE(first.empty()) << "sox";
  }
  void TearDown() override {
    gCurrentSoundChannel = nullptr;
    gSoundMuted = false;
    GraphicsFixture::TearDown();
  }

  // Plays both sounds through Sound::Play and answers what the voice wrote.
  std::string PlayBoth(DiskAudio& audio) {
    EXPECT_TRUE(SoundOf(first)->Play(0));
    SoundChannel* firstChannel = ~gCurrentSoundChannel;
    const UINT_PTR firstTimer = firstChannel->GetTimerId();
    EXPECT_TRUE(SoundOf(second)->Play(0));
    EXPECT_NE(~gCurrentSoundChannel, firstChannel);
    EXPECT_EQ(FindChoreByTimer(firstTimer), nullptr) << "the first channel went with its chore";
    EXPECT_TRUE(gCurrentSoundChannel->IsPlaying());
    EXPECT_TRUE(DiskAudio::WaitUntilQuiet(3000));
    return audio.Played();
  }

  TempFolder folder;
  std::string first, second;
};

TEST_F(SoundChannelTest, TwoSoundsInARowCutTheFirst) {
  DiskAudio audio(DiskAudio::Pace::realTime);
  const std::string played = PlayBoth(audio);
  const std::string a = WaveSamples(first), b = WaveSamples(second);
  const std::size_t cut = SecondAfterPrefixOfFirst(played, a, b);
  ASSERT_NE(cut, std::string::npos) << played.size() << " bytes played";
  EXPECT_LT(cut, a.size());
  EXPECT_EQ(played.find_first_not_of('\x80', cut + b.size()), std::string::npos) << "silence after";
  // The sound has long ended; the channel still counts as started until it is stopped.
  EXPECT_TRUE(gCurrentSoundChannel->IsPlaying());
  gCurrentSoundChannel->Stop();
  EXPECT_FALSE(gCurrentSoundChannel->IsPlaying());
}

TEST_F(SoundChannelTest, MutedNothingPlaysYetTheChannelIsReplaced) {
  DiskAudio audio(DiskAudio::Pace::realTime);
  gSoundMuted = true;
  SmartRef<Sound> sound = SoundOf(first);
  EXPECT_TRUE(SoundOf(second)->Play(0) == false);
  SoundChannel* before = ~gCurrentSoundChannel;
  ASSERT_NE(before, nullptr);
  EXPECT_FALSE(sound->Play(0));
  EXPECT_NE(~gCurrentSoundChannel, before);
  EXPECT_EQ(gCurrentSoundChannel->GetSound(), ~sound);
  EXPECT_FALSE(gCurrentSoundChannel->IsPlaying());
  EXPECT_EQ(audio.Played(), "");
}

TEST_F(SoundChannelTest, OnALimitedSystemEachSoundGoesThroughATemporaryFileInData) {
  Prepare(32, Win31Only, folder.WinPath());
  // Stale files under every name the counter may reach: the two used are overwritten, played and deleted.
  for (int n = 1; n <= 40; ++n) folder.Write("Data/tmp" + std::to_string(n) + ".wav", "stale");
  DiskAudio audio(DiskAudio::Pace::realTime);
  const std::string played = PlayBoth(audio);
  std::vector<int> gone;
  for (int n = 1; n <= 40; ++n) {
    if (!std::filesystem::exists(folder.Path() / "Data" / ("tmp" + std::to_string(n) + ".wav"))) gone.push_back(n);
  }
  ASSERT_EQ(gone.size(), 2u);
  EXPECT_EQ(gone[1], gone[0] + 1);
  EXPECT_NE(SecondAfterPrefixOfFirst(played, WaveSamples(first), WaveSamples(second)), std::string::npos);
}

TEST_F(SoundChannelTest, FailuresOfTheVoiceAreNeitherReportedNorLeftBehind) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  platform::CloseAudioDevices();
  AlertRecorder alerts;
  std::string damaged = second;
  damaged[4] = '\xFF';  // a RIFF length far beyond the data
  for (const std::string& image : {first, damaged, std::string("not a sound at all")}) {
    SetLastError(0);
    EXPECT_TRUE(SoundOf(image)->Play(0));
    EXPECT_EQ(GetLastError(), 0u);
  }
  EXPECT_TRUE(alerts.Alerts().empty());
  unsetenv("SDL_AUDIODRIVER");
  platform::CloseAudioDevices();
}

TEST_F(SoundChannelTest, AMissingSoundOrTemporaryFileIsAWarning) {
  AlertRecorder alerts;
  SmartRef<SoundChannel> empty = new SoundChannel(nullptr);
  EXPECT_FALSE(empty->Play(true));
  EXPECT_FALSE(empty->IsPlaying());
  // A limited system without its "Data" folder cannot write the temporary file.
  std::filesystem::remove_all(folder.Path() / "Data");
  Prepare(32, Win31Only, folder.WinPath());
  EXPECT_FALSE(SoundOf(first)->Play(0));
  ASSERT_EQ(alerts.Alerts().size(), 2u);
  EXPECT_EQ(alerts.Alerts()[0].type & MB_ICONMASK, MB_ICONEXCLAMATION) << alerts.Alerts()[0].text;
}

TEST_F(SoundChannelTest, PlaySoundIgnoresANullSound) {
  PlaySound(nullptr);
  EXPECT_EQ(~gCurrentSoundChannel, nullptr);
}

}  // namespace

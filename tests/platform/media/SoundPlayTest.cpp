#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "platform/kernel/Errors.h"
#include "platform/media/Mmsystem.h"
#include "support/DiskAudio.h"

namespace {

// Sounds already in the voice's format, so that what is played compares byte for byte.
const char* const kDeviceFormat = "-r 22050 -c 1 -b 8 -e unsigned-integer";


bool AllSilence(const std::string& bytes, std::size_t from) {
  return bytes.find_first_not_of('\x80', from) == std::string::npos;
}

TEST(SoundPlay, ASecondSoundCutsTheFirstAndSilenceFollows) {
  const std::string first = SoxWave(kDeviceFormat, "synth 1.5 sine 440");
  const std::string second = SoxWave(kDeviceFormat, "synth 0.2 square 300");
  ASSERT_FALSE(first.empty()) << "sox";
  DiskAudio audio(DiskAudio::Pace::realTime);
  {
    // The caller frees each image at once: the voice plays copies.
    auto image = std::make_unique<std::string>(first);
    ASSERT_TRUE(sndPlaySoundA(image->data(), SND_ASYNC | SND_NODEFAULT | SND_MEMORY));
    image = std::make_unique<std::string>(second);
    ASSERT_TRUE(sndPlaySoundA(image->data(), SND_ASYNC | SND_NODEFAULT | SND_MEMORY));
  }
  ASSERT_TRUE(DiskAudio::WaitUntilQuiet(3000));
  const std::string played = audio.Played();
  const std::string a = WaveSamples(first), b = WaveSamples(second);
  const std::size_t cut = SecondAfterPrefixOfFirst(played, a, b);
  ASSERT_NE(cut, std::string::npos) << "played " << played.size() << " bytes";
  EXPECT_LT(cut, a.size() / 2) << "the first sound was cut short";
  EXPECT_TRUE(AllSilence(played, cut + b.size()));
}

TEST(SoundPlay, FilesInOtherFormatsAreConvertedToTheVoice) {
  TempFolder folder;
  const std::string stereo = SoxWave("-r 44100 -c 2 -b 16", "synth 0.5 sine 440");
  const std::string path = folder.Write("stereo.wav", stereo);
  DiskAudio audio(DiskAudio::Pace::unpaced);
  ASSERT_TRUE(sndPlaySoundA(path.c_str(), SND_ASYNC | SND_NODEFAULT));
  ASSERT_TRUE(DiskAudio::WaitUntilQuiet(3000));
  const std::string played = audio.Played();
  // Half a second at the voice's rate, then silence; not silent itself.
  const std::size_t end = played.find_last_not_of('\x80') + 1;
  EXPECT_NEAR(static_cast<double>(end), 11025.0, 11025.0 * 0.02);
  EXPECT_GT(std::count_if(played.begin(), played.begin() + end, [](char c) { return static_cast<unsigned char>(c) > 0xC0; }), 1000);
}

TEST(SoundPlay, WhatCannotBePlayedAnswersFalseAndPlaysNothing) {
  TempFolder folder;
  const std::string sound = SoxWave(kDeviceFormat, "synth 0.1 sine 440");
  const std::string notWave = folder.Write("texte.wav", "ceci n'est pas un son");
  std::string noData = sound.substr(0, 36);
  noData[4] = 28;  // RIFF length of the header alone: a "fmt " chunk and nothing to play
  noData[5] = noData[6] = noData[7] = 0;
  const struct {
    const char* name;
    const char* sound;
    UINT flags;
  } cases[] = {
      {"missing file", "absent.wav", SND_ASYNC | SND_NODEFAULT},
      {"not a WAVE file", notWave.c_str(), SND_ASYNC | SND_NODEFAULT},
      {"memory that is no RIFF image", "RIFX\x04\0\0\0WAVE", SND_ASYNC | SND_NODEFAULT | SND_MEMORY},
      {"image without samples", noData.c_str(), SND_ASYNC | SND_NODEFAULT | SND_MEMORY},
      {"synchronous play", sound.data(), SND_SYNC | SND_NODEFAULT | SND_MEMORY},
      {"looping play", sound.data(), SND_ASYNC | SND_LOOP | SND_MEMORY},
  };
  DiskAudio audio(DiskAudio::Pace::unpaced);
  for (const auto& c : cases) EXPECT_FALSE(sndPlaySoundA(c.sound, c.flags)) << c.name;
  EXPECT_EQ(audio.Played().find_first_not_of('\x80'), std::string::npos);
}

TEST(SoundPlay, WithoutASoundDeviceEverythingFailsQuietly) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  platform::CloseAudioDevices();
  const std::string sound = SoxWave(kDeviceFormat, "synth 0.1 sine 440");
  EXPECT_FALSE(sndPlaySoundA(sound.data(), SND_ASYNC | SND_NODEFAULT | SND_MEMORY));
  EXPECT_TRUE(sndPlaySoundA(nullptr, SND_NODEFAULT)) << "stopping nothing is no failure";
  PCMWAVEFORMAT format{WAVE_FORMAT_PCM, 1, 22050, 22050, 1, 8};
  HWAVEIN in = nullptr;
  HWAVEOUT out = nullptr;
  EXPECT_EQ(waveInOpen(&in, WAVE_MAPPER, reinterpret_cast<WAVEFORMATEX*>(&format), 0, 0, WAVE_ALLOWSYNC), MMSYSERR_NODRIVER);
  EXPECT_EQ(waveOutOpen(&out, WAVE_MAPPER, reinterpret_cast<WAVEFORMATEX*>(&format), 0, 0, WAVE_ALLOWSYNC), MMSYSERR_NODRIVER);
  unsetenv("SDL_AUDIODRIVER");
  platform::CloseAudioDevices();
}

}  // namespace

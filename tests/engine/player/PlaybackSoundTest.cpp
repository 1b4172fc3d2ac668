// The sounds of a played page reach the sound device, frame after frame; muted, nothing does.
#include <gtest/gtest.h>

#include "core/Sound.h"
#include "engine/links/CLink.h"
#include "engine/player/CChorePlay.h"
#include "engine/player/PlayerTestSupport.h"
#include "sound/SoundChannel.h"
#include "support/DiskAudio.h"

using namespace engine_test;

namespace {

const char* const kDeviceFormat = "-r 22050 -c 1 -b 8 -e unsigned-integer";


class PlaybackSoundTest : public PlayerTest {
 protected:
  void SetUp() override {
    PlayerTest::SetUp();
    for (const char* effect : {"synth 0.15 sine 440", "synth 0.1 square 300", "synth 0.12 sine 880"})
      images.push_back(SoxWave(kDeviceFormat, effect));
    ASSERT_FALSE(images.back().empty()) << "sox";
    // Three frames at rate 15, each with a sound of its own.
    Open(MakePage(defaultMovieBounds, 3));
    for (std::int16_t f = 0; f < 3; ++f) page->GetMovieGroup()->SetSound(f, 1, ~MakeSound(images[f]));
  }
  void TearDown() override {
    gSoundMuted = false;
    gCurrentSoundChannel = nullptr;
    PlayerTest::TearDown();
  }
  std::vector<std::string> images;
};

TEST_F(PlaybackSoundTest, FrameSoundsReachTheDeviceInFrameOrder) {
  DiskAudio audio;
  player->Play(true);
  for (int step = 0; step < 2; ++step) {
    // Each sound is let play to its end before the clock moves the page on.
    ASSERT_TRUE(DiskAudio::WaitUntilQuiet(3000));
    RunUntilChange(400);
  }
  ASSERT_TRUE(DiskAudio::WaitUntilQuiet(3000));
  EXPECT_EQ(player->GetCurrentFrame(), 2);
  player->Stop();
  const std::string played = audio.Played();
  std::size_t at = 0;
  for (std::size_t i = 0; i < images.size(); ++i) {
    const std::size_t found = played.find(WaveSamples(images[i]), at);
    ASSERT_NE(found, std::string::npos) << "sound " << i << " after byte " << at << " of " << played.size();
    at = found + WaveSamples(images[i]).size();
  }
}

TEST_F(PlaybackSoundTest, MutedNothingPlaysAndAFrameHeldWhileTracksPlayMovesOnAtTheRate) {
  DiskAudio audio;
  gSoundMuted = true;
  page->GetMovieGroup()->SetLink(0, 1, ~MakeLink(CLink::kNext, CChorePlay::kHoldWhileTracks));
  player->Play(true);
  EXPECT_EQ(RunUntilChange(1000), 250u);
  EXPECT_EQ(player->GetCurrentFrame(), 1);
  player->Stop();
  EXPECT_EQ(audio.Played().find_first_not_of('\x80'), std::string::npos) << "silence at most";
}

TEST_F(PlaybackSoundTest, WithSoundOnAFrameHeldWhileTracksPlayWaitsForAClick) {
  DiskAudio audio;
  page->GetMovieGroup()->SetLink(0, 1, ~MakeLink(CLink::kNext, CChorePlay::kHoldWhileTracks));
  player->Play(true);
  // A started channel counts as playing until something stops it: the frame holds.
  RunFor(2000);
  EXPECT_EQ(player->GetCurrentFrame(), 0);
  EXPECT_TRUE(player->IsPlaying());
  player->Stop();
}

}  // namespace

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platform/kernel/Files.h"
#include "platform/user/Cursor.h"
#include "sound/SoundRecorder.h"
#include "support/DiskAudio.h"
#include "support/graphics/GraphicsFixture.h"

namespace {

std::uint32_t U32(const std::string& bytes, std::size_t at) {
  std::uint32_t v;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}

// The recorder in a folder of its own, as the dialog drives it: through its exported entry.
class SoundRecorderTest : public GraphicsFixture {
 protected:
  void SetUp() override { Prepare(32, Win95, folder.WinPath()); }
  void TearDown() override {
    Send(1);
    GraphicsFixture::TearDown();
  }
  LONG Send(LONG command) { return OrSoundProc(text, command); }
  // Polls as the dialog does until the recorder is idle again; false when it never is.
  bool PollUntilIdle(int boundMs = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
    while (Send(7) != 0) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }
  std::string Saved() const {
    return std::filesystem::exists(folder.Path() / "QLRec.wav") ? folder.Read("QLRec.wav") : "";
  }

  TempFolder folder;
  char text[256] = "";
};

TEST_F(SoundRecorderTest, CommandsInEachState) {
  const std::string capture = Ramp(70000);
  struct Case {
    const char* name;
    bool recordFirst, playFirst;
    LONG command;
    bool settle;  // polled until idle afterwards
    LONG mode;
    LONG length;
  } cases[] = {
      {"play with nothing recorded", false, false, 2, false, 0, 0},
      {"save with nothing recorded", false, false, 5, false, 0, 0},
      {"a full recording", false, false, 3, true, 0, 66150},
      {"record while playing", true, true, 3, false, 1, 66150},
      {"stop while playing", true, true, 4, false, 0, 66150},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DiskAudio audio;
    audio.SetCapture(capture);
    EXPECT_EQ(Send(6), 0) << "a new recorder has recorded nothing";
    if (c.recordFirst) {
      Send(3);
      ASSERT_TRUE(PollUntilIdle());
    }
    if (c.playFirst) {
      // Played back in real time, so that the playback is still going when the command comes.
      DiskAudio::SetPace(DiskAudio::Pace::realTime);
      Send(2);
      ASSERT_EQ(Send(7), 1);
    }
    EXPECT_EQ(Send(c.command), 0);
    if (c.settle) {
      EXPECT_TRUE(PollUntilIdle());
    }
    EXPECT_EQ(Send(7), c.mode);
    EXPECT_EQ(Send(6), c.length);
    EXPECT_EQ(Saved(), "");
    EXPECT_STREQ(text, "");
    Send(1);
  }
}

TEST_F(SoundRecorderTest, ASavedRecordingHoldsWhatTheDeviceDelivered) {
  for (bool full : {true, false}) {
    SCOPED_TRACE(full ? "full" : "stopped early");
    DiskAudio audio(full ? DiskAudio::Pace::unpaced : DiskAudio::Pace::realTime);
    const std::string capture = Ramp(70000);
    audio.SetCapture(capture);
    Send(3);
    EXPECT_EQ(Send(7), 2);
    if (full) {
      ASSERT_TRUE(PollUntilIdle());
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(400));
      Send(4);
    }
    const LONG n = Send(6);
    if (full) {
      EXPECT_EQ(n, 66150);
    }
    EXPECT_GT(n, 0);
    Send(5);
    const std::string file = Saved();
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(WaveSamples(file), capture.substr(0, static_cast<std::size_t>(n)));
    // "fmt " (16 bytes), then "fact" with the sample count, then "data".
    EXPECT_EQ(file.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(U32(file, 16), 16u);
    EXPECT_EQ(file.substr(36, 4), "fact");
    EXPECT_EQ(U32(file, 40), 4u);
    EXPECT_EQ(U32(file, 44), static_cast<std::uint32_t>(n));
    EXPECT_EQ(file.substr(48, 4), "data");
    std::string info;
    const std::string path = (folder.Path() / "QLRec.wav").string();
    ASSERT_EQ(RunPeer("/usr/bin/soxi '" + path + "'", &info), 0) << "sox reads it";
    EXPECT_NE(info.find("22050"), std::string::npos) << info;
    EXPECT_NE(info.find("8-bit Unsigned Integer PCM"), std::string::npos) << info;
    ASSERT_EQ(RunPeer("/usr/bin/soxi -s '" + path + "'", &info), 0);
    EXPECT_EQ(std::stol(info), n);
    EXPECT_STREQ(text, "");
    Send(1);
    std::filesystem::remove(folder.Path() / "QLRec.wav");
  }
}

TEST_F(SoundRecorderTest, TheSampleCountIsExactForEveryLength) {
  const PCMWAVEFORMAT mono8{WAVE_FORMAT_PCM, 1, 22050, 22050, 1, 8};
  const PCMWAVEFORMAT stereo16{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16};
  // Lengths whose quotient by the rate, taken in floating point, multiplies back one short.
  const struct {
    DWORD bytes;
    const PCMWAVEFORMAT& format;
    DWORD samples;
  } cases[] = {{0, mono8, 0}, {15, mono8, 15}, {46, mono8, 46}, {22049, mono8, 22049}, {66150, mono8, 66150},
               {4, stereo16, 1}, {7, stereo16, 1}};
  for (const auto& c : cases) EXPECT_EQ(SoundRecorder::SampleCount(c.bytes, c.format), c.samples) << c.bytes;
}

TEST_F(SoundRecorderTest, WithoutASoundDeviceTheFirstErrorStaysAndNothingHangs) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  platform::CloseAudioDevices();
  EXPECT_EQ(Send(7), 0);
  EXPECT_STREQ(text, "Error 6 in SoundRecorder Line 316");
  Send(3);
  EXPECT_EQ(Send(7), 2) << "recording, as far as the recorder knows";
  Send(4);
  EXPECT_EQ(Send(7), 3) << "the stop failed";
  EXPECT_STREQ(text, "Error 6 in SoundRecorder Line 316") << "the first error stays";
  // Cleared, the buffer takes the next error.
  text[0] = '\0';
  Send(3);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(Send(7), 3) << "stuck stopping: nothing starts";
  const auto before = std::chrono::steady_clock::now();
  Send(1);
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2)) << "deleting a stuck recorder";
  unsetenv("SDL_AUDIODRIVER");
  platform::CloseAudioDevices();
}

TEST_F(SoundRecorderTest, ASaveThatCannotOpenItsFileSaysSoAndLeavesTheCursor) {
  DiskAudio audio;
  audio.SetCapture(Ramp(1000));
  Send(3);
  ASSERT_TRUE(PollUntilIdle());
  std::filesystem::create_directory(folder.Path() / "QLRec.wav");
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  SetCursor(arrow);
  Send(5);
  EXPECT_STREQ(text, "Error 5 in SoundRecorder Line 204");
  EXPECT_EQ(GetCursor(), arrow);
}

}  // namespace

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/media/Mmio.h"
#include "platform/media/Mmsystem.h"
#include "support/DiskAudio.h"

namespace {

const PCMWAVEFORMAT kFormat{WAVE_FORMAT_PCM, 1, 22050, 22050, 1, 8};
const WAVEFORMATEX* Format() { return reinterpret_cast<const WAVEFORMATEX*>(&kFormat); }

bool IsDone(const WAVEHDR& header) {
  return std::atomic_ref<const DWORD>(header.dwFlags).load(std::memory_order_acquire) & WHDR_DONE;
}

bool WaitUntilDone(const WAVEHDR& header, int boundMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
  while (!IsDone(header)) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

struct Buffer {
  explicit Buffer(DWORD size) : bytes(size) {
    header.lpData = bytes.data();
    header.dwBufferLength = size;
  }
  std::vector<char> bytes;
  WAVEHDR header{};
};

TEST(WaveIn, AFullBufferHoldsTheCaptureFromItsStartAndIsMarkedDone) {
  DiskAudio audio;
  const std::string capture = Ramp(30000);
  audio.SetCapture(capture);
  HWAVEIN in = nullptr;
  ASSERT_EQ(waveInOpen(&in, WAVE_MAPPER, Format(), 0, 0, WAVE_ALLOWSYNC), MMSYSERR_NOERROR);
  Buffer buffer(22050);
  ASSERT_EQ(waveInPrepareHeader(in, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  ASSERT_EQ(waveInAddBuffer(in, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  // Nothing is taken before the start, however long the device stays open.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(IsDone(buffer.header));
  EXPECT_EQ(waveInUnprepareHeader(in, &buffer.header, sizeof(WAVEHDR)), WAVERR_STILLPLAYING);
  EXPECT_EQ(waveInClose(in), WAVERR_STILLPLAYING);
  ASSERT_EQ(waveInStart(in), MMSYSERR_NOERROR);
  ASSERT_TRUE(WaitUntilDone(buffer.header, 5000));
  EXPECT_EQ(buffer.header.dwBytesRecorded, 22050u);
  EXPECT_EQ(std::string(buffer.bytes.data(), 22050), capture.substr(0, 22050));
  EXPECT_EQ(waveInReset(in), MMSYSERR_NOERROR);
  EXPECT_EQ(waveInUnprepareHeader(in, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  EXPECT_EQ(waveInClose(in), MMSYSERR_NOERROR);
  EXPECT_EQ(waveInStart(in), MMSYSERR_INVALHANDLE) << "a closed handle";
}

TEST(WaveIn, StoppingMarksThePartlyFilledBufferDoneWithWhatItHolds) {
  DiskAudio audio(DiskAudio::Pace::realTime);
  const std::string capture = Ramp(66150);
  audio.SetCapture(capture);
  HWAVEIN in = nullptr;
  ASSERT_EQ(waveInOpen(&in, WAVE_MAPPER, Format(), 0, 0, WAVE_ALLOWSYNC), MMSYSERR_NOERROR);
  Buffer buffer(66150);
  waveInPrepareHeader(in, &buffer.header, sizeof(WAVEHDR));
  waveInAddBuffer(in, &buffer.header, sizeof(WAVEHDR));
  waveInStart(in);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  ASSERT_EQ(waveInStop(in), MMSYSERR_NOERROR);
  EXPECT_TRUE(IsDone(buffer.header));
  const DWORD n = buffer.header.dwBytesRecorded;
  EXPECT_GT(n, 0u);
  EXPECT_LT(n, 66150u);
  EXPECT_EQ(std::string(buffer.bytes.data(), n), capture.substr(0, n));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(buffer.header.dwBytesRecorded, n) << "nothing arrives after the stop";
  EXPECT_EQ(waveInClose(in), MMSYSERR_NOERROR);
}

TEST(WaveIn, RefusesWhatItCannotTake) {
  DiskAudio audio;
  HWAVEIN in = nullptr;
  const struct {
    const char* name;
    PCMWAVEFORMAT format;
    MMRESULT result;
  } cases[] = {
      {"not PCM", {3, 1, 22050, 88200, 4, 32}, WAVERR_BADFORMAT},
      {"24 bits", {WAVE_FORMAT_PCM, 1, 22050, 66150, 3, 24}, WAVERR_BADFORMAT},
      {"block alignment that does not match", {WAVE_FORMAT_PCM, 2, 22050, 44100, 1, 8}, WAVERR_BADFORMAT},
      {"no rate", {WAVE_FORMAT_PCM, 1, 0, 0, 1, 8}, WAVERR_BADFORMAT},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(waveInOpen(&in, WAVE_MAPPER, reinterpret_cast<const WAVEFORMATEX*>(&c.format), 0, 0, 0), c.result) << c.name;
    EXPECT_EQ(waveOutOpen(nullptr, WAVE_MAPPER, reinterpret_cast<const WAVEFORMATEX*>(&c.format), 0, 0, WAVE_FORMAT_QUERY), c.result) << c.name;
  }
  EXPECT_EQ(waveInOpen(&in, 5, Format(), 0, 0, 0), MMSYSERR_BADDEVICEID);
  EXPECT_EQ(waveInOpen(&in, WAVE_MAPPER, Format(), 1234, 0, 0), MMSYSERR_INVALFLAG) << "no callbacks";
  ASSERT_EQ(waveInOpen(&in, WAVE_MAPPER, Format(), 0, 0, 0), MMSYSERR_NOERROR);
  Buffer buffer(100);
  EXPECT_EQ(waveInAddBuffer(in, &buffer.header, sizeof(WAVEHDR)), WAVERR_UNPREPARED);
  int notAHandle = 0;
  EXPECT_EQ(waveInStart(reinterpret_cast<HWAVEIN>(&notAHandle)), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(waveOutReset(nullptr), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(waveInClose(in), MMSYSERR_NOERROR);
}

TEST(WaveOut, AWrittenBufferPlaysWholeAndIsMarkedDone) {
  DiskAudio audio(DiskAudio::Pace::realTime);
  HWAVEOUT out = nullptr;
  ASSERT_EQ(waveOutOpen(&out, WAVE_MAPPER, Format(), 0, 0, WAVE_ALLOWSYNC), MMSYSERR_NOERROR);
  Buffer buffer(4410);
  const std::string samples = Ramp(4410);
  std::memcpy(buffer.bytes.data(), samples.data(), samples.size());
  EXPECT_EQ(waveOutWrite(out, &buffer.header, sizeof(WAVEHDR)), WAVERR_UNPREPARED);
  ASSERT_EQ(waveOutPrepareHeader(out, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  ASSERT_EQ(waveOutWrite(out, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutClose(out), WAVERR_STILLPLAYING);
  ASSERT_TRUE(WaitUntilDone(buffer.header, 3000));
  EXPECT_EQ(waveOutUnprepareHeader(out, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
  EXPECT_EQ(waveOutClose(out), MMSYSERR_NOERROR);
  EXPECT_EQ(audio.Played().substr(0, samples.size()), samples);
}

TEST(WaveOut, ResetOrANewSoundCutsTheBufferAndMarksItDone) {
  const std::string sound = SoxWave("-r 22050 -c 1 -b 8 -e unsigned-integer", "synth 0.1 sine 440");
  for (bool bySound : {false, true}) {
    DiskAudio audio(DiskAudio::Pace::realTime);
    HWAVEOUT out = nullptr;
    ASSERT_EQ(waveOutOpen(&out, WAVE_MAPPER, Format(), 0, 0, 0), MMSYSERR_NOERROR);
    Buffer buffer(66150);
    waveOutPrepareHeader(out, &buffer.header, sizeof(WAVEHDR));
    ASSERT_EQ(waveOutWrite(out, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    if (bySound) {
      ASSERT_TRUE(sndPlaySoundA(sound.data(), SND_ASYNC | SND_NODEFAULT | SND_MEMORY));
    } else {
      EXPECT_EQ(waveOutReset(out), MMSYSERR_NOERROR);
    }
    EXPECT_TRUE(IsDone(buffer.header)) << bySound;
    EXPECT_EQ(waveOutClose(out), MMSYSERR_NOERROR);
  }
}

// RIFF chunk writing, checked byte for byte and by sox.
TEST(Mmio, ChunksGetTheirSizesAndAnOddChunkIsPadded) {
  TempFolder folder;
  std::string path = folder.WinPath("made.wav");
  HMMIO file = mmioOpenA(path.data(), nullptr, MMIO_CREATE | MMIO_READWRITE | MMIO_ALLOCBUF);
  ASSERT_NE(file, nullptr);
  MMCKINFO riff{};
  riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  ASSERT_EQ(mmioCreateChunk(file, &riff, MMIO_CREATERIFF), MMSYSERR_NOERROR);
  MMCKINFO format{mmioFOURCC('f', 'm', 't', ' '), 16, 0, 0, 0};
  ASSERT_EQ(mmioCreateChunk(file, &format, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(mmioWrite(file, reinterpret_cast<const char*>(&kFormat), 16), 16);
  ASSERT_EQ(mmioAscend(file, &format, 0), MMSYSERR_NOERROR);
  MMCKINFO data{mmioFOURCC('d', 'a', 't', 'a'), 0, 0, 0, 0};
  ASSERT_EQ(mmioCreateChunk(file, &data, 0), MMSYSERR_NOERROR);
  const std::string samples = Ramp(2205);  // odd
  EXPECT_EQ(mmioWrite(file, samples.data(), 2205), 2205);
  ASSERT_EQ(mmioAscend(file, &data, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(data.cksize, 2205u);
  ASSERT_EQ(mmioAscend(file, &riff, 0), MMSYSERR_NOERROR);
  ASSERT_EQ(mmioClose(file, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(mmioClose(file, 0), MMSYSERR_INVALHANDLE);

  const std::string bytes = folder.Read("made.wav");
  ASSERT_EQ(bytes.size(), 12u + 24u + 8u + 2206u);
  const auto u32 = [&](std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
  };
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(u32(4), bytes.size() - 8);
  EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(u32(16), 16u);
  EXPECT_EQ(u32(40), 2205u);
  EXPECT_EQ(bytes.back(), '\0') << "pad byte";
  EXPECT_EQ(WaveSamples(bytes), samples);
  std::string info;
  ASSERT_EQ(RunPeer("/usr/bin/soxi -s '" + (folder.Path() / "made.wav").string() + "'", &info), 0);
  EXPECT_EQ(std::stoi(info), 2205);
}

TEST(Mmio, AFileThatCannotBeMadeIsANullHandle) {
  TempFolder folder;
  std::string path = folder.WinPath("absent\\made.wav");
  EXPECT_EQ(mmioOpenA(path.data(), nullptr, MMIO_CREATE | MMIO_READWRITE), nullptr);
  EXPECT_NE(GetLastError(), 0u);
  MMCKINFO chunk{};
  EXPECT_EQ(mmioCreateChunk(nullptr, &chunk, MMIO_CREATERIFF), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(mmioWrite(nullptr, "x", 1), -1);
}

}  // namespace

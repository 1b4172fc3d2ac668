#include "sound/SoundRecorder.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/kernel/Errors.h"
#include "platform/kernel/System.h"
#include "platform/media/Mmio.h"
#include "platform/media/Mmsystem.h"
#include "platform/user/Cursor.h"

namespace {

// The places that error texts name, one per device or file step; users quote them to us, so they keep
// their numbers whatever becomes of this file.
enum Place : int {
  kOutOpen = 121, kOutPrepare = 126, kOutWrite = 129,
  kInStart = 144,
  kOutReset = 164, kOutUnprepare = 166, kOutClose = 168, kInStop = 173,
  kFileOpen = 204, kRiffCreate = 211, kFormatCreate = 216, kFormatWrite = 219, kFormatAscend = 222,
  kFactCreate = 228, kFactWrite = 235, kFactAscend = 238, kDataCreate = 243, kDataWrite = 248,
  kDataAscend = 251, kRiffAscend = 254, kFileClose = 257,
  kInOpen = 316, kInPrepare = 319, kInAddBuffer = 322,
  kInReset = 330, kInUnprepare = 333, kInClose = 336,
};

SoundRecorder* gRecorder = nullptr;

}  // namespace

struct SoundRecorder::DeviceRecord {
  HWAVEIN input = nullptr;
  HWAVEOUT output = nullptr;
  PCMWAVEFORMAT format{};
  HGLOBAL headerBlock = nullptr;
  HGLOBAL sampleBlock = nullptr;
  WAVEHDR* header = nullptr;
  char* samples = nullptr;
  DWORD bufferSize = 0;

  const WAVEFORMATEX* Format() const { return reinterpret_cast<const WAVEFORMATEX*>(&format); }
  // The device thread sets the done flag; read it as the device wrote it.
  bool IsDone() const { return std::atomic_ref<DWORD>(header->dwFlags).load(std::memory_order_acquire) & WHDR_DONE; }
};

SoundRecorder::SoundRecorder(int seconds, char* text) : device(std::make_unique<DeviceRecord>()), textBuffer(text) {
  PCMWAVEFORMAT& format = device->format;
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = kRate;
  format.nAvgBytesPerSec = kRate;
  format.nBlockAlign = 1;
  format.wBitsPerSample = 8;
  device->bufferSize = static_cast<DWORD>(seconds) * kRate;
  device->sampleBlock = GlobalAlloc(GHND, device->bufferSize);
  device->headerBlock = GlobalAlloc(GHND, sizeof(WAVEHDR));
  device->samples = static_cast<char*>(GlobalLock(device->sampleBlock));
  device->header = static_cast<WAVEHDR*>(GlobalLock(device->headerBlock));
  device->header->lpData = device->samples;
  device->header->dwBufferLength = device->bufferSize;
  sndPlaySoundA(nullptr, SND_NODEFAULT);
  OpenInput();
}

SoundRecorder::~SoundRecorder() {
  // A recording or playback ends by itself within the buffer's length; a recorder stuck stopping, or a
  // device that never finishes, must not hold the program up beyond that.
  const auto bound = std::chrono::steady_clock::now() +
                     std::chrono::milliseconds(1000 + 1000ull * device->bufferSize / kRate);
  while (Poll() != idle && mode != stopping && std::chrono::steady_clock::now() < bound) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (device->output != nullptr) {
    waveOutReset(device->output);
    waveOutUnprepareHeader(device->output, device->header, sizeof(WAVEHDR));
    waveOutClose(device->output);
  }
  CloseInput();
  GlobalUnlock(device->headerBlock);
  GlobalFree(device->headerBlock);
  GlobalUnlock(device->sampleBlock);
  GlobalFree(device->sampleBlock);
}

void SoundRecorder::ReportError(DWORD code, int line) {
  if (textBuffer == nullptr || textBuffer[0] != '\0') return;
  std::snprintf(textBuffer, 64, "Error %d in SoundRecorder Line %d", static_cast<int>(code), line);
}

bool SoundRecorder::Succeeded(std::uint32_t result, int line) {
  if (result == MMSYSERR_NOERROR) return true;
  ReportError(result, line);
  return false;
}

bool SoundRecorder::NoPendingError(int line) {
  const DWORD code = GetLastError();
  if (code == 0) return true;
  ReportError(code, line);
  return false;
}

void SoundRecorder::OpenInput() {
  if (!Succeeded(waveInOpen(&device->input, WAVE_MAPPER, device->Format(), 0, 0, WAVE_ALLOWSYNC), kInOpen)) return;
  if (!Succeeded(waveInPrepareHeader(device->input, device->header, sizeof(WAVEHDR)), kInPrepare)) return;
  Succeeded(waveInAddBuffer(device->input, device->header, sizeof(WAVEHDR)), kInAddBuffer);
}

bool SoundRecorder::CloseInput() {
  if (!Succeeded(waveInReset(device->input), kInReset)) return false;
  if (!Succeeded(waveInUnprepareHeader(device->input, device->header, sizeof(WAVEHDR)), kInUnprepare)) return false;
  if (!Succeeded(waveInClose(device->input), kInClose)) return false;
  device->input = nullptr;
  return true;
}

void SoundRecorder::Record() {
  if (Poll() != idle) return;
  mode = recording;
  recordedLength = 0;
  std::memset(device->samples, 0, device->bufferSize);
  Succeeded(waveInStart(device->input), kInStart);
}

void SoundRecorder::Play() {
  if (Poll() != idle || recordedLength == 0) return;
  mode = playing;
  if (!CloseInput()) return;
  if (!Succeeded(waveOutOpen(&device->output, WAVE_MAPPER, device->Format(), 0, 0, WAVE_ALLOWSYNC), kOutOpen)) return;
  device->header->dwFlags = 0;
  if (!Succeeded(waveOutPrepareHeader(device->output, device->header, sizeof(WAVEHDR)), kOutPrepare)) return;
  // The whole buffer: the dialog stops the playback once the recorded length has been heard.
  Succeeded(waveOutWrite(device->output, device->header, sizeof(WAVEHDR)), kOutWrite);
}

void SoundRecorder::Stop() {
  if (mode == idle || mode == stopping) return;
  const std::int32_t old = mode;
  mode = stopping;
  if (old == playing) {
    if (!Succeeded(waveOutReset(device->output), kOutReset)) return;
    if (!Succeeded(waveOutUnprepareHeader(device->output, device->header, sizeof(WAVEHDR)), kOutUnprepare)) return;
    if (!Succeeded(waveOutClose(device->output), kOutClose)) return;
    device->output = nullptr;
  } else if (old == recording) {
    if (!Succeeded(waveInStop(device->input), kInStop)) return;
    recordedLength = device->header->dwBytesRecorded;
    if (!CloseInput()) return;
  }
  OpenInput();
  mode = idle;
}

std::int32_t SoundRecorder::Poll() {
  if (device->IsDone()) Stop();
  return mode;
}

DWORD SoundRecorder::SampleCount(DWORD bytes, const PCMWAVEFORMAT& format) {
  if (format.nAvgBytesPerSec == 0) return 0;
  // In whole numbers: the quotient taken first in floating point comes out one short for many lengths.
  return static_cast<DWORD>(static_cast<std::uint64_t>(bytes) * format.nSamplesPerSec / format.nAvgBytesPerSec);
}

void SoundRecorder::Save() {
  if (Poll() != idle || recordedLength == 0) return;
  char name[] = "QLRec.wav";
  SetLastError(0);
  HMMIO file = mmioOpenA(name, nullptr, MMIO_CREATE | MMIO_READWRITE | MMIO_ALLOCBUF);
  if (file == nullptr && !NoPendingError(kFileOpen)) return;
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  // A failing step still closes the file and gives the cursor back.
  bool written = true;
  auto step = [&](std::uint32_t result, int line) { return written = written && Succeeded(result, line); };
  auto write = [&](const void* bytes, DWORD count, int line) {
    if (!written) return false;
    SetLastError(0);
    if (mmioWrite(file, static_cast<const char*>(bytes), static_cast<LONG>(count)) != static_cast<LONG>(count)) {
      written = NoPendingError(line);
    }
    return written;
  };
  MMCKINFO riff{};
  riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  step(mmioCreateChunk(file, &riff, MMIO_CREATERIFF), kRiffCreate);
  MMCKINFO chunk{};
  chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
  chunk.cksize = sizeof(PCMWAVEFORMAT);
  step(mmioCreateChunk(file, &chunk, 0), kFormatCreate);
  write(&device->format, sizeof(PCMWAVEFORMAT), kFormatWrite);
  step(mmioAscend(file, &chunk, 0), kFormatAscend);
  chunk = MMCKINFO{};
  chunk.ckid = mmioFOURCC('f', 'a', 'c', 't');
  chunk.cksize = 4;
  step(mmioCreateChunk(file, &chunk, 0), kFactCreate);
  const DWORD samples = SampleCount(recordedLength, device->format);
  write(&samples, 4, kFactWrite);
  step(mmioAscend(file, &chunk, 0), kFactAscend);
  chunk = MMCKINFO{};
  chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
  step(mmioCreateChunk(file, &chunk, 0), kDataCreate);
  write(device->samples, recordedLength, kDataWrite);
  step(mmioAscend(file, &chunk, 0), kDataAscend);
  step(mmioAscend(file, &riff, 0), kRiffAscend);
  const MMRESULT closed = file != nullptr ? mmioClose(file, 0) : MMSYSERR_INVALHANDLE;
  step(closed, kFileClose);
  SetCursor(previous);
}

LONG OrSoundProc(char* text, LONG command) {
  // The buffer goes in with the making: an input that cannot be opened is the first error to tell.
  if (command != 0 && command != 1 && gRecorder == nullptr) gRecorder = new SoundRecorder(3, text);
  if (gRecorder != nullptr) gRecorder->SetTextBuffer(text);
  switch (command) {
    case 1:
      delete gRecorder;
      gRecorder = nullptr;
      return 0;
    case 2: gRecorder->Play(); return 0;
    case 3: gRecorder->Record(); return 0;
    case 4: gRecorder->Stop(); return 0;
    case 5: gRecorder->Save(); return 0;
    case 6: return static_cast<LONG>(gRecorder->GetRecordedLength());
    case 7: return gRecorder->Poll();
    default: return 0;
  }
}

#include <SDL.h>

#include <atomic>
#include <cstring>
#include <deque>
#include <mutex>
#include <set>

#include "platform/media/Audio.h"

namespace {

using namespace platform::media;

// One capture device. Its thread fills the queued buffers while started; the program thread queues and
// takes them back. Both under `lock`.
struct WaveIn {
  SDL_AudioDeviceID device = 0;
  std::mutex lock;
  std::deque<WAVEHDR*> queue;
  bool started = false;
};

std::set<WaveIn*>& Handles() {
  static std::set<WaveIn*> handles;
  return handles;
}

WaveIn* Find(HWAVEIN handle) {
  auto* in = reinterpret_cast<WaveIn*>(handle);
  return Handles().count(in) != 0 ? in : nullptr;
}

void FillBuffers(void* user, Uint8* captured, int length) {
  auto* in = static_cast<WaveIn*>(user);
  std::lock_guard guard(in->lock);
  auto left = static_cast<std::size_t>(length);
  while (in->started && left > 0 && !in->queue.empty()) {
    WAVEHDR* header = in->queue.front();
    std::atomic_ref<DWORD> recorded(header->dwBytesRecorded);
    const DWORD had = recorded.load(std::memory_order_relaxed);
    const std::size_t n = std::min<std::size_t>(left, header->dwBufferLength - had);
    std::memcpy(header->lpData + had, captured, n);
    captured += n;
    left -= n;
    recorded.store(had + static_cast<DWORD>(n), std::memory_order_relaxed);
    if (had + n == header->dwBufferLength) {
      MarkHeaderDone(header);
      in->queue.pop_front();
    }
  }
  // What no buffer takes is lost, as with a device whose program queued too little.
}

// Stops the device thread before the queue changes under it; SDL waits for a callback in progress.
void Pause(WaveIn* in) {
  SDL_PauseAudioDevice(in->device, 1);
  std::lock_guard guard(in->lock);
  in->started = false;
}

void MarkAllDone(WaveIn* in) {
  std::lock_guard guard(in->lock);
  for (WAVEHDR* header : in->queue) MarkHeaderDone(header);
  in->queue.clear();
}

void Close(WaveIn* in) {
  SDL_CloseAudioDevice(in->device);
  Handles().erase(in);
  delete in;
}

}  // namespace

MMRESULT waveInOpen(HWAVEIN* handle, UINT device, const WAVEFORMATEX* format, UINT_PTR callback, UINT_PTR,
                    DWORD flags) {
  if (format == nullptr || (handle == nullptr && !(flags & WAVE_FORMAT_QUERY))) return MMSYSERR_INVALPARAM;
  if (callback != 0) return MMSYSERR_INVALFLAG;
  if (device != WAVE_MAPPER && device != 0) return MMSYSERR_BADDEVICEID;
  WAVEFORMATEX pcm{};
  std::memcpy(&pcm, format, sizeof(PCMWAVEFORMAT));
  const std::uint16_t sdlFormat = SdlFormatOf(pcm);
  if (sdlFormat == 0) return WAVERR_BADFORMAT;
  if (!OpenSoundSystem()) return MMSYSERR_NODRIVER;
  auto* in = new WaveIn;
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(pcm.nSamplesPerSec);
  want.format = sdlFormat;
  want.channels = static_cast<Uint8>(pcm.nChannels);
  want.samples = 512;
  want.callback = &FillBuffers;
  want.userdata = in;
  // Opened paused: nothing is taken from the device before waveInStart.
  in->device = SDL_OpenAudioDevice(nullptr, 1, &want, nullptr, 0);
  if (in->device == 0) {
    delete in;
    return MMSYSERR_BADDEVICEID;
  }
  if (flags & WAVE_FORMAT_QUERY) {
    SDL_CloseAudioDevice(in->device);
    delete in;
    return MMSYSERR_NOERROR;
  }
  Handles().insert(in);
  *handle = reinterpret_cast<HWAVEIN>(in);
  return MMSYSERR_NOERROR;
}

MMRESULT waveInPrepareHeader(HWAVEIN handle, WAVEHDR* header, UINT size) {
  return PrepareHeader(Find(handle) != nullptr, header, size);
}

MMRESULT waveInUnprepareHeader(HWAVEIN handle, WAVEHDR* header, UINT size) {
  return UnprepareHeader(Find(handle) != nullptr, header, size);
}

MMRESULT waveInAddBuffer(HWAVEIN handle, WAVEHDR* header, UINT size) {
  WaveIn* in = Find(handle);
  if (in == nullptr) return MMSYSERR_INVALHANDLE;
  if (header == nullptr || size < sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
  if (!(HeaderFlags(header) & WHDR_PREPARED)) return WAVERR_UNPREPARED;
  if (HeaderFlags(header) & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  std::lock_guard guard(in->lock);
  header->dwBytesRecorded = 0;
  header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
  in->queue.push_back(header);
  return MMSYSERR_NOERROR;
}

MMRESULT waveInStart(HWAVEIN handle) {
  WaveIn* in = Find(handle);
  if (in == nullptr) return MMSYSERR_INVALHANDLE;
  {
    std::lock_guard guard(in->lock);
    in->started = true;
  }
  SDL_PauseAudioDevice(in->device, 0);
  return MMSYSERR_NOERROR;
}

MMRESULT waveInStop(HWAVEIN handle) {
  WaveIn* in = Find(handle);
  if (in == nullptr) return MMSYSERR_INVALHANDLE;
  Pause(in);
  std::lock_guard guard(in->lock);
  if (!in->queue.empty() && in->queue.front()->dwBytesRecorded > 0) {
    MarkHeaderDone(in->queue.front());
    in->queue.pop_front();
  }
  return MMSYSERR_NOERROR;
}

MMRESULT waveInReset(HWAVEIN handle) {
  WaveIn* in = Find(handle);
  if (in == nullptr) return MMSYSERR_INVALHANDLE;
  Pause(in);
  MarkAllDone(in);
  return MMSYSERR_NOERROR;
}

MMRESULT waveInClose(HWAVEIN handle) {
  WaveIn* in = Find(handle);
  if (in == nullptr) return MMSYSERR_INVALHANDLE;
  {
    std::lock_guard guard(in->lock);
    if (!in->queue.empty()) return WAVERR_STILLPLAYING;
  }
  Close(in);
  return MMSYSERR_NOERROR;
}

namespace platform::media {
void CloseAllWaveIn() {
  while (!Handles().empty()) {
    WaveIn* in = *Handles().begin();
    Pause(in);
    MarkAllDone(in);
    Close(in);
  }
}
}  // namespace platform::media

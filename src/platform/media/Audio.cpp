#include "platform/media/Audio.h"

#include <SDL.h>

#include <atomic>
#include <cstring>
#include <deque>
#include <mutex>

namespace platform::media {
namespace {

enum class SystemState { closed, open, failed };
SystemState gSystem = SystemState::closed;

// One stretch of the voice: bytes in the voice's format, who queued them, and the header to mark done
// when they have been played or dropped.
struct Stretch {
  std::vector<std::uint8_t> bytes;
  std::size_t played = 0;
  VoiceOwner owner = nullptr;
  WAVEHDR* header = nullptr;
};

// The device thread plays from the queue; the program thread changes it. Both under `lock`.
struct Voice {
  SDL_AudioDeviceID device = 0;
  bool failed = false;
  std::mutex lock;
  std::deque<Stretch> queue;
};
Voice gVoice;

void FillFromVoice(void*, Uint8* out, int length) {
  std::lock_guard guard(gVoice.lock);
  auto left = static_cast<std::size_t>(length);
  while (left > 0 && !gVoice.queue.empty()) {
    Stretch& stretch = gVoice.queue.front();
    const std::size_t n = std::min(left, stretch.bytes.size() - stretch.played);
    std::memcpy(out, stretch.bytes.data() + stretch.played, n);
    out += n;
    left -= n;
    stretch.played += n;
    if (stretch.played == stretch.bytes.size()) {
      if (stretch.header != nullptr) MarkHeaderDone(stretch.header);
      gVoice.queue.pop_front();
    }
  }
  std::memset(out, kSilence, left);
}

// Drops the stretches the test picks, marking their headers; under the lock.
template <typename Pick>
void DropStretches(Pick pick) {
  for (auto it = gVoice.queue.begin(); it != gVoice.queue.end();) {
    if (pick(*it)) {
      if (it->header != nullptr) MarkHeaderDone(it->header);
      it = gVoice.queue.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace

bool OpenSoundSystem() {
  if (gSystem == SystemState::closed) {
    gSystem = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 ? SystemState::open : SystemState::failed;
  }
  return gSystem == SystemState::open;
}

std::uint16_t SdlFormatOf(const WAVEFORMATEX& format) {
  if (format.wFormatTag != WAVE_FORMAT_PCM) return 0;
  if (format.nChannels < 1 || format.nChannels > 2) return 0;
  if (format.nSamplesPerSec < 1000 || format.nSamplesPerSec > 192000) return 0;
  if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) return 0;
  if (format.nBlockAlign != format.nChannels * format.wBitsPerSample / 8) return 0;
  return format.wBitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
}

bool ConvertToVoiceFormat(const std::uint8_t* bytes, std::size_t size, std::uint16_t sdlFormat, int channels,
                          int rate, std::vector<std::uint8_t>* converted) {
  SDL_AudioCVT cvt;
  const int built = SDL_BuildAudioCVT(&cvt, sdlFormat, static_cast<Uint8>(channels), rate, AUDIO_U8, 1, kVoiceRate);
  if (built < 0) return false;
  if (built == 0) {
    converted->assign(bytes, bytes + size);
    return true;
  }
  // Whole frames only: SDL refuses a length that splits one.
  const std::size_t frame = static_cast<std::size_t>(SDL_AUDIO_BITSIZE(sdlFormat) / 8 * channels);
  size -= size % frame;
  if (size > 0x7FFFFFFF / static_cast<std::size_t>(cvt.len_mult)) return false;
  std::vector<std::uint8_t> work(size * static_cast<std::size_t>(cvt.len_mult));
  std::memcpy(work.data(), bytes, size);
  cvt.buf = work.data();
  cvt.len = static_cast<int>(size);
  if (SDL_ConvertAudio(&cvt) != 0) return false;
  work.resize(static_cast<std::size_t>(cvt.len_cvt));
  *converted = std::move(work);
  return true;
}

bool OpenVoice() {
  if (gVoice.device != 0) return true;
  if (gVoice.failed || !OpenSoundSystem()) return false;
  SDL_AudioSpec want{};
  want.freq = kVoiceRate;
  want.format = AUDIO_U8;
  want.channels = 1;
  want.samples = 512;
  want.callback = &FillFromVoice;
  // No changes allowed: SDL converts to what the hardware takes, and the disk driver writes our bytes.
  gVoice.device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
  if (gVoice.device == 0) {
    gVoice.failed = true;
    return false;
  }
  // Opened paused; the first sound goes in before the device runs, so that nothing precedes it.
  return true;
}

bool PlayOnVoice(std::vector<std::uint8_t> bytes) {
  if (!OpenVoice()) return false;
  {
    std::lock_guard guard(gVoice.lock);
    DropStretches([](const Stretch&) { return true; });
    gVoice.queue.push_back(Stretch{std::move(bytes), 0, nullptr, nullptr});
  }
  SDL_PauseAudioDevice(gVoice.device, 0);
  return true;
}

bool QueueOnVoice(std::vector<std::uint8_t> bytes, VoiceOwner owner, WAVEHDR* header) {
  if (!OpenVoice()) return false;
  {
    std::lock_guard guard(gVoice.lock);
    DropStretches([owner](const Stretch& s) { return s.owner != owner; });
    gVoice.queue.push_back(Stretch{std::move(bytes), 0, owner, header});
  }
  SDL_PauseAudioDevice(gVoice.device, 0);
  return true;
}

void ClearVoice(VoiceOwner owner) {
  std::lock_guard guard(gVoice.lock);
  DropStretches([owner](const Stretch& s) { return s.owner == owner; });
}

bool VoiceHolds(VoiceOwner owner) {
  std::lock_guard guard(gVoice.lock);
  for (const Stretch& s : gVoice.queue) {
    if (s.owner == owner) return true;
  }
  return false;
}

void MarkHeaderDone(WAVEHDR* header) {
  std::atomic_ref<DWORD> flags(header->dwFlags);
  DWORD now = flags.load(std::memory_order_relaxed);
  while (!flags.compare_exchange_weak(now, (now & ~WHDR_INQUEUE) | WHDR_DONE, std::memory_order_release)) {
  }
}

DWORD HeaderFlags(const WAVEHDR* header) {
  return std::atomic_ref<const DWORD>(header->dwFlags).load(std::memory_order_acquire);
}

MMRESULT PrepareHeader(bool knownHandle, WAVEHDR* header, UINT size) {
  if (!knownHandle) return MMSYSERR_INVALHANDLE;
  if (header == nullptr || size < sizeof(WAVEHDR) || header->lpData == nullptr) return MMSYSERR_INVALPARAM;
  header->dwFlags |= WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT UnprepareHeader(bool knownHandle, WAVEHDR* header, UINT size) {
  if (!knownHandle) return MMSYSERR_INVALHANDLE;
  if (header == nullptr || size < sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
  if (HeaderFlags(header) & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  header->dwFlags &= ~WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

}  // namespace platform::media

namespace platform {

void CloseAudioDevices() {
  using namespace media;
  CloseAllWaveIn();
  CloseAllWaveOut();
  if (gVoice.device != 0) {
    SDL_CloseAudioDevice(gVoice.device);
    gVoice.device = 0;
  }
  {
    std::lock_guard guard(gVoice.lock);
    DropStretches([](const Stretch&) { return true; });
  }
  gVoice.failed = false;
  if (gSystem == SystemState::open) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
  }
  gSystem = SystemState::closed;
}

bool IsVoicePlaying() {
  std::lock_guard guard(media::gVoice.lock);
  return !media::gVoice.queue.empty();
}

}  // namespace platform

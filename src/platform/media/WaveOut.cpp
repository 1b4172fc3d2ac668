#include <SDL.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <set>

#include "platform/media/Audio.h"

namespace {

using namespace platform::media;

struct WaveOut {
  WAVEFORMATEX format;
  std::uint16_t sdlFormat;
};

// Live handles; a handle not listed (closed, or never one) is refused without being read.
std::set<WaveOut*>& Handles() {
  static std::set<WaveOut*> handles;
  return handles;
}

WaveOut* Find(HWAVEOUT handle) {
  auto* out = reinterpret_cast<WaveOut*>(handle);
  return Handles().count(out) != 0 ? out : nullptr;
}

}  // namespace

MMRESULT waveOutOpen(HWAVEOUT* handle, UINT device, const WAVEFORMATEX* format, UINT_PTR callback, UINT_PTR,
                     DWORD flags) {
  if (format == nullptr || (handle == nullptr && !(flags & WAVE_FORMAT_QUERY))) return MMSYSERR_INVALPARAM;
  if (callback != 0) return MMSYSERR_INVALFLAG;
  if (device != WAVE_MAPPER && device != 0) return MMSYSERR_BADDEVICEID;
  // Only the 16 bytes of a PCM format are read: callers hand a PCMWAVEFORMAT.
  WAVEFORMATEX pcm{};
  std::memcpy(&pcm, format, sizeof(PCMWAVEFORMAT));
  const std::uint16_t sdlFormat = SdlFormatOf(pcm);
  if (sdlFormat == 0) return WAVERR_BADFORMAT;
  if (!OpenSoundSystem()) return MMSYSERR_NODRIVER;
  if (!OpenVoice()) return MMSYSERR_BADDEVICEID;
  if (flags & WAVE_FORMAT_QUERY) return MMSYSERR_NOERROR;
  auto* out = new WaveOut{pcm, sdlFormat};
  Handles().insert(out);
  *handle = reinterpret_cast<HWAVEOUT>(out);
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutPrepareHeader(HWAVEOUT handle, WAVEHDR* header, UINT size) {
  return PrepareHeader(Find(handle) != nullptr, header, size);
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT handle, WAVEHDR* header, UINT size) {
  return UnprepareHeader(Find(handle) != nullptr, header, size);
}

MMRESULT waveOutWrite(HWAVEOUT handle, WAVEHDR* header, UINT size) {
  WaveOut* out = Find(handle);
  if (out == nullptr) return MMSYSERR_INVALHANDLE;
  if (header == nullptr || size < sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
  if (!(header->dwFlags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
  if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  std::vector<std::uint8_t> bytes;
  if (!ConvertToVoiceFormat(reinterpret_cast<const std::uint8_t*>(header->lpData), header->dwBufferLength,
                            out->sdlFormat, out->format.nChannels, static_cast<int>(out->format.nSamplesPerSec),
                            &bytes)) {
    return MMSYSERR_NOMEM;
  }
  header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
  if (!QueueOnVoice(std::move(bytes), out, header)) {
    MarkHeaderDone(header);
    return MMSYSERR_NODRIVER;
  }
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutReset(HWAVEOUT handle) {
  WaveOut* out = Find(handle);
  if (out == nullptr) return MMSYSERR_INVALHANDLE;
  ClearVoice(out);
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutClose(HWAVEOUT handle) {
  WaveOut* out = Find(handle);
  if (out == nullptr) return MMSYSERR_INVALHANDLE;
  if (VoiceHolds(out)) return WAVERR_STILLPLAYING;
  Handles().erase(out);
  delete out;
  return MMSYSERR_NOERROR;
}

namespace platform::media {
void CloseAllWaveOut() {
  for (WaveOut* out : Handles()) {
    ClearVoice(out);
    delete out;
  }
  Handles().clear();
}
}  // namespace platform::media

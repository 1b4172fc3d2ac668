#include <SDL.h>

#include <cstring>
#include <string>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Paths.h"
#include "platform/media/Audio.h"

namespace {

using platform::media::ConvertToVoiceFormat;

// Reads the WAVE sound behind the stream (closed here) and converts it to the voice's format.
bool DecodeWave(SDL_RWops* stream, std::vector<std::uint8_t>* samples) {
  if (stream == nullptr) return false;
  SDL_AudioSpec spec;
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (SDL_LoadWAV_RW(stream, 1, &spec, &buffer, &length) == nullptr) return false;
  const bool converted = ConvertToVoiceFormat(buffer, length, spec.format, spec.channels, spec.freq, samples);
  SDL_FreeWAV(buffer);
  return converted;
}

// The length of a WAVE image in memory, from its RIFF header; 0 when it is not one.
std::size_t ImageLength(const void* image) {
  const auto* bytes = static_cast<const unsigned char*>(image);
  if (std::memcmp(bytes, "RIFF", 4) != 0) return 0;
  const std::uint32_t size = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | static_cast<std::uint32_t>(bytes[7]) << 24;
  return static_cast<std::size_t>(size) + 8;
}

}  // namespace

BOOL sndPlaySoundA(LPCSTR sound, UINT flags) {
  if (sound == nullptr) {
    platform::media::ClearVoice(nullptr);
    return TRUE;
  }
  if (!(flags & SND_ASYNC) || (flags & (SND_LOOP | SND_NOSTOP))) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  std::vector<std::uint8_t> samples;
  if (flags & SND_MEMORY) {
    const std::size_t length = ImageLength(sound);
    if (length == 0 || length > 0x7FFFFFFF || !DecodeWave(SDL_RWFromConstMem(sound, static_cast<int>(length)), &samples)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
  } else {
    std::string path;
    if (!platform::ToPosixPath(sound, &path)) return FALSE;
    if (!DecodeWave(SDL_RWFromFile(path.c_str(), "rb"), &samples)) {
      SetLastError(ERROR_FILE_NOT_FOUND);
      return FALSE;
    }
  }
  if (!platform::media::PlayOnVoice(std::move(samples))) {
    SetLastError(ERROR_NOT_READY);
    return FALSE;
  }
  return TRUE;
}

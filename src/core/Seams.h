// What the libraries above core fill in: each is filled in by one install call of the library that
// provides it, and keeps a plain default until then.
#pragma once

#include <cstdint>

class Memory;
class Stream;

// The sound file formats are known to the sound library. Until it installs these, a sound in another
// format than WAVE can be neither read nor written ("Not implemented."), and WAVE files are taken
// unchecked.
struct SoundConverters {
  // The whole input, which must hold the other of the two formats (Sound::wave or Sound::aiff), into the
  // format, copied through a buffer of that many bytes; false when the input is not of the other format
  // or is damaged.
  bool (*convert)(Stream& input, Stream& output, std::uint32_t bufferSize, int format) = nullptr;
  // A Macintosh 'snd ' resource into an AIFF stream; false when it holds no usable sampled sound.
  bool (*convertMacResource)(const Memory& resource, Stream& output) = nullptr;
  // Whether the whole input is a WAVE file whose chunks lie within it.
  bool (*isWave)(Stream& input) = nullptr;
};

void SetSoundConverters(const SoundConverters& converters);
const SoundConverters& GetSoundConverters();

// libFuzzer harness of the sound readers (WAVE, AIFF, Macintosh 'snd '): every input must read as a sound
// or raise the program's error, never crash, leak or reach undefined behaviour.
#include <cstddef>
#include <cstdint>

#include "SoundFuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  sound_testing::ReadUntrustedSound(data, size);
  return 0;
}

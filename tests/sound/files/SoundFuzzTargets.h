// The sound readers as the fuzzer and the corpus replay drive them: untrusted bytes, one entry.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sound_testing {

// Reads the bytes as a WAVE file, an AIFF file and a Macintosh 'snd ' resource, and writes what reads as
// WAVE as AIFF. Each either works or raises the program's error, which is caught here. Answers whether any
// of them went through.
bool ReadUntrustedSound(const std::uint8_t* data, std::size_t size);

}  // namespace sound_testing

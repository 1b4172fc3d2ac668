// The picture readers on untrusted bytes, as the fuzz harnesses and the corpus replay run them: each
// input must read or raise the program's error, never crash, leak or reach undefined behaviour.
#pragma once

#include <cstddef>
#include <cstdint>

namespace picture_testing {

enum class PictureFormat { kBMP, kGIF, kJPEG, kPICT };

// True when the input read, false when it raised the program's error. An assertion raised by a reader
// aborts the process, so that the fuzzer reports it.
bool ReadUntrusted(PictureFormat format, const std::uint8_t* data, std::size_t size);

}  // namespace picture_testing

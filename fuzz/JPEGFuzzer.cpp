// libFuzzer harness of the JPEG reader: every input must read as a picture or raise the program's error,
// never crash, leak or reach undefined behaviour.
#include <cstddef>
#include <cstdint>

#include "PictureFuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  picture_testing::ReadUntrusted(picture_testing::PictureFormat::kJPEG, data, size);
  return 0;
}

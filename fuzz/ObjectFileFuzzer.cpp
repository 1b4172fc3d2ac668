// libFuzzer harness of the object-file reader: every input must read as an object, a null or a reported
// error, never a crash, a leak or undefined behaviour.
#include <cstddef>
#include <cstdint>

#include "ObjectFileTestSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  objectfile_testing::ReadUntrusted(data, size);
  return 0;
}

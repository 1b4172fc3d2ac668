// libFuzzer harness of the provider files and link lists: every input must read, or be found bad,
// without a crash, and a link list rewritten must read back as it should.
#include <cstddef>
#include <cstdint>

#include "ListFuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  list_testing::ReadUntrustedLists(data, size);
  return 0;
}

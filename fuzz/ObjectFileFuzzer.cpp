// libFuzzer harness of the object-file reader: every input must read as an object, a null or a reported
// error, never a crash, a leak or undefined behaviour.
#include <cstddef>
#include <cstdint>

#include "ObjectFileTestSupport.h"
#include "core/Format.h"

// Read through the document format's own numbering, as pages are, with every class registered in it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const SmartRef<TypeIndex> documents = GetGenericTypeIndex();
  objectfile_testing::ReadUntrusted(data, size, documents);
  return 0;
}

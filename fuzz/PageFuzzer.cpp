// libFuzzer harness of pages: every input must read as a page, something else or a reported error, and a
// page that reads must draw, replay its change records, make its thumbnails and save again, never crash,
// leak or reach undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <string>

#include "PageFuzzTargets.h"
#include "platform/kernel/Files.h"

// Pages draw in the program's colours, which it reads from its data folder.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string folder = QUILLORY_SOURCE_DIR "/data";
  for (char& c : folder)
    if (c == '/') c = '\\';
  SetCurrentDirectoryA(folder.c_str());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  page_testing::ReadUntrustedPage(data, size);
  return 0;
}

// Pages as the page fuzzer and the corpus replay drive them: untrusted bytes, one entry.
#pragma once

#include <cstddef>
#include <cstdint>

namespace page_testing {

// Reads the bytes as a document of the program's numbering. A page that reads is drawn frame by frame,
// whole and through its change records, thumbnails included, and saved again. Each step either works or
// raises the program's error, which is caught here; an assertion that reaches the user aborts. Answers
// whether a page was read.
bool ReadUntrustedPage(const std::uint8_t* data, std::size_t size);

}  // namespace page_testing

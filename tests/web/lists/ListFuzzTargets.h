// The list readers on untrusted bytes, as the fuzz harness and the corpus replay run them: every input is
// read as a provider file and as a link list, and a link list rewritten without a change, or with its
// first entry deleted, must read back as it should. A broken expectation aborts, so that the fuzzer
// reports it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace list_testing {

// True when the input reads as a good provider file or link list.
bool ReadUntrustedLists(const std::uint8_t* data, std::size_t size);

}  // namespace list_testing

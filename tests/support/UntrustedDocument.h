// A document read as the program reads one a user opens, for the object-file fuzzer and the suites that
// replay its corpus.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/Format.h"
#include "core/Smart.h"

namespace document_testing {

// Reads a whole file through an object file of the class numbering: any input must end in an object, a
// null or the program's error, never a crash nor an assertion shown to the user (which aborts the process,
// so that the fuzzer reports it).
void ReadUntrustedDocument(const std::uint8_t* data, std::size_t size, SmartRef<TypeIndex> index);

}  // namespace document_testing

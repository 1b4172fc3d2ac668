// Documents in memory: objects saved with the document class numbering, the bytes one object's body
// takes in the file, and the bytes read back.
#pragma once

#include <cstdint>
#include <string>

#include "core/ObjectFile.h"

namespace document_testing {

// Suites with a class numbering of their own give it; the document numbering is the default.
std::string SaveDocument(SmartRef<Smart> root, SmartRef<TypeIndex> index = nullptr);
// The file is kept when asked (it holds the objects it loaded).
SmartRef<Smart> ReadDocument(const std::string& bytes, SmartRef<ObjectFile>* file, SmartRef<TypeIndex> index = nullptr);
// The number of objects the file's object table records.
std::int32_t ObjectCount(const std::string& file);
// The class index the file's object table records for object n (1-based, the root first).
std::int32_t ObjectClassIndex(const std::string& file, std::int32_t n);
// The stored bytes of object n as the file's object table places them.
std::string ObjectBody(const std::string& file, std::int32_t n);
// The same bytes with object n's body replaced by one of the same length.
std::string WithObjectBody(std::string file, std::int32_t n, const std::string& body);

// Little-endian values, as the program writes them.
std::string Long(std::uint32_t value);
std::string Short(std::uint16_t value);

}  // namespace document_testing

#include "support/DocumentBytes.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/Format.h"
#include "core/Stream.h"

namespace document_testing {

namespace {

std::uint32_t At(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  if (offset + 4 <= bytes.size()) std::memcpy(&value, bytes.data() + offset, 4);
  return value;
}

// Where object n's entry lies: the table's offset is the 32-bit value after the magic, the byte-order
// byte, the version and one more value; each entry holds the class index, the offset and the length.
std::size_t EntryPlace(const std::string& file, std::int32_t n) {
  return At(file, 13) + 4 + static_cast<std::size_t>(n - 1) * 12;
}

std::pair<std::size_t, std::size_t> BodyPlace(const std::string& file, std::int32_t n) {
  const std::size_t entry = EntryPlace(file, n);
  return {At(file, entry + 4), At(file, entry + 8)};
}

}  // namespace

std::string SaveDocument(SmartRef<Smart> root, SmartRef<TypeIndex> index) {
  SmartRef<MemoryStream> stream = new MemoryStream();
  SmartRef<ObjectFile> file = new ObjectFile(index ? index : GetGenericTypeIndex(), stream);
  file->Write(root);
  return std::string(reinterpret_cast<const char*>(stream->GetMemory().GetData()), stream->GetLength());
}

SmartRef<Smart> ReadDocument(const std::string& bytes, SmartRef<ObjectFile>* kept, SmartRef<TypeIndex> index) {
  SmartRef<MemoryStream> stream = new MemoryStream();
  stream->Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  SmartRef<ObjectFile> file = new ObjectFile(index ? index : GetGenericTypeIndex(), stream);
  SmartRef<Smart> root;
  file->Read(&root);
  if (kept) *kept = file;
  return root;
}

std::int32_t ObjectCount(const std::string& file) { return static_cast<std::int32_t>(At(file, At(file, 13))); }

std::int32_t ObjectClassIndex(const std::string& file, std::int32_t n) {
  return static_cast<std::int32_t>(At(file, EntryPlace(file, n)));
}

std::string ObjectBody(const std::string& file, std::int32_t n) {
  const auto [offset, length] = BodyPlace(file, n);
  if (offset + length > file.size()) {
    ADD_FAILURE() << "object " << n << " lies outside the file";
    return {};
  }
  return file.substr(offset, length);
}

std::string WithObjectBody(std::string file, std::int32_t n, const std::string& body) {
  const auto [offset, length] = BodyPlace(file, n);
  EXPECT_EQ(length, body.size());
  return file.replace(offset, length, body);
}

std::string Long(std::uint32_t value) {
  return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
          static_cast<char>(value >> 24)};
}

std::string Short(std::uint16_t value) { return {static_cast<char>(value), static_cast<char>(value >> 8)}; }

}  // namespace document_testing

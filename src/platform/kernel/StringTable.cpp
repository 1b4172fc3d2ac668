#include "platform/kernel/StringTable.h"

#include <cstring>
#include <map>

#include "platform/kernel/Errors.h"

namespace {
// Never destroyed: the texts belong to the program's image, which outlives the program's own static
// objects, and those may still report a failure in words while they are released at exit.
std::map<UINT, const char*>& Table() {
  static auto& table = *new std::map<UINT, const char*>;
  return table;
}

// Appends one byte while room remains; answers false once the buffer is full.
bool Put(LPSTR buffer, DWORD size, DWORD& length, char c) {
  if (length + 1 >= size) return false;
  buffer[length++] = c;
  return true;
}
}  // namespace

namespace platform {
void RegisterStringTable(std::span<const StringTableEntry> entries) {
  for (const auto& entry : entries) Table()[entry.id] = entry.text;
}
}  // namespace platform

int LoadStringA(HINSTANCE, UINT id, LPSTR buffer, int size) {
  const auto found = Table().find(id);
  if (found == Table().end()) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    if (buffer && size > 0) buffer[0] = '\0';
    return 0;
  }
  if (buffer == nullptr || size <= 0) return 0;
  const std::size_t length = std::min<std::size_t>(std::strlen(found->second), static_cast<std::size_t>(size - 1));
  std::memcpy(buffer, found->second, length);
  buffer[length] = '\0';
  return static_cast<int>(length);
}

DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD, DWORD, LPSTR buffer, DWORD size,
                     const char* const* arguments) {
  if (!(flags & FORMAT_MESSAGE_FROM_STRING) || source == nullptr || buffer == nullptr || size == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const char* text = static_cast<const char*>(source);
  DWORD length = 0;
  bool fits = true;
  for (const char* p = text; *p && fits; ++p) {
    if (*p != '%' || p[1] == '\0') {
      fits = Put(buffer, size, length, *p);
      continue;
    }
    const char code = *++p;
    if (code >= '1' && code <= '9') {
      const int index = code - '1';
      const char* insert = (arguments && (flags & FORMAT_MESSAGE_ARGUMENT_ARRAY) && index < 4) ? arguments[index] : nullptr;
      for (const char* q = insert; q && *q && fits; ++q) fits = Put(buffer, size, length, *q);
    } else if (code == 'n') {
      fits = Put(buffer, size, length, '\n');
    } else {
      fits = Put(buffer, size, length, code);  // "%%" and "%." give the character itself
    }
  }
  buffer[length] = '\0';
  if (!fits) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  return length;
}

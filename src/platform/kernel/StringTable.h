// The program's string table (numbered texts) and the message formatter over it.
#pragma once

#include <span>

#include "platform/kernel/WinTypes.h"

struct StringTableEntry {
  UINT id;
  const char* text;  // Windows-1252 bytes
};

// Copies the text of the id into the buffer, cut to size - 1 bytes and terminated; answers its length,
// or 0 (with ERROR_RESOURCE_NAME_NOT_FOUND) when the table has no such text. The module is ignored:
// the program has one string table.
int LoadStringA(HINSTANCE module, UINT id, LPSTR buffer, int size);

enum : DWORD {
  FORMAT_MESSAGE_FROM_STRING = 0x00000400,
  FORMAT_MESSAGE_ARGUMENT_ARRAY = 0x00002000,
};

// Formats a text whose inserts %1..%4 name the entries of an array of four text pointers, into the buffer
// of the given size. Only FORMAT_MESSAGE_FROM_STRING with FORMAT_MESSAGE_ARGUMENT_ARRAY is supported, which
// is all the program asks. An insert given a null pointer, and %5..%9, become empty text. "%%" gives "%", "%n" a line feed. Answers the length written, or 0 with
// ERROR_INSUFFICIENT_BUFFER when the result does not fit (the buffer then holds the cut, terminated text).
DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPSTR buffer, DWORD size,
                     const char* const* arguments);

namespace platform {
// Installs the program's string table; later registrations add to it (ids must not repeat).
void RegisterStringTable(std::span<const StringTableEntry> entries);
}  // namespace platform

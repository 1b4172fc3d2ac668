// The program's own bitmap resources, loaded by number.
#pragma once

#include <span>

#include "platform/kernel/WinTypes.h"

// A new device bitmap of the program's bitmap resource `name` (a number made with MAKEINTRESOURCEA), or
// null with ERROR_RESOURCE_NAME_NOT_FOUND. The module is ignored: the program has one set of resources.
HBITMAP LoadBitmapA(HINSTANCE module, LPCSTR name);

namespace platform {
// One bitmap of the program: its number and its packed DIB (the 40-byte header, the colour table, then
// the rows, bottom row first).
struct BitmapResource {
  UINT id;
  std::span<const BYTE> packedDIB;
};
// Installs bitmaps of the program; later registrations add to them (ids must not repeat).
void RegisterBitmapResources(std::span<const BitmapResource> bitmaps);
// A new device bitmap of a packed DIB whose header, colours and rows all lie within the bytes; null, with
// ERROR_INVALID_PARAMETER, for anything else.
HBITMAP BitmapFromPackedDIB(std::span<const BYTE> packedDIB);
}  // namespace platform

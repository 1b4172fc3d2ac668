// Libraries loaded by name. Nothing is loaded from disk: the libraries the program asks for are built into
// the layer, and LoadLibraryA finds them by their file name, wherever the path says they lie.
#pragma once

#include "platform/kernel/WinTypes.h"

// An exported function; the caller casts it to its own type.
using FARPROC = void (*)();

// Null with ERROR_MOD_NOT_FOUND for a library the layer does not hold. Loading again answers the same
// handle; each load needs its FreeLibrary.
HMODULE LoadLibraryA(LPCSTR path);
// Null with ERROR_PROC_NOT_FOUND for a name the library does not export.
FARPROC GetProcAddress(HMODULE module, LPCSTR name);
BOOL FreeLibrary(HMODULE module);

namespace platform {

struct ModuleExport {
  const char* name;
  FARPROC function;
};

// A library built into the layer: its file name and its exports, ending with a null name.
struct BuiltInModule {
  const char* fileName;
  const ModuleExport* exports;
};

}  // namespace platform

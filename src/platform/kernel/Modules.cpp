#include "platform/kernel/Modules.h"

#include <cstring>
#include <map>
#include <string_view>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Paths.h"
#include "platform/media/Thunker.h"

namespace {

// Loaded libraries and their load counts; the handle is the library's record.
std::map<const platform::BuiltInModule*, int>& Loaded() {
  static std::map<const platform::BuiltInModule*, int> loaded;
  return loaded;
}

std::string_view FileNameOf(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/:");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

const platform::BuiltInModule* FindBuiltIn(std::string_view fileName) {
  if (platform::GetThunkerFailure() == platform::ThunkerFailure::notLoaded) return nullptr;
  const platform::BuiltInModule& thunker = platform::ThunkerModule();
  return platform::NamesEqualIgnoringCase(fileName, thunker.fileName) ? &thunker : nullptr;
}

const platform::BuiltInModule* Find(HMODULE module) {
  auto* record = reinterpret_cast<const platform::BuiltInModule*>(module);
  return Loaded().count(record) != 0 ? record : nullptr;
}

}  // namespace

HMODULE LoadLibraryA(LPCSTR path) {
  const platform::BuiltInModule* module = path != nullptr ? FindBuiltIn(FileNameOf(path)) : nullptr;
  if (module == nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  ++Loaded()[module];
  return reinterpret_cast<HMODULE>(const_cast<platform::BuiltInModule*>(module));
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  const platform::BuiltInModule* record = Find(module);
  if (record == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  for (const platform::ModuleExport* entry = record->exports; name != nullptr && entry->name != nullptr; ++entry) {
    if (std::strcmp(entry->name, name) == 0) return entry->function;
  }
  SetLastError(ERROR_PROC_NOT_FOUND);
  return nullptr;
}

BOOL FreeLibrary(HMODULE module) {
  const platform::BuiltInModule* record = Find(module);
  if (record == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (--Loaded()[record] == 0) Loaded().erase(record);
  return TRUE;
}

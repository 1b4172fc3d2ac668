#include "core/FileType.h"

#include <algorithm>
#include <cstring>

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/FileReference.h"
#include "core/Stream.h"
#include "core/String.h"
#include "core/Utilities.h"
#include "platform/dialogs/CommonDialogs.h"
#include "platform/kernel/Files.h"

namespace {
constexpr SourceName kSource("FILEREF");
}  // namespace

SMART_COPY_CHECK_AT(FileCreatorType, kSource.Line(2445));
SMART_DEFINE(FileCreatorType, "FileCreatorType", nullptr, nullptr, SmartImplementation)
SMART_COPY_CHECK_AT(FileType, kSource.Line(2448));
SMART_DEFINE(FileType, "FileType", nullptr, nullptr, FileCreatorType)

FileCreatorType* FileCreatorType::defaultCreator = NewPermanent<FileCreatorType>("Inconnu", 0);

char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

void ExtensionCodeToText(OSType code, char out[4]) {
  out[0] = static_cast<char>(code >> 24);
  out[1] = static_cast<char>(code >> 16);
  out[2] = static_cast<char>(code >> 8);
  out[3] = '\0';
}

OSType ExtensionTextToCode(const char* text) {
  OSType code = 0;
  for (int i = 0; i < 3; ++i) code = (code << 8) | static_cast<unsigned char>(ToLowerAscii(text[i]));
  return (code << 8) | ' ';
}

bool FileType::Matches(FileReference* reference) const { return reference != nullptr && reference->IsOfType(*this); }

FileTypeList::FileTypeList(std::int32_t n) : List(&FileType::classInfo) {
  if (n > 0) Put(nullptr, 1, n);
}

void AppendDialogFilter(const char* displayName, OSType extension, MemoryStream& filter) {
  char pattern[8] = "*.";
  if (extension == kAllFilesCode) {
    std::strcat(pattern, "*");
  } else {
    ExtensionCodeToText(extension, pattern + 2);
  }
  const auto put = [&filter](const char* text) { filter.Write(text, static_cast<std::uint32_t>(std::strlen(text))); };
  put(displayName);
  put(" (");
  put(pattern);
  put(")");
  filter.WriteByte(0);
  put(pattern);
  filter.WriteByte(0);
}

void FillOpenFileName(OPENFILENAMEA* record, char* path, MemoryStream& filter, OSType extension) {
  // The record points at this text while the dialog runs; one dialog runs at a time.
  static char defaultExtension[4];
  ExtensionCodeToText(extension, defaultExtension);
  std::memset(record, 0, sizeof *record);
  record->lStructSize = sizeof *record;
  record->hwndOwner = gMainWindow;
  record->lpstrFilter = reinterpret_cast<const char*>(filter.GetMemory().GetData());
  record->nFilterIndex = 1;
  record->lpstrFile = path;
  record->nMaxFile = MAX_PATH;
  record->Flags = OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT;
  record->lpstrDefExt = defaultExtension;
}

namespace {

// Puts the current folder back when the dialog ends in any way: the dialog may browse elsewhere.
class CurrentFolderKeeper {
 public:
  CurrentFolderKeeper() { saved = GetCurrentDirectoryA(MAX_PATH, folder) != 0; }
  ~CurrentFolderKeeper() {
    if (saved) SetCurrentDirectoryA(folder);
  }
  CurrentFolderKeeper(const CurrentFolderKeeper&) = delete;
  CurrentFolderKeeper& operator=(const CurrentFolderKeeper&) = delete;

 private:
  char folder[MAX_PATH] = "";
  bool saved;
};

[[noreturn]] void RaiseCancel() { ThrowException(new UserCancelException()); }

}  // namespace

void RunOpenDialog(const List& types, char* path) {
  CurrentFolderKeeper keeper;
  path[0] = '\0';
  MemoryStream filter(static_cast<std::uint32_t>(60 * std::max(types.NumItems(), 1)));
  OSType defaultExtension = 0;
  if (types.NumItems() == 0) {
    AppendDialogFilter("Tous", kAllFilesCode, filter);
    defaultExtension = kAllFilesCode;
  }
  for (std::int32_t i = 1; i <= types.NumItems(); ++i) {
    const FileType* type = CastSmart<FileType>(types.At(i));
    if (type == nullptr || type->GetExtensionCode() == 0) continue;
    if (defaultExtension == 0) defaultExtension = type->GetExtensionCode();
    AppendDialogFilter(type->GetName(), type->GetExtensionCode(), filter);
  }
  filter.WriteByte(0);
  OPENFILENAMEA record;
  FillOpenFileName(&record, path, filter, defaultExtension);
  if (!GetOpenFileNameA(&record)) RaiseCancel();
}

void RunSaveDialog(const FileType& type, char* path) {
  CurrentFolderKeeper keeper;
  gUntitledName->CopyTo(path, MAX_PATH);
  const OSType extension = type.GetExtensionCode() != 0 ? type.GetExtensionCode() : kAllFilesCode;
  MemoryStream filter(60);
  AppendDialogFilter(type.GetName(), extension, filter);
  filter.WriteByte(0);
  OPENFILENAMEA record;
  FillOpenFileName(&record, path, filter, extension);
  if (!GetSaveFileNameA(&record)) RaiseCancel();
}

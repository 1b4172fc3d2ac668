#include "core/FileReference.h"

#include <algorithm>
#include <cstring>

#include "core/Alert.h"
#include "core/CoreState.h"
#include "core/Exception.h"
#include "core/File.h"
#include "core/Format.h"
#include "core/Resources.h"
#include "core/String.h"
#include "core/Time.h"
#include "core/Utilities.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/FileTimes.h"
#include "platform/kernel/Files.h"

SMART_DEFINE(FileReference, "FileReference", &FileReference::MakeEmpty, nullptr, Persistent, SmartImplementation)

const PersistentType FileReference::persistentType(&FileReference::classInfo, MakeVersion(0), MakeVersion(1),
                                                   &FileReference::ReadNew);

namespace {
// Documents record file references at this class index.
[[maybe_unused]] const bool gFileReferenceRegistered = (RegisterGenericType(27, &FileReference::persistentType), true);
}  // namespace

const DWORD kFileShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
const DWORD kFileShareReadOnly = FILE_SHARE_READ;
DWORD gFileShareMode = FILE_SHARE_READ | FILE_SHARE_WRITE;
SmartRef<String> gUntitledName(new String("sanstitre"));

namespace {

char gApplicationFolderPath[MAX_PATH];
SmartRef<FileReference> gCurrentFolder;

// One listing of a folder, closed however the walk ends: a failure inside it (a subfolder's listing)
// must not leave the search, and its folder, open.
class FolderSearch {
 public:
  FolderSearch(const std::string& pattern, WIN32_FIND_DATAA* data)
      : data(data), handle(FindFirstFileA(pattern.c_str(), data)) {
    if (handle == INVALID_HANDLE_VALUE) SetLastError(ERROR_SUCCESS);  // nothing there: an empty listing
  }
  ~FolderSearch() {
    if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
  }
  FolderSearch(const FolderSearch&) = delete;
  FolderSearch& operator=(const FolderSearch&) = delete;

  bool Found() const { return handle != INVALID_HANDLE_VALUE; }
  bool Next() { return FindNextFileA(handle, data); }
  // Ends a walk that reached its end; a failure to close is raised.
  void Close() {
    ClearBenignError({ERROR_NO_MORE_FILES});
    const HANDLE closing = handle;
    handle = INVALID_HANDLE_VALUE;
    CHECK_CALL(FindClose(closing));
  }

 private:
  WIN32_FIND_DATAA* data;
  HANDLE handle;
};

[[noreturn]] void RaiseTooLong(const char* file, int line) {
  SetLastError(ERROR_FILENAME_EXCED_RANGE);
  CheckCall(false, file, line);
  ThrowError("Call failed.", file, line);  // not reached: the check raises
}

// The types of a FileTypeList that have an extension.
std::vector<const FileType*> TypesOf(const List& types) {
  std::vector<const FileType*> out;
  for (std::int32_t i = 1; i <= types.NumItems(); ++i) {
    const FileType* type = CastSmart<FileType>(types.At(i));
    if (type && type->GetExtensionCode() != 0) out.push_back(type);
  }
  return out;
}

// Closes a handle of the file layer when it goes out of scope.
class HandleCloser {
 public:
  explicit HandleCloser(HANDLE handle) : handle(handle) {}
  ~HandleCloser() { CloseHandle(handle); }
  HandleCloser(const HandleCloser&) = delete;
  HandleCloser& operator=(const HandleCloser&) = delete;

 private:
  HANDLE handle;
};

bool PathLess(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return platform::LowerCp1252(static_cast<unsigned char>(x)) < platform::LowerCp1252(static_cast<unsigned char>(y));
  });
}

}  // namespace

FileReference::FileReference(const char* newPath) {
  if (newPath == nullptr) {
    flags = kNotLocated;
    return;
  }
  SetPath(newPath);
}

FileReference::FileReference(const FileReference& other)
    : Smart(),
      Persistent(other),
      SmartImplementation(other),
      path(other.path),
      hasPath(other.hasPath),
      flags(other.flags) {}

FileReference::FileReference(const FileType& type, const FileCreatorType&, FileReference& folder, const String& name,
                             bool create) {
  std::string childPath;
  if (!folder.BuildChildPath(&childPath, TextOf(name).c_str(), type.GetExtensionCode()))
    RaiseTooLong(__FILE__, __LINE__);
  SetPath(childPath.c_str());
  const HANDLE handle = OpenOSPath(path.c_str(), kFileModeRead, create ? OPEN_ALWAYS : OPEN_EXISTING);
  CloseHandle(handle);
}

FileReference::FileReference(FileReference& parent, const String& name, bool create) {
  if (!parent.IsFolder()) AssertFailed("parent.IsFolder()", __FILE__, __LINE__);
  parent.Locate();
  std::string childPath;
  if (!parent.BuildChildPath(&childPath, TextOf(name).c_str(), 0)) RaiseTooLong(__FILE__, __LINE__);
  SetPath(childPath.c_str());
  if (!create) {
    CHECK_CALL(GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES);
    return;
  }
  if (CreateDirectoryA(path.c_str(), nullptr)) return;
  // Something of that name may already be there; a folder that could not be made is an error.
  const DWORD failure = GetLastError();
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    SetLastError(ERROR_SUCCESS);
    return;
  }
  SetLastError(failure);
  CHECK_CALL(false);
}

FileReference::FileReference(OpenDialog, const List& types) {
  char chosen[MAX_PATH];
  RunOpenDialog(types, chosen);
  SetPath(chosen);
}

FileReference::FileReference(OpenDialog, const FileType& type) {
  FileTypeList types;
  types.AppendRef(SmartRef<Smart>(type.Clone()));
  char chosen[MAX_PATH];
  RunOpenDialog(types, chosen);
  SetPath(chosen);
}

FileReference::FileReference(SaveDialog, const FileType& type) {
  char chosen[MAX_PATH];
  RunSaveDialog(type, chosen);
  SetPath(chosen);
  CloseHandle(OpenOSPath(path.c_str(), kFileModeRead, OPEN_ALWAYS));
}

Smart* FileReference::MakeEmpty() {
  NOT_IMPLEMENTED();
  return new FileReference();
}

void FileReference::GetPath(char* buffer) const { CopyBounded(hasPath ? path.c_str() : "", buffer, MAX_PATH); }

void FileReference::SetPath(const char* newPath) {
  if (TextLength(newPath) > kMaxPathLength) RaiseTooLong(__FILE__, __LINE__);
  path = newPath ? newPath : "";
  hasPath = newPath != nullptr;
  spec.reset();
}

void FileReference::Assign(const FileReference& other) {
  if (&other == this) return;
  path = other.path;
  hasPath = other.hasPath;
  flags = other.flags;
  spec.reset();
}

void FileReference::Locate() {
  if (!(flags & kNotLocated) || !hasPath) return;
  FileSpec missing;
  Parse(&missing);
  char text[256];
  gDocumentMessages.GetString(text, 6, missing.name);
  if (Alert(kAlertExclamation, kButtonsOKCancel, text) == kAlertAnswerCancel) ThrowException(new UserCancelException());
  char chosen[MAX_PATH];
  RunOpenDialog(FileTypeList(), chosen);
  SetPath(chosen);
  flags &= static_cast<std::uint8_t>(~kNotLocated);
}

void FileReference::Parse(FileSpec* out) const {
  const std::size_t length = path.size();
  const std::size_t colon = path.find(':');
  out->drive = colon == 1 ? path[0] : '\0';
  const std::size_t slash = path.rfind('\\');
  std::size_t dot = path.rfind('.');
  if (dot != std::string::npos && slash != std::string::npos && dot < slash) dot = std::string::npos;
  // A folder (or a path that is not there) has no extension; only exactly three characters make one.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  ClearBenignError({ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME, ERROR_FILENAME_EXCED_RANGE});
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) dot = std::string::npos;
  if (dot != std::string::npos && length - dot - 1 != 3) dot = std::string::npos;
  out->extension = dot == std::string::npos ? 0 : ExtensionTextToCode(path.c_str() + dot + 1);
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t nameEnd = dot == std::string::npos ? length : dot;
  const std::size_t nameLength = std::min<std::size_t>(nameEnd - nameStart, MaxNameLength());
  std::memcpy(out->name, path.c_str() + nameStart, nameLength);
  out->name[nameLength] = '\0';
  out->folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
}

const FileSpec& FileReference::GetSpec() {
  Locate();
  if (!hasPath) AssertFailed("spec != NULL", __FILE__, __LINE__);
  if (!spec) {
    auto parsed = std::make_unique<FileSpec>();
    Parse(parsed.get());
    spec = std::move(parsed);
  }
  return *spec;
}

std::string FileReference::GetNameText() {
  if (!hasPath) return {};
  const FileSpec& parsed = GetSpec();
  char extension[4];
  ExtensionCodeToText(parsed.extension, extension);
  return std::string(parsed.name) + "." + extension;
}

void FileReference::GetName(String& name) { name.Set(GetNameText().c_str()); }

String* FileReference::GetNameString() { return new String(GetNameText().c_str()); }

OSType FileReference::GetBaseNameAndType(String& baseName) {
  std::string name = GetNameText();
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) {
    char extension[3] = {};
    for (std::size_t i = 0; i < 3 && dot + 1 + i < name.size(); ++i) extension[i] = name[dot + 1 + i];
    name.resize(dot);
    baseName.Set(name.c_str());
    // Characters missing after the dot stay 0 bytes in the code.
    return ExtensionTextToCode(extension);
  }
  baseName.Set(name.c_str());
  return 0;
}

FileReference* FileReference::GetParent() {
  if (!hasPath) return nullptr;
  return new FileReference(GetSpec().folder.c_str());
}

bool FileReference::operator==(FileReference& other) {
  if (!hasPath || !other.hasPath) return hasPath == other.hasPath;
  GetSpec();
  other.GetSpec();
  return path == other.path;
}

// Windows compares names without regard to case, and some types are given in capitals (AIFF's 'IFF ').
bool FileReference::IsOfType(const FileType& type) {
  if (!hasPath) return false;
  OSType code = type.GetExtensionCode();
  for (int shift = 8; shift < 32; shift += 8) {
    const char c = static_cast<char>(code >> shift);
    code = (code & ~(OSType{0xFF} << shift)) | (OSType{static_cast<unsigned char>(ToLowerAscii(c))} << shift);
  }
  return GetSpec().extension == code;
}

bool FileReference::IsFolder() {
  Locate();
  const DWORD attributes = GetFileAttributesA(hasPath ? path.c_str() : "");
  ClearBenignError({ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME, ERROR_FILENAME_EXCED_RANGE});
  return attributes & FILE_ATTRIBUTE_DIRECTORY;
}

bool FileReference::IsWritable() {
  Locate();
  const DWORD attributes = GetFileAttributesA(hasPath ? path.c_str() : "");
  ClearBenignError({ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME, ERROR_FILENAME_EXCED_RANGE});
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY);
}

bool FileReference::IsEmptyFile() {
  SmartRef<File> file(new File(this, kFileModeRead));
  // A file that cannot be opened holds nothing the program could read.
  return !file->IsOpen() || file->AtEnd();
}

bool FileReference::BuildChildPath(std::string* out, const char* name, OSType extension) const {
  *out = path + "\\" + (name ? name : "");
  if (extension != 0) {
    char text[4];
    ExtensionCodeToText(extension, text);
    *out += ".";
    *out += text;
  }
  if (out->size() <= kMaxPathLength) return true;
  SetLastError(ERROR_FILENAME_EXCED_RANGE);
  return false;
}

bool FileReference::ChildExists(const String& name, const FileType& type) {
  if (!IsFolder()) return false;
  std::string childPath;
  const bool exists = BuildChildPath(&childPath, TextOf(name).c_str(), type.GetExtensionCode()) &&
                      GetFileAttributesA(childPath.c_str()) != INVALID_FILE_ATTRIBUTES;
  ClearBenignError({ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME, ERROR_FILENAME_EXCED_RANGE});
  return exists;
}

Time* FileReference::GetModificationDate() {
  const HANDLE handle = OpenOS(kFileModeQuery);
  HandleCloser closer(handle);
  BY_HANDLE_FILE_INFORMATION information{};
  CHECK_CALL(GetFileInformationByHandle(handle, &information));
  SYSTEMTIME st{};
  CHECK_CALL(FileTimeToSystemTime(&information.ftLastWriteTime, &st));
  auto* date = new Time(st.wMonth, st.wDay, st.wYear);
  date->Add(TimePeriod(st.wHour, st.wMinute, st.wSecond));
  return date;
}

void FileReference::DeleteChild(const String& name) {
  if (!IsFolder()) return;
  std::string childPath;
  if (!BuildChildPath(&childPath, TextOf(name).c_str(), 0)) RaiseTooLong(__FILE__, __LINE__);
  CHECK_CALL(DeleteFileA(childPath.c_str()));
}

void FileReference::MakeUniqueChildName(String& name, const FileType& type) {
  if (!IsFolder()) return;
  const std::string given = TextOf(name);
  for (int number = 1; ChildExists(name, type); ++number) {
    if (number > 99) {
      // Every name is taken: answering one of them would let the caller overwrite a file.
      SetLastError(ERROR_FILE_EXISTS);
      CHECK_CALL(false);
    }
    const std::string digits = std::to_string(number);
    std::string base = given;
    if (base.size() + digits.size() > static_cast<std::size_t>(MaxNameLength()))
      base.resize(MaxNameLength() - digits.size());
    name.Set((base + digits).c_str());
  }
}

void FileReference::SearchInto(List& result, const char* pattern, bool recurse, const List& types) {
  WIN32_FIND_DATAA data{};
  FolderSearch search(path + pattern, &data);
  if (!search.Found()) return;
  do {
    if ((data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) || data.cFileName[0] == '.') continue;
    std::string childPath;
    if (!BuildChildPath(&childPath, data.cFileName, 0)) continue;  // a path the program could not hold
    SmartRef<FileReference> child(new FileReference(childPath.c_str()));
    if (recurse && data.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY) {
      child->FindFiles(result, types, true);
      continue;
    }
    std::int32_t after = 0;
    while (after < result.NumItems() && !PathLess(childPath, CastSmart<FileReference>(result.At(after + 1))->path))
      ++after;
    result.Insert(~child, after);
  } while (search.Next());
  search.Close();
}

List FileReference::ListFiles(const List& types, bool recurse) {
  List result(&FileReference::classInfo);
  FindFiles(result, types, recurse);
  return result;
}

void FileReference::FindFiles(List& result, const List& types, bool recurse) {
  Locate();
  if (types.NumItems() == 0) {
    SearchInto(result, "\\*.*", recurse, types);
  } else {
    for (const FileType* type : TypesOf(types)) {
      char extension[4];
      ExtensionCodeToText(type->GetExtensionCode(), extension);
      SearchInto(result, (std::string("\\*.") + extension).c_str(), recurse, types);
    }
  }
  SetLastError(ERROR_SUCCESS);
}

List FileReference::ListSubfolders() {
  if (!IsFolder()) AssertFailed("IsFolder()", __FILE__, __LINE__);
  List folders(&FileReference::classInfo);
  WIN32_FIND_DATAA data{};
  FolderSearch search(path + "\\*.*", &data);
  if (!search.Found()) return folders;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || data.cFileName[0] == '.') continue;
    std::string childPath;
    if (BuildChildPath(&childPath, data.cFileName, 0))
      folders.AppendRef(SmartRef<FileReference>(new FileReference(childPath.c_str())));
  } while (search.Next());
  search.Close();
  return folders;
}

FileReference* FileReference::ApplicationFolder() {
  if (!TheCoreState().applicationFolderRead) {
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, gApplicationFolderPath);
    // A folder whose path does not fit could only be named cut, which would be another folder.
    if (length >= MAX_PATH) RaiseTooLong(__FILE__, __LINE__);
    CHECK_NON_ZERO(length);
    TheCoreState().applicationFolderRead = true;
  }
  return new FileReference(gApplicationFolderPath);
}

FileReference* FileReference::CurrentFolder() {
  char folder[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
  ClearBenignError({ERROR_INVALID_PARAMETER});
  if (length == 0 || length >= MAX_PATH) {
    if (gCurrentFolder) return new FileReference(*gCurrentFolder);
    if (length >= MAX_PATH) RaiseTooLong(__FILE__, __LINE__);
    CHECK_NON_ZERO(length);
  }
  gCurrentFolder = new FileReference(folder);
  return new FileReference(*gCurrentFolder);
}

bool FileReference::SetCurrentFolder(FileReference& folder) {
  if (!folder.IsFolder()) return false;
  CHECK_CALL(SetCurrentDirectoryA(folder.GetPathText()));
  gCurrentFolder = new FileReference(folder);
  return true;
}

HANDLE FileReference::OpenOS(int mode) {
  Locate();
  return OpenOSPath(GetPathText(), mode, OPEN_EXISTING);
}

HANDLE FileReference::OpenOSPath(const char* osPath, int mode, DWORD disposition) {
  DWORD access = 0;
  if (mode != kFileModeQuery) {
    if (mode & kFileModeRead) access |= GENERIC_READ;
    if (mode & kFileModeWrite) access |= GENERIC_WRITE;
  }
  SECURITY_ATTRIBUTES security{12, nullptr, FALSE};
  const HANDLE handle = CreateFileA(osPath, access, gFileShareMode, &security, disposition, 0x880, nullptr);
  ClearBenignError({ERROR_INVALID_PARAMETER, ERROR_ALREADY_EXISTS, ERROR_FILE_NOT_FOUND});
  if (disposition == OPEN_EXISTING) ClearBenignError({ERROR_DIRECTORY});
  CHECK_CALL(handle != INVALID_HANDLE_VALUE);
  return handle;
}

FileReference* GetArchiveFileReference(ArchiveBlock& block) {
  File* file = CastSmart<File>(block.GetStream());
  return file ? file->GetFileReference() : nullptr;
}

FileReference* GetArchiveFolder(ArchiveBlock& block) {
  SmartRef<FileReference> file(GetArchiveFileReference(block));
  return file ? file->GetParent() : FileReference::ApplicationFolder();
}


void FileReference::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  if (block.IsSkipping()) return;
  std::string name;
  try {
    name = GetNameText();
  } catch (Exception* failure) {
    // The user would not look for the file: its name as it was read is kept.
    if (!IsMember<UserCancelException>(failure) || !hasPath || IsLocated()) throw;
    FileSpec parsed;
    Parse(&parsed);
    name = parsed.name;
  }
  // A name longer than the parsed form holds is stored whole: cut, it would name another file.
  const std::string lastName = path.substr(path.rfind('\\') == std::string::npos ? 0 : path.rfind('\\') + 1);
  if (hasPath && lastName.size() > static_cast<std::size_t>(MaxNameLength()) &&
      lastName.rfind(name.substr(0, MaxNameLength()), 0) == 0)
    name = lastName;
  String(name.c_str()).Write(block.GetArchive());
}

FileReference::FileReference(ArchiveBlock& block) {
  ArchiveBlock nameBlock(block, &String::persistentType);
  const String name(nameBlock);
  nameBlock.Close();
  if (name.Length() == 0) {
    flags = kNotLocated;
    return;
  }
  // Only a plain name is looked for beside the document: a stored path or ".." must not lead the program
  // to files elsewhere. Anything else is asked of the user at its first use.
  const std::string text = TextOf(name);
  if (text.find_first_of("\\/:") == std::string::npos && text != "." && text != "..") {
    try {
      SmartRef<FileReference> folder(GetArchiveFolder(block));
      Assign(FileReference(*folder, name, false));
      flags = 0;
      return;
    } catch (Exception*) {
      ClearLastError();
    }
  }
  SetPath(text.substr(0, kMaxPathLength).c_str());
  flags = kNotLocated;
}

Persistent* FileReference::ReadNew(Archive* archive) { return ReadFromBlock<FileReference>(archive, &persistentType); }

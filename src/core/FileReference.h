// A file or folder named by its full path, and everything the program does with paths: child paths,
// names and extensions, listing, creating, deleting, finding a file that has gone missing, the program's
// and the current folder, modification dates.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/Archive.h"
#include "core/FileType.h"
#include "core/ListData.h"
#include "core/String.h"
#include "platform/kernel/WinTypes.h"

class Image;
class Preview;
class Time;

// Open modes of files.
enum : std::uint8_t { kFileModeRead = 1, kFileModeWrite = 2, kFileModeQuery = 4 };

// The share mode given to every open: reading and writing shared, except around the taking of a
// project's lock file, where only reading is.
extern DWORD gFileShareMode;
extern const DWORD kFileShareReadWrite;
extern const DWORD kFileShareReadOnly;

// The parsed form of a path.
struct FileSpec {
  char name[33];       // the last name without its extension, at most 32 characters
  char drive;          // the drive letter, or 0
  std::string folder;  // everything before the last "\"
  OSType extension;    // the extension code, or 0
};

class FileReference : public Persistent, public SmartImplementation {
  SMART_CLASS(FileReference)
 public:
  static const PersistentType persistentType;
  static constexpr std::size_t kMaxPathLength = 259;
  static constexpr int MaxNameLength() { return 32; }

  // A reference to the path; null gives an empty reference (not located, no path). A path longer than
  // 259 characters is refused (ERROR_FILENAME_EXCED_RANGE) rather than cut to another file's path.
  explicit FileReference(const char* path = nullptr);
  FileReference(const FileReference& other);
  FileReference& operator=(const FileReference& other) {
    Assign(other);
    return *this;
  }
  // The file named by the name and the type's extension in the folder. With the create flag a missing
  // file is made empty; without it the file must exist. The creator is not used.
  FileReference(const FileType& type, const FileCreatorType& creator, FileReference& folder, const String& name,
                bool create);
  // The item named in the parent folder. With the create flag a missing folder is made there (raising
  // when it cannot be); without it the item must exist.
  FileReference(FileReference& parent, const String& name, bool create);
  struct OpenDialog {};
  struct SaveDialog {};
  // The file the user chooses in the Open dialog over the types (a FileTypeList; all files for none).
  FileReference(OpenDialog, const List& types);
  FileReference(OpenDialog, const FileType& type);
  // The file the user chooses in the Save dialog; it exists (empty when new) afterwards.
  FileReference(SaveDialog, const FileType& type);
  // The stored name in the folder of the file being read. When that file is not there, the reference
  // keeps the bare name and is not located: the user is asked for the file at its first use.
  explicit FileReference(ArchiveBlock& block);

  static Smart* MakeEmpty();
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  bool HasPath() const { return hasPath; }
  // The path, or null for an empty reference.
  const char* GetPathText() const { return hasPath ? path.c_str() : nullptr; }
  // Copies the path into a buffer of 260 bytes (empty for an empty reference).
  void GetPath(char* buffer) const;
  void SetPath(const char* newPath);
  void Assign(const FileReference& other);
  bool IsLocated() const { return !(flags & kNotLocated); }

  // For a reference whose file was not found: asks the user (text 196) to look for it; Cancel in the
  // question or in the Open dialog raises UserCancelException.
  void Locate();
  // The parsed form, made once per path (locates first).
  const FileSpec& GetSpec();
  // The name, a dot and the extension's text (the dot also when there is no extension); empty for an
  // empty reference.
  void GetName(String& name);
  String* GetNameString();
  // The name without what follows its last dot, and the code of that extension (0 for none).
  OSType GetBaseNameAndType(String& baseName);
  FileReference* GetParent();
  // Two empty references are equal; otherwise the paths are compared byte for byte.
  bool operator==(FileReference& other);
  bool IsOfType(const FileType& type);

  // True for a folder, and for a path whose attributes cannot be read.
  bool IsFolder();
  bool IsWritable();
  bool IsEmptyFile();
  bool ChildExists(const String& name, const FileType& type);
  // The last write time, in UTC.
  Time* GetModificationDate();
  // Deletes the named file (name with its extension) of this folder.
  void DeleteChild(const String& name);
  // Changes the name, when the child of that name and type exists, to the first free one of name1 to
  // name99 (cut so as to keep 32 characters). Raises ERROR_FILE_EXISTS when all are taken.
  void MakeUniqueChildName(String& name, const FileType& type);
  // A new list of this folder's files of the types (a FileTypeList; all items for none), in
  // case-insensitive path order; hidden, system and dot entries are left out. With recurse, sub-folders
  // that match are searched instead of being listed.
  List ListFiles(const List& types, bool recurse);
  void FindFiles(List& result, const List& types, bool recurse);
  // A new list of the sub-folders, hidden ones included, in the order found.
  List ListSubfolders();

  // The folder the program started in (the current folder at the first call).
  static FileReference* ApplicationFolder();
  static FileReference* CurrentFolder();
  static bool SetCurrentFolder(FileReference& folder);

  // Thumbnails, kept by the folder previews of the ui library, which defines these two. This file's
  // thumbnail in its folder's preview, or null (always for an empty file).
  SmartRef<Image> GetPreview();
  // Gives the image to the folder's preview as this file's thumbnail, dated with the file's modification
  // date; it is stored when the program turns to another folder's preview or quits.
  void SetPreview(Image* image);

  // Opens the file (located first) as an existing file with the mode's access.
  HANDLE OpenOS(int mode);
  static HANDLE OpenOSPath(const char* path, int mode, DWORD disposition);

 private:
  enum : std::uint8_t { kNotLocated = 1 };

  std::string GetNameText();
  void Parse(FileSpec* spec) const;
  // The folder's path, "\", the name, and "." with the extension's text unless the code is 0. Answers
  // false (with ERROR_FILENAME_EXCED_RANGE) when that does not fit in 259 characters.
  bool BuildChildPath(std::string* out, const char* name, OSType extension) const;
  void SearchInto(List& result, const char* pattern, bool recurse, const List& types);

  std::string path;
  bool hasPath = false;
  std::unique_ptr<FileSpec> spec;
  std::uint8_t flags = 0;
};

// The name the Save dialog proposes: "sanstitre".
extern SmartRef<String> gUntitledName;

// The one folder preview the file references keep at a time, and whether it holds thumbnails not yet
// stored. These and the two functions below are defined with the folder previews, in the ui library.
extern SmartRef<Preview> currentPreview;
extern bool currentPreviewModified;
// The folder's preview, which becomes the current one: turning to another folder first stores the
// thumbnails given to the current preview.
SmartRef<Preview> GetFolderPreview(FileReference& folder);
// Stores the current preview's new thumbnails, if it has any; the application calls it before quitting.
void SaveCurrentPreview();

// The reference of the file under the block's archive, or null when its stream is no file.
FileReference* GetArchiveFileReference(ArchiveBlock& block);
// That file's folder, or the program's folder when there is no file.
FileReference* GetArchiveFolder(ArchiveBlock& block);

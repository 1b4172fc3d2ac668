// What kind of file something is: a four-character type code in the Macintosh manner, and a Windows
// extension; and who made it.
#pragma once

#include <cstdint>

#include "core/ListData.h"
#include "core/Smart.h"

class FileReference;
class MemoryStream;
struct OPENFILENAMEA;

// A four-character code, the first character in the most significant byte: 'TEXT' is 0x54455854.
using OSType = std::uint32_t;
constexpr OSType FourCharCode(const char (&text)[5]) {
  return (OSType{static_cast<unsigned char>(text[0])} << 24) | (OSType{static_cast<unsigned char>(text[1])} << 16) |
         (OSType{static_cast<unsigned char>(text[2])} << 8) | OSType{static_cast<unsigned char>(text[3])};
}
// The extension code of all files in the dialogs: a star and three blanks.
inline constexpr OSType kAllFilesCode = 0x2A202020;

// The code's first three characters, NUL-terminated; a 0 byte ends the text early (code 0 gives "").
void ExtensionCodeToText(OSType code, char out[4]);
// The first three bytes of the text (at least three), letters A..Z lower-cased, then a blank.
OSType ExtensionTextToCode(const char* text);
char ToLowerAscii(char c);

class FileCreatorType : public SmartImplementation {
  SMART_CLASS(FileCreatorType)
 public:
  FileCreatorType(const char* name, OSType code) : code(code), name(name) {}
  FileCreatorType(const FileCreatorType& other)
      : Smart(), SmartImplementation(other), code(other.code), name(other.name) {}
  FileCreatorType& operator=(const FileCreatorType& other) {
    code = other.code;
    name = other.name;
    return *this;
  }

  OSType GetCode() const { return code; }
  const char* GetName() const { return name; }

  // "Inconnu", code 0: the creator given when a reference to a new or numbered file is built.
  static FileCreatorType* defaultCreator;

 protected:
  OSType code;
  const char* name;  // not owned
};

class FileType : public FileCreatorType {
  SMART_CLASS(FileType)
 public:
  FileType(const char* name, OSType macType, OSType extension, const char* extraExtension = nullptr)
      : FileCreatorType(name, macType), extension(extension), extraExtension(extraExtension) {}
  FileType(const FileType& other)
      : Smart(), FileCreatorType(other), extension(other.extension), extraExtension(other.extraExtension) {}
  FileType& operator=(const FileType& other) {
    FileCreatorType::operator=(other);
    extension = other.extension;
    extraExtension = other.extraExtension;
    return *this;
  }

  OSType GetMacType() const { return code; }
  OSType GetExtensionCode() const { return extension; }
  const char* GetExtraExtension() const { return extraExtension; }
  // Whether the reference's parsed extension (which locates the file first) is this type's.
  bool Matches(FileReference* reference) const;

 private:
  OSType extension;
  const char* extraExtension;  // not owned
};

// A list of file types holding n null entries; the empty list means all files.
class FileTypeList : public List {
 public:
  explicit FileTypeList(std::int32_t n = 0);
};

// The dialogs' filter entry: the display name, " (", the pattern, ")", NUL, the pattern, NUL; the pattern
// is "*." and the extension's text, or "*.*" for all files.
void AppendDialogFilter(const char* displayName, OSType extension, MemoryStream& filter);
// The dialog record over the caller's 260-byte path buffer, the filter and the default extension.
void FillOpenFileName(OPENFILENAMEA* record, char* path, MemoryStream& filter, OSType extension);
// Runs the Open dialog over the types (all files for none; types without extension are left out) and
// answers the chosen path in the 260-byte buffer. Cancelling raises UserCancelException. The current
// folder is the same afterwards, however the dialog ends.
void RunOpenDialog(const List& types, char* path);
// Runs the Save dialog for the type, proposing "sanstitre"; cancelling raises UserCancelException.
void RunSaveDialog(const FileType& type, char* path);

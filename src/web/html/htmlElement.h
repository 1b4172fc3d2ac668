// The elements a published page is made of, and what every page file shares: its file type, its line
// end, the filter that turns a page name into a name for files and anchors, and the escaping of text put
// into markup.
#pragma once

#include <string>

#include "core/Archive.h"
#include "core/FileReference.h"
#include "core/ListData.h"
#include "core/String.h"

class File;
class Stream;

class htmlElement : public Persistent, public SmartImplementation {
  SMART_ABSTRACT(htmlElement)
 public:
  // Writes the element's markup to the output. The base name is the page's filtered name; an element that
  // writes a file of its own puts it in the folder and appends its reference to the files, which the page
  // file lists so that the next compilation of the page can remove them.
  virtual void Emit(SmartRef<FileReference> folder, const String& baseName, List files, Stream& out) = 0;

 protected:
  htmlElement() = default;
  htmlElement(const htmlElement&) = default;
  htmlElement& operator=(const htmlElement&) = default;
};

// Emits its children in order.
class htmlWrapper : public htmlElement {
  SMART_CLASS(htmlWrapper)
 public:
  static const PersistentType persistentType;

  // Shares the list.
  explicit htmlWrapper(List children);
  htmlWrapper(const htmlWrapper& other) = default;
  htmlWrapper& operator=(const htmlWrapper& other) = default;
  explicit htmlWrapper(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  void Emit(SmartRef<FileReference> folder, const String& baseName, List files, Stream& out) override;
  const List& GetChildren() const { return children; }

 private:
  List children;
};

// Markup written exactly as given: the caller answers for it.
class RawHTML : public htmlElement {
  SMART_CLASS(RawHTML)
 public:
  static const PersistentType persistentType;

  explicit RawHTML(const String& text) : text(text) {}
  RawHTML(const RawHTML& other) = default;
  RawHTML& operator=(const RawHTML& other) = default;
  explicit RawHTML(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  void Emit(SmartRef<FileReference> folder, const String& baseName, List files, Stream& out) override;

 private:
  String text;
};

// "HTML World Wide Web page", 'TEXT', extension htm (html accepted).
extern SmartRef<FileType> gHTMLFileType;
// Page files end their lines with a line feed alone.
inline constexpr char gHTMLLineEnd[] = "\n";

// The name with every character other than 0-9, A-Z and a-z replaced by '_', same length: the page's
// file name, title, anchor and the links to it. The punctuation between '9' and 'A' goes too, since
// '?', ':' and '<' would break a link or the markup.
String SanitizeHTMLName(const String& name);

// Writes text into markup: '&', '<', '>' and '"' as entities, every other byte as it stands (the page is
// read in the program's own code page). Fit for element text and for attribute values in double quotes.
void WriteEscapedHTML(Stream& out, const char* text, std::size_t length);
void WriteEscapedHTML(Stream& out, const String& text);
// Writes the characters as they stand.
void WriteHTML(Stream& out, const char* text);

// The name a page refers to a file by: its name and extension ("B.jpg").
std::string FileNameWithExtension(FileReference& file);
// Creates the first free file of the base name and type in the folder (the base name, else numbered from
// 1), adds its reference to the files and opens it for writing; the name receives its name and extension.
SmartRef<File> CreateNumberedFile(FileReference& folder, const String& baseName, const FileType& type, List& files,
                                  std::string* name);

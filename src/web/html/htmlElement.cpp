#include "web/html/htmlElement.h"

#include <cstring>
#include <string_view>

#include "core/File.h"
#include "core/Stream.h"
#include "engine/Storage.h"

SMART_DEFINE_ABSTRACT(htmlElement, "htmlElement", Persistent, SmartImplementation)
SMART_DEFINE(htmlWrapper, "htmlWrapper", nullptr, nullptr, htmlElement)
SMART_DEFINE(RawHTML, "RawHTML", nullptr, nullptr, htmlElement)

const PersistentType htmlWrapper::persistentType(&htmlWrapper::classInfo, MakeVersion(1), MakeVersion(1),
                                                 &htmlWrapper::ReadNew);
const PersistentType RawHTML::persistentType(&RawHTML::classInfo, MakeVersion(1), MakeVersion(1), &RawHTML::ReadNew);

SmartRef<FileType> gHTMLFileType(new FileType("HTML World Wide Web page", FourCharCode("TEXT"), FourCharCode("htm "),
                                              "html"));

htmlWrapper::htmlWrapper(List children) : children(std::move(children)) {}

// A stored reference that is not a list (a damaged file) leaves the wrapper empty rather than null.
htmlWrapper::htmlWrapper(ArchiveBlock& block) : children(&htmlElement::classInfo) {
  if (block.IsSkipping()) return;
  if (SmartRef<ListData> stored = ReadListData(block)) children = List(stored);
}

Persistent* htmlWrapper::ReadNew(Archive* archive) { return ReadFromBlock<htmlWrapper>(archive, &persistentType); }

void htmlWrapper::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  WritePersistent(block, ~children.GetData());
}

void htmlWrapper::Emit(SmartRef<FileReference> folder, const String& baseName, List files, Stream& out) {
  const std::int32_t count = children.NumItems();
  for (std::int32_t i = 1; i <= count; ++i) {
    // The list takes only elements, but a damaged file can still leave a hole.
    if (auto* child = CastSmart<htmlElement>(children.At(i))) child->Emit(folder, baseName, files, out);
  }
}

RawHTML::RawHTML(ArchiveBlock& block) {
  if (block.IsSkipping()) return;
  ArchiveBlock textBlock(block, &String::persistentType);
  text = String(textBlock);
  textBlock.Close();
}

Persistent* RawHTML::ReadNew(Archive* archive) { return ReadFromBlock<RawHTML>(archive, &persistentType); }

void RawHTML::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  if (block.IsSkipping()) return;
  text.Write(block.GetArchive());
}

void RawHTML::Emit(SmartRef<FileReference>, const String&, List, Stream& out) { out << text; }

String SanitizeHTMLName(const String& name) {
  std::string text = TextOf(name);
  for (char& c : text) {
    const auto u = static_cast<unsigned char>(c);
    const bool kept = (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
    if (!kept) c = '_';
  }
  String sanitized;
  sanitized.Insert(text.data(), 0, static_cast<std::int32_t>(text.size()));
  return sanitized;
}

void WriteEscapedHTML(Stream& out, const char* text, std::size_t length) {
  std::size_t plain = 0;
  const auto flush = [&](std::size_t end) {
    if (end > plain) out.Write(text + plain, static_cast<std::uint32_t>(end - plain));
  };
  for (std::size_t i = 0; i < length; ++i) {
    std::string_view entity;
    switch (text[i]) {
      case '&': entity = "&amp;"; break;
      case '<': entity = "&lt;"; break;
      case '>': entity = "&gt;"; break;
      case '"': entity = "&quot;"; break;
      default: continue;
    }
    flush(i);
    out.Write(entity.data(), static_cast<std::uint32_t>(entity.size()));
    plain = i + 1;
  }
  flush(length);
}

void WriteEscapedHTML(Stream& out, const String& text) {
  const std::string bytes = TextOf(text);
  WriteEscapedHTML(out, bytes.data(), bytes.size());
}

void WriteHTML(Stream& out, const char* text) { out.Write(text, static_cast<std::uint32_t>(std::strlen(text))); }

std::string FileNameWithExtension(FileReference& file) {
  const FileSpec& spec = file.GetSpec();
  char extension[4];
  ExtensionCodeToText(spec.extension, extension);
  std::string name = spec.name;
  std::string_view suffix(extension);
  while (!suffix.empty() && suffix.back() == ' ') suffix.remove_suffix(1);
  if (!suffix.empty()) name.append(".").append(suffix);
  return name;
}

SmartRef<File> CreateNumberedFile(FileReference& folder, const String& baseName, const FileType& type, List& files,
                                  std::string* name) {
  String unique(baseName);
  folder.MakeUniqueChildName(unique, type);
  SmartRef<FileReference> reference = new FileReference(type, *FileCreatorType::defaultCreator, folder, unique, true);
  files.Append(~reference);
  *name = FileNameWithExtension(*reference);
  return new File(~reference, kFileModeRead | kFileModeWrite);
}

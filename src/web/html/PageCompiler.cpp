#include "web/html/PageCompiler.h"

#include <string>
#include <string_view>
#include <vector>

#include "core/Exception.h"
#include "core/File.h"
#include "core/TextFile.h"
#include "web/html/htmlElement.h"

namespace {

constexpr char kFileListStart[] = "<!-- Files:";
constexpr char kFileListEnd[] = "-->";

void WriteLine(Stream& out, const char* text) {
  WriteHTML(out, text);
  WriteHTML(out, gHTMLLineEnd);
}

void WriteHTMLHead(Stream& out, const String& baseName) {
  WriteLine(out, "<HEAD>");
  WriteHTML(out, "<TITLE>");
  WriteEscapedHTML(out, baseName);
  WriteLine(out, "</TITLE>");
  WriteLine(out, "</HEAD>");
}

void WriteHTMLFileList(Stream& out, const List& files) {
  WriteLine(out, kFileListStart);
  for (std::int32_t i = 1; i <= files.NumItems(); ++i) {
    if (auto* file = CastSmart<FileReference>(files.At(i))) WriteLine(out, FileNameWithExtension(*file).c_str());
  }
  WriteLine(out, kFileListEnd);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) return false;
  return true;
}

// A page file of the base name: the name before the last dot is the base name byte for byte, and what
// follows it is htm or html in any case.
bool IsPageFileOf(FileReference& file, std::string_view baseName) {
  const char* path = file.GetPathText();
  if (path == nullptr) return false;
  std::string_view name(path);
  if (const std::size_t slash = name.rfind('\\'); slash != std::string_view::npos) name.remove_prefix(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || name.substr(0, dot) != baseName) return false;
  const std::string_view extension = name.substr(dot + 1);
  return EqualsIgnoringCase(extension, "htm") || EqualsIgnoringCase(extension, "html");
}

// A page file may be damaged or come from elsewhere: only a plain name of the folder itself is deleted.
bool IsPlainName(std::string_view name) {
  return !name.empty() && name.front() != '.' && name.find_first_of("\\/:") == std::string_view::npos;
}

// The page file's text, or nothing when it cannot be read.
bool ReadPageFile(FileReference& file, std::string* text) {
  try {
    SmartRef<TextFile> reader = new TextFile(&file, kFileModeRead);
    if (!reader->IsOpen()) return false;
    SmartRef<Smart> read;
    reader->Read(&read);
    const String* string = CastSmart<String>(~read);
    if (string == nullptr) return false;
    *text = TextOf(*string);
    return true;
  } catch (Exception*) {
    return false;
  }
}

void DeleteListedFiles(FileReference& folder, const std::string& text) {
  const std::size_t start = text.find(kFileListStart);
  std::vector<std::string_view> lines;
  std::string_view rest = std::string_view(text).substr(start);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    if (!line.empty()) lines.push_back(line);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  // The first line is the marker itself. A list without its end is not trusted with its last name,
  // which may itself be cut short.
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i] == kFileListEnd || i + 1 == lines.size()) return;
    if (!IsPlainName(lines[i])) continue;
    try {
      folder.DeleteChild(String(std::string(lines[i]).c_str()));
    } catch (Exception*) {
      // Already gone, or held open: the rest of the list is still worth removing.
    }
  }
}

}  // namespace

void CompileHTMLPage(htmlElement& root, const String& pageName, SmartRef<FileReference> folder, List files) {
  const String baseName = SanitizeHTMLName(pageName);
  SmartRef<FileReference> reference =
      new FileReference(*gHTMLFileType, *FileCreatorType::defaultCreator, *folder, baseName, true);
  SmartRef<File> page = new File(~reference, kFileModeRead | kFileModeWrite);
  WriteLine(*page, "<HTML>");
  WriteHTMLHead(*page, baseName);
  root.Emit(folder, baseName, files, *page);
  WriteHTMLFileList(*page, files);
  WriteLine(*page, "</HTML>");
  page->SetLength(page->GetPosition());
  page->Close();
}

SmartRef<FileReference> RemoveStaleHTMLFiles(const String& pageName, SmartRef<FileReference> folder) {
  const std::string baseName = TextOf(SanitizeHTMLName(pageName));
  const List listing = folder->ListFiles(FileTypeList(), false);
  for (std::int32_t i = listing.NumItems(); i >= 1; --i) {
    auto* file = CastSmart<FileReference>(listing.At(i));
    if (file == nullptr || !IsPageFileOf(*file, baseName)) continue;
    std::string text;
    if (!ReadPageFile(*file, &text) || text.find(kFileListStart) == std::string::npos) continue;
    DeleteListedFiles(*folder, text);
    return SmartRef<FileReference>(file);
  }
  return nullptr;
}

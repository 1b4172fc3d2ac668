#include "web/lists/LinkList.h"

#include <string>
#include <vector>

#include "core/Exception.h"
#include "core/File.h"
#include "core/FileSaveTarget.h"
#include "core/SourcePlace.h"
#include "core/Text1252.h"
#include "core/TextFile.h"
#include "web/lists/ListText.h"

using listtext::ListLine;

namespace {

// The places the list writers' failures carry, as the web-link dialogs number them.
constexpr SourceName kSource("DROMEL/WebLinkDialog");
constexpr int kAppendLine = 220;
constexpr int kChangeLine = 542;
constexpr int kDeleteLine = 612;

enum class LineKind { kSkipped, kEntry, kBad };

struct ParsedLine {
  LineKind kind = LineKind::kSkipped;
  std::string_view name;
  std::string_view url;
};

ParsedLine ParseLine(std::string_view text) {
  if (text.size() < 3 || text.starts_with("//")) return {};
  const std::vector<std::string_view> pieces = listtext::SplitPieces(text, '\t');
  if (pieces.size() != 2) return {LineKind::kBad, {}, {}};
  return {LineKind::kEntry, pieces[0], pieces[1]};
}

// The entry lines of a list text, up to its end or its first line that is not an entry.
struct EntryLine : ListLine {
  // Where the line before it ends its characters (before its line end), or npos for the first line.
  std::size_t previousEnd = std::string_view::npos;
};

struct EntryLines {
  std::vector<EntryLine> entries;
  std::size_t end = 0;  // where the part of the text the entries come from ends
  // The first line of the text, when it is also the last before the empty line that ends the list.
  std::size_t onlyLine = std::string_view::npos;
};

EntryLines FindEntryLines(std::string_view text) {
  const listtext::ListLines lines = listtext::SplitListLines(text);
  EntryLines result;
  result.end = lines.end;
  if (lines.lines.size() == 1 && lines.end < text.size()) result.onlyLine = lines.lines.front().begin;
  std::size_t previousEnd = std::string_view::npos;
  for (const ListLine& line : lines.lines) {
    const ParsedLine parsed = ParseLine(line.text);
    if (parsed.kind == LineKind::kBad) {
      result.end = line.begin;
      break;
    }
    if (parsed.kind == LineKind::kEntry) result.entries.push_back({line, previousEnd});
    previousEnd = line.begin + line.text.size();
  }
  return result;
}

String* StringAt(const List& list, std::int32_t index) { return CastSmart<String>(list.At(index)); }

void RaiseProblem(const char* text) { Exception::Raise(new MessageException(text)); }

// The entry as a line of its file, without its line end; an entry no line can hold raises its problem.
std::string LineOf(const String& name, const String& url) {
  if (const char* problem = LinkEntryProblem(name, url)) RaiseProblem(problem);
  return TextOf(name) + '\t' + TextOf(url);
}

bool EndsWithLineEnd(std::string_view text) { return text.empty() || text.back() == '\r' || text.back() == '\n'; }

SmartRef<FileReference> ListFileIn(FileReference& folder, const String& base, bool create) {
  return new FileReference(*TextFile::fileType, *FileCreatorType::defaultCreator, folder, base, create);
}

}  // namespace

SmartRef<FileReference> LinkFolder(int kind) {
  SmartRef<FileReference> application(FileReference::ApplicationFolder());
  return new FileReference(*application, String(kind == kWebLinks ? "LNWEB" : "LNEMAIL"), true);
}

bool ParseLinkText(std::string_view text, LinkLists& lists, const String* fileBase) {
  const listtext::ListLines lines = listtext::SplitListLines(text);
  if (lines.lines.empty()) return false;
  for (const ListLine& line : lines.lines) {
    const ParsedLine parsed = ParseLine(line.text);
    if (parsed.kind == LineKind::kBad) return false;
    if (parsed.kind == LineKind::kSkipped) continue;
    lists.linkNames.AppendRef(SmartRef<String>(new String(listtext::StringOf(parsed.name))));
    lists.linkURLs.AppendRef(SmartRef<String>(new String(listtext::StringOf(parsed.url))));
    if (fileBase != nullptr) lists.linkFiles.AppendRef(SmartRef<String>(new String(*fileBase)));
  }
  return true;
}

bool ParseLinkFile(FileReference& file, LinkLists& lists, bool withFiles) {
  std::string bytes;
  if (!listtext::ReadListFile(file, &bytes)) return false;
  String base;
  if (withFiles) file.GetBaseNameAndType(base);
  return ParseLinkText(bytes, lists, withFiles ? &base : nullptr);
}

void ReadLinks(FileReference& folder, LinkLists& lists, bool withFiles) {
  listtext::ReadListFolder(folder, [&](FileReference& file) { return ParseLinkFile(file, lists, withFiles); });
}

const char* LinkEntryProblem(const String& name, const String& url) {
  const std::string nameText = TextOf(name);
  const std::string urlText = TextOf(url);
  if (nameText.empty() || urlText.empty()) return "Donne un nom et une adresse au lien.";
  for (const std::string* text : {&nameText, &urlText}) {
    if (text->find_first_of("\t\r\n") != std::string::npos)
      return "Le nom et l'adresse du lien ne peuvent contenir ni tabulation ni retour à la ligne."_cp;
  }
  // Such a line would be read back as a comment, and the link lost.
  if (nameText.starts_with("//")) return "Le nom du lien ne peut pas commencer par //."_cp;
  if (nameText.size() + 1 + urlText.size() + 2 > static_cast<std::size_t>(kLinkLineCapacity))
    return "Ce lien est trop long : le nom et l'adresse ensemble ne peuvent dépasser 1997 caractères."_cp;
  return nullptr;
}

void AppendLink(FileReference& folder, const String& name, const String& url, LinkLists& lists) {
  const std::string entry = LineOf(name, url) + "\r\n";
  SmartRef<FileReference> reference = ListFileIn(folder, String("utilisateur"), true);
  SmartRef<File> file(new File(~reference, kFileModeRead | kFileModeWrite));
  CheckCall(file->IsOpen(), kSource.Line(kAppendLine));
  std::string line;
  // A last line without its line end (a file made by hand) would otherwise swallow the new entry.
  const std::uint32_t length = file->GetLength();
  if (length > 0) {
    char last = 0;
    file->Seek(1, kSeekFromEnd);  // counted back from the end
    file->Read(&last, 1);
    if (last != '\r' && last != '\n') line = "\r\n";
  }
  line += entry;
  file->Seek(0, kSeekFromEnd);
  file->Write(line.data(), static_cast<std::uint32_t>(line.size()));
  file->Close();
  lists.linkNames.AppendRef(SmartRef<String>(new String(name)));
  lists.linkURLs.AppendRef(SmartRef<String>(new String(url)));
}

std::string RewriteLinkText(std::string_view old, const String& fileBase, const LinkLists& lists,
                            std::int32_t deleted, bool* nothingLeft) {
  const EntryLines fileLines = FindEntryLines(old);
  // The file's entries in the lists, in their order, each with whether it is the one deleted.
  struct Wanted {
    std::int32_t index;
    bool deleted;
  };
  std::vector<Wanted> wanted;
  for (std::int32_t i = 1; i <= lists.linkFiles.NumItems(); ++i) {
    const String* file = StringAt(lists.linkFiles, i);
    if (file != nullptr && *file == fileBase) wanted.push_back({i, i == deleted});
  }

  std::string text;
  std::size_t copied = 0;
  std::size_t entriesLeft = 0;
  const std::size_t paired = std::min(wanted.size(), fileLines.entries.size());
  for (std::size_t k = 0; k < paired; ++k) {
    const EntryLine& line = fileLines.entries[k];
    if (wanted[k].deleted) {
      if (line.previousEnd != std::string_view::npos) {
        // The line goes with the line end before it, and its own ends the line before: so the line ends
        // around it are not joined into another (a lone CR and the LF of an empty line into one CR LF).
        text.append(old, copied, line.previousEnd - copied);
        copied = line.begin + line.text.size();
      } else {
        text.append(old, copied, line.begin - copied);
        // Without it the empty line after it would open the text, and what was never read would become
        // the list (or the list would read as empty and bad): that unread rest goes with it.
        copied = line.begin == fileLines.onlyLine ? old.size() : line.next;
      }
      continue;
    }
    text.append(old, copied, line.begin - copied);
    copied = line.begin;
    ++entriesLeft;
    const String* name = StringAt(lists.linkNames, wanted[k].index);
    const String* url = StringAt(lists.linkURLs, wanted[k].index);
    if (name == nullptr || url == nullptr) continue;
    const ParsedLine parsed = ParseLine(line.text);
    // An entry unchanged keeps its line as the file had it.
    if (parsed.name == TextOf(*name) && parsed.url == TextOf(*url)) continue;
    text += LineOf(*name, *url);
    copied = line.begin + line.text.size();
  }
  // Entries the file no longer holds (it changed since it was read) go after its last entry line.
  std::string added;
  for (std::size_t k = paired; k < wanted.size(); ++k) {
    if (wanted[k].deleted) continue;
    const String* name = StringAt(lists.linkNames, wanted[k].index);
    const String* url = StringAt(lists.linkURLs, wanted[k].index);
    if (name == nullptr || url == nullptr) continue;
    added += LineOf(*name, *url) + "\r\n";
    ++entriesLeft;
  }
  entriesLeft += fileLines.entries.size() - paired;
  const std::size_t insertAt = fileLines.entries.size() > paired ? fileLines.entries.back().next
                               : paired > 0                      ? fileLines.entries[paired - 1].next
                                                                 : fileLines.end;
  const std::size_t insertion = std::max(insertAt, copied);
  text.append(old, copied, insertion - copied);
  if (!added.empty() && !EndsWithLineEnd(text)) text += "\r\n";
  text += added;
  text.append(old, insertion, std::string::npos);

  *nothingLeft = entriesLeft == 0 && text.find_first_not_of("\r\n") == std::string::npos;
  return text;
}

void RewriteLinkFile(FileReference& folder, const String& fileBase, const LinkLists& lists, std::int32_t deleted) {
  const SourcePlace place = kSource.Line(deleted > 0 ? kDeleteLine : kChangeLine);
  SmartRef<FileReference> reference = ListFileIn(folder, fileBase, true);
  std::string old;
  if (!listtext::ReadListFile(*reference, &old)) CheckCall(false, place);
  bool nothingLeft = false;
  const std::string text = RewriteLinkText(old, fileBase, lists, deleted, &nothingLeft);
  if (deleted > 0 && nothingLeft) {
    String name;
    reference->GetName(name);
    folder.DeleteChild(name);
    return;
  }
  SmartRef<File> document(new File(~reference, kFileModeRead));
  CheckCall(document->IsOpen(), place);
  FileSaveTarget target(*document);
  SmartRef<Stream> replacement = target.OpenReplacement();
  try {
    replacement->Write(text.data(), static_cast<std::uint32_t>(text.size()));
    target.Commit(replacement);
  } catch (...) {
    target.Discard(replacement);
    throw;
  }
}

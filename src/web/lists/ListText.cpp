#include "web/lists/ListText.h"

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/File.h"
#include "core/Memory.h"
#include "core/TextFile.h"

namespace listtext {

namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Steps over one line end at the position: CR LF, CR or LF.
std::size_t SkipLineEnd(std::string_view text, std::size_t at) {
  if (at < text.size() && text[at] == '\r') {
    ++at;
    if (at < text.size() && text[at] == '\n') ++at;
  } else if (at < text.size() && text[at] == '\n') {
    ++at;
  }
  return at;
}

}  // namespace

ListLines SplitListLines(std::string_view text) {
  ListLines result;
  std::size_t at = SkipLineEnd(text, 0);
  while (at < text.size()) {
    std::size_t stop = at;
    while (stop < text.size() && !IsLineEnd(text[stop])) ++stop;
    if (stop == at) break;
    result.lines.push_back({text.substr(at, stop - at), at, SkipLineEnd(text, stop)});
    at = result.lines.back().next;
  }
  result.end = at;
  return result;
}

std::vector<std::string_view> SplitPieces(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  std::size_t at = 0;
  while (at <= text.size()) {
    std::size_t stop = text.find(separator, at);
    if (stop == std::string_view::npos) stop = text.size();
    if (stop > at) pieces.push_back(text.substr(at, stop - at));
    at = stop + 1;
  }
  return pieces;
}

namespace {

// The file layer says why in its own terms (a system error number); the child is told which file.
[[noreturn]] void RaiseUnreadable(FileReference& file) {
  // Named as on the disk: the reference of a file that has gone knows no extension to name it by.
  const std::string path = file.GetPathText() ? file.GetPathText() : "";
  String message("Impossible de lire le fichier ");
  message.Append(path.substr(path.find_last_of('\\') + 1).c_str());
  Exception::Raise(new MessageException(TextOf(message).c_str()));
}

}  // namespace

bool ReadListFile(FileReference& file, std::string* bytes) {
  bytes->clear();
  try {
    SmartRef<File> stream(new File(&file, kFileModeRead));
    if (stream->IsOpen()) {
      const std::uint32_t length = stream->GetLength();
      if (length > kMaxListFileSize) return false;
      bytes->resize(length);
      if (length > 0) stream->Read(bytes->data(), length);
      return true;
    }
  } catch (Exception* failure) {
    SmartRef<Exception> held(failure);
    gLastException = nullptr;
  }
  RaiseUnreadable(file);
}

String StringOf(std::string_view bytes) {
  String text;
  if (!bytes.empty()) text.Insert(bytes.data(), 0, static_cast<std::int32_t>(bytes.size()));
  return text;
}

namespace {

void OfferToDelete(FileReference& file) {
  String name;
  file.GetName(name);
  String message("Mauvais fichier Config - ");
  message.Append(name);
  message.Append("\nClique sur OK pour la supprimer.");
  if (message.Alert(kAlertExclamation, kButtonsOKCancel) != kAlertAnswerOK) return;
  SmartRef<FileReference> folder(file.GetParent());
  folder->DeleteChild(name);
}

}  // namespace

void ReadListFolder(FileReference& folder, const std::function<bool(FileReference& file)>& read) {
  FileTypeList types;
  types.Append(~TextFile::fileType);
  const List files = folder.ListFiles(types, false);
  for (std::int32_t i = 1; i <= files.NumItems(); ++i) {
    SmartRef<FileReference> file(CastSmart<FileReference>(files.At(i)));
    if (!file || file->IsFolder()) continue;
    // One file that cannot be opened is reported, and the others are still offered.
    bool good = true;
    try {
      good = read(*file);
    } catch (Exception* failure) {
      SmartRef<Exception> held(failure);
      failure->ReportAsWarning();
      gLastException = nullptr;
      continue;
    }
    if (!good) OfferToDelete(*file);
  }
}

}  // namespace listtext

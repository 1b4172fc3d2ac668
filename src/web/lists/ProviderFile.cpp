#include "web/lists/ProviderFile.h"

#include <cstdint>
#include <string>

#include "web/lists/ListText.h"

namespace {

// The number of line 1, read as the program always has: at most its first 15 characters, blanks before
// an optional sign, then the digits up to the first other character; no digits reads as 0.
std::int64_t ReadLeadingNumber(std::string_view line) {
  line = line.substr(0, 15);
  std::size_t at = 0;
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
  bool negative = false;
  if (at < line.size() && (line[at] == '+' || line[at] == '-')) negative = line[at++] == '-';
  std::int64_t value = 0;
  // Fifteen digits stay far below the range of the value.
  while (at < line.size() && line[at] >= '0' && line[at] <= '9') value = value * 10 + (line[at++] - '0');
  return negative ? -value : value;
}

}  // namespace

SmartRef<FileReference> ProviderFolder() {
  SmartRef<FileReference> application(FileReference::ApplicationFolder());
  return new FileReference(*application, String("FDA"), true);
}

bool ParseProviderText(std::string_view text, std::vector<ProviderEntry>* entries) {
  const listtext::ListLines lines = listtext::SplitListLines(text);
  if (lines.lines.empty() || ReadLeadingNumber(lines.lines.front().text) == 0) return false;
  for (std::size_t i = 1; i < lines.lines.size(); ++i) {
    const std::string_view line = lines.lines[i].text;
    if (line.size() <= 2 || line.starts_with("//")) continue;
    const std::vector<std::string_view> pieces = listtext::SplitPieces(line, '|');
    if (pieces.size() < 4) return false;
    entries->push_back({listtext::StringOf(pieces[0]), listtext::StringOf(pieces[1]),
                        listtext::StringOf(pieces[2]), listtext::StringOf(pieces[3])});
  }
  return true;
}

bool ReadProviderFile(FileReference& file, std::vector<ProviderEntry>* entries) {
  std::string bytes;
  if (!listtext::ReadListFile(file, &bytes)) return false;
  return ParseProviderText(bytes, entries);
}

std::vector<ProviderEntry> ReadProviders(FileReference& folder) {
  std::vector<ProviderEntry> entries;
  listtext::ReadListFolder(folder, [&](FileReference& file) { return ReadProviderFile(file, &entries); });
  return entries;
}

String SubstituteAccount(const String& pathTemplate, const String& account) {
  const std::string source = TextOf(pathTemplate);
  const std::string replacement = TextOf(account);
  std::string result;
  std::size_t at = 0;
  for (std::size_t found; (found = source.find("%1", at)) != std::string::npos; at = found + 2)
    result.append(source, at, found - at).append(replacement);
  result.append(source, at, std::string::npos);
  return listtext::StringOf(result);
}

// The saved links the child picks instead of typing an address: text files in "LNWEB" (web links) and
// "LNEMAIL" (e-mail links) beside the program, one entry a line, the name, a TAB and the URL. The list
// dialogs read a whole folder into parallel lists; the links the child adds go into "utilisateur.txt".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/FileReference.h"
#include "core/ListData.h"
#include "core/String.h"

enum : int { kWebLinks = 0, kEmailLinks = 1 };

// A line the program writes (name, TAB, URL, CR, LF) fits in this many bytes.
inline constexpr std::int32_t kLinkLineCapacity = 2000;

// The entries of a folder in reading order, file after file; index i of each list is one entry.
// `linkFiles` (the base name of the file holding each entry) is filled only for the list editor.
struct LinkLists {
  List linkNames{&String::classInfo};
  List linkURLs{&String::classInfo};
  List linkFiles{&String::classInfo};
};

// "LNWEB" for web links, "LNEMAIL" for any other kind, in the program's folder; made when missing.
SmartRef<FileReference> LinkFolder(int kind);

// Appends the entries of a list text; the base name, when given, goes into `linkFiles` for each. False for
// a text that is not a list (no line, or a line that is not an entry, comment or short line): the entries
// before that line are appended all the same.
bool ParseLinkText(std::string_view text, LinkLists& lists, const String* fileBase);
bool ParseLinkFile(FileReference& file, LinkLists& lists, bool withFiles);

// Reads every list file of the folder; a file that is not a list is offered for deletion.
void ReadLinks(FileReference& folder, LinkLists& lists, bool withFiles);

// Why this entry cannot be stored as one line of a list (the program's message for the child), or null
// when it can.
const char* LinkEntryProblem(const String& name, const String& url);

// Adds the entry at the end of the folder's "utilisateur.txt" (made when missing) and to the lists.
// An entry that cannot be stored raises its problem and changes nothing.
void AppendLink(FileReference& folder, const String& name, const String& url, LinkLists& lists);

// Writes the file of that base name again after one of its entries was changed or deleted (deleted: the
// 1-based index of the deleted entry in the lists, 0 for a change). The entries of the lists that belong
// to the file take the places of its entry lines in order; every other line of the file is kept as it
// is, and the file is replaced only once the new one is written whole. A file left with nothing in it
// is removed.
void RewriteLinkFile(FileReference& folder, const String& fileBase, const LinkLists& lists, std::int32_t deleted);
// The new text of that file from its present one; nothingLeft tells a text with no entry and nothing but
// line ends, which the rewrite removes after a deletion.
std::string RewriteLinkText(std::string_view old, const String& fileBase, const LinkLists& lists,
                            std::int32_t deleted, bool* nothingLeft);

// What the provider files and the link lists share: small 8-bit text files, made by the program, by hand
// or on another system, read line by line up to their first empty line, and removed (when the child
// agrees) once found unreadable.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/FileReference.h"

namespace listtext {

// Larger than any list the program or a person would make: such a file is not read into memory.
inline constexpr std::size_t kMaxListFileSize = 4 * 1024 * 1024;

// One line of a list text: its characters, where they start, and where the next line starts (after its
// CR LF, CR or LF, or at the end of the text).
struct ListLine {
  std::string_view text;
  std::size_t begin = 0;
  std::size_t next = 0;
};

struct ListLines {
  std::vector<ListLine> lines;
  // Where reading stopped: the start of the first empty line, or the end of the text.
  std::size_t end = 0;
};

// The lines the readers look at. One line end at the very start is stepped over; CR LF, a lone CR and a
// lone LF each end a line (files from other systems end theirs with LF); the first empty line ends the
// list, and nothing after it is looked at.
ListLines SplitListLines(std::string_view text);

// Cuts the text at every separator, dropping empty pieces.
std::vector<std::string_view> SplitPieces(std::string_view text, char separator);

// The file's bytes, as they are. False, with nothing read, for a file too large to be a list; a file
// that cannot be opened raises the program's error naming it.
bool ReadListFile(FileReference& file, std::string* bytes);

// A String holding exactly these bytes.
String StringOf(std::string_view bytes);

// Reads every text file of the folder, in listing order, with the reader, which answers false for a
// file that is not a list: that file is offered for deletion (OK deletes it, Cancel keeps it). A file
// that cannot be read is reported as a warning, and the next one read.
void ReadListFolder(FileReference& folder, const std::function<bool(FileReference& file)>& read);

}  // namespace listtext

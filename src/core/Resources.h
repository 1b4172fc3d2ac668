// Numbered sets of user-visible material: texts of the program's string table, and the numbered files
// of the "Data" folder beside the program.
#pragma once

#include <cstdint>

class FileReference;
class FileType;

class Resources {
 public:
  // The set of ids first..last; valid indexes are 0..last - first.
  constexpr Resources(int first, int last) : first(first), count(last - first) {}
  Resources(const Resources&) = delete;
  Resources& operator=(const Resources&) = delete;

  int GetFirst() const { return first; }
  int GetCount() const { return count; }

  // Text first + index into out (256 bytes). With text1 given, "%1".."%4" are replaced by the four texts
  // (a null text inserts nothing); without it the text is copied as it stands. A missing text raises
  // "Ressource de chaîne manquante " followed by its id.
  void GetString(char* out, int index, const char* text1 = nullptr, const char* text2 = nullptr,
                 const char* text3 = nullptr, const char* text4 = nullptr) const;

 private:
  // Raises "Resource id not in this set of resources." for an index outside 0..count.
  void CheckIndex(int index) const;

  int first;
  int count;
};

extern Resources gFrameworkStrings;  // 128..200
extern Resources gDocumentMessages;  // 190..199
extern Resources stockResources;     // 200..399

// Text 128 + index, as Resources::GetString.
void GetFrameworkString(char* out, int index, const char* text1 = nullptr, const char* text2 = nullptr,
                        const char* text3 = nullptr, const char* text4 = nullptr);
// Text 200 + index, as Resources::GetString.
void GetStockString(char* out, int index, const char* text1 = nullptr, const char* text2 = nullptr,
                    const char* text3 = nullptr, const char* text4 = nullptr);

// The data file of the id with the type's extension in the "Data" folder of the program's folder, or
// null when there is none. A missing "Data" folder raises the error of FileReference.
FileReference* FindDataFile(int id, const FileType& type);
// Raises text 131, the missing data file.
[[noreturn]] void ThrowMissingDataFile();
// The numbered text file ("1000.txt") of the "Data" folder; with the create flag a missing file is made
// empty, without it the file must exist.
FileReference* DataFileReference(int number, bool create);

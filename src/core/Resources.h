// Numbered sets of user-visible material: texts of the program's string table, and the numbered files
// of the "Data" folder beside the program.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Memory.h"
#include "core/Smart.h"

class BitMap;
class Cursor;
class FileReference;
class FileType;
class ImageResource;
struct MainWindowRecord;
struct Pattern;
struct Point;
class Resources;
class Sound;
class String;

// The cache entry of one numbered sound of a set: loaded at the first Get, dropped by a purge when no one
// else holds it, loaded again when asked again.
class SoundResource : public SmartImplementation, public Purgeable {
  SMART_ABSTRACT(SoundResource)
 public:
  SoundResource(const Resources* set, int index);
  ~SoundResource() override;
  SoundResource(const SoundResource&) = delete;
  SoundResource& operator=(const SoundResource&) = delete;
  SMART_NOT_COPYABLE

  // The cached sound (not counted for the caller).
  Sound* Get();
  void Purge() override;

 private:
  SmartRef<Sound> sound;
  const Resources* set;
  std::int16_t index;
};

class Resources {
 public:
  // The set of ids first..last; valid indexes are 0..last - first.
  constexpr Resources(int first, int last) : first(first), count(last - first) {}
  ~Resources();
  Resources(const Resources&) = delete;
  Resources& operator=(const Resources&) = delete;

  int GetFirst() const { return first; }
  int GetCount() const { return count; }

  // Text first + index into out (256 bytes). With text1 given, "%1".."%4" are replaced by the four texts
  // (a null text inserts nothing); without it the text is copied as it stands. A missing text raises
  // "Ressource de chaîne manquante " followed by its id.
  void GetString(char* out, int index, const char* text1 = nullptr, const char* text2 = nullptr,
                 const char* text3 = nullptr, const char* text4 = nullptr) const;

  // A new cursor around the handle of id first + index: ids above 32511 are the system's cursors, others
  // the program's own, and a program cursor that does not exist gives the program's cursor 201. Defined
  // with the cursors, in the ui library.
  Cursor* GetCursor(int index) const;

  // The application's OS record, whose module the program's cursors come from: set once, when the
  // application object is made, and read only after that.
  static void SetOSApp(const MainWindowRecord* record);
  static const MainWindowRecord* GetOSApp();

  // The cache entry of the index, made at the first request.
  SoundResource* GetSoundResource(int index);
  // A new sound read from the numbered WAVE file of the "Data" folder. Any failure is shown in a
  // "Ressource manquante" box and raises text 131.
  Sound* GetSoundData(int index) const;

  // Pictures: the numbered BMP file of the "Data" folder, else the program's bitmap resource of the id.
  // These are defined with the pictures, in the graphics library.
  // The cache entry of the index, made at the first request.
  ImageResource* GetImageResource(int index);
  // A new picture of the index, or null when there is none.
  BitMap* LoadImage(int index) const;
  // As LoadImage, but a missing picture is shown in a "Ressource manquante" box and raises text 131.
  BitMap* GetImageData(int index) const;
  // The size of the picture's bounds; a missing picture is shown and raises text 131.
  Point GetImageSize(int index) const;
  // The 8x8 pattern of picture index + 50.
  void GetPattern(Pattern* out, int index) const;

 private:
  // Raises "Resource id not in this set of resources." for an index outside 0..count.
  void CheckIndex(int index) const;

  int first;
  int count;
  std::vector<SmartRef<SoundResource>> sounds;  // by index
  std::vector<SmartRef<Smart>> images;          // ImageResource entries, by index
};

extern Resources gFrameworkStrings;  // 128..200
extern Resources gDocumentMessages;  // 190..199
extern Resources stockResources;     // 200..399
extern Resources gSystemCursors;     // 32512..65162, the system's cursors from IDC_ARROW upward

// The index in gSystemCursors of a standard cursor kind: 0 arrow, 1 wait, 2 text beam; any other value
// is answered unchanged.
int StandardCursorIndex(int kind);

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
// Shows the failure ("GetSoundData failed!" and the like) with the id in a "Ressource manquante" box,
// then raises text 131.
[[noreturn]] void ReportMissingResource(const char* failure, int id);
// The numbered text file ("1000.txt") of the "Data" folder; with the create flag a missing file is made
// empty, without it the file must exist.
FileReference* DataFileReference(int number, bool create);
// Reads the numbered text file into out; false (out unchanged) when it cannot be read.
bool LoadDataText(String& out, int number);

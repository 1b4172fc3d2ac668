// A sound: a whole WAVE file image in memory, or a sound file played straight from disk. The resource
// sets make the numbered sounds of the "Data" folder with it; object files store it.
#pragma once

#include <cstdint>

#include "core/Archive.h"
#include "core/Memory.h"
#include "core/Smart.h"

class FileReference;
class FileType;
class Stream;

class Sound : public Persistent, public SmartImplementation {
  SMART_CLASS(Sound)
 public:
  // Format codes: WAVE is the native one, kept in memory and stored; AIFF and Macintosh 'snd ' data are
  // converted to it when read.
  enum : std::uint8_t { wave = 0, aiff = 1, snd = 2 };
  static const PersistentType persistentType;

  // A sound played from the file; its data stays empty.
  Sound(FileReference* file, bool loop);
  // The whole stream (from its start, whatever its position) in the format.
  Sound(Stream& stream, int format, bool loop);
  // Shares the file reference and duplicates the data.
  Sound(const Sound& other);
  Sound& operator=(const Sound& other);

  // The stored sound: loop flag, format and data (converted to WAVE when stored otherwise).
  explicit Sound(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }
  std::size_t GetMemorySize() const override { return sizeof(Sound) + data.GetSize(); }

  // Writes the WAVE image (format 0); a sound played from disk writes nothing.
  void Write(Stream& stream, int format);
  // Flips the loop flag when asked; answers the flag.
  bool ToggleLoop(bool toggle);
  bool IsEmpty() const { return data.GetSize() == 0; }
  FileReference* GetFileReference() const;
  const Memory& GetData() const { return data; }
  static bool NeedsConversion(int format) { return format != wave; }
  // Plays the sound through a new current sound channel; false when muted, when it fails, and before the
  // sound library installs its player.
  bool Play(int argument);

 private:
  void Read(Stream& stream, int format);

  SmartRef<FileReference> file;
  Memory data;
  std::uint8_t flags = 0;  // bit 0: loop
};

// Nothing for a null sound; otherwise Play(0).
void PlaySound(Sound* sound);

// Playing belongs to the sound library, above this one; it installs the player at start-up.
using SoundPlayer = bool (*)(Sound& sound, int argument);
void SetSoundPlayer(SoundPlayer player);

// The sound files' type, "Fichier son", 'WAVE', extension wav.
class WAVEFile {
 public:
  static SmartRef<FileType> fileType;
};

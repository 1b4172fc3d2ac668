// A sound: a whole WAVE file image in memory, or a sound file played straight from disk. The resource
// sets make the numbered sounds of the "Data" folder with it; object files store it; the sound file
// scribes read and write it.
#pragma once

#include <cstdint>

#include "core/Archive.h"
#include "core/Memory.h"
#include "core/Scribe.h"
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
  // The whole stream (from its start, whatever its position) in the format; raises "Call failed." when
  // it cannot be converted.
  Sound(Stream& stream, int format, bool loop);
  // Shares the file reference and duplicates the data.
  Sound(const Sound& other);
  Sound& operator=(const Sound& other);
  ~Sound() override;

  // The stored sound: loop flag, format and data (converted to WAVE when stored otherwise).
  explicit Sound(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }
  std::size_t GetMemorySize() const override { return sizeof(Sound) + data.GetSize(); }

  // Writes the sound in format 0 (WAVE) or 1 (AIFF); a sound played from disk has nothing to write. A
  // conversion that fails raises "Call failed." and writes nothing.
  void Write(Stream& stream, int format);
  // Flips the loop flag when asked; answers the flag.
  bool ToggleLoop(bool toggle);
  bool IsEmpty() const { return data.GetSize() == 0; }
  FileReference* GetFileReference() const;
  const Memory& GetData() const { return data; }
  // WAVE, except for a stored sound that could not be converted: its data stays as it was stored, in its
  // own format, and is stored so again.
  int GetDataFormat() const { return dataFormat; }
  static bool NeedsConversion(int format) { return format != wave; }
  // Plays the sound through a new current sound channel; false when muted, when it fails, and before the
  // sound library installs its player.
  bool Play(int argument);

 private:
  void Read(Stream& stream, int format);

  SmartRef<FileReference> file;
  Memory data;
  std::uint8_t flags = 0;  // bit 0: loop
  std::uint8_t dataFormat = wave;
};

// Nothing for a null sound; otherwise Play(0).
void PlaySound(Sound* sound);

// What the two sound file formats share: a whole file read into one new Sound, or one Sound written into
// the file. Each format registers as a Scribe of its own.
class SoundScribe : public Scribe, public SmartImplementation {
 public:
  // Each format gives its own class information.
  const ClassInfo* GetClassInfo() const override = 0;
  void* CastTo(const ClassInfo* info) override = 0;
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }

  // Anything but a Sound writes nothing.
  void Write(SmartRef<Smart> object) override;
  void Read(SmartRef<Smart>* object) override;
  bool IsWritable() override;
  bool ReadsKindOf(const ClassInfo* info) override;

 protected:
  SoundScribe(Stream* stream, int format);

 private:
  SmartRef<Stream> stream;
  int format;
};

// WAVE files: the sound's bytes as they are.
class WAVEFile : public SoundScribe {
  SMART_ABSTRACT(WAVEFile)
 public:
  explicit WAVEFile(Stream* stream);

  // "Fichier son", 'WAVE', extension wav.
  static SmartRef<FileType> fileType;
};

// AIFF files, converted from and to WAVE.
class AIFFFile : public SoundScribe {
  SMART_ABSTRACT(AIFFFile)
 public:
  explicit AIFFFile(Stream* stream);

  // "Son AIFF", 'AIFF', extension iff.
  static SmartRef<FileType> fileType;
  static FileType& GetFileType();
};

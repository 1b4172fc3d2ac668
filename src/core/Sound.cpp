#include "core/Sound.h"

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/FileReference.h"
#include "core/FileType.h"
#include "core/Format.h"
#include "core/Resources.h"
#include "core/Stream.h"

SMART_DEFINE(Sound, "Sound", nullptr, nullptr, Persistent, SmartImplementation)

const PersistentType Sound::persistentType(&Sound::classInfo, MakeVersion(1, 0), MakeVersion(1, 2), &Sound::ReadNew);

namespace {
// Documents record sounds at this class index.
[[maybe_unused]] const bool gSoundRegistered = (RegisterGenericType(33, &Sound::persistentType), true);
}  // namespace

SmartRef<FileType> WAVEFile::fileType(new FileType("Fichier son", FourCharCode("WAVE"), FourCharCode("wav ")));

Sound::Sound(FileReference* reference, bool loop) : file(reference), flags(loop ? 1 : 0) {}

Sound::Sound(Stream& stream, int format, bool loop) : flags(loop ? 1 : 0) { Read(stream, format); }

Sound::Sound(const Sound& other)
    : Smart(), Persistent(other), SmartImplementation(other), file(other.file), flags(other.flags) {
  data.Assign(other.data);
}

Sound& Sound::operator=(const Sound& other) {
  file = other.file;
  data.Assign(other.data);
  flags = other.flags;
  return *this;
}

void Sound::Read(Stream& stream, int format) {
  if (NeedsConversion(format)) {
    // AIFF and 'snd ' data are converted by the sound format converters, which the sound files bring.
    ThrowError("Not implemented.", __FILE__, __LINE__);
  }
  const std::uint32_t length = stream.GetLength();
  stream.Seek(0, kSeekFromStart);
  data.SetSize(length);
  data.Lock();
  try {
    stream.Read(data.GetData(), length);
  } catch (...) {
    data.Unlock();
    throw;
  }
  data.Unlock();
}

void Sound::Write(Stream& stream, int format) {
  if (format == snd) AssertFailed("!convertIt || type != Sound::snd", __FILE__, __LINE__);
  if (NeedsConversion(format)) ThrowError("Not implemented.", __FILE__, __LINE__);
  stream.Write(data.GetData(), data.GetSize());
}

bool Sound::ToggleLoop(bool toggle) {
  if (toggle) flags ^= 1;
  return flags & 1;
}

FileReference* Sound::GetFileReference() const { return ~file; }

void Sound::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  if (block.IsSkipping()) return;
  Stream* stream = block.GetStream();
  stream->WriteByte(flags & 1);
  stream->WriteByte(wave);
  WriteMemoryBlock(data, *stream);
}

Sound::Sound(ArchiveBlock& block) {
  if (block.IsSkipping()) return;
  Stream* stream = block.GetStream();
  flags = stream->ReadByte() & 1;
  const std::uint8_t format = stream->ReadByte();
  ReadMemoryBlock(data, *stream);
  if (block.GetVersion() < MakeVersion(1, 2) && format == aiff) {
    // Such sounds were stored unconverted; they stay so, and the user is told.
    char text[256];
    gDocumentMessages.GetString(text, 9);
    Alert(kAlertExclamation, kButtonsOK, text);
  } else if (NeedsConversion(format)) {
    MemoryStream stored(data);
    Read(stored, format);
  }
}

namespace {
SoundPlayer gSoundPlayer = nullptr;
}  // namespace

void SetSoundPlayer(SoundPlayer player) { gSoundPlayer = player; }

bool Sound::Play(int argument) { return gSoundPlayer != nullptr && gSoundPlayer(*this, argument); }

void PlaySound(Sound* sound) {
  if (sound != nullptr) sound->Play(0);
}

Persistent* Sound::ReadNew(Archive* archive) { return ReadFromBlock<Sound>(archive, &persistentType); }

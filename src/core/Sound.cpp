#include "core/Sound.h"

#include <cstring>

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/FileReference.h"
#include "core/FileType.h"
#include "core/Format.h"
#include "core/Resources.h"
#include "core/Seams.h"
#include "core/SourcePlace.h"
#include "core/Stream.h"

namespace {
constexpr SourceName kSource("SOUND");
constexpr std::uint32_t kObsoleteSoundText = 199;
}  // namespace

SMART_DEFINE(Sound, "Sound", nullptr, nullptr, Persistent, SmartImplementation)

const PersistentType Sound::persistentType(&Sound::classInfo, MakeVersion(1, 0), MakeVersion(1, 2), &Sound::ReadNew);

namespace {
// Documents record sounds at this class index.
[[maybe_unused]] const bool gSoundRegistered = (RegisterGenericType(33, &Sound::persistentType), true);

const SoundConverters& ConvertersFor(int format) {
  const SoundConverters& converters = GetSoundConverters();
  const bool missing = converters.convert == nullptr ||
                       (format == Sound::snd && converters.convertMacResource == nullptr);
  if (missing) ThrowError("Not implemented.", __FILE__, __LINE__);
  return converters;
}

// The stream's bytes, from its start to its end.
void TakeStreamBytes(MemoryStream& stream, Memory& into) {
  const std::uint32_t length = stream.GetLength();
  Memory bytes(length);
  if (length > 0) std::memcpy(bytes.GetData(), stream.GetMemory().GetData(), length);
  into.TakeFrom(bytes);
}

void ShowObsoleteSoundNotice() {
  char text[256];
  gDocumentMessages.GetString(text, kObsoleteSoundText - gDocumentMessages.GetFirst());
  Alert(kAlertExclamation, kButtonsOK, text);
}
}  // namespace

Sound::Sound(FileReference* reference, bool loop) : file(reference), flags(loop ? 1 : 0) {}

Sound::Sound(Stream& stream, int format, bool loop) : flags(loop ? 1 : 0) { Read(stream, format); }

Sound::Sound(const Sound& other)
    : Smart(), Persistent(other), SmartImplementation(other), file(other.file), flags(other.flags),
      dataFormat(other.dataFormat) {
  data.Assign(other.data);
}

Sound::~Sound() = default;

Sound& Sound::operator=(const Sound& other) {
  file = other.file;
  data.Assign(other.data);
  flags = other.flags;
  dataFormat = other.dataFormat;
  return *this;
}

// The data is replaced only once the whole stream is read and converted, so a failure leaves the sound
// as it was.
void Sound::Read(Stream& stream, int format) {
  std::uint32_t length = stream.GetLength();
  stream.Seek(0, kSeekFromStart);
  Memory bytes(length);
  stream.Read(bytes.GetData(), length);
  if (NeedsConversion(format)) {
    const SoundConverters& converters = ConvertersFor(format);
    if (format == snd) {
      MemoryStream aiffImage(length);
      CheckCall(converters.convertMacResource(bytes, aiffImage), kSource.Line(927));
      TakeStreamBytes(aiffImage, bytes);
      length = bytes.GetSize();
    }
    MemoryStream input(bytes);
    MemoryStream waveImage(length);
    CheckCall(converters.convert(input, waveImage, length, wave), kSource.Line(941));
    TakeStreamBytes(waveImage, bytes);
  }
  data.TakeFrom(bytes);
  dataFormat = wave;
}

void Sound::Write(Stream& stream, int format) {
  if (format == snd) AssertFailed("!convertIt || type != Sound::snd", kSource.Line(858));
  if (format == dataFormat) {
    data.Lock();
    try {
      stream.Write(data.GetData(), data.GetSize());
    } catch (...) {
      data.Unlock();
      throw;
    }
    data.Unlock();
    return;
  }
  // Converted in memory first, so that a sound that cannot be converted leaves the stream untouched.
  const SoundConverters& converters = ConvertersFor(format);
  MemoryStream input(data);
  MemoryStream converted(data.GetSize());
  CheckCall(converters.convert(input, converted, data.GetSize(), format), kSource.Line(894));
  stream.Write(converted.GetMemory().GetData(), converted.GetLength());
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
  stream->WriteByte(dataFormat);
  WriteMemoryBlock(data, *stream);
}

Sound::Sound(ArchiveBlock& block) {
  if (block.IsSkipping()) return;
  Stream* stream = block.GetStream();
  flags = stream->ReadByte() & 1;
  const std::uint8_t format = stream->ReadByte();
  ReadMemoryBlock(data, *stream);
  dataFormat = format;
  if (block.GetVersion() < MakeVersion(1, 2) && format == aiff) {
    // Such sounds were stored unconverted; they stay so, and the user is told.
    ShowObsoleteSoundNotice();
  } else if (NeedsConversion(format)) {
    // A sound that cannot be converted must not keep its whole page from opening: it stays as stored,
    // and is stored so again, and the user is told as for an obsolete one.
    try {
      MemoryStream stored(data);
      Read(stored, format);
    } catch (Exception* exception) {
      SmartRef<Exception> dropped(exception);
      gLastException = nullptr;
      ShowObsoleteSoundNotice();
    }
  }
}

bool Sound::Play(int argument) {
  const SoundPlayer play = GetSoundPlayer();
  return play != nullptr && play(*this, argument);
}

void PlaySound(Sound* sound) {
  if (sound != nullptr) sound->Play(0);
}

Persistent* Sound::ReadNew(Archive* archive) { return ReadFromBlock<Sound>(archive, &persistentType); }

SMART_DEFINE_ABSTRACT(WAVEFile, "WAVEFile", Scribe, SmartImplementation)
SMART_DEFINE_ABSTRACT(AIFFFile, "AIFFFile", Scribe, SmartImplementation)

SmartRef<FileType> WAVEFile::fileType(new FileType("Fichier son", FourCharCode("WAVE"), FourCharCode("wav ")));
SmartRef<FileType> AIFFFile::fileType(new FileType("Son AIFF", FourCharCode("AIFF"), FourCharCode("IFF ")));

SoundScribe::SoundScribe(Stream* stream, int format) : stream(stream), format(format) {}

void SoundScribe::Write(SmartRef<Smart> object) {
  if (Sound* sound = CastSmart<Sound>(~object)) sound->Write(*stream, format);
}

// A WAVE file's bytes are kept as they are, but a file that is not one, or is cut short, is refused here
// rather than played or published as if it were a sound.
void SoundScribe::Read(SmartRef<Smart>* object) {
  const SoundConverters& converters = GetSoundConverters();
  if (format == Sound::wave && converters.isWave != nullptr) CHECK_CALL(converters.isWave(*stream));
  *object = SmartRef<Smart>(new Sound(*stream, format, false));
}

bool SoundScribe::IsWritable() { return stream->IsWritable(); }

bool SoundScribe::ReadsKindOf(const ClassInfo* info) { return Sound::classInfo.IsKindOf(info); }

WAVEFile::WAVEFile(Stream* stream) : SoundScribe(stream, Sound::wave) {}

AIFFFile::AIFFFile(Stream* stream) : SoundScribe(stream, Sound::aiff) {}

FileType& AIFFFile::GetFileType() { return *CHECK_NOT_NULL(~fileType); }

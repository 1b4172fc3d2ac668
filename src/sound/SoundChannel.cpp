#include "sound/SoundChannel.h"

#include <cstring>

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/File.h"
#include "core/FileReference.h"
#include "core/FileType.h"
#include "core/Sound.h"
#include "core/String.h"
#include "graphics/SystemVersion.h"
#include "platform/kernel/Files.h"
#include "platform/media/Mmsystem.h"

SMART_DEFINE_ABSTRACT(SoundChannel, "SoundChannel", Track, Chore)

SmartRef<SoundChannel> gCurrentSoundChannel;
bool gSoundMuted = false;

namespace {

// Names the temporary files of a limited system: tmp1.wav, tmp2.wav, ...
int gTemporaryCounter = 1;

// Whether the WAVE image's own RIFF length lies within the block: the voice reads as far as the image
// says, and a damaged stored sound must not take it past the end of its data.
bool ImageFitsItsBlock(const Memory& data) {
  if (data.GetSize() < 12) return false;
  const auto* bytes = static_cast<const unsigned char*>(data.GetData());
  if (std::memcmp(bytes, "RIFF", 4) != 0) return false;
  const std::uint64_t declared =
      bytes[4] | bytes[5] << 8 | bytes[6] << 16 | static_cast<std::uint64_t>(bytes[7]) << 24;
  return declared + 8 <= data.GetSize();
}

}  // namespace

SoundChannel::SoundChannel(Sound* sound) : Chore(20, true, 0), sound(sound) {}

SoundChannel::~SoundChannel() { started = false; }

bool SoundChannel::CanCopyFrom(Smart* source) { return CastSmart(source, &classInfo) != nullptr; }

void SoundChannel::CopyFrom(Smart* source) {
  if (CastSmart(source, &classInfo) == nullptr) AssertFailed("castPtr", __FILE__, __LINE__);
  // Channels are never copied: a copy would be a second start of the same sound.
}

bool SoundChannel::Play(bool) {
  if (gSoundMuted) return false;
  try {
    if (FileReference* file = sound->GetFileReference()) {
      char path[MAX_PATH];
      file->GetPath(path);
      sndPlaySoundA(path, SND_ASYNC | SND_NODEFAULT);
    } else if (IsLimitedWindows()) {
      PlayFromTemporaryFile();
    } else if (ImageFitsItsBlock(sound->GetData())) {
      sndPlaySoundA(reinterpret_cast<const char*>(sound->GetData().GetData()), SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
    }
    // A failed start is not this channel's error to report, nor any later check's.
    TakeLastError();
    started = true;
    return true;
  } catch (Exception* exception) {
    exception->Report(kAlertExclamation);
    return false;
  }
}

// A limited system cannot play from memory: the image goes through a file of the "Data" folder, deleted
// as soon as the voice has taken it.
void SoundChannel::PlayFromTemporaryFile() {
  String name("tmp");
  name = name + String(std::to_string(gTemporaryCounter++).c_str());
  SmartRef<FileReference> program(FileReference::ApplicationFolder());
  FileReference data(*program, String("Data"), false);
  SmartRef<FileReference> temporary =
      new FileReference(*WAVEFile::fileType, *FileCreatorType::defaultCreator, data, name, true);
  {
    SmartRef<File> file = new File(~temporary, kFileModeRead | kFileModeWrite);
    const Memory& bytes = sound->GetData();
    file->Write(bytes.GetData(), static_cast<std::uint32_t>(bytes.GetSize()));
    file->Close();
  }
  char path[MAX_PATH];
  temporary->GetPath(path);
  sndPlaySoundA(path, SND_ASYNC | SND_NODEFAULT);
  DeleteFileA(path);
}

bool PlayOnCurrentChannel(Sound& sound, int argument) {
  SmartRef<SoundChannel> channel = new SoundChannel(&sound);
  if (channel != gCurrentSoundChannel) gCurrentSoundChannel = channel;
  return gCurrentSoundChannel->Play(argument != 0);
}

#include "SoundFuzzTargets.h"

#include "core/Exception.h"
#include "core/Sound.h"
#include "core/Stream.h"
#include "sound/Seams.h"

namespace sound_testing {

namespace {
template <class F>
bool Survives(F&& read) {
  try {
    read();
    return true;
  } catch (Exception* exception) {
    SmartRef<Exception> held(exception);
    gLastException = nullptr;
    return false;
  }
}
}  // namespace

bool ReadUntrustedSound(const std::uint8_t* data, std::size_t size) {
  InstallSoundSeams();
  SmartRef<MemoryStream> stream = new MemoryStream();
  stream->Write(data, static_cast<std::uint32_t>(size));
  bool any = false;
  any |= Survives([&] {
    SmartRef<Scribe> scribe = new WAVEFile(~stream);
    SmartRef<Smart> sound;
    scribe->Read(&sound);
    MemoryStream aiff;
    CastSmart<Sound>(~sound)->Write(aiff, Sound::aiff);
  });
  for (int format : {Sound::aiff, Sound::snd}) {
    any |= Survives([&] {
      Sound sound(*stream, format, false);
      MemoryStream aiff;
      sound.Write(aiff, Sound::aiff);
    });
  }
  return any;
}

}  // namespace sound_testing

#include "sound/Seams.h"

#include "core/Memory.h"
#include "core/Seams.h"
#include "core/Sound.h"
#include "core/Stream.h"
#include "platform/Seams.h"
#include "sound/SoundChannel.h"
#include "sound/SoundRecorder.h"
#include "sound/files/MacResConverter.h"
#include "sound/files/SoundConverter.h"
#include "ui/Seams.h"

namespace {
// The converter takes either format and writes the other; the sound knows which one it wants.
bool Convert(Stream& input, Stream& output, std::uint32_t bufferSize, int format) {
  SampleFormat header;
  const bool holdsOther = (format == Sound::wave && AIFFChunkIO().ReadHeader(input, header, kMachineOrder)) ||
                          (format == Sound::aiff && RIFFChunkIO().ReadHeader(input, header, kMachineOrder));
  return holdsOther && SoundConverter(kMachineOrder, bufferSize).Convert(input, output) == 1;
}

bool ConvertMacResource(const Memory& resource, Stream& output) {
  return MacResConverter().Convert(resource, output) == 1;
}

bool IsWave(Stream& input) { return RIFFChunkIO().IsWave(input, kMachineOrder); }
}  // namespace

void InstallSoundSeams() {
  InstallUiSeams();
  SetSoundPlayer(&PlayOnCurrentChannel);
  SetSoundConverters({&Convert, &ConvertMacResource, &IsWave});
  // The thunk library passes the recording dialog's commands back to the recorder through this.
  platform::SetSoundProc(&OrSoundProc);
}

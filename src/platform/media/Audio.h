// Inside the media layer: the sound system, the one output voice, and the conversion of PCM sounds to the
// voice's format.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/media/Mmsystem.h"

namespace platform::media {

// The voice's format: 8-bit unsigned mono at 22050 Hz, the recorder's own, so that its recordings play
// back byte for byte.
inline constexpr int kVoiceRate = 22050;
inline constexpr std::uint8_t kSilence = 0x80;

// Opens the sound system on first use; false when there is none (no driver, no device). A failure is
// remembered until CloseAudioDevices, so that a machine without sound is probed once.
bool OpenSoundSystem();

// PCM bytes in another format made into the voice's; false when SDL cannot convert them.
// `sdlFormat` is an SDL audio format value.
bool ConvertToVoiceFormat(const std::uint8_t* bytes, std::size_t size, std::uint16_t sdlFormat, int channels,
                          int rate, std::vector<std::uint8_t>* converted);
// The SDL format of a PCM wave format, or 0 for one the layer does not take (PCM, 8 or 16 bits, 1 or 2
// channels, a rate from 1000 to 192000 Hz, the block alignment matching).
std::uint16_t SdlFormatOf(const WAVEFORMATEX& format);

// Who queued a stretch of the voice: sndPlaySoundA (null) or a wave-out handle.
using VoiceOwner = const void*;

// Opens the output device when it is not open yet; false when it cannot be.
bool OpenVoice();
// Cuts everything the voice holds (done headers are marked) and plays the bytes.
bool PlayOnVoice(std::vector<std::uint8_t> bytes);
// Appends the bytes after what the owner queued before, cutting a sound of sndPlaySoundA; the header is
// marked done once they are played or dropped.
bool QueueOnVoice(std::vector<std::uint8_t> bytes, VoiceOwner owner, WAVEHDR* header);
// Drops everything the owner queued (null: what sndPlaySoundA started), marking its headers done.
void ClearVoice(VoiceOwner owner);
// Whether anything the owner queued is still to be played.
bool VoiceHolds(VoiceOwner owner);

// Marks a header done and out of its queue, as the device thread does, so that a reader polling its flags
// sees the buffer's bytes.
void MarkHeaderDone(WAVEHDR* header);
// A header's flags as the audio thread last left them.
DWORD HeaderFlags(const WAVEHDR* header);
// Preparing and unpreparing a header are the same for wave-in and wave-out once the handle is known.
MMRESULT PrepareHeader(bool knownHandle, WAVEHDR* header, UINT size);
MMRESULT UnprepareHeader(bool knownHandle, WAVEHDR* header, UINT size);

// Wave-in handles close with the sound system.
void CloseAllWaveIn();
void CloseAllWaveOut();

}  // namespace platform::media

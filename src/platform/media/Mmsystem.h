// Sound out and in: the one asynchronous voice of sndPlaySoundA, the wave-out and wave-in devices of the
// recorder, and the multimedia file calls that write WAVE files (Mmio.h).
//
// Everything plays through one process-wide voice in the device format (8-bit unsigned mono at 22050 Hz),
// shared by sndPlaySoundA and wave-out, so a new sound cuts whatever plays. With no sound device (or no
// driver) the calls fail with their error answers and the program goes on without sound.
#pragma once

#include "platform/kernel/WinTypes.h"

using MMRESULT = UINT;

enum : MMRESULT {
  MMSYSERR_NOERROR = 0,
  MMSYSERR_ERROR = 1,
  MMSYSERR_BADDEVICEID = 2,
  MMSYSERR_ALLOCATED = 4,
  MMSYSERR_INVALHANDLE = 5,
  MMSYSERR_NODRIVER = 6,
  MMSYSERR_NOMEM = 7,
  MMSYSERR_INVALFLAG = 10,
  MMSYSERR_INVALPARAM = 11,
  WAVERR_BADFORMAT = 32,
  WAVERR_STILLPLAYING = 33,
  WAVERR_UNPREPARED = 34,
};

// sndPlaySoundA flags.
enum : UINT {
  SND_SYNC = 0x0000,
  SND_ASYNC = 0x0001,
  SND_NODEFAULT = 0x0002,
  SND_MEMORY = 0x0004,
  SND_LOOP = 0x0008,
  SND_NOSTOP = 0x0010,
};

// Starts a WAVE sound on the voice, cutting the one that plays, and returns at once: the sound is decoded
// and copied first, so the caller may free it as soon as the call returns. `sound` is a file path, or with
// SND_MEMORY the address of a whole WAVE image (its RIFF header tells its length). A null sound stops what
// sndPlaySoundA started. Only asynchronous plays are offered; FALSE for a sound that cannot be read or
// converted, for a synchronous or looping request, and when there is no sound device.
BOOL sndPlaySoundA(LPCSTR sound, UINT flags);

QUILLORY_DECLARE_HANDLE(HWAVEIN);
QUILLORY_DECLARE_HANDLE(HWAVEOUT);

inline constexpr UINT WAVE_MAPPER = 0xFFFFFFFF;
inline constexpr WORD WAVE_FORMAT_PCM = 1;

// waveInOpen and waveOutOpen flags; only "no callback" is offered, the program polls the headers.
enum : DWORD { CALLBACK_NULL = 0x00000000, WAVE_FORMAT_QUERY = 0x0001, WAVE_ALLOWSYNC = 0x0002 };

// The 16-byte PCM format, as the "fmt " chunk of a WAVE file holds it.
struct PCMWAVEFORMAT {
  WORD wFormatTag;
  WORD nChannels;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec;
  WORD nBlockAlign;
  WORD wBitsPerSample;
};
static_assert(sizeof(PCMWAVEFORMAT) == 16);

struct WAVEFORMATEX {
  WORD wFormatTag;
  WORD nChannels;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec;
  WORD nBlockAlign;
  WORD wBitsPerSample;
  WORD cbSize;
};

// A buffer handed to a device. The device writes dwFlags (WHDR_DONE) and dwBytesRecorded from its own
// thread: read them through std::atomic_ref while the buffer is queued.
struct WAVEHDR {
  LPSTR lpData;
  DWORD dwBufferLength;
  DWORD dwBytesRecorded;
  UINT_PTR dwUser;
  DWORD dwFlags;
  DWORD dwLoops;
  WAVEHDR* lpNext;
  UINT_PTR reserved;
};

enum : DWORD {
  WHDR_DONE = 0x01,
  WHDR_PREPARED = 0x02,
  WHDR_BEGINLOOP = 0x04,
  WHDR_ENDLOOP = 0x08,
  WHDR_INQUEUE = 0x10,
};

// Wave input: buffers are queued with waveInAddBuffer and filled once waveInStart runs; a full buffer is
// marked WHDR_DONE and leaves the queue. Formats: PCM, 8 or 16 bits, 1 or 2 channels.
MMRESULT waveInOpen(HWAVEIN* handle, UINT device, const WAVEFORMATEX* format, UINT_PTR callback,
                    UINT_PTR instance, DWORD flags);
MMRESULT waveInPrepareHeader(HWAVEIN handle, WAVEHDR* header, UINT size);
MMRESULT waveInUnprepareHeader(HWAVEIN handle, WAVEHDR* header, UINT size);
MMRESULT waveInAddBuffer(HWAVEIN handle, WAVEHDR* header, UINT size);
MMRESULT waveInStart(HWAVEIN handle);
// Stops input; the buffer being filled is marked done with what it holds, the empty ones stay queued.
MMRESULT waveInStop(HWAVEIN handle);
// Stops input and marks every queued buffer done.
MMRESULT waveInReset(HWAVEIN handle);
// WAVERR_STILLPLAYING while buffers are queued.
MMRESULT waveInClose(HWAVEIN handle);

// Wave output on the shared voice: a written buffer is played after the one before it and marked
// WHDR_DONE when played; a sound started by sndPlaySoundA cuts it short (it is then marked done too).
MMRESULT waveOutOpen(HWAVEOUT* handle, UINT device, const WAVEFORMATEX* format, UINT_PTR callback,
                     UINT_PTR instance, DWORD flags);
MMRESULT waveOutPrepareHeader(HWAVEOUT handle, WAVEHDR* header, UINT size);
MMRESULT waveOutUnprepareHeader(HWAVEOUT handle, WAVEHDR* header, UINT size);
MMRESULT waveOutWrite(HWAVEOUT handle, WAVEHDR* header, UINT size);
// Stops output and marks every written buffer done.
MMRESULT waveOutReset(HWAVEOUT handle);
// WAVERR_STILLPLAYING while written buffers are not done.
MMRESULT waveOutClose(HWAVEOUT handle);

namespace platform {
// Closes every sound device and the sound system, so that the next call opens them again and reads the
// SDL_AUDIODRIVER and SDL_DISKAUDIO* settings anew; the disk driver's output file is complete once this
// returns. The program calls it when it ends; tests call it between cases. Open wave handles are closed.
void CloseAudioDevices();
// Whether the voice still has bytes of a sound to play (silence aside).
bool IsVoicePlaying();
}  // namespace platform

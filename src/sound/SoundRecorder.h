// The recorder behind the recording dialog: one buffer of sound, recorded from the default input, played
// on the default output and saved as "QLRec.wav" in the current folder. The dialog reaches it only through
// the sound thunk library, which calls OrSoundProc with each command.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/kernel/WinTypes.h"
#include "platform/media/Mmsystem.h"

class SoundRecorder {
 public:
  enum Mode : std::int32_t { idle = 0, playing = 1, recording = 2, stopping = 3 };
  // The format of every recording: 8-bit unsigned mono at 22050 Hz.
  static constexpr DWORD kRate = 22050;

  // A buffer of that many seconds; stops any sound that plays and opens the input, its buffer queued.
  // The text buffer takes an error of opening the input.
  SoundRecorder(int seconds, char* text);
  // Waits for the end of a recording or playback, a bounded time, then lets the devices go.
  virtual ~SoundRecorder();
  SoundRecorder(const SoundRecorder&) = delete;
  SoundRecorder& operator=(const SoundRecorder&) = delete;

  // From idle with something recorded: plays the whole buffer.
  void Play();
  // From idle: records into the emptied buffer until it is full or stopped.
  void Record();
  // Ends a playback or a recording and goes back to idle, or stays stopping when a device call fails.
  void Stop();
  // From idle with something recorded: writes "QLRec.wav".
  void Save();
  // Stops what has reached the end of the buffer; answers the mode.
  std::int32_t Poll();

  std::int32_t GetMode() const { return mode; }
  DWORD GetRecordedLength() const { return recordedLength; }
  // Where errors are written; the recorder does not own it.
  void SetTextBuffer(char* text) { textBuffer = text; }

  // The "fact" chunk's sample count of that many recorded bytes.
  static DWORD SampleCount(DWORD bytes, const PCMWAVEFORMAT& format);

 private:
  struct DeviceRecord;

  // Writes the first error of an emptied buffer: its code and the step's place.
  void ReportError(DWORD code, int line);
  // False, the error reported, for a failing multimedia call.
  bool Succeeded(std::uint32_t result, int line);
  // For a call judged by its result: the pending system error, when there is one, fails the step.
  bool NoPendingError(int line);
  void OpenInput();
  bool CloseInput();
  bool WriteFile();

  std::unique_ptr<DeviceRecord> device;
  std::int32_t mode = idle;
  DWORD recordedLength = 0;
  char* textBuffer = nullptr;
};

// The program's one exported sound entry: the thunk library passes each command of the recording dialog
// (0 nothing, 1 delete the recorder, 2 play, 3 record, 4 stop, 5 save, 6 the recorded length, 7 poll: the
// mode) with a text buffer for errors. Commands 2 to 7 make the 3-second recorder when there is none.
LONG OrSoundProc(char* text, LONG command);

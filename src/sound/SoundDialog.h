// The recording dialog: the child records up to three seconds from the microphone, listens, and keeps the
// sound or throws it away. The dialog drives the recorder only through the sound thunk library, loaded
// for the life of one dialog, and follows the recorder's mode by polling it every 100 ms.
#pragma once

#include <cstdint>

#include "core/Sound.h"
#include "graphics/Image.h"
#include "ui/dialogs/Dialog.h"

class ProgressBar;
class PushButton;
class ToggleButton;

// The record face: a red disc in a black frame, on a black square while recording.
class RecordButtonGraphic : public GenericGraphic {
 public:
  RecordButtonGraphic(const Rect& bounds, bool filled);
  void Draw(DisplayPort& port) override;

 private:
  bool filled;
};

// The play face: a black triangle pointing right.
class PlayButtonGraphic : public GenericGraphic {
 public:
  explicit PlayButtonGraphic(const Rect& bounds);
  void Draw(DisplayPort& port) override;
};

// The stop face: a black square.
class StopButtonGraphic : public GenericGraphic {
 public:
  explicit StopButtonGraphic(const Rect& bounds);
  void Draw(DisplayPort& port) override;
};

class SoundDialog : public Dialog {
  SMART_ABSTRACT(SoundDialog)
 public:
  // Builds the controls and loads the thunk library; a library that is missing or fails raises its
  // message, and no dialog is shown.
  explicit SoundDialog(int frameKind);
  ~SoundDialog() override;

  // Sends the command (2 play, 3 record, 4 stop, 5 save, 6 length, 7 mode) through the library and
  // answers its answer; an error text the library throws comes up as a MessageException.
  std::int32_t DoSound(std::int32_t command);
  // Sets the controls for the recorder's mode and follows the elapsed time in the bar.
  void SetMode(std::int32_t mode);

  void Idle() override;
  // Stops what plays or records, then closes as cancelled.
  void Cancel() override;
  // Saves the recording, reads it back and closes; stays open when nothing could be read. Nothing while
  // the accept button is disabled: a file left over from before is no recording of this dialog.
  void Accept() override;

  SmartRef<Sound> GetRecordedSound() const { return recordedSound; }
  std::int32_t GetMode() const { return mode; }
  ToggleButton* GetRecordButton() const { return ~recordButton; }
  ToggleButton* GetPlayButton() const { return ~playButton; }
  ToggleButton* GetStopButton() const { return ~stopButton; }
  PushButton* GetAcceptButton() const { return ~acceptButton; }
  ProgressBar* GetLevelBar() const { return ~levelBar; }
  bool IsAcceptEnabled() const { return acceptEnabled; }

  // The window's size and the longest recording, in milliseconds.
  static constexpr std::int32_t kWidth = 190;
  static constexpr std::int32_t kHeight = 145;
  static constexpr std::uint32_t kLongest = 3000;

 private:
  void BuildControls();
  void LoadThunker();
  void EnableAccept(bool enable);

  SmartRef<PushButton> acceptButton;
  SmartRef<ToggleButton> recordButton;
  SmartRef<ToggleButton> playButton;
  SmartRef<ToggleButton> stopButton;
  SmartRef<ProgressBar> levelBar;
  SmartRef<Sound> recordedSound;
  std::uint32_t startTick = 0;
  std::int32_t recordedLength = 0;
  std::int32_t mode = 0;
  bool acceptEnabled = false;
};

// The button's command for its dialog: enabled on a SoundDialog only.
class SoundDialogSignal : public GenericSignal {
 public:
  explicit SoundDialogSignal(std::int32_t command) : command(command) {}
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;

 private:
  std::int32_t command;
};

// Runs the dialog with every other chore suspended; a failure is reported as a warning. Answers the
// recorded sound, or null.
SmartRef<Sound> RecordSound();
// Makes, opens and polls the dialog until it closes. Answers null when it was cancelled, and when a step
// failed (reported with the stop icon).
SmartRef<Sound> RunSoundDialog();

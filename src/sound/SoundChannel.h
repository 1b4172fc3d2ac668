// Sounds played through the system's one asynchronous voice: each start cuts the sound before it short.
#pragma once

#include "core/Smart.h"
#include "sound/Track.h"
#include "ui/shell/Chore.h"

class Sound;

// A sound as a track. Its chore ticks every 20 ms with nothing to do, for as long as the channel lives;
// the voice plays the whole sound by itself, and a looping sound does not repeat.
class SoundChannel : public Track, public Chore {
  SMART_ABSTRACT(SoundChannel)
 public:
  explicit SoundChannel(Sound* sound);
  ~SoundChannel() override;

  bool CanCopyFrom(Smart* source) override;
  void CopyFrom(Smart* source) override;
  Smart* Clone() const override { return nullptr; }

  // Hands the sound to the voice. False when muted, and when the sound is missing or its temporary file
  // cannot be written (reported as a warning); the voice's own failures are not reported.
  bool Play(bool argument) override;
  // True from a successful Play until Stop, also once the sound has ended.
  bool IsPlaying() override { return started; }
  // Forgets the start; the voice plays on until another sound replaces it.
  void Stop() override { started = false; }
  void Do() override {}

  Sound* GetSound() const { return ~sound; }

 private:
  void PlayFromTemporaryFile();

  SmartRef<Sound> sound;
  bool started = false;
};

// The channel Sound::Play made last.
extern SmartRef<SoundChannel> gCurrentSoundChannel;
// Silences every channel while set; the application's sound command inverts it.
extern bool gSoundMuted;

// Sound::Play: a new channel for the sound becomes the current one, and plays.
bool PlayOnCurrentChannel(Sound& sound, int argument);

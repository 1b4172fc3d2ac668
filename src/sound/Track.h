// Anything timed that a page starts, watches and stops: a sound channel, a video, a player. The track lists
// of a playing page hold them under the key of the page part that started them.
#pragma once

#include "core/Smart.h"

class Track : public virtual Smart {
  SMART_ABSTRACT(Track)
 public:
  Track() = default;
  Track(const Track&) = default;
  Track& operator=(const Track&) = default;

  // Starts the track; the play lists pass true. Answers whether it started.
  virtual bool Play(bool argument) = 0;
  // Whether the track still counts as playing: play lists drop the tracks that do not.
  virtual bool IsPlaying() = 0;
  virtual void Stop() = 0;

 protected:
  ~Track() override = default;
};

// What the tools window asks of the stage pane it follows; the stage pane implements it.
#pragma once

#include "core/Smart.h"

class View;

// Told when the pane starts or stops editing a picture or a text, or starts or stops playing.
class PaneStateListener {
 public:
  virtual void PaneStateChanged() = 0;

 protected:
  ~PaneStateListener() = default;
};

class ToolsPane : public virtual Smart {
 public:
  // Edit kinds.
  enum : int { kEditsNothing = 0, kEditsPicture = 1, kEditsText = 2 };

  virtual int GetEditKind() const = 0;
  virtual bool IsPlaying() const = 0;
  virtual bool IsPaneActive() const = 0;
  // Whether the pane's player runs its playback chore.
  virtual bool HasPlaybackChore() const = 0;
  // The pane's stop command.
  virtual void StopPlayback() = 0;
  // The pane's player stops.
  virtual void StopPlayer() = 0;
  // 0 nothing, 1 pictures, 2 texts; the flag as the pane's edit mode takes it.
  virtual void SetEditMode(int mode, bool flag) = 0;
  // The pane that edits the current frame in place (the pixel editor, the text pane), or null.
  virtual SmartRef<View> GetEditPane() const = 0;
  // Adds the listener, or removes it when it is there.
  virtual void TogglePaneListener(PaneStateListener* listener) = 0;
};

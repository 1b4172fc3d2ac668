// Editing one frame of a resource movie in place on the stage. The editing panes and the border around a
// framed edit belong to the editor, which stands above the engine: it installs what makes them
// (engine/Seams.h), and its panes answer the engine's editing protocol below.
#pragma once

#include "core/Geometry.h"
#include "core/Smart.h"

// What a frame edit asks of its editing pane.
class FrameEditor {
 public:
  // The pane may no longer revert what it was opened with.
  virtual void Lock() = 0;
  // Whether the pane gives a result: the edited object, and the movie's bounds (in and out) it fits.
  virtual bool GetEditResult(Rect* bounds, SmartRef<Smart>* edited, bool store) = 0;

 protected:
  ~FrameEditor() = default;
};

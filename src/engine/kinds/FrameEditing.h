// Editing one frame of a resource movie in place on the stage. The editing panes and the border around a
// framed edit belong to the editor, which stands above the engine: it installs what makes them, and its
// panes answer the engine's editing protocol. Until it does, no frame edit starts.
#pragma once

#include "core/Geometry.h"
#include "core/Smart.h"

class CStamp;
class StyledText;
class View;

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

struct FrameEditHooks {
  // The pixel editor of a picture frame, over the editing area, showing the frame's image (or none) in
  // the frame rectangle. The view it gives must be a FrameEditor.
  SmartRef<View> (*makePixelPane)(View* parent, const Rect& area, const Rect& frame, CStamp* image) = nullptr;
  // The text pane of a text frame; likewise a FrameEditor.
  SmartRef<View> (*makeTextPane)(View* parent, const Rect& frame, StyledText* text) = nullptr;
  // A border around the rectangle (its frame grown by 5 pixels on every side), in the host view.
  SmartRef<View> (*makeBorderView)(View* host, const Rect& rect) = nullptr;
};

void SetFrameEditHooks(const FrameEditHooks& hooks);
const FrameEditHooks& GetFrameEditHooks();

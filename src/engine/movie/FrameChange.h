// What a movie hands the change record of a page while the page works out what changes on the stage from
// one frame to the next, and the three areas every movie adds to during that one step.
#pragma once

#include <cstdint>

#include "core/Geometry.h"

class Area;
class CMovie;
class CXform;

// A page's record of the images that change in one frame step; the page's own record class fills it.
class FrameChangeRecord {
 public:
  // One movie image that may change: where it lands and the part of the stage it would change. An image
  // that is the same as in the frame before (imageChanged false) changes only what something else exposes
  // under it, which the record knows once every movie has had its say. False refuses the record: the page
  // then draws that frame in full.
  virtual bool AddImprint(CMovie* movie, std::int16_t frame, CXform* xform, const Rect& rect, const Area& changed,
                          bool imageChanged) = 0;

 protected:
  ~FrameChangeRecord() = default;
};

// Shared by every movie during one frame step, and empty between steps: what opaque images above have
// already claimed, what must be repainted from below, and the working area of what an image leaves.
Area& CoveredArea();
Area& UncoveredArea();
Area& LeftBehindArea();
void ClearFrameChangeAreas();

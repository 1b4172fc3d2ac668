// What the editor's tools ask of a stage pane under the pointer: whether its player is playing, and
// whether a click at a point would follow a link. The play pane answers it.
#pragma once

#include <cstdint>

#include "core/Geometry.h"

class PlayingPane {
 public:
  virtual Rect GetPaneBounds() const = 0;
  virtual bool IsPlaying() const = 0;
  // Whether the player finds a clickable sprite at the point (window coordinates); nothing is activated.
  virtual bool FindsLinkAt(std::int32_t x, std::int32_t y) = 0;

 protected:
  ~PlayingPane() = default;
};

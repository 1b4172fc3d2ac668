// The fill bucket's press: the region of the clicked pixel's value around it takes the bucket's gradient.
#pragma once

#include "editor/pixels/CMouseTask.h"

class CBucketTask : public CPaintTask {
 public:
  CBucketTask(std::int32_t code, CPixPane* pane, OffScreen* picture) : CPaintTask(code, pane, picture) {}
  void Begin(Point& anchor, std::int32_t modifiers) override;
  // Dragging changes nothing.
  void Continue(Point&, Point&, Point&, std::int32_t) override {}
};

#include "editor/pixels/CBucketTask.h"

#include "editor/CDropperTool.h"
#include "editor/pixels/CPixPane.h"
#include "editor/pixels/PaintTools.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/Transform.h"

void CBucketTask::Begin(Point& anchor, std::int32_t modifiers) {
  CPaintTask::Begin(anchor, modifiers);
  const Point seed = pane->ViewToPicture(anchor.x, anchor.y);
  const Rect bounds = pane->GetBounds();
  {
    Rect device;
    picture->GetBounds(&device);
    DisplayPort port(~picture, device);
    port.SetTransform(new Translation(-bounds.left, -bounds.top));
    port.GradientFill(gPaintForeground, gPaintSecondColor, seed.x, seed.y, CBucketTool::gradientKind);
  }
  pane->Invalidate(false);
}

#include "platform/user/RectList.h"

namespace platform {

RECT OffsetRectValue(RECT r, int dx, int dy) { return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

long long RectList::AreaSize() const {
  long long total = 0;
  for (const RECT& r : Rects()) total += static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
  return total;
}

}  // namespace platform

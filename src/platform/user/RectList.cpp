#include "platform/user/RectList.h"

#include <algorithm>

namespace platform {

RECT RectList::Limited(const RECT& r) {
  const auto limit = [](LONG v) { return std::clamp(v, -kAreaLimit, kAreaLimit); };
  return RECT{limit(r.left), limit(r.top), limit(r.right), limit(r.bottom)};
}

long long RectList::AreaSize() const {
  long long total = 0;
  for (const RECT& r : Rects()) total += static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
  return total;
}

}  // namespace platform

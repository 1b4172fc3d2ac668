// Region handles over the banded rectangle lists.
#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Objects.h"
#include "platform/kernel/Errors.h"

using namespace platform::gdi;

namespace {
RECT Normalised(int left, int top, int right, int bottom) {
  return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}
}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  if (!InDrawingRange({left, top, right, bottom})) return nullptr;
  auto object = std::make_unique<RegionObject>();
  object->region = Region(Normalised(left, top, right, bottom));
  return static_cast<HRGN>(Register(std::move(object)));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL SetRectRgn(HRGN handle, int left, int top, int right, int bottom) {
  RegionObject* object = GetRegion(handle);
  if (!object || !InDrawingRange({left, top, right, bottom})) return FALSE;
  object->region = Region(Normalised(left, top, right, bottom));
  return TRUE;
}

int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) {
  RegionObject* out = GetRegion(destination);
  RegionObject* a = GetRegion(source1);
  if (!out || !a) return ERROR;
  if (mode == RGN_COPY) {
    out->region = a->region;
    return out->region.Kind();
  }
  if (mode < RGN_AND || mode > RGN_DIFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return ERROR;
  }
  RegionObject* b = GetRegion(source2);
  if (!b) return ERROR;
  out->region = Region::Combine(a->region, b->region, mode);
  return out->region.Kind();
}

int OffsetRgn(HRGN handle, int dx, int dy) {
  RegionObject* object = GetRegion(handle);
  if (!object) return ERROR;
  // A region moved beyond the drawing range is refused and stays where it was.
  RECT box = object->region.Box();
  if (!object->region.IsEmpty() &&
      !InDrawingRange({static_cast<long long>(box.left) + dx, static_cast<long long>(box.right) + dx,
                       static_cast<long long>(box.top) + dy, static_cast<long long>(box.bottom) + dy})) {
    return ERROR;
  }
  object->region.Offset(dx, dy);
  return object->region.Kind();
}

int GetRgnBox(HRGN handle, RECT* box) {
  RegionObject* object = GetRegion(handle);
  if (!object) return ERROR;
  if (!box) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return ERROR;
  }
  *box = object->region.Box();
  return object->region.Kind();
}

BOOL PtInRegion(HRGN handle, int x, int y) {
  RegionObject* object = GetRegion(handle);
  return object && object->region.Contains(x, y);
}

BOOL RectInRegion(HRGN handle, const RECT* rect) {
  RegionObject* object = GetRegion(handle);
  if (!object || !rect) return FALSE;
  return object->region.Overlaps(Normalised(rect->left, rect->top, rect->right, rect->bottom));
}

BOOL EqualRgn(HRGN region1, HRGN region2) {
  RegionObject* a = GetRegion(region1);
  RegionObject* b = GetRegion(region2);
  return a && b && a->region == b->region;
}

namespace platform {
std::vector<RECT> GetRegionRects(HRGN handle) {
  RegionObject* object = GetRegion(handle);
  return object ? object->region.Rects() : std::vector<RECT>{};
}
}  // namespace platform

#include "graphics/Area.h"

#include <algorithm>

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/Format.h"
#include "core/Stream.h"
#include "graphics/Transform.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"

static const ClassInfo* const Area_parents[] = {&SmartImplementation::classInfo, nullptr};
const ClassInfo Area::classInfo = {"Area", Area_parents, &SmartBaseOf<Area>, nullptr, nullptr, sizeof(Area)};

// The record names SmartImplementation only, but the cast answers the Persistent part as well: object
// files find what to write, and what they have read, through that cast, so an area in a document would
// otherwise be refused when saved and read back as nothing.
void* Area::CastTo(const ClassInfo* info) {
  if (info == &Area::classInfo) return this;
  if (void* persistent = Persistent::CastTo(info)) return persistent;
  return SmartImplementation::CastTo(info);
}
bool Area::CanCopyFrom(Smart* source) { return CastSmart(source, &Area::classInfo) != nullptr; }
void Area::CopyFrom(Smart* source) {
  auto* castPtr = CastSmart<Area>(source);
  ASSERT(castPtr);
  Assign(*castPtr);
}
Smart* Area::Clone() const { return new Area(*this); }

namespace {
Persistent* ReadArea(Archive* archive) { return new Area(archive); }
}  // namespace

const PersistentType Area::persistentType(&Area::classInfo, MakeVersion(1), MakeVersion(1), &ReadArea);

namespace {

[[maybe_unused]] const bool gAreaRegistered = (RegisterGenericType(29, &Area::persistentType), true);

}  // namespace

const Area& Area::emptyArea() {
  static Area* empty = NewPermanent<Area>();
  return *empty;
}

Area::Area() = default;

Area::Area(const Rect& rect) {
  if (!rect.IsEmpty()) AppendRect(rect);
}

Area::Area(HRGN ownedRegion) : regionOnly(true), region(ownedRegion) {}

Area::Area(const Area& other)
    : Smart(), Persistent(other), SmartImplementation(other), regionOnly(other.regionOnly), rects(other.rects),
      region(other.region ? DuplicateRegion(other.region) : nullptr) {}

Area::Area(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  Stream* stream = block.GetStream();
  regionOnly = stream->ReadByte() != 0;
  if (regionOnly) return;
  const std::int32_t count = stream->ReadLong();
  CheckStoredCount(stream, count, sizeof(Rect));
  for (std::int32_t i = 0; i < count; ++i) {
    Rect rect;
    stream->ReadRect(&rect);
    AppendRect(rect);
  }
}

Area::~Area() {
  if (region) DeleteObject(region);
}

void Area::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  if (block.IsSkipping()) return;
  Stream* stream = block.GetStream();
  stream->WriteByte(regionOnly ? 1 : 0);
  if (regionOnly) return;
  stream->WriteLong(rects.NumItems());
  for (std::int32_t n = 1; n <= rects.NumItems(); ++n) stream->WriteRect(GetRect(n));
}

HRGN Area::DuplicateRegion(HRGN source) {
  HRGN copy = CheckNotNull(CreateRectRgn(0, 0, 0, 0), __FILE__, __LINE__);
  if (CombineRgn(copy, source, nullptr, RGN_COPY) == ERROR) {
    DeleteObject(copy);
    CheckCall(false, __FILE__, __LINE__);
  }
  return copy;
}

void Area::Assign(const Area& other) {
  if (&other == this) return;
  HRGN duplicate = other.region ? DuplicateRegion(other.region) : nullptr;
  ClearRegion();
  rects.Assign(other.rects);
  regionOnly = other.regionOnly;
  region = duplicate;
}

void Area::SetRect(const Rect& rect) {
  ClearRegion();
  rects.RemoveAll();
  if (!rect.IsEmpty()) AppendRect(rect);
  regionOnly = false;
}

bool Area::IsEmpty() const {
  if (!regionOnly) return rects.NumItems() == 0;
  if (region == nullptr) return true;
  RECT box;
  return GetRgnBox(region, &box) == NULLREGION;
}

Rect Area::GetBounds() const {
  if (regionOnly) {
    if (region == nullptr) return Rect::emptyRect;
    RECT box;
    CheckNonZero(GetRgnBox(region, &box), __FILE__, __LINE__);
    return {box.left, box.top, box.right, box.bottom};
  }
  if (rects.NumItems() == 0) return Rect::emptyRect;
  Rect bounds = GetRect(1);
  for (std::int32_t n = 2; n <= rects.NumItems(); ++n) bounds = bounds.Union(GetRect(n));
  return bounds;
}

bool Area::Overlaps(const Area& other) const {
  if (regionOnly) return false;
  for (std::int32_t i = 1; i <= rects.NumItems(); ++i)
    for (std::int32_t j = 1; j <= other.rects.NumItems(); ++j)
      if (GetRect(i).Overlaps(other.GetRect(j))) return true;
  return false;
}

HRGN Area::BuildRegion() const {
  if (rects.NumItems() == 1) {
    const Rect r = GetRect(1);
    return CheckNotNull(CreateRectRgn(r.left, r.top, r.right, r.bottom), __FILE__, __LINE__);
  }
  HRGN built = CheckNotNull(CreateRectRgn(0, 0, 0, 0), __FILE__, __LINE__);
  for (std::int32_t n = 1; n <= rects.NumItems(); ++n) {
    const Rect r = GetRect(n);
    HRGN piece = CreateRectRgn(r.left, r.top, r.right, r.bottom);
    const bool combined = piece && CombineRgn(built, built, piece, RGN_OR) != ERROR;
    if (piece) DeleteObject(piece);
    if (!combined) {
      DeleteObject(built);
      CheckCall(false, __FILE__, __LINE__);
    }
  }
  return built;
}

HRGN Area::GetRegion() const {
  if (region == nullptr && !regionOnly) region = BuildRegion();
  return region;
}

void Area::UpdateRegion() {
  if (region == nullptr || regionOnly) return;
  HRGN rebuilt = BuildRegion();
  ClearRegion();
  region = rebuilt;
}

void Area::ClearRegion() const {
  if (region == nullptr) return;
  const BOOL deleted = DeleteObject(region);
  region = nullptr;
  ClearBenignError({ERROR_INVALID_PARAMETER});
  CheckCall(deleted, __FILE__, __LINE__);
}

// Walks the rectangles present when the walk starts, last to first. Subtracting cuts each overlapped
// rectangle into its parts outside `rect`; adding shortens `rect` to what no rectangle covers yet, or
// makes room for it when it reaches beyond a rectangle on two or more sides.
void Area::RemoveRect(Rect& rect, bool add) {
  if (regionOnly) return;
  for (std::int32_t n = rects.NumItems(); n >= 1; --n) {
    const Rect e = GetRect(n);
    if (!e.Overlaps(rect)) continue;
    if (add) {
      const bool above = rect.top < e.top, below = rect.bottom > e.bottom;
      const bool left = rect.left < e.left, right = rect.right > e.right;
      const int sides = above + below + left + right;
      if (sides == 0) {
        rect = Rect::emptyRect;
        return;
      }
      if (sides == 1) {
        if (above) rect.bottom = e.top;
        else if (below) rect.top = e.bottom;
        else if (left) rect.right = e.left;
        else rect.left = e.right;
        continue;
      }
    }
    rects.Delete(n, 1);
    if (rect.top > e.top) AppendRect({std::max(e.left, rect.left), e.top, std::min(e.right, rect.right), rect.top});
    if (rect.bottom < e.bottom)
      AppendRect({std::max(e.left, rect.left), rect.bottom, std::min(e.right, rect.right), e.bottom});
    if (rect.left > e.left) AppendRect({e.left, e.top, rect.left, e.bottom});
    if (rect.right < e.right) AppendRect({rect.right, e.top, e.right, e.bottom});
  }
}

void Area::AddRect(Rect rect) {
  if (regionOnly || rect.IsEmpty()) return;
  RemoveRect(rect, true);
  if (!rect.IsEmpty()) AppendRect(rect);
}

void Area::Union(const Area& other) {
  if (other.IsEmpty() || regionOnly || other.regionOnly) return;
  ClearRegion();
  if (IsEmpty()) {
    Assign(other);
    return;
  }
  for (std::int32_t n = 1; n <= other.rects.NumItems(); ++n) AddRect(other.GetRect(n));
  UpdateRegion();
}

void Area::Subtract(const Area& other) {
  if (IsEmpty() || other.IsEmpty() || regionOnly || other.regionOnly) return;
  ClearRegion();
  for (std::int32_t n = 1; n <= other.rects.NumItems(); ++n) {
    Rect r = other.GetRect(n);
    RemoveRect(r, false);
  }
  UpdateRegion();
}

Area* Area::Intersect(const Area& other) const {
  if (regionOnly || other.regionOnly) {
    GetRegion();
    other.GetRegion();
    NOT_IMPLEMENTED();
    return new Area(static_cast<HRGN>(nullptr));
  }
  auto* result = new Area();
  for (std::int32_t i = 1; i <= rects.NumItems(); ++i)
    for (std::int32_t j = 1; j <= other.rects.NumItems(); ++j) {
      const Rect r = GetRect(i).Intersect(other.GetRect(j));
      if (!r.IsEmpty()) result->AppendRect(r);
    }
  return result;
}

void Area::Offset(std::int32_t dx, std::int32_t dy) {
  if (region) CheckCall(OffsetRgn(region, dx, dy) != ERROR, __FILE__, __LINE__);
  ArrayIterator items(rects);
  for (std::int32_t n = 1; n <= rects.NumItems(); ++n) static_cast<Rect*>(items.At(n))->Offset(dx, dy);
}

bool Area::ApplyTransform(const Transform& transform) {
  if (transform.GetKind() > kScalingTransform) return false;
  if (regionOnly) {
    NOT_IMPLEMENTED();
    return true;
  }
  ClearRegion();
  {
    ArrayIterator items(rects);
    for (std::int32_t n = 1; n <= rects.NumItems(); ++n) {
      auto* rect = static_cast<Rect*>(items.At(n));
      *rect = transform.TransformRect(*rect);
    }
  }
  UpdateRegion();
  return true;
}

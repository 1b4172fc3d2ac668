// A region of the plane: what must be redrawn, a port's clip, what a view covers. Held as a list of
// rectangles that never overlap, with the equivalent system region built on demand and cached; or, for
// regions made elsewhere (the pixels of one colour), as a wrapped system region alone.
#pragma once

#include "core/Archive.h"
#include "core/GenericArray.h"
#include "core/Geometry.h"
#include "core/Smart.h"
#include "platform/kernel/WinTypes.h"

class Transform;

class Area : public Persistent, public SmartImplementation {
  SMART_CLASS(Area)
 public:
  static const PersistentType persistentType;
  static const Area& emptyArea();

  Area();
  explicit Area(const Rect& rect);
  // Takes ownership of the region.
  explicit Area(HRGN region);
  Area(const Area& other);
  explicit Area(Archive* archive);
  ~Area() override;
  Area& operator=(const Area& other) {
    Assign(other);
    return *this;
  }

  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }
  std::size_t GetMemorySize() const override { return SmartImplementation::GetMemorySize(); }

  void Assign(const Area& other);
  void SetRect(const Rect& rect);
  bool IsEmpty() const;
  bool IsRegionOnly() const { return regionOnly; }
  Rect GetBounds() const;
  bool Overlaps(const Area& other) const;
  // The cached system region (built when missing); the area keeps it, callers never delete it.
  HRGN GetRegion() const;

  void Union(const Area& other);
  void Subtract(const Area& other);
  // A new area, owned by the caller; neither operand changes.
  Area* Intersect(const Area& other) const;
  void Offset(std::int32_t dx, std::int32_t dy);
  // False (and no change) for transforms that rotate or skew.
  bool ApplyTransform(const Transform& transform);

  std::int32_t NumRects() const { return rects.NumItems(); }
  Rect GetRect(std::int32_t n) const { return *static_cast<const Rect*>(rects.At(n)); }

 private:
  void AddRect(Rect rect);
  void RemoveRect(Rect& rect, bool add);
  void AppendRect(const Rect& rect) { rects.Insert(&rect, rects.NumItems(), 1); }
  void UpdateRegion();
  void ClearRegion() const;
  HRGN BuildRegion() const;
  static HRGN DuplicateRegion(HRGN region);

  bool regionOnly = false;
  GenericArray rects{sizeof(Rect), 0};
  mutable HRGN region = nullptr;
};

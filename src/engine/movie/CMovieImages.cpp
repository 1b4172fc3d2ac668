// A movie's frames as pictures: the per-frame caches of rendered images, drawing a frame through them, the
// picture of a whole movie, and what changes on the stage between two frames.
#include <algorithm>

#include "engine/geometry/CXform.h"
#include "engine/media/CStamp.h"
#include "engine/memory/CMemory.h"
#include "engine/movie/CMovie.h"
#include "graphics/Area.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/Transform.h"

namespace {

constexpr std::int32_t kSmallImage = 8;

// Raises the shared memory level for the time an image is rendered, and gives it back.
class MemoryLevelRaised {
 public:
  explicit MemoryLevelRaised(bool raise) : memory(CMemory::Get()), saved(memory.GetLevel()) {
    if (raise) memory.SetLevel(1);
  }
  ~MemoryLevelRaised() { memory.SetLevel(saved); }
  MemoryLevelRaised(const MemoryLevelRaised&) = delete;
  MemoryLevelRaised& operator=(const MemoryLevelRaised&) = delete;

 private:
  CMemory& memory;
  std::int16_t saved;
};

// The transform a cached image was made under; null for an untransformed one.
const CXform* StampXform(const CStamp& stamp) {
  const CXform* xform = CastSmart<CXform>(~stamp.GetPicture());
  return IsRealXform(xform) ? xform : nullptr;
}

bool IsSmall(const Rect& r) { return r.Width() <= kSmallImage && r.Height() <= kSmallImage; }

}  // namespace

Area& CoveredArea() {
  static Area* area = new Area();
  return *area;
}

Area& UncoveredArea() {
  static Area* area = new Area();
  return *area;
}

Area& LeftBehindArea() {
  static Area* area = new Area();
  return *area;
}

void ClearFrameChangeAreas() {
  CoveredArea().SetRect(Rect::emptyRect);
  UncoveredArea().SetRect(Rect::emptyRect);
  LeftBehindArea().SetRect(Rect::emptyRect);
}

Rect CMovie::MapFrameRect(const Rect& rect, const CXform* xform) {
  if (xform == hiddenFrameXform) return Rect::emptyRect;
  return xform ? xform->MapRect(rect) : rect;
}

SmartRef<ListData> CMovie::GetFrameCache(std::int16_t frame) {
  if (!ClampFrame(&frame)) return new ListData(&CStamp::classInfo);
  if (auto* cache = CastSmart<ListData>(frameCaches.At(frame + 1))) return cache;
  SmartRef<ListData> cache = new ListData(&CStamp::classInfo);
  frameCaches.Put(~cache, frame + 1);
  return cache;
}

SmartRef<CStamp> CMovie::MakeFrameStamp(DisplayPort&, CXform* xform, std::int16_t frame, const Color& background,
                                        const Rect& target) {
  if (target.IsEmpty()) return nullptr;
  ColorTable* table = ColorTable::GetStandard(static_cast<std::int16_t>(GetFrameDepth(frame)));
  const SmartRef<OffScreen> device = new OffScreen(target.Width(), target.Height(), table, background, true);
  SmartRef<CStamp> stamp = new CStamp(~device);
  Rect at = target;
  at.Offset(-target.left, -target.top);
  SmartRef<CXform> used = IsRealXform(xform) ? new CXform(*xform) : new CXform(target, target);
  used->Offset(-target.left, -target.top);
  bool drawn;
  {
    DisplayPort port(~device, at);
    port.DrawRect(at, background, standardColors[kTransparentColor]);
    drawn = DrawFrame(port, ~used, frame, background);
  }
  if (!drawn) return nullptr;
  stamp->SetPicture(SmartRef<Smart>(xform));
  GetFrameCache(frame)->Append(~stamp);
  return stamp;
}

SmartRef<CStamp> CMovie::GetFrameImage(DisplayPort& port, CXform* xform, std::int16_t frame, const Color& background,
                                       bool mayCache) {
  if (xform == hiddenFrameXform || (xform && !xform->HasDestination())) return nullptr;
  Rect frameBounds;
  GetFrameBounds(&frameBounds, frame);
  if (frameBounds.IsEmpty()) return nullptr;
  const Rect target = MapFrameRect(frameBounds, xform);
  const bool needsCopy = xform != nullptr && !xform->IsTranslationOnly();
  const bool rotated = xform != nullptr && !xform->IsUnrotated();
  const bool small = needsCopy && IsSmall(target);

  CMemory& memory = CMemory::Get();
  const MemoryLevelRaised level(!rotated && (mode & kDrawingModes) == 0 && mayCache && memory.GetLevel() == 0);

  const SmartRef<ListData> cache = GetFrameCache(frame);
  for (std::int32_t i = cache->NumItems(); i >= 1; --i) {
    CStamp* stamp = CastSmart<CStamp>(cache->At(i));
    if (stamp == nullptr) continue;
    const CXform* made = StampXform(*stamp);
    bool matches;
    if (small) {
      matches = IsSmall(stamp->GetBounds()) && (made ? made->SameAngles(xform) : !rotated);
    } else {
      Point ignored;
      matches = made ? made->DiffersByTranslation(xform, &ignored) : !needsCopy;
    }
    if (matches) return stamp;
  }

  if (memory.IsAboveThreshold() && memory.GetLevel() >= 1) return nullptr;
  if (!needsCopy) return MakeFrameStamp(port, xform, frame, background, target);
  // Turned, skewed and scaled images are made from the untransformed one, which is cached too unless the
  // turned copy is all that is wanted.
  const SmartRef<CStamp> plain = GetFrameImage(port, nullptr, frame, background, mayCache && !rotated);
  if (!plain || (memory.IsAboveThreshold() && !rotated)) return nullptr;
  SmartRef<CStamp> copy = plain->DrawTransformed(frameBounds, xform);
  if (copy) cache->Append(~copy);
  return copy;
}

bool CMovie::DrawFrameTransformed(DisplayPort& port, CXform* xform, std::int16_t frame, const Color& background) {
  if (xform == hiddenFrameXform || (xform && !xform->HasDestination())) return true;
  Rect frameBounds;
  GetFrameBounds(&frameBounds, frame);
  const Rect target = MapFrameRect(frameBounds, xform);
  if (target.IsEmpty()) return true;
  const SmartRef<CStamp> image = GetFrameImage(port, xform, frame, background, true);
  if (!image) return DrawFrame(port, xform, frame, background);
  image->DrawScaled(port, target, (mode & (kModeKeyed | kModeKeyedAlt)) ? int{kStampKeyed} : int{kDrawOpaque});
  return true;
}

SmartRef<BitMap> CMovie::MakeImage() {
  Rect rect = bounds;
  if (!gMakeImageWholeBounds) {
    Rect first;
    GetFrameBounds(&first, 0);
    if (!first.IsEmpty()) rect = first.Intersect(bounds);
  }
  gMakeImageWholeBounds = 0;
  const Color white = standardColors[0];
  const SmartRef<OffScreen> device =
      new OffScreen(std::max(rect.Width(), 1), std::max(rect.Height(), 1), ColorTable::GetStandard(GetScreenBitDepth()),
                    white, true);
  {
    Rect local = rect;
    local.Offset(-rect.left, -rect.top);
    DisplayPort port(~device, local);
    port.SetTransform(new Translation(-rect.left, -rect.top));
    port.DrawRect(rect, white, standardColors[kTransparentColor]);
    DrawFrame(port, nullptr, 0, white);
  }
  return device->GetBitMap();
}

bool CMovie::ComputeFrameChange(std::int16_t fromFrame, std::int16_t toFrame, CXform* fromXform, CXform* toXform,
                                Rect* fromRect, Rect* toRect, FrameChangeRecord* record) {
  auto wrap = [this](std::int16_t f) {
    const std::int32_t r = f % frameCount;
    return static_cast<std::int16_t>(r < 0 ? r + frameCount : r);
  };
  fromFrame = wrap(fromFrame);
  toFrame = wrap(toFrame);
  const bool imageChanged = FramesDiffer(fromFrame, toFrame) || !XformsEquivalent(fromXform, toXform);

  Rect oldRect, newRect;
  GetFrameBounds(&oldRect, fromFrame);
  GetFrameBounds(&newRect, toFrame);
  oldRect = MapFrameRect(oldRect, fromXform).Intersect(*fromRect);
  newRect = MapFrameRect(newRect, toXform).Intersect(*toRect);

  // What the old image leaves is always repainted from below, read-only movies too: replaying the step
  // must give what drawing the frame in full gives.
  Area& leftBehind = LeftBehindArea();
  leftBehind.SetRect(oldRect);
  leftBehind.Subtract(CoveredArea());
  Area changed(newRect);
  changed.Subtract(CoveredArea());
  if ((mode & kDrawingModes) == 0) CoveredArea().Union(Area(newRect));
  if (!imageChanged) leftBehind.Subtract(changed);
  UncoveredArea().Union(leftBehind);
  leftBehind.SetRect(Rect::emptyRect);

  *fromRect = imageChanged ? Rect::emptyRect : oldRect.Intersect(newRect);
  *toRect = newRect;
  if (changed.IsEmpty() && (HasStableImages() || newRect.IsEmpty())) return true;
  if (!HasStableImages()) newRect = Rect::emptyRect;
  return record != nullptr && record->AddImprint(this, toFrame, toXform, newRect, changed, imageChanged);
}

void CMovie::PurgeCaches() {
  for (std::int16_t f = 0; f < frameCount; ++f) GetFrameCache(f)->RemoveAll();
}

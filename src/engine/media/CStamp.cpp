#include "engine/media/CStamp.h"

#include <cmath>

#include "core/Exception.h"
#include "core/Format.h"
#include "engine/geometry/CXform.h"
#include "engine/media/CResource.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/bitmaps/PixelCursor.h"
#include "graphics/Transform.h"

SMART_DEFINE(CStamp, "CStamp", nullptr, nullptr, Image)

const PersistentType CStamp::persistentType(&CStamp::classInfo, MakeVersion(1), MakeVersion(2), &CStamp::ReadNew);

namespace {

[[maybe_unused]] const bool gStampRegistered = (RegisterGenericType(20, &CStamp::persistentType), true);

// The pixel value of white in the bitmap, 0 when its table does not hold it.
std::uint32_t WhiteOf(const BitMap& bitmap) {
  std::int32_t value = 0;
  if (!bitmap.GetColorTable()->IndexOf(Color(0), &value)) value = 0;
  return static_cast<std::uint32_t>(value);
}

// The value that pixels of a background colour hold: a device erased to a colour that its palette lacks
// paints the nearest entry. Taking value 0 instead would leave out the palette's first colour (black) and
// draw the background opaque.
std::int32_t BackgroundValueOf(const BitMap& bitmap, const Color& background) {
  const ColorTable& table = *bitmap.GetColorTable();
  std::int32_t value = 0;
  return table.IndexOf(background, &value) ? value : table.NearestIndex(background);
}

}  // namespace

CStamp::CStamp(OffScreen* device) : bitmap(device->GetBitMap()), background(device->GetBackground()) {}

CStamp::CStamp(SmartRef<BitMap> bitmap, const Color& background) : bitmap(std::move(bitmap)), background(background) {}

CStamp::CStamp(const CStamp& other) : Smart(), Image(other), bitmap(other.bitmap), background(other.background) {}

CStamp& CStamp::operator=(const CStamp& other) {
  bitmap = other.bitmap;
  background = other.background;
  source = nullptr;
  area = nullptr;
  return *this;
}

CStamp::CStamp(ArchiveBlock& block) : background(0) {
  bitmap = CastSmart<BitMap>(block.GetArchive()->ReadObject());
}

Persistent* CStamp::ReadNew(Archive* archive) { return ReadFromBlock<CStamp>(archive, &persistentType); }

void CStamp::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  block.GetArchive()->WriteObject(~bitmap);
}

void CStamp::GetBounds(Rect* bounds) const { *bounds = bitmap ? bitmap->GetBounds() : Rect::emptyRect; }

void CStamp::DrawScaled(DisplayPort& port, const Rect& rect, int mode) {
  PortState scaled(port, ScaleTrans(bitmap->GetBounds(), rect));
  if (mode == kStampKeyed) bitmap->DrawKeyed(port, BackgroundValueOf(*bitmap, port.GetBackground()));
  else bitmap->DrawOpaque(port);
}

void CStamp::DrawScaledWithin(DisplayPort& port, const Rect& rect, int mode, const Rect& within) {
  const Rect bounds = bitmap->GetBounds();
  if (rect.Size() != bounds.Size()) {
    DrawScaled(port, rect, mode);
    return;
  }
  Rect part = within.Intersect(rect);
  if (part.IsEmpty()) return;
  part.Offset(bounds.left - rect.left, bounds.top - rect.top);
  PortState scaled(port, ScaleTrans(bounds, rect));
  const bool keyed = mode == kStampKeyed;
  bitmap->CopyTo(port, part, keyed, keyed ? BackgroundValueOf(*bitmap, port.GetBackground()) : 0);
}

SmartRef<CStamp> CStamp::DrawTransformed(const Rect& rect, CXform* transform) {
  const bool real = IsRealXform(transform);
  Rect box = real ? transform->MapRect(rect) : rect;
  if (box.IsEmpty()) return nullptr;
  box.Offset(-box.left, -box.top);
  const SmartRef<OffScreen> surface = new OffScreen(box.Width(), box.Height(), GetColorTable(), background, true);
  SmartRef<CStamp> copy = new CStamp(~surface);
  if (real && !transform->IsUnrotated()) {
    DrawTurned(*surface, *transform);
  } else {
    DisplayPort port(~surface, box);
    DrawScaled(port, box, kDrawOpaque);
  }
  copy->source = real ? new CXform(*transform) : transform;
  return copy;
}

// Each pixel of the copy takes the picture's pixel that the transform's matrix brings there, measured
// between the pictures' centres: the inverse of the whole matrix, turn and skew, in 32-bit coordinates,
// so that skewed and large pictures come out right. Pixels are sampled at their centres, so that quarter
// and half turns move every pixel exactly and no row is taken twice.
void CStamp::DrawTurned(OffScreen& surface, const CXform& transform) {
  XformMatrix inverse = transform.MakeMatrix();
  // A matrix without an inverse flattens the picture to a line, which covers no pixel.
  if (!InvertMatrix(&inverse)) return;
  const SmartRef<BitMap> into = surface.GetBitMap();
  SmartRef<BitMap> from = bitmap;
  if (from->GetBitDepth() != into->GetBitDepth()) {
    // Pixel values are copied as they are, so they must mean the same on both sides.
    const Rect bounds = from->GetBounds();
    const SmartRef<OffScreen> converted =
        new OffScreen(bounds.Width(), bounds.Height(), into->GetColorTable(), background, false);
    DisplayPort port(~converted, bounds);
    from->DrawOpaque(port);
    from = converted->GetBitMap();
  }
  const Rect fromBounds = from->GetBounds();
  const Rect box = into->GetBounds();
  const double fromX = (fromBounds.left + fromBounds.right) / 2.0, fromY = (fromBounds.top + fromBounds.bottom) / 2.0;
  const double boxX = (box.left + box.right) / 2.0, boxY = (box.top + box.bottom) / 2.0;
  PixelCursor reader(~from, fromBounds, true);
  for (PixelCursor writer(~into, box, true); writer.HasRow(); writer.NextPixel()) {
    const double dx = writer.GetPosition().x + 0.5 - boxX, dy = writer.GetPosition().y + 0.5 - boxY;
    const double x = std::floor(fromX + inverse[0] * dx + inverse[1] * dy);
    const double y = std::floor(fromY + inverse[2] * dx + inverse[3] * dy);
    if (x < fromBounds.left || x >= fromBounds.right || y < fromBounds.top || y >= fromBounds.bottom) continue;
    reader.MoveTo(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
    writer.SetPixel(reader.GetPixel());
  }
}

SmartRef<Area> CStamp::GetArea(const Point& offset) {
  if (!area) area = bitmap->GetColorArea(Color(0));
  if (area->IsEmpty() || offset == Point::origin) return area;
  SmartRef<Area> moved = new Area(*area);
  moved->Offset(offset.x, offset.y);
  return moved;
}

Point CStamp::Trim() { return TrimBitMap(&bitmap, WhiteOf(*bitmap)); }

SmartRef<CResource> CStamp::MakeResource() const { return new CResource(SmartRef<Smart>(~bitmap)); }

SmartRef<CStamp> CStamp::MakeStamp(SmartRef<Smart> object, const Color& background) {
  if (!object || !ConvertSmart(&object, &BitMap::classInfo)) return nullptr;
  return new CStamp(CastSmart<BitMap>(~object), background);
}

void CStamp::NotImplemented(Smart*) { NOT_IMPLEMENTED(); }

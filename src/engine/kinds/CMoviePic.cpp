#include "engine/kinds/CMoviePic.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/Format.h"
#include "engine/Seams.h"
#include "engine/geometry/CXform.h"
#include "engine/kinds/FrameEditing.h"
#include "engine/media/CResource.h"
#include "engine/media/CStamp.h"
#include "engine/sprites/CSprite.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/Image.h"
#include "graphics/Transform.h"
#include "ui/views/View.h"

SMART_DEFINE(CMoviePic, "CMoviePic", nullptr, nullptr, CMovieRes)

const PersistentType CMoviePic::persistentType(&CMoviePic::classInfo, MakeVersion(1), MakeVersion(2),
                                               &CMoviePic::ReadNew);

namespace {
[[maybe_unused]] const bool gMoviePicRegistered = (RegisterGenericType(5, &CMoviePic::persistentType), true);
// Picture sprites merge by taking over each other's pictures.
[[maybe_unused]] const bool gMoviePicMerges = (AddImageMergingKind(&CMoviePic::classInfo), true);

Image* ImageOf(const CResource* resource) {
  return resource ? CastSmart<Image>(const_cast<CResource*>(resource)->GetObject()) : nullptr;
}
}  // namespace

CMoviePic::CMoviePic(CResource* resource) : Smart(), CMovieRes(resource, PictureBounds(resource)) {}

CMoviePic& CMoviePic::operator=(const CMoviePic& other) {
  TakeResourceData(other);
  return *this;
}

CMoviePic::CMoviePic(ArchiveBlock& block) : Smart(), CMovieRes(block) {}

Persistent* CMoviePic::ReadNew(Archive* archive) { return ReadFromBlock<CMoviePic>(archive, &persistentType); }

void CMoviePic::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  WriteResourcePart(block);
}

Rect CMoviePic::PictureBounds(const CResource* resource) {
  if (resource == nullptr) return Rect::emptyRect;
  if (!resource->GetBounds().IsEmpty()) return resource->GetBounds();
  const Image* image = ImageOf(resource);
  return image ? image->GetBounds() : Rect::emptyRect;
}

// Any picture will do: bitmaps and stored pictures alike.
SmartRef<CMovie> CMoviePic::FromPicture(CResource* resource) {
  if (ImageOf(resource) == nullptr) return nullptr;
  return new CMoviePic(resource);
}

Image* CMoviePic::GetImage(std::int16_t frame) const { return ImageOf(GetResource(frame)); }

bool CMoviePic::DrawFrame(DisplayPort& port, CXform* xform, std::int16_t frame, const Color&) {
  if (frame < 0 || frame >= GetFrameCount()) return false;
  if (xform == hiddenFrameXform || GetResource(frame) == nullptr) return true;
  Image* image = GetImage(frame);
  if (image == nullptr) return false;
  // Each frame is drawn at its own place, as its cached images are: frames of one movie may lie apart.
  Rect frameBounds;
  GetFrameBounds(&frameBounds, frame);
  const Rect source = image->GetBounds();
  Rect destination = source;
  destination.Offset(frameBounds.left - source.left, frameBounds.top - source.top);
  destination = MapFrameRect(destination, xform);
  if (destination.IsEmpty()) return true;
  const PortState clipped(port, destination);
  const PortState scaled(port, ScaleTrans(source, destination));
  image->Draw(port, kDrawTransparent);
  return true;
}

bool CMoviePic::CanDrawDirect(CXform* xform) {
  if (xform == hiddenFrameXform) return true;
  if (xform == nullptr || !xform->IsUnrotated()) return false;
  Rect frameBounds;
  GetFrameBounds(&frameBounds, 0);
  const Rect mapped = MapFrameRect(frameBounds, xform);
  return mapped.Width() > frameBounds.Width() || mapped.Height() > frameBounds.Height();
}

SmartRef<CStamp> CMoviePic::MakeFrameStamp(DisplayPort& port, CXform* xform, std::int16_t frame,
                                           const Color& background, const Rect& target) {
  if (xform == hiddenFrameXform) return nullptr;
  if (xform && !xform->IsTranslationOnly()) return CMovie::MakeFrameStamp(port, xform, frame, background, target);
  if (frame < 0 || frame >= GetFrameCount()) return nullptr;
  // A frame whose resource holds no picture has nothing to cache; raising here would fail every paint of
  // the page.
  Image* image = GetImage(frame);
  if (image == nullptr) return nullptr;
  SmartRef<CStamp> stamp = CStamp::MakeStamp(SmartRef<Smart>(image), background);
  if (!stamp) return nullptr;
  stamp->SetPicture(SmartRef<Smart>(xform));
  GetFrameCache(frame)->Append(~stamp);
  return stamp;
}

int CMoviePic::GetFrameDepth(std::int16_t frame) {
  const std::int32_t count = GetFrameCount();
  std::int32_t f = frame % count;
  if (f < 0) f += count;
  const Image* image = GetImage(static_cast<std::int16_t>(f));
  if (image == nullptr || image->GetColorTable() == nullptr) return 1;
  return image->GetColorTable()->GetDepth();
}

SmartRef<CMovie> CMoviePic::ExtractFrames(std::int16_t start, std::int16_t count, bool cut) {
  return new CMoviePic(*this, start, count, cut);
}

std::int16_t CMoviePic::MergeSprite(CSprite* sprite) {
  auto* picture = sprite ? CastSmart<CMoviePic>(sprite->GetMovie()) : nullptr;
  if (picture == nullptr || picture->GetFrameCount() != 1 || sprite->GetFrameCount() != 1)
    return CMovie::MergeSprite(sprite);
  // The frame that goes is the frame the extract fits the start to, and the picture takes its place: a
  // start outside the frames would otherwise lose a frame and paste nothing.
  const auto at = std::clamp<std::int16_t>(sprite->GetStartFrame(), 0, static_cast<std::int16_t>(GetFrameCount() - 1));
  const SmartRef<CMoviePic> held = picture;  // the sprite may be this movie's own
  ExtractFrames(at, 1, true);
  PasteFrames(at, *held);
  return kNoFrame;
}

void CMoviePic::ApplyToFrame(Smart*, std::int16_t, CSprite*) { NOT_IMPLEMENTED(); }

SmartRef<View> CMoviePic::EditFrame(CResource* resource, View* parent, DisplayDevice* device, const Rect& area,
                                    const Rect& frameRect, std::int16_t frame, CXform* xform) {
  if (GetFrameEditHooks().makePixelPane == nullptr) return nullptr;
  SmartRef<CStamp> image;
  if (resource && device) {
    DisplayPort port(device, area);
    image = GetFrameImage(port, xform, frame, standardColors[0], true);
  }
  return GetFrameEditHooks().makePixelPane(parent, area, frameRect, ~image);
}

#include "engine/kinds/CMovieRes.h"

#include <algorithm>
#include <cstring>

#include "core/Exception.h"
#include "core/Format.h"
#include "core/Stream.h"
#include "engine/EngineNotices.h"
#include "engine/Storage.h"
#include "engine/media/CResource.h"
#include "engine/media/CStamp.h"
#include "ui/views/View.h"

SMART_DEFINE_ABSTRACT(CMovieRes, "CMovieRes", CMovie)

// Only the kinds are read from files; each nests this block in its own.
const PersistentType CMovieRes::persistentType(&CMovieRes::classInfo, MakeVersion(2), MakeVersion(2), nullptr);

namespace {

[[maybe_unused]] const bool gMovieResRegistered = (RegisterGenericType(23, &CMovieRes::persistentType), true);

struct StoredPoint {
  std::int32_t x, y;
};

}  // namespace

CMovieRes::CMovieRes(CResource* resource, const Rect& rect) : CMovie(rect), resources(&CResource::classInfo) {
  resources.Append(resource);
  const StoredPoint origin{0, 0};
  points.Insert(&origin, 0, 1);
  // Resource movies do not loop.
  if (GetMode() & kModeCycles) ToggleFlag8(true);
  RegisterPurgeable(this);
}

CMovieRes::CMovieRes(const CMovieRes& other)
    : Smart(), CMovie(other),
      resources(other.resources->CopyRange(1, other.resources.NumItems())),
      points(other.points) {
  RegisterPurgeable(this);
}

CMovieRes::CMovieRes(CMovieRes& source, std::int16_t start, std::int16_t count, bool cut)
    : Smart(), CMovie(source, start, count, false), resources(&CResource::classInfo) {
  start = std::clamp<std::int16_t>(start, 0, static_cast<std::int16_t>(source.GetFrameCount() - 1));
  count = std::clamp<std::int16_t>(count, 0, static_cast<std::int16_t>(source.GetFrameCount() - start));
  for (std::int16_t i = 0; i < count; ++i) {
    resources.Append(source.GetResource(static_cast<std::int16_t>(start + i)));
    points.Insert(source.points.At(start + i + 1), points.NumItems(), 1);
  }
  FitToFrames();
  if (cut) source.RemoveFrames(start, count);
  RegisterPurgeable(this);
}

CMovieRes::CMovieRes(ArchiveBlock& outer) : Smart(), CMovie(ReadLater{}), resources(&CResource::classInfo) {
  ArchiveBlock block(outer, &persistentType);
  ReadMoviePart(block);
  const SmartRef<ListData> stored = ReadListData(block);
  if (stored) {
    for (std::int32_t i = 1; i <= stored->NumItems(); ++i) resources.Append(CastSmart<CResource>(stored->At(i)));
  }
  if (!block.IsSkipping()) {
    ArchiveBlock arrayBlock(block, &GenericArray::persistentType);
    points = GenericArray(8, arrayBlock);
    arrayBlock.Close();
  }
  // Lists of another length than the frames come from a damaged or hostile file; the frames keep theirs.
  if (resources.NumItems() != GetFrameCount() || points.NumItems() != GetFrameCount()) {
    if (stored || points.NumItems() != 0) block.GetArchive()->NoteDamaged();
    FitToFrames();
  }
  RegisterPurgeable(this);
}

CMovieRes::~CMovieRes() {
  UnregisterPurgeable(this);
  // A movie that goes mid-edit must not leave its pane behind on the stage.
  DropEditViews();
}

void CMovieRes::FitToFrames() {
  const std::int32_t frames = GetFrameCount();
  if (resources.NumItems() > frames) resources->Remove(frames + 1, resources.NumItems() - frames);
  while (resources.NumItems() < frames) resources.Append(nullptr);
  if (points.NumItems() > frames) points.Delete(frames + 1, points.NumItems() - frames);
  const StoredPoint origin{0, 0};
  if (points.NumItems() < frames) points.InsertCopies(&origin, points.NumItems(), frames - points.NumItems());
}

void CMovieRes::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  WriteFields(block);
}

void CMovieRes::WriteResourcePart(ArchiveBlock& outer) {
  ArchiveBlock block(outer, &persistentType);
  WriteFields(block);
}

void CMovieRes::WriteFields(ArchiveBlock& block) {
  WriteMoviePart(block);
  WritePersistent(block, ~resources.GetData());
  if (!block.IsSkipping()) points.Write(block.GetArchive());
}

void CMovieRes::TakeResourceData(const CMovieRes& other) {
  // The resources are the same objects, in a list of this movie's own: two movies sharing one list would
  // lose step with their frames at the first edit of either. An edit in progress stays with its movie.
  EndEdit(nullptr, false);
  TakeMovieData(other);
  resources = List(other.resources->CopyRange(1, other.resources.NumItems()));
  points = other.points;
}

CResource* CMovieRes::GetResource(std::int16_t frame) const {
  if (static_cast<std::uint16_t>(frame) >= static_cast<std::uint16_t>(GetFrameCount())) return nullptr;
  return CastSmart<CResource>(resources.At(frame + 1));
}

Point CMovieRes::GetFramePoint(std::int16_t frame) const {
  if (frame < 0 || frame >= points.NumItems()) return Point::origin;
  StoredPoint p;
  std::memcpy(&p, points.At(frame + 1), sizeof p);
  return {p.x, p.y};
}

void CMovieRes::SetFramePoint(std::int16_t frame, const Point& point) {
  if (frame < 0 || frame >= points.NumItems()) return;
  const StoredPoint p{point.x, point.y};
  std::memcpy(points.At(frame + 1), &p, sizeof p);
}

void CMovieRes::Changed(CMovie* source, const Rect& rect, std::int16_t frame) {
  if (gSuppressMovieChanges) return;
  CMovie::Changed(source, rect, frame);
  if (source != this) return;
  if (frame < 0) {
    for (std::int16_t f = 0; f < GetFrameCount(); ++f) EmptyStamps(f);
  } else if (frame < GetFrameCount()) {
    EmptyStamps(frame);
  }
}

void CMovieRes::EmptyStamps(std::int16_t frame) {
  if (CResource* resource = GetResource(frame)) resource->GetStamps()->RemoveAll();
}

void CMovieRes::GetFrameBounds(Rect* out, std::int16_t frame) {
  const CResource* resource = GetResource(frame);
  if (resource == nullptr) {
    *out = Rect::emptyRect;
    return;
  }
  Rect r = resource->GetBounds();
  if (r.IsEmpty()) {
    CMovie::GetFrameBounds(out, frame);
    return;
  }
  const Point p = GetFramePoint(frame);
  r.Offset(p.x, p.y);
  *out = r;
}

SmartRef<ListData> CMovieRes::GetFrameCache(std::int16_t frame) {
  if (ClampFrame(&frame)) {
    if (CResource* resource = GetResource(frame)) return resource->GetStamps().GetData();
  }
  return new ListData(&CStamp::classInfo);
}

bool CMovieRes::FramesDiffer(std::int16_t a, std::int16_t b) {
  return GetResource(a) != GetResource(b) || GetFramePoint(a) != GetFramePoint(b);
}

SmartRef<Smart> CMovieRes::GetFrameObject(std::int16_t frame) { return GetResource(frame); }

bool CMovieRes::CanSetFrames(std::int16_t start, std::int16_t count, Smart*) {
  start = std::max<std::int16_t>(start, 0);
  const std::int32_t end = std::min<std::int32_t>(std::int32_t{start} + count, GetFrameCount());
  const CResource* first = GetResource(start);
  for (std::int32_t f = start + 1; f < end; ++f)
    if (GetResource(static_cast<std::int16_t>(f)) != first) return false;
  return true;
}

std::int16_t CMovieRes::SetFrames(std::int16_t start, std::int16_t count, Smart* object, bool keepAnchor,
                                  std::int16_t limit) {
  ClampFrameRange(&start, &count, limit);
  start = std::max<std::int16_t>(start, 0);
  SmartRef<CResource> resource = CastSmart<CResource>(object);
  if (!resource && object) resource = new CResource(SmartRef<Smart>(object));
  if (!resource) keepAnchor = false;
  for (std::int32_t d = start; d < std::int32_t{start} + count && d < GetFrameCount(); ++d) {
    const auto frame = static_cast<std::int16_t>(d);
    Changed(this, Rect::emptyRect, frame);
    Point anchor;
    if (keepAnchor) {
      Rect before;
      GetFrameBounds(&before, frame);
      if (before.IsEmpty()) before = GetBounds();
      anchor = GetAnchor(before);
    }
    resources.Put(~resource, frame + 1);
    if (keepAnchor) {
      Point p = GetFramePoint(frame);
      Rect after;
      GetFrameBounds(&after, frame);
      if (!after.IsEmpty()) p = p + anchor - GetAnchor(after);
      SetFramePoint(frame, p);
    }
    Changed(this, Rect::emptyRect, frame);
  }
  return kNoFrame;
}

bool CMovieRes::InsertFrames(std::int16_t at, std::int16_t count, bool blank, bool keepLinks) {
  if (!IsValidInsert(GetFrameCount(), at, count)) return false;
  const std::int16_t neighbour = at > 0 ? static_cast<std::int16_t>(at - 1) : 0;
  const SmartRef<CResource> resource = GetResource(neighbour);
  StoredPoint point;
  std::memcpy(&point, points.At(neighbour + 1), sizeof point);
  if (!CMovie::InsertFrames(at, count, blank, keepLinks)) return false;
  resources.Insert(~resource, at, count);
  points.InsertCopies(&point, at, count);
  return true;
}

bool CMovieRes::DeleteFrames(std::int16_t at, std::int16_t count) {
  if (!CMovie::DeleteFrames(at, count)) return false;
  resources->Remove(at + 1, count);
  points.Delete(at + 1, count);
  return true;
}

void CMovieRes::PasteFrames(std::int16_t position, CMovie& other) {
  auto* pasted = CastSmart<CMovieRes>(&other);
  if (pasted == nullptr) {
    PostEngineNotice(kNoticeMergeIntoNonGroup);
    return;
  }
  if (pasted == this) {
    const SmartRef<CMovie> copy = ExtractFrames(0, GetFrameCount(), false);
    PasteFrames(position, *copy);
    return;
  }
  const std::int16_t before = GetFrameCount();
  CMovie::PasteFrames(position, other);
  if (GetFrameCount() != before + other.GetFrameCount()) return;
  for (std::int16_t i = 0; i < pasted->GetFrameCount(); ++i) {
    const auto frame = static_cast<std::int16_t>(position + i);
    resources.Put(pasted->GetResource(i), frame + 1);
    SetFramePoint(frame, pasted->GetFramePoint(i));
  }
  Changed(this, Rect::emptyRect, -1);
}

SmartRef<View> CMovieRes::EditFrame(CResource*, View*, DisplayDevice*, const Rect&, const Rect&, std::int16_t, CXform*) {
  PostEngineNotice(kNoticeUnsupportedMovieOperation);
  return nullptr;
}

Point CMovieRes::GetAnchor(const Rect& rect) { return rect.Center(); }

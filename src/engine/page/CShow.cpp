#include "engine/page/CShow.h"

#include "core/Exception.h"
#include "core/Format.h"
#include "core/Stream.h"
#include "engine/Storage.h"
#include "engine/geometry/CXform.h"
#include "engine/links/CFrameIndex.h"
#include "engine/memory/CMemory.h"
#include "engine/page/CMovieGroup.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"

namespace {
constexpr SourceName kSource("CShow");
constexpr std::int32_t kThumbnailScale = 8;

// What every page writes in place of its change records, which are never stored.
ListData* StoredDeltas() {
  static ListData* list = [] {
    auto* made = new ListData(&CDelta::classInfo);
    made->MakePermanent();
    return made;
  }();
  return list;
}

// Holds the shared memory level for a piece of drawing and sets it back to 0 afterwards, also when the
// drawing fails.
class MemoryLevel {
 public:
  explicit MemoryLevel(std::int16_t level) { CMemory::Get().SetLevel(level); }
  ~MemoryLevel() { CMemory::Get().SetLevel(0); }
  MemoryLevel(const MemoryLevel&) = delete;
  MemoryLevel& operator=(const MemoryLevel&) = delete;
};

// Clearing an entry of a per-frame cache pads a short list with empty entries.
void ClearEntry(List& list, std::int32_t position) {
  if (position >= 1) list.Put(nullptr, position);
}

}  // namespace

SMART_COPY_CHECK_AT(CShow, kSource.Line(91));
SMART_DEFINE(CShow, "CShow", nullptr, nullptr, Model)

const PersistentType CShow::persistentType(&CShow::classInfo, MakeVersion(2), MakeVersion(2), &CShow::ReadNew);

namespace {
[[maybe_unused]] const bool gShowRegistered = (RegisterGenericType(8, &CShow::persistentType), true);
}  // namespace

void FillPageRect(DisplayPort& port, const Rect& rect, const Color& color) {
  if (rect.IsEmpty()) return;
  port.DrawRect({rect.left, rect.top, rect.right + 1, rect.bottom + 1}, color, standardColors[kTransparentColor]);
}

// ---- Construction and storage ----

CShow::CShow(CMovie* object, bool background) {
  if (auto* group = CastSmart<CMovieGroup>(object)) SetMovie(group);
  else SetMovie(new CMovieGroup(object, background));
}

CShow::CShow(const CShow& other)
    : Smart(), Model(other), MovieDependant(), SmartImplementation(other),
      frameRate(other.frameRate), backgroundColor(other.backgroundColor), secondColor(other.secondColor),
      pattern(other.pattern), stageRect(other.stageRect), anchor(other.anchor), stampCache(other.stampCache),
      deltas(other.deltas), fileReference(other.fileReference) {
  SetMovie(other.movie);
}

CShow& CShow::operator=(const CShow& other) {
  if (&other == this) return *this;
  frameRate = other.frameRate;
  backgroundColor = other.backgroundColor;
  secondColor = other.secondColor;
  pattern = other.pattern;
  stageRect = other.stageRect;
  anchor = other.anchor;
  stampCache = other.stampCache;
  deltas = other.deltas;
  fileReference = other.fileReference;
  SetMovie(other.movie);
  return *this;
}

CShow::CShow(ArchiveBlock& block) {
  Stream* stream = block.GetStream();
  if (!block.IsSkipping()) frameRate = stream->ReadShort();
  backgroundColor.Read(block);
  secondColor.Read(block);
  pattern.Read(block);
  if (!block.IsSkipping()) {
    stream->ReadRect(&stageRect);
    stream->ReadPoint(&anchor);
  }
  SmartRef<CMovie> read = CastSmart<CMovie>(block.GetArchive()->ReadObject());
  // The stored records are none of this page's: a page always starts without them.
  ReadListData(block);
  fileReference = GetArchiveFileReference(block);
  // A page whose content cannot be read still opens, empty, and the user hears the file was damaged.
  if (!read) {
    if (!block.IsSkipping()) block.GetArchive()->NoteDamaged();
    read = new CMovieGroup(defaultMovieBounds);
  }
  SetMovie(read);
}

CShow::~CShow() {
  if (movie) movie->ToggleDependant(this);
}

Persistent* CShow::ReadNew(Archive* archive) { return ReadFromBlock<CShow>(archive, &persistentType); }

void CShow::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  Stream* stream = block.GetStream();
  stream->WriteShort(frameRate);
  backgroundColor.Write(block);
  secondColor.Write(block);
  pattern.Write(block);
  stream->WriteRect(stageRect);
  stream->WritePoint(anchor);
  WritePersistent(block, ~movie);
  WritePersistent(block, StoredDeltas());
  if (!block.IsSkipping()) fileReference = GetArchiveFileReference(block);
}

void CShow::SetMovie(SmartRef<CMovie> newMovie) {
  if (newMovie == movie) return;
  if (movie) movie->ToggleDependant(this);
  movie = std::move(newMovie);
  if (movie) movie->ToggleDependant(this);
}

String* CShow::GetTitle() {
  static String* title = [] {
    auto* made = new String("Page sans titre");
    made->MakePermanent();
    return made;
  }();
  return title;
}

// ---- Accessors ----

void CShow::SetColour(const Color& color) {
  if (color == backgroundColor) return;
  backgroundColor = color;
  ForgetFrame(-1);
}

std::int16_t CShow::GetMarkFrame(std::int32_t i) const {
  const CFrameIndex* index = movie->GetFrameIndex();
  if (index == nullptr || i < 1 || i > index->NumMarks()) return CMovie::kNoFrame;
  return index->GetMark(i)->GetFrame();
}

void CShow::FrameChanged(CMovie*, const Rect&, std::int16_t frame) { ForgetFrame(frame); }

void CShow::NotImplementedCommand() { ReportError("Not implemented.", kSource.Line(496)); }

void CShow::NotImplementedDraw(SmartRef<Smart>) { ReportError("Not implemented.", kSource.Line(784)); }

// ---- Drawing ----

void CShow::DrawSprites(DisplayPort& port, std::int16_t frame, const Rect& rect, std::int16_t level,
                        const List* exclusion) {
  const SmartRef<CXform> placed = new CXform(movie->GetBounds(), rect);
  FillPageRect(port, rect, backgroundColor);
  const MemoryLevel memory(level);
  auto* group = CastSmart<CMovieGroup>(~movie);
  if (exclusion == nullptr || group == nullptr) {
    movie->DrawFrame(port, ~placed, frame, backgroundColor);
    return;
  }
  for (std::int16_t i = 0; i < group->GetSpriteCount(); ++i) {
    CSprite* sprite = group->GetSprite(i);
    if (sprite && exclusion->IndexOf(sprite) == 0) sprite->Draw(port, placed, frame, backgroundColor);
  }
}

void CShow::DrawFrame(DisplayPort& port, std::int16_t frame, const Rect& rect, std::int16_t level,
                      const List* exclusion, const Rect& dim) {
  DrawSprites(port, frame, rect, level, exclusion);
  if (!dim.IsEmpty()) DimRect(port, dim);
}

void CShow::PlayFrame(DisplayPort& port, std::int16_t frame, const Rect& rect, bool rebuild) {
  if (!rebuild && PrepareDelta(port, frame, rect, 2)) {
    if (const SmartRef<CDelta> delta = GetDelta(frame, false); delta && delta->Replay(port)) return;
  }
  const List none(&CSprite::classInfo);
  DrawFrame(port, frame, rect, 0, &none, Rect::emptyRect);
  if (rebuild && MakeDelta(frame, rect)) GetDelta(frame, false)->Refresh();
}

SmartRef<CStamp> CShow::GetFrameStamp(DisplayPort& port, std::int16_t frame) {
  if (frame < 0 || frame >= movie->GetFrameCount()) return nullptr;
  Rect thumbnail = movie->GetBounds();
  thumbnail.Offset(-thumbnail.left, -thumbnail.top);
  thumbnail.right /= kThumbnailScale;
  thumbnail.bottom /= kThumbnailScale;
  if (auto* cached = CastSmart<CStamp>(stampCache.At(frame + 1))) return cached;
  if (thumbnail.IsEmpty()) return nullptr;
  ClearEntry(stampCache, frame + 1);
  SmartRef<OffScreen> device;
  {
    const MemoryLevel memory(1);
    device = new OffScreen(port.GetDevice(), thumbnail, false, true);
  }
  SmartRef<CStamp> stamp = new CStamp(~device);
  {
    DisplayPort thumbnailPort(~device, thumbnail);
    DrawSprites(thumbnailPort, frame, thumbnail, 3, nullptr);
  }
  stampCache.Put(~stamp, frame + 1);
  return stamp;
}

// ---- Change records and caches ----

SmartRef<CDelta> CShow::GetDelta(std::int16_t frame, bool build) {
  if (frame < 0) return nullptr;
  if (auto* delta = CastSmart<CDelta>(deltas.At(frame + 1))) return delta;
  if (build && MakeDelta(frame, movie->GetBounds())) return CastSmart<CDelta>(deltas.At(frame + 1));
  return nullptr;
}

bool CShow::MakeDelta(std::int16_t frame, const Rect& rect) {
  if (frame < 0 || frame >= movie->GetFrameCount()) return false;
  if (CastSmart<CDelta>(deltas.At(frame + 1))) return true;
  const SmartRef<CDelta> delta = new CDelta(*this);
  delta->Build(*this, frame, rect);
  deltas.Put(~delta, frame + 1);
  return true;
}

bool CShow::PrepareDelta(DisplayPort& port, std::int16_t frame, const Rect& rect, std::int16_t level) {
  const MemoryLevel memory(level);
  if (!movie->PrepareFrame(frame) || !MakeDelta(frame, rect)) return false;
  const SmartRef<CDelta> delta = CastSmart<CDelta>(deltas.At(frame + 1));
  if (delta->CheckStamps(port)) return true;
  return !CMemory::Get().IsAboveThreshold() && delta->MakeStamps(port, *this);
}

bool CShow::PurgeFrameCaches(std::int16_t frame) {
  bool freed = movie->PurgeFrame(frame);
  if (frame == CMovie::kNoFrames) return freed;
  const auto inRange = [&](const List& list, const auto& visit) {
    if (frame < 0) {
      for (std::int32_t i = 1; i <= list.NumItems(); ++i) visit(list.At(i));
    } else if (frame < list.NumItems()) {
      visit(list.At(frame + 1));
    }
  };
  inRange(deltas, [&](Smart* entry) {
    if (auto* delta = CastSmart<CDelta>(entry)) freed = delta->Purge() || freed;
  });
  inRange(stampCache, [&](Smart* entry) { freed = freed || CastSmart<CStamp>(entry) != nullptr; });
  return freed;
}

// The record of the next frame holds the change from this one: it goes too. After the last frame the page
// goes on at frame 0.
void CShow::ForgetFrame(std::int16_t frame) {
  if (frame < 0) {
    stampCache->RemoveAll();
    deltas->RemoveAll();
    return;
  }
  ClearEntry(stampCache, frame + 1);
  ClearEntry(deltas, frame + 1);
  const std::int32_t next = frame + 1 < movie->GetFrameCount() ? frame + 1 : 0;
  ClearEntry(deltas, next + 1);
}

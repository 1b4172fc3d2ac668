#include "engine/movie/CMovie.h"

#include "core/Exception.h"
#include "core/Format.h"
#include "core/Sound.h"
#include "core/Stream.h"
#include "engine/EngineNotices.h"
#include "engine/Storage.h"
#include "engine/geometry/CXform.h"
#include "engine/links/CLink.h"
#include "engine/tracks/CTrackList.h"
#include "sound/SoundChannel.h"
#include "graphics/bitmaps/ColorTable.h"

// The class record is with the conversions that make movies of other objects (CMovieConversions.cpp).

// Only the kinds are read from files; each nests this block in its own.
const PersistentType CMovie::persistentType(&CMovie::classInfo, MakeVersion(2), MakeVersion(2), nullptr);

std::uint8_t gSuppressMovieChanges = 0;
std::uint8_t gMakeImageWholeBounds = 0;
const Rect defaultMovieBounds{0, 0, 350, 350};

namespace {

[[maybe_unused]] const bool gMovieRegistered = (RegisterGenericType(7, &CMovie::persistentType), true);

// A movie's own list of exactly total entries: the source's entries from..from + n - 1 (shared), then
// empty ones. What is not of the element class comes in as an empty entry.
List FrameList(const ClassInfo* elementClass, const ListData* source, std::int32_t from, std::int32_t n,
               std::int32_t total) {
  List list(elementClass);
  for (std::int32_t i = 0; i < total; ++i) {
    Smart* entry = source && i < n ? source->At(from + i) : nullptr;
    list.Append(entry && CastSmart(entry, elementClass) ? entry : nullptr);
  }
  return list;
}

List EmptyFrameList(const ClassInfo* elementClass, std::int32_t total) {
  return FrameList(elementClass, nullptr, 0, 0, total);
}

// A copy's list: new, over all of the source's entries.
List SharedList(const List& source) { return List(source->CopyRange(1, source.NumItems())); }

}  // namespace

CMovie::CMovie(const Rect& rect)
    : bounds(rect),
      sounds(EmptyFrameList(&Sound::classInfo, 1)),
      colorTables(EmptyFrameList(&ColorTable::classInfo, 1)),
      links(EmptyFrameList(&CLink::classInfo, 1)),
      frameCaches(EmptyFrameList(&ListData::classInfo, 1)),
      frameIndex(new CFrameIndex()) {}

CMovie::CMovie(const CMovie& other)
    : Smart(), Persistent(other), SmartImplementation(other),
      frameCount(other.frameCount),
      bounds(other.bounds),
      mode(other.mode & 0x1F),
      sounds(SharedList(other.sounds)),
      colorTables(SharedList(other.colorTables)),
      links(SharedList(other.links)),
      frameCaches(SharedList(other.frameCaches)) {
  CopyMarksAndLinks(other, 0, frameCount);
}

CMovie::CMovie(ReadLater)
    : sounds(EmptyFrameList(&Sound::classInfo, 0)),
      colorTables(EmptyFrameList(&ColorTable::classInfo, 0)),
      links(EmptyFrameList(&CLink::classInfo, 0)),
      frameCaches(EmptyFrameList(&ListData::classInfo, 0)) {}

CMovie::CMovie(ArchiveBlock& outer) : CMovie(ReadLater{}) { ReadMoviePart(outer); }

void CMovie::ReadMoviePart(ArchiveBlock& outer) {
  ArchiveBlock block(outer, &persistentType);
  ReadFields(block);
}

void CMovie::TakeMovieData(const CMovie& other) {
  if (&other == this) return;
  frameCount = other.frameCount;
  bounds = other.bounds;
  mode = other.mode & 0x1F;
  sounds = SharedList(other.sounds);
  colorTables = SharedList(other.colorTables);
  links = SharedList(other.links);
  frameCaches = EmptyFrameList(&ListData::classInfo, frameCount);
  CopyMarksAndLinks(other, 0, frameCount);
  Changed(this, Rect::emptyRect, -1);
}

CMovie::~CMovie() { UnregisterPurgeable(this); }

// A count that cannot be, lists that do not match it, or a missing frame index come from a damaged or
// hostile file: the movie is mended so that every frame operation can rely on its invariants.
void CMovie::ReadFields(ArchiveBlock& block) {
  if (block.IsSkipping()) {
    frameCount = 1;
  } else {
    Stream* stream = block.GetStream();
    frameCount = stream->ReadShort();
    stream->ReadRect(&bounds);
    mode = 0;
    for (int bit = 0; bit < 8; ++bit) mode |= static_cast<std::uint8_t>((stream->ReadByte() & 1) << bit);
    if (frameCount < 1) {
      block.GetArchive()->NoteDamaged();
      frameCount = 1;
    }
  }
  const SmartRef<ListData> storedSounds = ReadListData(block);
  const SmartRef<ListData> storedTables = ReadListData(block);
  const SmartRef<ListData> storedLinks = ReadListData(block);
  frameIndex = CastSmart<CFrameIndex>(block.GetArchive()->ReadObject());
  sounds = FrameList(&Sound::classInfo, ~storedSounds, 1, frameCount, frameCount);
  colorTables = FrameList(&ColorTable::classInfo, ~storedTables, 1, frameCount, frameCount);
  links = FrameList(&CLink::classInfo, ~storedLinks, 1, frameCount, frameCount);
  frameCaches = EmptyFrameList(&ListData::classInfo, frameCount);
  if (!frameIndex) frameIndex = new CFrameIndex();
}

void CMovie::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  WriteFields(block);
}

void CMovie::WriteMoviePart(ArchiveBlock& outer) {
  ArchiveBlock block(outer, &persistentType);
  WriteFields(block);
}

void CMovie::WriteFields(ArchiveBlock& block) {
  Stream* stream = block.GetStream();
  stream->WriteShort(frameCount);
  stream->WriteRect(bounds);
  for (int bit = 0; bit < 8; ++bit) stream->WriteByte((mode >> bit) & 1);
  WritePersistent(block, ~sounds.GetData());
  WritePersistent(block, ~colorTables.GetData());
  WritePersistent(block, ~links.GetData());
  WritePersistent(block, ~frameIndex);
}

void CMovie::Changed(CMovie* source, const Rect& rect, std::int16_t frame) {
  if (gSuppressMovieChanges) return;
  const Rect changed = source == this && rect == Rect::emptyRect ? bounds : rect;
  dependants.NotifyAll([&](MovieDependant* dependant) { dependant->FrameChanged(source, changed, frame); });
  if (frame < 0) {
    for (std::int16_t f = 0; f < frameCount; ++f) EmptyFrameCache(f);
  } else if (frame < frameCount) {
    EmptyFrameCache(frame);
  }
}

void CMovie::EmptyFrameCache(std::int16_t frame) {
  if (auto* cache = CastSmart<ListData>(frameCaches.At(frame + 1))) cache->RemoveAll();
}

void CMovie::SetBounds(const Rect& rect) {
  if (rect == bounds) return;
  const Rect old = bounds;
  bounds = rect;
  dependants.NotifyAll([&](MovieDependant* dependant) { dependant->BoundsChanged(this, old); });
  Changed(this, old.Union(rect), -1);
}

bool CMovie::ToggleDrawingMode(std::uint8_t bit, bool flag) {
  if (flag) {
    mode ^= bit;
    if (mode & bit) mode &= static_cast<std::uint8_t>(~(kDrawingModes & ~bit));
    Changed(this, Rect::emptyRect, -1);
  }
  return mode & bit;
}

bool CMovie::ToggleFlag8(bool flag) {
  if (flag) mode ^= kModeCycles;
  return mode & kModeCycles;
}

// ---- The base behaviour of the slots ----

void CMovie::OffsetFrames(std::int16_t, std::int32_t, std::int32_t) { PostEngineNotice(kNoticeUnsupportedMovieOperation); }

void CMovie::GetFrameBounds(Rect* out, std::int16_t) { *out = bounds; }

bool CMovie::DrawFrame(DisplayPort&, CXform*, std::int16_t, const Color&) {
  PostEngineNotice(kNoticeUnsupportedMovieOperation);
  return false;
}

bool CMovie::CanDrawDirect(CXform* xform) {
  return xform == nullptr || xform == hiddenFrameXform || xform->IsTranslationOnly();
}

bool CMovie::HasStableImages() { return true; }

int CMovie::GetFrameDepth(std::int16_t) { return 8; }

std::int16_t CMovie::GetLayerCount() { return 1; }

bool CMovie::FramesDiffer(std::int16_t a, std::int16_t b) { return a != b; }

bool CMovie::PrepareFrame(std::int16_t) { return true; }

// Nothing is freed; frames with sounds would have theirs, so that is noticed, once for the whole range.
bool CMovie::PurgeFrame(std::int16_t frame) {
  if (frame == kNoFrames) return false;
  const std::int16_t first = frame < 0 ? 0 : frame;
  const std::int16_t last = frame < 0 ? static_cast<std::int16_t>(frameCount - 1) : frame;
  for (std::int16_t f = first; f <= last; ++f) {
    if (GetSound(f)) {
      NOT_IMPLEMENTED();
      break;
    }
  }
  return false;
}

void CMovie::CollectTracks(std::int16_t frame, CTrackList& list, std::uint32_t key) {
  Sound* sound = GetSound(frame);
  if (sound == nullptr) return;
  if (sound->IsEmpty()) {
    list.RemoveKey(key, false);
    return;
  }
  list.Add(key, new SoundChannel(sound));
}

bool CMovie::CheckFrame(CXform*, std::int16_t, Smart*, std::int32_t, std::int32_t) { return true; }

bool CMovie::IsReadOnly() { return mode & kModeReadOnly; }

std::int16_t CMovie::SetFrames(std::int16_t start, std::int16_t count, Smart*, bool, std::int16_t limit) {
  ClampFrameRange(&start, &count, limit);
  return kNoFrame;
}

SmartRef<Smart> CMovie::GetFrameObject(std::int16_t) {
  NOT_IMPLEMENTED();
  return nullptr;
}

bool CMovie::CanSetFrames(std::int16_t, std::int16_t, Smart*) { return true; }

std::int16_t CMovie::MergeSprite(CSprite*) {
  PostEngineNotice(kNoticeMergeIntoNonGroup);
  return kNoFrame;
}

void CMovie::ApplyToFrame(Smart*, std::int16_t, CSprite*) {}

#include "engine/sprites/CSprite.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <set>

#include "core/Format.h"
#include "core/Stream.h"
#include "engine/Storage.h"

namespace {
constexpr SourceName kSource("CSprite");
}  // namespace

// The class record is with the conversions that make sprites of other objects (SpriteConversions.cpp).

const PersistentType CSprite::persistentType(&CSprite::classInfo, MakeVersion(2), MakeVersion(2), &CSprite::ReadNew);

namespace {

[[maybe_unused]] const bool gSpriteRegistered = (RegisterGenericType(3, &CSprite::persistentType), true);

// The list's entries from..from + n - 1 as a new list; an empty list for no entries.
List ClonedRange(const List& list, std::int32_t from, std::int32_t n) {
  if (n <= 0) return List(new ListData(list->GetElementClass()));
  return List(list->CloneRange(from, n));
}

}  // namespace

bool ClipFrameRange(std::int16_t start, std::int16_t n, std::int16_t* frame, std::int16_t* count) {
  *frame = static_cast<std::int16_t>(*frame - start);
  if (*frame < 0) {
    *count = static_cast<std::int16_t>(*count + *frame);
    *frame = 0;
  }
  if (*frame + *count > n) *count = static_cast<std::int16_t>(n - *frame);
  return *count > 0;
}

CSprite::CSprite(std::int16_t start, SmartRef<CMovie> shown, const Rect& placement)
    : startFrame(start), movie(std::move(shown)) {
  nFrames = movie->GetFrameCount();
  origin = movie->GetBounds().Center();
  defaultPoint = new PathPoint();
  if (!placement.IsEmpty()) defaultPoint->offset = placement.Center() - origin;
  sounds.Insert(nullptr, 0, nFrames);
  links.Insert(nullptr, 0, nFrames);
  for (std::int16_t r = 0; r < nFrames; ++r) path.Append(defaultPoint->Clone());
  const std::int16_t first = 0;
  keyFrames.Insert(&first, 0, 1);
}

CSprite::CSprite(const CSprite& other)
    : Smart(), Persistent(other), SmartImplementation(other),
      nFrames(other.nFrames),
      name(other.name),
      startFrame(other.startFrame),
      origin(other.origin),
      path(ClonedRange(other.path, 1, other.nFrames)),
      defaultPoint(CastSmart<PathPoint>(other.defaultPoint->Clone())),
      sounds(ClonedRange(other.sounds, 1, other.nFrames)),
      links(ClonedRange(other.links, 1, other.nFrames)),
      flags(other.flags & kBackgroundFlag),
      keyFrames(other.keyFrames) {
  // A held last image belongs to every frame after it: only as many images as frames are taken. A
  // cycling movie is taken whole, since its frames wrap round all its images.
  CMovie& source = *other.movie;
  const std::int16_t images = source.GetFrameCount();
  movie = !other.IsCycling() && images > 1 ? source.ExtractFrames(0, other.nFrames, false)
                                           : source.ExtractFrames(0, images, false);
}

CSprite::CSprite(CSprite& source, std::int16_t frame, std::int16_t count, bool hide)
    : name(source.name),
      startFrame(source.startFrame),
      origin(source.origin),
      path(new ListData(&PathPoint::classInfo)),
      defaultPoint(CastSmart<PathPoint>(source.defaultPoint->Clone())),
      movie(source.movie),
      flags(source.flags & kBackgroundFlag) {
  std::int16_t d = 0;
  if (frame <= source.startFrame) count = static_cast<std::int16_t>(count - (source.startFrame - frame));
  else d = static_cast<std::int16_t>(frame - source.startFrame);
  if (d + count > source.nFrames) count = static_cast<std::int16_t>(source.nFrames - d);
  if (count <= 0) return;

  nFrames = count;
  startFrame = static_cast<std::int16_t>(source.startFrame + d - frame);
  path = ClonedRange(source.path, d + 1, count);
  sounds = ClonedRange(source.sounds, d + 1, count);
  links = ClonedRange(source.links, d + 1, count);
  const std::int16_t firstImage = source.GetImageIndex(static_cast<std::int16_t>(source.startFrame + d));
  movie = source.movie->ExtractFrames(firstImage, count, false);
  for (const std::int16_t key : source.GetKeyFrames()) {
    if (key < d || key >= d + count) continue;
    const std::int16_t shifted = static_cast<std::int16_t>(key - d);
    keyFrames.Insert(&shifted, keyFrames.NumItems(), 1);
  }
  if (hide) source.HideFrames(static_cast<std::int16_t>(source.startFrame + d), count);
}

SmartRef<CSprite> CSprite::ExtractRange(CSprite& source, std::int16_t frame, std::int16_t count, bool hide) {
  return new CSprite(source, frame, count, hide);
}

// ---- Storage ----

CSprite::CSprite(ArchiveBlock& block) {
  Stream* stream = block.GetStream();
  std::int16_t storedCount = 0;
  if (!block.IsSkipping()) {
    storedCount = stream->ReadShort();
    ArchiveBlock nameBlock(block, &String::persistentType);
    name = String(nameBlock);
    nameBlock.Close();
    startFrame = stream->ReadShort();
    stream->ReadPoint(&origin);
  }
  const SmartRef<ListData> storedPath = ReadListData(block);
  defaultPoint = CastSmart<PathPoint>(block.GetArchive()->ReadObject());
  const SmartRef<ListData> storedSounds = ReadListData(block);
  const SmartRef<ListData> storedLinks = ReadListData(block);
  movie = CastSmart<CMovie>(block.GetArchive()->ReadObject());
  if (!block.IsSkipping()) {
    flags = stream->ReadByte() & 1 ? kBackgroundFlag : 0;
    ArchiveBlock keysBlock(block, &GenericArray::persistentType);
    keyFrames = GenericArray(sizeof(std::int16_t), keysBlock);
    keysBlock.Close();
  }
  if (storedPath) path = List(storedPath);
  if (storedSounds) sounds = List(storedSounds);
  if (storedLinks) links = List(storedLinks);
  MendAfterReading(block.GetArchive(), storedCount, storedPath ? storedPath->NumItems() : 0,
                   storedSounds != nullptr, storedLinks != nullptr);
}

// A page must still open when one of its sprites is damaged: the sprite is made to hold its invariants,
// keeping all it can, and the user is told once that the file was damaged.
void CSprite::MendAfterReading(Archive* archive, std::int16_t storedCount, std::int32_t pathCount, bool hadSounds,
                               bool hadLinks) {
  bool damaged = false;
  nFrames = storedCount;
  if (nFrames < 0) {
    damaged = true;
    nFrames = static_cast<std::int16_t>(std::min<std::int32_t>(pathCount, std::numeric_limits<std::int16_t>::max()));
  }
  // Each list holds one entry per frame, each of its class (or empty, where that may be): a list that does
  // not is rebuilt, so that a stored list shared with another sprite stays as it was for that one. A sprite
  // stored without sounds or links has none; without a path it is damaged.
  const auto fit = [&](List& list, const ClassInfo* element, bool emptyAllowed, auto makeMissing, bool stored) {
    const auto fine = [&](Smart* entry) { return entry ? CastSmart(entry, element) != nullptr : emptyAllowed; };
    bool fits = list.NumItems() == nFrames;
    for (std::int32_t i = 1; fits && i <= nFrames; ++i) fits = fine(list.At(i));
    if (fits) return;
    damaged = damaged || stored;
    List mended(element);
    for (std::int32_t i = 1; i <= nFrames; ++i) {
      Smart* entry = list.At(i);
      if (entry && fine(entry)) mended.Append(entry);
      else mended.AppendRef(makeMissing());
    }
    list = mended;
  };
  fit(path, &PathPoint::classInfo, false, [] {
    SmartRef<PathPoint> hidden = new PathPoint();
    hidden->xform = hiddenFrameXform;
    return hidden;
  }, true);
  fit(sounds, &Sound::classInfo, true, [] { return SmartRef<Smart>(); }, hadSounds);
  fit(links, &CLink::classInfo, true, [] { return SmartRef<Smart>(); }, hadLinks);
  if (!defaultPoint) {
    damaged = true;
    defaultPoint = new PathPoint();
  }
  // Keys stay ascending, without repeats, within the sprite.
  GenericArray kept(sizeof(std::int16_t), 0);
  std::int32_t previous = -1;
  for (std::int32_t i = 1; i <= keyFrames.NumItems(); ++i) {
    const std::int16_t key = KeyAt(i);
    if (key <= previous || key >= nFrames) {
      damaged = true;
      continue;
    }
    kept.Insert(&key, kept.NumItems(), 1);
    previous = key;
  }
  keyFrames = kept;
  if (damaged) archive->NoteDamaged();
}

Persistent* CSprite::ReadNew(Archive* archive) { return ReadFromBlock<CSprite>(archive, &persistentType); }

void CSprite::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  if (!block.IsSkipping()) ForgetLinksNotFound();
  Stream* stream = block.GetStream();
  stream->WriteShort(nFrames);
  name.Write(block.GetArchive());
  stream->WriteShort(startFrame);
  stream->WritePoint(origin);
  WritePersistent(block, ~path.GetData());
  WritePersistent(block, ~defaultPoint);
  WritePersistent(block, ~sounds.GetData());
  WritePersistent(block, ~links.GetData());
  WritePersistent(block, ~movie);
  stream->WriteByte(flags & kBackgroundFlag ? 1 : 0);
  keyFrames.Write(block.GetArchive());
}

// A link to a page the user no longer finds, and gave up looking for, is not stored. Its entry stays, empty:
// the list is read back by frame, so taking the entry out would move every later link one frame earlier.
void CSprite::ForgetLinksNotFound() {
  std::set<CLink*> asked;
  for (std::int32_t i = links.NumItems(); i >= 1; --i) {
    CLink* link = CastSmart<CLink>(links.At(i));
    if (link == nullptr || asked.contains(link)) continue;
    asked.insert(link);
    if (!link->Locate()) continue;
    for (std::int32_t j = i; j >= 1; --j)
      if (links.At(j) == static_cast<Smart*>(link)) links->Put(nullptr, j, 1);
  }
}

// ---- Accessors ----

void CSprite::SetMovie(SmartRef<CMovie> newMovie) {
  if (newMovie && newMovie != movie) movie = std::move(newMovie);
}

void CSprite::SetName(const SmartRef<String>& text) {
  if (!text) AssertFailed("~han != NULL", kSource.Line(1535));
  name = *text;
}

bool CSprite::ToggleBackgroundFlag(bool toggle) {
  if (toggle) flags ^= kBackgroundFlag;
  return flags & kBackgroundFlag;
}

Sound* CSprite::GetSoundAtFrame(std::int16_t frame) const {
  const std::int32_t r = frame - startFrame;
  return r < 0 || r >= nFrames ? nullptr : CastSmart<Sound>(sounds.At(r + 1));
}

CLink* CSprite::GetLinkAtFrame(std::int16_t frame) const {
  const std::int32_t r = frame - startFrame;
  return r < 0 || r >= nFrames ? nullptr : CastSmart<CLink>(links.At(r + 1));
}

PathPoint* CSprite::GetPathPoint(std::int16_t relativeFrame) const {
  return relativeFrame < 0 || relativeFrame >= nFrames ? nullptr : PointAt(relativeFrame);
}

std::vector<std::int16_t> CSprite::GetKeyFrames() const {
  std::vector<std::int16_t> keys;
  for (std::int32_t i = 1; i <= keyFrames.NumItems(); ++i) keys.push_back(KeyAt(i));
  return keys;
}

std::int16_t CSprite::KeyAt(std::int32_t position) const {
  std::int16_t key;
  std::memcpy(&key, keyFrames.At(position), sizeof key);
  return key;
}

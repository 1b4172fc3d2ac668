#include "engine/page/CMovieGroup.h"

#include <algorithm>
#include <set>

#include "core/Exception.h"
#include "core/Format.h"
#include "engine/Storage.h"
#include "engine/geometry/CXform.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/media/CResource.h"
#include "graphics/DisplayPort.h"
#include "graphics/Image.h"

namespace {
constexpr SourceName kSource("CMovieGroup");
}  // namespace

SMART_COPY_CHECK_AT(CMovieGroup, kSource.Line(58));
SMART_DEFINE(CMovieGroup, "CMovieGroup", nullptr, nullptr, CMovie)

const PersistentType CMovieGroup::persistentType(&CMovieGroup::classInfo, MakeVersion(2), MakeVersion(2),
                                                 &CMovieGroup::ReadNew);

namespace {
[[maybe_unused]] const bool gGroupRegistered = (RegisterGenericType(4, &CMovieGroup::persistentType), true);
}  // namespace

// ---- Construction and storage ----

CMovieGroup::CMovieGroup(const Rect& bounds) : CMovie(bounds) { BecomePurgeable(); }

CMovieGroup::CMovieGroup(CMovie* movie, bool background) : CMovie(movie ? movie->GetBounds() : Rect::emptyRect) {
  BecomePurgeable();
  if (movie == nullptr) return;
  const std::int16_t index = AddMovieAsSprite(0, movie->GetFrameCount(), movie);
  CSprite* sprite = GetSprite(index);
  if (background && sprite && !sprite->ToggleBackgroundFlag(false)) sprite->ToggleBackgroundFlag(true);
}

CMovieGroup::CMovieGroup(const CMovieGroup& other) : Smart(), CMovie(other), MovieDependant(), sprites(other.sprites) {}

CMovieGroup& CMovieGroup::operator=(const CMovieGroup& other) {
  if (&other == this) return *this;
  TakeMovieData(other);
  sprites = other.sprites;
  SyncRegistrations();
  return *this;
}

CMovieGroup::CMovieGroup(ArchiveBlock& block) : Smart(), CMovie(block) {
  const SmartRef<ListData> stored = ReadListData(block);
  if (stored) sprites = List(stored);
  if (DropDamagedSprites()) block.GetArchive()->NoteDamaged();
  SyncRegistrations();
  BecomePurgeable();
}

CMovieGroup::~CMovieGroup() {
  UnregisterAll();
  if (purgeable) UnregisterPurgeable(this);
}

Persistent* CMovieGroup::ReadNew(Archive* archive) { return ReadFromBlock<CMovieGroup>(archive, &persistentType); }

void CMovieGroup::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  WriteMoviePart(block);
  WritePersistent(block, ~sprites.GetData());
}

// A damaged file may hold other objects where sprites belong, sprites without a movie, or a group that
// shows itself (whose reference back to the group under construction reads as none): drawing any of them
// would fail or never end, so they are dropped and the rest of the page kept.
bool CMovieGroup::DropDamagedSprites() {
  bool dropped = sprites.NumItems() != 0 && sprites->GetElementClass() != &CSprite::classInfo;
  List kept(&CSprite::classInfo);
  for (std::int32_t i = 1; i <= sprites.NumItems(); ++i) {
    CSprite* sprite = CastSmart<CSprite>(sprites.At(i));
    if (sprite == nullptr || sprite->GetMovie() == nullptr || IsShownBy(sprite->GetMovie())) {
      dropped = true;
      continue;
    }
    kept.Append(sprite);
  }
  // The stored list may be shared with another group: it is only replaced, never changed in place.
  if (dropped) sprites = kept;
  return dropped;
}

void CMovieGroup::BecomePurgeable() {
  RegisterPurgeable(this);
  purgeable = true;
}

// ---- Registration with the sprites' movies ----

bool CMovieGroup::IsRegisteredWith(const CMovie* movie) const {
  return std::ranges::any_of(registeredWith, [&](const SmartRef<CMovie>& m) { return ~m == movie; });
}

void CMovieGroup::RegisterWith(CMovie* movie) {
  if (movie == nullptr || IsRegisteredWith(movie)) return;
  movie->ToggleDependant(this);
  registeredWith.emplace_back(movie);
}

void CMovieGroup::SyncRegistrations() {
  std::set<const CMovie*> shown;
  for (std::int32_t i = 1; i <= sprites.NumItems(); ++i)
    if (CSprite* sprite = SpriteAt(i)) shown.insert(sprite->GetMovie());
  std::erase_if(registeredWith, [&](const SmartRef<CMovie>& movie) {
    if (shown.contains(~movie)) return false;
    movie->ToggleDependant(this);
    return true;
  });
  for (std::int32_t i = 1; i <= sprites.NumItems(); ++i)
    if (CSprite* sprite = SpriteAt(i)) RegisterWith(sprite->GetMovie());
}

void CMovieGroup::UnregisterAll() {
  for (const SmartRef<CMovie>& movie : registeredWith) movie->ToggleDependant(this);
  registeredWith.clear();
}

// ---- Queries ----

CSprite* CMovieGroup::SpriteAt(std::int32_t position) const { return CastSmart<CSprite>(sprites.At(position)); }

CSprite* CMovieGroup::GetSprite(std::int16_t i) const { return i < 0 ? nullptr : SpriteAt(i + 1); }

CSprite* CMovieGroup::FindSpriteByName(const String& name) const {
  if (name.Length() == 0) return nullptr;
  for (std::int32_t i = sprites.NumItems(); i >= 1; --i) {
    CSprite* sprite = SpriteAt(i);
    if (sprite && *sprite->GetName() == name) return sprite;
  }
  return nullptr;
}

CSprite* CMovieGroup::FindTopSpriteAtFrame(std::int16_t frame) const {
  for (std::int32_t i = sprites.NumItems(); i >= 1; --i) {
    CSprite* sprite = SpriteAt(i);
    if (sprite && sprite->IsVisibleInRange(frame, 1)) return sprite;
  }
  return nullptr;
}

std::int16_t CMovieGroup::IndexOfSprite(const CSprite* sprite) const {
  return sprite ? static_cast<std::int16_t>(sprites.IndexOf(sprite) - 1) : kNoSprite;
}

bool CMovieGroup::IsShownBy(CMovie* movie) const {
  std::set<const CMovie*> seen;
  std::vector<CMovie*> pending{movie};
  while (!pending.empty()) {
    CMovie* next = pending.back();
    pending.pop_back();
    if (next == this) return true;
    auto* group = CastSmart<CMovieGroup>(next);
    if (group == nullptr || !seen.insert(group).second) continue;
    for (std::int32_t i = 1; i <= group->sprites.NumItems(); ++i)
      if (CSprite* sprite = group->SpriteAt(i)) pending.push_back(sprite->GetMovie());
  }
  return false;
}

// ---- Drawing and bounds ----

bool CMovieGroup::DrawFrame(DisplayPort& port, CXform* xform, std::int16_t frame, const Color& background) {
  bool drawn = true;
  for (std::int32_t i = 1; i <= sprites.NumItems(); ++i)
    if (CSprite* sprite = SpriteAt(i)) drawn = sprite->Draw(port, SmartRef<CXform>(xform), frame, background) && drawn;
  return drawn;
}

void CMovieGroup::GetFrameBounds(Rect* out, std::int16_t frame) {
  *out = Rect::emptyRect;
  for (std::int32_t i = 1; i <= sprites.NumItems(); ++i) {
    CSprite* sprite = SpriteAt(i);
    if (sprite == nullptr || !sprite->IsVisibleInRange(frame, 1)) continue;
    Rect rect;
    sprite->GetFrameGeometry(frame, &rect, nullptr);
    *out = out->IsEmpty() ? rect : out->Union(rect);
  }
}

bool CMovieGroup::DrawFrameTransformed(DisplayPort& port, CXform* xform, std::int16_t frame, const Color& background) {
  if (xform == hiddenFrameXform) return true;
  if (GetMode() & kModeKeyed) return DrawFrame(port, xform, frame, background);
  if (GetMode() & (kModeKeyedAlt | kModeOpaque)) return CMovie::DrawFrameTransformed(port, xform, frame, background);
  const Rect area = xform ? xform->TransformRect(GetBounds()) : GetBounds();
  port.DrawRect(area, background, standardColors[kTransparentColor]);
  return DrawFrame(port, xform, frame, background);
}

// ---- Adding sprites ----

Rect CMovieGroup::PlacementRect(const CMovie& movie) const {
  Rect placed = movie.GetBounds();
  placed.CenterOn(GetBounds());
  placed = placed.Union(GetBounds());
  placed.Offset(GetBounds().left - placed.left, GetBounds().top - placed.top);
  return placed;
}

std::int16_t CMovieGroup::AddMovieAsSprite(std::int16_t at, std::int16_t count, CMovie* movie) {
  if (movie == nullptr) return kNoSprite;
  const SmartRef<CMovie> copy = CastSmart<CMovie>(movie->Clone());
  const SmartRef<CSprite> sprite = new CSprite(at, copy, PlacementRect(*movie));
  if (count > 0) sprite->SetFrameCount(count);
  return MergeSprite(~sprite);
}

std::int16_t CMovieGroup::AddObjectAsSprite(std::int16_t start, std::int16_t count, Smart* object, bool center,
                                            std::int16_t limit, const String& name) {
  if (object == nullptr) return kNoSprite;
  ClampFrameRange(&start, &count, limit);
  if (start < 0) start = 0;
  SmartRef<CResource> resource = CastSmart<CResource>(object);
  if (!resource && CastSmart<Image>(object)) resource = new CResource(SmartRef<Smart>(object));
  const SmartRef<CMovie> movie = resource ? CMoviePic::FromPicture(~resource) : nullptr;
  if (!movie) AssertFailed("mp != NULL", kSource.Line(704));
  const SmartRef<CSprite> sprite = new CSprite(start, movie, center ? PlacementRect(*movie) : movie->GetBounds());
  if (name.Length() != 0) sprite->SetName(new String(name));
  sprite->SetFrameCount(count);
  return MergeSprite(~sprite);
}

std::int16_t CMovieGroup::SetFrames(std::int16_t start, std::int16_t count, Smart* object, bool center,
                                    std::int16_t limit) {
  return AddObjectAsSprite(start, count, object, center, limit, String());
}

std::int16_t CMovieGroup::MergeSprite(CSprite* sprite) {
  if (sprite == nullptr || sprite->GetMovie() == nullptr) return kNoSprite;
  const bool announce = !gSuppressMovieChanges;
  const SmartRef<CSprite> offered(sprite);
  std::int16_t result = kNoSprite;
  {
    MovieChangesSuppressed quiet;
    for (std::int32_t i = 1; i <= sprites.NumItems() && result == kNoSprite; ++i) {
      CSprite* here = SpriteAt(i);
      if (here && here->MergeIfMatching(offered, true, true)) result = static_cast<std::int16_t>(i - 1);
    }
    if (result == kNoSprite) {
      sprite->SetMovie(ResolveSelfReference(sprite->GetMovie()));
      const SmartRef<CSprite> copy = new CSprite(*sprite);
      sprites.Append(~copy);
      RegisterWith(copy->GetMovie());
      result = static_cast<std::int16_t>(sprites.NumItems() - 1);
    }
  }
  if (announce) {
    const std::int32_t end = std::int32_t{sprite->GetStartFrame()} + sprite->GetFrameCount();
    for (std::int32_t f = sprite->GetStartFrame(); f < end; ++f)
      Changed(this, Rect::emptyRect, static_cast<std::int16_t>(f));
  }
  return result;
}

SmartRef<CMovie> CMovieGroup::ResolveSelfReference(CMovie* movie) {
  auto* group = CastSmart<CMovieGroup>(movie);
  if (group == nullptr) return SmartRef<CMovie>(movie);
  if (group == this) return new CMovieGroup(*this);
  for (std::int32_t i = 1; i <= sprites.NumItems(); ++i) {
    CSprite* sprite = SpriteAt(i);
    if (auto* nested = sprite ? CastSmart<CMovieGroup>(sprite->GetMovie()) : nullptr)
      return nested == this ? SmartRef<CMovie>(movie) : nested->ResolveSelfReference(movie);
  }
  return SmartRef<CMovie>(movie);
}

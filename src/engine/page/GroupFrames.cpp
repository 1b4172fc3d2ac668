// A group's frames applied across its sprites: inserting, deleting, extracting, pasting and moving frames,
// restacking, the tracks of nested movies, what the sprites' movies are asked per frame, and their changes
// turned into page frames.
#include <algorithm>
#include <unordered_set>

#include "core/Progress.h"
#include "engine/geometry/CXform.h"
#include "engine/links/CLink.h"
#include "engine/page/CMovieGroup.h"
#include "engine/tracks/CTrackList.h"

// ---- Extracting and pasting ----

CMovieGroup::CMovieGroup(CMovieGroup& source, std::int16_t start, std::int16_t count, bool cut)
    : Smart(), CMovie(source, start, count, false) {
  const std::int16_t n = source.GetFrameCount();
  if (start >= n) start = static_cast<std::int16_t>(n - 1);
  if (start < 0) start = 0;
  if (count < 0) count = 0;
  if (std::int32_t{start} + count > n) count = static_cast<std::int16_t>(n - start);
  for (std::int32_t i = 1; i <= source.sprites.NumItems(); ++i) {
    CSprite* sprite = source.SpriteAt(i);
    if (sprite == nullptr) continue;
    const SmartRef<CSprite> part = CSprite::ExtractRange(*sprite, start, count, false);
    sprites.Append(~part);
    if (part->GetMovie()) RegisterWith(part->GetMovie());
    const std::int32_t end = std::int32_t{part->GetStartFrame()} + part->GetFrameCount();
    for (std::int32_t f = part->GetStartFrame(); f < end; ++f)
      if (CLink* link = part->GetLinkAtFrame(static_cast<std::int16_t>(f)))
        link->RemapFrames(source.GetFrameIndex(), *GetFrameIndex());
  }
  if (cut) source.RemoveFrames(start, count);
  BecomePurgeable();
}

SmartRef<CMovie> CMovieGroup::ExtractFrames(std::int16_t start, std::int16_t count, bool cut) {
  return new CMovieGroup(*this, start, count, cut);
}

void CMovieGroup::PasteFrames(std::int16_t position, CMovie& other) {
  if (&other == this) {
    const SmartRef<CMovie> copy = ExtractFrames(0, GetFrameCount(), false);
    PasteFrames(position, *copy);
    return;
  }
  Changed(this, Rect::emptyRect, -1);
  MovieChangesSuppressed quiet;
  const std::int16_t pasted = other.GetFrameCount();
  const std::int32_t existing = sprites.NumItems();
  CMovie::PasteFrames(position, other);
  for (std::int32_t i = 1; i <= existing; ++i)
    if (CSprite* sprite = SpriteAt(i)) sprite->HideFrames(position, pasted);
  auto* group = CastSmart<CMovieGroup>(&other);
  if (group == nullptr) {
    AddMovieAsSprite(position, 0, &other);
    return;
  }
  // The pasted sprites are merged one by one: the list is held, since merging may reach the pasted group.
  const List theirs = group->sprites;
  Progress progress(static_cast<std::uint32_t>(theirs.NumItems()), "Coller des cadres");
  group->OffsetFrames(-1, GetBounds().left - group->GetBounds().left, GetBounds().top - group->GetBounds().top);
  for (std::int32_t i = 1; i <= theirs.NumItems(); ++i) {
    progress.Step(1);
    const SmartRef<CSprite> sprite = CastSmart<CSprite>(theirs.At(i));
    if (!sprite) continue;
    const std::int16_t start = sprite->GetStartFrame();
    sprite->SetStartFrame(static_cast<std::int16_t>(start + position));
    MergeSprite(~sprite);
    sprite->SetStartFrame(start);
  }
}

// ---- Inserting, deleting and moving frames ----

bool CMovieGroup::InsertFrames(std::int16_t at, std::int16_t count, bool blank, bool keepLinks) {
  if (!IsValidInsert(GetFrameCount(), at, count)) return false;
  Changed(this, Rect::emptyRect, -1);
  MovieChangesSuppressed quiet;
  for (std::int32_t i = 1; i <= sprites.NumItems(); ++i)
    if (CSprite* sprite = SpriteAt(i)) sprite->InsertFrames(at, count, blank ? CSprite::kFillHidden : CSprite::kFillFromBefore);
  CMovie::InsertFrames(at, count, blank, keepLinks);
  return true;
}

// The range is checked before the sprites lose frames, so that they never lose frames the group keeps.
bool CMovieGroup::DeleteFrames(std::int16_t at, std::int16_t count) {
  if (count <= 0 || at < 0 || std::int32_t{at} + count > GetFrameCount() || count >= GetFrameCount()) return false;
  for (std::int32_t i = 1; i <= sprites.NumItems(); ++i)
    if (CSprite* sprite = SpriteAt(i)) sprite->DeleteFrames(at, count);
  return CMovie::DeleteFrames(at, count);
}

void CMovieGroup::OffsetFrames(std::int16_t frame, std::int32_t dx, std::int32_t dy) {
  if (dx == 0 && dy == 0) return;
  if (frame < 0) {
    for (std::int16_t f = static_cast<std::int16_t>(GetFrameCount() - 1); f >= 0; --f) OffsetFrames(f, dx, dy);
    return;
  }
  for (std::int32_t i = 1; i <= sprites.NumItems(); ++i) {
    CSprite* sprite = SpriteAt(i);
    if (sprite == nullptr || !sprite->IsVisibleInRange(frame, 1)) continue;
    Rect rect;
    sprite->GetFrameGeometry(frame, &rect, nullptr);
    rect.Offset(dx, dy);
    const bool key = sprite->IsKeyFrame(frame);
    sprite->FitFrameToRect(frame, &rect, nullptr);
    sprite->SetKeyFrame(frame, key);
  }
  Changed(this, Rect::emptyRect, frame);
}

void CMovieGroup::SetBoundsCarryingSprites(const Rect& rect) {
  const Rect old = GetBounds();
  const std::int32_t dx = rect.left - old.left;
  const std::int32_t dy = rect.top - old.top;
  if (dx != 0 || dy != 0) {
    // A plain translation of the paths rather than a refit of each frame: key marks, turns, clips and text
    // boxes stay as they are, and whatever reads the frames afterwards (drawing, links, the published
    // picture) finds them where the page shows them.
    std::unordered_set<const PathPoint*> moved;
    for (std::int32_t i = 1; i <= sprites.NumItems(); ++i) {
      CSprite* sprite = SpriteAt(i);
      if (sprite == nullptr) continue;
      sprite->OffsetPath(dx, dy, &moved);
      PathPoint* start = sprite->GetDefaultPoint();
      if (start != nullptr && !start->IsHidden() && moved.insert(start).second)
        start->offset = start->offset + Point(dx, dy);
    }
  }
  // Tells the dependants of the whole old and new frames, which drops every frame's cached picture.
  SetBounds(rect);
}

// ---- Restacking ----

void CMovieGroup::MoveSprite(std::int32_t from, std::int32_t to) {
  if (from == to) return;
  const SmartRef<Smart> held(sprites.At(from));
  sprites->Remove(from, 1);
  sprites.Insert(~held, to - 1);
}

void CMovieGroup::BringForward(CSprite* sprite, std::int16_t frame) {
  const std::int32_t i = sprites.IndexOf(sprite);
  if (sprite == nullptr || i == 0) return;
  const std::int32_t count = sprites.NumItems();
  std::int32_t target = 0;
  if (frame < 0 || frame >= GetFrameCount()) {
    target = count;
  } else {
    for (std::int32_t j = i + 1; j <= count && target == 0; ++j)
      if (SpriteAt(j) && SpriteAt(j)->IsVisibleInRange(frame, 1)) target = j;
    if (target == 0) return;
  }
  MoveSprite(i, target);
  Changed(this, Rect::emptyRect, -1);
}

void CMovieGroup::SendBackward(CSprite* sprite, std::int16_t frame) {
  const std::int32_t i = sprites.IndexOf(sprite);
  if (sprite == nullptr || i <= 1) return;
  std::int32_t target = 0;
  if (frame < 0 || frame >= GetFrameCount()) {
    target = 1;
  } else {
    for (std::int32_t j = i - 1; j >= 1 && target == 0; --j)
      if (SpriteAt(j) && SpriteAt(j)->IsVisibleInRange(frame, 1)) target = j;
    // Nothing visible below: nothing moves, as when bringing forward.
    if (target == 0) return;
  }
  if (target == 1) {
    for (std::int32_t j = 1; j <= sprites.NumItems(); ++j) {
      CSprite* other = SpriteAt(j);
      if (other && other != sprite && other->ToggleBackgroundFlag(false)) target = 2;
    }
  }
  MoveSprite(i, target);
  Changed(this, Rect::emptyRect, -1);
}

void CMovieGroup::RemoveEmptySprites() {
  bool removed = false;
  for (std::int32_t i = sprites.NumItems(); i >= 1; --i) {
    CSprite* sprite = SpriteAt(i);
    if (sprite) sprite->TrimHiddenFrames(GetFrameCount());
    if (sprite == nullptr || sprite->GetFrameCount() == 0) {
      sprites->Remove(i, 1);
      removed = true;
    }
  }
  if (removed) SyncRegistrations();
}

// ---- Tracks ----

void CMovieGroup::CollectTracks(std::int16_t frame, CTrackList& list, std::uint32_t key) {
  const auto n = static_cast<std::uint16_t>(sprites.NumItems());
  for (std::int32_t i = n; i >= 1; --i) {
    CSprite* sprite = SpriteAt(i);
    if (sprite == nullptr) continue;
    const std::uint32_t childKey = CTrackList::ChildKey(key, static_cast<std::uint16_t>(i - 1), n);
    if (!sprite->IsVisibleInRange(frame, 1)) {
      list.RemoveKey(childKey, true);
      continue;
    }
    CMovie* movie = sprite->GetMovie();
    std::int32_t u = frame - sprite->GetStartFrame();
    const std::int32_t t = movie->GetFrameCount();
    if (t > 0 && movie->ToggleFlag8(false)) u %= t;
    if (u >= 0 && u < t) movie->CollectTracks(static_cast<std::int16_t>(u), list, childKey);
  }
  CMovie::CollectTracks(frame, list, key);
}

// ---- What the sprites' movies are asked ----

bool CMovieGroup::PrepareFrame(std::int16_t frame) {
  for (std::int32_t i = 1; i <= sprites.NumItems(); ++i) {
    CSprite* sprite = SpriteAt(i);
    if (sprite && sprite->IsVisibleInRange(frame, 1) &&
        !sprite->GetMovie()->PrepareFrame(sprite->GetImageIndex(frame)))
      return false;
  }
  return CMovie::PrepareFrame(frame);
}

bool CMovieGroup::CheckFrame(CXform* xform, std::int16_t frame, Smart*, std::int32_t, std::int32_t) {
  bool all = true;
  for (std::int32_t i = 1; i <= sprites.NumItems(); ++i)
    if (CSprite* sprite = SpriteAt(i)) all = sprite->CheckFrame(SmartRef<CXform>(xform), frame) && all;
  return all;
}

void CMovieGroup::ApplyToFrame(Smart* object, std::int16_t frame, CSprite* sprite) {
  if (frame < 0 || frame >= GetFrameCount()) return;
  const auto apply = [&](CSprite* s) {
    if (s && s->IsVisibleInRange(frame, 1)) s->GetMovie()->ApplyToFrame(object, s->GetImageIndex(frame), nullptr);
  };
  if (sprite) {
    apply(sprite);
    return;
  }
  for (std::int32_t i = 1; i <= sprites.NumItems(); ++i) apply(SpriteAt(i));
}

std::int16_t CMovieGroup::GetLayerCount() {
  if (!(GetMode() & kModeKeyed)) return CMovie::GetLayerCount();
  std::int16_t layers = 0;
  for (std::int32_t i = 1; i <= sprites.NumItems(); ++i)
    if (CSprite* sprite = SpriteAt(i)) layers = static_cast<std::int16_t>(layers + sprite->GetMovie()->GetLayerCount());
  return layers;
}

bool CMovieGroup::IsReadOnly() {
  if (!(GetMode() & kModeKeyed)) return CMovie::IsReadOnly();
  for (std::int32_t i = 1; i <= sprites.NumItems(); ++i)
    if (CSprite* sprite = SpriteAt(i); sprite && sprite->GetMovie()->IsReadOnly()) return true;
  return false;
}

// Each sprite works out its part from the clips given: what one sprite makes of them is its own, not the
// next one's clip.
bool CMovieGroup::ComputeFrameChange(std::int16_t fromFrame, std::int16_t toFrame, CXform* fromXform, CXform* toXform,
                                     Rect* fromRect, Rect* toRect, FrameChangeRecord* record) {
  if (!(GetMode() & kModeKeyed))
    return CMovie::ComputeFrameChange(fromFrame, toFrame, fromXform, toXform, fromRect, toRect, record);
  const std::int32_t n = GetFrameCount();
  const auto wrap = [n](std::int16_t f) {
    const std::int32_t r = f % n;
    return static_cast<std::int16_t>(r < 0 ? r + n : r);
  };
  fromFrame = wrap(fromFrame);
  toFrame = wrap(toFrame);
  bool all = true;
  for (std::int32_t i = sprites.NumItems(); i >= 1; --i) {
    CSprite* sprite = SpriteAt(i);
    if (sprite == nullptr) continue;
    Rect from = *fromRect, to = *toRect;
    all = sprite->ComputeFrameChange(fromFrame, toFrame, SmartRef<CXform>(fromXform), SmartRef<CXform>(toXform), &from,
                                     &to, record) && all;
  }
  return all;
}

// ---- A sprite's movie changed ----

void CMovieGroup::FrameChanged(CMovie* movie, const Rect&, std::int16_t frame) {
  CSprite* sprite = nullptr;
  for (std::int32_t i = 1; i <= sprites.NumItems() && sprite == nullptr; ++i)
    if (CSprite* s = SpriteAt(i); s && s->GetMovie() == movie) sprite = s;
  if (sprite == nullptr) {
    Changed(this, Rect::emptyRect, frame);
    return;
  }
  const std::int32_t s = sprite->GetStartFrame();
  const std::int32_t e = s + sprite->GetFrameCount();
  const std::int32_t m = movie->GetFrameCount();
  std::vector<std::int32_t> frames;
  if (frame < 0) {
    for (std::int32_t f = s; f < e; ++f) frames.push_back(f);
  } else if (movie->ToggleFlag8(false)) {
    for (std::int32_t f = s + frame; m > 0 && f < e; f += m) frames.push_back(f);
  } else if (frame < m - 1) {
    frames.push_back(s + frame);
  } else {
    for (std::int32_t f = s + frame; f < e; ++f) frames.push_back(f);
  }
  for (const std::int32_t f : frames) {
    Rect rect;
    sprite->GetFrameGeometry(static_cast<std::int16_t>(f), &rect, nullptr);
    if (!rect.IsEmpty()) Changed(this, rect, static_cast<std::int16_t>(f));
  }
}

// The frame sequence of a movie: per-frame data, fitting frames and ranges, inserting, deleting,
// resampling, pasting and copying frames. The four per-frame lists change in step, entry f + 1 holding
// frame f, and the frame marks move with their frames.
#include <algorithm>
#include <cstdint>

#include "core/Progress.h"
#include "core/Sound.h"
#include "engine/links/CLink.h"
#include "engine/movie/CMovie.h"
#include "graphics/bitmaps/ColorTable.h"

namespace {
constexpr std::int32_t kMaxFrames = INT16_MAX;
}  // namespace

Sound* CMovie::GetSound(std::int16_t frame) const {
  if (static_cast<std::uint16_t>(frame) >= static_cast<std::uint16_t>(frameCount)) return nullptr;
  return CastSmart<Sound>(sounds.At(frame + 1));
}

ColorTable* CMovie::GetColorTable(std::int16_t frame) const {
  if (static_cast<std::uint16_t>(frame) >= static_cast<std::uint16_t>(frameCount)) return nullptr;
  return CastSmart<ColorTable>(colorTables.At(frame + 1));
}

CLink* CMovie::GetLink(std::int16_t frame) const { return CastSmart<CLink>(links.At(frame + 1)); }

void CMovie::SetSound(std::int16_t frame, std::int16_t count, Sound* sound) {
  if (count > 0) sounds.Put(sound, frame + 1, count);
}

void CMovie::SetColorTable(std::int16_t frame, std::int16_t count, ColorTable* table) {
  if (count > 0) colorTables.Put(table, frame + 1, count);
}

void CMovie::SetLink(std::int16_t frame, std::int16_t count, CLink* link) {
  if (count > 0) links.Put(link, frame + 1, count);
}

bool CMovie::ClampFrame(std::int16_t* frame) const {
  if (*frame < 0) {
    *frame = 0;
    return false;
  }
  if (*frame >= frameCount)
    *frame = (mode & kModeCycles) ? static_cast<std::int16_t>(*frame % frameCount)
                                  : static_cast<std::int16_t>(frameCount - 1);
  return true;
}

bool CMovie::IsValidInsert(std::int16_t frameCount, std::int16_t at, std::int16_t count) {
  return count > 0 && at >= 0 && at <= frameCount;
}

void CMovie::ClampFrameRange(std::int16_t* start, std::int16_t* count, std::int16_t limit) {
  const bool cycles = mode & kModeCycles;
  if (*start < 0) {
    if (cycles) InsertFrames(0, static_cast<std::int16_t>(-*start), false, false);
    *start = 0;
  }
  const std::int32_t end = std::int32_t{*start} + *count;
  if (cycles) {
    if (end > frameCount) InsertFrames(frameCount, static_cast<std::int16_t>(end - frameCount), false, false);
  } else {
    if (*start >= frameCount)
      InsertFrames(frameCount, static_cast<std::int16_t>(*start - frameCount + 1), false, false);
    if (end < frameCount) return;
    // The movie ends one frame after the range, unless that would pass the limit.
    if (end < limit)
      InsertFrames(frameCount, static_cast<std::int16_t>(end - frameCount + 1), false, false);
    else
      *count = static_cast<std::int16_t>(frameCount - *start);
  }
  // A movie that could not grow as far (it holds as many frames as it can) keeps the range within it.
  if (*start >= frameCount) *start = static_cast<std::int16_t>(frameCount - 1);
  if (std::int32_t{*start} + *count > frameCount) *count = static_cast<std::int16_t>(frameCount - *start);
}

bool CMovie::InsertFrames(std::int16_t at, std::int16_t count, bool blank, bool keepLinks) {
  if (!IsValidInsert(frameCount, at, count) || std::int32_t{frameCount} + count > kMaxFrames) return false;
  if (blank || at <= 0) keepLinks = true;
  Changed(this, Rect::emptyRect, -1);
  MovieChangesSuppressed quiet;
  // New frames take the colours of the frame before them; at the front, of the frame after them.
  ColorTable* table = blank ? nullptr : GetColorTable(at > 0 ? static_cast<std::int16_t>(at - 1) : 0);
  frameCount = static_cast<std::int16_t>(frameCount + count);
  frameIndex->ShiftMarks(at, count);
  colorTables.Insert(table, at, count);
  sounds.Insert(nullptr, at, count);
  links.Insert(nullptr, at, count);
  frameCaches.Insert(nullptr, at, count);
  // A link that ends a run of frames stays at the end of the run.
  if (!keepLinks) {
    const SmartRef<CLink> moved = GetLink(static_cast<std::int16_t>(at - 1));
    links.Put(nullptr, at, 1);
    links.Put(~moved, at + count, 1);
  }
  return true;
}

// A range outside the movie, or one that would leave it without frames, changes nothing.
bool CMovie::DeleteFrames(std::int16_t at, std::int16_t count) {
  if (count <= 0 || at < 0 || std::int32_t{at} + count > frameCount || count >= frameCount) return false;
  frameCount = static_cast<std::int16_t>(frameCount - count);
  sounds->Remove(at + 1, count);
  colorTables->Remove(at + 1, count);
  frameCaches->Remove(at + 1, count);
  links->Remove(at + 1, count);
  frameIndex->DeleteMarks(at, count);
  return true;
}

bool CMovie::RemoveFrames(std::int16_t at, std::int16_t count) {
  std::int32_t first = at, n = count;
  if (first < 0) {
    n += first;
    first = 0;
  }
  n = std::min<std::int32_t>(n, frameCount - first);
  if (n <= 0) return false;
  // A movie never drops to no frames: a blank one stays in the place of the range.
  if (n == frameCount) {
    if (!InsertFrames(static_cast<std::int16_t>(first), 1, true, false)) return false;
    ++first;
  }
  Changed(this, Rect::emptyRect, -1);
  MovieChangesSuppressed quiet;
  return DeleteFrames(static_cast<std::int16_t>(first), static_cast<std::int16_t>(n));
}

void CMovie::AdjustLength(std::int16_t start, std::int16_t oldLength, std::int16_t newLength) {
  const std::int32_t b = oldLength, c = newLength;
  if (b < 1 || c < 1 || c == b || start < 0 || start + b > frameCount) return;
  if (c < b) {
    // Frame k stays when it starts a new one of the c output frames. Runs of dropped frames go from the
    // end backwards, so that the frames still to be looked at keep their numbers.
    Progress progress(static_cast<std::uint32_t>(b), "Adjusting Length");
    std::int32_t run = 0;
    for (std::int32_t k = b - 1; k >= 0; --k) {
      progress.Step();
      if (c * (k + 1) / b == c * k / b) {
        ++run;
        continue;
      }
      if (run > 0) RemoveFrames(static_cast<std::int16_t>(start + k + 1), static_cast<std::int16_t>(run));
      run = 0;
    }
    if (run > 0) RemoveFrames(start, static_cast<std::int16_t>(run));
  } else if (b == 1) {
    InsertFrames(static_cast<std::int16_t>(start + 1), static_cast<std::int16_t>(c - 1), false, false);
  } else {
    // Frame k moves to k (c - 1) / (b - 1); blank frames fill the gaps, from the end backwards.
    Progress progress(static_cast<std::uint32_t>(b - 1), "Adjusting Length");
    for (std::int32_t n = b - 1; n >= 1; --n) {
      progress.Step();
      const std::int32_t gap = n * (c - 1) / (b - 1) - (n - 1) * (c - 1) / (b - 1) - 1;
      if (gap > 0) InsertFrames(static_cast<std::int16_t>(start + n), static_cast<std::int16_t>(gap), true, false);
    }
  }
}

void CMovie::PasteFrames(std::int16_t position, CMovie& other) {
  if (&other == this) {
    const SmartRef<CMovie> copy = ExtractFrames(0, frameCount, false);
    PasteFrames(position, *copy);
    return;
  }
  if (!InsertFrames(position, other.frameCount, true, false)) return;
  const SmartRef<CFrameIndex> pasted = CastSmart<CFrameIndex>(other.frameIndex->Clone());
  frameIndex->InsertMarks(*pasted, position);
  for (std::int16_t i = 0; i < other.frameCount; ++i) {
    const auto frame = static_cast<std::int16_t>(position + i);
    SetSound(frame, 1, other.GetSound(i));
    SetColorTable(frame, 1, other.GetColorTable(i));
    if (CLink* link = other.GetLink(i)) {
      const SmartRef<CLink> copy = CastSmart<CLink>(link->Clone());
      copy->RemapFrames(~other.frameIndex, *pasted);
      SetLink(frame, 1, ~copy);
    }
  }
}

CMovie::CMovie(CMovie& source, std::int16_t start, std::int16_t count, bool cut)
    : bounds(source.bounds),
      mode(source.mode & 0x1F),
      sounds(&Sound::classInfo),
      colorTables(&ColorTable::classInfo),
      links(&CLink::classInfo),
      frameCaches(&ListData::classInfo) {
  start = std::clamp<std::int16_t>(start, 0, static_cast<std::int16_t>(source.frameCount - 1));
  count = std::clamp<std::int16_t>(count, 0, static_cast<std::int16_t>(source.frameCount - start));
  // An empty range gives one blank frame: a movie always has one.
  frameCount = std::max<std::int16_t>(count, 1);
  for (std::int16_t i = 0; i < frameCount; ++i) {
    const bool inRange = i < count;
    sounds.Append(inRange ? source.sounds.At(start + i + 1) : nullptr);
    colorTables.Append(inRange ? source.colorTables.At(start + i + 1) : nullptr);
    links.Append(inRange ? source.links.At(start + i + 1) : nullptr);
    frameCaches.Append(nullptr);
  }
  CopyMarksAndLinks(source, start, count);
  if (cut) source.RemoveFrames(start, count);
}

void CMovie::CopyMarksAndLinks(const CMovie& source, std::int16_t start, std::int16_t count) {
  frameIndex = new CFrameIndex();
  const std::int32_t end = std::int32_t{start} + count;
  for (std::int32_t i = 1; i <= source.frameIndex->NumMarks(); ++i) {
    const CJumpFrame* mark = source.frameIndex->GetMark(i);
    if (mark->GetFrame() >= start && mark->GetFrame() < end) frameIndex->AppendCopy(*mark, static_cast<std::int16_t>(-start));
  }
  for (std::int32_t i = 1; i <= links.NumItems(); ++i) {
    CLink* link = CastSmart<CLink>(links.At(i));
    if (link == nullptr) continue;
    const SmartRef<CLink> copy = CastSmart<CLink>(link->Clone());
    copy->RemapFrames(~source.frameIndex, *frameIndex);
    links.Put(~copy, i);
  }
}

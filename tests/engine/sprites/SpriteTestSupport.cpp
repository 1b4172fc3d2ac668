#include "engine/sprites/SpriteTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/String.h"

using engine_test::RecordingMovie;

SMART_DEFINE_ABSTRACT(RecordingMovie, "RecordingMovie", CMovie)

namespace engine_test {

RecordingMovie::RecordingMovie(std::int16_t images, bool cycles, const Rect& bounds) : CMovie(bounds) {
  if (images > 1) CMovie::InsertFrames(1, static_cast<std::int16_t>(images - 1), true, true);
  if (!cycles) ToggleFlag8(true);
  Forget();
}

RecordingMovie::RecordingMovie(const RecordingMovie& other)
    : Smart(), CMovie(other), imageBounds(other.imageBounds), answer(other.answer), log(other.log) {}

RecordingMovie::RecordingMovie(RecordingMovie& source, std::int16_t start, std::int16_t count, bool cut)
    : Smart(), CMovie(source, start, count, cut), answer(source.answer), log(source.log) {
  for (const auto& [image, rect] : source.imageBounds)
    if (image >= start && image < start + count) imageBounds[static_cast<std::int16_t>(image - start)] = rect;
}

void RecordingMovie::Changed(CMovie* source, const Rect& rect, std::int16_t frame) {
  if (!gSuppressMovieChanges) Note("changed " + std::to_string(frame));
  CMovie::Changed(source, rect, frame);
}

void RecordingMovie::GetFrameBounds(Rect* out, std::int16_t frame) {
  ++boundsAsked;
  const auto found = imageBounds.find(frame);
  *out = found != imageBounds.end() ? found->second : GetBounds();
}

bool RecordingMovie::DrawFrameTransformed(DisplayPort&, CXform* xform, std::int16_t frame, const Color&) {
  Note("draw " + std::to_string(frame) + " onto " + (xform ? Text(xform->GetDestination()) : "none"));
  return answer;
}

bool RecordingMovie::ComputeFrameChange(std::int16_t from, std::int16_t to, CXform* fromXform, CXform* toXform,
                                        Rect* fromRect, Rect* toRect, FrameChangeRecord*) {
  const auto side = [](std::int16_t frame, CXform* xform, const Rect* rect) {
    return std::to_string(frame) + (xform == hiddenFrameXform ? " hidden" : " onto " + Text(xform->GetDestination())) +
           " in " + Text(*rect);
  };
  Note("change " + side(from, fromXform, fromRect) + " to " + side(to, toXform, toRect));
  return answer;
}

bool RecordingMovie::CheckFrame(CXform* xform, std::int16_t frame, Smart* object, std::int32_t a, std::int32_t b) {
  Note("check " + std::to_string(frame) + " onto " + Text(xform->GetDestination()) + (object ? " object" : "") +
       " " + std::to_string(a) + " " + std::to_string(b));
  return answer;
}

std::int16_t RecordingMovie::SetFrames(std::int16_t start, std::int16_t count, Smart* object, bool flag,
                                       std::int16_t limit) {
  const auto* text = CastSmart<String>(object);
  Note("set " + std::to_string(start) + " " + std::to_string(count) + " " + (text ? TextOf(*text) : "?") + " " +
       (flag ? "placed" : "kept") + " " + std::to_string(limit));
  return CMovie::SetFrames(start, count, object, flag, limit);
}

SmartRef<Smart> RecordingMovie::GetFrameObject(std::int16_t frame) {
  return new String(("image " + std::to_string(frame)).c_str());
}

SmartRef<CMovie> RecordingMovie::ExtractFrames(std::int16_t start, std::int16_t count, bool cut) {
  Note("extract " + std::to_string(start) + " " + std::to_string(count) + (cut ? " cut" : ""));
  return new RecordingMovie(*this, start, count, cut);
}

bool RecordingMovie::InsertFrames(std::int16_t at, std::int16_t count, bool blank, bool keepLinks) {
  Note("insert " + std::to_string(at) + " " + std::to_string(count) + (blank ? " blank" : "") +
       (keepLinks ? " keeping links" : ""));
  return CMovie::InsertFrames(at, count, blank, keepLinks);
}

bool RecordingMovie::DeleteFrames(std::int16_t at, std::int16_t count) {
  Note("delete " + std::to_string(at) + " " + std::to_string(count));
  return CMovie::DeleteFrames(at, count);
}

std::vector<std::string> RecordingMovie::Calls(const std::string& word) const {
  std::vector<std::string> found;
  for (const std::string& entry : *log)
    if (entry.rfind(word + " ", 0) == 0) found.push_back(entry);
  return found;
}

std::string Text(const Rect& r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
         std::to_string(r.bottom) + ")";
}

std::string Text(const Point& p) { return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")"; }

namespace {

std::string Signed(std::int32_t v) { return (v < 0 ? "" : "+") + std::to_string(v); }

std::string Name(const Smart* object, const std::vector<const Smart*>& named) {
  if (object == nullptr) return "-";
  const auto found = std::find(named.begin(), named.end(), object);
  return found == named.end() ? "?" : std::string(1, static_cast<char>('a' + (found - named.begin())));
}

}  // namespace

std::string Describe(const CSprite& sprite, const std::vector<const Smart*>& named) {
  std::string text = "start " + std::to_string(sprite.GetStartFrame()) + ":";
  for (std::int16_t r = 0; r < sprite.GetFrameCount(); ++r) {
    const PathPoint* point = sprite.GetPathPoint(r);
    text += " ";
    if (point == nullptr) {
      text += "?";
      continue;
    }
    if (point->IsHidden()) text += "H";
    else if (point->xform) text += point->xform->HasDestination() ? "X" : "x";
    text += Signed(point->offset.x) + Signed(point->offset.y);
    const std::string sound = Name(sprite.GetSounds().At(r + 1), named);
    const std::string link = Name(sprite.GetLinks().At(r + 1), named);
    if (sound != "-" || link != "-") text += "/" + sound + link;
  }
  text += " | keys";
  for (const std::int16_t key : sprite.GetKeyFrames()) text += " " + std::to_string(key);
  return text;
}

void ExpectSpriteInvariants(const CSprite& sprite) {
  const std::int16_t n = sprite.GetFrameCount();
  EXPECT_GE(n, 0);
  EXPECT_EQ(sprite.GetPath().NumItems(), n);
  EXPECT_EQ(sprite.GetSounds().NumItems(), n);
  EXPECT_EQ(sprite.GetLinks().NumItems(), n);
  for (std::int32_t i = 1; i <= sprite.GetPath().NumItems(); ++i)
    EXPECT_NE(CastSmart<PathPoint>(sprite.GetPath().At(i)), nullptr) << "path entry " << i;
  const std::vector<std::int16_t> keys = sprite.GetKeyFrames();
  for (std::size_t i = 0; i < keys.size(); ++i) {
    EXPECT_TRUE(keys[i] >= 0 && keys[i] < n) << "key " << keys[i] << " of " << n << " frames";
    if (i > 0) {
      EXPECT_LT(keys[i - 1], keys[i]) << "keys ascend";
    }
  }
  EXPECT_NE(sprite.GetDefaultPoint(), nullptr);
}

}  // namespace engine_test

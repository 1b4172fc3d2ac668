// What the sprite suites share: a movie kind that records what a sprite asks of it, a compact picture of
// a sprite's frames for tables of cases, and the check of a sprite's invariants.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/EngineTestSupport.h"
#include "engine/sprites/CSprite.h"

namespace engine_test {

// A movie of a number of images, each of the movie's bounds unless given others. It records the slots a
// sprite calls, in order, in a log that the movies extracted from it share.
class RecordingMovie : public CMovie {
  SMART_ABSTRACT(RecordingMovie)
 public:
  RecordingMovie(std::int16_t images, bool cycles, const Rect& bounds = {0, 0, 40, 30});
  RecordingMovie(const RecordingMovie& other);
  RecordingMovie(RecordingMovie& source, std::int16_t start, std::int16_t count, bool cut);
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return new RecordingMovie(*this); }

  void Changed(CMovie* source, const Rect& rect, std::int16_t frame) override;
  void GetFrameBounds(Rect* out, std::int16_t frame) override;
  bool DrawFrameTransformed(DisplayPort& port, CXform* xform, std::int16_t frame, const Color& background) override;
  bool ComputeFrameChange(std::int16_t from, std::int16_t to, CXform* fromXform, CXform* toXform, Rect* fromRect,
                          Rect* toRect, FrameChangeRecord* record) override;
  bool CheckFrame(CXform* xform, std::int16_t frame, Smart* object, std::int32_t a, std::int32_t b) override;
  std::int16_t SetFrames(std::int16_t start, std::int16_t count, Smart* object, bool flag, std::int16_t limit) override;
  SmartRef<Smart> GetFrameObject(std::int16_t frame) override;
  SmartRef<CMovie> ExtractFrames(std::int16_t start, std::int16_t count, bool cut) override;
  bool InsertFrames(std::int16_t at, std::int16_t count, bool blank, bool keepLinks) override;
  bool DeleteFrames(std::int16_t at, std::int16_t count) override;

  // Images without an entry have the movie's bounds.
  std::map<std::int16_t, Rect> imageBounds;
  bool answer = true;  // what drawing, checking and change computing answer
  std::shared_ptr<std::vector<std::string>> log = std::make_shared<std::vector<std::string>>();
  int boundsAsked = 0;

  // The entries of the log that start with the word, and the log emptied.
  std::vector<std::string> Calls(const std::string& word) const;
  void Forget() { log->clear(), boundsAsked = 0; }

 private:
  void Note(const std::string& entry) { log->push_back(entry); }
};

// "(l, t, r, b)".
std::string Text(const Rect& r);
std::string Text(const Point& p);

// A sprite's frames in one line, for tables: "start 10: +0+0 H+0+0 X+5+5 | keys 0 2", with H for a
// hidden frame, X for a frame with a transform (x for one whose destination is empty). Sounds and links
// are named by the letters of the objects given ("a" for the first, "-" for none, "?" for another).
std::string Describe(const CSprite& sprite, const std::vector<const Smart*>& named = {});

// Lists of one entry per frame, every path entry a path point, key frames ascending within the sprite.
void ExpectSpriteInvariants(const CSprite& sprite);

}  // namespace engine_test

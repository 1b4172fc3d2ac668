// The hot link of a page frame or of a sprite's frame: what happens when it fires (its kind), how long its
// frame holds first (its value), where it leads (its jump) and the web address the page compiler
// publishes for it.
#pragma once

#include <cstdint>

#include "core/Archive.h"
#include "engine/links/CJump.h"

class CFrameIndex;

class CLink : public Persistent, public SmartImplementation {
  SMART_CLASS(CLink)
 public:
  static const PersistentType persistentType;

  enum : std::int32_t {
    kNext = 0,
    kFrame = 1,
    kPage = 2,
    kStop = 3,
    kPrevious = 4,
    kWait = 5,
    kFrameWithReturn = 6,
    kPageWithReturn = 7,
    kWebAddress = 10,
  };

  CLink() = default;
  // Copies share the jumps and the web address.
  CLink(const CLink& other) = default;
  CLink& operator=(const CLink& other) = default;
  explicit CLink(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  // Kinds 8 and 9 of older files act as kNext, though they are stored back as they were.
  std::int32_t GetKind() const { return kind == 8 || kind == 9 ? kNext : kind; }
  // A frame kind needs a frame jump, a page kind a page jump, kinds 8 and 9 some jump; a kind refused
  // leaves the link as it was.
  void SetKind(std::int32_t newKind);
  std::int32_t GetMode() const { return mode; }
  void SetMode(std::int32_t newMode) { mode = newMode; }
  std::int16_t GetValue() const { return value; }
  // The hold code: seconds above 0, the page's rate at 0, a condition below.
  void SetValue(std::int16_t newValue) { value = newValue; }
  CJump* GetJump() const { return ~jump; }
  void SetJump(SmartRef<CJump> newJump) { jump = std::move(newJump); }
  CJumpMovie* GetMovieJump() const { return ~movieJump; }
  CJumpMovie* GetJumpAsMovie() const { return CastSmart<CJumpMovie>(~jump); }
  Persistent* GetStoredHref() const { return ~href; }
  // The web address the page compiler publishes: the stored one, else for a page jump the address of the
  // target page; null for any other link.
  SmartRef<Persistent> GetHref(int unused = 0);
  // The link becomes a web-address link: it drops its jumps.
  void SetHref(SmartRef<Persistent> address);

  // The frame of a frame jump in the movie's frame index (the link then holds the index's own mark), or
  // -1 (0xFFFF) when there is none.
  std::int16_t ResolveFrame(CFrameIndex& index);
  // After the frames were copied into another movie: the frame jump moves to that movie's mark of the
  // same label.
  void RemapFrames(CFrameIndex* other, CFrameIndex& index);
  // Makes sure a page jump's file can be found; true when the user gave up looking.
  bool Locate();

 private:
  std::int32_t kind = kNext;
  std::int32_t mode = 0;
  SmartRef<CJump> jump;
  std::int16_t value = 0;
  SmartRef<CJumpMovie> movieJump;
  SmartRef<Persistent> href;
};

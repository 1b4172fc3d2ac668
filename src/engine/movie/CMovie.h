// The base of every movie: a numbered sequence of frames with bounds, per-frame sounds, colour tables and
// links, per-frame caches of rendered images, named frame marks, and the dependants told of every change.
// The movie kinds fill in the drawing and what they hold per frame.
#pragma once

#include <cstdint>

#include "core/Archive.h"
#include "core/Geometry.h"
#include "core/ListData.h"
#include "core/Memory.h"
#include "core/PointerArray.h"
#include "engine/links/CFrameIndex.h"
#include "engine/movie/FrameChange.h"

class BitMap;
class CLink;
class CStamp;
class CMovie;
class CShow;
class CSprite;
class CTrackList;
class CXform;
class ColorTable;
class DisplayPort;
class Sound;
struct Color;

// An object told of a movie's changes. It registers with ToggleDependant and takes itself off before it
// dies: movies do not count their dependants.
class MovieDependant {
 public:
  virtual void FrameChanged(CMovie* movie, const Rect& rect, std::int16_t frame) = 0;
  virtual void BoundsChanged(CMovie* movie, const Rect& oldBounds) = 0;

 protected:
  ~MovieDependant() = default;
};

// While set, Changed tells nobody: a frame edit announces itself once, when it is done.
extern std::uint8_t gSuppressMovieChanges;
// Read and cleared by the next whole-movie picture.
extern std::uint8_t gMakeImageWholeBounds;
// The bounds of new pages, and of the empty movie of a player without a page.
extern const Rect defaultMovieBounds;

// Sets gSuppressMovieChanges for its lifetime and then gives it back its value.
class MovieChangesSuppressed {
 public:
  MovieChangesSuppressed() : saved(gSuppressMovieChanges) { gSuppressMovieChanges = 1; }
  ~MovieChangesSuppressed() { gSuppressMovieChanges = saved; }
  MovieChangesSuppressed(const MovieChangesSuppressed&) = delete;
  MovieChangesSuppressed& operator=(const MovieChangesSuppressed&) = delete;

 private:
  std::uint8_t saved;
};

class CMovie : public Persistent, public SmartImplementation, public Purgeable {
  SMART_ABSTRACT(CMovie)
 public:
  static const PersistentType persistentType;
  static constexpr std::int16_t kNoFrame = -1;
  // PurgeFrame's ranges.
  static constexpr std::int16_t kAllFrames = -1;
  static constexpr std::int16_t kNoFrames = -2;

  enum : std::uint8_t {
    kModeKeyed = 1 << 0,
    kModeReadOnly = 1 << 1,
    kModeOpaque = 1 << 2,
    kModeCycles = 1 << 3,
    kModeKeyedAlt = 1 << 4,
    kDrawingModes = kModeKeyed | kModeOpaque | kModeKeyedAlt,
  };

  ~CMovie() override;

  // Slots: what the kinds may replace.
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }
  // Tells the dependants of a change of the frame (-1: every frame) in the rectangle (empty: the
  // bounds, when the change is this movie's own) and drops the caches of the frames it touched.
  virtual void Changed(CMovie* source, const Rect& rect, std::int16_t frame);
  virtual void SetBounds(const Rect& rect);
  virtual void OffsetFrames(std::int16_t frame, std::int32_t dx, std::int32_t dy);
  virtual void GetFrameBounds(Rect* out, std::int16_t frame);
  virtual bool DrawFrame(DisplayPort& port, CXform* xform, std::int16_t frame, const Color& background);
  // Without a transform, hidden, or only moved: the frame needs no transformed image.
  virtual bool CanDrawDirect(CXform* xform);
  virtual bool HasStableImages();
  // Draws the frame through its cache of rendered images, or directly when it cannot be cached.
  virtual bool DrawFrameTransformed(DisplayPort& port, CXform* xform, std::int16_t frame, const Color& background);
  // Renders the frame off-screen into the target rectangle and caches the result; null when the frame
  // could not be drawn.
  virtual SmartRef<CStamp> MakeFrameStamp(DisplayPort& port, CXform* xform, std::int16_t frame,
                                          const Color& background, const Rect& target);
  // The frame's cache of rendered images; a negative frame gets a new list the movie does not keep.
  virtual SmartRef<ListData> GetFrameCache(std::int16_t frame);
  // A picture of frame 0 over its own bounds (the whole bounds once gMakeImageWholeBounds was set).
  virtual SmartRef<BitMap> MakeImage();
  virtual int GetFrameDepth(std::int16_t frame);
  // What changes on the stage from one frame to the other: the rectangles come in as clips and go out as
  // where the images land; the image of the second frame goes to the record when it changes anything.
  virtual bool ComputeFrameChange(std::int16_t fromFrame, std::int16_t toFrame, CXform* fromXform, CXform* toXform,
                                  Rect* fromRect, Rect* toRect, FrameChangeRecord* record);
  virtual std::int16_t GetLayerCount();
  virtual bool FramesDiffer(std::int16_t a, std::int16_t b);
  virtual bool PrepareFrame(std::int16_t frame);
  virtual bool PurgeFrame(std::int16_t frame);
  // The frame's sound goes to the track list under the key: a sound to play as a new channel, an empty
  // sound as the end of what the key plays.
  virtual void CollectTracks(std::int16_t frame, CTrackList& list, std::uint32_t key);
  virtual bool CheckFrame(CXform* xform, std::int16_t frame, Smart* object, std::int32_t a, std::int32_t b);
  virtual bool IsReadOnly();
  virtual std::int16_t SetFrames(std::int16_t start, std::int16_t count, Smart* object, bool flag,
                                 std::int16_t limit);
  virtual SmartRef<Smart> GetFrameObject(std::int16_t frame);
  virtual bool CanSetFrames(std::int16_t start, std::int16_t count, Smart* object);
  // A movie of the same kind over the frames; with the cut flag they leave this movie.
  virtual SmartRef<CMovie> ExtractFrames(std::int16_t start, std::int16_t count, bool cut) = 0;
  virtual void PasteFrames(std::int16_t position, CMovie& other);
  virtual std::int16_t MergeSprite(CSprite* sprite);
  virtual bool InsertFrames(std::int16_t at, std::int16_t count, bool blank, bool keepLinks);
  virtual void ApplyToFrame(Smart* object, std::int16_t frame, CSprite* sprite);
  // Takes the frames out without announcing it: callers announce.
  virtual bool DeleteFrames(std::int16_t at, std::int16_t count);

  std::int16_t GetFrameCount() const { return frameCount; }
  void GetBounds(Rect* out) const { *out = bounds; }
  const Rect& GetBounds() const { return bounds; }
  std::uint8_t GetMode() const { return mode; }
  CFrameIndex* GetFrameIndex() const { return ~frameIndex; }
  void ToggleDependant(MovieDependant* dependant) { dependants.Toggle(dependant); }
  bool HasDependant(MovieDependant* dependant) const { return dependants.Contains(dependant); }
  // Each flips its bit when the flag is true (a drawing mode then clears the other two and announces a
  // change of every frame); each answers its bit.
  bool ToggleMode1(bool flag) { return ToggleDrawingMode(kModeKeyed, flag); }
  bool ToggleMode4(bool flag) { return ToggleDrawingMode(kModeOpaque, flag); }
  bool ToggleMode16(bool flag) { return ToggleDrawingMode(kModeKeyedAlt, flag); }
  bool ToggleFlag8(bool flag);

  // The cached image of the frame under the transform, rendered when the memory budget allows; null for
  // a hidden or empty frame.
  SmartRef<CStamp> GetFrameImage(DisplayPort& port, CXform* xform, std::int16_t frame, const Color& background,
                                 bool mayCache);
  // A new page that holds this movie.
  SmartRef<CShow> MakeShow();
  // Lets go of every rendered image.
  void PurgeCaches();
  void Purge() override { PurgeCaches(); }
  // The rectangle as the transform shows it: itself without one, empty for a hidden frame.
  static Rect MapFrameRect(const Rect& rect, const CXform* xform);

  // Per-frame data. The getters answer null for a frame outside the movie; the setters store the object
  // (null clears) on count frames from the frame, without announcing it.
  Sound* GetSound(std::int16_t frame) const;
  ColorTable* GetColorTable(std::int16_t frame) const;
  CLink* GetLink(std::int16_t frame) const;
  void SetSound(std::int16_t frame, std::int16_t count, Sound* sound);
  void SetColorTable(std::int16_t frame, std::int16_t count, ColorTable* table);
  void SetLink(std::int16_t frame, std::int16_t count, CLink* link);

  // Fitting frames and ranges into the movie.
  // A negative frame becomes 0 (and answers false); one past the end wraps when the images cycle, else
  // becomes the last frame.
  bool ClampFrame(std::int16_t* frame) const;
  static bool IsValidInsert(std::int16_t frameCount, std::int16_t at, std::int16_t count);
  // Fits a range that an object is about to occupy, growing the movie where it may.
  void ClampFrameRange(std::int16_t* start, std::int16_t* count, std::int16_t limit);

  // Frame editing.
  // Takes the frames out, keeping at least one; false for an empty range.
  bool RemoveFrames(std::int16_t at, std::int16_t count);
  // Resamples the frames [start, start + oldLength) to newLength frames, keeping their order.
  void AdjustLength(std::int16_t start, std::int16_t oldLength, std::int16_t newLength);

 protected:
  explicit CMovie(const Rect& rect);
  // The kinds' copies: the lists share the source's elements, the marks and links are the copy's own.
  CMovie(const CMovie& other);
  // The frames [start, start + count) of the source, which with the cut flag leave it.
  CMovie(CMovie& source, std::int16_t start, std::int16_t count, bool cut);
  // The movie part of a kind's block, nested in it.
  explicit CMovie(ArchiveBlock& outer);
  // For kinds whose own block holds the movie part: no frames until ReadMoviePart.
  struct ReadLater {};
  explicit CMovie(ReadLater);
  void ReadMoviePart(ArchiveBlock& outer);
  void WriteMoviePart(ArchiveBlock& outer);
  // Takes the other movie's frames as a copy does (the kinds' CopyFrom).
  void TakeMovieData(const CMovie& other);
  CMovie& operator=(const CMovie&) = delete;

  void CopyMarksAndLinks(const CMovie& source, std::int16_t start, std::int16_t count);
  // Entry f + 1 is frame f's cache of rendered images, or null.
  const List& GetFrameCaches() const { return frameCaches; }

 private:
  void ReadFields(ArchiveBlock& block);
  void WriteFields(ArchiveBlock& block);
  bool ToggleDrawingMode(std::uint8_t bit, bool flag);
  void EmptyFrameCache(std::int16_t frame);
  void InsertEntries(std::int16_t at, std::int16_t count, ColorTable* table);

  std::int16_t frameCount = 1;
  Rect bounds;
  std::uint8_t mode = kModeKeyed | kModeCycles;
  List sounds;
  List colorTables;
  List links;
  List frameCaches;
  SmartRef<CFrameIndex> frameIndex;
  PointerArray<MovieDependant> dependants;
};

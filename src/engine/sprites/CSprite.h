// One object on a page: the images of a movie shown over a run of consecutive page frames, each frame
// placed by its own path point, with a sound and a link per frame. Page frame f is the sprite's frame
// f - startFrame; frame r is entry r + 1 of every per-frame list.
#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "core/Archive.h"
#include "core/GenericArray.h"
#include "core/Geometry.h"
#include "core/ListData.h"
#include "core/Sound.h"
#include "core/String.h"
#include "engine/geometry/PathPoint.h"
#include "engine/links/CLink.h"
#include "engine/movie/CMovie.h"

class DisplayPort;
class Image;
struct Color;

// Fits a page-frame range to a sprite of n frames starting at start: frame becomes relative to the sprite.
// True when frames remain.
bool ClipFrameRange(std::int16_t start, std::int16_t n, std::int16_t* frame, std::int16_t* count);

// The picture of the next link button made from a web address, chosen by the user; null for the stock one.
extern SmartRef<Image> linkButtonPicture;

// Sprites of two movies of one such kind merge by taking over each other's images, not only their frames
// (pictures and texts do); each kind adds itself once.
void AddImageMergingKind(const ClassInfo* kind);

class CSprite : public Persistent, public SmartImplementation {
  SMART_CLASS(CSprite)
 public:
  static const PersistentType persistentType;

  enum : std::uint8_t { kBackgroundFlag = 2 };
  // Where frames inserted into a sprite take their path point, sound and link from.
  enum FillMode : int { kFillHidden = 0, kFillFromBefore = 1, kFillFromAfter = 2, kFillFromNeighbour = 3 };

  // Over every frame of the movie, centred on the placement (at the movie's own place when it is empty),
  // unscaled.
  CSprite(std::int16_t start, SmartRef<CMovie> movie, const Rect& placement);
  // An independent copy: its own path points, sounds, links and movie images.
  CSprite(const CSprite& other);
  // The part of the source over the page frames [frame, frame + count), renumbered so that frame becomes
  // frame 0; with hide, those frames are hidden in the source.
  CSprite(CSprite& source, std::int16_t frame, std::int16_t count, bool hide);
  explicit CSprite(ArchiveBlock& block);
  // CopyFrom: the values are copied, the path, sounds, links, default point and movie shared.
  CSprite& operator=(const CSprite& other) = default;
  static Persistent* ReadNew(Archive* archive);
  static SmartRef<CSprite> ExtractRange(CSprite& source, std::int16_t frame, std::int16_t count, bool hide);
  // The class conversions. From a movie: a sprite at frame 0 over the movie, at the movie's place. From a
  // sound: a sprite of the stock sound picture whose frame 0 plays the sound. From a web address: a link
  // button (MakeLinkSprite).
  static bool FromMovie(SmartRef<Smart>* slot);
  static bool FromSound(SmartRef<Smart>* slot);
  static bool FromLinkHREF(SmartRef<Smart>* slot);
  // A one-frame sprite of linkButtonPicture (the stock button without one) whose frame 0 leads to the
  // address.
  static SmartRef<CSprite> MakeLinkSprite(Persistent* address);
  // Web addresses are the web library's: they become sprites once it has named their class (null: never).
  static void SetAddressClass(const ClassInfo* addressClass);

  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  std::int16_t GetFrameCount() const { return nFrames; }
  std::int16_t GetStartFrame() const { return startFrame; }
  void SetStartFrame(std::int16_t frame) { startFrame = frame; }
  CMovie* GetMovie() const { return ~movie; }
  void SetMovie(SmartRef<CMovie> newMovie);
  SmartRef<String> GetName() const { return new String(name); }
  void SetName(const SmartRef<String>& text);
  // Flips the background flag when toggle is set; answers the flag.
  bool ToggleBackgroundFlag(bool toggle);
  Sound* GetSoundAtFrame(std::int16_t frame) const;
  CLink* GetLinkAtFrame(std::int16_t frame) const;
  const Point& GetOrigin() const { return origin; }
  // The path point of the sprite's frame (relative), or null outside the sprite.
  PathPoint* GetPathPoint(std::int16_t relativeFrame) const;
  PathPoint* GetDefaultPoint() const { return ~defaultPoint; }
  // One entry per frame, relative frame r at r + 1.
  const List& GetPath() const { return path; }
  const List& GetSounds() const { return sounds; }
  const List& GetLinks() const { return links; }
  // Relative frames, ascending.
  std::vector<std::int16_t> GetKeyFrames() const;

  // ---- What a page frame shows ----
  // The movie's image at the frame: cycling, or holding the last image.
  std::int16_t GetImageIndex(std::int16_t frame) const;
  // The placement for drawing: xf comes in as the surroundings' transform (or null) and leaves as the
  // image's transform on the stage, frame leaves as the image number, and the frame's clip narrows clip.
  // False, with xf the hidden-frame transform and clip empty, when the frame shows nothing.
  bool GetFramePlacement(SmartRef<CXform>* xf, std::int16_t* frame, Rect* clip) const;
  void GetFrameBounds(std::int16_t frame, Rect* bounds) const;
  // The bounds within the frame's clip, and where the anchor lands; either may be omitted.
  void GetFrameGeometry(std::int16_t frame, Rect* rect, Point* position) const;
  // The frame's visible rectangle in the image's own coordinates, and the anchor.
  void GetFrameMapping(std::int16_t frame, Rect* rect, Point* position) const;
  SmartRef<CXform> GetXformAtFrame(std::int16_t frame) const;
  bool IsVisibleInRange(std::int16_t frame, std::int16_t count) const;
  bool Draw(DisplayPort& port, SmartRef<CXform> xf, std::int16_t frame, const Color& background) const;
  bool CheckFrame(SmartRef<CXform> xf, std::int16_t frame) const;
  bool ComputeFrameChange(std::int16_t frame1, std::int16_t frame2, SmartRef<CXform> xf1, SmartRef<CXform> xf2,
                          Rect* rect1, Rect* rect2, FrameChangeRecord* record) const;

  // ---- Editing the path ----
  void SetSound(std::int16_t frame, std::int16_t count, Sound* sound);
  // Every frame of the range gets one and the same new copy of the link; null clears.
  void SetLink(std::int16_t frame, std::int16_t count, CLink* link);
  bool IsKeyFrame(std::int16_t frame) const;
  void SetKeyFrame(std::int16_t frame, bool on);
  // False when the frames do not become part of the sprite (the sprite may then have moved later).
  bool InsertFrames(std::int16_t frame, std::int16_t count, int fillMode);
  // False when no frame of the sprite was deleted (the sprite may then have moved earlier).
  bool DeleteFrames(std::int16_t frame, std::int16_t count);
  void SetFrameCount(std::int16_t count);
  void HideFrames(std::int16_t frame, std::int16_t count);
  // The sprite grows as needed, and every frame of the range is shown.
  void ShowFrames(std::int16_t frame, std::int16_t count);
  // Drops the hidden frames at both ends, keeping the others on their page frames.
  void TrimHiddenFrames(std::int16_t limit);
  // Every shown frame moves by the offset; hidden frames take their place from shown ones when shown again.
  // A point listed in the set has moved already (a path shared by rows or by sprites moves once), and every
  // point moved is added to it.
  void OffsetPath(std::int32_t dx, std::int32_t dy, std::unordered_set<const PathPoint*>* moved = nullptr);
  // An empty target hides the frame; an anchor moves the sprite's origin onto it.
  void FitFrameToRect(std::int16_t frame, const Rect* target, const Point* anchor);
  // The frames of the range that show the reference frame's resource follow it onto the target: each
  // takes the change that brings the reference frame's image there, and the anchor keeps its place on the
  // page. Only a transformed reference frame moves anything. The movie must be a resource movie.
  void RefitFrames(std::int16_t reference, const Rect& target, std::int16_t frame, std::int16_t count);
  bool MergeIfMatching(const SmartRef<CSprite>& other, bool checkOverlap, bool checkName);
  void MergeFrames(const SmartRef<CSprite>& other);

 private:
  // Relative frame r's path point.
  PathPoint* PointAt(std::int32_t r) const { return CastSmart<PathPoint>(path.At(r + 1)); }
  bool IsCycling() const;
  // The movie's bounds for the image a page frame shows.
  Rect ImageBounds(std::int16_t frame) const;
  std::int32_t KeyPosition(std::int16_t key) const;
  std::int16_t KeyAt(std::int32_t position) const;
  void ShiftKeys(std::int16_t from, std::int16_t by);
  void ForgetLinksNotFound();
  void MendAfterReading(Archive* archive, std::int16_t storedCount, std::int32_t pathCount, bool hadSounds,
                        bool hadLinks);

  std::int16_t nFrames = 0;
  String name;
  std::int16_t startFrame = 0;
  Point origin;
  List path{&PathPoint::classInfo};
  SmartRef<PathPoint> defaultPoint;
  List sounds{&Sound::classInfo};
  List links{&CLink::classInfo};
  SmartRef<CMovie> movie;
  std::uint8_t flags = 0;
  GenericArray keyFrames{sizeof(std::int16_t), 0};
};

// The movie whose content is a stack of sprites: every page draws its frames from one. The group's own
// frames are the page's frames; each sprite shows its own movie over a run of them, element 1 of the list
// at the bottom.
#pragma once

#include <cstdint>
#include <vector>

#include "core/ListData.h"
#include "core/String.h"
#include "engine/movie/CMovie.h"
#include "engine/sprites/CSprite.h"

class CMovieGroup : public CMovie, public MovieDependant {
  SMART_CLASS(CMovieGroup)
 public:
  static const PersistentType persistentType;
  static constexpr std::int16_t kNoSprite = -1;

  // An empty group over the bounds, one frame.
  explicit CMovieGroup(const Rect& bounds);
  // A group over the movie's bounds showing a copy of it as its one sprite, the page's background when
  // the flag is set.
  CMovieGroup(CMovie* movie, bool background);
  // The frames [start, start + count) of the source, every sprite's part of them included (empty parts
  // too); with the cut flag they leave the source.
  CMovieGroup(CMovieGroup& source, std::int16_t start, std::int16_t count, bool cut);
  // A clone: the movie part copied, the sprite list shared; it registers with nothing.
  CMovieGroup(const CMovieGroup& other);
  // CopyFrom: shares the source's lists; the registrations follow the new sprites.
  CMovieGroup& operator=(const CMovieGroup& other);
  explicit CMovieGroup(ArchiveBlock& block);
  ~CMovieGroup() override;
  static Persistent* ReadNew(Archive* archive);

  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  // ---- Queries; positions are 0-based ----
  std::int16_t GetSpriteCount() const { return static_cast<std::int16_t>(sprites.NumItems()); }
  CSprite* GetSprite(std::int16_t i) const;
  // The topmost sprite of that name; null for an empty name.
  CSprite* FindSpriteByName(const String& name) const;
  CSprite* FindTopSpriteAtFrame(std::int16_t frame) const;
  // The sprite's position, or kNoSprite.
  std::int16_t IndexOfSprite(const CSprite* sprite) const;
  const List& GetSprites() const { return sprites; }
  // Where a movie added to the group is placed: the group's bounds for a smaller one, a rectangle of the
  // union's size at the group's top-left corner for a larger one.
  Rect PlacementRect(const CMovie& movie) const;

  // ---- Editing ----
  std::int16_t AddMovieAsSprite(std::int16_t at, std::int16_t count, CMovie* movie);
  // 0xFFFF (kNoSprite) for a null object.
  std::int16_t AddObjectAsSprite(std::int16_t start, std::int16_t count, Smart* object, bool center,
                                 std::int16_t limit, const String& name);
  void BringForward(CSprite* sprite, std::int16_t frame);
  void SendBackward(CSprite* sprite, std::int16_t frame);
  void RemoveEmptySprites();
  void EmptyOperation(Smart*) {}
  // What the group shows in place of the movie, so that it never shows itself: a copy of the group for
  // the group itself.
  SmartRef<CMovie> ResolveSelfReference(CMovie* movie);
  // Whether the movie is this group or shows it, at any depth.
  bool IsShownBy(CMovie* movie) const;

  // The group takes the bounds, its sprites moved in every frame by as much as the top-left corner moves, so
  // that the page shows the same inside its new frame; new frames start there too. A page stored from one
  // place is shown from another without losing its top rows: a mere placement, made neither undoable nor
  // an edit of the page.
  void SetBoundsCarryingSprites(const Rect& rect);

  // ---- Slots ----
  void OffsetFrames(std::int16_t frame, std::int32_t dx, std::int32_t dy) override;
  void GetFrameBounds(Rect* out, std::int16_t frame) override;
  bool DrawFrame(DisplayPort& port, CXform* xform, std::int16_t frame, const Color& background) override;
  bool CanDrawDirect(CXform*) override { return true; }
  bool DrawFrameTransformed(DisplayPort& port, CXform* xform, std::int16_t frame, const Color& background) override;
  bool ComputeFrameChange(std::int16_t fromFrame, std::int16_t toFrame, CXform* fromXform, CXform* toXform,
                          Rect* fromRect, Rect* toRect, FrameChangeRecord* record) override;
  std::int16_t GetLayerCount() override;
  bool PrepareFrame(std::int16_t frame) override;
  bool PurgeFrame(std::int16_t frame) override { return CMovie::PurgeFrame(frame); }
  void CollectTracks(std::int16_t frame, CTrackList& list, std::uint32_t key) override;
  bool CheckFrame(CXform* xform, std::int16_t frame, Smart* object, std::int32_t a, std::int32_t b) override;
  bool IsReadOnly() override;
  std::int16_t SetFrames(std::int16_t start, std::int16_t count, Smart* object, bool center,
                         std::int16_t limit) override;
  SmartRef<CMovie> ExtractFrames(std::int16_t start, std::int16_t count, bool cut) override;
  void PasteFrames(std::int16_t position, CMovie& other) override;
  std::int16_t MergeSprite(CSprite* sprite) override;
  bool InsertFrames(std::int16_t at, std::int16_t count, bool blank, bool keepLinks) override;
  void ApplyToFrame(Smart* object, std::int16_t frame, CSprite* sprite) override;
  bool DeleteFrames(std::int16_t at, std::int16_t count) override;

  // A sprite's movie changed: the page frames that show the change are reported as the group's.
  void FrameChanged(CMovie* movie, const Rect& rect, std::int16_t frame) override;
  void BoundsChanged(CMovie*, const Rect&) override {}

  // Whether the group is among the movie's dependants through its own registration.
  bool IsRegisteredWith(const CMovie* movie) const;

 private:
  CSprite* SpriteAt(std::int32_t position) const;  // 1-based, as the list
  void RegisterWith(CMovie* movie);
  // Lets go of the movies no sprite of the list shows any more, and registers with those it does.
  void SyncRegistrations();
  void UnregisterAll();
  void BecomePurgeable();
  // Drops what cannot be drawn from a list read from a file (entries that are no sprites, sprites without a
  // movie or closing a loop back to this group); true when any went.
  bool DropDamagedSprites();
  void MoveSprite(std::int32_t from, std::int32_t to);

  List sprites{&CSprite::classInfo};
  // The movies this group took its place among the dependants of, each once.
  std::vector<SmartRef<CMovie>> registeredWith;
  bool purgeable = false;
};

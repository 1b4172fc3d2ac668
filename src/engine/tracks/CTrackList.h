// The tracks a page started, each under the key of the page part that started it, so that a part's tracks
// can be replaced or dropped as a whole. A play list starts each track it is given.
//
// Keys are paths in the tree of a page's movies: the page's group is 1, and the sprite at position i of
// c sprites in a group of key k has the key ChildKey(k, i, c), k followed by the bits of i.
#pragma once

#include <cstdint>

#include "core/Archive.h"
#include "core/GenericArray.h"
#include "core/ListData.h"
#include "sound/Track.h"

class CMovie;

class CTrackList : public Persistent, public SmartImplementation {
  SMART_CLASS(CTrackList)
 public:
  static const PersistentType persistentType;
  // What Prune found still playing.
  enum : std::uint16_t { kSoundPlaying = 1, kTrackPlaying = 2 };

  CTrackList() = default;
  // Copies hold the same tracks in lists of their own: a list sharing its tracks' list with another, but
  // not its keys, would lose track of which key is whose at the first change.
  CTrackList(const CTrackList& other);
  CTrackList& operator=(const CTrackList& other);
  // Track lists are never stored: reading or writing one is a notice.
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  // Replaces the key's tracks by the track; false (and nothing changes) for no track, or for the very
  // track already under the key and still playing.
  virtual bool Add(std::uint32_t key, SmartRef<Track> track);
  // Drops the key's tracks, and with the flag those of every key within it.
  void RemoveKey(std::uint32_t key, bool withDescendants);
  // The track must be the one at the 1-based position.
  void RemoveAt(std::int32_t position, Track* track);
  // The movie adds the tracks of the frame under the page's key, 1.
  void CollectTracks(CMovie& movie, std::int16_t frame);
  // Drops the tracks that no longer play; answers what still plays.
  virtual std::uint16_t Prune();
  std::int32_t NumTracks() const { return tracks.NumItems(); }
  // Null out of range.
  Track* GetTrack(std::int32_t position) const;
  std::uint32_t GetKey(std::int32_t position) const;

  static std::uint32_t ChildKey(std::uint32_t parent, std::uint16_t index, std::uint16_t count);
  // Whether b is a or lies within it (the leading bits of b spell a).
  static bool KeyWithin(std::uint32_t a, std::uint32_t b);

 private:
  List tracks{&Track::classInfo};
  GenericArray keys{sizeof(std::uint32_t), 0};
};

class CPlayList : public CTrackList {
  SMART_CLASS(CPlayList)
 public:
  CPlayList() = default;
  // Adds the track and starts it (the play list's AddAndPlay).
  bool Add(std::uint32_t key, SmartRef<Track> track) override;
};

#include "engine/tracks/CTrackList.h"

#include <bit>
#include <cstring>

#include "core/Exception.h"
#include "core/Sound.h"
#include "engine/movie/CMovie.h"

SMART_DEFINE(CTrackList, "CTrackList", nullptr, nullptr, Persistent, SmartImplementation)
SMART_DEFINE(CPlayList, "CPlayList", &CreateDefault<CPlayList>, nullptr, CTrackList)

const PersistentType CTrackList::persistentType(&CTrackList::classInfo, MakeVersion(1), MakeVersion(2),
                                                &CTrackList::ReadNew);

CTrackList::CTrackList(const CTrackList& other)
    : Smart(), Persistent(other), SmartImplementation(other),
      tracks(other.tracks->CopyRange(1, other.tracks.NumItems())), keys(other.keys) {}

CTrackList& CTrackList::operator=(const CTrackList& other) {
  tracks = List(other.tracks->CopyRange(1, other.tracks.NumItems()));
  keys.Assign(other.keys);
  return *this;
}

Persistent* CTrackList::ReadNew(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  NOT_IMPLEMENTED();
  // Closed before the object is made: closing a damaged block fails, and nothing may be left unowned.
  block.Close();
  return new CTrackList();
}

void CTrackList::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  NOT_IMPLEMENTED();
}

Track* CTrackList::GetTrack(std::int32_t position) const { return CastSmart<Track>(tracks.At(position)); }

std::uint32_t CTrackList::GetKey(std::int32_t position) const {
  std::uint32_t key;
  std::memcpy(&key, keys.At(position), sizeof key);
  return key;
}

bool CTrackList::Add(std::uint32_t key, SmartRef<Track> track) {
  if (!track) return false;
  const std::int32_t at = tracks.IndexOf(static_cast<Smart*>(~track));
  if (at != 0 && GetKey(at) == key && track->IsPlaying()) return false;
  RemoveKey(key, false);
  tracks.Append(~track);
  keys.Insert(&key, keys.NumItems(), 1);
  return true;
}

void CTrackList::RemoveKey(std::uint32_t key, bool withDescendants) {
  for (std::int32_t position = tracks.NumItems(); position >= 1; --position) {
    const std::uint32_t held = GetKey(position);
    if (held == key || (withDescendants && KeyWithin(key, held))) RemoveAt(position, GetTrack(position));
  }
}

void CTrackList::RemoveAt(std::int32_t position, Track* track) {
  if (track != GetTrack(position)) AssertFailed("~track == tracks[(Index)index]", __FILE__, __LINE__);
  keys.Delete(position, 1);
  tracks->Remove(position, 1);
}

void CTrackList::CollectTracks(CMovie& movie, std::int16_t frame) { movie.CollectTracks(frame, *this, 1); }

std::uint16_t CTrackList::Prune() {
  std::uint16_t playing = 0;
  for (std::int32_t position = tracks.NumItems(); position >= 1; --position) {
    Track* track = GetTrack(position);
    if (track == nullptr) AssertFailed("~track != NULL", __FILE__, __LINE__);
    if (!track->IsPlaying()) {
      RemoveAt(position, track);
    } else if (Sound* sound = CastSmart<Sound>(track)) {
      if (!sound->ToggleLoop(false)) playing |= kSoundPlaying;
    } else {
      playing |= kTrackPlaying;
    }
  }
  return playing;
}

std::uint32_t CTrackList::ChildKey(std::uint32_t parent, std::uint16_t index, std::uint16_t count) {
  const int shift = count <= 1 ? 1 : std::bit_width(static_cast<unsigned>(count - 1));
  return (parent << shift) + index;
}

bool CTrackList::KeyWithin(std::uint32_t a, std::uint32_t b) {
  if (a == b) return true;
  const auto shift = static_cast<unsigned>(std::bit_width(b) - std::bit_width(a)) % 32;
  return a == b >> shift;
}

bool CPlayList::Add(std::uint32_t key, SmartRef<Track> track) {
  if (!CTrackList::Add(key, track)) return false;
  track->Play(true);
  return true;
}

// The player's thinker: prepares the change records of the frames ahead of the play position, so that a
// step to the next frame repaints only what changes. It keeps a window of prepared frames (a base frame
// and how many from it on are ready) and a target the player wants ready; it prepares one frame per call,
// when the playback or the acceleration asks, and gives prepared frames back when memory runs short.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/Memory.h"
#include "engine/movie/CMovie.h"
#include "ui/shell/Chore.h"

class CPlayer;
class CShow;

class CChoreCache : public Chore, public MovieDependant, public Purgeable {
  SMART_ABSTRACT(CChoreCache)
 public:
  enum : std::uint32_t { kStartPeriod = 30, kIdlePeriod = 1000, kPreparingPeriod = 1 };
  // Purges at this level or above are refused until the next step or preparation.
  static constexpr std::int16_t kNoPurgeDone = 4;

  explicit CChoreCache(CPlayer& player);
  ~CChoreCache() override;
  SMART_NOT_COPYABLE

  // Tells the clients (the player), which answer with Step.
  void Do() override;
  // The chore's own tick: it only re-arms, slowly.
  void Step(CPlayer& player);
  // Wants count frames ready from start on (taken modulo the frame count); the frames already prepared
  // from there on stay counted. A negative start only sets the target (0 clears it). Answers how many
  // are prepared.
  std::int16_t SetTarget(std::int16_t start, std::int16_t count);
  // Prepares the next frame of the window, on the player's device.
  void PrepareNext(CPlayer& player);
  bool IsDone() const { return prepared >= target; }
  void ToggleClient(ChoreClient* client) { clients.Toggle(client); }

  // Any change of the page's movie: nothing prepared holds any more.
  void FrameChanged(CMovie* movie, const Rect& rect, std::int16_t frame) override;
  void BoundsChanged(CMovie*, const Rect&) override {}

  // The memory manager's call: gives back frames at the engine's current memory level.
  void Purge() override;
  bool PurgeCallback(std::size_t bytesNeeded);
  // Gives back the frames the level allows, least needed last in the range first, until the bytes are
  // available: 0 every prepared frame and then all the page caches, 1 the frames prepared beyond the
  // target, 2 the frames outside the window. False when a purge at this level was already done since
  // the last step.
  bool Purge(std::size_t bytesNeeded, std::int16_t level);

  std::int16_t GetBase() const { return base; }
  std::int16_t GetPrepared() const { return prepared; }
  std::int16_t GetTarget() const { return target; }
  std::int16_t GetPurgeLevel() const { return purgeLevel; }

 private:
  std::int16_t FrameCount() const;

  SmartRef<CShow> show;
  // The movie registered with, so that the registration ends where it began.
  SmartRef<CMovie> group;
  ChoreClientList clients;
  std::int16_t base = 0;
  std::int16_t prepared = 0;
  std::int16_t target = 0;
  std::int16_t purgeLevel = kNoPurgeDone;
};

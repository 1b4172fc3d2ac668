// The job that plays a page while its player plays. At every tick it decides whether the frame shown has
// stayed long enough (its link's hold code, or the page's rate); when it has, it fires the frame's link,
// which moves the page on: to the next frame, a labelled frame, the previous one, another page, or it
// stops, waits or shows a web address. It starts each frame's sounds, draws a step to the next frame
// through the frame's change record, and remembers the page jumps that can be gone back.
#pragma once

#include <cstdint>

#include "core/FileReference.h"
#include "core/ListData.h"
#include "engine/links/CJump.h"
#include "engine/player/CChoreCache.h"
#include "engine/tracks/CTrackList.h"
#include "platform/kernel/WinTypes.h"
#include "ui/shell/Chore.h"

class CLink;
class CMovie;
class CPlayer;
class CShow;
class Sound;

class CChorePlay : public Chore {
 public:
  enum : std::uint32_t { kHoldPeriod = 250, kFirePeriod = 1 };
  // The hold codes of a frame link's value below 1.
  static constexpr std::int16_t kHoldForRate = 0;
  static constexpr std::int16_t kHoldForClick = -1;
  static constexpr std::int16_t kHoldForGood = -2;
  static constexpr std::int16_t kHoldWhileTracks = -3;
  static constexpr std::int16_t kHoldForCache = -4;
  static constexpr std::int16_t kHoldWhileOtherTracks = -5;
  static constexpr std::int16_t kHoldWhileSounds = -6;

  CChorePlay(CPlayer& player, SmartRef<CChoreCache> cache);
  // Shows the frame the previous chore left pending and takes over its jump history.
  CChorePlay(CPlayer& player, SmartRef<CChoreCache> cache, SmartRef<CChorePlay> previous);
  ~CChorePlay() override;

  // Tells the clients (the player), which answer with Step.
  void Do() override;
  void Step(CPlayer& player);
  // Performs the link (null: the next frame); from a click, kinds 6 and 7 come back to the clicked frame.
  // False when the player stopped or waits for another page instead of showing a frame.
  bool FireLink(CPlayer& player, CLink* link, bool fromClick);
  // Follows the last page jump with return back to its page and frame; false without one.
  bool GoBack(CPlayer& player);
  // Waits for good: no target for the cache, no tracks, no timer.
  void Halt();
  void SetWaiting(bool wait) { waiting = wait; }
  bool IsWaiting() const { return waiting; }
  void StartFrameTracks(CPlayer& player);
  void PlaySound(Sound* sound);
  // Checks that the jump's page file exists (raising the program's error when it does not); then either
  // offers it for preloading, or asks for it to be opened with the frame and mode pending.
  void OpenLinkedFile(CPlayer& player, CJumpMovie* jump, std::int16_t frame, std::int32_t mode, bool checkOnly);
  // Step: the frame follows the one shown and mode 0 lets its change record be replayed. Otherwise the
  // frame is drawn whole and its record rebuilt.
  void ShowFrameOnScreen(CPlayer& player, std::int16_t frame, std::int32_t mode, bool step);
  void ToggleClient(ChoreClient* client) { clients.Toggle(client); }

  CPlayList& GetPlayList() const { return *playList; }
  const List& GetHistory() const { return history; }
  std::int16_t GetPendingFrame() const { return pendingFrame; }
  std::int16_t GetPendingMode() const { return pendingMode; }
  DWORD GetLastTick() const { return lastTick; }

 private:
  void Init(CPlayer& player, SmartRef<CChoreCache> newCache);
  // Whether a frame that holds for the cache may go on: the frames up to the next linked one are ready.
  bool CacheCaughtUp(CPlayer& player, std::int16_t frame);
  // The frame a jump with return comes back to.
  std::int16_t ReturnFrame(std::int16_t frame, bool fromClick) const;
  void ShowWebAddress(CLink& link);

  ChoreClientList clients;
  SmartRef<CShow> show;
  SmartRef<CMovie> group;
  DWORD lastTick = 0;
  bool waiting = false;
  // Set while an alert this chore raised is up: the ticks that come meanwhile fire nothing.
  bool alertOpen = false;
  List history{&CJump::classInfo};
  SmartRef<CChoreCache> cache;
  SmartRef<CPlayList> playList;
  std::int16_t pendingMode = -1;
  std::int16_t pendingFrame = -1;
};

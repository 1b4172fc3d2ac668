// Shows one page in a pane and plays it: it keeps the frame shown, moves to other frames on request,
// starts and stops the playback, and answers the clicks the pane hands it (a sprite carrying a sound or
// a link, or a frame waiting for a click). Two chores do the timed work: the frame cache, for the
// player's whole life, and the playback, while the page plays. The player also queues requests for the
// application (the page file a followed link asks to open) and tells its listeners what changed.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "core/FileReference.h"
#include "core/PointerArray.h"
#include "graphics/Image.h"
#include "sound/Track.h"
#include "ui/shell/Chore.h"

class CChoreCache;
class CChorePlay;
class CLink;
class CShow;
class CSprite;
class String;

// Told of the frame shown, of the play state and of what the playback drew.
class PlayerListener {
 public:
  // The frame shown changed or is about to; also when playback starts.
  virtual void FrameShown() = 0;
  virtual void PlayStateChanged() = 0;
  // What the playback drew, while the player reports areas: the frame's change record after a step (null
  // when the page had none), or an Area of the page's bounds after a full draw.
  virtual void SendViewCommand(Smart* object) = 0;

 protected:
  ~PlayerListener() = default;
};

class CPlayer : public ImageChannelNode, public Track, public SmartImplementation, public ChoreClient {
  SMART_ABSTRACT(CPlayer)
 public:
  // The kinds of requests for the application; it acts on kOpenFileRequest only.
  enum : std::int32_t { kOpenFileRequest = 3, kSpriteRequest = 4, kLabelRequest = 5, kTextRequest = 6 };

  // Draws on the channel's device. Without a page the player makes an empty one that does not loop.
  // With click stops, a click that hits nothing stops the playback.
  CPlayer(SmartRef<CShow> page, const ImageChannel& channel, bool clickStops);
  ~CPlayer() override;
  // Two players over one pair of chores would halt each other's: players are not copied.
  SMART_NOT_COPYABLE

  // ---- Frame and page ----
  CShow* GetShow() const { return ~show; }
  std::int16_t GetCurrentFrame() const { return currentFrame; }
  // Grows the page when the frame lies past its end, and queues the frame's label.
  void ShowFrame(std::int16_t frame);
  // The current frame's link; with the flag a missing one is made (kind 0) and attached.
  CLink* GetFrameLink(bool create);
  std::int32_t GetFrameLinkMode();
  // The file the page was last read from or written to; false when it has none.
  bool GetPageFile(FileReference& file) const;
  DisplayDevice* GetView() const;
  void SetView(DisplayDevice* device, bool reportAreas);
  bool IsReportingAreas() const { return reportAreas; }

  // ---- Playing ----
  bool Play(bool argument) override;
  bool IsPlaying() override { return playback != nullptr; }
  void Stop() override;
  // Takes over the playback of another player, whose link opened this page: the frame it left pending,
  // its jump history and its requests.
  bool ContinueFrom(SmartRef<CPlayer> other);
  // Back along the jump history; false when stopped or when there is nowhere to go back to.
  bool GoBack();
  CChorePlay* GetPlaybackChore() const { return ~playback; }
  CChoreCache* GetCacheChore() const { return ~thinker; }
  // Prepares every frame of the page, under a progress range; false when memory ran out first.
  bool Accelerate(int argument = 0);

  // ---- Clicks ----
  void MouseDown(std::int32_t x, std::int32_t y);
  // Whether the point is over a sprite that carries a sound or a link (a video too, when activating), or
  // the frame waits for a click; with the flag the top-most such sprite, or the frame's link, acts.
  bool ClickAt(std::int32_t x, std::int32_t y, bool activate);
  // n > 0: the n-th active sprite acts; otherwise the frame's link.
  void ActivateItem(std::int16_t n);
  // The n-th sprite, bottom first, visible at the current frame with a sound or a link there.
  CSprite* GetActiveSprite(std::int16_t n) const;
  bool ActivateSprite(CSprite* sprite);
  bool ActivateFrameLink(bool fire);

  // ---- Requests and listeners ----
  void QueueOpenFile(const FileReference& file);
  // Nothing for a null or empty text; kinds of 0 or less queue as kTextRequest.
  void QueueText(std::int32_t kind, const String* text);
  // Removes the first request, giving its object to the caller; 0 when there is none.
  std::int32_t TakeRequest(SmartRef<Smart>* object);
  std::int32_t NumRequests() const { return static_cast<std::int32_t>(requests.size()); }
  // The kinds waiting, first first.
  std::vector<std::int32_t> PeekRequestKinds() const;
  void PreloadFile(FileReference* file);
  void ToggleListener(PlayerListener* listener) { listeners.Toggle(listener); }
  // Tells the listeners what the playback drew, when the player reports areas.
  void ReportDrawn(Smart* object);

  // ---- Chores and channel ----
  void ChoreFired(Chore* chore) override;
  void SubtractCovered(DisplayDevice* device, Area& area) override;
  void Draw(DisplayPort& port, const Area& area) override;
  // The page's bounds.
  void GetBounds(Rect* bounds) const override;
  void SubtractOwnArea(Area& area) override;
  // The current frame of the page, drawn whole.
  void DrawContent(DisplayPort& port, const Area& area) override;
  void GetChildren(List* children) const override;

 private:
  struct Request {
    std::int32_t kind;
    SmartRef<Smart> object;
  };
  // A new playback chore, continuing from the previous one when there is one, with this player as its
  // client.
  SmartRef<CChorePlay> MakePlayback(SmartRef<CChorePlay> previous);
  void DropPlayback();

  SmartRef<CShow> show;
  bool clickStops;
  std::int16_t currentFrame = 0;
  SmartRef<CChorePlay> playback;
  SmartRef<CChoreCache> thinker;
  std::deque<Request> requests;
  bool reportAreas = false;
  PointerArray<PlayerListener> listeners;
};

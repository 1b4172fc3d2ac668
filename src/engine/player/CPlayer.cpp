#include "engine/player/CPlayer.h"

#include "core/Exception.h"
#include "core/String.h"
#include "engine/links/CLink.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/player/CChoreCache.h"
#include "engine/player/CChorePlay.h"
#include "graphics/Area.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"

SMART_DEFINE_ABSTRACT(CPlayer, "CPlayer", ImageChannel, Track, SmartImplementation)

namespace {

SmartRef<CShow> EmptyPage() {
  const SmartRef<CMovieGroup> group = new CMovieGroup(defaultMovieBounds);
  if (group->ToggleFlag8(false)) group->ToggleFlag8(true);
  return group->MakeShow();
}

}  // namespace

CPlayer::CPlayer(SmartRef<CShow> page, const ImageChannel& channel, bool clickStops)
    : ImageChannelNode(channel), show(page ? std::move(page) : EmptyPage()), clickStops(clickStops) {
  thinker = new CChoreCache(*this);
  thinker->ToggleClient(this);
}

CPlayer::~CPlayer() {
  DropPlayback();
  if (thinker) {
    thinker->Stop();
    thinker->ToggleClient(this);
    thinker = nullptr;
  }
}

void CPlayer::DropPlayback() {
  if (!playback) return;
  // The chore may be in its own step: whoever runs it keeps it alive until the step returns.
  const SmartRef<CChorePlay> chore = std::move(playback);
  chore->Halt();
  chore->ToggleClient(this);
}

// ---- Frame and page ----

void CPlayer::ShowFrame(std::int16_t frame) {
  if (frame < 0 || frame == currentFrame) return;
  listeners.NotifyAll([](PlayerListener* l) { l->FrameShown(); });
  currentFrame = frame;
  CMovie* group = show->GetMovieGroup();
  if (const std::int16_t n = group->GetFrameCount(); frame >= n)
    group->InsertFrames(n, static_cast<std::int16_t>(frame - n + 1), false, true);
  listeners.NotifyAll([](PlayerListener* l) { l->FrameShown(); });
  QueueText(kLabelRequest, group->GetFrameIndex()->GetLabelAtFrame(frame));
}

CLink* CPlayer::GetFrameLink(bool create) {
  CMovie* group = show->GetMovieGroup();
  CLink* link = group->GetLink(currentFrame);
  if (link == nullptr && create) {
    const SmartRef<CLink> made = new CLink();
    group->SetLink(currentFrame, 1, ~made);
    link = group->GetLink(currentFrame);
  }
  return link;
}

std::int32_t CPlayer::GetFrameLinkMode() { return GetFrameLink(true)->GetMode(); }

bool CPlayer::GetPageFile(FileReference& file) const {
  FileReference* own = show->GetFileReference();
  if (own == nullptr) return false;
  file = *own;
  return true;
}

DisplayDevice* CPlayer::GetView() const { return CHECK_NOT_NULL(GetDevice()); }

void CPlayer::SetView(DisplayDevice* device, bool report) {
  SetDevice(device);
  reportAreas = report;
}

// ---- Playing ----

SmartRef<CChorePlay> CPlayer::MakePlayback(SmartRef<CChorePlay> previous) {
  SmartRef<CChorePlay> chore =
      previous ? new CChorePlay(*this, thinker, std::move(previous)) : new CChorePlay(*this, thinker);
  chore->ToggleClient(this);
  return chore;
}

bool CPlayer::Play(bool) {
  if (playback) {
    playback->SetWaiting(false);
    return true;
  }
  const SmartRef<CChorePlay> chore = MakePlayback(nullptr);
  const Rect bounds = show->GetMovieGroup()->GetBounds();
  {
    DisplayPort port(GetView(), bounds);
    show->PlayFrame(port, currentFrame, bounds, true);
  }
  if (reportAreas) {
    const SmartRef<Area> drawn = new Area(bounds);
    ReportDrawn(~drawn);
  }
  chore->StartFrameTracks(*this);
  playback = chore;
  listeners.NotifyAll([](PlayerListener* l) { l->PlayStateChanged(); });
  listeners.NotifyAll([](PlayerListener* l) { l->FrameShown(); });
  return true;
}

void CPlayer::Stop() {
  if (!playback) return;
  DropPlayback();
  listeners.NotifyAll([](PlayerListener* l) { l->PlayStateChanged(); });
}

bool CPlayer::ContinueFrom(SmartRef<CPlayer> other) {
  if (~other == this) return true;
  DropPlayback();
  playback = MakePlayback(other ? other->playback : nullptr);
  if (other) {
    requests.insert(requests.end(), other->requests.begin(), other->requests.end());
    other->requests.clear();
  }
  return true;
}

bool CPlayer::GoBack() {
  if (!playback) return false;
  const SmartRef<CChorePlay> chore = playback;
  return chore->GoBack(*this);
}

// ---- Requests and listeners ----

void CPlayer::QueueOpenFile(const FileReference& file) {
  requests.push_back({kOpenFileRequest, SmartRef<Smart>(new FileReference(file))});
}

void CPlayer::QueueText(std::int32_t kind, const String* text) {
  if (text == nullptr || text->Length() == 0) return;
  requests.push_back({kind > 0 ? kind : kTextRequest, SmartRef<Smart>(new String(*text))});
}

std::int32_t CPlayer::TakeRequest(SmartRef<Smart>* object) {
  if (requests.empty()) return 0;
  Request first = std::move(requests.front());
  requests.pop_front();
  *object = std::move(first.object);
  return first.kind;
}

std::vector<std::int32_t> CPlayer::PeekRequestKinds() const {
  std::vector<std::int32_t> kinds;
  for (const Request& request : requests) kinds.push_back(request.kind);
  return kinds;
}

void CPlayer::PreloadFile(FileReference*) { NOT_IMPLEMENTED(); }

void CPlayer::ReportDrawn(Smart* object) {
  if (!reportAreas) return;
  listeners.NotifyAll([object](PlayerListener* l) { l->SendViewCommand(object); });
}

// ---- Chores and channel ----

void CPlayer::ChoreFired(Chore* chore) {
  if (chore == ~thinker) {
    thinker->Step(*this);
    return;
  }
  if (chore != ~playback) AssertFailed("(~chore == ~thinker) || (~chore == ~playback)", __FILE__, __LINE__);
  // The step may stop the player, which lets go of the chore.
  const SmartRef<CChorePlay> running = playback;
  running->Step(*this);
}

void CPlayer::SubtractCovered(DisplayDevice*, Area&) { NOT_IMPLEMENTED(); }

void CPlayer::Draw(DisplayPort& port, const Area& area) { DrawContent(port, area); }

void CPlayer::GetBounds(Rect* bounds) const { *bounds = show->GetMovieGroup()->GetBounds(); }

void CPlayer::SubtractOwnArea(Area&) { NOT_IMPLEMENTED(); }

void CPlayer::DrawContent(DisplayPort& port, const Area&) {
  Rect bounds;
  GetBounds(&bounds);
  const List noneLeftOut(&CSprite::classInfo);
  show->DrawFrame(port, currentFrame, bounds, 0, &noneLeftOut, Rect());
}

void CPlayer::GetChildren(List* children) const {
  NOT_IMPLEMENTED();
  *children = List(&ImageChannel::classInfo);
}

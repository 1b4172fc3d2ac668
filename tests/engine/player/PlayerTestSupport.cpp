#include "engine/player/PlayerTestSupport.h"

#include <memory>

#include "engine/links/CLink.h"
#include "engine/player/CChorePlay.h"
#include "graphics/Area.h"
#include "platform/kernel/System.h"
#include "platform/user/Message.h"

using engine_test::FakeTrack;
SMART_DEFINE_ABSTRACT(FakeTrack, "FakeTrack", Track, SmartImplementation)

namespace engine_test {

void RecordingListener::FrameShown() { events.push_back("shown " + std::to_string(player.GetCurrentFrame())); }

void RecordingListener::PlayStateChanged() {
  events.push_back(player.IsPlaying() ? "state playing" : "state stopped");
}

void RecordingListener::SendViewCommand(Smart* object) {
  if (object == nullptr)
    events.push_back("drawn null");
  else if (IsMember<CDelta>(object))
    events.push_back("drawn delta");
  else if (IsMember<Area>(object))
    events.push_back("drawn area");
  else
    events.push_back("drawn other");
}

void PlayerTest::SetUp() {
  PageTest::SetUp();
  platform::SetClockForTesting([this] { return now; });
  window.MakeFront();
}

void PlayerTest::TearDown() {
  if (player) {
    if (listener) player->ToggleListener(listener);
    player = nullptr;
  }
  page = nullptr;
  platform::SetClockForTesting({});
  PageTest::TearDown();
}

void PlayerTest::Open(SmartRef<CShow> shown, bool clickStops) {
  page = std::move(shown);
  player = new CPlayer(page, *window.root, clickStops);
  listeners.push_back(std::make_unique<RecordingListener>(*player));
  listener = listeners.back().get();
  player->ToggleListener(listener);
  start = now;
  frames.clear();
}

void PlayerTest::RunFor(DWORD ms) {
  for (DWORD i = 0; i < ms; ++i) {
    ++now;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    if (player && (frames.empty() || frames.back().second != player->GetCurrentFrame()))
      frames.emplace_back(Elapsed(), player->GetCurrentFrame());
  }
}

DWORD PlayerTest::RunUntilChange(DWORD limit) {
  const DWORD from = now;
  const std::int16_t frame = player->GetCurrentFrame();
  const bool playing = player->IsPlaying();
  while (now - from < limit) {
    RunFor(1);
    if (player->GetCurrentFrame() != frame || player->IsPlaying() != playing) break;
  }
  return now - from;
}

SmartRef<CLink> MakeLink(std::int32_t kind, std::int16_t value, SmartRef<CJump> jump) {
  SmartRef<CLink> link = new CLink();
  link->SetJump(std::move(jump));
  link->SetKind(kind);
  link->SetValue(value);
  return link;
}

}  // namespace engine_test

#include "engine/player/PlayerTestSupport.h"

#include <memory>

#include "core/File.h"
#include "core/Format.h"
#include "core/ObjectFile.h"
#include "engine/links/CLink.h"
#include "engine/player/CChorePlay.h"
#include "graphics/Area.h"
#include "graphics/DisplayPort.h"
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

SmartRef<FileReference> PlayerTest::SavePage(CShow& shown, const char* name) {
  folder.Write(name);
  SmartRef<FileReference> reference = new FileReference(folder.WinPath(name).c_str());
  const SmartRef<File> file = new File(~reference, kFileModeWrite);
  const SmartRef<ObjectFile> objects = new ObjectFile(GetGenericTypeIndex(), SmartRef<Stream>(~file));
  objects->Write(SmartRef<Smart>(&shown));
  return reference;
}

std::string PlayerTest::State() const {
  std::string line = "frame " + std::to_string(player->GetCurrentFrame());
  CChorePlay* chore = player->GetPlaybackChore();
  line += chore == nullptr ? " stopped" : chore->IsWaiting() ? " waiting" : " playing";
  line += " requests [";
  for (std::size_t i = 0; i < player->PeekRequestKinds().size(); ++i)
    line += (i ? " " : "") + std::to_string(player->PeekRequestKinds()[i]);
  line += "]";
  if (chore != nullptr) {
    line += " history [";
    const List& history = chore->GetHistory();
    for (std::int32_t i = 1; i <= history.NumItems(); ++i) {
      if (i > 1) line += " ";
      if (auto* frame = CastSmart<CJumpFrame>(history.At(i)))
        line += "F" + std::to_string(frame->GetFrame());
      else
        line += "M";
    }
    line += "]";
  }
  return line;
}

ColourPicture FullDraw(CShow& page, std::int16_t frame) {
  const Rect bounds = page.GetMovieGroup()->GetBounds();
  SurfaceDevice surface(bounds.right, bounds.bottom);
  {
    DisplayPort port(&surface, bounds);
    page.DrawFrame(port, frame, bounds, 0, nullptr, Rect());
  }
  return PictureOf(surface, bounds);
}

ColourPicture PictureOf(const SurfaceDevice& surface, const Rect& rect) {
  ColourPicture picture{rect.right - rect.left, rect.bottom - rect.top, {}};
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x) picture.pixels.push_back(surface.Pixel(x, y));
  return picture;
}

std::string TextIn(Smart* object) {
  auto* text = CastSmart<String>(object);
  if (text == nullptr) return "(no text)";
  char buffer[256];
  text->CopyTo(buffer, sizeof buffer);
  return buffer;
}

SmartRef<CLink> MakeLink(std::int32_t kind, std::int16_t value, SmartRef<CJump> jump) {
  SmartRef<CLink> link = new CLink();
  link->SetJump(std::move(jump));
  link->SetKind(kind);
  link->SetValue(value);
  return link;
}

}  // namespace engine_test

// What the player suites share: a page on a window's root view, the layer's clock in the test's hands,
// and a listener that records what the player tells it, with the time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/page/PageTestSupport.h"
#include "core/FileReference.h"
#include "engine/player/CPlayer.h"
#include "platform/kernel/WinTypes.h"
#include "support/Netpbm.h"
#include "support/graphics/SurfaceDevice.h"
#include "ui/ViewTestSupport.h"

namespace engine_test {

// Records "shown <frame>", "state <playing|stopped>" and "drawn <delta|area|null>" in order, and the
// times at which the frame shown changed.
class RecordingListener : public PlayerListener {
 public:
  explicit RecordingListener(CPlayer& player) : player(player) {}
  void FrameShown() override;
  void PlayStateChanged() override;
  void SendViewCommand(Smart* object) override;

  CPlayer& player;
  std::vector<std::string> events;
};

class PlayerTest : public PageTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A player over the page on the window, its listener recording.
  void Open(SmartRef<CShow> page, bool clickStops = false);
  // Moves the clock on one millisecond at a time, running every timer that falls due.
  void RunFor(DWORD ms);
  // Writes the page to a page file of the folder, which becomes its file; answers the file.
  SmartRef<FileReference> SavePage(CShow& shown, const char* name);
  // The player's state in a line: "frame 3 playing|waiting|stopped requests [3 4] history [F2 M]".
  std::string State() const;
  // Runs until the player shows another frame or stops, at most the time given; answers the time taken.
  DWORD RunUntilChange(DWORD limit);
  DWORD Elapsed() const { return now - start; }

  DWORD now = 100000;
  DWORD start = 100000;
  TestWindow window{400, 400};
  SmartRef<CShow> page;
  SmartRef<CPlayer> player;
  RecordingListener* listener = nullptr;
  // The frames shown by the playback (the first shown, then each new one) at their times since Open.
  std::vector<std::pair<DWORD, std::int16_t>> frames;

 private:
  std::vector<std::unique_ptr<RecordingListener>> listeners;
};

// A track that plays until told otherwise.
class FakeTrack : public Track, public SmartImplementation {
  SMART_ABSTRACT(FakeTrack)
 public:
  SMART_NOT_COPYABLE
  bool Play(bool) override { return true; }
  bool IsPlaying() override { return playing; }
  void Stop() override { playing = false; }
  bool playing = true;
};

// The frame drawn whole on a surface of the page's size.
ColourPicture FullDraw(CShow& page, std::int16_t frame);
// The pixels of the rectangle of a surface.
ColourPicture PictureOf(const SurfaceDevice& surface, const Rect& rect);

// The text of a String; "(no text)" for anything else.
std::string TextIn(Smart* object);

// A link of the kind and hold value, over the jump (taken first, so that the kind may need it).
SmartRef<CLink> MakeLink(std::int32_t kind, std::int16_t value, SmartRef<CJump> jump = nullptr);

}  // namespace engine_test

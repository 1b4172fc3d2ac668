// A stand-in for the stage pane: a view that plays or not, with links at given rectangles, and that
// answers the tools window as a stage pane does, recording what it is asked.
#pragma once

#include <string>
#include <vector>

#include "editor/ToolsPane.h"
#include "engine/PlayingPane.h"
#include "ui/views/View.h"

namespace editor_test {

class FakeStagePane : public View, public PlayingPane, public ToolsPane {
 public:
  FakeStagePane(View* parent, const Rect& frame) : View(parent, frame, kAnchorTopLeft, true, false) {}

  // The stage.
  Rect GetPaneBounds() const override { return GetBounds(); }
  bool IsPlaying() const override { return playing; }
  bool FindsLinkAt(std::int32_t x, std::int32_t y) override {
    for (const Rect& r : links)
      if (r.Contains(x, y)) return true;
    return false;
  }

  // The tools window's side.
  int GetEditKind() const override { return editKind; }
  bool IsPaneActive() const override { return active; }
  bool HasPlaybackChore() const override { return playing; }
  void StopPlayback() override {
    calls.push_back("stop command");
    playing = false;
  }
  void StopPlayer() override { calls.push_back("stop player"); }
  void SetEditMode(int mode, bool flag) override {
    calls.push_back("edit mode " + std::to_string(mode) + (flag ? " on" : " off"));
  }
  SmartRef<View> GetEditPane() const override { return editPane; }
  void TogglePaneListener(PaneStateListener* listener) override {
    calls.push_back(listener == this->listener ? "listener off" : "listener on");
    this->listener = listener == this->listener ? nullptr : listener;
  }
  // The pane's edit state changed: it tells its listener.
  void Changed(int kind, bool play) {
    editKind = kind;
    playing = play;
    if (listener) listener->PaneStateChanged();
  }

  bool playing = false;
  SmartRef<View> editPane;
  int editKind = 0;
  bool active = true;
  int activated = 0;
  std::vector<Rect> links;
  std::vector<std::string> calls;
  PaneStateListener* listener = nullptr;
};

}  // namespace editor_test

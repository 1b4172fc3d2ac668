// The view a page plays in: it holds the page's player, hands it the clicks made while the page plays,
// and repaints itself when the frame it shows changes. The editor's stage pane is built on it.
#pragma once

#include <cstdint>

#include "engine/PlayingPane.h"
#include "engine/movie/CMovie.h"
#include "ui/shell/Signal.h"
#include "ui/views/View.h"

class CPlayer;
class CShow;

class CPanePlay : public View, public NumberCommandHandler, public MovieDependant, public PlayingPane {
  SMART_ABSTRACT(CPanePlay)
 public:
  // Over the whole of the parent, following its four edges.
  CPanePlay(View* parent, SmartRef<CPlayer> player);
  ~CPanePlay() override;
  SMART_NOT_COPYABLE

  bool IsPlaying() const override;
  CShow* GetShow() const;
  CPlayer* GetPlayer() const { return ~player; }

  // The player's frame.
  void DrawContent(DisplayPort& port, const Area& area) override;
  // A subview takes the click first; otherwise a playing page does.
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override;
  bool MouseMoved(std::int32_t, std::int32_t, std::int32_t) override { return true; }
  // No larger than the page's stage, so that a window fitted to its views shows the whole page.
  void GetSizeRange(Rect* range) override;

  // A plain play pane carries out no numbered command.
  void HandleNumberCommand(std::int32_t number, void* argument) override;
  int GetNumberCommandStatus(std::int32_t number) override;

  // A change of the frame shown (or of every frame) repaints what changed.
  void FrameChanged(CMovie* movie, const Rect& rect, std::int16_t frame) override;
  void BoundsChanged(CMovie*, const Rect&) override {}

  Rect GetPaneBounds() const override { return GetBounds(); }
  bool FindsLinkAt(std::int32_t x, std::int32_t y) override;

 private:
  SmartRef<CPlayer> player;
  // The movie registered with, so that the registration ends where it began.
  SmartRef<CMovie> group;
};

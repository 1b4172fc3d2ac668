// The base of every editor tool: a numeric id by which panes, palettes and windows decide what a click
// means, a use sound and a hint sound, a cursor chosen by id (and link cursors over a playing stage), and
// numbered options of a kind that the option palettes draw and choose through the tool.
#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "ui/shell/Tool.h"

class Cursor;
class DisplayPort;
class SoundResource;

// Shared by every tool, loaded by the first one made (once per run) and kept to the end.
extern SmartRef<Cursor> gArrowCursor;
extern SmartRef<Cursor> gLinkCursor;
extern SmartRef<Cursor> gLinkHotCursor;
void LoadSharedToolCursors();

class CTool : public Tool {
  SMART_ABSTRACT(CTool)
 public:
  // With loop set, the use sound keeps playing until another sound replaces it. The hint sound is kept
  // only while hints are on (bit 7 of the engine's options clear).
  CTool(std::int32_t id, SoundResource* sound, bool loop, SoundResource* hintSound);
  ~CTool() override;

  void ApplyCursor(View* window, std::int32_t x, std::int32_t y, std::int32_t modifiers) override;

  virtual void SetChoice(std::int16_t kind, std::int16_t value);
  virtual std::int16_t GetChoice(std::int16_t kind);
  virtual std::int16_t CountChoices(std::int16_t kind);
  // The sample of option `index` of the kind, drawn with that option set for the moment.
  virtual void DrawChoice(DisplayPort& port, const Rect& rect, std::int16_t kind, std::int16_t index);
  virtual void DrawSample(DisplayPort& port, const Rect& rect);
  // The cursor of the tool's id becomes its cursor.
  virtual void ChooseCursor();

  std::int32_t GetId() const { return id; }
  bool IsPaintTool() const { return id >= 100 && id <= 114; }
  bool IsToggleTool() const { return id == 3 || id == 5 || id == 7 || id == 15 || id == 18; }
  bool IsToggled() const { return flags & kToggled; }
  // Only toggle tools take it.
  void SetToggled(bool toggled);
  bool IsActive() const { return flags & kActive; }
  // Picked and not used yet: the hint is due.
  void SetActive(bool active);
  // A click with the tool took effect: its use sound, unless toggled; no hint any more.
  void Deactivate(bool flag);
  // The hint is due now: it plays once, if the tool is still unused.
  void ClearActive();
  SoundResource* GetSound() const { return ~sound; }
  SoundResource* GetHintSound() const { return ~hintSound; }

 protected:
  // What a copy of a tool takes over: the id, both sounds, the flags and the cursor (a brush stamps its
  // cursor's shape); never a gesture under way.
  void CopyToolFields(const CTool& source);

 private:
  enum : std::uint8_t { kToggled = 1, kActive = 2 };
  void SetFlag(std::uint8_t flag, bool on) {
    flags = static_cast<std::uint8_t>(on ? flags | flag : flags & ~flag);
  }

  std::int32_t id;
  SmartRef<SoundResource> sound;
  SmartRef<SoundResource> hintSound;
  std::uint8_t flags = 0;
};

// The cursor index (resource 200 + index) of a tool id; -1 when the id has none.
int CursorIndexOfTool(std::int32_t id);

// The base of the panes that edit one frame of a movie in place on the stage (the pixel editor, the text
// pane): the changed, option and locked bits, the revert command, and no result of its own.
#pragma once

#include <cstdint>

#include "engine/kinds/FrameEditing.h"
#include "graphics/Color.h"
#include "ui/shell/Signal.h"
#include "ui/views/View.h"

class CEditPane : public View, public NumberCommandHandler, public FrameEditor {
  SMART_ABSTRACT(CEditPane)
 public:
  CEditPane(View* parent, const Rect& frame);
  ~CEditPane() override;

  bool KeyDown(std::int32_t key, std::int32_t modifiers) override;
  // Resizing the pane the child works in changes what it gives back.
  void ResizeBy(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom) override;

  // With set, the content now differs from what the pane was opened with; answers whether it does.
  bool MarkChanged(bool set);
  // With flip, the option bit flips; answers it.
  bool ToggleOption(bool flip);
  bool Toggle(bool flip) { return ToggleOption(flip); }
  void Lock() override;
  bool IsLocked() const { return flags & kLocked; }
  // No result here: the frame edit stores nothing.
  bool GetEditResult(Rect* bounds, SmartRef<Smart>* edited, bool store) override;

  void HandleNumberCommand(std::int32_t number, void* argument) override;
  int GetNumberCommandStatus(std::int32_t number) override;

 protected:
  Color color;
  Pattern pattern;

 private:
  enum : std::uint8_t { kChanged = 1, kOption = 2, kLocked = 4 };
  void SetFlag(std::uint8_t flag, bool on) {
    flags = static_cast<std::uint8_t>(on ? flags | flag : flags & ~flag);
  }
  std::uint8_t flags = 0;
};

// The revert command.
inline constexpr std::int32_t kRevertCommand = 7;

// Cut, copy, paste, paste-replace and clear as undoable tasks on a view's selection. Each task keeps a
// clipboard of its own: undoing swaps it with the application's clipboard, or pastes it back.
#pragma once

#include <cstdint>

#include "ui/shell/Clipboard.h"
#include "ui/shell/Task.h"

class View;

class ClipTask : public Task, public SmartImplementation {
  SMART_CLASS(ClipTask)
 public:
  enum : std::uint8_t { kCopy = 1, kDelete = 2, kPaste = 4 };

  // The operation is one of kClipCut ... kClipClear; the three arguments go to the target's Paste.
  ClipTask(Clipboard* appClipboard, View* target, int operation, std::int32_t pasteArg1 = 0,
           std::int32_t pasteArg2 = 0, std::int32_t pasteArg3 = 0);
  ClipTask(const ClipTask& other) = default;
  ClipTask& operator=(const ClipTask& other) = default;
  ~ClipTask() override;

  void Do() override;
  void Undo() override;
  void Redo() override;

  std::uint8_t GetFlags() const { return flags; }
  const Clipboard& GetSaved() const { return saved; }

 private:
  void SwapClipboards();

  SmartRef<Clipboard> appClipboard;
  Clipboard saved;
  SmartRef<View> target;
  std::int32_t pasteArg1;
  std::int32_t pasteArg2;
  std::int32_t pasteArg3;
  std::uint8_t flags = 0;
  std::int32_t operation;
};

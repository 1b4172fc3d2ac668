#include "ui/shell/ClipTask.h"

#include "ui/shell/App.h"
#include "ui/views/View.h"

namespace {
constexpr SourceName kSource("CLIPTASK");
}  // namespace

SMART_COPY_CHECK_AT(ClipTask, kSource.Line(25));
SMART_DEFINE(ClipTask, "ClipTask", nullptr, nullptr, Task, SmartImplementation)

namespace {
std::uint8_t FlagsOf(int operation) {
  switch (operation) {
    case kClipCut: return ClipTask::kCopy | ClipTask::kDelete;
    case kClipCopy: return ClipTask::kCopy;
    case kClipPaste: return ClipTask::kPaste;
    case kClipPasteReplace: return ClipTask::kDelete | ClipTask::kPaste;
    case kClipClear: return ClipTask::kDelete;
    default: return 0;
  }
}
}  // namespace

ClipTask::ClipTask(Clipboard* appClipboard, View* target, int operation, std::int32_t pasteArg1,
                   std::int32_t pasteArg2, std::int32_t pasteArg3)
    : appClipboard(appClipboard), target(target), pasteArg1(pasteArg1), pasteArg2(pasteArg2),
      pasteArg3(pasteArg3), flags(FlagsOf(operation)), operation(operation) {}

ClipTask::~ClipTask() = default;

void ClipTask::SwapClipboards() { appClipboard->Swap(saved); }

void ClipTask::Do() {
  if (flags & (kCopy | kDelete)) target->Copy(&saved);
  Redo();
}

void ClipTask::Redo() {
  if (flags & kDelete) target->Clear();
  if (flags & kPaste) target->Paste(~appClipboard, pasteArg1, pasteArg2, pasteArg3);
  if (flags & kCopy) SwapClipboards();
}

void ClipTask::Undo() {
  if (flags & kCopy) SwapClipboards();
  if (flags & kPaste) target->Clear();
  if (flags & kDelete) target->Paste(&saved, 1, pasteArg2, pasteArg3);
}

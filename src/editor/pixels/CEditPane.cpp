#include "editor/pixels/CEditPane.h"

#include "core/Exception.h"

SMART_DEFINE_ABSTRACT(CEditPane, "CEditPane", View, NumberCommandHandler)

CEditPane::CEditPane(View* parent, const Rect& frame)
    : View(parent, frame, parent ? kAnchorAll : kAnchorTopLeft, true, true),
      color(standardColors[0]),
      pattern(standardPatterns[1]) {}

CEditPane::~CEditPane() = default;

bool CEditPane::KeyDown(std::int32_t key, std::int32_t modifiers) { return View::KeyDown(key, modifiers); }

void CEditPane::ResizeBy(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom) {
  if (IsActive()) SetFlag(kChanged, true);
  View::ResizeBy(dLeft, dTop, dRight, dBottom);
}

bool CEditPane::MarkChanged(bool set) {
  if (set) SetFlag(kChanged, true);
  return flags & kChanged;
}

bool CEditPane::ToggleOption(bool flip) {
  if (flip) flags ^= kOption;
  return flags & kOption;
}

void CEditPane::Lock() { SetFlag(kLocked, true); }

bool CEditPane::GetEditResult(Rect*, SmartRef<Smart>*, bool) { return false; }

void CEditPane::HandleNumberCommand(std::int32_t number, void*) {
  if (number == kRevertCommand) SetFlag(kChanged, false);
  NOT_IMPLEMENTED();
}

int CEditPane::GetNumberCommandStatus(std::int32_t number) {
  if (number == kRevertCommand && (flags & (kChanged | kLocked)) == kChanged) return 0;
  return 3;
}

#include "editor/CTool.h"

#include "core/Exception.h"
#include "core/Resources.h"
#include "core/Sound.h"
#include "engine/EngineOptions.h"
#include "engine/EngineResources.h"
#include "engine/PlayingPane.h"
#include "ui/shell/Cursor.h"
#include "ui/views/Window.h"

SMART_DEFINE_ABSTRACT(CTool, "CTool", Tool)

SmartRef<Cursor> gArrowCursor;
SmartRef<Cursor> gLinkCursor;
SmartRef<Cursor> gLinkHotCursor;

namespace {

constexpr int kToggledCursor = 2;

void Play(SoundResource* resource) {
  if (resource == nullptr) return;
  if (Sound* sound = resource->Get()) sound->Play(0);
}

// The last view of the window's target chain that is a stage pane.
PlayingPane* StageUnder(View* window) {
  PlayingPane* found = nullptr;
  for (SmartRef<View> view(window); view; view = view->GetTarget()) {
    if (auto* pane = dynamic_cast<PlayingPane*>(~view)) found = pane;
  }
  return found;
}

}  // namespace

void LoadSharedToolCursors() {
  static bool loaded = false;
  if (loaded) return;
  gArrowCursor = gSystemCursors.GetCursor(StandardCursorIndex(0));
  gLinkCursor = gEngineResources.GetCursor(kLinkCursor);
  gLinkHotCursor = gEngineResources.GetCursor(kLinkHotCursor);
  loaded = true;
}

int CursorIndexOfTool(std::int32_t id) {
  switch (id) {
    case 2: case 101: return 11;
    case 5: case 15: return 23;
    case 6: return 17;
    case 7: case 18: return 22;
    case 8: return 1;
    case 9: return 14;
    case 10: case 14: case 19: case 22: return 30;
    case 11: return 16;
    case 103: return 10;
    case 104: return 18;
    case 105: case 106: case 107: case 108: case 113: return 8;
    case 109: return 19;
    case 110: return 7;
    default: return -1;
  }
}

CTool::CTool(std::int32_t id, SoundResource* sound, bool loop, SoundResource* hintSound) : id(id), sound(sound) {
  LoadSharedToolCursors();
  if (sound && loop) {
    if (Sound* played = sound->Get()) played->ToggleLoop(true);
  }
  if (!(gEngineOptions & kOptionNoHintSounds)) this->hintSound = hintSound;
}

CTool::~CTool() = default;

void CTool::CopyToolFields(const CTool& source) {
  id = source.id;
  sound = source.sound;
  hintSound = source.hintSound;
  flags = source.flags;
  SetCursor(source.GetCursor());
}

void CTool::SetChoice(std::int16_t, std::int16_t) {}

std::int16_t CTool::GetChoice(std::int16_t) { return 0; }

std::int16_t CTool::CountChoices(std::int16_t) {
  NOT_IMPLEMENTED();
  return 0;
}

void CTool::DrawChoice(DisplayPort& port, const Rect& rect, std::int16_t kind, std::int16_t index) {
  if (index < 1 || index > CountChoices(kind)) return;
  const std::int16_t kept = GetChoice(kind);
  SetChoice(kind, index);
  DrawSample(port, rect);
  SetChoice(kind, kept);
}

void CTool::DrawSample(DisplayPort&, const Rect&) {}

void CTool::ChooseCursor() {
  const int index = IsToggled() ? kToggledCursor : CursorIndexOfTool(id);
  if (index < 0) return;
  SmartRef<Cursor> cursor(stockResources.GetCursor(index));
  SetCursor(~cursor);
}

void CTool::ApplyCursor(View* window, std::int32_t x, std::int32_t y, std::int32_t modifiers) {
  auto* frame = dynamic_cast<Window*>(window);
  const bool floating = frame != nullptr && frame->GetFrameKind() >= kFrameFloating;
  PlayingPane* stage = StageUnder(window);
  if (stage != nullptr) {
    const Rect bounds = stage->GetPaneBounds();
    const bool inside = bounds.left <= x && x <= bounds.right && bounds.top <= y && y <= bounds.bottom;
    if (floating || !inside) {
      gArrowCursor->Set();
      return;
    }
    if (stage->IsPlaying()) {
      (stage->FindsLinkAt(x, y) ? gLinkHotCursor : gLinkCursor)->Set();
      return;
    }
  }
  if (floating) {
    gArrowCursor->Set();
    return;
  }
  ChooseCursor();
  Tool::ApplyCursor(window, x, y, modifiers);
}

void CTool::SetToggled(bool toggled) {
  if (IsToggleTool()) SetFlag(kToggled, toggled);
}

void CTool::SetActive(bool active) { SetFlag(kActive, active); }

void CTool::Deactivate(bool) {
  if (!IsToggled()) Play(~sound);
  SetFlag(kActive, false);
}

void CTool::ClearActive() {
  if (IsActive() && hintSound && !(gEngineOptions & kOptionNoHintSounds)) Play(~hintSound);
  SetFlag(kActive, false);
}

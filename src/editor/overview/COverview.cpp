#include "editor/overview/COverview.h"

#include <algorithm>
#include <string>

#include "core/Exception.h"
#include "core/SourcePlace.h"
#include "editor/CTool.h"
#include "editor/CToolsDir.h"
#include "editor/browser/CChoreStrips.h"
#include "engine/EngineOptions.h"
#include "engine/app/CHAApp.h"
#include "engine/media/CStamp.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/player/CPlayer.h"
#include "graphics/Area.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "ui/shell/App.h"

SMART_DEFINE_ABSTRACT(COverview, "COverview", View, Controllable, NumberCommandHandler)

std::int16_t gOverviewScale = 8;

namespace {

constexpr SourceName kSource("ORVANEL/AUTHOR/COverview");
constexpr std::int32_t kGap = 6;
constexpr std::int32_t kNumberMinimumWidth = 32;

bool Compact() { return (gEngineOptions & kOptionCompactOverview) != 0; }
bool Outlines() { return (gEngineOptions & kOptionOutlineThumbnails) != 0; }

// Commands the overview passes on go to the application when there is no pane.
NumberCommandHandler* EditorApp() { return ~gCHAApp; }

}  // namespace

COverview::COverview(View* parent, bool followsActivePane)
    : View(parent, parent->GetBounds(), kAnchorAll, true, false) {
  SetFlag(kFollowsActivePane, followsActivePane);
  strips = new CChoreStrips(this, &COverview::ThumbnailJob);
  if (followsActivePane && GetNotifier()) GetNotifier()->AddAppListener(this);
}

COverview::~COverview() {
  try {
    strips->Stop();
  } catch (Exception* exception) {
    SmartRef<Exception> ignored(exception);
  }
  strips = nullptr;
  if (!(flags & kFollowsActivePane)) {
    if (gCHAApp) gCHAApp->ClearActivePane(~pane);
  } else if (GetNotifier()) {
    try {
      GetNotifier()->RemoveAppListener(this);
    } catch (Exception* exception) {
      SmartRef<Exception> ignored(exception);
    }
  }
  Register(false);
  pane = nullptr;
  selectedSprites->RemoveAll();
}

CMovieGroup* COverview::Group() const { return pane ? pane->GetGroup() : nullptr; }

void COverview::Register(bool on) {
  if (!pane) return;
  if (on) {
    watchedGroup = Group();
    if (watchedGroup) watchedGroup->ToggleDependant(this);
  } else if (watchedGroup) {
    if (watchedGroup->HasDependant(this)) watchedGroup->ToggleDependant(this);
    watchedGroup = nullptr;
  }
  pane->ToggleRangeListener(this);
}

void COverview::SetPane(CHAPane* newPane) {
  SetFlag(kDirty, true);
  Invalidate(false);
  if (newPane == ~pane) return;
  Register(false);
  pane = newPane;
  if (pane) {
    Register(true);
    ScrollSelectionIntoView();
  }
}

void COverview::AppChanged(App*) { SetPane(gCHAApp ? CastSmart<CHAPane>(gCHAApp->GetActivePane()) : nullptr); }

void COverview::FrameChanged(CMovie*, const Rect&, std::int16_t) { Invalidate(false); }

void COverview::BoundsChanged(CMovie*, const Rect&) { ReportError("Not implemented.", kSource.Line(649)); }

void COverview::StagePaneChanged(CHAPane*) {
  // The pane tells of the selection the overview is giving it: an empty place between two frames, which
  // the pane keeps as a frame, stays shown as the place.
  if (!(flags & kUpdatingPane)) FollowSelection();
}

void COverview::ReadSelection() {
  if (!pane) return;
  pane->GetFrameRange(&firstSelected, &lastSelected, false);
  if (pane->GetRangeMode() == CHAPane::kToLastFrame) lastSelected = firstSelected;
  selectedSprites->RemoveAll();
  const List chosen = pane->GetSelectionList();
  for (std::int32_t n = 1; n <= chosen.NumItems(); ++n) selectedSprites.Append(chosen.At(n));
}

void COverview::FollowSelection() {
  if (IsDirty() || !pane) return;
  const std::int16_t oldFirst = firstSelected;
  const std::int16_t oldLast = lastSelected;
  ReadSelection();
  if (oldFirst == firstSelected && oldLast == lastSelected) return;
  MoveHighlight(oldFirst, oldLast);
}

void COverview::MoveHighlight(std::int16_t oldFirst, std::int16_t oldLast) {
  if (!IsVisible()) {
    ScrollSelectionIntoView();
    return;
  }
  DisplayPort port(~GetBufferOrDevice(), GetBounds());
  Highlight(port, oldFirst, oldLast);
  ScrollSelectionIntoView();
  Highlight(port, firstSelected, lastSelected);
}

void COverview::ScrollSelectionIntoView() {
  if (columns <= 0) return;
  NotifyRange(std::max<std::int32_t>(0, lastSelected) / columns, 1, 0);
}

bool COverview::Layout() {
  CMovieGroup* group = Group();
  if (group == nullptr) return false;
  const Rect bounds = group->GetBounds();
  gOverviewScale = static_cast<std::int16_t>(std::clamp<std::int32_t>(gOverviewScale, 1, 256));
  const std::int32_t tw = bounds.Width() / gOverviewScale;
  const std::int32_t th = bounds.Height() / gOverviewScale;
  const std::int16_t oldFrameV = frameV;
  const std::int16_t oldColumns = columns;
  frameV = static_cast<std::int16_t>(th + 2);
  frameH = static_cast<std::int16_t>(tw + 6);
  thumbRect = Rect(3, 1, 3 + tw, 1 + th);
  if (Compact()) {
    frameV = static_cast<std::int16_t>(frameV + 6);
    thumbRect.Offset(0, 3);
  } else {
    frameV = static_cast<std::int16_t>(frameV + 16);
    thumbRect.Offset(0, 8);
  }
  frameCount = group->GetFrameCount();
  const std::int32_t width = GetBounds().Width();
  columns = static_cast<std::int16_t>(frameH > 0 ? std::max(1, (width - 2) / frameH) : 1);
  const auto newRows = static_cast<std::int16_t>((frameCount - 1) / columns + 1);
  if (newRows != rows) {
    rows = newRows;
    NotifyObservers();
  }
  bandRect = Rect(0, 1, columns * frameH + 2, frameV - 1);
  ReadSelection();
  if (!(frameV > 0 && frameH > 0)) AssertFailed("frameV > 0 && frameH > 0", kSource.Line(1286));
  SetFlag(kDirty, false);
  ScrollSelectionIntoView();
  if (frameV == oldFrameV && columns == oldColumns) return true;
  Invalidate(false);
  return false;
}

Rect COverview::PictureRect(std::int16_t frame) const {
  const Rect view = GetBounds();
  const std::int32_t column = frame % columns;
  const std::int32_t row = frame / columns;
  Rect rect = thumbRect;
  rect.Offset(view.left + column * frameH + 1, view.top + (row - topRow) * frameV);
  return rect;
}

void COverview::DrawBand(DisplayPort& port, std::int32_t row) {
  const Rect view = GetBounds();
  Rect band = bandRect;
  band.Offset(view.left, view.top + (row - topRow) * frameV);
  if (row == rows - 1) band.right = band.left + (frameCount - columns * row) * frameH + 2;
  if (Compact()) return;
  port.DrawRect(band, standardColors[5], standardColors[kTransparentColor], 1);
  port.DrawBevel(band, standardColors[3], standardColors[6], 1);
  const std::int32_t holes = (band.Width() - 4) / 8 + 1;
  for (std::int32_t n = 0; n < holes; ++n) {
    const std::int32_t left = band.left + 2 + 8 * n;
    port.DrawRect(Rect(left, band.top + 1, left + 4, band.top + 5), standardColors[0],
                  standardColors[kTransparentColor], 1);
    port.DrawRect(Rect(left, band.bottom - 5, left + 4, band.bottom - 1), standardColors[0],
                  standardColors[kTransparentColor], 1);
  }
}

void COverview::Highlight(DisplayPort& port, std::int16_t first, std::int16_t last) {
  for (std::int32_t frame = std::max<std::int32_t>(0, first); frame <= last && frame < frameCount;
       ++frame) {
    Rect rect = PictureRect(static_cast<std::int16_t>(frame));
    rect.Inset(-3);
    port.InvertFrame(rect, 2);
  }
}

void COverview::DrawDecoration(DisplayPort& port, std::int16_t frame) {
  const Rect picture = PictureRect(frame);
  if (Compact()) {
    Rect outline = picture;
    outline.Inset(-1);
    port.DrawRect(outline, standardColors[kTransparentColor], standardColors[1], 1);
  }
  if (picture.Width() < kNumberMinimumWidth) return;
  const Rect box(picture.left, picture.top, picture.left + 25, picture.top + 9);
  port.EraseArea(Area(box));
  const std::string number = std::to_string(frame + 1);
  port.DrawTextBox(number.c_str(), static_cast<std::int32_t>(number.size()), box, standardColors[1]);
}

void COverview::DrawContent(DisplayPort& port, const Area& area) {
  if (!IsVisible()) return;
  // Frames added or taken away (a stretch, frames pasted) change the grid, not only its pictures, and the
  // page does not tell its dependants of every such change.
  if (CMovieGroup* group = Group(); group && group->GetFrameCount() != frameCount) SetFlag(kDirty, true);
  if (IsDirty() && !Layout()) return;
  port.EraseArea(area);
  const Rect view = GetBounds();
  if (view.IsEmpty()) return;
  const Rect r = area.GetBounds().Intersect(view);
  if (r.IsEmpty()) return;
  for (std::int32_t row = std::max(0, (r.top - view.top - bandRect.bottom) / frameV + topRow - 1);
       row < rows; ++row) {
    if (view.top + bandRect.top + (row - topRow) * frameV >= r.bottom) break;
    DrawBand(port, row);
  }
  Highlight(port, firstSelected, lastSelected);
  if (IsDirty()) AssertFailed("!dirty", kSource.Line(771));
  std::int32_t first = ((r.top - view.top - thumbRect.top) / frameV + topRow) * columns +
                       std::max(0, (r.left - view.left - thumbRect.left - 1) / frameH);
  for (std::int32_t frame = std::max(0, first); frame < frameCount; ++frame) {
    if (PictureRect(static_cast<std::int16_t>(frame)).top >= r.bottom) break;
    strips->AddJob(frame);
    DrawDecoration(port, static_cast<std::int16_t>(frame));
  }
}

bool COverview::ThumbnailJob(View* owner, std::int32_t job, const Rect&) {
  auto* overview = CastSmart<COverview>(owner);
  if (overview == nullptr) return true;
  overview->DrawThumbnail(static_cast<std::int16_t>(job));
  return false;
}

void COverview::DrawThumbnail(std::int16_t frame) {
  if (!IsVisible() || IsDirty() || !pane) return;
  const Rect picture = PictureRect(frame);
  CShow* page = pane->GetShow();
  CMovieGroup* group = Group();
  // A job queued before frames were taken away may name one the page no longer has.
  if (page == nullptr || group == nullptr || frame >= group->GetFrameCount()) return;
  if (!picture.Overlaps(GetBounds()) || frame >= frameCount) return;
  DisplayPort port(~GetBufferOrDevice(), GetBounds());
  PortState clipped(port, picture);
  if (!Outlines()) {
    if (SmartRef<CStamp> stamp = page->GetFrameStamp(port, frame)) {
      stamp->DrawScaled(port, picture, 0);
    } else {
      const List none(&CSprite::classInfo);
      page->DrawSprites(port, frame, picture, 3, &none);
    }
  } else {
    port.EraseArea(Area(picture));
    const Rect bounds = group->GetBounds();
    for (std::int16_t n = 0; n < group->GetSpriteCount(); ++n) {
      CSprite* sprite = group->GetSprite(n);
      if (sprite == nullptr || !sprite->IsVisibleInRange(frame, 1)) continue;
      Rect box;
      sprite->GetFrameGeometry(frame, &box, nullptr);
      box.Map(bounds, picture);
      box = box.Intersect(picture);
      if (!box.IsEmpty()) port.DrawRect(box, standardColors[kTransparentColor], standardColors[1], 1);
    }
  }
  DrawDecoration(port, frame);
}

void COverview::ResizeBy(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom) {
  View::ResizeBy(dLeft, dTop, dRight, dBottom);
  SetFlag(kDirty, true);
}

bool COverview::KeyDown(std::int32_t key, std::int32_t modifiers) {
  if (key == 3) {
    if (gToolsDirectory) gToolsDirectory->SelectToolInPalettes();
    return true;
  }
  return View::KeyDown(key, modifiers);
}

void COverview::Activate(bool active) {
  View::Activate(active);
  if (!(flags & kFollowsActivePane)) {
    gOverviewActive = active;
    if (gCHAApp) {
      if (active)
        gCHAApp->SetActivePane(~pane);
      else
        gCHAApp->ClearActivePane(~pane);
    }
  }
  if (!IsDirty()) FollowSelection();
  if (active) SetFlag(kActivatedOnce, true);
}

void COverview::GetRange(std::int32_t, std::int32_t* min, std::int32_t* max) {
  *min = 0;
  *max = std::max<std::int32_t>(0, rows - 1);
}

void COverview::SetValue(std::int32_t, std::int32_t value) {
  if (value == topRow) return;
  topRow = value;
  Invalidate(false);
}

void COverview::HandleNumberCommand(std::int32_t number, void* argument) {
  switch (number) {
    case 2004:
      if (pane && pane->GetRangeMode() != CHAPane::kAllFrames) pane->SetRangeMode(CHAPane::kAllFrames);
      return;
    case 8:
    case 9:
      ReportError("Not implemented.", kSource.Line(558));
      return;
    case 2062:
      ReportError("Not implemented.", kSource.Line(565));
      return;
    case 2013:
      number = 21;
      break;
    default:
      break;
  }
  if (pane)
    pane->HandleNumberCommand(number, argument);
  else if (NumberCommandHandler* app = EditorApp())
    app->HandleNumberCommand(number, argument);
}

int COverview::GetNumberCommandStatus(std::int32_t number) {
  if (number == 2062) return kCommandChecked;
  return pane ? pane->GetNumberCommandStatus(number) : kCommandDisabled;
}

bool COverview::MouseDown(std::int32_t x, std::int32_t y, std::int32_t, std::int32_t, View* window) {
  const SmartRef<CTool> tool = gToolsDirectory ? gToolsDirectory->GetCurrentTool() : nullptr;
  const std::int32_t id = tool ? tool->GetId() : 0;
  if (id == 110) {
    // The dropper picks nothing from the overview's pictures.
    ReportError("Not implemented.", kSource.Line(0));
    return true;
  }
  if (!pane || IsDirty()) return false;
  const SmartRef<CHAPane> held(pane);
  const Rect view = GetBounds();
  x -= view.left;
  y -= view.top;
  const std::int32_t c = (x + 2) / frameH;
  const std::int32_t k = (y / frameV + topRow) * columns + c;
  if (id == 9) {
    if (k < frameCount) pane->SetFrameRange(static_cast<std::int16_t>(k), static_cast<std::int16_t>(k));
    return true;
  }
  const bool stretch = id == 15 || id == 18;
  const std::int32_t n = k - firstSelected + 1;
  const std::int32_t a = stretch ? firstSelected : k;
  // The gaps: the strip left of frame a's picture, and the strip right of frame a - 1's.
  const auto strip = [&](std::int32_t frame, bool left) {
    Rect picture = thumbRect;
    picture.Offset((frame % columns) * frameH + 1, (frame / columns - topRow) * frameV);
    return left ? Rect(picture.left - kGap, picture.top, picture.left, picture.bottom)
                : Rect(picture.right, picture.top, picture.right + kGap, picture.bottom);
  };
  const bool inGap = (a >= 0 && strip(a, true).Contains(x, y)) || (a >= 1 && strip(a - 1, false).Contains(x, y));
  if (inGap) {
    if (a < 0 || a > frameCount) return true;
  } else if (!(c >= 0 && c < columns && a >= 0 && a < frameCount)) {
    return true;
  }
  const std::int32_t savedMode = pane->GetRangeMode();
  const std::int16_t oldFirst = firstSelected;
  const std::int16_t oldLast = lastSelected;
  const std::int32_t b = std::max<std::int32_t>(
      0, (y / frameV + topRow) * columns + std::clamp<std::int32_t>((x - 1) / frameH, 0, columns - 1));
  if (savedMode == CHAPane::kToLastFrame && !stretch) {
    firstSelected = lastSelected = static_cast<std::int16_t>(std::min<std::int32_t>(b, frameCount));
  } else if (inGap) {
    firstSelected = static_cast<std::int16_t>(a);
    lastSelected = static_cast<std::int16_t>(a - 1);
  } else {
    firstSelected = static_cast<std::int16_t>(std::min(a, b));
    lastSelected = static_cast<std::int16_t>(std::max(a, b));
  }
  if (oldFirst != firstSelected || oldLast != lastSelected) MoveHighlight(oldFirst, oldLast);
  if (CPlayer* player = pane->GetPlayer()) player->Stop();
  std::int16_t paneFirst = 0;
  std::int16_t paneLast = 0;
  pane->GetFrameRange(&paneFirst, &paneLast, false);
  struct Updating {
    COverview& view;
    Updating(COverview& v) : view(v) { view.SetFlag(kUpdatingPane, true); }
    ~Updating() { view.SetFlag(kUpdatingPane, false); }
  } updating(*this);
  pane->SetFrameRange(firstSelected, lastSelected);
  pane->SetRangeMode(CHAPane::kStoredRange);
  switch (id) {
    case 15:
    case 18:
      tool->Deactivate(true);
      // The selected frames' motion is stretched or squeezed to end at the clicked frame. The length
      // before the click is the selection's as it was: the new selection already reaches the clicked
      // frame, so its own length would always equal the new one and nothing would ever stretch.
      if (n >= 1)
        pane->StretchMotion(paneFirst, static_cast<std::int16_t>(oldLast - oldFirst + 1), static_cast<std::int16_t>(n));
      pane->SetRangeMode(savedMode);
      pane->SetFrameRange(paneFirst, paneFirst);
      break;
    case 16:
      tool->Deactivate(true);
      pane->SetRangeMode(CHAPane::kCurrentFrame);
      pane->HandleNumberCommand(21, window);
      pane->SetRangeMode(savedMode);
      break;
    case 10:
    case 11:
      pane->SetRangeMode(savedMode);
      pane->SetFrameRange(paneFirst, paneLast);
      break;
    default:
      pane->SetRangeMode(savedMode);
      break;
  }
  return true;
}

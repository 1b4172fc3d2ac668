#include "editor/CToolsDir.h"

#include "core/Exception.h"
#include "editor/CBorderSize.h"
#include "editor/CDropperTool.h"
#include "editor/pixels/CPixPane.h"
#include "editor/text/CTextStyleTool.h"
#include "engine/EngineAppServices.h"
#include "graphics/DisplayPort.h"
#include "graphics/Paint.h"

SmartRef<CBorderSizeTool> gBorderSizeTool;
SmartRef<CTool> gTextStyleTool;
SmartRef<CToolPalette> gPaintPalette;
SmartRef<CToolsDir> gToolsDirectory;

namespace {

constexpr std::int32_t kBrushId = 102;
constexpr std::int32_t kSelectionId = 3;
constexpr std::int32_t kTextStyleId = 4;

}  // namespace

CToolsDir::CToolsDir(SoundResource* paletteSound) : CPaletteDir(kFrameFloating, paletteSound) {
  if (!gBorderSizeTool) gBorderSizeTool = new CBorderSizeTool;
  if (!gTextStyleTool) gTextStyleTool = new CTextStyleTool;
  currentTool = gBorderSizeTool;
  GetNotifier()->AddAppListener(this);
  gPaintState = new CDropperTool;
  chore = new PeriodicChore(kHintDelay);
  chore->ToggleClient(this);
}

CToolsDir::~CToolsDir() {
  if (pane) pane->TogglePaneListener(this);
  GetNotifier()->RemoveAppListener(this);
  chore->Stop();
  chore->ToggleClient(this);
  if (toolPalette) toolPalette->RemoveTool(this);
  if (paintPalette) paintPalette->RemoveTool(this);
}

void CToolsDir::SetToolPalette(CToolPalette* palette) {
  if (toolPalette) toolPalette->RemoveTool(this);
  toolPalette = palette;
  if (toolPalette) toolPalette->AddTool(this);
}

void CToolsDir::SetPaintPalette(CToolPalette* palette) {
  if (paintPalette) paintPalette->RemoveTool(this);
  paintPalette = palette;
  if (paintPalette) paintPalette->AddTool(this);
}

bool CToolsDir::Toggle(bool flag) {
  const bool visible = CPaletteDir::Toggle(flag);
  if (flag && visible) SelectTool(IndexOfTool(GetCurrentToolId()));
  return visible;
}

std::int16_t CToolsDir::IndexOfTool(std::int32_t) { return 0; }

SmartRef<Tool> CToolsDir::GetToolAt(std::int16_t) {
  NOT_IMPLEMENTED();
  return nullptr;
}

std::int32_t CToolsDir::GetCurrentToolId() const {
  const auto* tool = CastSmart<CTool>(~currentTool);
  return tool ? tool->GetId() : 0;
}

SmartRef<CTool> CToolsDir::GetCurrentTool() const { return SmartRef<CTool>(CastSmart<CTool>(~currentTool)); }

void CToolsDir::SetCurrentTool(Tool* tool) {
  if (tool == nullptr) return;
  if (tool != ~currentTool) {
    if (auto* old = CastSmart<CTool>(~currentTool)) old->SetActive(false);
    currentTool = tool;
  }
  chore->Restart();
}

void CToolsDir::SelectTool(std::int32_t index) {
  const auto number = static_cast<std::int16_t>(index);
  if (Shows(toolPalette)) toolPalette->SetSelection(number);
  if (Shows(paintPalette)) paintPalette->SetSelection(number);
  SetCurrentTool(~GetToolAt(number));
}

void CToolsDir::SetSelectedButton(std::int32_t toolId) {
  if (toolId != GetCurrentToolId()) SelectTool(IndexOfTool(toolId));
}

void CToolsDir::SelectToolInPalettes() {
  CHECK_NOT_NULL(~paintPalette);
  std::int16_t index;
  if (!Shows(toolPalette) && Shows(paintPalette)) {
    index = IndexOfTool(kBrushId);
  } else {
    index = IndexOfTool(kSelectionId);
    if (toolPalette) toolPalette->SetSelection(index);
  }
  if (Shows(paintPalette)) paintPalette->SetButtonEnabled(-1, true);
  paintPalette->SetSelection(index);
  SetCurrentTool(~GetToolAt(index));
}

void CToolsDir::OnPaletteSelection(std::int32_t index) {
  CPaletteDir::ItemClicked(index);
  // A new tool never works on the old tool's selection.
  if (gPixPane) gPixPane->Deselect();
  StopPlayback();
  if (pane && pane->IsPaneActive()) {
    const std::int32_t id = GetCurrentToolId();
    if (id == kTextStyleId) pane->SetEditMode(2, false);
    if (id == 2) pane->SetEditMode(1, false);
  }
}

void CToolsDir::SelectAllPixels() {
  if (!gPixPane) return;
  gPixPane->SelectAll(false);
  gPixPane->CommandClear(8);
}

SmartRef<ToolsPane> CToolsDir::StopPlayback() {
  if (pane && pane->HasPlaybackChore()) pane->StopPlayback();
  return pane;
}

void CToolsDir::SetPane(ToolsPane* newPane) {
  if (newPane == ~pane) return;
  if (pane) pane->TogglePaneListener(this);
  pane = newPane;
  if (pane) pane->TogglePaneListener(this);
  PaneStateChanged();
}

void CToolsDir::PaneStateChanged() {
  const int kind = pane ? pane->GetEditKind() : ToolsPane::kEditsNothing;
  const bool playing = pane && pane->IsPlaying();
  if (kind == ToolsPane::kEditsPicture) {
    if (!Shows(paintPalette)) Layout(kPictureEditing);
    if (!IsVisible()) Show(true);
  } else if (Shows(paintPalette)) {
    Layout(kNothing);
  }
  if (playing) Layout(kNothing);
  if (kind == ToolsPane::kEditsText && GetCurrentToolId() == kTextStyleId && gTextStyleTool)
    gTextStyleTool->SetActive(false);
}

void CToolsDir::Layout(std::int32_t mode) {
  if (mode == layoutMode) return;
  layoutMode = mode;

  if (mode == kPictureEditing)
    CHECK_NOT_NULL(~paintPalette)->Show(true);
  else if (paintPalette)
    paintPalette->Show(false);

  if (mode == kPageTools || mode == kPageToolsToo) {
    CHECK_NOT_NULL(~toolPalette);
    if (pane) pane->StopPlayer();
    toolPalette->Show(true);
  } else if (toolPalette) {
    toolPalette->Show(false);
  }

  std::int16_t index;
  if (Shows(toolPalette))
    index = toolPalette->GetSelection() ? toolPalette->GetSelection() : IndexOfTool(kSelectionId);
  else if (paintPalette && mode == kPictureEditing)
    index = paintPalette->GetSelection() ? paintPalette->GetSelection() : IndexOfTool(kBrushId);
  else if (mode == kTextEditing)
    index = IndexOfTool(kTextStyleId);
  else
    index = IndexOfTool(kSelectionId);
  if (index != 0) SelectTool(index);

  if (layout) {
    const Point size = layout->Arrange(0, 0);
    if (size.x != 0 || size.y != 0) SetSize(size.x, size.y);
  }

  if (pane) {
    if (mode == kPictureEditing) {
      pane->SetEditMode(1, true);
    } else if (mode == kTextEditing) {
      const bool editingText = pane->GetEditKind() == ToolsPane::kEditsText;
      pane->SetEditMode(2, false);
      if (!editingText) {
        if (SmartRef<CTool> tool = GetCurrentTool()) tool->SetActive(true);
      }
    } else {
      pane->SetEditMode(0, false);
    }
  }
}

void CToolsDir::NotifyListeners() {
  listeners.NotifyAll([this](ToolsDirListener* listener) { listener->ToolsChanged(this); });
}

void CToolsDir::TickCurrentTool() {
  if (SmartRef<CTool> tool = GetCurrentTool()) tool->ClearActive();
}

void CToolsDir::AppChanged(App* app) {
  SmartRef<View> active = GetEngineAppActivePane(app);
  ActivePaneChanged(dynamic_cast<ToolsPane*>(~active));
}

void CToolsDir::ChoreFired(Chore* fired) {
  const SmartRef<Chore> timer(fired);
  ASSERT(~timer == ~chore);
  TickCurrentTool();
}

void DrawSwatchFrame(DisplayPort& port, Rect& rect) {
  ColorPaint outline(standardColors[1]);
  port.DrawRect(rect, *noPaint, outline);
  rect.Inset(1);
  port.DrawBevel(rect, standardColors[6], standardColors[3]);
  rect.Inset(1);
  port.DrawBevel(rect, standardColors[5], standardColors[2]);
  rect.Inset(1);
}

#include "editor/PaintToolsWindow.h"

#include "core/Alert.h"
#include "core/Resources.h"
#include "core/Sound.h"
#include "editor/CBorderSize.h"
#include "editor/CCommandButton.h"
#include "editor/CDropperTool.h"
#include "editor/KidResources.h"
#include "editor/PaintIndicator.h"
#include "editor/app/CTumbletApp.h"
#include "editor/pixels/PaintTools.h"
#include "editor/pixels/SelectionTasks.h"
#include "editor/pixels/ShapeTasks.h"
#include "editor/text/TextPaletteWindow.h"
#include "graphics/formats/ImageResource.h"
#include "platform/user/Window.h"
#include "ui/shell/App.h"
#include "ui/views/LFWDecorator.h"
#include "ui/views/WindowFrame.h"

namespace {

constexpr std::int32_t kBrushId = 102;
constexpr std::int32_t kDropperId = 110;
constexpr std::int32_t kTextStyleId = 4;
constexpr std::int16_t kControlCount = 7;
constexpr std::int16_t kLastToolButton = 13;

// What the option palette of each paint tool shows: the look of its cells, whether the tool draws them,
// and whether the colour indicator stands beside them.
struct OptionLook {
  std::int32_t toolId;
  int lookId;
  bool proxy;
  bool withIndicator;
};
constexpr OptionLook kOptionLooks[] = {
    {102, 305, true, true},   // brush
    {103, 310, true, true},   // bucket
    {106, 308, true, true},   // line
    {109, 305, true, false},  // eraser
    {111, 304, false, false}, // lasso
    {113, 307, true, true},   // shapes
};

const OptionLook* OptionLookOf(std::int32_t toolId) {
  for (const OptionLook& look : kOptionLooks)
    if (look.toolId == toolId) return &look;
  return nullptr;
}

std::int32_t IdOf(const SmartRef<Tool>& tool) {
  const auto* editorTool = CastSmart<CTool>(~tool);
  return editorTool ? editorTool->GetId() : 0;
}

SmartRef<Tool> ControlTool(std::int32_t id, int sound, bool toggled) {
  SmartRef<CTool> tool(new CTool(id, KidResources::GetSound(sound), true, KidResources::GetSound(40)));
  tool->SetToggled(toggled);
  return SmartRef<Tool>(~tool);
}

// The gesture of the application's current tool ends.
void EndGesture() {
  if (gApplication) gApplication->GetTool()->SetInteractor(nullptr);
}

}  // namespace

PaintToolsWindow::PaintToolsWindow(bool toggled, bool withControls, bool withPaintPalette)
    : CToolsDir(KidResources::GetSound(1)) {
  controlTools = {ControlTool(3, 20, toggled),  ControlTool(15, 22, toggled), ControlTool(18, 23, toggled),
                  SmartRef<Tool>(new CBorderSizeTool), ControlTool(3, 20, false), ControlTool(15, 22, false),
                  ControlTool(18, 23, false)};
  paintTools = {SmartRef<Tool>(new CBucketTool),
                SmartRef<Tool>(new CBrushTool(~gPaintState)),
                SmartRef<Tool>(new CShapeTool(113, KidResources::GetSound(34))),
                SmartRef<Tool>(new CLineTool),
                SmartRef<Tool>(new CEraserTool),
                SmartRef<Tool>(new CLassoTool)};
  optionSound = KidResources::GetSound(2);

  SmartRef<RowColumnView> row(new RowColumnView(this, false, true, 0));
  AddSubview(~row);
  SetLayout(~row);
  if (withControls) {
    ImageResource* picture = KidResources::GetImage(24);
    commandButton = new CCommandButton(~row, Rect(0, 0, 0, 0), nullptr, picture, picture, picture, nullptr);
    row->AddSubview(~commandButton);
    SmartRef<CToolPalette> controls(new CBorderSizePalette(~commandButton, 1));
    commandButton->AddSubview(~controls);
    Rect bounds = controls->GetBounds();
    bounds.Offset(3, 15);
    controls->SetBounds(bounds);
    SetToolPalette(~controls);
    controls->SetSelection(1);
  }
  if (withPaintPalette) {
    SmartRef<CToolPalette> paint(
        new PaintToolPalette(~row, KidResources::Describe(202), kControlCount + 1, IndexOfTool(kDropperId)));
    row->AddSubview(~paint);
    SetPaintPalette(~paint);
    gPaintPalette = paint;
  }
  SelectToolInPalettes();

  FitToLayout();
  Rect place = GetBounds();
  LFWDecorator::Get().AlignRect(place, LFWDecorator::kBottomOrRight, LFWDecorator::kCentre, true);
  place.Offset(0, -32);
  SetGlobalBounds(place);
}

PaintToolsWindow::~PaintToolsWindow() {
  // The palettes may outlive the window (the paint palette is shared): they must not call it any more.
  SetToolPalette(nullptr);
  SetPaintPalette(nullptr);
  if (optionPalette) optionPalette->RemoveTool(this);
}

void PaintToolsWindow::FitToLayout() {
  const Point size = GetLayout()->Arrange(0, 0);
  SetSize(size.x, size.y);
}

std::int16_t PaintToolsWindow::IndexOfTool(std::int32_t toolId) {
  if (toolId == kTextStyleId) return kTextStyleButton;
  if (CToolPalette* controls = GetToolPalette()) {
    const std::int16_t selected = controls->GetSelection();
    if (selected >= 1 && selected <= kControlCount && IdOf(GetToolAt(selected)) == toolId) return selected;
  }
  for (std::int16_t number = 1; number <= kLastToolButton; ++number)
    if (IdOf(GetToolAt(number)) == toolId) return number;
  return 0;
}

SmartRef<Tool> PaintToolsWindow::GetToolAt(std::int16_t number) {
  if (number >= 1 && number <= kControlCount) return controlTools[static_cast<std::size_t>(number - 1)];
  if (number > kControlCount && number <= kLastToolButton)
    return paintTools[static_cast<std::size_t>(number - kControlCount - 1)];
  if (number == kTextStyleButton) return SmartRef<Tool>(~gTextStyleTool);
  return nullptr;
}

void PaintToolsWindow::ResetBrush() {
  if (GetCurrentToolId() != kBrushId) return;
  CastSmart<CBrushTool>(~GetToolAt(9))->ClearBrushImages();
  EndGesture();
}

void PaintToolsWindow::Layout(std::int32_t mode) {
  if (commandButton) {
    const bool controls = mode == kPageTools || mode == kPageToolsToo;
    if (controls != commandButton->IsVisible()) commandButton->Show(controls);
  }
  if (mode != kPictureEditing) ResetBrush();
  if (mode == kNothing) EndGesture();
  CToolsDir::Layout(mode);
}

void PaintToolsWindow::OnPaletteSelection(std::int32_t number) {
  if (number < kFirstOption) {
    ResetBrush();
    CToolsDir::OnPaletteSelection(number);
    return;
  }
  SmartRef<CTool> tool = GetCurrentTool();
  if (!tool || number >= kFirstOption + tool->CountChoices(0)) return;
  if (Sound* sound = optionSound->Get()) sound->Play(0);
  SelectTool(number);
}

void PaintToolsWindow::SelectTool(std::int32_t number) {
  if (number >= kFirstOption) {
    if (optionPalette) optionPalette->SetSelection(static_cast<std::int16_t>(number));
    if (SmartRef<CTool> tool = GetCurrentTool()) tool->SetChoice(0, static_cast<std::int16_t>(number - 14));
    return;
  }
  if (number != 0) CToolsDir::SelectTool(number);
  auto* app = CastSmart<CTumbletApp>(~gApplication);
  if (!IsVisible() || app == nullptr) return;
  SmartRef<Window> optionWindow = MakeOptionWindow();
  app->UpdateWindows(~optionWindow);
}

Rect PaintToolsWindow::OuterFrame() const {
  RECT outer;
  GetWindowRect(GetFrame()->GetHandle(), &outer);
  POINT corners[2] = {{outer.left, outer.top}, {outer.right, outer.bottom}};
  for (POINT& corner : corners) ScreenToClient(gMainWindow, &corner);
  return Rect(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
}

SmartRef<Window> PaintToolsWindow::MakeOptionWindow() {
  const std::int32_t id = GetCurrentToolId();
  if (id == kTextStyleId) {
    Rect frame = OuterFrame();
    frame.top -= 1;
    return SmartRef<Window>(new TextPaletteWindow(~GetCurrentTool(), frame));
  }
  if (const OptionLook* look = OptionLookOf(id)) ShowOptions(look->lookId, look->proxy, look->withIndicator);
  // The dropper's colour window has no look to be built from, so the dropper offers no window.
  return nullptr;
}

void PaintToolsWindow::ShowOptions(int lookId, bool proxy, bool withIndicator) {
  HideOptions();
  RowColumnView* row = ~GetLayout();
  SmartRef<CTool> tool = GetCurrentTool();
  if (proxy && tool) {
    SmartRef<CProxyPalette> cells(new CProxyPalette(row, KidResources::Describe(lookId), kFirstOption, ~tool, 0));
    cells->SelectCurrentChoice();
    optionPalette = ~cells;
  } else {
    optionPalette = new CellPalette(row, KidResources::Describe(lookId), kFirstOption);
    const std::int16_t choice = tool ? tool->GetChoice(0) : 0;
    optionPalette->SetSelection(static_cast<std::int16_t>(choice + kFirstOption - 1));
  }
  optionPalette->AddTool(this);
  row->AddSubview(~optionPalette);
  if (withIndicator) {
    indicator = new PaintIndicator(row);
    row->AddSubview(~indicator);
  }
  FitToLayout();
}

void PaintToolsWindow::HideOptions() {
  if (!optionPalette) return;
  RowColumnView* row = ~GetLayout();
  if (indicator) {
    row->RemoveSubview(~indicator);
    indicator = nullptr;
  }
  row->RemoveSubview(~optionPalette);
  optionPalette->RemoveTool(this);
  optionPalette = nullptr;
}

void PaintToolsWindow::Close() { PaneStateChanged(); }

void PaintToolsWindow::PaneStateChanged() {
  ResetBrush();
  NotifyListeners();
}

#include "editor/CToolPalette.h"

#include "core/Exception.h"
#include "editor/CDropperTool.h"
#include "editor/CTool.h"
#include "editor/pixels/CPixPane.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/Paint.h"
#include "graphics/formats/ImageResource.h"
#include "ui/shell/App.h"

SMART_DEFINE_ABSTRACT(CProxyPalette, "CProxyPalette", View)

namespace {

constexpr SourceName kProxySource("ORVANEL/AUTHOR/CProxyPalette");
// A palette is made on a temporary rectangle and takes its size once it knows its grid.
constexpr Rect kTemporaryBounds(0, 0, 100, 40);
// A one-row palette spans the window whatever its number of buttons.
constexpr std::int32_t kOneRowWidth = 800;

SmartRef<ImageResource> Loaded(const SmartRef<ImageResource>& picture) {
  if (picture) picture->Get();
  return picture;
}

}  // namespace

CToolPalette::CToolPalette(View* parent, SmartRef<PaletteLook> look, std::int16_t first)
    : View(parent, kTemporaryBounds, kAnchorTopLeft, false, false), selection(first), first(first) {
  CHECK_NOT_NULL(~look);
  rows = look->rows;
  columns = look->columns;
  cellWidth = look->cellWidth;
  cellHeight = look->cellHeight;
  image = Loaded(look->image);
  pressedImage = Loaded(look->pressedImage);
  disabledImage = Loaded(look->disabledImage);
  count = static_cast<std::int16_t>(rows > 0 && columns > 0 ? rows * columns : 0);
  states.assign(static_cast<std::size_t>(count), kUp);
  downImages.resize(static_cast<std::size_t>(count));
  downSelectedImages.resize(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < look->buttonNumbers.size(); ++i) {
    const std::int16_t n = look->buttonNumbers[i];
    if (n < 1 || n > count) continue;
    const auto slot = static_cast<std::size_t>(n - 1);
    if (i < look->downImages.size()) downImages[slot] = Loaded(look->downImages[i]);
    if (i < look->downSelectedImages.size()) downSelectedImages[slot] = Loaded(look->downSelectedImages[i]);
  }
  const std::int32_t width = rows == 1 ? kOneRowWidth : columns * cellWidth;
  SetBounds(Rect(0, 0, width, rows * cellHeight));
}

CToolPalette::~CToolPalette() = default;

void CToolPalette::DrawPicture(DisplayPort& port, ImageResource* picture, const Rect& rect) {
  if (picture == nullptr) return;
  SmartRef<BitMap> bitmap = picture->Get();
  if (!bitmap) return;
  const Rect from = bitmap->GetBounds();
  PortState moved(port, Translation(rect.left - from.left, rect.top - from.top));
  bitmap->Draw(port, kDrawOpaque);
}

void CToolPalette::DrawContent(DisplayPort& port, const Area&) {
  const Rect bounds = GetBounds();
  if (image) {
    DrawPicture(port, ~image, bounds);
  } else {
    ColorPaint black(standardColors[1]);
    for (std::int32_t row = 0; row < rows; ++row) {
      const std::int32_t y = bounds.top + cellHeight - 1 + row * cellHeight;
      port.DrawLine({bounds.left, y}, {bounds.left + columns * cellWidth, y}, black, 1);
    }
    for (std::int32_t column = 0; column < columns; ++column) {
      const std::int32_t x = bounds.left + cellWidth - 1 + column * cellWidth;
      port.DrawLine({x, bounds.top}, {x, bounds.top + rows * cellHeight}, black, 1);
    }
  }
  for (std::int16_t n = first; n < first + count; ++n) {
    const Rect cell = GetButtonRect(n);
    PortState clipped(port, cell);
    DrawButtonContent(port, n, cell, true);
  }
  DrawButton(port, selection, true);
}

void CToolPalette::DrawButtonContent(DisplayPort& port, std::int16_t number, const Rect& rect, bool plain) {
  if (!InRange(number)) return;
  const std::size_t slot = Slot(number);
  switch (states[slot]) {
    case kUp:
      if (number == selection && pressedImage)
        DrawPicture(port, ~pressedImage, GetBounds());
      else if (!plain)
        DrawPicture(port, ~image, GetBounds());
      break;
    case kDisabled:
      DrawPicture(port, ~disabledImage, GetBounds());
      break;
    case kDown:
      if (number == selection && downSelectedImages[slot])
        DrawPicture(port, ~downSelectedImages[slot], rect);
      else
        DrawPicture(port, ~downImages[slot], rect);
      break;
  }
}

void CToolPalette::DrawButton(DisplayPort& port, std::int16_t number, bool pressed) {
  if (number == 0 || !InRange(number)) return;
  const Rect cell = GetButtonRect(number);
  if (pressedImage) {
    if (pressed) return;
    PortState clipped(port, cell);
    DrawButtonContent(port, number, cell, false);
  } else {
    port.InvertRect(cell);
  }
}

void CellPalette::DrawButton(DisplayPort& port, std::int16_t number, bool) {
  if (number == 0 || !InRange(number)) return;
  Rect cell = GetButtonRect(number);
  cell.right -= 1;
  cell.bottom -= 1;
  port.InvertFrame(cell, 1);
}

bool CToolPalette::MouseDown(std::int32_t x, std::int32_t y, std::int32_t, std::int32_t clicks, View*) {
  const std::int16_t n = HitTest(x, y);
  if ((options & 1) && n == selection) {
    NotifySelection(n);
  } else if (n != selection && n != 0 && states[Slot(n)] != kDisabled) {
    NotifySelection(n);
  } else if (clicks == 2 && n == selection && n != 0) {
    DoubleClicked();
  }
  return true;
}

void CToolPalette::NotifySelection(std::int16_t number) {
  listeners.NotifyAll([number](PaletteListener* listener) { listener->ButtonChosen(number); });
}

void CToolPalette::InvalidateButton(std::int16_t number) {
  const Rect cell = GetButtonRect(number);
  if (!cell.IsEmpty()) InvalidateArea(Area(cell), Area::emptyArea());
}

void CToolPalette::SetSelection(std::int16_t number) {
  if (!InRange(number)) number = 0;
  if (number == selection) return;
  const std::int16_t old = selection;
  selection = number;
  if (IsVisible()) {
    InvalidateButton(old);
    InvalidateButton(number);
  }
}

bool CToolPalette::SetButtonEnabled(std::int16_t number, bool enabled) {
  if (number == -1) {
    for (std::uint8_t& state : states) {
      if (enabled && state == kDisabled) state = kUp;
      if (!enabled && state != kDisabled) state = kDisabled;
    }
    Invalidate(false);
    return true;
  }
  if (!InRange(number)) return false;
  std::uint8_t& state = states[Slot(number)];
  if (!enabled && state != kDisabled)
    state = kDisabled;
  else if (enabled && state == kDisabled)
    state = kUp;
  else
    return false;
  InvalidateButton(number);
  return true;
}

void CToolPalette::SetButtonDown(std::int16_t number, bool down) {
  if (!InRange(number)) return;
  std::uint8_t& state = states[Slot(number)];
  if (down && state == kUp)
    state = kDown;
  else if (!down && state == kDown)
    state = kUp;
  else
    return;
  InvalidateButton(number);
}

std::uint8_t CToolPalette::GetButtonState(std::int16_t number) const {
  return InRange(number) ? states[Slot(number)] : static_cast<std::uint8_t>(kUp);
}

Rect CToolPalette::GetButtonRect(std::int16_t number) const {
  if (!InRange(number)) return Rect();
  const std::int32_t k = number - first;
  const std::int32_t row = k / columns, column = k % columns;
  const Rect bounds = GetBounds();
  const std::int32_t left = bounds.left + column * cellWidth, top = bounds.top + row * cellHeight;
  return Rect(left, top, left + cellWidth, top + cellHeight);
}

std::int16_t CToolPalette::HitTest(std::int32_t x, std::int32_t y) const {
  if (cellWidth <= 0 || cellHeight <= 0) return 0;
  const Rect bounds = GetBounds();
  const std::int32_t row = (y - bounds.top - 1) / cellHeight;
  const std::int32_t column = (x - bounds.left - 1) / cellWidth;
  if (row < 0 || row >= rows || column < 0 || column >= columns) return 0;
  return static_cast<std::int16_t>(row * columns + first + column);
}

void CToolPalette::AddTool(PaletteListener* listener) {
  if (!listeners.Contains(listener)) listeners.Toggle(listener);
}

void CToolPalette::RemoveTool(PaletteListener* listener) {
  if (listeners.Contains(listener)) listeners.Toggle(listener);
}

void CToolPalette::RedrawButton(std::int16_t number) {
  {
    DisplayPort port(~GetBufferOrDevice(), GetBounds());
    if (number != 0)
      DrawButton(port, number, false);
    else
      DrawPicture(port, ~pressedImage, GetBounds());
  }
  Invalidate(false);
}

// Proxy cells.

CProxyPalette::CProxyPalette(View* parent, SmartRef<PaletteLook> look, std::int16_t first, CTool* drawer,
                             std::int16_t kind)
    : CellPalette(parent, std::move(look), first), tool(drawer), kind(kind) {
  if (!tool) AssertFailed("~tool != NULL", kProxySource.Line(54));
  Show(false);
  CHECK_NOT_NULL(~gPaintState)->ToggleListener(this, false);
  Show(true);
}

CProxyPalette::~CProxyPalette() {
  // A paint state made since (a new tools window makes its own) does not hold this palette: toggling
  // would add it there.
  if (!gAppQuitting && gPaintState && gPaintState->HasListener(this, false)) gPaintState->ToggleListener(this, false);
}

void CProxyPalette::SelectCurrentChoice() {
  const std::int16_t choice = tool->GetChoice(kind);
  SetSelection(choice == 0 ? 0 : static_cast<std::int16_t>(choice + GetFirst() - 1));
}

void CProxyPalette::DrawButtonContent(DisplayPort& port, std::int16_t number, const Rect& rect, bool) {
  Rect cell = rect;
  cell.Inset(2);
  cell.right -= 1;
  cell.bottom -= 1;
  PortState clipped(port, cell);
  tool->DrawChoice(port, cell, kind, static_cast<std::int16_t>(number - GetFirst() + 1));
}

void CProxyPalette::InvalidateButton(std::int16_t number) {
  if (!IsVisible()) return;
  DisplayPort port(GetDevice(), GetBounds());
  DrawButton(port, number, false);
}

// The paint tools.

PaintToolPalette::PaintToolPalette(View* parent, SmartRef<PaletteLook> look, std::int16_t first, std::int16_t previous)
    : CToolPalette(parent, std::move(look), first), previous(previous), initial(previous) {
  // The paint tools start on no pane: the tools reach a pixel pane again once one is made or used.
  gPixPane = nullptr;
  SetSelection(first);
}

PaintToolPalette::~PaintToolPalette() { NotifySelection(-666); }

void PaintToolPalette::GoBack() {
  const std::int16_t n = initial;
  initial = GetSelection();
  NotifySelection(n);
}

// Option windows.

ModelPaletteWindow::ModelPaletteWindow(CTool* model)
    : CPaletteDir(kFrameFloating, KidResources::GetSound(2)), model(model) {}

ModelPaletteWindow::~ModelPaletteWindow() { model = nullptr; }

void ModelPaletteWindow::ItemClicked(std::int32_t number) {
  if (model && number >= 1 && number <= model->CountChoices(0)) CPaletteDir::ItemClicked(number);
}

void ModelPaletteWindow::SelectItem(std::int32_t number) {
  if (model) model->SetChoice(0, static_cast<std::int16_t>(number));
}

void ModelPaletteWindow::Activate(bool active) {
  Window::Activate(active);
  // A pop-up palette: it comes up with its window's activation and goes away when the child turns to
  // another window.
  if (active && !IsVisible())
    Show(true);
  else if (!active && IsVisible())
    Show(false);
}

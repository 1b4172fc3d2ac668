#include "app/page/DromelToolPalette.h"

#include <algorithm>

#include "core/Exception.h"
#include "editor/CToolPalette.h"
#include "editor/RowColumnView.h"

SMART_DEFINE_ABSTRACT(DromelToolPalette, "DromelToolPalette", View)

DromelToolPalette::DromelToolPalette(View* parent, CToolPalette* startPanel)
    : View(parent, Rect{0, 0, parent->GetBounds().Width(), kButtonHeight}, kAnchorTopLeft, false, true),
      startPanel(startPanel) {
  layout = new RowColumnView(this, false, false, 0);
  AddSubview(~layout);
  // The page editor's command buttons sit at the right edge, where the page window keeps them.
  commandRow = new View(~layout, Rect{0, 0, 0, kButtonHeight}, kAnchorTopLeft, false, true);
  layout->AddSubview(~commandRow);
  ShowPage(0);
  const Point size = layout->Arrange(0, 0);
  SetBounds(Rect{0, 0, GetBounds().Width(), std::max(size.y, kButtonHeight)});
}

DromelToolPalette::~DromelToolPalette() = default;

void DromelToolPalette::ShowPage(std::int16_t shown) {
  ASSERT(shown >= 0 && shown < kPageCount);
  page = shown;
}

std::int16_t DromelToolPalette::GetToolKind() const { return static_cast<std::int16_t>(3 + 5 * page); }

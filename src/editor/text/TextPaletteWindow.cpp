#include "editor/text/TextPaletteWindow.h"

#include "core/Exception.h"
#include "editor/CCommandButton.h"
#include "editor/CDropperTool.h"
#include "editor/KidResources.h"
#include "editor/PaintIndicator.h"

namespace {

constexpr int kFontLook = 309;
constexpr int kFaceLook = 310;
constexpr int kSizeLook = 306;

// The label before each set: a picture button that sends nothing; it takes its picture's size.
void AddLabel(View* row, int picture) {
  ImageResource* image = KidResources::GetImage(picture);
  SmartRef<CCommandButton> button(new CCommandButton(row, Rect(0, 0, 1, 1), nullptr, image, image, image, nullptr));
  row->AddSubview(~button);
}

}  // namespace

TextPaletteWindow::TextPaletteWindow(CTool* model, const Rect& frame)
    : ModelPaletteWindow(model), tool(CHECK_NOT_NULL(dynamic_cast<CTextStyleTool*>(model))) {
  row = new RowColumnView(this, false, true, 0);
  AddSubview(~row);
  AddLabel(~row, 2020);
  fontPalette = new CProxyPalette(~row, KidResources::Describe(kFontLook), kFirstFontCell, ~tool, CTextStyleTool::kFont);
  row->AddSubview(~fontPalette);
  AddLabel(~row, 2021);
  facePalette = new CProxyPalette(~row, KidResources::Describe(kFaceLook), kFirstFaceCell, ~tool, CTextStyleTool::kFace);
  row->AddSubview(~facePalette);
  AddLabel(~row, 2022);
  sizePalette = new CProxyPalette(~row, KidResources::Describe(kSizeLook), kFirstSizeCell, ~tool, CTextStyleTool::kSize);
  row->AddSubview(~sizePalette);
  indicator = new PaintIndicator(~row);
  row->AddSubview(~indicator);
  for (CProxyPalette* palette : {~fontPalette, ~facePalette, ~sizePalette}) {
    palette->AddTool(this);
    palette->SelectCurrentChoice();
  }

  const Point size = row->Arrange(0, 0);
  SetSize(size.x, size.y);
  tool->ToggleListener(this);
  gPaintState->ToggleListener(this, false);
  SetGlobalBounds(Rect(frame.left, frame.top, frame.left + size.x, frame.top + size.y));
}

TextPaletteWindow::~TextPaletteWindow() {
  // A paint state made since (a new tools window makes its own) does not hold this window.
  if (gPaintState && gPaintState->HasListener(this, false)) gPaintState->ToggleListener(this, false);
  if (tool->HasListener(this)) tool->ToggleListener(this);
  for (CProxyPalette* palette : {~fontPalette, ~facePalette, ~sizePalette}) palette->RemoveTool(this);
}

CProxyPalette* TextPaletteWindow::PaletteOfCell(std::int32_t number, std::int16_t* kind, std::int16_t* index) const {
  struct Set {
    CProxyPalette* palette;
    std::int16_t kind;
    std::int16_t first;
  };
  const Set sets[] = {{~sizePalette, CTextStyleTool::kSize, kFirstSizeCell},
                      {~facePalette, CTextStyleTool::kFace, kFirstFaceCell},
                      {~fontPalette, CTextStyleTool::kFont, kFirstFontCell}};
  for (const Set& set : sets) {
    if (number < set.first) continue;
    const auto choice = static_cast<std::int16_t>(number - set.first + 1);
    if (choice > tool->CountChoices(set.kind)) return nullptr;
    *kind = set.kind;
    *index = choice;
    return set.palette;
  }
  return nullptr;
}

void TextPaletteWindow::ItemClicked(std::int32_t number) {
  std::int16_t kind = 0, index = 0;
  if (PaletteOfCell(number, &kind, &index)) CPaletteDir::ItemClicked(number);
}

void TextPaletteWindow::SelectItem(std::int32_t number) {
  std::int16_t kind = 0, index = 0;
  CProxyPalette* palette = PaletteOfCell(number, &kind, &index);
  if (palette == nullptr) return;
  palette->SetSelection(static_cast<std::int16_t>(number));
  tool->SetChoice(kind, index);
}

void TextPaletteWindow::TextStyleChanged() {
  // Every sample shows the tool's new style with its own option substituted.
  for (CProxyPalette* palette : {~fontPalette, ~facePalette, ~sizePalette}) palette->Invalidate(false);
}

void TextPaletteWindow::PaintStateChanged() {
  tool->SetTextColor(gPaintForeground);
  for (CProxyPalette* palette : {~fontPalette, ~facePalette, ~sizePalette}) {
    palette->SelectCurrentChoice();
    palette->Invalidate(false);
  }
}

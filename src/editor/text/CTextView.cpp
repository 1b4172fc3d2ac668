#include "editor/text/CTextView.h"

#include <algorithm>

#include "core/Exception.h"
#include "editor/CDropperTool.h"
#include "engine/media/CResource.h"
#include "ui/text/TextCommands.h"

SMART_DEFINE_ABSTRACT(CTextView, "CTextView", CEditPane)

SmartRef<TextStyle> gDefaultTextStyle;

namespace {

constexpr std::int32_t kHighestTop = 50;

// Panes that exist now: the text menu is enabled while any does.
int gOpenTextPanes = 0;

// Where the pane goes: the text view's own inset from its frame is made up for, and the pane stays clear
// of the window's top strip.
Rect PlacePane(const Rect& frame, const Rect& content) {
  Point origin = frame.TopLeft() + (frame.TopLeft() - content.TopLeft());
  origin.y = std::max(origin.y, kHighestTop);
  Point size = frame.Size() + (frame.Size() - content.Size());
  if (size.x <= 0 || size.y <= 0) size = {std::max(frame.Width(), content.Width()), std::max(frame.Height(), content.Height())};
  return Rect(origin.x, origin.y, origin.x + size.x, origin.y + size.y);
}

}  // namespace

CTextView::CTextView(View* parent, const Rect& frame, StyledText* edited)
    : CEditPane(parent, frame), text(CHECK_NOT_NULL(edited)) {
  if (!text->GetStyle())
    text->SetStyle(~MakeDefaultTextStyle(standardColors[1], standardColors[kTransparentColor]));
  if (!gDefaultTextStyle) gDefaultTextStyle = text->GetStyle();
  if (text->Length() == 0) text->SetStyle(new TextStyle(*gDefaultTextStyle));

  textView = new TextView(this, frame, ~text, kAnchorTopLeft, true, true, true, false);
  Rect content;
  textView->GetContentBounds(&content);
  const Rect placed = PlacePane(frame, content);
  textView->SetBounds(placed);
  SetBounds(placed);
  AddSubview(~textView);
  SetTarget(~textView);

  // Without a tools window there is no paint state: the text keeps its colour.
  if (gPaintState) gPaintState->ToggleListener(this, false);
  textView->ToggleObserver(this);
  ++gOpenTextPanes;
  TextPaneOpen = true;
}

CTextView::~CTextView() {
  textView->UpdateFromControl();
  if (text->Length() != 0) gDefaultTextStyle = new TextStyle(*text->GetStyle());
  // A paint state made since (a new tools window makes its own) does not hold this pane.
  if (gPaintState && gPaintState->HasListener(this, false)) gPaintState->ToggleListener(this, false);
  textView->ToggleObserver(this);
  TextPaneOpen = --gOpenTextPanes > 0;
}

bool CTextView::GetEditResult(Rect* bounds, SmartRef<Smart>* edited, bool) {
  String current;
  textView->GetText(&current);
  Rect content;
  textView->GetContentBounds(&content);
  const Rect viewBounds = textView->GetBounds();
  Rect rect = content;
  rect.Offset(bounds->left - viewBounds.left, bounds->top - viewBounds.top);

  SmartRef<CResource> resource(new CResource(SmartRef<Smart>(~text)));
  Point measured;
  text->Measure(measured, 0);
  if (measured.x < rect.Width()) rect = Rect(rect.left, rect.top, rect.left + measured.x, rect.top + measured.y);
  resource->SetBounds(rect.left, rect.top, rect.right, rect.bottom);
  *edited = SmartRef<Smart>(~resource);
  *bounds = rect;
  return true;
}

void CTextView::ApplyTextStyle(const TextStyle* style) {
  if (style == nullptr) return;
  // The text and the field share one style, so that what the menu changes is what the page keeps.
  text->SetStyle(new TextStyle(*style));
  textView->SetTextStyle(text->GetStyle());
}

void CTextView::PaintStateChanged() {
  SmartRef<TextStyle> style = textView->GetTextStyle();
  if (!style) return;
  style->SetTextColor(gPaintForeground);
  textView->SetTextStyle(style);
}

void CTextView::TargetChanged(void*) { SetBounds(textView->GetBounds()); }

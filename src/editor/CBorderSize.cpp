#include "editor/CBorderSize.h"

#include "core/Exception.h"

namespace {

constexpr std::int32_t kMargin = 5;

Rect Grown(Rect rect) {
  rect.Inset(-kMargin);
  return rect;
}

}  // namespace

CBorderSizePalette::CBorderSizePalette(View* parent, std::int16_t first)
    : CToolPalette(parent, KidResources::Describe(201), first) {}

CBorderSizeView::CBorderSizeView(View* parent, const Rect& content)
    : View(parent, Grown(content), kAnchorTopLeft, true, false) {}

void CBorderSizeView::DrawContent(DisplayPort&, const Area&) { NOT_IMPLEMENTED(); }

void CBorderSizeView::GetContentBounds(Rect* bounds) const {
  GetBounds(bounds);
  if (bounds->Width() > 2 * kMargin && bounds->Height() > 2 * kMargin) bounds->Inset(kMargin);
}

bool CBorderSizeView::MouseDown(std::int32_t, std::int32_t, std::int32_t, std::int32_t, View*) {
  NOT_IMPLEMENTED();
  return false;
}

bool CBorderSizeView::MouseMoved(std::int32_t, std::int32_t, std::int32_t) {
  NOT_IMPLEMENTED();
  return false;
}

SmartRef<View> MakeBorderView(View* host, const Rect& rect) {
  SmartRef<View> border(new CBorderSizeView(host, rect));
  if (host) host->AddSubview(~border);
  return border;
}

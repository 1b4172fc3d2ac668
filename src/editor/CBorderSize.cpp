#include "editor/CBorderSize.h"

#include "core/Exception.h"

namespace {

constexpr SourceName kSource("ORVANEL/AUTHOR/CBorderSize");
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

void CBorderSizeView::DrawContent(DisplayPort&, const Area&) { ReportError("Not implemented.", kSource.Line(261)); }

void CBorderSizeView::GetContentBounds(Rect* bounds) const {
  GetBounds(bounds);
  if (bounds->Width() > 2 * kMargin && bounds->Height() > 2 * kMargin) bounds->Inset(kMargin);
}

bool CBorderSizeView::MouseDown(std::int32_t, std::int32_t, std::int32_t, std::int32_t, View*) {
  ReportError("Not implemented.", kSource.Line(102));
  return false;
}

bool CBorderSizeView::MouseMoved(std::int32_t, std::int32_t, std::int32_t) {
  ReportError("Not implemented.", kSource.Line(214));
  return false;
}

SmartRef<View> MakeBorderView(View* host, const Rect& rect) {
  SmartRef<View> border(new CBorderSizeView(host, rect));
  if (host) host->AddSubview(~border);
  return border;
}

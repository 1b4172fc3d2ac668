#include "core/Exception.h"
#include "core/SourcePlace.h"
#include "editor/overview/COverview.h"
#include "engine/app/CHAApp.h"
#include "ui/controls/ScrollBar.h"
#include "ui/views/LFWDecorator.h"

SMART_DEFINE_ABSTRACT(COverDir, "COverDir", FloatingWindow, NumberCommandHandler)

namespace {
constexpr SourceName kSource("ORVANEL/AUTHOR/COverDir");
constexpr std::int32_t kDefaultHeight = 100;
}  // namespace

COverDir::COverDir(CHAPane* pane, int, bool follows, const Rect& frame) : FloatingWindow(kFrameFloating) {
  flags = follows ? 1 : 0;
  Rect bounds = frame;
  if (bounds.IsEmpty()) {
    bounds = Rect(0, 0, 0, kDefaultHeight);
    LFWDecorator::Get().AlignRect(bounds, LFWDecorator::kBottomOrRight, LFWDecorator::kFill, true);
  }
  bounds.bottom -= 1;
  SetGlobalBounds(bounds);
  overview = new COverview(this, follows);
  AddSubview(~overview);
  ScrollBar::AttachToView(~overview, ~overview, true, false);
  overview->SetBounds(ScrollBar::FrameRect(GetBounds(), true, false));
  overview->SetPane(pane);
}

void COverDir::Close() {
  if (flags & 1)
    FloatingWindow::Close();
  else
    Window::Close();
}

bool COverDir::Toggle(bool flag) {
  if (!flag) return IsVisible();
  FloatingWindow::Toggle(true);
  gOverviewActive = IsVisible();
  return IsVisible();
}

void COverDir::HandleNumberCommand(std::int32_t number, void* argument) {
  if (gCHAApp) gCHAApp->HandleNumberCommand(number, argument);
}

int COverDir::GetNumberCommandStatus(std::int32_t) {
  ReportError("Not implemented.", kSource.Line(105));
  return kCommandDisabled;
}

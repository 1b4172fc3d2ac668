#include "ui/dialogs/ProgressDialog.h"

#include "core/Alert.h"
#include "graphics/Area.h"
#include "graphics/DisplayPort.h"
#include "platform/kernel/System.h"
#include "ui/shell/App.h"
#include "ui/controls/Control.h"
#include "ui/controls/ProgressBar.h"
#include "ui/text/TextView.h"

SMART_DEFINE_ABSTRACT(ProgressDialog, "ProgressDialog", Dialog)

namespace {

const Rect kBarFrame(10, 10, 390, 25);
const Rect kCaptionFrame(10, 40, 340, 62);
const Rect kStopFrame(340, 35, 390, 55);
constexpr Point kPlace(150, 100);
constexpr Point kSize(400, 65);

}  // namespace

ProgressDialog::ProgressDialog(const char* text)
    : Dialog(kFrameModalPlain), caption(text), lastPoll(GetTickCount() - kPollInterval) {
  bar = new ProgressBar(this, kBarFrame);
  captionView = new TextView(this, kCaptionFrame, new String(caption), kAnchorTopLeft, false, false, true, false);
  const String stop("Stop");
  stopButton = new PushButton(this, kStopFrame, &stop, new DialogCancelSignal(), this);
  AddSubview(~bar);
  AddSubview(~captionView);
  AddSubview(~stopButton);
  SetGlobalBounds(Rect(kPlace.x, kPlace.y, kPlace.x + kSize.x, kPlace.y + kSize.y));
}

SmartRef<ProgressDisplay> ProgressDialog::Make(const char* caption) {
  if (!IsApplicationRunning() || gMainWindow == nullptr) return new SilentProgressDisplay();
  return new ProgressDialog(caption);
}

bool ProgressDialog::Poll() {
  if (GetTickCount() - lastPoll < kPollInterval) return true;
  const bool open = Dialog::Poll();
  lastPoll = GetTickCount();
  return open;
}

void ProgressDialog::Close() { Dialog::Close(); }

void ProgressDialog::Open() { Window::Open(false); }

void ProgressDialog::SetProgress(std::uint32_t done, std::uint32_t total) {
  Poll();
  if (bar->SetProgress(done, total)) {
    // Drawn at once: the operation does not leave the message loop time to paint.
    const Rect bounds = bar->GetBounds();
    DisplayPort port(GetFrame(), bounds);
    SmartRef<Area> area(new Area(bounds));
    bar->Draw(port, *area);
  }
}

void ProgressDialog::SetCaption(const String& text) {
  captionView->SetText(text);
  Poll();
}

void ProgressDialog::BringUp() {
  if (GetFrame()->IsVisible() || Dialog::WasCancelled()) return;
  if (App* app = Window::GetWindowManager()) app->ActivateWindow(this);
}

void ProgressDialog::Refresh() { Window::Refresh(); }

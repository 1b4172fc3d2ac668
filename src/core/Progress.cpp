#include "core/Progress.h"

#include "core/Exception.h"
#include "core/Seams.h"
#include "core/String.h"
#include "platform/kernel/System.h"

bool gProgressEnabled = true;
SmartRef<ProgressDisplay> gProgressDialog;
std::uint32_t gProgressOpened = 0;
std::uint32_t gProgressTotal = 1;
std::uint32_t gProgressDone = 1;
std::uint32_t gProgressShown = 0;

namespace {

constexpr std::uint32_t kShowDelay = 500;

SmartRef<ProgressDisplay> MakeDisplay(const char* caption) {
  const ProgressDisplayMaker make = GetProgressDisplayMaker();
  return make != nullptr ? make(caption) : SmartRef<ProgressDisplay>(new SilentProgressDisplay());
}

}  // namespace

Progress::Progress(std::uint32_t steps, const char* caption) : steps(steps) {
  if (!gProgressEnabled) return;
  flags |= kActive;
  if (gProgressDialog && gProgressDialog->WasCancelled()) gProgressDialog = nullptr;
  if (!gProgressDialog) {
    flags |= kOwnsDialog;
    gProgressDialog = MakeDisplay(caption);
    gProgressOpened = GetTickCount();
    gProgressDialog->Open();
    gProgressDialog->Refresh();
    gProgressShown = 0;
    // A range of no steps still has a total of one, so that the bar and nested ranges never divide by 0.
    gProgressTotal = steps ? steps : 1;
  } else {
    if (this->steps >= 0x7FFFFFFFu / gProgressTotal) this->steps = 0;
    if (this->steps > 0) {
      weight = gProgressDone - gProgressShown;
      gProgressTotal *= this->steps;
      gProgressShown *= this->steps;
      // Without a weight the done count is scaled too, so that the division at the end gives it back.
      if (weight == 0) gProgressDone *= this->steps;
    } else {
      weight = 0;
    }
  }
  if (weight != 0) gProgressDone = gProgressShown;
}

Progress::~Progress() {
  if (!(flags & kActive)) return;
  if (weight != 0) Update();
  if (flags & kOwnsDialog) {
    if (gProgressDialog) gProgressDialog->Close();
    gProgressDialog = nullptr;
  }
  if (steps != 0) {
    gProgressTotal /= steps;
    gProgressShown /= steps;
    gProgressDone /= steps;
  }
  if (gProgressTotal == 0) gProgressTotal = 1;
}

void Progress::Update() {
  if (!gProgressEnabled || !(flags & kActive) || !gProgressDialog) return;
  if (weight != 0) gProgressShown = gProgressDone;
  gProgressDialog->SetProgress(gProgressShown, gProgressTotal);
  if (GetTickCount() - gProgressOpened < kShowDelay) return;
  gProgressDialog->BringUp();
  gProgressDialog->Refresh();
}

void Progress::Step(std::uint32_t n) {
  if (!gProgressEnabled || !(flags & kActive)) return;
  Update();
  if (gProgressDialog && gProgressDialog->WasCancelled()) ThrowException(new UserCancelException());
  gProgressDone += n * weight;
  stepsDone += n;
  if (weight != 0 && stepsDone > steps) {
    gProgressDone -= weight * (stepsDone - steps);
    weight = 0;
  }
  if (gProgressDialog) gProgressDialog->Refresh();
}

void Progress::SetCaption(const char* text, std::uint32_t n) {
  if (!gProgressEnabled || !(flags & kActive)) return;
  Step(n);
  if (!gProgressDialog) return;
  String caption(text);
  if (weight == 0) caption.Append(String(static_cast<int>(stepsDone)));
  gProgressDialog->SetCaption(caption);
  gProgressDialog->Refresh();
}

void Progress::Enable(bool on) {
  gProgressEnabled = on;
  if (gProgressDialog) {
    gProgressDialog->BringUp();
    gProgressDialog->Refresh();
  }
}

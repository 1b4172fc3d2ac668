#include "editor/browser/CChoreStrips.h"

#include "platform/kernel/System.h"
#include "ui/views/View.h"

SMART_DEFINE_ABSTRACT(CChoreStrips, "CChoreStrips", Chore)

CChoreStrips::CChoreStrips(View* owner, StripsJob job) : Chore(kPeriod, true, 0), owner(owner), job(job) {}

void CChoreStrips::AddJob(std::int32_t number) {
  if (const std::int32_t n = jobs.Find(&number); n != 0) jobs.Delete(n, 1);
  jobs.Insert(&number, jobs.NumItems(), 1);
}

void CChoreStrips::Run() {
  if (running || owner == nullptr || job == nullptr) return;
  running = true;
  struct Clear {
    bool& flag;
    ~Clear() { flag = false; }
  } clear{running};
  const Rect frame = owner->GetBounds();
  const DWORD deadline = GetTickCount() + kSliceLength;
  while (static_cast<std::int32_t>(GetTickCount() - deadline) <= 0 && jobs.NumItems() > 0) {
    std::int32_t number = JobAt(1);
    if (job(owner, number, frame)) {
      jobs.RemoveAll();
      return;
    }
    // The job may have queued more (an alert lets the owner repaint): the one that ran goes, wherever it
    // now stands.
    if (const std::int32_t n = jobs.Find(&number); n != 0) jobs.Delete(n, 1);
  }
  if (jobs.NumItems() > 0) SetPeriod(1);
}

#include "ui/shell/Chore.h"

#include <vector>

#include "core/Alert.h"
#include "core/Exception.h"
#include "platform/kernel/CriticalSection.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/System.h"
#include "platform/user/Timer.h"

SMART_DEFINE_ABSTRACT(Chore, "Chore", SmartImplementation)

namespace {

CRITICAL_SECTION gChoreSection;
bool gChoreSectionReady = false;

UINT_PTR SetChoreTimer(std::uint32_t period) {
  const UINT_PTR id = SetTimer(nullptr, 0, period, &ChoreTimerProc);
  ClearBenignError({ERROR_INVALID_PARAMETER});
  return CHECK_NON_ZERO(id);
}

// Holds the chore section for one Do, and leaves it however the Do ends.
class ChoreSectionScope {
 public:
  ChoreSectionScope() { EnterCriticalSection(&gChoreSection); }
  ~ChoreSectionScope() { LeaveCriticalSection(&gChoreSection); }
  ChoreSectionScope(const ChoreSectionScope&) = delete;
  ChoreSectionScope& operator=(const ChoreSectionScope&) = delete;
};

// Copies of pointer arrays, so that chores and clients may leave their list while it is walked.
template <class T>
std::vector<T*> Snapshot(GenericArray& array) {
  std::vector<T*> items;
  for (std::int32_t n = 1; n <= array.NumItems(); ++n) items.push_back(*static_cast<T**>(array.At(n)));
  return items;
}

}  // namespace

GenericArray& ChoreList() {
  // Never destroyed: chores held by globals (the current sound channel's timer among them) go at exit,
  // after function-local statics, and still take themselves off the list.
  static GenericArray* list = NewPermanent<GenericArray>(static_cast<std::uint32_t>(sizeof(Chore*)), 0);
  return *list;
}

Chore::Chore(std::uint32_t period, bool repeat, std::int32_t value)
    : period(period), flags(static_cast<std::uint8_t>((repeat ? kRepeat : 0) | kRunning)), value(value) {
  timerId = SetChoreTimer(period);
  Chore* self = this;
  ChoreList().Insert(&self, ChoreList().NumItems(), 1);
}

Chore::~Chore() {
  // A suspended chore has no live timer but is still listed; it must not stay there once gone.
  if (IsRunning() && timerId != 0) KillTimer(nullptr, timerId);
  ClearBenignError({ERROR_INVALID_PARAMETER});
  Unlist();
}

void Chore::Unlist() {
  Chore* self = this;
  if (const std::int32_t n = ChoreList().Find(&self); n != 0) ChoreList().Delete(n, 1);
}

void Chore::Stop() {
  const bool live = IsRunning() && timerId != 0;
  flags &= static_cast<std::uint8_t>(~kRunning);
  if (live) {
    const BOOL killed = KillTimer(nullptr, timerId);
    ClearBenignError({ERROR_INVALID_PARAMETER});
    timerId = 0;
    Unlist();
    CHECK_CALL(killed);
    return;
  }
  // Stopping a suspended chore ends it too: it must not come back with ResumeAllChores.
  timerId = 0;
  Unlist();
}

void Chore::StopIfOneShot() {
  if (IsRunning() && !IsRepeating()) Stop();
}

UINT_PTR Chore::SetPeriod(std::uint32_t ms) {
  if (ms == period) return ms;
  period = ms;
  // Stopped chores have no timer, and suspended ones take the new period when they resume.
  if (timerId == 0 || !IsRunning()) return 0;
  const BOOL killed = KillTimer(nullptr, timerId);
  ClearBenignError({ERROR_INVALID_PARAMETER});
  timerId = 0;
  CHECK_CALL(killed);
  timerId = SetChoreTimer(ms);
  return timerId;
}

void Chore::KillTimerOnly() {
  if (IsRunning() && timerId != 0) KillTimer(nullptr, timerId);
  ClearBenignError({ERROR_INVALID_PARAMETER});
  flags &= static_cast<std::uint8_t>(~kRunning);
}

void Chore::RestartTimer() {
  // A timer of its own is never left behind, whichever state the chore was in.
  if (IsRunning() && timerId != 0) KillTimer(nullptr, timerId);
  ClearBenignError({ERROR_INVALID_PARAMETER});
  flags |= kRunning;
  timerId = SetChoreTimer(period);
}

void SuspendAllChores() {
  std::vector<Chore*> chores = Snapshot<Chore>(ChoreList());
  for (auto it = chores.rbegin(); it != chores.rend(); ++it) (*it)->KillTimerOnly();
}

void ResumeAllChores() {
  std::vector<Chore*> chores = Snapshot<Chore>(ChoreList());
  for (auto it = chores.rbegin(); it != chores.rend(); ++it) (*it)->RestartTimer();
}

Chore* FindChoreByTimer(UINT_PTR timerId) {
  GenericArray& list = ChoreList();
  for (std::int32_t n = list.NumItems(); n >= 1; --n) {
    Chore* chore = *static_cast<Chore**>(list.At(n));
    if (chore->GetTimerId() == timerId) return chore;
  }
  return nullptr;
}

void ChoreTimerProc(HWND, UINT, UINT_PTR timerId, DWORD) {
  if (!gChoreSectionReady) {
    InitializeCriticalSection(&gChoreSection);
    gChoreSectionReady = true;
  }
  Chore* chore = FindChoreByTimer(timerId);
  if (chore == nullptr || !chore->IsRunning()) return;
  // A counted chore is kept alive while its work runs, even when the work lets go of it.
  SmartRef<Chore> keep(chore->IsUnreferenced() ? nullptr : chore);
  try {
    ChoreSectionScope section;
    chore->Do();
    chore->StopIfOneShot();
  } catch (Exception* exception) {
    exception->Report(kAlertStop);
  }
}

void ChoreClientList::NotifyAll(Chore* chore) {
  std::vector<ChoreClient*> snapshot = Snapshot<ChoreClient>(clients);
  for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
    // A client removed by an earlier one in this round is not told.
    if (Contains(*it)) (*it)->ChoreFired(chore);
  }
}

void ChoreClientList::Toggle(ChoreClient* client) {
  if (const std::int32_t n = clients.Find(&client); n != 0)
    clients.Delete(n, 1);
  else
    clients.Insert(&client, clients.NumItems(), 1);
}

PeriodicChore::PeriodicChore(std::uint32_t interval)
    : Chore(interval, true, 0), interval(interval), lastTick(GetTickCount()) {}

void PeriodicChore::Restart() { lastTick = GetTickCount(); }

void PeriodicChore::Do() {
  auto left = static_cast<std::int32_t>(interval + lastTick - GetTickCount());
  if (left < 1) {
    lastTick = GetTickCount();
    clients.NotifyAll(this);
    left = static_cast<std::int32_t>(interval + lastTick - GetTickCount());
  }
  SetPeriod(left > 0 ? static_cast<std::uint32_t>(left) : 0);
}

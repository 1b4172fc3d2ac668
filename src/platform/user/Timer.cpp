#include "platform/user/Timer.h"

#include <algorithm>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/kernel/System.h"
#include "platform/user/WindowTree.h"
#include "platform/user/QueueInternals.h"
#include "platform/user/TimerInternals.h"

namespace platform::user {

namespace {

struct Timer {
  HWND window;
  UINT_PTR id;
  UINT period;
  TIMERPROC procedure;
  DWORD due;       // next firing
  bool ready;      // a WM_TIMER is pending: there is never more than one
  DWORD readyAt;   // when the pending one fell due, which orders the pending ones
  unsigned long long serial;
};

struct Timers {
  std::vector<Timer> list;
  UINT_PTR nextThreadId = 1;
  unsigned long long nextSerial = 0;
};

// Never destroyed: program objects kept in globals (a sound channel's chore) kill their timers in the
// exit handlers, in whatever order those run.
Timers& TheTimers() {
  static auto* timers = new Timers;
  return *timers;
}

bool Reached(DWORD now, DWORD when) { return static_cast<std::int32_t>(now - when) >= 0; }

void MarkDue() {
  const DWORD now = GetTickCount();
  for (Timer& t : TheTimers().list) {
    if (!t.ready && Reached(now, t.due)) {
      t.ready = true;
      t.readyAt = t.due;
      // Ticks missed while the program was busy collapse into this one.
      t.due = now + t.period;
    }
  }
}

Timer* FindTimer(HWND window, UINT_PTR id) {
  for (Timer& t : TheTimers().list) {
    if (t.window == window && t.id == id) return &t;
  }
  return nullptr;
}

}  // namespace

bool TakeDueTimer(HWND filter, bool remove, MSG* msg) {
  MarkDue();
  Timer* best = nullptr;
  for (Timer& t : TheTimers().list) {
    if (!t.ready || !MatchesWindowFilter(t.window, filter)) continue;
    if (best == nullptr) {
      best = &t;
      continue;
    }
    const auto later = static_cast<std::int32_t>(t.readyAt - best->readyAt);
    if (later < 0 || (later == 0 && t.serial < best->serial)) best = &t;
  }
  if (best == nullptr) return false;
  *msg = MSG{best->window, WM_TIMER, best->id, reinterpret_cast<LPARAM>(best->procedure), GetTickCount(), {0, 0}};
  if (remove) best->ready = false;
  return true;
}

DWORD NextTimerDelay(HWND filter) {
  const DWORD now = GetTickCount();
  DWORD delay = 0xFFFFFFFF;
  for (const Timer& t : TheTimers().list) {
    if (!MatchesWindowFilter(t.window, filter)) continue;
    if (t.ready || Reached(now, t.due)) return 0;
    delay = std::min(delay, t.due - now);
  }
  return delay;
}

bool IsTimerProcedure(HWND window, UINT_PTR id, LPARAM procedure) {
  const Timer* t = FindTimer(window, id);
  return t != nullptr && t->procedure != nullptr && reinterpret_cast<LPARAM>(t->procedure) == procedure;
}

void KillWindowTimers(HWND window) {
  std::erase_if(TheTimers().list, [&](const Timer& t) { return t.window == window; });
}

void ResetTimers() { TheTimers() = Timers{}; }

}  // namespace platform::user

using namespace platform::user;

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
  if (window != nullptr && Find(window) == nullptr) return 0;
  elapse = std::clamp(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  Timers& timers = TheTimers();
  Timer* existing = nullptr;
  if (window != nullptr || id != 0) existing = FindTimer(window, id);
  if (existing == nullptr) {
    if (window == nullptr) {
      // A timer without a window is known by an id of its own, never one still in use.
      do {
        id = timers.nextThreadId++;
      } while (id == 0 || FindTimer(nullptr, id) != nullptr);
    }
    timers.list.push_back(Timer{window, id, 0, nullptr, 0, false, 0, timers.nextSerial++});
    existing = &timers.list.back();
  }
  existing->period = elapse;
  existing->procedure = procedure;
  existing->due = GetTickCount() + elapse;
  existing->ready = false;
  if (window != nullptr && id == 0) return 1;
  return id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  auto& list = TheTimers().list;
  const auto before = list.size();
  std::erase_if(list, [&](const Timer& t) { return t.window == window && t.id == id; });
  if (list.size() == before) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

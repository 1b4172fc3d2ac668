// Timed work: a chore's Do runs on the GUI thread every period, or once after it, driven by a thread
// timer of the window system. One timer callback serves every chore and runs each under one critical
// section. Chores can all be suspended and resumed around blocking sound work.
#pragma once

#include <cstdint>

#include "core/GenericArray.h"
#include "core/Smart.h"
#include "platform/kernel/WinTypes.h"

class Chore : public SmartImplementation {
  SMART_ABSTRACT(Chore)
 public:
  // Starts running at once: the first Do comes one period after construction.
  Chore(std::uint32_t period, bool repeat, std::int32_t value);
  ~Chore() override;
  Chore(const Chore&) = delete;
  Chore& operator=(const Chore&) = delete;

  // The chore's work.
  virtual void Do() = 0;

  // Ends the chore for good: no timer, out of the chore list.
  void Stop();
  void StopIfOneShot();
  // Changes the interval. A chore without a live timer only stores it (and answers 0); the same period
  // changes nothing (and answers it); otherwise the timer is set again and its id answered.
  UINT_PTR SetPeriod(std::uint32_t ms);
  // Suspension: the timer goes, the chore stays listed; RestartTimer sets a fresh one of the current period.
  void KillTimerOnly();
  void RestartTimer();

  std::uint32_t GetPeriod() const { return period; }
  std::int32_t GetValue() const { return value; }
  UINT_PTR GetTimerId() const { return timerId; }
  bool IsRepeating() const { return flags & kRepeat; }
  bool IsRunning() const { return flags & kRunning; }

 private:
  static constexpr std::uint8_t kRepeat = 1;
  static constexpr std::uint8_t kRunning = 2;
  void Unlist();

  std::uint32_t period;
  std::uint8_t flags;
  std::int32_t value;
  UINT_PTR timerId = 0;
};

// Every chore that is running or suspended, in order of creation (pointers, not counted).
GenericArray& ChoreList();
void SuspendAllChores();
void ResumeAllChores();
// The listed chore with that timer, looking from the most recent; null when none.
Chore* FindChoreByTimer(UINT_PTR timerId);
// The one timer callback of every chore.
void ChoreTimerProc(HWND window, UINT message, UINT_PTR timerId, DWORD time);

// An object told each time a periodic chore fires.
class ChoreClient {
 public:
  virtual void ChoreFired(Chore* chore) = 0;

 protected:
  ~ChoreClient() = default;
};

class ChoreClientList {
 public:
  ChoreClientList() = default;
  virtual ~ChoreClientList() = default;
  ChoreClientList(const ChoreClientList&) = delete;
  ChoreClientList& operator=(const ChoreClientList&) = delete;
  // Every client, the most recently added first. A client may toggle itself (or others) meanwhile.
  virtual void NotifyAll(Chore* chore);
  // Removes the client when present, else appends it.
  void Toggle(ChoreClient* client);
  bool Contains(ChoreClient* client) const { return clients.Find(&client) != 0; }
  std::int32_t NumClients() const { return clients.NumItems(); }

 private:
  GenericArray clients{sizeof(ChoreClient*), 0};
};

// A repeating chore that keeps its rate by the tick count, however late the timer comes: each tick
// notifies the clients only when the interval is over, and sets the timer for the time left.
class PeriodicChore : public Chore {
 public:
  explicit PeriodicChore(std::uint32_t interval);
  void Do() override;
  void ToggleClient(ChoreClient* client) { clients.Toggle(client); }
  // The interval starts again now.
  void Restart();
  std::uint32_t GetInterval() const { return interval; }

 private:
  ChoreClientList clients;
  std::uint32_t interval;
  DWORD lastTick;
};

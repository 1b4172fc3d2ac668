// The one message queue of the program: posted messages, then the quit request, then input, then WM_PAINT
// for windows that need painting, then WM_TIMER for timers that are due.
#include <deque>

#include "platform/backend/Backend.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/System.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/MenuData.h"
#include "platform/user/Message.h"
#include "platform/user/WindowSurface.h"
#include "platform/user/Timer.h"
#include "platform/user/WindowTree.h"

namespace platform::user {

namespace {

struct Queue {
  std::deque<MSG> posted;
  std::deque<InputMessage> input;
  bool quit = false;
  int quitCode = 0;
  DWORD lastTime = 0;
  POINT lastPoint{0, 0};
  unsigned long long changes = 0;  // bumped whenever input is added or dropped
  unsigned long long posts = 0;    // bumped whenever a message is posted
};

Queue& TheQueue() {
  static Queue queue;
  return queue;
}

WaitSource& SocketSource() {
  static WaitSource source;
  return source;
}

const HWND kThreadOnly = reinterpret_cast<HWND>(-1);

bool InRange(UINT message, UINT first, UINT last) {
  if (first == 0 && last == 0) return true;
  if (first <= last) return message >= first && message <= last;
  return message >= first || message <= last;
}

MSG Stamp(MSG msg) {
  msg.time = GetTickCount();
  POINT cursor{0, 0};
  GetCursorPos(&cursor);
  msg.pt = cursor;
  return msg;
}

// Turns input no window takes into a change of key state alone: the key or button it carries still goes
// up or down in its turn.
void KeepOnlyKeyState(InputMessage& input) {
  input.msg = MSG{};
  input.msg.message = WM_NULL;
  input.mouseMessage = 0;
  input.text.clear();
}

// Aims the input waiting in the queue where the system's state sends it now. The window under the mouse
// may be asked where the point lies, and what its procedure does may change the queue: each entry is aimed
// as a copy, and when the queue changed meanwhile, aiming starts again (a few times at most; entries
// already aimed cost nothing the second time).
void AimWaitingInput() {
  Queue& q = TheQueue();
  int restarts = 0;
  for (std::size_t k = 0; k < q.input.size(); ++k) {
    InputMessage entry = q.input[k];
    const unsigned long long changes = q.changes;
    const bool taken = AimQueuedInput(entry);
    if (q.changes != changes) {
      if (++restarts > 4) return;
      k = static_cast<std::size_t>(-1);
      continue;
    }
    if (!taken) KeepOnlyKeyState(entry);  // no window takes it now
    q.input[k] = std::move(entry);
  }
}

bool PeekQueued(MSG* out, HWND filter, UINT first, UINT last, bool remove) {
  Queue& q = TheQueue();
  for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
    if (MatchesWindowFilter(it->hwnd, filter) && InRange(it->message, first, last)) {
      *out = *it;
      if (remove) q.posted.erase(it);
      return true;
    }
  }
  if (q.quit) {
    *out = Stamp(MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0, 0, {0, 0}});
    if (remove) q.quit = false;
    return true;
  }
  AimWaitingInput();
  for (auto it = q.input.begin(); it != q.input.end();) {
    if (MatchesWindowFilter(it->msg.hwnd, filter) && InRange(it->msg.message, first, last)) {
      if (!remove) {
        *out = it->msg;
        return true;
      }
      InputMessage input = std::move(*it);
      q.input.erase(it);
      ++q.changes;
      if (input.virtualKey >= 0) SetKeyDown(input.virtualKey, input.down);
      if (!TakeInput(input)) {
        it = q.input.begin();  // the system's handling may have changed the queue
        continue;
      }
      *out = input.msg;
      return true;
    }
    ++it;
  }
  PaintFrames();
  if (InRange(WM_PAINT, first, last)) {
    HWND window = nullptr;
    if (FindPaintWindow(filter, &window)) {
      *out = Stamp(MSG{window, WM_PAINT, 0, 0, 0, {0, 0}});
      return true;
    }
  }
  if (InRange(WM_TIMER, first, last) && TakeDueTimer(filter, remove, out)) return true;
  return false;
}

bool Peek(MSG* out, HWND filter, UINT first, UINT last, bool remove) {
  if (out == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  if (filter != nullptr && filter != kThreadOnly && Find(filter) == nullptr) return false;
  if (!PeekQueued(out, filter, first, last, remove)) return false;
  if (remove) {
    TheQueue().lastTime = out->time;
    TheQueue().lastPoint = out->pt;
  }
  return true;
}

// Shows what changed, then lets the back end and the sockets deliver what arrived, waiting at most the
// given time for it.
void PollSources(DWORD timeoutMs) {
  Backend& backend = CurrentBackend();
  backend.PresentIfChanged();
  constexpr DWORD kSlice = 10;
  const DWORD slice = timeoutMs < kSlice ? timeoutMs : kSlice;
  if (SocketSource() && SocketSource()(slice) != SocketWait::kNothingWatched) {
    backend.PumpInput(0);
    return;
  }
  backend.PumpInput(slice);
}

}  // namespace

bool MatchesWindowFilter(HWND window, HWND filter) {
  if (filter == nullptr) return true;
  if (filter == kThreadOnly) return window == nullptr;
  return window == filter || IsChild(filter, window);
}

void QueueInput(const InputMessage& input) {
  Queue& q = TheQueue();
  InputMessage stamped = input;
  stamped.msg.time = GetTickCount();
  ++q.changes;
  // Only the latest position of a run of moves matters.
  if (input.msg.message == WM_MOUSEMOVE || input.msg.message == WM_NCMOUSEMOVE) {
    if (!q.input.empty()) {
      MSG& last = q.input.back().msg;
      if (last.message == input.msg.message && last.hwnd == input.msg.hwnd && last.wParam == input.msg.wParam) {
        last = stamped.msg;
        return;
      }
    }
  }
  q.input.push_back(stamped);
}

InputMessage* LastQueuedInput() {
  Queue& q = TheQueue();
  return q.input.empty() ? nullptr : &q.input.back();
}

void ForgetWindowMessages(HWND window) {
  Queue& q = TheQueue();
  std::erase_if(q.posted, [&](const MSG& m) { return m.hwnd == window; });
  // The window's input goes with it, but a key or button it carries still goes up or down in its turn.
  for (InputMessage& m : q.input) {
    if (m.msg.hwnd == window && m.virtualKey >= 0) KeepOnlyKeyState(m);
  }
  std::erase_if(q.input, [&](const InputMessage& m) { return m.msg.hwnd == window; });
  ++q.changes;
  KillWindowTimers(window);
}

void ResetQueue() { TheQueue() = Queue{}; }

}  // namespace platform::user

using namespace platform::user;

BOOL PeekMessageA(MSG* msg, HWND window, UINT first, UINT last, UINT remove) {
  const bool take = (remove & PM_REMOVE) != 0;
  if (Peek(msg, window, first, last, take)) return TRUE;
  PollSources(0);
  return Peek(msg, window, first, last, take) ? TRUE : FALSE;
}

BOOL GetMessageA(MSG* msg, HWND window, UINT first, UINT last) {
  if (msg == nullptr || (window != nullptr && window != kThreadOnly && Find(window) == nullptr)) {
    if (msg == nullptr) SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  for (;;) {
    if (Peek(msg, window, first, last, true)) return msg->message == WM_QUIT ? FALSE : TRUE;
    // A timer the filter leaves out must not keep the loop from sleeping.
    PollSources(InRange(WM_TIMER, first, last) ? NextTimerDelay(window) : 0xFFFFFFFF);
  }
}

BOOL WaitMessage() {
  MSG msg;
  while (!Peek(&msg, nullptr, 0, 0, false)) PollSources(NextTimerDelay(nullptr));
  return TRUE;
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE*, BOOL, DWORD milliseconds, DWORD wakeMask) {
  if (count != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  Queue& q = TheQueue();
  const unsigned long long posts = q.posts;
  const unsigned long long changes = q.changes;
  const DWORD start = GetTickCount();
  for (;;) {
    if ((wakeMask & QS_POSTMESSAGE) && q.posts != posts) return WAIT_OBJECT_0;
    if ((wakeMask & QS_INPUT) && q.changes != changes && !q.input.empty()) return WAIT_OBJECT_0;
    MSG msg;
    if ((wakeMask & QS_PAINT) && PeekQueued(&msg, nullptr, WM_PAINT, WM_PAINT, false)) return WAIT_OBJECT_0;
    if ((wakeMask & QS_TIMER) && PeekQueued(&msg, nullptr, WM_TIMER, WM_TIMER, false)) return WAIT_OBJECT_0;
    const DWORD waited = GetTickCount() - start;
    if (waited >= milliseconds) return WAIT_TIMEOUT;
    PollSources(milliseconds - waited);
  }
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window != nullptr && Find(window) == nullptr) return FALSE;
  TheQueue().posted.push_back(Stamp(MSG{window, message, wParam, lParam, 0, {0, 0}}));
  ++TheQueue().posts;
  return TRUE;
}

BOOL PostThreadMessageA(DWORD, UINT message, WPARAM wParam, LPARAM lParam) {
  return PostMessageA(nullptr, message, wParam, lParam);
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowData* w = Find(window);
  if (w == nullptr) return 0;
  return CallProcedure(w->procedure, window, message, wParam, lParam);
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (msg == nullptr) return 0;
  if (msg->message == WM_TIMER && msg->lParam != 0) {
    // Only the procedure the timer was set with is called, never an address a message merely carries.
    if (IsTimerProcedure(msg->hwnd, msg->wParam, msg->lParam)) {
      reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
      return 0;
    }
    if (msg->hwnd == nullptr) return 0;
  }
  if (msg->hwnd == nullptr) return 0;
  WindowData* w = Find(msg->hwnd);
  if (w == nullptr) return 0;
  return CallProcedure(w->procedure, msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int exitCode) {
  TheQueue().quit = true;
  TheQueue().quitCode = exitCode;
}

DWORD GetMessageTime() { return TheQueue().lastTime; }

DWORD GetMessagePos() {
  const POINT p = TheQueue().lastPoint;
  return static_cast<DWORD>(MAKELONG(p.x, p.y));
}

namespace platform {

void SetSocketWaitSource(WaitSource source) { user::SocketSource() = std::move(source); }

void ResetWindowSystemForTesting() {
  user::ResetWindows();
  user::ResetMenus();
  user::ResetClipboard();
  user::ResetQueue();
  user::ResetTimers();
  user::ResetInput();
  user::ResetActivation();
  user::ResetCursors();
}

}  // namespace platform

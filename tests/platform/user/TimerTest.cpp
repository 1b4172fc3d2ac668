// Timers on the virtual clock.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/screen/HeadlessBackend.h"
#include "platform/user/Timer.h"
#include "support/WindowFixture.h"

namespace {

using Timers = WindowFixture;

std::vector<std::vector<UINT_PTR>*> gFired;

void Record(HWND, UINT, UINT_PTR id, DWORD) {
  if (!gFired.empty()) gFired.back()->push_back(id);
}

TEST_F(Timers, FireInOrderOfDueTimeOnTheVirtualClock) {
  std::vector<UINT_PTR> fired;
  gFired.push_back(&fired);
  const UINT_PTR slow = SetTimer(nullptr, 0, 50, Record);
  const UINT_PTR fast = SetTimer(nullptr, 0, 20, Record);
  const UINT_PTR fastest = SetTimer(nullptr, 0, 0, Record);  // the minimum, 10 ms
  EXPECT_NE(slow, fast);
  Advance(9);
  Pump();
  EXPECT_TRUE(fired.empty());
  Advance(1);
  for (int i = 0; i < 6; ++i) {
    Pump();
    Advance(10);
  }
  // Due together, they go in the order they were set.
  const std::vector<UINT_PTR> expected = {fastest,       // 10
                                          fast, fastest,  // 20
                                          fastest,        // 30
                                          fast, fastest,  // 40
                                          slow, fastest,  // 50
                                          fast, fastest};  // 60
  EXPECT_EQ(fired, expected);
  // After a long wait each goes once, earliest due first.
  fired.clear();
  Advance(45);  // to 115: fastest was due at 70, fast at 80, slow at 100
  Pump();
  EXPECT_EQ(fired, (std::vector<UINT_PTR>{fastest, fast, slow}));
  gFired.pop_back();
}

TEST_F(Timers, ATimerLateForManyPeriodsHasOnlyOneTickPending) {
  HWND w = MakeTop({0, 0, 10, 10});
  Pump();
  SetTimer(w, 7, 10, nullptr);
  Advance(95);
  Pump();
  const auto ticks = log.Of(w, WM_TIMER);
  ASSERT_EQ(ticks.size(), 1u);
  EXPECT_EQ(ticks[0].wParam, 7u);
  Advance(10);
  Pump();
  EXPECT_EQ(log.Count(w, WM_TIMER), 2);
}

TEST_F(Timers, KillTimerRemovesAPendingTick) {
  HWND w = MakeTop({0, 0, 10, 10});
  Pump();
  SetTimer(w, 1, 10, nullptr);
  SetTimer(w, 2, 10, nullptr);
  Advance(10);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
  EXPECT_EQ(msg.wParam, 1u);
  EXPECT_TRUE(KillTimer(w, 1));
  EXPECT_FALSE(KillTimer(w, 1));
  Pump();
  const auto ticks = log.Of(w, WM_TIMER);
  ASSERT_EQ(ticks.size(), 1u);
  EXPECT_EQ(ticks[0].wParam, 2u);
}

TEST_F(Timers, SettingAnExistingTimerAgainRestartsIt) {
  HWND w = MakeTop({0, 0, 10, 10});
  Pump();
  EXPECT_EQ(SetTimer(w, 3, 100, nullptr), 3u);
  Advance(60);
  EXPECT_EQ(SetTimer(w, 3, 100, nullptr), 3u);
  Advance(60);
  Pump();
  EXPECT_EQ(log.Count(w, WM_TIMER), 0);
  Advance(40);
  Pump();
  EXPECT_EQ(log.Count(w, WM_TIMER), 1);
  EXPECT_EQ(SetTimer(reinterpret_cast<HWND>(0x99), 1, 10, nullptr), 0u);  // no such window
}

TEST_F(Timers, GetMessageWaitsForTheNextTimer) {
  std::vector<UINT_PTR> fired;
  gFired.push_back(&fired);
  // The idle back end moves the virtual clock on by the time the loop would wait.
  platform::SetBackend(std::make_unique<platform::HeadlessBackend>([this](DWORD ms) { Advance(ms); }));
  const UINT_PTR id = SetTimer(nullptr, 0, 250, Record);
  const DWORD start = now;
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  DispatchMessageA(&msg);
  EXPECT_EQ(fired, (std::vector<UINT_PTR>{id}));
  EXPECT_GE(now - start, 250u);
  EXPECT_LT(now - start, 260u);
  gFired.pop_back();
}

// A program object kept in a global made before the first timer, as a sound channel is: its timer goes
// in the exit handlers, after the timers' own statics were made and so after they would be destroyed.
struct TimerKeptUntilExit {
  ~TimerKeptUntilExit() {
    if (id != 0) KillTimer(nullptr, id);
  }
  UINT_PTR id = 0;
};
TimerKeptUntilExit gTimerKeptUntilExit;

TEST(TimersAtExit, ATimerKilledByAGlobalAtExitEndsTheProgramQuietly) {
  EXPECT_EXIT(
      {
        gTimerKeptUntilExit.id = SetTimer(nullptr, 0, 100, Record);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace

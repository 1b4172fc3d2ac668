#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/kernel/CriticalSection.h"

namespace {

bool TryFromOtherThread(CRITICAL_SECTION* section) {
  bool entered = false;
  std::thread([&] {
    entered = TryEnterCriticalSection(section);
    if (entered) LeaveCriticalSection(section);
  }).join();
  return entered;
}

TEST(CriticalSection, HolderEntersAgainAndOthersWaitUntilTheLastLeave) {
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  EnterCriticalSection(&section);
  EnterCriticalSection(&section);  // a chore that pumps messages runs another chore inside it
  EXPECT_EQ(section.RecursionCount, 2);
  EXPECT_FALSE(TryFromOtherThread(&section));
  LeaveCriticalSection(&section);
  EXPECT_FALSE(TryFromOtherThread(&section));
  LeaveCriticalSection(&section);
  EXPECT_TRUE(TryFromOtherThread(&section));

  // A thread that enters while the section is held goes on only after it is left.
  EnterCriticalSection(&section);
  std::atomic<bool> inside{false};
  std::thread waiter([&] {
    EnterCriticalSection(&section);
    inside = true;
    LeaveCriticalSection(&section);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(inside);
  LeaveCriticalSection(&section);
  waiter.join();
  EXPECT_TRUE(inside);

  // An unmatched leave does not unbalance the section.
  LeaveCriticalSection(&section);
  EXPECT_EQ(section.RecursionCount, 0);
  EXPECT_TRUE(TryFromOtherThread(&section));
  DeleteCriticalSection(&section);
}

}  // namespace

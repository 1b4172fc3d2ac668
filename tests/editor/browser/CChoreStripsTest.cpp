// The strips chore: the queue of thumbnail jobs and its slices of work on the test's clock.
#include <gtest/gtest.h>

#include <vector>

#include "editor/EditorTestSupport.h"
#include "editor/browser/CChoreStrips.h"
#include "platform/kernel/System.h"
#include "ui/ViewTestSupport.h"

namespace editor_test {
namespace {

class CChoreStripsTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    current = this;
    platform::SetClockForTesting([this] { return now; });
    // After the fixture's set-up, which starts the window system's timers afresh.
    chore = new CChoreStrips(~window.root, &Job);
  }
  void TearDown() override {
    chore->Stop();
    chore = nullptr;
    platform::SetClockForTesting({});
    current = nullptr;
    EditorTest::TearDown();
  }

  // Records the job, lets the clock run for its cost, and answers as told.
  static bool Job(View*, std::int32_t job, const Rect&) {
    current->ran.push_back(job);
    current->now += current->cost;
    if (current->reenter) current->chore->Run();
    return job == current->staleAt;
  }

  std::vector<std::int32_t> Queue() const {
    std::vector<std::int32_t> queue;
    for (std::int32_t n = 1; n <= chore->NumJobs(); ++n) queue.push_back(chore->JobAt(n));
    return queue;
  }

  static CChoreStripsTest* current;
  DWORD now = 50000;
  DWORD cost = 1;
  std::int32_t staleAt = -1;
  bool reenter = false;
  std::vector<std::int32_t> ran;
  TestWindow window{100, 100};
  SmartRef<CChoreStrips> chore;
};

CChoreStripsTest* CChoreStripsTest::current = nullptr;

TEST_F(CChoreStripsTest, AJobIsQueuedOnceAtTheEnd) {
  for (std::int32_t job : {3, 5, 3}) chore->AddJob(job);
  EXPECT_EQ(Queue(), (std::vector<std::int32_t>{5, 3}));
  EXPECT_EQ(chore->GetPeriod(), CChoreStrips::kPeriod);
  EXPECT_TRUE(chore->IsRepeating());
}

TEST_F(CChoreStripsTest, ASliceRunsTheQueueInOrderAndAStaleAnswerDropsTheRest) {
  for (std::int32_t job : {1, 2, 3, 4}) chore->AddJob(job);
  staleAt = 2;
  chore->Run();
  EXPECT_EQ(ran, (std::vector<std::int32_t>{1, 2}));
  EXPECT_TRUE(Queue().empty());
  // Dropping the queue is not a slice cut short: the period stays.
  EXPECT_EQ(chore->GetPeriod(), CChoreStrips::kPeriod);
  chore->AddJob(7);
  chore->Run();
  EXPECT_EQ(ran.back(), 7);
}

TEST_F(CChoreStripsTest, AnEmptyTickKeepsThePeriod) {
  chore->Run();
  EXPECT_TRUE(ran.empty());
  EXPECT_EQ(chore->GetPeriod(), CChoreStrips::kPeriod);
}

TEST_F(CChoreStripsTest, ALongJobEndsTheSliceAndTheRestFollowsAtOnce) {
  for (std::int32_t job : {1, 2, 3}) chore->AddJob(job);
  cost = 600;
  chore->Run();
  EXPECT_EQ(ran, (std::vector<std::int32_t>{1}));
  EXPECT_EQ(Queue(), (std::vector<std::int32_t>{2, 3}));
  EXPECT_EQ(chore->GetPeriod(), 1u);
  cost = 100;
  chore->Run();
  EXPECT_EQ(ran, (std::vector<std::int32_t>{1, 2, 3}));
}

TEST_F(CChoreStripsTest, ATickDuringAJobDoesNothingAndTheJobThatRanLeaves) {
  for (std::int32_t job : {1, 2}) chore->AddJob(job);
  reenter = true;
  cost = 600;
  chore->Run();
  // The nested tick ran nothing, and job 1 left the queue, not whatever was first.
  EXPECT_EQ(ran, (std::vector<std::int32_t>{1}));
  EXPECT_EQ(Queue(), (std::vector<std::int32_t>{2}));
}

}  // namespace
}  // namespace editor_test

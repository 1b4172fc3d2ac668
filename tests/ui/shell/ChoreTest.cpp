#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "core/Exception.h"
#include "core/Text1252.h"
#include "support/AlertRecorder.h"
#include "support/WindowFixture.h"
#include "ui/shell/Chore.h"

namespace {

class CountingChore : public Chore {
 public:
  CountingChore(std::uint32_t period, bool repeat) : Chore(period, repeat, 7) {}
  void Do() override {
    ++runs;
    if (work) work();
  }
  int runs = 0;
  std::function<void()> work;
};

class ChoreTest : public WindowFixture {
 protected:
  // Moves the clock on and runs every timer that fell due.
  void Run(DWORD ms) {
    Advance(ms);
    Pump();
  }
};

TEST_F(ChoreTest, RepeatingChoresRunEveryPeriodAndOneShotsRunOnceThenLeave) {
  SmartRef<CountingChore> repeating(new CountingChore(50, true));
  SmartRef<CountingChore> once(new CountingChore(30, false));
  EXPECT_EQ(repeating->GetValue(), 7);
  EXPECT_EQ(ChoreList().NumItems(), 2);
  Run(29);
  EXPECT_EQ(once->runs, 0);
  Run(1);
  EXPECT_EQ(once->runs, 1);
  EXPECT_FALSE(once->IsRunning());
  EXPECT_EQ(once->GetTimerId(), 0u);
  EXPECT_EQ(ChoreList().NumItems(), 1);
  Run(20);
  EXPECT_EQ(repeating->runs, 1);
  Run(50);
  Run(50);
  EXPECT_EQ(repeating->runs, 3);
  EXPECT_EQ(once->runs, 1);

  repeating->Stop();
  Run(100);
  EXPECT_EQ(repeating->runs, 3);
  EXPECT_EQ(ChoreList().NumItems(), 0);
  repeating->Stop();  // a second stop is harmless
}

TEST_F(ChoreTest, SetPeriodResetsTheTimerOnlyWhenItMust) {
  SmartRef<CountingChore> chore(new CountingChore(100, true));
  const UINT_PTR first = chore->GetTimerId();
  EXPECT_EQ(chore->SetPeriod(100), 100u);
  EXPECT_EQ(chore->GetTimerId(), first);

  Run(60);
  const UINT_PTR second = chore->SetPeriod(20);
  EXPECT_NE(second, 0u);
  EXPECT_EQ(chore->GetTimerId(), second);
  EXPECT_EQ(FindChoreByTimer(first), nullptr);
  Run(20);  // the new period counts from the change
  EXPECT_EQ(chore->runs, 1);

  chore->Stop();
  EXPECT_EQ(chore->SetPeriod(300), 0u);
  EXPECT_EQ(chore->GetPeriod(), 300u);
  EXPECT_EQ(chore->GetTimerId(), 0u);
}

TEST_F(ChoreTest, SuspendedChoresWaitAndResumeWithAFullPeriod) {
  SmartRef<CountingChore> a(new CountingChore(40, true));
  SmartRef<CountingChore> b(new CountingChore(70, false));
  Run(30);
  SuspendAllChores();
  EXPECT_FALSE(a->IsRunning());
  EXPECT_EQ(ChoreList().NumItems(), 2);
  // A tick that was already on its way for a suspended chore does nothing.
  ChoreTimerProc(nullptr, 0, a->GetTimerId(), 0);
  Run(500);
  EXPECT_EQ(a->runs + b->runs, 0);

  ResumeAllChores();
  EXPECT_TRUE(a->IsRunning() && b->IsRunning());
  Run(39);
  EXPECT_EQ(a->runs, 0);
  Run(1);
  EXPECT_EQ(a->runs, 1);
  Run(30);
  EXPECT_EQ(b->runs, 1);
  EXPECT_EQ(ChoreList().NumItems(), 1);
}

TEST_F(ChoreTest, ASuspendedChoreThatGoesAwayLeavesTheList) {
  SmartRef<CountingChore> kept(new CountingChore(40, true));
  SmartRef<CountingChore> dropped(new CountingChore(40, true));
  SuspendAllChores();
  dropped = nullptr;
  EXPECT_EQ(ChoreList().NumItems(), 1);
  kept->Stop();  // stopped while suspended: it must not come back
  ResumeAllChores();
  Run(100);
  EXPECT_EQ(kept->runs, 0);
  EXPECT_EQ(ChoreList().NumItems(), 0);
}

TEST_F(ChoreTest, AFailingChoreIsReportedAndRunsAgain) {
  AlertRecorder alerts;
  SmartRef<CountingChore> chore(new CountingChore(25, true));
  chore->work = [] { THROW_ERROR("Échec de la tâche"_cp); };
  Run(25);
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_NE(alerts.Alerts()[0].text.find("tâche"_cp), std::string::npos);
  Run(25);
  EXPECT_EQ(chore->runs, 2);
  EXPECT_TRUE(chore->IsRunning());
}

TEST_F(ChoreTest, AChoreThatLetsGoOfItselfFinishesItsRun) {
  SmartRef<CountingChore> chore(new CountingChore(10, false));
  CountingChore* raw = ~chore;
  raw->work = [&] { chore = nullptr; };
  Run(10);
  EXPECT_EQ(ChoreList().NumItems(), 0);
}

class RecordingClient : public ChoreClient {
 public:
  RecordingClient(std::vector<int>* order, int name, std::function<void()> action = {})
      : order(order), name(name), action(std::move(action)) {}
  void ChoreFired(Chore*) override {
    order->push_back(name);
    if (action) action();
  }

 private:
  std::vector<int>* order;
  int name;
  std::function<void()> action;
};

TEST_F(ChoreTest, PeriodicChoresKeepTheirRateByTheClock) {
  SmartRef<PeriodicChore> chore(new PeriodicChore(100));
  std::vector<int> order;
  RecordingClient slow(&order, 1, [this] { Advance(30); });
  RecordingClient second(&order, 2);
  chore->ToggleClient(&slow);
  chore->ToggleClient(&second);

  Run(100);
  EXPECT_EQ(order, (std::vector<int>{2, 1}));  // the last added first
  EXPECT_EQ(chore->GetPeriod(), 70u);          // the clients' 30 ms count against the next interval

  // A tick that comes early notifies nobody and waits for the time left.
  order.clear();
  Advance(40);
  chore->Do();
  EXPECT_TRUE(order.empty());
  EXPECT_EQ(chore->GetPeriod(), 30u);

  // Late ticks fire at once and re-arm for what is left of the next interval.
  chore->Restart();
  Advance(130);
  chore->Do();
  EXPECT_EQ(order.size(), 2u);
  EXPECT_EQ(chore->GetPeriod(), 70u);
}

TEST_F(ChoreTest, ClientListsToggle) {
  ChoreClientList list;
  std::vector<int> order;
  RecordingClient a(&order, 1);
  RecordingClient b(&order, 2, [&] { list.Toggle(&a); });  // removes the one that would come next
  list.Toggle(&a);
  list.Toggle(&b);
  list.Toggle(&b);
  list.Toggle(&b);
  EXPECT_EQ(list.NumClients(), 2);
  list.NotifyAll(nullptr);
  EXPECT_EQ(order, (std::vector<int>{2}));
  EXPECT_FALSE(list.Contains(&a));
}

}  // namespace

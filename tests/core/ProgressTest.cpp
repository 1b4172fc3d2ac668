#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/Progress.h"
#include "core/Seams.h"
#include "core/String.h"
#include "platform/kernel/System.h"
#include "support/Raised.h"

namespace {

struct Shown {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> progress;
  std::vector<std::string> captions;
  int broughtUp = 0;
  int opened = 0;
  int closed = 0;
  bool cancelled = false;
};
Shown* gShown = nullptr;

class RecordingDisplay : public ProgressDisplay, public SmartImplementation {
 public:
  void Open() override { ++gShown->opened; }
  void SetProgress(std::uint32_t done, std::uint32_t total) override { gShown->progress.emplace_back(done, total); }
  void SetCaption(const String& text) override {
    TextLock lock(text);
    gShown->captions.emplace_back(lock.Chars(), static_cast<std::size_t>(lock.Length()));
  }
  void BringUp() override { ++gShown->broughtUp; }
  void Refresh() override {}
  bool WasCancelled() override { return gShown->cancelled; }
  void Close() override { ++gShown->closed; }
};

class ProgressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gShown = &shown;
    SetProgressDisplayMaker([](const char*) -> SmartRef<ProgressDisplay> { return new RecordingDisplay(); });
    platform::SetClockForTesting([this] { return now; });
  }
  void TearDown() override {
    SetProgressDisplayMaker(nullptr);
    platform::SetClockForTesting(nullptr);
    Progress::Enable(true);
    gShown = nullptr;
  }
  Shown shown;
  DWORD now = 1000;
};

// Four outer steps, each divided by a nested range of ten: the bar moves by 1/40 per nested step and
// always shows the position before the step just announced.
TEST_F(ProgressTest, NestedRangesShareOneBar) {
  {
    Progress outer(4, "outer");
    for (int i = 0; i < 4; ++i) {
      outer.Step(1);
      Progress inner(10, "inner");
      for (int j = 0; j < 10; ++j) inner.Step(1);
    }
  }
  ASSERT_FALSE(shown.progress.empty());
  std::vector<std::uint32_t> fortieths;
  for (auto [done, total] : shown.progress)
    if (total == 40) fortieths.push_back(done);
  std::vector<std::uint32_t> expected;
  for (std::uint32_t outerStep = 0; outerStep < 4; ++outerStep) {
    for (std::uint32_t j = 0; j < 10; ++j) expected.push_back(outerStep * 10 + j);
    expected.push_back(outerStep * 10 + 10);  // the nested range's end
  }
  EXPECT_EQ(fortieths, expected);
  EXPECT_EQ(shown.opened, 1);
  EXPECT_EQ(shown.closed, 1);
  EXPECT_EQ(shown.broughtUp, 0);  // finished within 500 ms
  EXPECT_EQ(gProgressTotal, 1u);
}

TEST_F(ProgressTest, NestedRangeBeforeAnyOuterStepDoesNotMoveTheBar) {
  Progress outer(4, "outer");
  {
    Progress inner(10, "inner");
    for (int j = 0; j < 10; ++j) inner.Step(1);
  }
  for (auto [done, total] : shown.progress) EXPECT_EQ(done, 0u);
  outer.Step(1);
  outer.Step(1);
  EXPECT_EQ(shown.progress.back(), std::make_pair(1u, 4u));
}

TEST_F(ProgressTest, RangeNeverMovesBeyondItsSpan) {
  Progress outer(2, "outer");
  outer.Step(1);
  {
    Progress inner(2, "inner");
    for (int j = 0; j < 5; ++j) inner.Step(1);
  }
  outer.Update();
  EXPECT_EQ(shown.progress.back(), std::make_pair(1u, 2u));
}

TEST_F(ProgressTest, ShownAfterHalfASecondAndStoppedByStop) {
  Progress outer(3, "outer");
  outer.Step(1);
  EXPECT_EQ(shown.broughtUp, 0);
  now += 500;
  outer.Step(1);
  EXPECT_EQ(shown.broughtUp, 1);
  shown.cancelled = true;
  EXPECT_TRUE(dynamic_cast<UserCancelException*>(~Raised([&] { outer.Step(1); })));
}

TEST_F(ProgressTest, CancelledDialogIsReplacedByTheNextRange) {
  {
    Progress first(2, "first");
    shown.cancelled = true;
    Progress second(2, "second");  // opened while the cancelled dialog is current
    EXPECT_EQ(shown.opened, 2);
    shown.cancelled = false;
    second.Step(1);
  }
  EXPECT_EQ(shown.closed, 1);
  EXPECT_FALSE(gProgressDialog);
}

TEST_F(ProgressTest, WeightlessRangeCaptionCarriesItsStepCount) {
  Progress outer(2, "outer");
  Progress inner(3, "inner");  // no outer step in hand: no weight
  inner.SetCaption("Fichier ", 1);
  inner.SetCaption("Fichier ", 1);
  outer.SetCaption("Tout", 0);
  EXPECT_EQ(shown.captions, (std::vector<std::string>{"Fichier 1", "Fichier 2", "Tout"}));
}

TEST_F(ProgressTest, DisabledRangesOpenNothingAndIgnoreStop) {
  Progress::Enable(false);
  shown.cancelled = true;
  Progress range(3, "off");
  range.Step(1);
  EXPECT_EQ(shown.opened, 0);
  EXPECT_TRUE(shown.progress.empty());
}

TEST_F(ProgressTest, RangeOfNoStepsIsHarmless) {
  {
    Progress empty(0, "empty");
    empty.Step(1);
    Progress inner(5, "inner");
    inner.Step(1);
  }
  EXPECT_EQ(gProgressTotal, 1u);
}

}  // namespace

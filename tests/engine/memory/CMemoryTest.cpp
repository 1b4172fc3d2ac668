#include <gtest/gtest.h>

#include <optional>

#include "core/CoreState.h"
#include "core/Memory.h"
#include "engine/EngineState.h"
#include "engine/EngineTestSupport.h"
#include "engine/memory/CMemory.h"
#include "platform/gdi/WindowSystemCalls.h"
#include "platform/kernel/System.h"
#include "platform/user/MessageBox.h"
#include "support/AlertRecorder.h"

using namespace engine_test;

namespace {

class MemoryTest : public EngineTest {
 protected:
  void TearDown() override {
    platform::SetAvailableMemoryForTesting(std::nullopt);
    TheCoreState().allocationLimit = 0;
    EngineTest::TearDown();
  }
};

// The budget follows the screen's depth; memory below it is the user's call, memory below two million
// bytes stops the program.
TEST_F(MemoryTest, TheStartUpCheck) {
  struct Case {
    int bits;
    std::size_t available;
    int answer;  // the button the user presses, 0 for no question
    bool goesOn;
    std::uint32_t budget;
    UINT alert;  // the box's type, 0 for none
  } cases[] = {
      {8, 3000000, 0, true, 2536000, 0},
      {16, 5000000, 0, true, 4072000, 0},
      {24, 6000000, 0, true, 5608000, 0},
      {32, 8000000, 0, true, 7144000, 0},
      {32, 7000000, IDOK, true, 7144000, MB_ICONHAND | MB_OKCANCEL},
      {16, 2000000, IDCANCEL, false, 4072000, MB_ICONHAND | MB_OKCANCEL},
      {32, 1999999, 0, false, 0, MB_ICONHAND | MB_OK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bits << " bits, " << c.available << " bytes");
    ResetEngineState();
    platform::SetScreenFormat(c.bits, 800, 600);
    platform::SetAvailableMemoryForTesting(c.available);
    AlertRecorder alerts;
    if (c.answer) alerts.Answer({c.answer});
    EXPECT_EQ(CMemory::CheckStartupMemory(), c.goesOn);
    EXPECT_EQ(gMemoryBudget, c.budget);
    if (c.alert == 0) {
      EXPECT_TRUE(alerts.Alerts().empty());
      continue;
    }
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_EQ(alerts.Alerts()[0].type, c.alert);
    EXPECT_EQ(alerts.Alerts()[0].text, NumberedText(c.answer ? 401 : 400));

    platform::SetAvailableMemoryForTesting(100);
    EXPECT_TRUE(CMemory::CheckStartupMemory()) << "the check runs once";
    EXPECT_EQ(alerts.Alerts().size(), 1u);
  }
}

TEST_F(MemoryTest, TheLevelIsWithinTheThresholdUpToThree) {
  CMemory& memory = CMemory::Get();
  EXPECT_TRUE(memory.SetLevel(3));
  EXPECT_FALSE(memory.IsAboveThreshold());
  EXPECT_FALSE(memory.SetLevel(4));
  EXPECT_TRUE(memory.IsAboveThreshold());
  EXPECT_EQ(memory.GetLevel(), 4);
  memory.SetLevel(0);
}

TEST_F(MemoryTest, TheReserveHoldsTheBudgetOrWhatMemoryAllows) {
  AlertRecorder alerts;
  CMemory& memory = CMemory::Get();
  ResetEngineState();
  platform::SetAvailableMemoryForTesting(100000000);
  ASSERT_TRUE(CMemory::CheckStartupMemory());
  EXPECT_TRUE(memory.RefillReserve());
  EXPECT_EQ(memory.GetReserveSize(), gMemoryBudget);
  EXPECT_FALSE(memory.RefillReserve());
  EXPECT_EQ(memory.GetModes(), 0);

  memory.SetLevel(0);
  ResetEngineState();
  platform::SetScreenFormat(8, 800, 600);
  ASSERT_TRUE(CMemory::CheckStartupMemory());
  TheCoreState().allocationLimit = 1000000;
  platform::SetAvailableMemoryForTesting(800000);
  EXPECT_TRUE(memory.RefillReserve());
  EXPECT_EQ(memory.GetReserveSize(), 799500u);
  EXPECT_EQ(memory.GetModes(), 0);
  EXPECT_FALSE(gLastException);
}

}  // namespace

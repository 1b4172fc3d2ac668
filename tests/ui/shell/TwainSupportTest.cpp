#include <gtest/gtest.h>

#include <string>

#include "core/String.h"
#include "core/Text1252.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"
#include "ui/shell/DebugMessage.h"
#include "ui/shell/TwainSupport.h"
#include "graphics/SystemVersion.h"
#include "graphics/GraphicsState.h"

namespace {

struct FakeSource {
  TW_UINT16 rc = TWRC_NOTDSEVENT;
  TW_UINT16 answer = MSG_NULL;
  int calls = 0;
  const MSG* offered = nullptr;
};
FakeSource fake;

TW_UINT16 FakeEntry(TW_IDENTITY* origin, TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 kind, TW_UINT16 message,
                    TW_MEMREF data) {
  ++fake.calls;
  EXPECT_EQ(origin, &gTwainCurrent->application);
  EXPECT_EQ(destination, &gTwainCurrent->source);
  EXPECT_EQ(group, DG_CONTROL);
  EXPECT_EQ(kind, DAT_EVENT);
  EXPECT_EQ(message, MSG_PROCESSEVENT);
  auto* event = static_cast<TW_EVENT*>(data);
  fake.offered = static_cast<const MSG*>(event->pEvent);
  event->TWMessage = fake.answer;
  return fake.rc;
}

class TwainFilter : public ::testing::Test {
 protected:
  void SetUp() override {
    fake = FakeSource{};
    connection.DSM_Entry = &FakeEntry;
    // Outside the running program a loud message opens no window: its texts are only stored.
    gTwainLog = new DebugMessage(false);
    gDebugLog = String("");
  }
  void TearDown() override {
    gTwainState = kTwainIdle;
    gTwainCurrent = nullptr;
    gTwainLog = nullptr;
  }
  void Enable() {
    gTwainCurrent = &connection;
    gTwainState = kTwainSourceEnabled;
  }

  TwainConnection connection{};
  MSG message{nullptr, 0x0201, 1, 0x00140030, 0, {0, 0}};
};

TEST_F(TwainFilter, WithoutAnEnabledSourceEveryMessagePassesUntouched) {
  for (std::int32_t state : {kTwainIdle, kTwainTransferReady, kTwainCloseRequested}) {
    gTwainState = state;
    EXPECT_FALSE(TwainFilterMessage(&message));
  }
  EXPECT_EQ(fake.calls, 0);
  EXPECT_EQ(TextOf(gDebugLog), "");
}

TEST_F(TwainFilter, TheSourceTakesItsOwnEventsAndChangesTheState) {
  struct Case {
    TW_UINT16 rc;
    TW_UINT16 answer;
    bool taken;
    std::int32_t state;
    bool logged;
  };
  const Case cases[] = {
      {TWRC_NOTDSEVENT, MSG_NULL, false, kTwainSourceEnabled, false},
      {TWRC_DSEVENT, MSG_NULL, true, kTwainSourceEnabled, true},
      {TWRC_DSEVENT, MSG_XFERREADY, true, kTwainTransferReady, true},
      {TWRC_DSEVENT, MSG_CLOSEDSREQ, true, kTwainCloseRequested, true},
      {TWRC_SUCCESS, MSG_XFERREADY, true, kTwainSourceEnabled, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "rc " << c.rc << " answer " << c.answer);
    Enable();
    gDebugLog = String("");
    fake.rc = c.rc;
    fake.answer = c.answer;
    EXPECT_EQ(TwainFilterMessage(&message), c.taken);
    EXPECT_EQ(fake.offered, &message);
    EXPECT_EQ(gTwainState, c.state);
    EXPECT_EQ(gDebugLog.Length() > 0, c.logged);
    if (c.answer == MSG_CLOSEDSREQ) {
      EXPECT_EQ(TextOf(gDebugLog), std::string("Twain :Message : 513 WParam: 1 LParam: 1310768Résultat : 258"_cp));
    }
  }
}

TEST_F(TwainFilter, AFailingSourceOrAMissingConnectionIsAnAssertion) {
  Enable();
  fake.rc = TWRC_FAILURE;
  const SmartRef<Exception> failing = Raised([&] { TwainFilterMessage(&message); });
  EXPECT_EQ(RaisedText(failing), "twRC != TWRC_FAILURE");
  EXPECT_EQ(RaisedPlace(failing), "TwainSupport:531");
  gTwainCurrent = nullptr;
  const SmartRef<Exception> missing = Raised([&] { TwainFilterMessage(&message); });
  EXPECT_EQ(RaisedText(missing), "current != NULL");
  EXPECT_EQ(RaisedPlace(missing), "TwainSupport:506");
  // The alert shows the line, which is what a child can read out.
  AlertRecorder alerts;
  missing->Report(kAlertStop);
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_NE(alerts.Alerts()[0].text.find("506"), std::string::npos) << alerts.Alerts()[0].text;
}

TEST(Twain, ScanningIsOfferedExceptOnLimitedSystems) {
  TheGraphicsState().winVersion = Win31Only;
  EXPECT_FALSE(TwainAvailable());
  TheGraphicsState().winVersion = Win95;
  EXPECT_TRUE(TwainAvailable());
  TheGraphicsState().winVersion = 0;
}

}  // namespace

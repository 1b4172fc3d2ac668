#include <gtest/gtest.h>

#include <tuple>

#include "support/ui/ProgramFixture.h"
#include "platform/kernel/System.h"
#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"
#include "support/MessageLog.h"

namespace {

DWORD gNow = 0;
DWORD gStep = 0;

// Each message costs the clock gStep milliseconds.
LRESULT SlowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER || message == WM_LBUTTONDOWN) gNow += gStep;
  return DefWindowProcA(window, message, wParam, lParam);
}

// A modal window with a control inside it, and another framework window beside it, in the main window.
class ModalEventsTest : public ProgramFixture {
 protected:
  void MakeWindows() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &SlowProcedure;
    wc.lpszClassName = "Slow";
    RegisterClassA(&wc);
    modal = Make(gMainWindow, 10, 10);
    control = Make(modal, 5, 5);
    other = Make(gMainWindow, 300, 10);
  }
  HWND Make(HWND parent, int x, int y) {
    return CreateWindowExA(0, "Slow", "", WS_CHILD | WS_VISIBLE, x, y, 100, 100, parent, nullptr, nullptr, nullptr);
  }
  // Runs the body with the clock in the test's hands.
  void RunTimed(std::function<void()> body) {
    Run([&] {
      MakeWindows();
      gNow = 1000;
      platform::SetClockForTesting([] { return gNow; });
      Pump();
      body();
      platform::SetClockForTesting({});
      PostQuitMessage(0);
    });
  }
  HWND modal = nullptr;
  HWND control = nullptr;
  HWND other = nullptr;
};

}  // namespace

TEST_F(ModalEventsTest, ABatchEndsAfterTheMessageDuringWhichHalfASecondPassed) {
  RunTimed([&] {
    gStep = 200;
    for (int i = 0; i < 5; ++i) PostMessageA(modal, WM_USER, static_cast<WPARAM>(i), 0);
    MessageLog log;
    EXPECT_TRUE(ProcessModalEvents(modal));
    EXPECT_EQ(log.Count(modal, WM_USER), 3) << "at 0, 200 and 400 ms; the third ends past the deadline";
    MSG left;
    EXPECT_TRUE(PeekMessageA(&left, modal, WM_USER, WM_USER, PM_NOREMOVE));
    EXPECT_EQ(left.wParam, 3u);
    Pump();
  });
}

TEST_F(ModalEventsTest, AClickOutsideTheModalWindowIsLostAndEndsTheBatch) {
  RunTimed([&] {
    gStep = 0;
    MessageLog log;
    PostMessageA(control, WM_LBUTTONDOWN, 0, 0);
    PostMessageA(gMainWindow, WM_LBUTTONDOWN, 0, 0);
    PostMessageA(other, WM_LBUTTONDOWN, 0, 0);
    PostMessageA(modal, WM_USER, 0, 0);
    EXPECT_TRUE(ProcessModalEvents(modal));
    EXPECT_EQ(log.Count(control, WM_LBUTTONDOWN), 1) << "a direct child of the modal window";
    EXPECT_EQ(log.Count(gMainWindow, WM_LBUTTONDOWN), 1) << "the main window itself";
    EXPECT_EQ(log.Count(other, WM_LBUTTONDOWN), 0);
    EXPECT_EQ(log.Count(modal, WM_USER), 0) << "the batch ended at the lost click";
    EXPECT_TRUE(ProcessModalEvents(modal));
    EXPECT_EQ(log.Count(other, WM_LBUTTONDOWN), 0);
    EXPECT_EQ(log.Count(modal, WM_USER), 1);
    // Without a modal window nothing is filtered.
    PostMessageA(other, WM_LBUTTONDOWN, 0, 0);
    EXPECT_TRUE(ProcessModalEvents(nullptr));
    EXPECT_EQ(log.Count(other, WM_LBUTTONDOWN), 1);
  });
}

TEST_F(ModalEventsTest, ABatchAfterTheApplicationStoppedPostsTheQuitAndAnswersFalse) {
  RunTimed([&] {
    gStep = 0;
    PostMessageA(modal, WM_USER, 0, 0);
    gApplication->Quit(0);
    EXPECT_FALSE(ProcessModalEvents(modal));
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
  });
}

TEST_F(ModalEventsTest, AQuitArrivingDuringABatchEndsItAndStaysPostedWithItsCode) {
  RunTimed([&] {
    gStep = 0;
    MessageLog log;
    PostMessageA(modal, WM_USER, 0, 0);
    PostQuitMessage(7);
    EXPECT_FALSE(ProcessModalEvents(modal));
    EXPECT_EQ(log.Count(modal, WM_USER), 1) << "what came before the quit is handled";
    EXPECT_TRUE(IsApplicationRunning()) << "nobody asked the application to quit";
    for (int batch = 0; batch < 2; ++batch) {
      MSG quit;
      ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
      EXPECT_EQ(quit.wParam, 7u);
      EXPECT_FALSE(ProcessModalEvents(modal)) << "a later batch still finds the quit and leaves it";
    }
  });
}

TEST_F(ModalEventsTest, PaintsCanBePumpedAheadOfEverythingElse) {
  RunTimed([&] {
    gStep = 0;
    MessageLog log;
    PostMessageA(modal, WM_USER, 0, 0);
    InvalidateRect(other, nullptr, FALSE);
    PumpPaintMessages();
    EXPECT_EQ(log.Count(other, WM_PAINT), 1);
    EXPECT_EQ(log.Count(modal, WM_USER), 0);
    Pump();
  });
}

// A tracking loop pumps paints before it waits for the mouse: a quit met there must not be lost.
TEST_F(ModalEventsTest, AQuitMetWhilePumpingPaintsStaysPostedWithItsCode) {
  RunTimed([&] {
    gStep = 0;
    PostQuitMessage(5);
    PumpPaintMessages();
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    EXPECT_EQ(quit.wParam, 5u);
  });
}

TEST_F(ModalEventsTest, AMouseMoveCountsOnlyWhereTheMouseWasNotBefore) {
  RunTimed([&] {
    MSG msg;
    for (auto [x, y, moved] : {std::tuple{5, 6, true}, {5, 6, false}, {7, 6, true}}) {
      PostMessageA(modal, WM_MOUSEMOVE, 0, MAKELONG(x, y));
      EXPECT_EQ(HasMouseMoved(), moved) << x << "," << y;
      PeekMessageA(&msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE);
    }
    EXPECT_FALSE(HasMouseMoved()) << "nothing pending";
  });
}

namespace {
void ThrowingTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  ThrowError("Minuterie en panne", "TEST", 1);
}
}  // namespace

TEST_F(ModalEventsTest, AFailureWhileDispatchingIsShownAndTheBatchGoesOn) {
  RunTimed([&] {
    gStep = 0;
    MessageLog log;
    SetTimer(nullptr, 0, 0, &ThrowingTimer);
    gNow += 100;  // the timer is due
    PostMessageA(modal, WM_USER, 0, 0);
    EXPECT_TRUE(ProcessModalEvents(modal));
    EXPECT_EQ(log.Count(modal, WM_USER), 1);
  });
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text, "Caught Bad Error in ProcessModalEvents(4)");
}

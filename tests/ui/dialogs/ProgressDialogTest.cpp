#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ui/ControlTestSupport.h"
#include "support/DocumentBytes.h"
#include "core/Exception.h"
#include "core/ListData.h"
#include "core/Progress.h"
#include "core/String.h"
#include "platform/kernel/System.h"
#include "platform/user/Timer.h"
#include "support/Raised.h"
#include "ui/controls/Control.h"
#include "ui/controls/ProgressBar.h"
#include "ui/dialogs/ProgressDialog.h"
#include "ui/text/TextView.h"

namespace {

constexpr UINT kMarker = WM_USER + 77;

// Runs the program with a virtual clock that tests move by hand: the dialog's delays and poll interval
// are then exact. The clock starts at the real time, so that the program's own timers stay in order.
class ProgressDialogTest : public ControlsInWindow {
 protected:
  void InVirtualTime(const std::function<void()>& body) {
    InProgram([&] {
      now = GetTickCount();
      platform::SetClockForTesting([this] { return tick ? tick() : now; });
      body();
      platform::SetClockForTesting({});
    });
  }
  static ProgressDialog* Current() { return dynamic_cast<ProgressDialog*>(~gProgressDialog); }
  static bool Shown() { return Current() && Current()->GetFrame()->IsVisible(); }
  // A message that stays in the queue until a poll dispatches what is pending.
  static void Mark() { PostMessageA(gMainWindow, kMarker, 0, 0); }
  static bool Marked() {
    MSG msg;
    return PeekMessageA(&msg, gMainWindow, kMarker, kMarker, PM_NOREMOVE) != 0;
  }
  POINT StopPoint() {
    HWND button = Current()->GetStopButton()->GetOSControl()->window;
    RECT r;
    GetClientRect(button, &r);
    return OnScreen(button, r.right / 2, r.bottom / 2);
  }
  void InjectClick(POINT p) {
    platform::InjectMouseMove(p.x, p.y);
    platform::InjectMouseButton(p.x, p.y, platform::MouseButton::Left, true);
    platform::InjectMouseButton(p.x, p.y, platform::MouseButton::Left, false);
  }

  DWORD now = 0;
  std::function<DWORD()> tick;
};

TEST_F(ProgressDialogTest, HiddenForHalfASecondThenShownWithItsCaptionBarAndStop) {
  InVirtualTime([&] {
    const std::size_t windowsBefore = static_cast<std::size_t>(gApplication->GetWindows().NumItems());
    {
      Progress range(4, "Lecture d'objets");
      ASSERT_NE(Current(), nullptr);
      EXPECT_EQ(static_cast<std::size_t>(gApplication->GetWindows().NumItems()), windowsBefore + 1);
      EXPECT_EQ(Current()->GetFrame()->GetGlobalBounds(), Rect(150, 100, 550, 165));
      String caption;
      Current()->GetCaptionView()->GetText(&caption);
      EXPECT_EQ(TextOf(caption), "Lecture d'objets");
      now += 499;
      range.Step();
      EXPECT_FALSE(Shown()) << "an operation of less than half a second shows nothing";
      now += 1;
      range.Step();
      EXPECT_TRUE(Shown());
      EXPECT_EQ(Current()->GetBar()->GetFilledWidth(), 380 / 4) << "the position before the step announced";
      range.SetCaption("Objet ", 1);
      Current()->GetCaptionView()->GetText(&caption);
      EXPECT_EQ(TextOf(caption), "Objet ");
    }
    EXPECT_EQ(gProgressDialog, nullptr);
    EXPECT_EQ(static_cast<std::size_t>(gApplication->GetWindows().NumItems()), windowsBefore)
        << "the dialog closes with the outermost range";
  });
}

TEST_F(ProgressDialogTest, TheUserIsHeardAtMostEvery100Milliseconds) {
  InVirtualTime([&] {
    Progress range(100, "Travail");
    struct Case {
      DWORD advance;
      bool polled;
    };
    // The first report polls; then only reports 100 ms after the last poll do.
    const Case cases[] = {{0, true}, {0, false}, {99, false}, {1, true}, {50, false}, {60, true}};
    for (const Case& c : cases) {
      now += c.advance;
      Mark();
      range.Step();
      EXPECT_EQ(!Marked(), c.polled) << "after " << c.advance << " ms";
      Pump();
    }
  });
}

TEST_F(ProgressDialogTest, StopMakesTheNextStepRaiseAndTheNextOperationOpensAFreshDialog) {
  InVirtualTime([&] {
    SmartRef<ProgressDialog> first;
    const SmartRef<Exception> stopped = Raised([&] {
      Progress outer(2, "Travail");
      first = Current();
      outer.Step();
      Progress inner(10, "Partie");
      EXPECT_EQ(Current(), ~first) << "a nested range shares the dialog";
      now += 600;
      inner.Step();
      ASSERT_TRUE(Shown());
      InjectClick(StopPoint());
      now += 100;
      inner.Step();
      ADD_FAILURE() << "the step after Stop went on";
    });
    EXPECT_TRUE(dynamic_cast<UserCancelException*>(~stopped));
    EXPECT_TRUE(first->WasCancelled());
    EXPECT_FALSE(first->GetFrame()->IsVisible());
    EXPECT_EQ(gProgressDialog, nullptr);

    Progress next(3, "Encore");
    ASSERT_NE(Current(), nullptr);
    EXPECT_NE(Current(), ~first);
    EXPECT_FALSE(Current()->WasCancelled());
    now += 600;
    EXPECT_NO_THROW(next.Step());
  });
}

TEST_F(ProgressDialogTest, QuittingTheProgramDuringAnOperationStopsIt) {
  InVirtualTime([&] {
    const SmartRef<Exception> stopped = Raised([&] {
      Progress range(10, "Travail");
      now += 600;
      range.Step();
      PostMessageA(gMainWindow, WM_CLOSE, 0, 0);
      now += 100;
      range.Step();
      ADD_FAILURE() << "the operation went on after the quit";
    });
    EXPECT_TRUE(dynamic_cast<UserCancelException*>(~stopped));
    EXPECT_EQ(gProgressDialog, nullptr);
  });
}

TEST_F(ProgressDialogTest, NestedRangesMoveOneBar) {
  InVirtualTime([&] {
    Progress outer(4, "Travail");
    now += 500;
    for (int part = 0; part < 4; ++part) {
      outer.Step();
      Progress inner(10, "Partie");
      for (int step = 0; step < 10; ++step) {
        now += 100;
        inner.Step();
        EXPECT_EQ(Current()->GetBar()->GetFilledWidth(), 380 * (part * 10 + step) / 40) << part << " " << step;
      }
    }
    outer.Update();
    EXPECT_EQ(Current()->GetBar()->GetFilledWidth(), 380);
  });
}

TEST_F(ProgressDialogTest, StopClickedDuringARealDocumentReadCancelsIt) {
  SmartRef<ListData> list(new ListData(&String::classInfo));
  for (int n = 0; n < 2000; ++n) {
    SmartRef<String> text(new String("ligne"));
    list->Append(~text);
  }
  InVirtualTime([&] {
    const std::string bytes = document_testing::SaveDocument(list);
    // Time passes as the document is read; the user clicks "Stop" once the dialog has shown.
    int clicks = 0;
    bool clicking = false;
    tick = [&] {
      now += 2;
      if (!clicking && clicks == 0 && Shown()) {
        clicking = true;
        ++clicks;
        InjectClick(StopPoint());
        clicking = false;
      }
      return now;
    };
    SmartRef<ObjectFile> file;
    SmartRef<Smart> root = document_testing::ReadDocument(bytes, &file);
    tick = nullptr;
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(root, nullptr) << "the read stopped";
    EXPECT_TRUE(alerts.Alerts().empty()) << "a stop is not an error";
    EXPECT_EQ(gProgressDialog, nullptr);
  });
}

}  // namespace

#include <gtest/gtest.h>

#include "support/ui/ProgramFixture.h"
#include "ui/RecordingWindow.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "platform/user/Screen.h"
#include "ui/shell/WindowProcs.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Paint.h"
#include "support/Raised.h"
#include "ui/controls/Control.h"
#include "ui/text/TextStyle.h"
#include "support/ScreenPixels.h"

namespace {

// A view that enables one command, recording its sends.
class CommandView : public View {
 public:
  CommandView(View* parent, bool acceptsTarget)
      : View(parent, Rect(0, 0, 50, 50), kAnchorTopLeft, acceptsTarget, true) {}
  bool handles = true;
  int performed = 0;
};

// A command that the views that handle it perform, and the application too when it is willing.
class ViewOrAppCommand : public GenericSignal {
 public:
  int GetSignalStatus(Smart* watcher) override {
    if (auto* view = dynamic_cast<CommandView*>(CastSmart<View>(watcher))) return view->handles ? 0 : 3;
    return CastSmart<App>(watcher) && appHandles ? kCommandChecked : kCommandDisabled;
  }
  void Send(Smart* watcher) override {
    RequireEnabled(watcher, THIS_PLACE);
    if (auto* view = dynamic_cast<CommandView*>(CastSmart<View>(watcher))) {
      ++view->performed;
    } else {
      ++appPerformed;
    }
  }
  bool appHandles = false;
  int appPerformed = 0;
};

}  // namespace

using AppWindowsTest = ProgramFixture;

TEST_F(AppWindowsTest, AFloatingWindowIsShownButNeverBecomesTheFront) {
  InProgram([] {
    SmartRef<RecordingWindow> modal = OpenWindow(kFrameModal);
    EXPECT_TRUE(gApplication->IsFrontModal());
    SmartRef<RecordingWindow> palette = OpenWindow(kFrameFloating);
    EXPECT_TRUE(palette->IsVisible());
    EXPECT_EQ(gApplication->FrontWindow(), SmartRef<Window>(~modal));
    EXPECT_TRUE(gApplication->IsFrontModal());
    SmartRef<RecordingWindow> normal = OpenWindow(kFrameNormal);
    EXPECT_FALSE(gApplication->IsFrontModal());
  });
}

TEST_F(AppWindowsTest, ClosingTheFrontWindowFrontsTheNextNonFloatingOne) {
  InProgram([] {
    SmartRef<RecordingWindow> back = OpenWindow(kFrameModalPlain);
    SmartRef<RecordingWindow> front = OpenWindow(kFrameNormal);
    SmartRef<RecordingWindow> palette = OpenWindow(kFrameFloating);
    gApplication->CloseWindow(nullptr, 2);
    EXPECT_EQ(front->closeKinds, std::vector<int>{2});
    EXPECT_EQ(gApplication->FrontWindow(), SmartRef<Window>(~back)) << "the palette is passed over";
    EXPECT_TRUE(gApplication->IsFrontModal());
    EXPECT_EQ(gApplication->GetWindows().NumItems(), 2);
    back->Close();
    EXPECT_FALSE(gApplication->FrontWindow());
    EXPECT_FALSE(gApplication->IsFrontModal());
  });
}

TEST_F(AppWindowsTest, OnlyListedWindowsThatAgreeAreClosed) {
  InProgram([] {
    SmartRef<RecordingWindow> listed = OpenWindow();
    SmartRef<RecordingWindow> stranger(new RecordingWindow);
    gApplication->CloseWindow(~stranger, 2);
    EXPECT_TRUE(stranger->closeKinds.empty());
    listed->mayClose = false;
    gApplication->CloseWindow(~listed, 2);
    EXPECT_EQ(gApplication->GetWindows().NumItems(), 1);
    // A child window's own close button asks the same way.
    listed->mayClose = true;
    SendMessageA(HandleOf(*listed), WM_CLOSE, 0, 0);
    EXPECT_EQ(gApplication->GetWindows().NumItems(), 0);
  });
}

TEST_F(AppWindowsTest, AWindowThatRefusesKeepsTheProgramRunningWithEveryWindowOpen) {
  InProgram([&] {
    SmartRef<RecordingWindow> agrees = OpenWindow();
    SmartRef<RecordingWindow> refuses = OpenWindow();
    refuses->mayClose = false;
    SendMessageA(gMainWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsApplicationRunning());
    EXPECT_TRUE(gAppQuitting);
    EXPECT_EQ(gApplication->GetWindows().NumItems(), 2);
    EXPECT_EQ(refuses->closeKinds, std::vector<int>{2});
    EXPECT_TRUE(agrees->closeKinds.empty()) << "asked last first; the refusal stops there";
  });
}

TEST_F(AppWindowsTest, AWindowOpenedAgainIsListedOnceAndBroughtToTheFront) {
  InProgram([] {
    SmartRef<RecordingWindow> first = OpenWindow();
    SmartRef<RecordingWindow> second = OpenWindow();
    first->Open(true);
    EXPECT_EQ(gApplication->GetWindows().NumItems(), 2);
    EXPECT_EQ(gApplication->FrontWindow(), SmartRef<Window>(~first));
    first->mayClose = false;
    EXPECT_FALSE(gApplication->Quit(2));
    EXPECT_EQ(first->closeKinds, std::vector<int>{2}) << "asked once";
    first->mayClose = true;
    first->Close();
    EXPECT_EQ(gApplication->GetWindows().NumItems(), 1);
    EXPECT_EQ(gApplication->FrontWindow(), SmartRef<Window>(~second));
  });
}

TEST_F(AppWindowsTest, CommandsGoToTheDeepestWillingViewOfTheFrontWindowThenToTheApplication) {
  InProgram([] {
    SmartRef<RecordingWindow> window = OpenWindow();
    SmartRef<CommandView> outer(new CommandView(~window, true));
    window->AddSubview(~outer);
    SmartRef<CommandView> inner(new CommandView(~outer, true));
    outer->AddSubview(~inner);
    SmartRef<ViewOrAppCommand> command(new ViewOrAppCommand);

    gApplication->DoCommand(~command);
    EXPECT_EQ(inner->performed, 1);
    inner->handles = false;
    gApplication->DoCommand(~command);
    EXPECT_EQ(outer->performed, 1);
    outer->handles = false;
    EXPECT_EQ(gApplication->GetCommandStatus(~command), kCommandDisabled);
    gApplication->DoCommandIfHandled(~command);
    command->appHandles = true;
    EXPECT_EQ(gApplication->GetCommandStatus(~command), kCommandChecked);
    // A view sends through its window's notifier to the application.
    inner->SendCommand(~command);
    EXPECT_EQ(command->appPerformed, 1);
    EXPECT_EQ(inner->performed + outer->performed, 2);
  });
}

TEST_F(AppWindowsTest, KeysGoToTheFrontWindowFirst) {
  InProgram([&] {
    SmartRef<RecordingWindow> window = OpenWindow();
    SendMessageA(gMainWindow, WM_KEYDOWN, VK_LEFT, 0);
    window->takesKeys = false;
    SendMessageA(gMainWindow, WM_CHAR, 'z', 0);
    EXPECT_EQ(window->keys, (std::vector<int>{28, 'z'}));
    EXPECT_EQ(app->keys, std::vector<int>{'z'});
  });
}

// Clicks come through the screen: the child window's procedure, the application's tool, the window.
TEST_F(AppWindowsTest, TheFirstClickOnAnInactiveWindowOnlyActivatesIt) {
  InProgram([&] {
    SmartRef<RecordingWindow> first = OpenWindow();
    first->SetGlobalBounds(Rect(10, 10, 210, 110));
    SmartRef<RecordingWindow> second = OpenWindow();
    second->SetGlobalBounds(Rect(300, 10, 500, 110));
    Pump();
    // Apart, so that the second click is no double click.
    for (POINT at : {POINT{60, 70}, POINT{20, 30}}) {
      ClientToScreen(HandleOf(*first), &at);
      platform::InjectMouseButton(at.x, at.y, platform::MouseButton::Left, true);
      platform::InjectMouseButton(at.x, at.y, platform::MouseButton::Left, false);
      Pump();
    }
    EXPECT_EQ(gApplication->FrontWindow(), SmartRef<Window>(~first));
    ASSERT_EQ(first->downs.size(), 1u) << "the activating click is not passed on";
    EXPECT_EQ(first->downs[0].x, 20);
    EXPECT_EQ(first->downs[0].y, 30);
    EXPECT_EQ(first->downs[0].extra, 1);
  });
}

TEST_F(AppWindowsTest, AMoveWithAButtonHeldCountsOnlyInTheWindowHoldingTheCapture) {
  InProgram([&] {
    SmartRef<RecordingWindow> window = OpenWindow();
    Pump();
    HWND native = HandleOf(*window);
    window->moves.clear();
    SendMessageA(native, WM_MOUSEMOVE, MK_LBUTTON, MAKELONG(5, 6));
    EXPECT_TRUE(window->moves.empty());
    SetCapture(native);
    SendMessageA(native, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELONG(5, 6));
    SendMessageA(native, WM_LBUTTONUP, 0, MAKELONG(7, 8));
    EXPECT_EQ(GetCapture(), nullptr);
    SendMessageA(native, WM_MOUSEMOVE, 0, MAKELONG(9, 9));
    ASSERT_EQ(window->moves.size(), 3u);
    EXPECT_EQ(window->moves[0].extra, 1) << "Shift";
    EXPECT_EQ(window->moves[1].x, 7);
  });
}

// A control's notification reads as a click at the control's bottom-right corner; a scroll bar's as a
// click at its centre carrying the scroll code.
TEST_F(AppWindowsTest, ControlAndScrollNotificationsReachTheWindowAsClicks) {
  InProgram([&] {
    SmartRef<RecordingWindow> window = OpenWindow();
    HWND native = HandleOf(*window);
    HWND control = CreateWindowExA(0, "ChildWClass", "", WS_CHILD | WS_VISIBLE, 10, 20, 30, 40, native,
                                   reinterpret_cast<HMENU>(7), nullptr, nullptr);
    const LPARAM from = reinterpret_cast<LPARAM>(control);
    SendMessageA(native, WM_COMMAND, MAKELONG(7, 0), from);
    SendMessageA(native, WM_COMMAND, MAKELONG(7, 3), from);  // a notification the windows ignore
    gSuppressControlNotifications = true;
    SendMessageA(native, WM_COMMAND, MAKELONG(7, 0), from);
    gSuppressControlNotifications = false;
    SendMessageA(native, WM_VSCROLL, MAKELONG(5, 77), from);
    ASSERT_EQ(window->downs.size(), 2u);
    EXPECT_EQ(window->downs[0].x, 40);
    EXPECT_EQ(window->downs[0].y, 60);
    EXPECT_EQ(window->downs[1].x, 25);
    EXPECT_EQ(window->downs[1].y, 40);
    EXPECT_EQ(window->downModifiers, (std::vector<std::int32_t>{0, MAKELONG(5, 77)}));
    DestroyWindow(control);
  });
}

// Which notification codes a framework window takes as a click: a button's click, an edit field taking
// the focus, a list's selection change and a combo box's list dropping down; no other.
TEST_F(AppWindowsTest, OnlyFourControlNotificationCodesReadAsClicks) {
  InProgram([&] {
    SmartRef<RecordingWindow> window = OpenWindow();
    HWND native = HandleOf(*window);
    HWND control = CreateWindowExA(0, "ChildWClass", "", WS_CHILD | WS_VISIBLE, 10, 20, 30, 40, native,
                                   reinterpret_cast<HMENU>(7), nullptr, nullptr);
    const struct {
      WORD code;
      bool click;
    } cases[] = {{0, true},  {1, true},      {2, false},      {3, false},     {5, false},
                 {7, true},  {0x100, true},  {0x200, false},  {0x300, false}, {0x400, false}};
    for (const auto& c : cases) {
      const std::size_t before = window->downs.size();
      SendMessageA(native, WM_COMMAND, MAKELONG(7, c.code), reinterpret_cast<LPARAM>(control));
      EXPECT_EQ(window->downs.size() - before, c.click ? 1u : 0u) << "code " << c.code;
    }
    DestroyWindow(control);
  });
}

// An edit control asks its window for colours: those of the text style it names, one brush per colour.
TEST_F(AppWindowsTest, EditControlsTakeTheColoursOfTheirTextStyle) {
  InProgram([&] {
    SmartRef<RecordingWindow> window = OpenWindow();
    HWND native = HandleOf(*window);
    HWND edit = CreateWindowExA(0, "ChildWClass", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, native, nullptr, nullptr,
                                nullptr);
    HDC dc = GetDC(edit);
    auto ask = [&] {
      return reinterpret_cast<HGDIOBJ>(
          SendMessageA(native, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)));
    };
    EXPECT_EQ(ask(), nullptr) << "no style, no colours";

    SmartRef<TextStyle> style(new TextStyle(1, 12, 0, Color::FromRGB8(200, 0, 0), Color::FromRGB8(0, 0, 160)));
    SetPropA(edit, "TextStyle", static_cast<TextStyle*>(~style));
    HGDIOBJ brush = ask();
    ASSERT_NE(brush, nullptr);
    LOGBRUSH logical{};
    GetObjectA(brush, sizeof logical, &logical);
    EXPECT_EQ(logical.lbColor, RGB(0, 0, 160));
    EXPECT_EQ(GetTextColor(dc), RGB(200, 0, 0));
    EXPECT_EQ(ask(), brush) << "the same colour reuses the brush";

    style->SetBackColor(standardColors[kTransparentColor]);
    EXPECT_EQ(ask(), GetStockObject(NULL_BRUSH));
    RemovePropA(edit, "TextStyle");
    ReleaseDC(edit, dc);
    DestroyWindow(edit);
  });
}

TEST_F(AppWindowsTest, WindowsFollowTheProgramBecomingInactiveAndActive) {
  InProgram([] {
    SmartRef<RecordingWindow> window = OpenWindow();
    ASSERT_TRUE(window->IsActive());
    SendMessageA(gMainWindow, WM_ACTIVATEAPP, 0, 0);
    EXPECT_FALSE(gApplication->IsActive());
    EXPECT_FALSE(window->IsActive());
    SendMessageA(gMainWindow, WM_ACTIVATEAPP, 1, 0);
    EXPECT_TRUE(gApplication->IsActive());
    EXPECT_TRUE(window->IsActive());
  });
}

TEST_F(AppWindowsTest, ARealEditControlPaintsWithItsStylesBackground) {
  InProgram([&] {
    SmartRef<RecordingWindow> window = OpenWindow();
    HWND edit = CreateWindowExA(0, "EDIT", "abc", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, HandleOf(*window),
                                nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    SmartRef<TextStyle> style(new TextStyle(1, 12, 0, Color::FromRGB8(0, 0, 0), Color::FromRGB8(0, 0, 160)));
    SetPropA(edit, "TextStyle", static_cast<TextStyle*>(~style));
    InvalidateRect(edit, nullptr, TRUE);
    Pump();
    POINT inside{70, 20};
    ClientToScreen(edit, &inside);
    EXPECT_EQ(ScreenPixel(inside), 0x0000A0u);
    RemovePropA(edit, "TextStyle");
    DestroyWindow(edit);
  });
}

// A real button, clicked on the screen: its notification reaches the window as a click, the button sends
// its command when the command is enabled for the window, and the command does its work there.
TEST_F(AppWindowsTest, AButtonSendsItsCommandToTheWindowOnlyWhenItIsEnabledThere) {
  InProgram([&] {
    SmartRef<RecordingWindow> window = OpenWindow();
    window->SetGlobalBounds(Rect(50, 50, 250, 150));
    Smart* watcher = static_cast<SmartImplementation*>(~window);
    String undoText("Annuler");
    SmartRef<PushButton> undo(
        new PushButton(~window, Rect(10, 10, 90, 30), &undoText, new WindowUndoCommand, watcher));
    window->AddSubview(~undo);
    String closeText("Fermer");
    SmartRef<PushButton> close(
        new PushButton(~window, Rect(100, 10, 180, 30), &closeText, new WindowCommand, watcher));
    window->AddSubview(~close);
    Pump();
    auto click = [&](int x, int y) {
      POINT at{x, y};
      ClientToScreen(HandleOf(*window), &at);
      platform::InjectMouseButton(at.x, at.y, platform::MouseButton::Left, true);
      platform::InjectMouseButton(at.x, at.y, platform::MouseButton::Left, false);
      Pump();
    };
    std::vector<std::string> log;
    click(50, 20);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(alerts.Alerts().empty()) << "a disabled command is not sent";
    window->AddUndoable(new RecordingTask("a", log));
    click(50, 20);
    EXPECT_EQ(log, std::vector<std::string>{"undo a"});
    click(140, 20);
    EXPECT_EQ(gApplication->GetWindows().NumItems(), 0) << "closed";
  });
}

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ui/ProgramFixture.h"
#include "ui/RecordingWindow.h"
#include "core/String.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/Window.h"
#include "support/Raised.h"
#include "ui/views/LFWDecorator.h"
#include "ui/shell/Task.h"
#include "ui/views/Window.h"

using WindowTest = ProgramFixture;

TEST_F(WindowTest, OpeningShowsTheWindowInTheMainWindowAndMakesItTheFront) {
  InProgram([] {
    SmartRef<RecordingWindow> first = OpenWindow();
    SmartRef<RecordingWindow> second = OpenWindow();
    EXPECT_EQ(gApplication->GetWindows().NumItems(), 2);
    EXPECT_EQ(gApplication->FrontWindow(), SmartRef<Window>(~second));
    for (RecordingWindow* window : {~first, ~second}) {
      EXPECT_TRUE(window->IsVisible());
      EXPECT_TRUE(IsWindowVisible(HandleOf(*window)));
      EXPECT_EQ(GetParent(HandleOf(*window)), gMainWindow);
      EXPECT_EQ(Window::FromHandle(HandleOf(*window)), SmartRef<Window>(window));
    }
    EXPECT_TRUE(second->IsActive());
    EXPECT_FALSE(first->IsActive());
    EXPECT_EQ(ZOrder().front(), HandleOf(*second));
  });
}

TEST_F(WindowTest, OpeningBeforeTheApplicationExistsDoesNothing) {
  InProgram([] {
    Window::SetWindowManager(nullptr);
    SmartRef<RecordingWindow> window = OpenWindow();
    EXPECT_FALSE(window->IsVisible());
    EXPECT_EQ(gApplication->GetWindows().NumItems(), 0);
    Window::SetWindowManager(~gApplication);
  });
}

TEST_F(WindowTest, SizesChangeOnlyWithPositiveComponentsAndKeepTheCorner) {
  InProgram([] {
    SmartRef<RecordingWindow> window = OpenWindow();
    window->SetGlobalBounds(Rect(30, 40, 230, 140));
    for (Point size : {Point(0, 50), Point(50, -1), Point(-5, -5)}) {
      window->SetSize(size.x, size.y);
      EXPECT_EQ(window->GetFrame()->GetGlobalBounds(), Rect(30, 40, 230, 140));
    }
    window->SetBounds(Rect(500, 500, 620, 580));
    EXPECT_EQ(window->GetFrame()->GetGlobalBounds(), Rect(30, 40, 150, 120)) << "only the size is taken";
    EXPECT_EQ(window->GetBounds(), Rect(0, 0, 120, 80));
    EXPECT_EQ(window->GetPosition(), Point(30, 40));
  });
}

TEST_F(WindowTest, TheUndoKeepsTheLastActionAndAlternatesBetweenUndoAndRedo) {
  InProgram([] {
    std::vector<std::string> log;
    SmartRef<RecordingWindow> window = OpenWindow();
    SmartRef<WindowUndoCommand> undo(new WindowUndoCommand);
    Smart* watcher = static_cast<SmartImplementation*>(~window);
    EXPECT_EQ(undo->GetSignalStatus(watcher), kCommandDisabled);
    window->UndoRedo();
    EXPECT_TRUE(gUndoNext) << "an empty undo changes nothing";

    window->AddUndoable(new RecordingTask("a", log));
    window->AddUndoable(new RecordingTask("b", log));
    EXPECT_EQ(undo->GetSignalStatus(watcher), kCommandEnabled);
    undo->Send(watcher);
    EXPECT_FALSE(gUndoNext);
    undo->Send(watcher);
    EXPECT_TRUE(gUndoNext);
    window->UndoRedo();
    EXPECT_EQ(log, (std::vector<std::string>{"undo b", "redo b", "undo b"}));
    EXPECT_FALSE(gUndoing);

    window->ClearUndo();
    EXPECT_TRUE(gUndoNext);
    EXPECT_FALSE(window->CanUndo());
  });
}

TEST_F(WindowTest, ClosingTakesTheWindowOutOfTheListHidesItAndLetsItGo) {
  InProgram([] {
    bool destroyed = false;
    HWND native = nullptr;
    {
      SmartRef<RecordingWindow> window = OpenWindow();
      window->destroyed = &destroyed;
      native = HandleOf(*window);
      SmartRef<WindowCommand> close(new WindowCommand);
      close->Send(static_cast<SmartImplementation*>(~window));
      EXPECT_EQ(gApplication->GetWindows().NumItems(), 0);
      EXPECT_FALSE(window->IsVisible());
      EXPECT_FALSE(IsWindowVisible(native));
      EXPECT_FALSE(destroyed) << "held here";
    }
    EXPECT_TRUE(destroyed);
    EXPECT_FALSE(IsWindow(native)) << "the native window goes with the window";
  });
}

// The native window can go first (with the main window, say); the window is still let go without a fault.
TEST_F(WindowTest, AWindowWhoseNativeWindowIsGoneIsLetGoQuietly) {
  InProgram([&] {
    bool destroyed = false;
    {
      SmartRef<RecordingWindow> window = OpenWindow();
      window->destroyed = &destroyed;
      window->Close();
      DestroyWindow(HandleOf(*window));
    }
    EXPECT_TRUE(destroyed);
  });
  EXPECT_TRUE(alerts.Alerts().empty());
}

// A window whose native window cannot be made raises that error and leaves nothing of itself behind (the
// leak checker sees what would be left).
TEST_F(WindowTest, AWindowWhoseNativeWindowCannotBeMadeRaisesAndLeavesNothing) {
  InProgram([] {
    HWND main = gMainWindow;
    gMainWindow = nullptr;  // a frame's native window needs the main window as its parent
    SmartRef<Exception> raised = Raised([] { RecordingWindow window; });
    // A plain window, not a kind of it, made with new.
    SmartRef<Exception> raisedPlain = Raised([] {
      SmartRef<Window> window(new Window(nullptr, kFrameNormal, false, false, Window::kDefaultWidth,
                                         Window::kDefaultHeight));
    });
    SmartRef<Exception> expected = Raised([] { CreateFrameWindow(nullptr, kFrameNormal); });
    gMainWindow = main;
    ASSERT_TRUE(raised);
    ASSERT_TRUE(raisedPlain);
    EXPECT_EQ(RaisedText(raised), RaisedText(expected)) << "the native window's own error reaches the caller";
    EXPECT_EQ(RaisedText(raisedPlain), RaisedText(expected));
  });
}

// Floating windows stay on top: a normal window shown goes right below the lowest of them.
TEST_F(WindowTest, FloatingWindowsStayAboveTheOthers) {
  InProgram([] {
    SmartRef<RecordingWindow> normal = OpenWindow();
    EXPECT_EQ(ZOrder().front(), HandleOf(*normal)) << "with no floating window a raised window goes to the top";
    SmartRef<RecordingWindow> paletteA = OpenWindow(kFrameFloating);
    SmartRef<RecordingWindow> paletteB = OpenWindow(kFramePalette);
    SmartRef<RecordingWindow> other = OpenWindow();
    EXPECT_EQ(ZOrder(), (std::vector<HWND>{HandleOf(*paletteB), HandleOf(*paletteA), HandleOf(*other),
                                           HandleOf(*normal)}));
    normal->Show(true);
    EXPECT_EQ(ZOrder()[2], HandleOf(*normal));
    paletteA->Show(true);
    EXPECT_EQ(ZOrder()[0], HandleOf(*paletteA)) << "a palette shown goes to the top";

    gForceTopmost = true;
    other->GetFrame()->BringToFront();
    EXPECT_EQ(ZOrder()[0], HandleOf(*other));
    gForceTopmost = false;

    // A native child of the main window that is no framework window counts as floating.
    HWND stranger = CreateWindowExA(0, "ChildWClass", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, gMainWindow,
                                    nullptr, nullptr, nullptr);
    SetWindowPos(stranger, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    normal->Show(true);
    EXPECT_EQ(ZOrder()[0], stranger);
    EXPECT_NE(ZOrder()[0], HandleOf(*normal));
    DestroyWindow(stranger);
  });
}

TEST_F(WindowTest, APaintOfTheNativeWindowRedrawsTheWindow) {
  InProgram([&] {
    SmartRef<RecordingWindow> window = OpenWindow();
    Pump();
    const int before = window->draws;
    InvalidateRect(HandleOf(*window), nullptr, FALSE);
    Pump();
    EXPECT_EQ(window->draws, before + 1);
    RECT update{};
    EXPECT_FALSE(GetUpdateRect(HandleOf(*window), &update, FALSE));
  });
}

TEST_F(WindowTest, FittingTakesThePreferredSizeOrKeepsTheSizeWithinTheLimits) {
  InProgram([] {
    SmartRef<RecordingWindow> window = OpenWindow();
    // A childless root view anchored on every edge has the limits {0, 0, 0, 0}: the preferred size is
    // none, which changes nothing, and fitting within the limits leaves no room either.
    window->FitSize(true);
    EXPECT_EQ(window->GetBounds().Size(), Point(200, 100));
    window->FitSize(false);
    EXPECT_EQ(window->GetBounds().Size(), Point(200, 100)) << "a size of 0 is refused";
  });
}

TEST_F(WindowTest, PlacementCentresAlignsStretchesAndCascadesInTheArea) {
  InProgram([] {
    LFWDecorator& decorator = LFWDecorator::Get();
    const Rect client = GetMainClientRect();
    EXPECT_EQ(decorator.GetArea(), Rect(client.left + 2, client.top + 2, client.right - 2, client.bottom - 2));
    decorator.SetArea(2, 2, 798, 598);
    EXPECT_EQ(decorator.GetCascadePoint(), Point(2, 20));

    SmartRef<RecordingWindow> window = OpenWindow();
    decorator.Place(*window, LFWDecorator::kCentre, LFWDecorator::kCentre);
    EXPECT_EQ(window->GetFrame()->GetGlobalBounds(), Rect(300, 250, 500, 350));
    decorator.Place(*window, LFWDecorator::kTopOrLeft, LFWDecorator::kBottomOrRight);
    EXPECT_EQ(window->GetFrame()->GetGlobalBounds(), Rect(598, 12, 798, 112)) << "below a small caption";

    Rect rect(10, 10, 20, 20);
    decorator.AlignRect(rect, LFWDecorator::kFill, LFWDecorator::kFill, false);
    EXPECT_EQ(rect, Rect(2, 2, 798, 598));
    rect = Rect(10, 10, 20, 20);
    decorator.AlignRect(rect, LFWDecorator::kBottomOrRight, LFWDecorator::kTopOrLeft, false);
    EXPECT_EQ(rect, Rect(2, 588, 12, 598));
    decorator.AlignRect(rect, 7, 9, false);
    EXPECT_EQ(rect, Rect(2, 588, 12, 598)) << "other modes leave the rectangle";

    SmartRef<RecordingWindow> other = OpenWindow();
    decorator.Cascade(*window);
    decorator.Cascade(*other);
    EXPECT_EQ(window->GetPosition(), Point(2, 20));
    EXPECT_EQ(other->GetPosition(), Point(2, 20));

    decorator.SetArea(100, 50, 600, 400);
    EXPECT_EQ(decorator.GetCascadePoint(), Point(100, 68));
  });
}

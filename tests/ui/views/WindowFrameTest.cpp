#include <gtest/gtest.h>

#include "support/ui/ProgramFixture.h"
#include "core/String.h"
#include "platform/gdi/WindowSystemCalls.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "ui/views/WindowFrame.h"

// Frames live inside the running program's main window.
using WindowFrameTest = ProgramFixture;

TEST_F(WindowFrameTest, NativeWindowsAreHiddenChildrenOfTheMainWindowNumberedFrom200) {
  InProgram([] {
    String longTitle("Une fen\xEAtre dont le titre a quarante ca.");
    ASSERT_EQ(longTitle.Length(), 40);
    SmartRef<WindowFrame> first(new WindowFrame(&longTitle, kFrameNormal, nullptr, false));
    SmartRef<WindowFrame> second(new WindowFrame(nullptr, kFrameFloating, nullptr, false));
    for (WindowFrame* frame : {~first, ~second}) {
      EXPECT_EQ(GetParent(frame->GetHandle()), gMainWindow);
      EXPECT_FALSE(frame->IsVisible());
    }
    EXPECT_EQ(GetDlgCtrlID(first->GetHandle()), 200);
    EXPECT_EQ(GetDlgCtrlID(second->GetHandle()), 201);
    SmartRef<String> title(first->GetTitle());
    EXPECT_EQ(TextOf(*title), "Une fen\xEAtre dont le titre a qua") << "cut to 31 characters";
    SmartRef<String> none(second->GetTitle());
    EXPECT_EQ(none->Length(), 0);
    EXPECT_EQ(GetWindowLongA(first->GetHandle(), GWL_STYLE) & 0xFFFF0000, 0x44C80000);
    EXPECT_TRUE(second->IsFloating());
    HWND gone = first->GetHandle();
    first = nullptr;
    EXPECT_FALSE(IsWindow(gone)) << "the native window goes with its frame";
  });
}

TEST_F(WindowFrameTest, KindsGiveStylesCaptionsAndLayers) {
  struct Case {
    int kind;
    DWORD style;
    int caption;
    bool modal, floating;
  } cases[] = {
      {0, 0x44C80000, 18, false, false}, {1, 0x44C00000, 18, true, false}, {2, 0x44400000, 18, true, false},
      {3, 0x44C80000, 10, false, true},  {4, 0x44C80000, 10, false, true}, {5, 0x44800000, 10, false, true},
      {9, 0x44800000, 10, false, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FrameKindStyle(c.kind), c.style) << c.kind;
    EXPECT_EQ(FrameKindCaptionHeight(c.kind), c.caption) << c.kind;
    EXPECT_EQ(IsModalKind(c.kind), c.modal) << c.kind;
    EXPECT_EQ(IsFloatingKind(c.kind), c.floating) << c.kind;
    EXPECT_EQ(IsNonFloatingKind(c.kind), !c.floating) << c.kind;
  }
}

TEST_F(WindowFrameTest, NestedDrawingTakesTheDeviceContextOnce) {
  InProgram([] {
    SmartRef<WindowFrame> frame(new WindowFrame(nullptr, kFrameNormal, nullptr, false));
    frame->Show(true);
    frame->BeginDraw(2);
    HDC dc = frame->GetDC();
    ASSERT_NE(dc, nullptr);
    frame->BeginDraw(2);
    EXPECT_EQ(frame->GetDC(), dc);
    frame->EndDraw();
    EXPECT_TRUE(frame->IsDrawing());
    EXPECT_EQ(frame->GetDC(), dc);
    frame->EndDraw();
    EXPECT_FALSE(frame->IsDrawing());
  });
}

// A window closed in the middle of its drawing (an exception unwinding past the port, say) gives its
// context back before its native window goes: nothing stays taken, and no system error is left pending
// for the program's next check to report.
TEST_F(WindowFrameTest, AFrameDestroyedWhileDrawingEndsTheDrawingFirst) {
  InProgram([] {
    for (const int mode : {1, 2}) {
      SmartRef<WindowFrame> frame(new WindowFrame(nullptr, kFrameNormal, nullptr, false));
      frame->Show(true);
      const std::size_t objects = platform::CountGdiObjects();
      frame->BeginDraw(mode);
      ASSERT_NE(frame->GetDC(), nullptr);
      SetLastError(0);
      frame = nullptr;
      EXPECT_EQ(GetLastError(), 0u) << mode;
      EXPECT_EQ(platform::CountGdiObjects(), objects) << mode;
    }
  });
}

TEST_F(WindowFrameTest, TheDeviceContextOutsideDrawingIsANotice) {
  InProgram([&] {
    SmartRef<WindowFrame> frame(new WindowFrame(nullptr, kFrameNormal, nullptr, false));
    EXPECT_EQ(frame->GetDC(), nullptr);
  });
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text.rfind("Not implemented.", 0), 0u);
}

TEST_F(WindowFrameTest, MovingPlacesTheClientAreaInMainWindowCoordinates) {
  InProgram([] {
    for (int kind : {kFrameNormal, kFrameModalPlain, kFrameFloating, kFrameFloatingBorder}) {
      SmartRef<WindowFrame> frame(new WindowFrame(nullptr, kind, nullptr, false));
      frame->MoveTo(Rect(40, 60, 240, 160));
      const Rect placed = frame->GetGlobalBounds();
      EXPECT_EQ(placed.left, 40) << kind;
      EXPECT_EQ(placed.top, 60) << kind;
      EXPECT_EQ(placed.right, 240) << kind;
      EXPECT_EQ(placed.bottom, 160) << kind;
      Rect bounds;
      frame->GetBounds(&bounds);
      EXPECT_EQ(bounds.Size(), Point(200, 100)) << kind;
      if (kind != kFrameModalPlain && kind != kFrameFloatingBorder) {
        RECT outer{};
        GetWindowRect(frame->GetHandle(), &outer);
        POINT clientTop{0, 0};
        ClientToScreen(frame->GetHandle(), &clientTop);
        EXPECT_GE(clientTop.y - outer.top, FrameKindCaptionHeight(kind)) << kind;
        EXPECT_LT(clientTop.y - outer.top, FrameKindCaptionHeight(kind) + 5) << "a caption of the kind's height";
      }
    }
  });
}

TEST_F(WindowFrameTest, APaletteGivesTheFocusBackToTheWindowThatHadIt) {
  InProgram([] {
    SmartRef<WindowFrame> normal(new WindowFrame(nullptr, kFrameNormal, nullptr, false));
    SmartRef<WindowFrame> palette(new WindowFrame(nullptr, kFramePalette, nullptr, false));
    normal->Show(true);
    palette->Show(true);
    normal->Activate(true);
    EXPECT_EQ(GetFocus(), normal->GetHandle());
    palette->Activate(true);
    EXPECT_EQ(GetFocus(), palette->GetHandle());
    SetFocus(gMainWindow);
    palette->Activate(false);
    EXPECT_EQ(GetFocus(), normal->GetHandle());
  });
}

TEST_F(WindowFrameTest, TheScreenDeviceDrawsWithoutAWindow) {
  InProgram([] {
    WindowFrame* screen = GetScreenDevice();
    EXPECT_EQ(screen, GetScreenDevice());
    EXPECT_EQ(screen->GetHandle(), nullptr);
    Rect bounds;
    screen->GetBounds(&bounds);
    EXPECT_EQ(bounds, Rect(0, 0, 800, 600));
    screen->BeginDraw(2);
    EXPECT_NE(screen->GetDC(), nullptr);
    screen->EndDraw();
    EXPECT_FALSE(screen->IsDrawing());
  });
}

TEST_F(WindowFrameTest, PointsMapFromTheClientAreaOfOneFrameToAnothers) {
  InProgram([] {
    SmartRef<WindowFrame> first(new WindowFrame(nullptr, kFrameNormal, nullptr, false));
    SmartRef<WindowFrame> second(new WindowFrame(nullptr, kFramePalette, nullptr, false));
    first->MoveTo(Rect(40, 60, 240, 160));
    second->MoveTo(Rect(100, 20, 200, 70));
    EXPECT_EQ(second->MapPoint(Point(5, 5), ~first), Point(-55, 45));
    EXPECT_EQ(first->MapPoint(Point(-55, 45), ~second), Point(5, 5));
    EXPECT_EQ(first->MapPoint(Point(5, 5), ~first), Point(5, 5));
    EXPECT_EQ(first->MapPoint(Point(5, 5), nullptr), Point(5, 5));
  });
}

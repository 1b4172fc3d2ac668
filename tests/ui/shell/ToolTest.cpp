#include <gtest/gtest.h>

#include <functional>

#include "core/Exception.h"
#include "platform/user/Cursor.h"
#include "support/Raised.h"
#include "support/WindowFixture.h"
#include "support/graphics/SurfaceDevice.h"
#include "ui/shell/Cursor.h"
#include "ui/shell/Tool.h"
#include "ui/ViewTestSupport.h"

namespace {

// Records each event of its gesture and answers from a rule of the event.
class Gesture : public Interactor {
 public:
  using Rule = std::function<bool(std::int32_t x, bool buttonDown)>;
  Gesture(CallLog* log, Rule rule) : log(log), rule(std::move(rule)) {}
  bool Track(View* window, std::int32_t x, std::int32_t y, std::int32_t modifiers, bool buttonDown) override {
    log->push_back("track " + std::to_string(x) + "," + std::to_string(y) + " m" + std::to_string(modifiers) +
                   (buttonDown ? " down" : " up") + (window ? "" : " nowindow"));
    return rule(x, buttonDown);
  }

 private:
  CallLog* log;
  Rule rule;
};

// A tool that starts a gesture on presses when it has a rule for one.
class GestureTool : public Tool {
 public:
  explicit GestureTool(CallLog* log) : log(log) {}
  SmartRef<Interactor> CreateInteractor(std::int32_t x, std::int32_t, std::int32_t, View*) override {
    log->push_back("create " + std::to_string(x));
    if (!rule) return nullptr;
    return SmartRef<Interactor>(new Gesture(log, rule));
  }
  Gesture::Rule rule;

 private:
  CallLog* log;
};

// Releases end the gesture; everything else keeps it.
const Gesture::Rule kUntilRelease = [](std::int32_t, bool buttonDown) { return buttonDown; };

class ToolTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    surface = new SurfaceDevice(100, 100);
    notifier = new WindowNotifier;
    window = new RootView(~surface, ~notifier);
    window->Show(true);
    window->SetParentActive(true);
    window->SetTargetFlag(true);
    pane = new ProbeView(~window, {10, 10, 50, 50}, &calls, "pane");
    window->AddSubview(~pane);
    tool = new GestureTool(&calls);
  }
  void TearDown() override {
    tool = nullptr;
    window = nullptr;
    WindowFixture::TearDown();
  }
  // What the application does with a press, and with a move or a release.
  void Press(std::int32_t x, std::int32_t y, std::int32_t modifiers = 0, std::int32_t clicks = 1) {
    tool->MouseMoved(x, y, modifiers, true, ~window);
    tool->MouseDown(x, y, modifiers, clicks, ~window);
  }
  void Move(std::int32_t x, std::int32_t y, bool buttonDown) { tool->MouseMoved(x, y, 0, buttonDown, ~window); }

  SmartRef<SurfaceDevice> surface;
  SmartRef<WindowNotifier> notifier;
  SmartRef<RootView> window;
  SmartRef<ProbeView> pane;
  SmartRef<GestureTool> tool;
  CallLog calls;
};

TEST_F(ToolTest, WithoutAGestureEventsReachTheViewsAsTheyCame) {
  calls.clear();
  Press(20, 30, kModifierShift, 2);
  Move(25, 35, false);
  EXPECT_EQ(calls, (CallLog{"pane:move 20,30", "create 20", "pane:down 20,30 m1 c2", "pane:move 25,35"}));
  EXPECT_EQ(pane->lastWindow, ~window);
}

TEST_F(ToolTest, AGestureTakesEveryEventFromThePressToTheRelease) {
  tool->rule = kUntilRelease;
  calls.clear();
  Press(20, 30, kModifierControl);
  Move(40, 30, true);
  Move(45, 31, false);  // the release
  Move(46, 31, false);  // the gesture is over: back to the views
  EXPECT_EQ(calls, (CallLog{"pane:move 20,30", "create 20", "track 20,30 m4 down", "track 40,30 m0 down",
                            "track 45,31 m0 up", "pane:move 46,31"}));
  EXPECT_EQ(tool->GetInteractor(), nullptr);
}

TEST_F(ToolTest, AGestureThatEndsOnItsPressIsDroppedAtOnce) {
  tool->rule = [](std::int32_t, bool) { return false; };
  calls.clear();
  Press(20, 30);
  Move(21, 30, true);
  EXPECT_EQ(calls, (CallLog{"pane:move 20,30", "create 20", "track 20,30 m0 down", "pane:move 21,30"}));
}

TEST_F(ToolTest, AnInteractorSetBeforeAnyPressGetsTheMovesAndThePresses) {
  calls.clear();
  tool->SetInteractor(new Gesture(&calls, [](std::int32_t x, bool) { return x < 90; }));
  Move(60, 60, false);
  Press(70, 70);
  Move(95, 70, false);
  Move(40, 40, false);
  EXPECT_EQ(calls, (CallLog{"track 60,60 m0 up", "track 70,70 m0 down", "track 70,70 m0 down", "track 95,70 m0 up",
                            "pane:move 40,40"}));
}

TEST_F(ToolTest, AFailingGestureStaysInPlaceAndAnInteractorMayHandOnTheGesture) {
  tool->rule = [](std::int32_t x, bool) -> bool {
    if (x == 99) THROW_ERROR("Geste impossible");
    return true;
  };
  Press(20, 20);
  EXPECT_EQ(RaisedText(Raised([&] { Move(99, 20, true); })), "Geste impossible");
  ASSERT_NE(tool->GetInteractor(), nullptr);

  // The gesture ends itself by handing the tool another interactor, and answers false: the new one stays.
  SmartRef<Interactor> next(new Gesture(&calls, kUntilRelease));
  tool->SetInteractor(new Gesture(&calls, [&](std::int32_t, bool) {
    tool->SetInteractor(~next);
    return false;
  }));
  Move(30, 30, true);
  EXPECT_EQ(tool->GetInteractor(), next);
}

TEST_F(ToolTest, EveryEventShowsTheToolsCursor) {
  const HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  ASSERT_NE(tool->GetCursor(), nullptr);
  EXPECT_EQ(tool->GetCursor()->GetHandle(), arrow);
  const HCURSOR cross = LoadCursorA(nullptr, MAKEINTRESOURCEA(32515));
  tool->SetCursor(new Cursor(cross));
  SetCursor(arrow);
  Move(5, 5, false);
  EXPECT_EQ(GetCursor(), cross);
  SetCursor(arrow);
  Press(5, 5);
  EXPECT_EQ(GetCursor(), cross);
}

}  // namespace

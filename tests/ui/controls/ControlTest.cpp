#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/ControlTestSupport.h"
#include "core/String.h"
#include "platform/user/Button.h"
#include "platform/user/Edit.h"
#include "platform/user/ScrollBar.h"
#include "platform/user/WindowTree.h"
#include "support/Raised.h"
#include "ui/shell/App.h"
#include "ui/shell/Tool.h"

namespace {

std::string ClassName(HWND window) { return platform::user::Find(window)->windowClass->name; }

std::string NativeText(HWND window) {
  char text[64] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

RECT PlaceInParent(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
  for (POINT& p : corners) ScreenToClient(GetParent(window), &p);
  return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

// Records the order in which a model tells its observers, and what.
class LoggingObserver : public ControllableObserver {
 public:
  LoggingObserver(std::vector<std::string>* log, std::string name) : log(log), name(std::move(name)) {}
  void RangeChanged(const Range* range) override {
    log->push_back(name + " range " + std::to_string(range->first) + "," + std::to_string(range->count) + "," +
                   std::to_string(range->command));
  }
  void TargetChanged(void*) override {
    log->push_back(name + " target");
    if (onTarget) onTarget();
  }
  std::function<void()> onTarget;

 private:
  std::vector<std::string>* log;
  std::string name;
};

// Records the presses it is given and passes them on.
class RecordingTool : public Tool {
 public:
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window) override {
    presses.push_back({x, y, modifiers, clicks});
    return Tool::MouseDown(x, y, modifiers, clicks, window);
  }
  struct Press {
    std::int32_t x, y, modifiers, clicks;
  };
  std::vector<Press> presses;
};

using Controls = ControlsInWindow;

}  // namespace

TEST(ControllableTest, ObserversAreToggledAndToldFromTheNewestToTheOldest) {
  SmartRef<TestModel> model(new TestModel);
  std::vector<std::string> log;
  LoggingObserver a(&log, "a"), b(&log, "b"), c(&log, "c");
  for (LoggingObserver* o : {&a, &b, &c}) model->ToggleObserver(o);
  model->ToggleObserver(&b);
  EXPECT_FALSE(model->IsObservedBy(&b)) << "a second toggle removes";
  model->ToggleObserver(&b);
  model->NotifyRange(10, 2, 1);
  model->NotifyObservers();
  EXPECT_EQ(log, (std::vector<std::string>{"b range 10,2,1", "c range 10,2,1", "a range 10,2,1", "b target",
                                           "c target", "a target"}));
}

TEST(ControllableTest, AnObserverThatLeavesWhileToldDoesNotMakeTheOthersMissTheirTurn) {
  SmartRef<TestModel> model(new TestModel);
  std::vector<std::string> log;
  LoggingObserver a(&log, "a"), b(&log, "b"), c(&log, "c");
  for (LoggingObserver* o : {&a, &b, &c}) model->ToggleObserver(o);
  c.onTarget = [&] { model->ToggleObserver(&c); };
  model->NotifyObservers();
  EXPECT_EQ(log, (std::vector<std::string>{"c target", "b target", "a target"}));
  EXPECT_EQ(model->NumObservers(), 2);
}

TEST(ControllableTest, QueryValueAsksForTheRangeFirst) {
  SmartRef<TestModel> model(new TestModel);
  model->values[1] = 42;
  EXPECT_EQ(model->QueryValue(1), 42);
  EXPECT_EQ(model->rangeQueries, 1);
}

TEST_F(Controls, EachKindMakesItsNativeControlInTheWindowWithTheNextChildId) {
  InWindow([&](ControlWindow& window) {
    SmartRef<TestModel> model(new TestModel);
    model->ranges[0] = {0, 10};
    model->ranges[1] = {0, 10};
    String text("Valider");
    struct Case {
      std::int32_t kind, command;
      const char* className;
      DWORD style;
    } cases[] = {
        {kControlPushButton, 0, "BUTTON", 0x50010000}, {kControlCheckBox, 0, "BUTTON", 0x50010002},
        {kControlScrollBar, 0, "SCROLLBAR", 0x50000001}, {kControlScrollBar, 1, "SCROLLBAR", 0x50000000},
        {kControlButton, 0, "BUTTON", 0x50010000},      {kControlOtherButton, 0, "BUTTON", 0x50010000},
    };
    std::int32_t expectedId = 1;
    for (const Case& c : cases) {
      const Rect frame(10, 20 + 30 * expectedId, 110, 42 + 30 * expectedId);
      SmartRef<Control> control(new Control(&window, frame, kAnchorTopLeft, c.kind, &text, ~model, c.command));
      const OSControl* native = control->GetOSControl();
      ASSERT_NE(native, nullptr);
      EXPECT_EQ(native->kind, c.kind);
      EXPECT_EQ(native->childId, expectedId) << c.kind;
      EXPECT_EQ(GetDlgCtrlID(native->window), expectedId);
      EXPECT_EQ(ClassName(native->window), c.className);
      EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(native->window, GWL_STYLE)), c.style) << c.kind;
      EXPECT_EQ(GetParent(native->window), window.GetFrame()->GetHandle());
      EXPECT_EQ(PlaceInParent(native->window), (RECT{frame.left, frame.top, frame.right, frame.bottom}));
      EXPECT_EQ(NativeText(native->window), "Valider");
      EXPECT_TRUE(model->IsObservedBy(~control));
      ++expectedId;
    }
  });
}

TEST_F(Controls, APopUpControlWithoutAMenuIsRefused) {
  InWindow([&](ControlWindow& window) {
    EXPECT_EQ(RaisedText(Raised([&] {
                SmartRef<Control> popUp(new Control(&window, Rect(10, 10, 100, 30), kAnchorTopLeft, kControlPopUp,
                                                    nullptr, nullptr, 0));
              })),
              "menu.Valid()");
  });
}

TEST_F(Controls, AButtonTextShowsOnlyItsFirst31Characters) {
  InWindow([&](ControlWindow& window) {
    String text("Enregistrer la page sous un nom!");  // 32
    text.Append("12345678");
    ASSERT_EQ(text.Length(), 40);
    SmartRef<RecordingSignal> signal(new RecordingSignal);
    SmartRef<PushButton> button(new PushButton(&window, Rect(10, 10, 200, 32), &text, ~signal, nullptr));
    EXPECT_EQ(NativeText(button->GetOSControl()->window), "Enregistrer la page sous un nom");
  });
}

TEST_F(Controls, ClickingAPushButtonSendsItsSignalToItsWatcherUnlessTheSignalIsDisabled) {
  InWindow([&](ControlWindow& window) {
    SmartRef<RecordingSignal> signal(new RecordingSignal);
    String text("OK");
    SmartRef<PushButton> button(new PushButton(&window, Rect(40, 40, 120, 62), &text, ~signal, &window));
    window.AddSubview(~button);
    Pump();
    ClickControl(*button);
    EXPECT_EQ(signal->sends, 1);
    EXPECT_EQ(signal->lastWatcher, static_cast<Smart*>(static_cast<View*>(&window)));

    signal->status = kCommandDisabled;
    ClickControl(*button);
    EXPECT_EQ(signal->sends, 1) << "a disabled signal is not sent";

    signal->status = kCommandChecked;
    ClickControl(*button);
    EXPECT_EQ(signal->sends, 2) << "a ticked signal is still sent";
  });
}

TEST_F(Controls, ADisabledPushButtonIgnoresClicksAndAForwardedPressAnswersFalse) {
  InWindow([&](ControlWindow& window) {
    SmartRef<RecordingSignal> signal(new RecordingSignal);
    SmartRef<PushButton> button(new PushButton(&window, Rect(40, 40, 120, 62), nullptr, ~signal, &window));
    window.AddSubview(~button);
    button->Enable(false);
    Pump();
    ClickControl(*button);
    EXPECT_FALSE(button->MouseDown(120, 62, 0, 1, &window));
    EXPECT_EQ(signal->sends, 0);
    button->Enable(true);
    ClickControl(*button);
    EXPECT_EQ(signal->sends, 1);
  });
}

// The view's right and bottom edges lie just outside the native button: a press there reaches the view,
// which hands it to the native button, so that a release over the button clicks it.
TEST_F(Controls, APressOnTheButtonsOuterEdgeIsTrackedByTheNativeButton) {
  InWindow([&](ControlWindow& window) {
    SmartRef<RecordingSignal> signal(new RecordingSignal);
    SmartRef<PushButton> button(new PushButton(&window, Rect(40, 40, 120, 62), nullptr, ~signal, &window));
    window.AddSubview(~button);
    Pump();
    HWND native = button->GetOSControl()->window;
    HWND frame = window.GetFrame()->GetHandle();
    const POINT edge = OnScreen(frame, 120, 62);
    ASSERT_EQ(WindowFromPoint(edge), frame);

    Press(edge);
    EXPECT_EQ(GetFocus(), native);
    EXPECT_EQ(GetCapture(), native) << "the window let the mouse go to the button";
    EXPECT_TRUE(SendMessageA(native, BM_GETSTATE, 0, 0) & BST_PUSHED);
    Release(edge);
    EXPECT_EQ(signal->sends, 0) << "released beside the button";

    SetFocus(frame);
    Press(edge);
    MoveTo(OnScreen(native, 40, 11));
    Release(OnScreen(native, 40, 11));
    EXPECT_EQ(signal->sends, 1);
  });
}

TEST_F(Controls, TheDefaultButtonStyleReachesTheNativeButton) {
  InWindow([&](ControlWindow& window) {
    SmartRef<PushButton> button(new PushButton(&window, Rect(40, 40, 120, 62), nullptr, nullptr, nullptr));
    button->SetStyle(1);
    EXPECT_EQ(button->GetButtonStyle(), 1);
    EXPECT_EQ(GetWindowLongA(button->GetOSControl()->window, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  });
}

TEST_F(Controls, ACheckBoxClickTogglesItAndGivesTheValueToItsTargetsCommand) {
  InWindow([&](ControlWindow& window) {
    SmartRef<TestModel> model(new TestModel);
    String text("Son");
    SmartRef<CheckBox> box(new CheckBox(&window, Rect(10, 10, 120, 30), kAnchorTopLeft, &text, ~model, 7));
    window.AddSubview(~box);
    Pump();
    model->sets.clear();
    for (std::int32_t expected : {1, 0, 1}) {
      ClickControl(*box);
      EXPECT_EQ(box->GetValue(), expected);
      ASSERT_FALSE(model->sets.empty());
      EXPECT_EQ(model->sets.back(), std::make_pair(7, expected));
    }
    EXPECT_EQ(model->sets.size(), 3u) << "one value per click";
  });
}

TEST_F(Controls, ACheckBoxKeepsItsRangeWhenItsModelChangesSize) {
  InWindow([&](ControlWindow& window) {
    SmartRef<TestModel> model(new TestModel);
    model->ranges[0] = {0, 40};
    SmartRef<CheckBox> box(new CheckBox(&window, Rect(10, 10, 120, 30), kAnchorTopLeft, nullptr, ~model, 0));
    EXPECT_EQ(RaisedText(Raised([&] { model->NotifyObservers(); })), "(nothing raised)");
    std::int32_t min = -1, max = -1;
    box->GetRange(&min, &max);
    EXPECT_EQ(min, 0);
    EXPECT_EQ(max, 1);
  });
}

TEST_F(Controls, AControlShowsItsModelsValueWhenItBecomesActive) {
  InWindow([&](ControlWindow& window) {
    SmartRef<TestModel> model(new TestModel);
    model->values[2] = 1;
    SmartRef<CheckBox> box(new CheckBox(&window, Rect(10, 10, 120, 30), kAnchorTopLeft, nullptr, ~model, 2));
    EXPECT_EQ(box->GetValue(), 0);
    window.AddSubview(~box);
    EXPECT_EQ(box->GetValue(), 1) << "the window is active";
    model->values[2] = 0;
    window.SetParentActive(false);
    EXPECT_EQ(box->GetValue(), 1);
    window.SetParentActive(true);
    EXPECT_EQ(box->GetValue(), 0);
  });
}

TEST_F(Controls, ScrollCodesMoveTheValueWithinTheRange) {
  InWindow([&](ControlWindow& window) {
    SmartRef<TestModel> model(new TestModel);
    model->ranges[0] = {0, 20};
    model->pages[0] = 5;
    SmartRef<Control> bar(new Control(&window, Rect(300, 0, 316, 200), kAnchorAll, kControlScrollBar, nullptr,
                                      ~model, 0));
    bar->TargetChanged(nullptr);
    struct Case {
      std::int32_t from;
      std::uint32_t code;
      std::int32_t to;
    } cases[] = {
        {4, SB_LINEUP, 3},       {0, SB_LINEUP, 0},        {4, SB_LINEDOWN, 5},      {20, SB_LINEDOWN, 20},
        {10, SB_PAGEUP, 5},      {3, SB_PAGEUP, 0},        {10, SB_PAGEDOWN, 15},    {18, SB_PAGEDOWN, 20},
        {2, SB_THUMBTRACK | (13u << 16), 13}, {2, SB_THUMBPOSITION | (40u << 16), 20},
        {9, SB_TOP, 0},          {9, SB_BOTTOM, 20},       {9, SB_ENDSCROLL, 9},
    };
    for (const Case& c : cases) {
      bar->SetValue(c.from);
      EXPECT_TRUE(bar->MouseDown(308, 100, static_cast<std::int32_t>(c.code), 1, &window));
      EXPECT_EQ(bar->GetValue(), c.to) << c.from << " code " << (c.code & 0xFFFF);
      EXPECT_EQ(model->values[0], c.to);
    }
  });
}

TEST_F(Controls, AScrollControlWithoutATargetCannotScroll) {
  InWindow([&](ControlWindow& window) {
    SmartRef<Control> bar(new Control(&window, Rect(300, 0, 316, 200), kAnchorAll, kControlScrollBar, nullptr,
                                      nullptr, 0));
    EXPECT_EQ(RaisedText(Raised([&] { bar->MouseDown(308, 100, SB_LINEDOWN, 1, &window); })),
              "Missing (NULL) value.");
  });
}

TEST_F(Controls, ClicksOnKindsTheFrameworkDoesNotHandleAreNoticedAndWorkGoesOn) {
  InWindow([&](ControlWindow& window) {
    SmartRef<Control> plain(new Control(&window, Rect(10, 10, 90, 30), kAnchorTopLeft, kControlButton, nullptr,
                                        nullptr, 0));
    EXPECT_TRUE(plain->MouseDown(90, 30, 0, 1, &window));
  });
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text.rfind("Not implemented.", 0), 0u);
}

TEST_F(Controls, RemakingTheNativeControlRejoinsTheTargetOnceWithTheNextId) {
  InWindow([&](ControlWindow& window) {
    SmartRef<TestModel> model(new TestModel);
    model->ranges[0] = {0, 10};
    SmartRef<Control> bar(new Control(&window, Rect(300, 0, 316, 200), kAnchorAll, kControlScrollBar, nullptr,
                                      ~model, 0));
    SmartRef<Control> other(new Control(&window, Rect(10, 10, 90, 30), kAnchorTopLeft, kControlPushButton,
                                        nullptr, nullptr, 0));
    HWND old = bar->GetOSControl()->window;
    bar->CreateOSControl(kControlScrollBar, nullptr, window.GetFrame());
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(bar->GetOSControl()->childId, 3);
    EXPECT_EQ(model->NumObservers(), 1);
    EXPECT_TRUE(model->IsObservedBy(~bar));
  });
}

TEST_F(Controls, AControlGoesWithItsNativeWindowAndLeavesItsTarget) {
  InWindow([&](ControlWindow& window) {
    SmartRef<TestModel> model(new TestModel);
    SmartRef<CheckBox> box(new CheckBox(&window, Rect(10, 10, 120, 30), kAnchorTopLeft, nullptr, ~model, 0));
    window.AddSubview(~box);
    HWND native = box->GetOSControl()->window;
    window.RemoveSubview(~box);
    box = nullptr;
    EXPECT_FALSE(IsWindow(native));
    EXPECT_EQ(model->NumObservers(), 0);
  });
}

TEST_F(Controls, TheNativeControlFollowsTheFrameWhenTheWindowIsResized) {
  InWindow([&](ControlWindow& window) {
    SmartRef<TestModel> model(new TestModel);
    model->ranges[0] = {0, 10};
    SmartRef<Control> bar(new Control(&window, Rect(304, 0, 320, 240), kAnchorTop | kAnchorBottom | kAnchorRight,
                                      kControlScrollBar, nullptr, ~model, 0));
    window.AddSubview(~bar);
    window.SetSize(400, 300);
    EXPECT_EQ(PlaceInParent(bar->GetOSControl()->window), (RECT{384, 0, 400, 300}));
  });
}

// The text control sets the alignment just before it remakes its edit field; any new control starts
// from the left again.
TEST_F(Controls, EditFieldsAreMultiLineWithTheAlignmentAskedForOrOneLinePasswordFields) {
  InWindow([&](ControlWindow& window) {
    auto style = [](const Control& control) {
      return static_cast<DWORD>(GetWindowLongA(control.GetOSControl()->window, GWL_STYLE));
    };
    String text("Bonjour");
    gEditAlignmentStyle = ES_RIGHT;
    SmartRef<Control> field(new Control(&window, Rect(10, 10, 200, 60), kAnchorAll, kControlEdit, &text, nullptr, 0));
    EXPECT_EQ(gEditAlignmentStyle, 0u);
    EXPECT_EQ(style(*field), 0x50011044u);
    EXPECT_EQ(NativeText(field->GetOSControl()->window), "Bonjour");

    gEditAlignmentStyle = ES_CENTER;
    field->CreateOSControl(kControlEdit, &text, window.GetFrame());
    EXPECT_EQ(style(*field), 0x50011045u);

    SmartRef<Control> password(new Control(&window, Rect(10, 70, 200, 90), kAnchorTopLeft, kControlEdit, nullptr,
                                           nullptr, 1));
    gEditAlignmentStyle = ES_CENTER;
    password->CreateOSControl(kControlEdit, nullptr, window.GetFrame());
    EXPECT_EQ(style(*password), 0x50010020u) << "one line, never aligned";
    EXPECT_EQ(password->GetValue(), 0);
  });
}

// The window procedures report a native control's click to the current tool as a press at the control:
// a button's at its bottom-right corner, a scroll bar's at its centre with the scroll code in the
// modifiers; the tool then passes it down the views to the control.
TEST_F(Controls, NativeNotificationsReachTheCurrentToolAsPressesAtTheControl) {
  InWindow([&](ControlWindow& window) {
    SmartRef<RecordingTool> tool(new RecordingTool);
    gApplication->SetTool(~tool);
    SmartRef<TestModel> model(new TestModel);
    model->ranges[0] = {0, 10};
    model->pages[0] = 3;
    SmartRef<RecordingSignal> signal(new RecordingSignal);
    SmartRef<PushButton> button(new PushButton(&window, Rect(40, 40, 120, 62), nullptr, ~signal, &window));
    SmartRef<Control> bar(new Control(&window, Rect(300, 10, 316, 210), kAnchorAll, kControlScrollBar, nullptr,
                                      ~model, 0));
    window.AddSubview(~button);
    window.AddSubview(~bar);
    bar->TargetChanged(nullptr);
    Pump();

    ClickControl(*button);
    ASSERT_EQ(tool->presses.size(), 1u);
    EXPECT_EQ(tool->presses[0].x, 120);
    EXPECT_EQ(tool->presses[0].y, 62);
    EXPECT_EQ(tool->presses[0].modifiers, 0);
    EXPECT_EQ(tool->presses[0].clicks, 1);
    EXPECT_EQ(signal->sends, 1);

    tool->presses.clear();
    Click(OnScreen(bar->GetOSControl()->window, 8, 195));  // the down arrow
    ASSERT_EQ(tool->presses.size(), 2u) << "the line step, then the end of the scroll";
    for (const auto& press : tool->presses) {
      EXPECT_EQ(press.x, 308);
      EXPECT_EQ(press.y, 110);
    }
    EXPECT_EQ(tool->presses[0].modifiers, SB_LINEDOWN);
    EXPECT_EQ(tool->presses[1].modifiers, SB_ENDSCROLL);
    EXPECT_EQ(model->values[0], 1);
  });
}

// Native controls under the framework's procedure, inside a running dialog: what reaches the framework,
// what the control's own procedure still sees, and how the procedure fails.
#include <gtest/gtest.h>

#include "ui/DialogTestSupport.h"
#include "support/ui/ProgramFixture.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Input.h"
#include "platform/user/Keyboard.h"
#include "platform/user/KeyState.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "support/MessageLog.h"
#include "support/Raised.h"
#include "ui/dialogs/Dialog.h"
#include "ui/dialogs/DialogSupport.h"

namespace {

// What the control's own procedure received.
std::vector<UINT> gProbeMessages;
std::vector<WPARAM> gProbeKeyDowns;

LRESULT ProbeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN || message == WM_CHAR || message == WM_LBUTTONDOWN || message == WM_MBUTTONDOWN ||
      message == WM_RBUTTONDOWN)
    gProbeMessages.push_back(message);
  if (message == WM_KEYDOWN) gProbeKeyDowns.push_back(wParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

constexpr Rect kControlFrame(20, 30, 120, 51);

class DialogSupportTest : public ProgramFixture {
 protected:
  // A running dialog with a native control of the class over a view of the same frame; the control is
  // subclassed and has the focus. Each body gets a dialog of its own, all in one run of the program.
  void InDialog(const char* controlClass, std::function<void()> body) { InDialogs({{controlClass, body}}); }
  void InDialogs(std::vector<std::pair<const char*, std::function<void()>>> bodies) {
    Run([&] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = &ProbeProcedure;
      wc.lpszClassName = "Probe";
      RegisterClassA(&wc);
      for (auto& [controlClass, body] : bodies) {
        Open(controlClass);
        body();
        Close();
      }
      PostQuitMessage(0);
    });
  }
  void Open(const char* controlClass) {
    gProbeMessages.clear();
    gProbeKeyDowns.clear();
    dialog = new Dialog(kFrameModal);
    under = new KeyField(~dialog, kControlFrame);
    under->takesEnter = true;
    dialog->AddSubview(~under);
    dialog->SetGlobalBounds(Rect(40, 40, 240, 140));
    dialog->Open(true);
    control = CreateWindowExA(0, controlClass, "", WS_CHILD | WS_VISIBLE, kControlFrame.left, kControlFrame.top,
                              kControlFrame.Width(), kControlFrame.Height(), dialog->GetFrame()->GetHandle(),
                              reinterpret_cast<HMENU>(7), nullptr, nullptr);
    original = reinterpret_cast<WNDPROC>(GetWindowLongA(control, GWL_WNDPROC));
    subClasser = std::make_unique<SubClasser>(control);
    SetFocus(control);
  }
  void Close() {
    if (subClasser) subClasser->Remove();
    subClasser.reset();
    DestroyWindow(control);
    if (!dialog->IsClosed()) dialog->Cancel();
    dialog = nullptr;
    under = nullptr;
  }
  void Poll() {
    for (int i = 0; i < 3 && dialog->Poll(); ++i) {
    }
  }
  // The control's point as a point of the screen.
  POINT OnScreen(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(control, &p);
    return p;
  }

  SmartRef<Dialog> dialog;
  SmartRef<KeyField> under;
  HWND control = nullptr;
  WNDPROC original = nullptr;
  std::unique_ptr<SubClasser> subClasser;
};

}  // namespace

TEST_F(DialogSupportTest, InstallingPointsThePropertyAtTheRecordAndRemovingPutsTheProcedureBack) {
  InDialog("Probe", [&] {
    EXPECT_EQ(GetPropA(control, "subClasser"), subClasser.get());
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongA(control, GWL_WNDPROC)), &SubClassProc);
    EXPECT_EQ(subClasser->GetPrevious(), original);
    subClasser->Remove();
    subClasser.reset();
    EXPECT_EQ(GetPropA(control, "subClasser"), nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongA(control, GWL_WNDPROC)), original);
    platform::InjectKey('A', true);
    platform::InjectText("a");
    Poll();
    EXPECT_EQ(gProbeMessages, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR})) << "the control has its keys again";
    EXPECT_TRUE(under->keys.empty());
  });
}

TEST_F(DialogSupportTest, TypedCharactersGoToTheFrameworkInsteadOfTheControl) {
  InDialog("EDIT", [&] {
    platform::InjectKey('A', true);
    platform::InjectText("a");
    platform::InjectKey('A', false);
    Poll();
    EXPECT_EQ(under->keys, std::vector<int>{'a'});
    EXPECT_EQ(GetWindowTextLengthA(control), 0) << "the edit field never saw the character";
  });
}

TEST_F(DialogSupportTest, DeleteArrivesAsABackspaceWithTheForwardFlagSetOnlyMeanwhile) {
  InDialog("Probe", [&] {
    Press(VK_DELETE, true);
    Poll();
    EXPECT_EQ(under->keys, std::vector<int>{8});
    EXPECT_EQ(under->forwardDeletes, std::vector<bool>{true});
    EXPECT_FALSE(gForwardDelete);
    EXPECT_TRUE(gProbeMessages.empty()) << "the control sees neither the Delete key nor the backspace";
  });
}

TEST_F(DialogSupportTest, ACtrlShortcutPostsItsMenuCommandAndOtherCtrlKeysStayTheControls) {
  InDialog("Probe", [&] {
    ASSERT_TRUE(gShortcutTable->AddShortcut(0x123, VkKeyScanA('Z')));
    MessageLog log;
    platform::InjectKey(VK_CONTROL, true);
    Press('Z');
    Press('Q');
    platform::InjectKey(VK_CONTROL, false);
    Poll();
    const auto commands = log.Of(gMainWindow, WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, 0x10123u) << "the command in the low word, 1 in the high word";
    EXPECT_EQ(commands[0].lParam, 0);
    EXPECT_EQ(gProbeKeyDowns, (std::vector<WPARAM>{VK_CONTROL, 'Q'})) << "Z is taken by its shortcut";
    EXPECT_TRUE(under->keys.empty()) << "the Ctrl characters below '0' are dropped";
  });
}

TEST_F(DialogSupportTest, TheKeypadEnterAcceptsTheDialogEvenWhereTheFieldTakesEnter) {
  struct Case {
    bool keypad;
    bool open;
    std::vector<int> keys;
  } cases[] = {{false, true, {13}}, {true, false, {}}};
  std::vector<std::pair<const char*, std::function<void()>>> bodies;
  for (const Case& c : cases) {
    bodies.push_back({"Probe", [&] {
                        SCOPED_TRACE(c.keypad);
                        Press(VK_RETURN, c.keypad);
                        Poll();
                        EXPECT_EQ(!dialog->IsClosed(), c.open);
                        EXPECT_FALSE(dialog->WasCancelled());
                        EXPECT_EQ(under->keys, c.keys);
                      }});
  }
  InDialogs(bodies);
}

TEST_F(DialogSupportTest, ButtonDownsReachTheFrameworkInTheWindowsCoordinatesFirst) {
  struct Case {
    platform::MouseButton button;
    UINT message;
    bool passedOn;
  } cases[] = {
      {platform::MouseButton::Left, WM_LBUTTONDOWN, true},
      {platform::MouseButton::Middle, WM_MBUTTONDOWN, true},
      {platform::MouseButton::Right, WM_RBUTTONDOWN, false},
  };
  std::vector<std::pair<const char*, std::function<void()>>> bodies;
  for (const Case& c : cases) {
    bodies.push_back({"Probe", [&] {
      SCOPED_TRACE(c.message);
      const POINT p = OnScreen(5, 7);
      platform::InjectMouseMove(p.x, p.y);
      platform::InjectMouseButton(p.x, p.y, c.button, true);
      platform::InjectMouseButton(p.x, p.y, c.button, false);
      Poll();
      const std::vector<KeyField::Click> expected{{kControlFrame.left + 5, kControlFrame.top + 7, 1}};
      EXPECT_EQ(under->clicks, expected);
      EXPECT_EQ(gProbeMessages, c.passedOn ? std::vector<UINT>{c.message} : std::vector<UINT>{});
    }});
  }
  InDialogs(bodies);
}

TEST_F(DialogSupportTest, AClickThatEndsTheControlIsNotPassedOnToIt) {
  InDialog("Probe", [&] {
    under->onClick = [&] {
      subClasser->Remove();
      subClasser.reset();
      DestroyWindow(control);
    };
    const POINT p = OnScreen(5, 7);
    platform::InjectMouseMove(p.x, p.y);
    platform::InjectMouseButton(p.x, p.y, platform::MouseButton::Left, true);
    platform::InjectMouseButton(p.x, p.y, platform::MouseButton::Left, false);
    Poll();
    EXPECT_EQ(under->clicks.size(), 1u);
    EXPECT_TRUE(gProbeMessages.empty());
  });
}

TEST_F(DialogSupportTest, AControlWithoutItsRecordReportsTheMissingValueAndSwallowsTheMessage) {
  InDialog("Probe", [&] {
    RemovePropA(control, "subClasser");
    SetLastError(87);
    EXPECT_EQ(SendMessageA(control, WM_CHAR, 'a', 0), 0);
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_NE(alerts.Alerts()[0].text.find("Missing (NULL) value."), std::string::npos) << alerts.Alerts()[0].text;
    EXPECT_TRUE(gProbeMessages.empty());
    EXPECT_TRUE(under->keys.empty());
    SetPropA(control, "subClasser", subClasser.get());
    alerts.Clear();
  });
}

TEST_F(DialogSupportTest, SubclassingAWindowThatIsGoneRaisesItsError) {
  InDialog("Probe", [&] {
    HWND gone = CreateWindowExA(0, "Probe", "", WS_CHILD, 0, 0, 10, 10, dialog->GetFrame()->GetHandle(), nullptr,
                                nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_EQ(RaisedText(Raised([&] { SubClasser failed(gone); })), "system error 1400");
  });
}

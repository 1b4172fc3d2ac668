// Mouse and keyboard input as the window system delivers it: scripted input streams and the messages
// they give, capture, activation by clicks, focus, key translation and accelerators.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Text1252.h"
#include "platform/user/Activation.h"
#include "platform/user/Cursor.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/Keyboard.h"
#include "support/WindowFixture.h"

namespace {

using platform::InjectKey;
using platform::InjectMouseButton;
using platform::InjectMouseMove;
using platform::InjectText;
using platform::MouseButton;

class Input : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "Clicks";
    ASSERT_NE(RegisterClassA(&wc), 0);
  }
  void TearDown() override {
    if (accelerators != nullptr) DestroyAcceleratorTable(accelerators);
    WindowFixture::TearDown();
  }

  // The program's loop: accelerators first, then translation and dispatch.
  void Loop(HWND main) {
    MSG msg;
    for (int count = 0; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++count) {
      ASSERT_LT(count, 1000) << "the queue never empties";
      if (accelerators != nullptr && TranslateAcceleratorA(main, accelerators, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

public:
  void SetAccelerators(HACCEL table) { accelerators = table; }
  void Wait(DWORD ms) { Advance(ms); }
  void Click(int x, int y) {
    InjectMouseButton(x, y, MouseButton::Left, true);
    InjectMouseButton(x, y, MouseButton::Left, false);
  }
  void Key(int key, bool extended = false) {
    InjectKey(key, true, extended);
    InjectKey(key, false, extended);
  }


 protected:
  HACCEL accelerators = nullptr;
};

struct Expected {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

bool IsInputMessage(UINT m) {
  return (m >= WM_KEYDOWN && m <= WM_SYSCHAR) || (m >= WM_MOUSEMOVE && m <= WM_MBUTTONDBLCLK) || m == WM_COMMAND;
}

constexpr LPARAM kAny = 0x7EADBEEF;  // lParam not compared

struct StreamCase {
  const char* name;
  bool doubleClickClass;
  std::function<void(Input&)> script;  // the window fills (0, 0)-(200, 200) of the screen
  std::vector<Expected> expected;      // the input messages it gets, moves left out
};

LPARAM KeyData(bool down, bool extended = false, bool wasDown = false) {
  std::uint32_t data = 1;
  if (extended) data |= 1u << 24;
  if (wasDown || !down) data |= 1u << 30;
  if (!down) data |= 1u << 31;
  return static_cast<LPARAM>(static_cast<std::int32_t>(data));
}

constexpr WORD kUndoCommand = 0x0305;

std::vector<StreamCase> StreamCases() {
  const LPARAM at = MAKELONG(50, 60);
  auto clicks = [](int gapMs, int dx) {
    return [=](Input& t) {
      InjectMouseButton(50, 60, MouseButton::Left, true);
      InjectMouseButton(50, 60, MouseButton::Left, false);
      t.Wait(static_cast<DWORD>(gapMs));
      InjectMouseButton(50 + dx, 60, MouseButton::Left, true);
      InjectMouseButton(50 + dx, 60, MouseButton::Left, false);
    };
  };
  const std::vector<Expected> twoSingles = {{WM_LBUTTONDOWN, MK_LBUTTON, kAny},
                                            {WM_LBUTTONUP, 0, kAny},
                                            {WM_LBUTTONDOWN, MK_LBUTTON, kAny},
                                            {WM_LBUTTONUP, 0, kAny}};
  return {
      {"DoubleClick", true, clicks(500, 4),
       {{WM_LBUTTONDOWN, MK_LBUTTON, at}, {WM_LBUTTONUP, 0, at}, {WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELONG(54, 60)},
        {WM_LBUTTONUP, 0, MAKELONG(54, 60)}}},
      {"NoDoubleClickWithoutTheClassStyle", false, clicks(100, 0), twoSingles},
      {"NoDoubleClickAfter500Ms", true, clicks(501, 0), twoSingles},
      {"NoDoubleClickFiveLater", true, clicks(100, 5), twoSingles},
      {"ThirdClickIsSingle", true,
       [](Input& t) {
         for (int i = 0; i < 3; ++i) {
           t.Click(50, 60);
           t.Wait(100);
         }
       },
       {{WM_LBUTTONDOWN, MK_LBUTTON, at},
        {WM_LBUTTONUP, 0, at},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, at},
        {WM_LBUTTONUP, 0, at},
        {WM_LBUTTONDOWN, MK_LBUTTON, at},
        {WM_LBUTTONUP, 0, at}}},
      {"RightButtonWithShift", true,
       [](Input&) {
         InjectKey(VK_SHIFT, true);
         InjectMouseButton(50, 60, MouseButton::Right, true);
         InjectMouseButton(50, 60, MouseButton::Right, false);
         InjectKey(VK_SHIFT, false);
       },
       {{WM_KEYDOWN, VK_SHIFT, KeyData(true)},
        {WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, at},
        {WM_RBUTTONUP, MK_SHIFT, at},
        {WM_KEYUP, VK_SHIFT, KeyData(false)}}},
      {"AccentedLetterTypedByItsKey", true,
       [](Input&) {
         InjectKey('2', true);
         InjectText("é"_cp);
         InjectKey('2', false);
       },
       {{WM_KEYDOWN, '2', KeyData(true)}, {WM_CHAR, 0xE9, KeyData(true)}, {WM_KEYUP, '2', KeyData(false)}}},
      {"TextWithoutAKey", true, [](Input&) { InjectText("Ça"_cp); },
       {{WM_CHAR, 0xC7, 1}, {WM_CHAR, 'a', 1}}},
      {"LettersWithAndWithoutShift", true,
       [](Input& t) {
         t.Key('A');
         InjectKey(VK_SHIFT, true);
         t.Key('A');
         InjectKey(VK_SHIFT, false);
       },
       {{WM_KEYDOWN, 'A', kAny},
        {WM_CHAR, 'a', kAny},
        {WM_KEYUP, 'A', kAny},
        {WM_KEYDOWN, VK_SHIFT, kAny},
        {WM_KEYDOWN, 'A', kAny},
        {WM_CHAR, 'A', kAny},
        {WM_KEYUP, 'A', kAny},
        {WM_KEYUP, VK_SHIFT, kAny}}},
      {"KeypadEnterCarriesTheExtendedBit", true, [](Input& t) { t.Key(VK_RETURN, true); },
       {{WM_KEYDOWN, VK_RETURN, KeyData(true, true)},
        {WM_CHAR, 13, KeyData(true, true)},
        {WM_KEYUP, VK_RETURN, KeyData(false, true)}}},
      {"ControlCharacters", true,
       [](Input&) {
         for (int key : {VK_RETURN, VK_ESCAPE, VK_TAB, VK_BACK}) {
           InjectKey(key, true);
         }
       },
       {{WM_KEYDOWN, VK_RETURN, kAny},
        {WM_CHAR, 13, kAny},
        {WM_KEYDOWN, VK_ESCAPE, kAny},
        {WM_CHAR, 27, kAny},
        {WM_KEYDOWN, VK_TAB, kAny},
        {WM_CHAR, 9, kAny},
        {WM_KEYDOWN, VK_BACK, kAny},
        {WM_CHAR, 8, kAny}}},
      {"KeysThatTypeNothing", true,
       [](Input& t) {
         for (int key : {VK_DELETE, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_F1, VK_HOME}) t.Key(key, true);
       },
       {{WM_KEYDOWN, VK_DELETE, kAny},
        {WM_KEYUP, VK_DELETE, kAny},
        {WM_KEYDOWN, VK_LEFT, kAny},
        {WM_KEYUP, VK_LEFT, kAny},
        {WM_KEYDOWN, VK_RIGHT, kAny},
        {WM_KEYUP, VK_RIGHT, kAny},
        {WM_KEYDOWN, VK_UP, kAny},
        {WM_KEYUP, VK_UP, kAny},
        {WM_KEYDOWN, VK_DOWN, kAny},
        {WM_KEYUP, VK_DOWN, kAny},
        {WM_KEYDOWN, VK_F1, kAny},
        {WM_KEYUP, VK_F1, kAny},
        {WM_KEYDOWN, VK_HOME, kAny},
        {WM_KEYUP, VK_HOME, kAny}}},
      {"ControlLetterWithoutAcceleratorIsItsControlCharacter", true,
       [](Input& t) {
         InjectKey(VK_CONTROL, true);
         t.Key('A');
         t.Key('Z');
         InjectKey(VK_CONTROL, false);
       },
       {{WM_KEYDOWN, VK_CONTROL, kAny},
        {WM_KEYDOWN, 'A', kAny},
        {WM_CHAR, 1, kAny},
        {WM_KEYUP, 'A', kAny},
        {WM_KEYDOWN, 'Z', kAny},
        {WM_CHAR, 26, kAny},
        {WM_KEYUP, 'Z', kAny},
        {WM_KEYUP, VK_CONTROL, kAny}}},
      {"ControlZIsTheUndoCommand", true,
       [](Input& t) {
         const ACCEL undo{FVIRTKEY | FCONTROL, 'Z', kUndoCommand};
         t.SetAccelerators(CreateAcceleratorTableA(&undo, 1));
         InjectKey(VK_CONTROL, true);
         t.Key('Z');
         InjectKey(VK_CONTROL, false);
         InjectKey(VK_SHIFT, true);  // Shift+Z is not the shortcut
         t.Key('Z');
         InjectKey(VK_SHIFT, false);
       },
       {{WM_KEYDOWN, VK_CONTROL, kAny},
        {WM_COMMAND, static_cast<WPARAM>(MAKELONG(kUndoCommand, 1)), 0},
        {WM_KEYUP, 'Z', kAny},
        {WM_KEYUP, VK_CONTROL, kAny},
        {WM_KEYDOWN, VK_SHIFT, kAny},
        {WM_KEYDOWN, 'Z', kAny},
        {WM_CHAR, 'Z', kAny},
        {WM_KEYUP, 'Z', kAny},
        {WM_KEYUP, VK_SHIFT, kAny}}},
      {"ThirdCharactersTypedWithCtrlAndAlt", true,
       [](Input&) {
         InjectKey(VK_CONTROL, true);
         InjectKey(VK_MENU, true);
         InjectKey('E', true);
         InjectText("€"_cp);
         InjectKey('E', false);
         InjectKey(VK_MENU, false);
         InjectKey(VK_CONTROL, false);
       },
       {{WM_KEYDOWN, VK_CONTROL, kAny},
        {WM_KEYDOWN, VK_MENU, kAny},
        {WM_KEYDOWN, 'E', kAny},
        {WM_CHAR, 0x80, kAny},
        {WM_KEYUP, 'E', kAny},
        {WM_KEYUP, VK_MENU, kAny},
        {WM_KEYUP, VK_CONTROL, kAny}}},
      {"AltLetterIsASystemKey", true,
       [](Input& t) {
         InjectKey(VK_MENU, true);
         t.Key('F');
         InjectKey(VK_MENU, false);
       },
       {{WM_SYSKEYDOWN, VK_MENU, kAny},
        {WM_SYSKEYDOWN, 'F', kAny},
        {WM_SYSKEYUP, 'F', kAny},
        {WM_SYSKEYUP, VK_MENU, kAny}}},
      {"HeldKeyRepeatsWithItsPreviousState", true,
       [](Input&) {
         InjectKey('Q', true);
         InjectKey('Q', true);
         InjectKey('Q', false);
       },
       {{WM_KEYDOWN, 'Q', KeyData(true)},
        {WM_CHAR, 'q', KeyData(true)},
        {WM_KEYDOWN, 'Q', KeyData(true, false, true)},
        {WM_CHAR, 'q', KeyData(true, false, true)},
        {WM_KEYUP, 'Q', KeyData(false)}}},
  };
}

TEST_F(Input, ScriptedStreamsGiveTheirMessages) {
  // Each script runs on a fresh window system, with the clock advanced only where it says.
  for (const StreamCase& c : StreamCases()) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    HWND w = CreateWindowExA(0, c.doubleClickClass ? "Clicks" : kClass, "w", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200,
                             nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    Loop(w);
    log.Clear();
    c.script(*this);
    Loop(w);
    std::vector<Expected> got;
    for (const auto& m : log.Of(w)) {
      if (IsInputMessage(m.message) && m.message != WM_MOUSEMOVE) got.push_back({m.message, m.wParam, m.lParam});
    }
    ASSERT_EQ(got.size(), c.expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(got[i].message, c.expected[i].message);
      EXPECT_EQ(got[i].wParam, c.expected[i].wParam);
      if (c.expected[i].lParam != kAny) {
        EXPECT_EQ(got[i].lParam, c.expected[i].lParam);
      }
    }
  }
}

}  // namespace

namespace {

TEST_F(Input, CaptureGetsEveryMouseMessageInItsOwnCoordinatesNegativeOnesIncluded) {
  HWND top = MakeTop({0, 0, 400, 400});
  HWND target = MakeChild(top, {100, 100, 200, 200});
  HWND other = MakeChild(top, {250, 250, 350, 350});
  Pump();
  SetCapture(target);
  log.Clear();
  InjectMouseButton(300, 300, MouseButton::Left, true);  // over another window
  InjectMouseMove(50, 40);                               // above and left of the capturing window
  InjectMouseButton(50, 40, MouseButton::Left, false);
  Pump();
  EXPECT_EQ(log.Count(other, WM_LBUTTONDOWN), 0);
  const auto down = log.Of(target, WM_LBUTTONDOWN);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(down[0].lParam), 200);
  const auto move = log.Of(target, WM_MOUSEMOVE);
  ASSERT_FALSE(move.empty());
  EXPECT_EQ(GET_X_LPARAM(move.back().lParam), -50);
  EXPECT_EQ(GET_Y_LPARAM(move.back().lParam), -60);
  EXPECT_EQ(move.back().wParam, static_cast<WPARAM>(MK_LBUTTON));
  const auto up = log.Of(target, WM_LBUTTONUP);
  ASSERT_EQ(up.size(), 1u);
  EXPECT_EQ(up[0].lParam, MAKELONG(-50, -60));
  ReleaseCapture();
  log.Clear();
  Click(300, 300);
  Pump();
  EXPECT_EQ(log.Count(other, WM_LBUTTONDOWN), 1);
}

// A quick drag arrives whole before the press is handled: the window that takes the capture on the press
// still gets the moves and the release already waiting, and once it lets the capture go the rest goes
// back to the window under the mouse.
TEST_F(Input, CaptureTakenOnAPressGetsTheDragAlreadyQueued) {
  HWND top = MakeTop({0, 0, 400, 400});
  HWND canvas = MakeChild(top, {100, 100, 200, 200});
  HWND other = MakeChild(top, {250, 250, 350, 350});
  Pump();
  Handle(canvas, [&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_LBUTTONDOWN) SetCapture(w);
    if (m == WM_LBUTTONUP) ReleaseCapture();
    return std::nullopt;
  });
  InjectMouseMove(150, 150);
  Pump();
  log.Clear();
  InjectMouseButton(150, 150, MouseButton::Left, true);
  InjectMouseMove(300, 300);  // over another window
  InjectMouseButton(300, 300, MouseButton::Left, false);
  InjectMouseMove(310, 310);
  Pump();
  EXPECT_EQ(log.Count(other, WM_LBUTTONUP), 0);
  const auto up = log.Of(canvas, WM_LBUTTONUP);
  ASSERT_EQ(up.size(), 1u);
  EXPECT_EQ(up[0].lParam, MAKELONG(200, 200));
  const auto moves = log.Of(canvas, WM_MOUSEMOVE);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].lParam, MAKELONG(200, 200));
  EXPECT_EQ(moves[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
  EXPECT_EQ(GetCapture(), nullptr);
  const auto after = log.Of(other, WM_MOUSEMOVE);
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].lParam, MAKELONG(60, 60));
}

// Aiming waiting input again asks the window under the mouse where the point lies; what its procedure does
// then (destroying a window that has input waiting, say) leaves the queue whole.
TEST_F(Input, WaitingInputSurvivesWhatTheHitTestDoes) {
  HWND top = MakeTop({0, 0, 400, 400});
  HWND canvas = MakeChild(top, {100, 100, 200, 200});
  HWND other = MakeChild(top, {250, 250, 350, 350});
  HWND victim = MakeChild(top, {0, 0, 50, 50});
  Pump();
  SetCapture(canvas);
  SetFocus(victim);
  Handle(other, [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_NCHITTEST && IsWindow(victim)) DestroyWindow(victim);
    return std::nullopt;
  });
  log.Clear();
  InjectMouseMove(300, 300);
  Key('K');
  InjectMouseMove(310, 310);
  ReleaseCapture();
  Pump();
  EXPECT_FALSE(IsWindow(victim));
  EXPECT_EQ(log.Count(canvas, WM_MOUSEMOVE), 0);
  EXPECT_GE(log.Count(other, WM_MOUSEMOVE), 1);
}

TEST_F(Input, AClickInAnInactiveWindowAsksItsParentsWhetherToActivate) {
  HWND back = MakeTop({0, 0, 300, 300});
  HWND child = MakeChild(back, {10, 10, 110, 110});
  HWND front = MakeTop({400, 0, 500, 100});
  Pump();
  ASSERT_EQ(GetActiveWindow(), front);
  struct Case {
    LRESULT parentAnswer;
    bool activates;
    bool delivered;
  };
  for (const Case c : {Case{MA_NOACTIVATE, false, true}, Case{MA_NOACTIVATEANDEAT, false, false},
                       Case{MA_ACTIVATEANDEAT, true, false}, Case{MA_ACTIVATE, true, true}}) {
    SCOPED_TRACE(c.parentAnswer);
    SetActiveWindow(front);
    Handle(back, [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (m == WM_MOUSEACTIVATE) return c.parentAnswer;
      return std::nullopt;
    });
    log.Clear();
    Click(50, 50);
    Pump();
    const auto asked = log.Of(child, WM_MOUSEACTIVATE);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].wParam, reinterpret_cast<WPARAM>(back));
    EXPECT_EQ(asked[0].lParam, MAKELONG(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(log.Count(back, WM_MOUSEACTIVATE), 1);  // passed up by the child's default
    EXPECT_EQ(GetActiveWindow(), c.activates ? back : front);
    if (c.activates) {
      ASSERT_EQ(log.Count(back, WM_ACTIVATE), 1);
      EXPECT_EQ(log.Of(back, WM_ACTIVATE)[0].wParam, static_cast<WPARAM>(WA_CLICKACTIVE));
    }
    EXPECT_EQ(log.Count(child, WM_LBUTTONDOWN), c.delivered ? 1 : 0);
    EXPECT_EQ(log.Count(child, WM_LBUTTONUP), 1);
  }
  // Clicks in the active window ask nothing.
  log.Clear();
  Click(50, 50);
  Pump();
  EXPECT_EQ(log.Count(child, WM_MOUSEACTIVATE), 0);
  EXPECT_EQ(log.Count(child, WM_LBUTTONDOWN), 1);
}

TEST_F(Input, TheCursorFollowsWhatTheWindowUnderTheMouseChooses) {
  const HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hCursor = cross;
  wc.lpszClassName = "Crossed";
  ASSERT_NE(RegisterClassA(&wc), 0);
  HWND top = CreateWindowExA(0, "Crossed", "t", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0, 0, 300, 300, nullptr,
                             nullptr, nullptr, nullptr);
  HWND plain = MakeChild(top, {0, 0, 100, 100});
  HWND chooser = MakeChild(top, {150, 150, 250, 250});
  const HCURSOR beam = LoadCursorA(nullptr, IDC_IBEAM);
  Handle(chooser, [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m != WM_SETCURSOR) return std::nullopt;
    SetCursor(beam);
    return TRUE;
  });
  Pump();
  struct Case {
    POINT at;
    HCURSOR expected;
  };
  // A child without a cursor of its own shows its parent's class cursor; the frame shows the arrow.
  for (const Case c : {Case{{50, 50}, cross}, Case{{200, 200}, beam}, Case{{120, 120}, cross},
                       Case{{150, 5}, LoadCursorA(nullptr, IDC_ARROW)}}) {
    SetCursor(nullptr);
    InjectMouseMove(c.at.x, c.at.y);
    Pump();
    EXPECT_EQ(GetCursor(), c.expected) << c.at.x << "," << c.at.y;
  }
  const auto asked = log.Of(plain, WM_SETCURSOR);
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked[0].wParam, reinterpret_cast<WPARAM>(plain));
  EXPECT_EQ(asked[0].lParam, MAKELONG(HTCLIENT, WM_MOUSEMOVE));
}

TEST_F(Input, FocusChangesAreSentAtOnceAndKeysGoToTheFocusOrTheActiveWindow) {
  HWND top = MakeTop({0, 0, 300, 300});
  HWND a = MakeChild(top, {0, 0, 100, 100});
  HWND b = MakeChild(top, {100, 0, 200, 100});
  Pump();
  EXPECT_EQ(GetFocus(), top);
  SetFocus(a);
  log.Clear();
  EXPECT_EQ(SetFocus(b), a);
  // Both messages arrived before SetFocus answered, the old window's first.
  ASSERT_EQ(log.All().size(), 2u);
  EXPECT_EQ(log.All()[0].window, a);
  EXPECT_EQ(log.All()[0].message, static_cast<UINT>(WM_KILLFOCUS));
  EXPECT_EQ(log.All()[0].wParam, reinterpret_cast<WPARAM>(b));
  EXPECT_EQ(log.All()[1].window, b);
  EXPECT_EQ(log.All()[1].message, static_cast<UINT>(WM_SETFOCUS));
  EXPECT_EQ(log.All()[1].wParam, reinterpret_cast<WPARAM>(a));
  Key('K');
  Pump();
  EXPECT_EQ(log.Count(b, WM_KEYDOWN), 1);
  SetFocus(nullptr);
  Key('K');
  Pump();
  EXPECT_EQ(log.Count(top, WM_KEYDOWN), 1);
}

// Keys typed ahead wait in the queue; each goes to the window that has the focus when it is taken, so that
// a key that moves the focus (Tab to the next field) sends the keys after it to the new field.
TEST_F(Input, KeysTypedAheadGoToTheFocusAsTheyAreTaken) {
  HWND top = MakeTop({0, 0, 300, 300});
  HWND a = MakeChild(top, {0, 0, 100, 100});
  HWND b = MakeChild(top, {100, 0, 200, 100});
  Pump();
  SetFocus(a);
  Handle(a, [&](HWND, UINT m, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_KEYDOWN && wParam == VK_TAB) SetFocus(b);
    return std::nullopt;
  });
  log.Clear();
  Key(VK_TAB);
  Key('K');
  InjectText("\xE9");  // a character with no key of its own
  Pump();
  EXPECT_EQ(log.Count(a, WM_KEYDOWN), 1);
  EXPECT_EQ(log.Count(a, WM_KEYUP), 0);
  EXPECT_EQ(log.Count(b, WM_KEYUP), 2);
  ASSERT_EQ(log.Of(b, WM_KEYDOWN).size(), 1u);
  EXPECT_EQ(log.Of(b, WM_KEYDOWN)[0].wParam, static_cast<WPARAM>('K'));
  const auto chars = log.Of(b, WM_CHAR);
  ASSERT_EQ(chars.size(), 2u);
  EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>('k'));
  EXPECT_EQ(chars[1].wParam, 0xE9u);
}

TEST_F(Input, FocusComesBackToTheControlThatHadItAfterAModalPopup) {
  HWND main = MakeTop({0, 0, 400, 300});
  HWND field = MakeChild(main, {10, 10, 100, 30});
  Pump();
  SetFocus(field);
  HWND popup = CreateWindowExA(0, kClass, "modal", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 200, 100, main,
                               nullptr, nullptr, nullptr);
  EnableWindow(main, FALSE);
  Pump();
  EXPECT_EQ(GetActiveWindow(), popup);
  EXPECT_EQ(GetFocus(), popup);
  EnableWindow(main, TRUE);
  DestroyWindow(popup);
  Pump();
  EXPECT_EQ(GetActiveWindow(), main);
  EXPECT_EQ(GetFocus(), field);

  // Closed before its owner is enabled again, a pop-up still hands activation to the owner: the program
  // is not sent to the background.
  popup = CreateWindowExA(0, kClass, "modal", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 200, 100, main, nullptr,
                          nullptr, nullptr);
  EnableWindow(main, FALSE);
  log.Clear();
  DestroyWindow(popup);
  EnableWindow(main, TRUE);
  EXPECT_EQ(GetActiveWindow(), main);
  EXPECT_EQ(log.Count(main, WM_ACTIVATEAPP), 0);
  EXPECT_TRUE(platform::IsApplicationActive());
}

TEST_F(Input, TheProgramIsToldWhenItGoesToTheBackgroundAndComesBack) {
  HWND main = MakeTop({0, 0, 400, 300});
  HWND child = MakeChild(main, {10, 10, 100, 30});
  Pump();
  SetFocus(child);
  log.Clear();
  platform::SetApplicationActive(false);
  EXPECT_EQ(GetForegroundWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  platform::SetApplicationActive(true);
  const std::vector<UINT> seen = log.Numbers(main);
  const std::vector<UINT> expected = {WM_NCACTIVATE,  WM_ACTIVATE,   WM_ACTIVATEAPP, WM_ACTIVATEAPP,
                                      WM_NCACTIVATE,  WM_ACTIVATE};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(log.Of(main, WM_ACTIVATEAPP)[0].wParam, 0u);
  EXPECT_EQ(log.Of(main, WM_ACTIVATEAPP)[1].wParam, 1u);
  EXPECT_EQ(log.Count(child, WM_ACTIVATE), 0);  // children are never activated
  EXPECT_EQ(GetForegroundWindow(), main);
  EXPECT_EQ(GetFocus(), child);
}

TEST_F(Input, KeyStateIsThatOfTheMessageBeingHandled) {
  HWND w = MakeTop({0, 0, 100, 100});
  Pump();
  std::vector<bool> controlSeen;
  Handle(w, [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_KEYDOWN) controlSeen.push_back(GetKeyState(VK_CONTROL) < 0);
    return std::nullopt;
  });
  // All of it arrives before the first message is handled.
  InjectKey(VK_CONTROL, true);
  InjectKey('C', true);
  InjectKey(VK_CONTROL, false);
  InjectKey('C', true);
  EXPECT_GE(GetKeyState(VK_CONTROL), 0);
  Pump();
  EXPECT_EQ(controlSeen, (std::vector<bool>{true, true, false}));
}

TEST(Keyboard, VkKeyScanGivesTheKeyAndShiftStateOfACharacter) {
  struct Case {
    char c;
    SHORT expected;
  };
  for (const Case c : {Case{'z', 'Z'}, Case{'a', 'A'}, Case{'Z', 0x15A}, Case{'7', '7'}, Case{' ', VK_SPACE},
                       Case{'\r', VK_RETURN}, Case{'\x1A', 0x25A}, Case{'[', VK_OEM_4}, Case{']', VK_OEM_6},
                       Case{static_cast<char>(0xE9), -1}}) {
    EXPECT_EQ(VkKeyScanA(c.c), c.expected) << static_cast<int>(static_cast<unsigned char>(c.c));
  }
}

TEST_F(Input, AcceleratorTablesAreMadeUsedAndDestroyed) {
  EXPECT_EQ(CreateAcceleratorTableA(nullptr, 1), nullptr);
  const ACCEL entries[] = {{FVIRTKEY | FCONTROL, 'O', 0x102}, {FVIRTKEY | FCONTROL | FSHIFT, 'O', 0x103}, {0, 'x', 0x104}};
  HACCEL table = CreateAcceleratorTableA(entries, 3);
  ASSERT_NE(table, nullptr);
  HWND w = MakeTop({0, 0, 100, 100});
  Pump();
  MSG msg{w, WM_KEYDOWN, 'O', 1, 0, {0, 0}};
  EXPECT_FALSE(TranslateAcceleratorA(w, table, &msg));  // Ctrl is up
  InjectKey(VK_CONTROL, true);
  InjectKey(VK_SHIFT, true);
  Pump();
  log.Clear();
  EXPECT_TRUE(TranslateAcceleratorA(w, table, &msg));
  ASSERT_EQ(log.Count(w, WM_COMMAND), 1);
  EXPECT_EQ(log.Of(w, WM_COMMAND)[0].wParam, static_cast<WPARAM>(MAKELONG(0x103, 1)));
  MSG character{w, WM_CHAR, 'x', 1, 0, {0, 0}};
  EXPECT_TRUE(TranslateAcceleratorA(w, table, &character));
  EXPECT_TRUE(DestroyAcceleratorTable(table));
  EXPECT_FALSE(DestroyAcceleratorTable(table));
  EXPECT_FALSE(TranslateAcceleratorA(w, table, &msg));
}

TEST_F(Input, ClipCursorConfinesTheMouse) {
  HWND w = MakeTop({0, 0, 400, 400});
  Pump();
  const RECT box{100, 100, 200, 150};
  ASSERT_TRUE(ClipCursor(&box));
  InjectMouseMove(10, 300);
  POINT p{};
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 100);
  EXPECT_EQ(p.y, 149);
  RECT got{};
  GetClipCursor(&got);
  EXPECT_EQ(got, box);
  Pump();
  EXPECT_EQ(log.Of(w, WM_MOUSEMOVE).back().lParam, MAKELONG(100, 149));
  ClipCursor(nullptr);
  InjectMouseMove(10, 300);
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 10);
}

}  // namespace

namespace {

TEST_F(Input, FocusingAWindowOfAnotherTopLevelWindowActivatesThatOne) {
  HWND back = MakeTop({0, 0, 300, 300});
  HWND field = MakeChild(back, {10, 10, 100, 30});
  HWND front = MakeTop({400, 0, 500, 100});
  Pump();
  ASSERT_EQ(GetActiveWindow(), front);
  log.Clear();
  SetFocus(field);
  EXPECT_EQ(GetActiveWindow(), back);
  EXPECT_EQ(GetFocus(), field);
  EXPECT_EQ(log.Count(front, WM_ACTIVATE), 1);
  EXPECT_EQ(log.Count(back, WM_ACTIVATE), 1);
  EXPECT_EQ(log.Count(field, WM_SETFOCUS), 1);
}

}  // namespace

namespace {

TEST_F(Input, AButtonLetGoOutsideEveryWindowIsUpAfterwards) {
  HWND w = MakeTop({0, 0, 100, 100});
  HWND disabled = MakeTop({200, 0, 300, 100});
  EnableWindow(disabled, FALSE);
  Pump();
  InjectMouseButton(50, 50, MouseButton::Left, true);
  Pump();
  EXPECT_LT(GetKeyState(VK_LBUTTON), 0);
  InjectMouseButton(500, 500, MouseButton::Left, false);  // over no window
  Pump();
  EXPECT_GE(GetKeyState(VK_LBUTTON), 0);
  InjectMouseButton(50, 50, MouseButton::Left, true);
  InjectMouseButton(250, 50, MouseButton::Left, false);  // over a disabled window
  Pump();
  EXPECT_GE(GetKeyState(VK_LBUTTON), 0);
  EXPECT_EQ(log.Count(w, WM_LBUTTONUP), 0);
  EXPECT_EQ(log.Count(disabled, WM_LBUTTONUP), 0);
}

// A window that goes away on a press (a close button, Escape in a dialog) takes its waiting messages with
// it, but the button or key is up afterwards all the same.
TEST_F(Input, AKeyOrButtonLetGoOverAWindowThatWentAwayIsUpAfterwards) {
  HWND top = MakeTop({0, 0, 300, 300});
  Pump();
  HWND button = MakeChild(top, {0, 0, 50, 50});
  HWND field = MakeChild(top, {100, 0, 150, 50});
  const auto closeOnPress = [](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_LBUTTONDOWN || m == WM_KEYDOWN) DestroyWindow(w);
    return std::nullopt;
  };
  Handle(button, closeOnPress);
  Handle(field, closeOnPress);
  Pump();
  Click(10, 10);
  Pump();
  EXPECT_FALSE(IsWindow(button));
  EXPECT_GE(GetKeyState(VK_LBUTTON), 0);
  SetFocus(field);
  Key(VK_ESCAPE);
  Pump();
  EXPECT_FALSE(IsWindow(field));
  EXPECT_GE(GetKeyState(VK_ESCAPE), 0);
}

}  // namespace

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

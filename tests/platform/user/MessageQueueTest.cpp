// The queue: priorities, filters, the quit message, coalesced mouse moves, sending and dispatching.
#include <gtest/gtest.h>

#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/Timer.h"
#include "support/WindowFixture.h"

namespace {

using MessageQueue = WindowFixture;

std::vector<UINT> Drain(HWND filter = nullptr, UINT first = 0, UINT last = 0) {
  std::vector<UINT> taken;
  MSG msg;
  while (taken.size() < 100 && PeekMessageA(&msg, filter, first, last, PM_REMOVE)) {
    taken.push_back(msg.message);
    if (msg.message == WM_PAINT) ValidateRect(msg.hwnd, nullptr);
  }
  return taken;
}

TEST_F(MessageQueue, PostedBeforeInputBeforePaintBeforeTimers) {
  HWND w = MakeTop({0, 0, 100, 100});
  Drain();
  SetTimer(w, 1, 10, nullptr);
  Advance(10);
  InvalidateRect(w, nullptr, FALSE);
  platform::InjectMouseButton(5, 5, platform::MouseButton::Left, true);
  PostMessageA(w, WM_USER, 0, 0);
  EXPECT_EQ(Drain(), (std::vector<UINT>{WM_USER, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_PAINT, WM_TIMER}));
}

TEST_F(MessageQueue, FiltersByWindowAndRangeLeaveTheRestQueued) {
  HWND a = MakeTop({0, 0, 10, 10});
  HWND b = MakeTop({0, 0, 10, 10});
  Drain();
  PostMessageA(a, WM_USER + 1, 0, 0);
  PostMessageA(b, WM_USER + 2, 0, 0);
  PostMessageA(nullptr, WM_USER + 3, 0, 0);
  PostMessageA(a, WM_USER + 4, 0, 0);
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, b, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_USER + 2u);
  EXPECT_EQ(Drain(b), (std::vector<UINT>{WM_USER + 2}));
  EXPECT_EQ(Drain(reinterpret_cast<HWND>(-1)), (std::vector<UINT>{WM_USER + 3}));
  EXPECT_EQ(Drain(nullptr, WM_USER + 4, WM_USER + 9), (std::vector<UINT>{WM_USER + 4}));
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_USER + 1u);
  EXPECT_EQ(msg.hwnd, a);
}

TEST_F(MessageQueue, QuitComesWhateverTheFilterAfterThePostedMessages) {
  HWND w = MakeTop({0, 0, 10, 10});
  Drain();
  PostMessageA(w, WM_USER, 0, 0);
  PostQuitMessage(7);
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  EXPECT_FALSE(GetMessageA(&msg, nullptr, WM_PAINT, WM_PAINT));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));  // taken once only
}

TEST_F(MessageQueue, MouseMovesCoalesceButNotAcrossOtherInput) {
  HWND w = MakeTop({0, 0, 100, 100});
  Drain();
  platform::InjectMouseMove(1, 1);
  platform::InjectMouseMove(2, 2);
  platform::InjectMouseMove(3, 4);
  platform::InjectMouseButton(3, 4, platform::MouseButton::Left, true);
  platform::InjectMouseMove(5, 5);
  platform::InjectMouseMove(6, 7);
  std::vector<std::pair<UINT, LPARAM>> taken;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message != WM_PAINT) taken.emplace_back(msg.message, msg.lParam);
    DispatchMessageA(&msg);
  }
  const std::vector<std::pair<UINT, LPARAM>> expected = {
      {WM_MOUSEMOVE, MAKELONG(3, 4)}, {WM_LBUTTONDOWN, MAKELONG(3, 4)}, {WM_MOUSEMOVE, MAKELONG(6, 7)}};
  EXPECT_EQ(taken, expected);
  EXPECT_EQ(log.Count(w, WM_MOUSEMOVE), 2);
}

TEST_F(MessageQueue, MouseInputGoesToTheWindowUnderThePointInItsClientCoordinates) {
  HWND top = CreateWindowExA(0, kClass, "", WS_POPUP | WS_BORDER | WS_VISIBLE, 50, 40, 200, 200, nullptr, nullptr,
                             nullptr, nullptr);
  HWND child = MakeChild(top, {10, 10, 60, 60});
  Drain();
  platform::InjectMouseButton(80, 70, platform::MouseButton::Left, true);  // inside the child
  platform::InjectMouseButton(150, 150, platform::MouseButton::Left, false);  // the parent's client area
  platform::InjectMouseButton(50, 100, platform::MouseButton::Right, true);  // on the parent's border
  EXPECT_FALSE(GetKeyState(VK_LBUTTON) < 0);  // the key state follows the messages as they are taken
  Pump();
  const auto down = log.Of(child, WM_LBUTTONDOWN);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(down[0].lParam, MAKELONG(80 - 50 - 1 - 10, 70 - 40 - 1 - 10));
  EXPECT_EQ(down[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
  const auto up = log.Of(top, WM_LBUTTONUP);
  ASSERT_EQ(up.size(), 1u);
  EXPECT_EQ(up[0].lParam, MAKELONG(150 - 51, 150 - 41));
  const auto border = log.Of(top, WM_NCRBUTTONDOWN);
  ASSERT_EQ(border.size(), 1u);
  EXPECT_EQ(border[0].wParam, static_cast<WPARAM>(HTBORDER));
  EXPECT_TRUE(GetKeyState(VK_RBUTTON) < 0);

  // A disabled window takes no clicks.
  EnableWindow(top, FALSE);
  platform::InjectMouseButton(150, 150, platform::MouseButton::Left, true);
  platform::InjectMouseButton(150, 150, platform::MouseButton::Left, false);
  Pump();
  EXPECT_EQ(log.Count(top, WM_LBUTTONDOWN), 0);
  EnableWindow(top, TRUE);

  // The window holding the capture gets the mouse wherever it is.
  SetCapture(child);
  platform::InjectMouseMove(300, 300);
  Pump();
  const auto moves = log.Of(child, WM_MOUSEMOVE);
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.back().lParam, MAKELONG(300 - 61, 300 - 51));
}

TEST_F(MessageQueue, KeysGoToTheFocusWindowAndControlKeysTranslateToCharacters) {
  HWND top = MakeTop({0, 0, 100, 100});
  HWND child = MakeChild(top, {0, 0, 50, 50});
  SetFocus(child);
  EXPECT_EQ(log.Count(child, WM_SETFOCUS), 1);
  platform::InjectKey(VK_RETURN, true);
  platform::InjectKey(VK_RETURN, false);
  platform::InjectText("\xE9");  // é in the program's code page
  Pump();
  EXPECT_EQ(log.Count(child, WM_KEYDOWN), 1);
  EXPECT_EQ(log.Count(child, WM_KEYUP), 1);
  const auto chars = log.Of(child, WM_CHAR);
  ASSERT_EQ(chars.size(), 2u);
  EXPECT_EQ(chars[0].wParam, 13u);
  EXPECT_EQ(chars[1].wParam, 0xE9u);
}

TEST_F(MessageQueue, SendMessageIsSynchronousAndReentrant) {
  HWND w = MakeTop({0, 0, 10, 10});
  std::vector<int> trail;
  Handle(w, [&](HWND h, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (m != WM_USER) return std::nullopt;
    trail.push_back(static_cast<int>(wp));
    if (wp < 3) {
      const LRESULT inner = SendMessageA(h, WM_USER, wp + 1, 0);
      trail.push_back(-static_cast<int>(wp));
      return inner + 1;
    }
    return 10;
  });
  EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 13);
  EXPECT_EQ(trail, (std::vector<int>{0, 1, 2, 3, -2, -1, 0}));
  EXPECT_EQ(SendMessageA(reinterpret_cast<HWND>(0x1234), WM_USER, 0, 0), 0);  // no such window
  EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x1234), WM_USER, 0, 0));
}

TEST_F(MessageQueue, MessagesOfADestroyedWindowAreDropped) {
  HWND w = MakeTop({0, 0, 10, 10});
  PostMessageA(w, WM_USER, 0, 0);
  SetTimer(w, 1, 10, nullptr);
  DestroyWindow(w);
  Advance(20);
  EXPECT_TRUE(Drain().empty());
}

TEST_F(MessageQueue, ADispatchedTimerMessageCallsOnlyAProcedureTheTimerWasSetWith) {
  static int calls = 0;
  calls = 0;
  const TIMERPROC proc = [](HWND, UINT, UINT_PTR, DWORD) { ++calls; };
  const UINT_PTR id = SetTimer(nullptr, 0, 10, proc);
  MSG forged{nullptr, WM_TIMER, id + 1, reinterpret_cast<LPARAM>(proc), 0, {0, 0}};
  DispatchMessageA(&forged);
  EXPECT_EQ(calls, 0);
  MSG real{nullptr, WM_TIMER, id, reinterpret_cast<LPARAM>(proc), 0, {0, 0}};
  DispatchMessageA(&real);
  EXPECT_EQ(calls, 1);
}

}  // namespace

// Placement: the WM_WINDOWPOSCHANGED flags of each kind of change, none when nothing changes, WM_SIZE and
// WM_MOVE only on real changes, frames and coordinate mapping.
#include <gtest/gtest.h>

#include <climits>

#include "platform/user/Screen.h"
#include "support/WindowFixture.h"

namespace {

using WindowPos = WindowFixture;

constexpr UINT kUnchangedClient = SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE;

TEST_F(WindowPos, EachChangeReportsTheFlagsOfWhatChangedAndNothingWhenNothingDid) {
  struct Case {
    const char* name;
    bool childHidden;  // the child starts hidden
    bool childBelow;   // the child starts below its sibling
    std::function<void(HWND child)> act;
    UINT flags;  // 0: no WM_WINDOWPOSCHANGED at all
    int moves;
    int sizes;
  };
  const Case cases[] = {
      {"show a hidden child", true, false, [](HWND c) { ShowWindow(c, SW_SHOW); },
       SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | kUnchangedClient, 0, 0},
      {"restore a hidden child", true, false, [](HWND c) { ShowWindow(c, SW_RESTORE); },
       SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | kUnchangedClient, 0, 0},
      {"show a shown child", false, false, [](HWND c) { ShowWindow(c, SW_SHOW); }, 0, 0, 0},
      {"hide a shown child", false, false, [](HWND c) { ShowWindow(c, SW_HIDE); },
       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | kUnchangedClient, 0, 0},
      {"hide a hidden child", true, false, [](HWND c) { ShowWindow(c, SW_HIDE); }, 0, 0, 0},
      {"raise a child from below", false, true,
       [](HWND c) { SetWindowPos(c, HWND_TOP, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOSIZE); },
       SWP_NOMOVE | SWP_NOSIZE | kUnchangedClient, 0, 0},
      {"raise the top child", false, false,
       [](HWND c) { SetWindowPos(c, HWND_TOP, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOSIZE); }, 0, 0, 0},
      {"move a child", false, false, [](HWND c) { MoveWindow(c, 30, 40, 50, 50, TRUE); },
       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCLIENTSIZE, 1, 0},
      {"resize a child in place", false, false, [](HWND c) { MoveWindow(c, 10, 10, 80, 60, TRUE); },
       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCLIENTMOVE, 0, 1},
      {"move and resize a child", false, false, [](HWND c) { MoveWindow(c, 0, 0, 20, 20, TRUE); },
       SWP_NOZORDER | SWP_NOACTIVATE, 1, 1},
      {"move a child where it is", false, false, [](HWND c) { MoveWindow(c, 10, 10, 50, 50, TRUE); }, 0, 0, 0},
      {"move and raise a child from below", false, true,
       [](HWND c) { SetWindowPos(c, HWND_TOP, 12, 10, 0, 0, SWP_NOSIZE); }, SWP_NOSIZE | SWP_NOCLIENTSIZE, 1, 0},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    HWND top = MakeTop({0, 0, 300, 300});
    HWND child = MakeChild(top, {10, 10, 60, 60}, WS_CHILD | WS_CLIPSIBLINGS | (test.childHidden ? 0u : static_cast<DWORD>(WS_VISIBLE)));
    HWND sibling = MakeChild(top, {100, 100, 150, 150});
    if (!test.childBelow) SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_EQ(GetTopWindow(top), test.childBelow ? sibling : child);
    log.Clear();
    test.act(child);
    const auto changed = log.Of(child, WM_WINDOWPOSCHANGED);
    if (test.flags == 0) {
      EXPECT_TRUE(changed.empty());
      EXPECT_TRUE(log.Of(child, WM_WINDOWPOSCHANGING).empty());
    } else {
      ASSERT_EQ(changed.size(), 1u);
      EXPECT_EQ(changed[0].pos.flags, test.flags) << std::hex << changed[0].pos.flags;
    }
    EXPECT_EQ(log.Count(child, WM_MOVE), test.moves);
    EXPECT_EQ(log.Count(child, WM_SIZE), test.sizes);
    EXPECT_TRUE(log.Of(sibling, WM_WINDOWPOSCHANGED).empty());
    DestroyWindow(top);
  }
}

// The framework raises a window whenever it hears of a change that did not say "no activation"; raising
// a window that is already in front must not start that again.
TEST_F(WindowPos, RaisingOnEveryChangeComesToRest) {
  HWND top = MakeTop({0, 0, 300, 300});
  HWND a = MakeChild(top, {0, 0, 50, 50});
  HWND b = MakeChild(top, {20, 20, 80, 80});
  int raises = 0;
  for (HWND w : {a, b}) {
    Handle(w, [&](HWND h, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
      if (m == WM_WINDOWPOSCHANGED && !(reinterpret_cast<const WINDOWPOS*>(l)->flags & SWP_NOACTIVATE)) {
        if (++raises > 10) return 0;
        SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      }
      return std::nullopt;
    });
  }
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(raises, 1);
  EXPECT_EQ(GetTopWindow(top), a);
  ShowWindow(b, SW_HIDE);
  ShowWindow(b, SW_SHOW);
  MoveWindow(b, 5, 5, 60, 60, TRUE);
  EXPECT_EQ(raises, 1);  // showing, hiding and moving a child never activate it
}

TEST_F(WindowPos, ShowingATopLevelWindowBringsItForward) {
  HWND a = MakeTop({0, 0, 50, 50}, WS_POPUP);
  HWND b = MakeTop({0, 0, 50, 50});
  ASSERT_EQ(GetTopWindow(nullptr), b);
  log.Clear();
  ShowWindow(a, SW_SHOW);
  EXPECT_EQ(GetTopWindow(nullptr), a);
  const auto changed = log.Of(a, WM_WINDOWPOSCHANGED);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].pos.flags, SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | kUnchangedClient);
  const auto shown = log.Of(a, WM_SHOWWINDOW);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].wParam, 1u);
}

TEST_F(WindowPos, AdjustWindowRectIsTheExactInverseOfTheFrames) {
  struct Case {
    DWORD style;
    DWORD exStyle;
    bool menu;
  };
  const Case cases[] = {
      {WS_OVERLAPPEDWINDOW, 0, false}, {WS_OVERLAPPEDWINDOW, 0, true},   {WS_POPUP, 0, false},
      {WS_POPUP | WS_BORDER, 0, false}, {WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, false},
      {WS_POPUP | WS_DLGFRAME, 0, false}, {WS_POPUP | WS_THICKFRAME, WS_EX_CLIENTEDGE, false},
      {0x44C80000, 0, false},  // framework windows: caption and system menu
      {0x44400000, 0, false},  // dialog frame
      {0x44800000, 0, false},  // plain border
  };
  HWND parent = MakeTop({0, 0, 600, 500});
  for (const Case& test : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << test.style << " menu " << test.menu);
    RECT r{10, 20, 110, 70};
    ASSERT_TRUE(AdjustWindowRectEx(&r, test.style, test.menu, test.exStyle));
    const bool child = (test.style & WS_CHILD) != 0;
    HWND w = CreateWindowExA(test.exStyle, kClass, "", test.style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             child ? parent : nullptr, test.menu ? reinterpret_cast<HMENU>(1) : nullptr, nullptr,
                             nullptr);
    ASSERT_NE(w, nullptr);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, 100);
    EXPECT_EQ(client.bottom, 50);
    POINT origin{0, 0};
    MapWindowPoints(w, child ? parent : nullptr, &origin, 1);
    EXPECT_EQ(origin.x, 10);
    EXPECT_EQ(origin.y, 20);
    DestroyWindow(w);
  }
}

TEST_F(WindowPos, RectanglesAndPointsMapBetweenWindowsAndTheScreen) {
  HWND top = CreateWindowExA(0, kClass, "", WS_POPUP | WS_BORDER | WS_VISIBLE, 100, 50, 302, 202, nullptr, nullptr,
                             nullptr, nullptr);
  HWND child = MakeChild(top, {20, 30, 70, 90});
  RECT r;
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, 121);  // 100 + border 1 + 20
  EXPECT_EQ(r.top, 81);
  EXPECT_EQ(r.right, 171);
  EXPECT_EQ(r.bottom, 141);
  POINT p{r.right, r.bottom};
  ScreenToClient(top, &p);
  EXPECT_EQ(p.x, 70);
  EXPECT_EQ(p.y, 90);
  POINT q{5, 6};
  const int offset = MapWindowPoints(child, top, &q, 1);
  EXPECT_EQ(q.x, 25);
  EXPECT_EQ(q.y, 36);
  EXPECT_EQ(offset, MAKELONG(20, 30));
  ClientToScreen(child, &q);
  EXPECT_EQ(q.x, 146);
  EXPECT_EQ(WindowFromPoint(POINT{130, 90}), child);
  EXPECT_EQ(WindowFromPoint(POINT{110, 60}), top);
  EXPECT_EQ(WindowFromPoint(POINT{5, 5}), nullptr);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{25, 35}), child);
}

// Places and sizes at the ends of the integer range are kept within what the window system reaches, so
// that no edge, client area or screen position overflows.
TEST_F(WindowPos, PlacesAtTheEndsOfTheIntegerRangeStayWithinReach) {
  HWND top = MakeTop({0, 0, 100, 100}, WS_POPUP | WS_VISIBLE | WS_CAPTION);
  HWND child = MakeChild(top, {0, 0, 10, 10});
  Pump();
  struct Case {
    HWND window;
    int x, y, width, height;
  };
  const Case cases[] = {{child, INT_MAX - 5, 0, 100, 100}, {child, INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                        {top, 0, INT_MAX, 50, 50},          {top, INT_MIN + 1, 0, 50, 50},
                        {child, 5, 5, INT_MAX, 10}};
  for (const Case& c : cases) {
    EXPECT_TRUE(MoveWindow(c.window, c.x, c.y, c.width, c.height, TRUE));
    RECT r{}, client{};
    ASSERT_TRUE(GetWindowRect(c.window, &r));
    ASSERT_TRUE(GetClientRect(c.window, &client));
    EXPECT_LE(r.left, r.right);
    EXPECT_LE(r.top, r.bottom);
    EXPECT_GE(client.right, 0);
    POINT p{0, 0};
    EXPECT_TRUE(ClientToScreen(c.window, &p));
    InvalidateRect(c.window, nullptr, TRUE);
    Pump();
  }
  EXPECT_TRUE(MoveWindow(child, 3, 4, 20, 30, TRUE));
  RECT back{};
  GetWindowRect(child, &back);
  EXPECT_EQ(back.right - back.left, 20);
}

TEST_F(WindowPos, AMaximisedWindowFillsTheScreenAndFollowsItsSize) {
  HWND main = CreateWindowExA(0, kClass, "Quillory", WS_OVERLAPPEDWINDOW, 0, 0, 630, 465, nullptr, nullptr, nullptr,
                              nullptr);
  log.Clear();
  ShowWindow(main, SW_SHOWMAXIMIZED);
  EXPECT_TRUE(IsZoomed(main));
  EXPECT_TRUE(GetWindowLongA(main, GWL_STYLE) & WS_MAXIMIZE);
  RECT client;
  GetClientRect(main, &client);
  const RECT in = platform::NonClientInsets(WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS, 0, false);
  EXPECT_EQ(client.right, 800);
  EXPECT_EQ(client.bottom, 600 - (in.top - in.left));
  POINT origin{0, 0};
  ClientToScreen(main, &origin);
  EXPECT_EQ(origin.x, 0);
  const auto sizes = log.Of(main, WM_SIZE);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(sizes[0].wParam, static_cast<WPARAM>(SIZE_MAXIMIZED));

  platform::SetScreenSize(1024, 768);
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 1024);
  ShowWindow(main, SW_RESTORE);
  RECT r;
  GetWindowRect(main, &r);
  EXPECT_EQ(r.right - r.left, 630);
  EXPECT_FALSE(IsZoomed(main));
  EXPECT_FALSE(GetWindowLongA(main, GWL_STYLE) & WS_MAXIMIZE);
}

}  // namespace

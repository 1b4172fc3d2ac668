// Window classes, creation and destruction, procedures and subclassing, properties, text, and the tree.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/kernel/Errors.h"
#include "support/WindowFixture.h"

namespace {

using WindowTree = WindowFixture;

std::vector<HWND> ChildrenTopFirst(HWND parent) {
  std::vector<HWND> order;
  for (HWND w = GetTopWindow(parent); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) order.push_back(w);
  return order;
}

TEST_F(WindowTree, ClassesAreRegisteredOnceAndFoundWithoutRegardToCase) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "testwindow";
  EXPECT_EQ(RegisterClassA(&wc), 0);
  EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);

  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);

  HWND w = CreateWindowExA(0, "TESTWINDOW", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(UnregisterClassA(kClass, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
  DestroyWindow(w);
  EXPECT_TRUE(UnregisterClassA(kClass, nullptr));
}

TEST_F(WindowTree, CreationSendsItsMessagesInOrderAndShowsAVisibleWindow) {
  HWND w = MakeTop({10, 20, 110, 70});
  // The first window shown activates the program, then the window, which takes the focus.
  const std::vector<UINT> expected = {WM_NCCREATE,    WM_CREATE,    WM_SIZE,     WM_MOVE,
                                      WM_SHOWWINDOW,  WM_WINDOWPOSCHANGING,      WM_WINDOWPOSCHANGED,
                                      WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS};
  EXPECT_EQ(log.Numbers(w), expected);
  EXPECT_TRUE(IsWindowVisible(w));
  const auto size = log.Of(w, WM_SIZE);
  EXPECT_EQ(size[0].lParam, MAKELONG(100, 50));
}

TEST_F(WindowTree, CreateFailsWhenTheProcedureRefusesIt) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    return m == WM_CREATE ? -1 : DefWindowProcA(w, m, wp, lp);
  };
  wc.lpszClassName = "Refuses";
  ASSERT_NE(RegisterClassA(&wc), 0);
  EXPECT_EQ(CreateWindowExA(0, "Refuses", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(WindowTree, DestroyGoesToTheWindowThenItsChildrenAndFreesChildrenFirst) {
  HWND top = MakeTop({0, 0, 200, 200});
  HWND child = MakeChild(top, {0, 0, 50, 50});
  HWND grandchild = MakeChild(child, {0, 0, 10, 10});
  log.Clear();
  EXPECT_TRUE(DestroyWindow(top));
  std::vector<std::pair<HWND, UINT>> order;
  for (const auto& e : log.All()) {
    if (e.message == WM_DESTROY || e.message == WM_NCDESTROY) order.emplace_back(e.window, e.message);
  }
  const std::vector<std::pair<HWND, UINT>> expected = {
      {top, WM_DESTROY},          {child, WM_DESTROY}, {grandchild, WM_DESTROY},
      {grandchild, WM_NCDESTROY}, {child, WM_NCDESTROY}, {top, WM_NCDESTROY}};
  EXPECT_EQ(order, expected);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(grandchild));
  // A handle is never given again, so the stale one stays dead.
  HWND again = MakeTop({0, 0, 10, 10});
  EXPECT_NE(again, top);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(DestroyWindow(top));
}

TEST_F(WindowTree, DestroyingAnOwnerDestroysTheWindowsItOwns) {
  HWND owner = MakeTop({0, 0, 100, 100});
  HWND owned = CreateWindowExA(0, kClass, "", WS_POPUP, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
  EXPECT_EQ(GetParent(owned), owner);
  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(owned));
}

// A subclass procedure that notes what it sees and passes everything on.
WNDPROC gPrevious = nullptr;
std::vector<UINT>* gSeenBySubclass = nullptr;
LRESULT Subclass(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (gSeenBySubclass) gSeenBySubclass->push_back(m);
  if (m == WM_USER + 1) return 42;
  return CallWindowProcA(gPrevious, w, m, wp, lp);
}

TEST_F(WindowTree, ASubclassProcedureSeesMessagesFirst) {
  HWND w = MakeTop({0, 0, 50, 50});
  std::vector<UINT> order;
  Handle(w, [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m >= WM_USER) order.push_back(m + 1000);
    return std::nullopt;
  });
  std::vector<UINT> seen;
  gSeenBySubclass = &seen;
  gPrevious = reinterpret_cast<WNDPROC>(SetWindowLongA(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)));
  ASSERT_NE(gPrevious, nullptr);
  EXPECT_EQ(GetWindowLongA(w, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(&Subclass));

  EXPECT_EQ(SendMessageA(w, WM_USER + 1, 0, 0), 42);  // answered by the subclass alone
  SendMessageA(w, WM_USER + 2, 0, 0);
  PostMessageA(w, WM_USER + 3, 0, 0);
  Pump();
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1002, WM_USER + 1003}));
  EXPECT_NE(std::find(seen.begin(), seen.end(), WM_USER + 3), seen.end());
  // Putting the old procedure back ends the subclassing.
  SetWindowLongA(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(gPrevious));
  seen.clear();
  SendMessageA(w, WM_USER + 2, 0, 0);
  EXPECT_TRUE(seen.empty());
  gSeenBySubclass = nullptr;
  EXPECT_EQ(SetWindowLongA(w, GWL_WNDPROC, 0), 0);  // a null procedure is refused
  EXPECT_EQ(GetWindowLongA(w, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(gPrevious));
}

TEST_F(WindowTree, LongsStylesAndExtraBytes) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);
  wc.lpszClassName = "WithExtra";
  ASSERT_NE(RegisterClassA(&wc), 0);
  HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, "WithExtra", "", WS_POPUP | WS_BORDER, 0, 0, 10, 10, nullptr, nullptr,
                           nullptr, nullptr);
  EXPECT_EQ(GetWindowLongA(w, GWL_STYLE), static_cast<LONG_PTR>(WS_POPUP | WS_BORDER));
  EXPECT_EQ(GetWindowLongA(w, GWL_EXSTYLE), static_cast<LONG_PTR>(WS_EX_TOOLWINDOW));
  EXPECT_EQ(SetWindowLongA(w, sizeof(LONG_PTR), -7), 0);
  EXPECT_EQ(GetWindowLongA(w, sizeof(LONG_PTR)), -7);
  EXPECT_EQ(GetWindowLongA(w, 0), 0);
  SetLastError(0);
  EXPECT_EQ(GetWindowLongA(w, 2 * sizeof(LONG_PTR)), 0);  // past the extra bytes
  EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
  EXPECT_EQ(SetWindowLongA(w, GWL_USERDATA, 99), 0);
  EXPECT_EQ(GetWindowLongA(w, GWL_USERDATA), 99);
}

TEST_F(WindowTree, PropertiesByNameWithoutRegardToCase) {
  HWND w = MakeTop({0, 0, 10, 10});
  int a = 0, b = 0;
  EXPECT_TRUE(SetPropA(w, "ClassInfo", &a));
  EXPECT_EQ(GetPropA(w, "classinfo"), &a);
  EXPECT_TRUE(SetPropA(w, "CLASSINFO", &b));
  EXPECT_EQ(GetPropA(w, "ClassInfo"), &b);
  EXPECT_EQ(GetPropA(w, "TextStyle"), nullptr);
  EXPECT_EQ(RemovePropA(w, "ClassInfo"), &b);
  EXPECT_EQ(GetPropA(w, "ClassInfo"), nullptr);
  EXPECT_EQ(RemovePropA(w, "ClassInfo"), nullptr);
  DestroyWindow(w);
  EXPECT_FALSE(SetPropA(w, "ClassInfo", &a));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(WindowTree, TextGoesThroughTheWindowsMessages) {
  HWND w = MakeTop({0, 0, 10, 10});
  EXPECT_TRUE(SetWindowTextA(w, "Quillory"));
  EXPECT_EQ(GetWindowTextLengthA(w), 8);
  char buffer[5];
  EXPECT_EQ(GetWindowTextA(w, buffer, sizeof buffer), 4);  // cut to the buffer, terminated
  EXPECT_STREQ(buffer, "Quil");
  char whole[64];
  EXPECT_EQ(GetWindowTextA(w, whole, sizeof whole), 8);
  EXPECT_STREQ(whole, "Quillory");
  EXPECT_EQ(log.Count(w, WM_SETTEXT), 1);
  EXPECT_EQ(log.Count(w, WM_GETTEXT), 2);
  SetWindowTextA(w, nullptr);
  EXPECT_EQ(GetWindowTextLengthA(w), 0);
}

TEST_F(WindowTree, EnableWindowAnswersThePreviousStateAndTellsTheWindow) {
  HWND w = MakeTop({0, 0, 10, 10});
  EXPECT_FALSE(EnableWindow(w, FALSE));
  EXPECT_FALSE(IsWindowEnabled(w));
  EXPECT_TRUE(EnableWindow(w, FALSE));
  EXPECT_TRUE(EnableWindow(w, TRUE));
  EXPECT_TRUE(IsWindowEnabled(w));
  const auto enables = log.Of(w, WM_ENABLE);
  ASSERT_EQ(enables.size(), 2u);
  EXPECT_EQ(enables[0].wParam, 0u);
  EXPECT_EQ(enables[1].wParam, 1u);
}

TEST_F(WindowTree, NewWindowsGoOnTopAndHiddenOnesCountInTheWalks) {
  HWND top = MakeTop({0, 0, 300, 300});
  HWND a = MakeChild(top, {0, 0, 10, 10});
  HWND b = MakeChild(top, {0, 0, 10, 10}, WS_CHILD);  // hidden
  HWND c = MakeChild(top, {0, 0, 10, 10});
  EXPECT_EQ(ChildrenTopFirst(top), (std::vector<HWND>{c, b, a}));
  EXPECT_EQ(GetWindow(c, GW_HWNDLAST), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDPREV), b);
  EXPECT_EQ(GetWindow(top, GW_CHILD), c);
  EXPECT_EQ(GetParent(a), top);
  EXPECT_TRUE(IsChild(top, a));
  EXPECT_FALSE(IsChild(a, top));

  struct Case {
    const char* name;
    HWND window;
    HWND insertAfter;
    std::vector<HWND> order;
  };
  const Case cases[] = {
      {"to the top", a, HWND_TOP, {a, c, b}},
      {"to the bottom", a, HWND_BOTTOM, {c, b, a}},
      {"below a sibling", c, b, {b, c, a}},
      {"below itself: unchanged", c, c, {b, c, a}},
      {"hidden one to the top", b, HWND_TOP, {b, c, a}},
      {"below the bottom one", b, a, {c, a, b}},
  };
  for (const Case& test : cases) {
    EXPECT_TRUE(SetWindowPos(test.window, test.insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE)) << test.name;
    EXPECT_EQ(ChildrenTopFirst(top), test.order) << test.name;
  }
  HWND stranger = MakeTop({0, 0, 5, 5});
  EXPECT_FALSE(SetWindowPos(a, stranger, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));  // not a sibling
  EXPECT_EQ(GetTopWindow(nullptr), stranger);
}

}  // namespace

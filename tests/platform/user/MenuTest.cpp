// Menus of the window system: building and querying menus, the menu bar in a window's frame, the user
// choosing with the mouse and the keys (a scripted hand acts whenever the menu loop waits for input),
// TrackPopupMenu, and accelerators of greyed items.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "core/Text1252.h"
#include "platform/screen/HeadlessBackend.h"
#include "platform/user/Screen.h"
#include "platform/backend/SdlBackend.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/Keyboard.h"
#include "platform/user/Menu.h"
#include "platform/user/Timer.h"
#include "support/Netpbm.h"
#include "support/WindowFixture.h"
#include "support/XvfbChild.h"

namespace {

using platform::InjectKey;
using platform::InjectMouseButton;
using platform::InjectMouseMove;
using platform::MouseButton;

WPARAM AsParam(HMENU menu) { return reinterpret_cast<WPARAM>(menu); }
UINT_PTR Sub(HMENU menu) { return reinterpret_cast<UINT_PTR>(menu); }

POINT Centre(RECT r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Menus built and changed without being shown.
class MenuObjects : public WindowFixture {};

TEST_F(MenuObjects, ItemsAreBuiltAndReadBackByPositionAndByCommand) {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  HMENU import = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuA(import, MF_STRING, 0x103, "Fichier..."));
  ASSERT_TRUE(AppendMenuA(file, MF_STRING, 0x101, "Nouvelle page cntl+N"));
  ASSERT_TRUE(AppendMenuA(file, MF_SEPARATOR, 0, "-"));
  ASSERT_TRUE(AppendMenuA(file, MF_POPUP, Sub(import), "Importer"));
  ASSERT_TRUE(InsertMenuA(file, 0x101, MF_BYCOMMAND | MF_STRING, 0x100, "Ouvrir..."));
  ASSERT_TRUE(AppendMenuA(bar, MF_POPUP, Sub(file), "Fichier"));

  EXPECT_EQ(GetMenuItemCount(file), 4);
  struct Row {
    int position;
    UINT id;
    const char* text;
    HMENU sub;
  };
  const Row rows[] = {{0, 0x100, "Ouvrir...", nullptr},
                      {1, 0x101, "Nouvelle page cntl+N", nullptr},
                      {2, 0, "", nullptr},
                      {3, static_cast<UINT>(-1), "Importer", import}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.position);
    EXPECT_EQ(GetMenuItemID(file, row.position), row.id);
    EXPECT_EQ(GetSubMenu(file, row.position), row.sub);
    char text[64];
    GetMenuStringA(file, static_cast<UINT>(row.position), text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, row.text);
  }
  // Commands are found through the bar, in sub-menus at any depth.
  char text[64];
  EXPECT_EQ(GetMenuStringA(bar, 0x103, text, sizeof text, MF_BYCOMMAND), 10);
  EXPECT_STREQ(text, "Fichier...");
  EXPECT_EQ(GetMenuStringA(bar, 0x101, text, 8, MF_BYCOMMAND), 7);  // cut to the buffer
  EXPECT_STREQ(text, "Nouvell");
  EXPECT_EQ(GetMenuState(file, 3, MF_BYPOSITION), (1u << 8) | MF_POPUP);
  EXPECT_EQ(GetMenuState(bar, 0x999, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_EQ(GetMenuItemID(file, 9), static_cast<UINT>(-1));
  EXPECT_EQ(GetSubMenu(file, -1), nullptr);
  EXPECT_TRUE(DestroyMenu(bar));
}

TEST_F(MenuObjects, EnableAndCheckAnswerThePreviousStateOrMinusOne) {
  HMENU bar = CreateMenu();
  HMENU edit = CreatePopupMenu();
  AppendMenuA(edit, MF_STRING, 0x201, "Couper");
  AppendMenuA(edit, MF_STRING | MF_GRAYED, 0x202, "Coller");
  AppendMenuA(bar, MF_POPUP, Sub(edit), "Édition"_cp);

  EXPECT_EQ(EnableMenuItem(bar, 0x202, MF_BYCOMMAND | MF_ENABLED), static_cast<BOOL>(MF_GRAYED));
  EXPECT_EQ(EnableMenuItem(bar, 0x202, MF_BYCOMMAND | MF_GRAYED), static_cast<BOOL>(MF_ENABLED));
  EXPECT_EQ(EnableMenuItem(edit, 0, MF_BYPOSITION | MF_GRAYED), static_cast<BOOL>(MF_ENABLED));
  EXPECT_EQ(GetMenuState(bar, 0x201, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(CheckMenuItem(bar, 0x201, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(CheckMenuItem(bar, 0x201, MF_BYCOMMAND | MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
  // No item with the identifier, or no menu at all.
  EXPECT_EQ(EnableMenuItem(bar, 0x299, MF_BYCOMMAND | MF_GRAYED), -1);
  EXPECT_EQ(CheckMenuItem(bar, 0x299, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(-1));
  EXPECT_EQ(EnableMenuItem(edit, 5, MF_BYPOSITION | MF_GRAYED), -1);
  DestroyMenu(bar);
  EXPECT_EQ(EnableMenuItem(bar, 0x201, MF_BYCOMMAND | MF_GRAYED), -1);
  EXPECT_FALSE(IsMenu(edit));  // it went with the bar
}

TEST_F(MenuObjects, SubMenusAreDestroyedByDeleteKeptByRemoveAndReplacedByModify) {
  HMENU menu = CreatePopupMenu();
  HMENU a = CreatePopupMenu(), b = CreatePopupMenu(), c = CreatePopupMenu(), d = CreatePopupMenu();
  for (HMENU sub : {a, b, c}) AppendMenuA(menu, MF_POPUP, Sub(sub), "sub");
  ASSERT_TRUE(DeleteMenu(menu, 0, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(a));
  ASSERT_TRUE(RemoveMenu(menu, 0, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(b));
  // The same sub-menu again keeps it; another one destroys the one it replaces.
  ASSERT_TRUE(ModifyMenuA(menu, 0, MF_BYPOSITION | MF_POPUP, Sub(c), "Projets"));
  EXPECT_TRUE(IsMenu(c));
  ASSERT_TRUE(ModifyMenuA(menu, 0, MF_BYPOSITION | MF_POPUP, Sub(d), "Projets"));
  EXPECT_FALSE(IsMenu(c));
  EXPECT_EQ(GetSubMenu(menu, 0), d);
  // A command item replaced by command keeps its place and takes the new text.
  AppendMenuA(menu, MF_STRING, 0x10A, "Annuler cntl+Z");
  ASSERT_TRUE(ModifyMenuA(menu, 0x10A, MF_BYCOMMAND | MF_STRING, 0x10A, "Refaire cntl+Z"));
  char text[32];
  GetMenuStringA(menu, 1, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Refaire cntl+Z");
  EXPECT_FALSE(DeleteMenu(menu, 7, MF_BYPOSITION));
  EXPECT_FALSE(ModifyMenuA(menu, 0x999, MF_BYCOMMAND, 0x999, "x"));
  DestroyMenu(menu);
  DestroyMenu(b);
  EXPECT_FALSE(IsMenu(d));
}

// A program object kept in a global made before the first menu, as a dialog's pop-up menu is: its menu
// is asked about and destroyed in the exit handlers, after the menus' own statics would be destroyed.
struct MenuKeptUntilExit {
  ~MenuKeptUntilExit() {
    if (menu == nullptr) return;
    if (GetMenuItemCount(menu) != 1) std::abort();
    DestroyMenu(menu);
  }
  HMENU menu = nullptr;
};
MenuKeptUntilExit gMenuKeptUntilExit;

TEST(MenusAtExit, AMenuDestroyedByAGlobalAtExitEndsTheProgramQuietly) {
  EXPECT_EXIT(
      {
        gMenuKeptUntilExit.menu = CreatePopupMenu();
        AppendMenuA(gMenuKeptUntilExit.menu, MF_STRING, 1, "Un");
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(MenuObjects, AMenuCannotOpenItselfAndBadHandlesAreRefused) {
  HMENU outer = CreatePopupMenu();
  HMENU inner = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuA(outer, MF_POPUP, Sub(inner), "inner"));
  EXPECT_FALSE(AppendMenuA(inner, MF_POPUP, Sub(outer), "loop"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(AppendMenuA(inner, MF_POPUP, Sub(inner), "self"));
  EXPECT_FALSE(AppendMenuA(outer, MF_POPUP, 0x1234, "not a menu"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
  EXPECT_FALSE(AppendMenuA(reinterpret_cast<HMENU>(0x1234), MF_STRING, 1, "x"));
  EXPECT_FALSE(DestroyMenu(reinterpret_cast<HMENU>(0x1234)));
  EXPECT_EQ(GetMenuItemCount(reinterpret_cast<HMENU>(0x1234)), -1);
  DestroyMenu(outer);
}

TEST_F(MenuObjects, AWindowTakesItsBarAlongWhenDestroyedAndSetMenuMovesTheClientArea) {
  HMENU bar = CreateMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuA(bar, MF_POPUP, Sub(sub), "Fichier");
  HWND main = CreateWindowExA(0, kClass, "Quillory", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 630, 465, nullptr, bar,
                              nullptr, nullptr);
  EXPECT_EQ(GetMenu(main), bar);
  HWND child = MakeChild(main, {0, 0, 50, 50});
  EXPECT_EQ(GetMenu(child), nullptr);
  EXPECT_FALSE(SetMenu(child, bar));
  EXPECT_FALSE(DrawMenuBar(child));

  POINT origin{0, 0};
  ClientToScreen(main, &origin);
  log.Clear();
  ASSERT_TRUE(SetMenu(main, nullptr));
  POINT without{0, 0};
  ClientToScreen(main, &without);
  EXPECT_EQ(origin.y - without.y, 22);
  const auto sizes = log.Of(main, WM_SIZE);
  ASSERT_EQ(sizes.size(), 1u);
  RECT client{};
  GetClientRect(main, &client);
  EXPECT_EQ(HIWORD(sizes[0].lParam), client.bottom);
  EXPECT_TRUE(IsMenu(bar));  // taken off, not destroyed
  ASSERT_TRUE(SetMenu(main, bar));
  ClientToScreen(main, &(without = POINT{0, 0}));
  EXPECT_EQ(without.y, origin.y);
  DestroyWindow(main);
  EXPECT_FALSE(IsMenu(bar));
  EXPECT_FALSE(IsMenu(sub));
}

TEST_F(MenuObjects, ABarDestroyedUnderItsWindowDrawsEmptyAndLeavesNoError) {
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_STRING, 0x10, "Fichier");
  HWND main = CreateWindowExA(0, kClass, "Quillory", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, bar,
                              nullptr, nullptr);
  Pump();
  ASSERT_TRUE(DestroyMenu(bar));
  SetLastError(0);
  ASSERT_TRUE(DrawMenuBar(main));
  Pump();
  EXPECT_EQ(GetLastError(), 0u);
  RECT r{};
  EXPECT_FALSE(GetMenuItemRect(main, bar, 0, &r));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
}

// The user's hand: each time the menu loop waits for input, the next scripted step runs; when the script
// is over, Escape is pressed so that a test that went wrong ends instead of waiting for ever.
class MenuInput : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    platform::SetBackend(std::make_unique<platform::HeadlessBackend>([this](DWORD ms) { Idle(ms); }));
    bar = CreateMenu();
    file = CreatePopupMenu();
    edit = CreatePopupMenu();
    import = CreatePopupMenu();
    AppendMenuA(import, MF_STRING, 0x131, "Fichier...");
    AppendMenuA(import, MF_STRING, 0x132, "Scanner...");
    AppendMenuA(file, MF_STRING, 0x101, "Nouvelle page cntl+N");
    AppendMenuA(file, MF_STRING, 0x102, "Ouvrir... cntl+O");
    AppendMenuA(file, MF_POPUP, Sub(import), "Importer");
    AppendMenuA(file, MF_SEPARATOR, 0, "-");
    AppendMenuA(file, MF_STRING | MF_GRAYED, 0x105, "Fermer cntl+W");
    AppendMenuA(file, MF_STRING, 0x106, "Quitter cntl+Q");
    AppendMenuA(edit, MF_STRING, 0x201, "Annuler cntl+Z");
    AppendMenuA(edit, MF_STRING | MF_CHECKED, 0x202, "Grille");
    AppendMenuA(bar, MF_POPUP, Sub(file), "Fichier");
    AppendMenuA(bar, MF_POPUP, Sub(edit), "Édition"_cp);
    main = CreateWindowExA(0, kClass, "Quillory", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 630, 465, nullptr, bar,
                           nullptr, nullptr);
    Pump();
    log.Clear();
  }

  void Idle(DWORD ms) {
    Advance(ms);
    if (!steps.empty()) {
      auto step = std::move(steps.front());
      steps.pop_front();
      step();
      return;
    }
    if (++idleAfterScript == 20) {
      ADD_FAILURE() << "the menu loop still waits after the script ended";
    }
    InjectKey(VK_ESCAPE, true);
    InjectKey(VK_ESCAPE, false);
  }

  void Then(std::function<void()> step) { steps.push_back(std::move(step)); }

  RECT BarItem(int position) {
    RECT r{};
    EXPECT_TRUE(GetMenuItemRect(main, bar, static_cast<UINT>(position), &r));
    return r;
  }
  RECT Item(HMENU menu, int position) {
    RECT r{};
    EXPECT_TRUE(GetMenuItemRect(main, menu, static_cast<UINT>(position), &r)) << "that menu is not open";
    return r;
  }
  static void Press(POINT p) { InjectMouseButton(p.x, p.y, MouseButton::Left, true); }
  static void Release(POINT p) { InjectMouseButton(p.x, p.y, MouseButton::Left, false); }
  static void Click(POINT p) {
    Press(p);
    Release(p);
  }
  static void Key(int key) {
    InjectKey(key, true, key >= VK_LEFT && key <= VK_DOWN);
    InjectKey(key, false, key >= VK_LEFT && key <= VK_DOWN);
  }
  // Opens the bar item with a click; the menu loop runs until the script ends it.
  void ClickBar(int position) {
    Click(Centre(BarItem(position)));
    Pump();
  }
  std::vector<WPARAM> Commands() {
    std::vector<WPARAM> ids;
    for (const LoggedMessage& m : log.Of(main, WM_COMMAND)) {
      EXPECT_EQ(m.lParam, 0);
      ids.push_back(m.wParam);
    }
    return ids;
  }
  static bool IsOpen(HMENU menu) {
    RECT r;
    return GetMenuItemRect(nullptr, menu, 0, &r) != FALSE;
  }

  HMENU bar = nullptr, file = nullptr, edit = nullptr, import = nullptr;
  HWND main = nullptr;
  std::deque<std::function<void()>> steps;
  int idleAfterScript = 0;
};

TEST_F(MenuInput, AClickOnTheBarOpensTheMenuAfterTellingTheOwnerAndAClickOnAnItemChoosesIt) {
  bool openWhenAsked = true;
  Handle(main, [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_INITMENUPOPUP) openWhenAsked = IsOpen(file);
    return std::nullopt;
  });
  Then([&] { Click(Centre(Item(file, 1))); });
  ClickBar(0);
  // Told first, with the bar and then the menu (its place on the bar), before the menu shows.
  std::vector<LoggedMessage> told;
  for (const LoggedMessage& m : log.Of(main)) {
    if (m.message == WM_INITMENU || m.message == WM_INITMENUPOPUP) told.push_back(m);
  }
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[0].message, WM_INITMENU);
  EXPECT_EQ(told[0].wParam, AsParam(bar));
  EXPECT_EQ(told[1].message, WM_INITMENUPOPUP);
  EXPECT_EQ(told[1].wParam, AsParam(file));
  EXPECT_EQ(told[1].lParam, 0);
  EXPECT_FALSE(openWhenAsked);
  EXPECT_EQ(Commands(), std::vector<WPARAM>{0x102});
  EXPECT_FALSE(IsOpen(file));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MenuInput, GreyedItemsSeparatorsAndSubMenuTitlesAreNotChosenAndEscapeLeaves) {
  for (int position : {2, 3, 4}) {
    SCOPED_TRACE(position);
    log.Clear();
    bool stillOpen = false;
    Then([&, position] { Click(Centre(Item(file, position))); });
    Then([&] {
      stillOpen = IsOpen(file);
      Key(VK_ESCAPE);
    });
    ClickBar(0);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(Commands().empty());
    EXPECT_FALSE(IsOpen(file));
  }
}

TEST_F(MenuInput, PressOnTheBarDragToAnItemAndReleaseChoosesIt) {
  Then([&] {
    const POINT item = Centre(Item(file, 0));
    InjectMouseMove(item.x, item.y);
    Release(item);
  });
  Press(Centre(BarItem(0)));
  Pump();
  EXPECT_EQ(Commands(), std::vector<WPARAM>{0x101});
}

TEST_F(MenuInput, MovingAlongTheBarSwitchesMenusAndAPressAwayLeavesWithoutACommand) {
  bool fileClosed = false, editOpen = false;
  Then([&] {
    const POINT p = Centre(BarItem(1));
    InjectMouseMove(p.x, p.y);
  });
  Then([&] {
    fileClosed = !IsOpen(file);
    editOpen = IsOpen(edit);
    Click(POINT{400, 400});
  });
  ClickBar(0);
  EXPECT_TRUE(fileClosed);
  EXPECT_TRUE(editOpen);
  EXPECT_TRUE(Commands().empty());
  EXPECT_EQ(log.Count(main, WM_INITMENUPOPUP), 2);
  EXPECT_EQ(log.Of(main, WM_INITMENUPOPUP)[1].lParam, 1);
}

TEST_F(MenuInput, ASubMenuOpensBesideItsItemAndItsItemsAreChosen) {
  RECT parent{}, item{}, first{};
  Then([&] {
    const POINT p = Centre(Item(file, 2));
    InjectMouseMove(p.x, p.y);
  });
  Then([&] {
    item = Item(file, 2);
    first = Item(import, 0);
    Click(Centre(Item(import, 1)));
  });
  ClickBar(0);
  (void)parent;
  EXPECT_GT(first.left, item.right - 8);
  EXPECT_LT(std::abs(first.top - item.top), 8);
  EXPECT_EQ(Commands(), std::vector<WPARAM>{0x132});
  const auto told = log.Of(main, WM_INITMENUPOPUP);
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[1].wParam, AsParam(import));
  EXPECT_EQ(told[1].lParam, 2);
}

TEST_F(MenuInput, KeysMoveThroughTheItemsSkippingSeparatorsAndReturnChooses) {
  // Up from nothing lights the last item, Down goes round to the first; four times Down passes the
  // separator and lights "Fermer", greyed, where Return does nothing; on "Quitter" it chooses.
  Then([&] {
    Key(VK_UP);
    for (int i = 0; i < 5; ++i) Key(VK_DOWN);
    Key(VK_RETURN);
  });
  Then([&] {
    Key(VK_DOWN);
    Key(VK_RETURN);
  });
  ClickBar(0);
  EXPECT_EQ(Commands(), std::vector<WPARAM>{0x106});
}

TEST_F(MenuInput, AltAloneOrF10TakesTheKeysToTheBar) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, bool>> keys;  // key, down
    std::vector<WPARAM> commands;
    int told;  // WM_INITMENU
  };
  const std::vector<Case> cases = {
      {"Alt, Down, Return", {{VK_MENU, true}, {VK_MENU, false}, {VK_DOWN, true}, {VK_RETURN, true}}, {0x101}, 1},
      {"F10, Right, Down twice, Return",
       {{VK_F10, true}, {VK_F10, false}, {VK_RIGHT, true}, {VK_DOWN, true}, {VK_DOWN, true}, {VK_RETURN, true}},
       {0x202},
       1},
      {"Alt, Escape", {{VK_MENU, true}, {VK_MENU, false}, {VK_ESCAPE, true}}, {}, 1},
      {"Alt with a letter", {{VK_MENU, true}, {'X', true}, {'X', false}, {VK_MENU, false}}, {}, 0},
      {"Ctrl and Alt, as for typing @", {{VK_CONTROL, true}, {VK_MENU, true}, {VK_MENU, false}, {VK_CONTROL, false}}, {}, 0},
  };
  SetFocus(main);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.Clear();
    for (const auto& [key, down] : c.keys) {
      const bool extended = key >= VK_LEFT && key <= VK_DOWN;
      InjectKey(key, down, extended);
      if (down && key != VK_MENU && key != VK_CONTROL && key != 'X' && key != VK_F10) InjectKey(key, false, extended);
    }
    Pump();
    EXPECT_EQ(Commands(), c.commands);
    EXPECT_EQ(log.Count(main, WM_INITMENU), c.told);
    EXPECT_EQ(GetCapture(), nullptr);
  }
}

// The program may change or destroy menus, or the window, while the user is in them.
enum class Change { DestroyMenuWhenAsked, EmptyOpenMenu, DestroyOwner };
class MenuChanges : public MenuInput, public ::testing::WithParamInterface<Change> {};

TEST_P(MenuChanges, AreLeftSafely) {
  const Change change = GetParam();
  Handle(main, [&](HWND window, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_INITMENUPOPUP && change == Change::DestroyMenuWhenAsked) DestroyMenu(file);
    if (message == WM_TIMER && wParam == 9) {
      KillTimer(window, 9);
      if (change == Change::EmptyOpenMenu) {
        while (GetMenuItemCount(file) > 0) DeleteMenu(file, 0, MF_BYPOSITION);
      } else if (change == Change::DestroyOwner) {
        DestroyWindow(window);
      }
    }
    return std::nullopt;
  });
  RECT item{};
  Then([&] {
    GetMenuItemRect(main, file, 1, &item);
    SetTimer(main, 9, 10, nullptr);
    Advance(50);
  });
  Then([&] { Click(Centre(item)); });
  Then([&] { Key(VK_ESCAPE); });
  Click(Centre(BarItem(0)));
  Pump();
  EXPECT_TRUE(Commands().empty());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(IsOpen(file));
}

INSTANTIATE_TEST_SUITE_P(WhileOpen, MenuChanges,
                         ::testing::Values(Change::DestroyMenuWhenAsked, Change::EmptyOpenMenu, Change::DestroyOwner));

TEST_F(MenuInput, OtherMessagesAreDispatchedWhileTheMenuIsOpen) {
  PostMessageA(main, WM_USER + 5, 0, 0);
  SetTimer(main, 7, 50, nullptr);
  Then([&] { Advance(100); });
  Then([&] { Key(VK_ESCAPE); });
  ClickBar(1);
  EXPECT_EQ(log.Count(main, WM_USER + 5), 1);
  EXPECT_GE(log.Count(main, WM_TIMER), 1);
  KillTimer(main, 7);
}

TEST_F(MenuInput, TrackPopupMenuAnswersOrPostsTheChoiceAsTheFlagsSay) {
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, 0x401, "Un");
  AppendMenuA(popup, MF_STRING, 0x402, "Deux");
  AppendMenuA(popup, MF_STRING, 0x403, "Trois");
  struct Case {
    UINT flags;
    BOOL answer;
    std::vector<WPARAM> posted;
    int told;
  };
  const Case cases[] = {
      {TPM_RETURNCMD, 0x403, {}, 2},
      {TPM_LEFTALIGN, TRUE, {0x403}, 2},
      {TPM_RETURNCMD | TPM_NONOTIFY, 0x403, {}, 0},
      {TPM_NONOTIFY, TRUE, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    log.Clear();
    Then([&] { Click(Centre(Item(popup, 2))); });
    EXPECT_EQ(TrackPopupMenu(popup, c.flags, 200, 150, 0, main, nullptr), c.answer);
    Pump();
    EXPECT_EQ(Commands(), c.posted);
    EXPECT_EQ(log.Count(main, WM_INITMENU) + log.Count(main, WM_INITMENUPOPUP), c.told);
  }
  // Left without a choice: no command, and 0 or success.
  Then([&] { Key(VK_ESCAPE); });
  EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 200, 150, 0, main, nullptr), 0);
  Then([&] { Key(VK_ESCAPE); });
  EXPECT_EQ(TrackPopupMenu(popup, 0, 200, 150, 0, main, nullptr), TRUE);
  EXPECT_FALSE(TrackPopupMenu(reinterpret_cast<HMENU>(0x99), 0, 200, 150, 0, main, nullptr));
  EXPECT_FALSE(TrackPopupMenu(popup, 0, 200, 150, 0, reinterpret_cast<HWND>(0x99), nullptr));
  DestroyMenu(popup);
}

TEST_F(MenuInput, APopUpLiesWhereTheAlignmentSaysAndStaysOnTheScreen) {
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, 0x401, "Un");
  AppendMenuA(popup, MF_STRING, 0x402, "Deux");
  struct Case {
    UINT flags;
    POINT at;
  };
  const Case cases[] = {{TPM_LEFTALIGN | TPM_TOPALIGN, {300, 200}},
                        {TPM_CENTERALIGN | TPM_VCENTERALIGN, {300, 200}},
                        {TPM_RIGHTALIGN | TPM_BOTTOMALIGN, {300, 200}},
                        {TPM_CENTERALIGN | TPM_VCENTERALIGN, {795, 598}},
                        {TPM_LEFTALIGN, {-50, -50}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    RECT frame{};
    Then([&] {
      const RECT first = Item(popup, 0), second = Item(popup, 1);
      // The items with the frame round them: three pixels on every side.
      frame = RECT{first.left - 3, first.top - 3, second.right + 3, second.bottom + 3};
      Key(VK_ESCAPE);
    });
    TrackPopupMenu(popup, c.flags | TPM_RETURNCMD, c.at.x, c.at.y, 0, main, nullptr);
    const LONG width = frame.right - frame.left, height = frame.bottom - frame.top;
    ASSERT_GT(width, 0);
    LONG left = c.at.x, top = c.at.y;
    if (c.flags & TPM_CENTERALIGN) left -= width / 2;
    if (c.flags & TPM_RIGHTALIGN) left -= width;
    if (c.flags & TPM_VCENTERALIGN) top -= height / 2;
    if (c.flags & TPM_BOTTOMALIGN) top -= height;
    left = std::clamp<LONG>(left, 0, 800 - width);
    top = std::clamp<LONG>(top, 0, 600 - height);
    EXPECT_EQ(frame.left, left);
    EXPECT_EQ(frame.top, top);
  }
  DestroyMenu(popup);
}

TEST_F(MenuInput, APopUpOpenedUnderAHeldButtonIsNotChosenFromByLettingGoWithoutMoving) {
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, 0x401, "Un");
  AppendMenuA(popup, MF_STRING, 0x402, "Deux");
  AppendMenuA(popup, MF_STRING, 0x403, "Trois");
  // The program tracks the menu on a press, centred on the mouse, as pop-up controls do.
  UINT_PTR answer = 99;
  bool openAfterRelease = false;
  Handle(main, [&](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message != WM_LBUTTONDOWN) return std::nullopt;
    POINT p{};
    GetCursorPos(&p);
    answer = static_cast<UINT_PTR>(
        TrackPopupMenu(popup, TPM_CENTERALIGN | TPM_VCENTERALIGN | TPM_RETURNCMD, p.x, p.y, 0, window, nullptr));
    return 0;
  });
  POINT inside{0, 0};
  ClientToScreen(main, &inside);
  inside.x += 200;
  inside.y += 150;
  Then([&] { Release(inside); });
  Then([&] {
    openAfterRelease = IsOpen(popup);
    Click(Centre(Item(popup, 0)));
  });
  Press(inside);
  Pump();
  EXPECT_TRUE(openAfterRelease);
  EXPECT_EQ(answer, 0x401u);
  DestroyMenu(popup);
}

TEST_F(MenuInput, ASecondMenuCannotBeTrackedWhileOneIsOpen) {
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, 0x401, "Un");
  BOOL nested = TRUE;
  DWORD error = 0;
  Handle(main, [&](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_INITMENUPOPUP) {
      nested = TrackPopupMenu(popup, 0, 10, 10, 0, window, nullptr);
      error = GetLastError();
    }
    return std::nullopt;
  });
  Then([&] { Key(VK_ESCAPE); });
  ClickBar(0);
  EXPECT_FALSE(nested);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_POPUP_ALREADY_ACTIVE));
  DestroyMenu(popup);
}

TEST_F(MenuInput, EveryTwentySeventhEntryStartsANewColumn) {
  HMENU fonts = CreatePopupMenu();
  for (int i = 1; i <= 60; ++i) {
    const std::string name = "Police " + std::to_string(i);
    AppendMenuA(fonts, (i % 27 == 0 ? MF_MENUBARBREAK : MF_STRING), 0x500 + i, name.c_str());
  }
  std::vector<RECT> rects;
  Then([&] {
    for (int i = 0; i < 60; ++i) rects.push_back(Item(fonts, i));
    Key(VK_ESCAPE);
  });
  TrackPopupMenu(fonts, TPM_RETURNCMD, 10, 10, 0, main, nullptr);
  ASSERT_EQ(rects.size(), 60u);
  // Entries 1 to 26 in one column, 27 to 53 in the next, 54 on in the third.
  for (int i = 1; i < 60; ++i) {
    SCOPED_TRACE(i + 1);
    const bool newColumn = (i + 1) % 27 == 0;
    if (newColumn) {
      EXPECT_GT(rects[i].left, rects[i - 1].right);
      EXPECT_EQ(rects[i].top, rects[0].top);
    } else {
      EXPECT_EQ(rects[i].left, rects[i - 1].left);
      EXPECT_EQ(rects[i].top, rects[i - 1].bottom);
    }
  }
  DestroyMenu(fonts);
}

TEST_F(MenuInput, AnAcceleratorOfAGreyedItemSendsNoCommandAndTheOwnerIsToldFirst) {
  const ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'W', 0x105}, {FVIRTKEY | FCONTROL, 'Q', 0x106},
                        {FVIRTKEY | FCONTROL, 'K', 0x777}};
  const HACCEL table = CreateAcceleratorTableA(keys, 3);
  // The owner refreshes the items when told, as the program's menus do before a shortcut runs.
  Handle(main, [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_INITMENU) EnableMenuItem(bar, 0x106, MF_BYCOMMAND | MF_ENABLED);
    return std::nullopt;
  });
  EnableMenuItem(bar, 0x106, MF_BYCOMMAND | MF_GRAYED);
  SetFocus(main);
  for (const int letter : {'W', 'Q', 'K'}) {
    InjectKey(VK_CONTROL, true);
    InjectKey(letter, true);
    InjectKey(letter, false);
    InjectKey(VK_CONTROL, false);
  }
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (TranslateAcceleratorA(main, table, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  // Ctrl+W: "Fermer" is greyed, nothing. Ctrl+Q: greyed until told, then sent. Ctrl+K: no menu item.
  EXPECT_EQ(Commands(), (std::vector<WPARAM>{MAKELONG(0x106, 1), MAKELONG(0x777, 1)}));
  EXPECT_EQ(log.Count(main, WM_INITMENU), 2);
  DestroyAcceleratorTable(table);
}

}  // namespace

namespace {

// The look of a bar (a bitmap title, a greyed title, the open title pressed in) and of its open menu (a
// ticked item, the highlighted item, a greyed one, a separator, a sub-menu's arrow), compared with the
// picture checked in; QUILLORY_UPDATE_GOLDEN=1 writes it again after a deliberate change.
TEST_F(MenuInput, GoldenLookOfTheBarAndAnOpenMenu) {
  const bool update = std::getenv("QUILLORY_UPDATE_GOLDEN") != nullptr && *std::getenv("QUILLORY_UPDATE_GOLDEN") == '1';
  // A 12 x 12 bitmap title: a black square with a white centre, as a little picture on the bar.
  HDC screen = GetDC(nullptr);
  HBITMAP picture = CreateCompatibleBitmap(screen, 12, 12);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ previous = SelectObject(dc, picture);
  PatBlt(dc, 0, 0, 12, 12, BLACKNESS);
  PatBlt(dc, 3, 3, 6, 6, WHITENESS);
  SelectObject(dc, previous);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  HMENU about = CreatePopupMenu();
  AppendMenuA(about, MF_STRING, 1, "À propos de Quillory..."_cp);
  InsertMenuA(bar, 0, MF_BYPOSITION | MF_POPUP | MF_BITMAP, Sub(about), reinterpret_cast<LPCSTR>(picture));
  AppendMenuA(bar, MF_STRING | MF_GRAYED, 0x300, "Lien");
  CheckMenuItem(file, 0x101, MF_BYCOMMAND | MF_CHECKED);
  DrawMenuBar(main);

  // The bar as it looks with no menu open, which it looks like again once the menu is left.
  auto barShot = [&] {
    Pump();
    RECT window{};
    GetWindowRect(main, &window);
    const auto& pixels = platform::ComposeScreen();
    std::vector<std::uint32_t> bar;
    for (int y = window.top + 20; y < window.top + 42; ++y) {
      for (int x = window.left; x < window.left + 180; ++x) bar.push_back(pixels[static_cast<std::size_t>(y) * 800 + x]);
    }
    return bar;
  };
  const std::vector<std::uint32_t> closed = barShot();
  ColourPicture shot;
  Then([&] {
    const POINT p = Centre(Item(file, 1));
    InjectMouseMove(p.x, p.y);
  });
  Then([&] {
    RECT window{}, last{};
    GetWindowRect(main, &window);
    last = Item(file, 5);
    const auto& pixels = platform::ComposeScreen();
    shot = ColourPicture{180, last.bottom + 4 - window.top, {}};
    for (int y = window.top; y < last.bottom + 4; ++y) {
      for (int x = window.left; x < window.left + 180; ++x) {
        shot.pixels.push_back(pixels[static_cast<std::size_t>(y) * 800 + x] & 0xFFFFFF);
      }
    }
    Key(VK_ESCAPE);
  });
  ClickBar(1);
  EXPECT_EQ(barShot(), closed);
  const std::string golden = std::string(QUILLORY_SOURCE_DIR) + "/tests/fixtures/menus/open-menu.ppm";
  if (update) {
    ASSERT_TRUE(WritePpm(golden, shot));
  }
  const auto expected = ReadPpm(golden);
  ASSERT_TRUE(expected) << golden;
  if (!(*expected == shot)) {
    const std::string actual = std::string(QUILLORY_BINARY_DIR) + "/open-menu.ppm";
    WritePpm(actual, shot);
    ADD_FAILURE() << "the menu differs from " << golden << "; it is in " << actual;
  }
  DeleteObject(picture);
}

}  // namespace

namespace {

// Under a real X server (started by the test below), real clicks made with xdotool open the bar's menu
// and choose an item: the program's window gets the item's command.
HWND gMenuWindow = nullptr;
HMENU gMenuFile = nullptr;
std::vector<WPARAM> gMenuCommands;

std::string XdotoolClick(POINT p) {
  return "timeout 20 xdotool search --sync --name '^Quillory menus$' mousemove --sync --window %1 " +
         std::to_string(p.x) + " " + std::to_string(p.y) + " click 1";
}

LRESULT MenuWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) gMenuCommands.push_back(wParam);
  // Once the menu shows, the hand moves on to its second item, while the menu loop keeps running.
  RECT item{};
  if (message == WM_TIMER && GetMenuItemRect(window, gMenuFile, 1, &item)) {
    KillTimer(window, 1);
    const std::string click = "(" + XdotoolClick(Centre(item)) + ") >/dev/null 2>&1 &";
    EXPECT_EQ(std::system(click.c_str()), 0);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void MenuUnderX() {
  setenv("SDL_VIDEODRIVER", "x11", 1);
  platform::ResetWindowSystemForTesting();
  platform::SetScreenSize(640, 480);
  std::string error;
  auto sdl = platform::SdlBackend::Open("Quillory menus", &error);
  ASSERT_TRUE(sdl) << error;
  platform::SetBackend(std::move(sdl));
  WNDCLASSA wc{};
  wc.lpfnWndProc = MenuWindowProcedure;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = "MenuUnderX";
  ASSERT_NE(RegisterClassA(&wc), 0);
  HMENU bar = CreateMenu();
  gMenuFile = CreatePopupMenu();
  AppendMenuA(gMenuFile, MF_STRING, 0x101, "Nouvelle page");
  AppendMenuA(gMenuFile, MF_STRING, 0x102, "Ouvrir...");
  AppendMenuA(bar, MF_POPUP, Sub(gMenuFile), "Fichier");
  gMenuWindow = CreateWindowExA(0, "MenuUnderX", "Quillory", WS_OVERLAPPEDWINDOW, 0, 0, 630, 465, nullptr, bar,
                                nullptr, nullptr);
  ShowWindow(gMenuWindow, SW_SHOWMAXIMIZED);
  auto pump = [](int ms) {
    MSG msg;
    const DWORD until = GetTickCount() + static_cast<DWORD>(ms);
    while (static_cast<std::int32_t>(GetTickCount() - until) < 0 && gMenuCommands.empty()) {
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      Sleep(10);
    }
  };
  pump(300);
  RECT title{};
  ASSERT_TRUE(GetMenuItemRect(gMenuWindow, bar, 0, &title));
  SetTimer(gMenuWindow, 1, 50, nullptr);
  const std::string click = XdotoolClick(Centre(title));
  ASSERT_EQ(std::system(click.c_str()), 0) << click;
  pump(20000);
  EXPECT_EQ(gMenuCommands, std::vector<WPARAM>{0x102});
  DestroyWindow(gMenuWindow);
  platform::SetBackend(nullptr);
}

const bool gChildRegistered = RegisterXvfbChild("MenuUnderX", &MenuUnderX);

TEST(MenuUnderX, RealClicksOpenTheBarsMenuAndChooseAnItem) {
  const int status = RunXvfbChild("MenuUnderX", "640x480x24", "xdotool");
  if (status == -1) GTEST_SKIP() << "xvfb-run or xdotool is missing (scripts/install-deps installs them)";
  EXPECT_EQ(status, 0);
}

}  // namespace

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <memory>

#include "support/ui/ProgramFixture.h"
#include "core/Text1252.h"
#include "platform/screen/HeadlessBackend.h"
#include "platform/user/Screen.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/Keyboard.h"
#include "platform/user/Menu.h"
#include "platform/user/Message.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"
#include "graphics/SystemVersion.h"

namespace {

std::string TitleOf(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace

using WinMainTest = ProgramFixture;

TEST_F(WinMainTest, StartUpMakesTheMainWindowAndStartsTheApplicationWithANewDocument) {
  bool started = false;
  const int code = Run([&] {
    started = true;
    ASSERT_NE(gMainWindow, nullptr);
    EXPECT_EQ(gApplication.operator~(), static_cast<App*>(app));
    EXPECT_TRUE(IsApplicationRunning());
    EXPECT_TRUE(IsWindowVisible(gMainWindow));
    EXPECT_TRUE(IsZoomed(gMainWindow));
    EXPECT_EQ(TitleOf(gMainWindow), "Essai");
    WNDCLASSA main{}, child{};
    ASSERT_TRUE(GetClassInfoA(nullptr, "MainWClass", &main));
    ASSERT_TRUE(GetClassInfoA(nullptr, "ChildWClass", &child));
    EXPECT_EQ(main.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_STREQ(main.lpszMenuName, "MainMenu");
    EXPECT_NE(main.hbrBackground, nullptr);
    EXPECT_EQ(child.style, 0x100Bu);
    EXPECT_EQ(child.hbrBackground, nullptr);
    PostQuitMessage(7);
  });
  EXPECT_TRUE(started);
  EXPECT_EQ(code, 7) << "the loop answers the quit message's code";
  EXPECT_FALSE(gApplication) << "the application is destroyed after the loop";
  EXPECT_FALSE(IsApplicationRunning());
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(WinMainTest, ADocumentNamedOnTheCommandLineIsNotOpenedTheProgramStartsWithANewOne) {
  bool newDocument = false;
  Run([&] {
    newDocument = true;
    PostQuitMessage(0);
  }, "C:\\Projets\\page.zod");
  EXPECT_TRUE(newDocument);
}

// The bar starts with the about menu, titled with the program's little picture, whose one item, chosen
// with the mouse, shows the about box.
TEST_F(WinMainTest, TheAboutMenuNamesTheProgramAndItsItemShowsTheAbout) {
  std::deque<std::function<void()>> hand;
  platform::SetBackend(std::make_unique<platform::HeadlessBackend>([&](DWORD) {
    if (hand.empty()) return;
    hand.front()();
    hand.pop_front();
  }));
  auto click = [](RECT r) {
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    platform::InjectMouseButton(x, y, platform::MouseButton::Left, true);
    platform::InjectMouseButton(x, y, platform::MouseButton::Left, false);
  };
  TestApp* made = nullptr;
  const int code = Run([&] {
    made = app;
    made->Reference();
    app->quitOnAbout = true;
    const HMENU bar = GetMenu(gMainWindow);
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    EXPECT_EQ(GetSubMenu(bar, 0), gAboutMenu);
    EXPECT_TRUE(GetMenuState(bar, 0, MF_BYPOSITION) & MF_BITMAP);
    char text[64];
    GetMenuStringA(gAboutMenu, 1, text, sizeof text, MF_BYCOMMAND);
    EXPECT_EQ(std::string(text), "À propos de Essai..."_cp);
    POINT origin{0, 0};
    ClientToScreen(gMainWindow, &origin);
    EXPECT_EQ(origin.y, 40);
    RECT title{};
    ASSERT_TRUE(GetMenuItemRect(gMainWindow, bar, 0, &title));
    EXPECT_GE(title.right - title.left, 30);  // the picture's width
    hand.push_back([&] {
      RECT item{};
      ASSERT_TRUE(GetMenuItemRect(gMainWindow, gAboutMenu, 0, &item));
      click(item);
    });
    click(title);
  });
  EXPECT_EQ(code, 0);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->aboutShown, 1);
  EXPECT_EQ(alerts.Alerts().size(), 1u);
  ReleaseSmart(static_cast<SmartImplementation*>(made));
  platform::SetBackend(nullptr);
}

TEST_F(WinMainTest, ClosingTheMainWindowAsksTheApplicationToQuitAndTheLoopEnds) {
  TestApp* made = nullptr;
  const int code = Run([&] {
    made = app;
    made->Reference();
    PostMessageA(gMainWindow, WM_CLOSE, 0, 0);
  });
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(made->quitKinds, std::vector<int>{2});
  EXPECT_TRUE(gAppQuitting);
  EXPECT_FALSE(made->IsRunning());
  ReleaseSmart(static_cast<SmartImplementation*>(made));
}

TEST_F(WinMainTest, AFactoryThatMakesNoApplicationEndsTheProcessWith666) {
  makeApp = [] { return SmartRef<App>(); };
  // A Linux exit status keeps the code's low 8 bits.
  EXPECT_EXIT(Run([] {}), testing::ExitedWithCode(kNoApplicationExitCode & 0xFF), "");
}

TEST_F(WinMainTest, AFailingFirstDocumentIsReportedAndEndsTheProcessWith0) {
  EXPECT_EXIT(Run([] { ThrowError("Disque plein", "TEST", 1); }), testing::ExitedWithCode(0), "");
}

TEST_F(WinMainTest, AFailingFactoryIsReportedAndTheLoopEnds) {
  makeApp = []() -> SmartRef<App> { ThrowError("Pas de m\xE9moire", "TEST", 1); };
  EXPECT_EQ(Run([] {}), 0);
  EXPECT_FALSE(gApplication);
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_THAT(alerts.Alerts()[0].text, testing::StartsWith("Pas de m\xE9moire"));
}

namespace {
void FailingTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  PostMessageA(gMainWindow, WM_CHAR, '!', 0);
  PostMessageA(gMainWindow, WM_CHAR, '?', 0);
  PostMessageA(gMainWindow, WM_CLOSE, 0, 0);
  ThrowError("Minuterie en panne", "TEST", 1);
}
}  // namespace

// A timer's failure reaches the loop itself; a key's failure stops in the window procedure; a thrown
// object that is none of the program's exceptions gets the report of last resort. Each is shown once and
// the program goes on to quit normally.
TEST_F(WinMainTest, FailuresWhileHandlingMessagesAreReportedOnceEachAndTheLoopGoesOn) {
  std::vector<int>* keys = nullptr;
  std::vector<int>* quits = nullptr;
  SmartRef<App> held;
  const int code = Run([&] {
    held = gApplication;
    keys = &app->keys;
    quits = &app->quitKinds;
    app->failingKeys = true;
    SetTimer(nullptr, 0, 0, &FailingTimer);
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(*keys, (std::vector<int>{'!', '?'}));
  EXPECT_EQ(*quits, std::vector<int>{2});
  ASSERT_EQ(alerts.Alerts().size(), 3u);
  EXPECT_THAT(alerts.Alerts()[0].text, testing::StartsWith("Minuterie en panne"));
  EXPECT_THAT(alerts.Alerts()[1].text, testing::StartsWith("Touche refus\xE9" "e"));
  EXPECT_EQ(alerts.Alerts()[2].text,
            "Erreur tr\xE8s s\xE9rieuse258:63:0has occured!\nThe system may now be unstable\nPlease save your "
            "work and exit the program as soon as possible");
}

TEST_F(WinMainTest, ArrowsAndDeleteReachTheApplicationAsCharactersFromEitherWindowKind) {
  std::vector<int> keys;
  Run([&] {
    HWND child = CreateWindowExA(0, "ChildWClass", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, gMainWindow,
                                 reinterpret_cast<HMENU>(200), nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    for (HWND window : {gMainWindow, child}) {
      for (int key : std::initializer_list<int>{VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_DELETE, 'A'}) {
        SendMessageA(window, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
      }
      SendMessageA(window, WM_CHAR, 'a', 0);
    }
    keys = app->keys;
    DestroyWindow(child);
    PostQuitMessage(0);
  });
  const std::vector<int> once{28, 29, 30, 31, 8, 'a'};
  std::vector<int> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(keys, twice) << "a letter's key down gives no character of its own";
}

// Ctrl+A is the shortcut of command 1 (the about item): the accelerator table on full systems, the
// shortcut table on limited ones. Both reach the command as a shortcut.
TEST_F(WinMainTest, ACtrlShortcutReachesItsCommandOnFullAndLimitedSystems) {
  for (int version : {Win95, Win31Only}) {
    SCOPED_TRACE(version);
    Prepare(version == Win95 ? 32 : 8, version);  // a limited system needs a 256-colour screen
    ResetUiState();
    auto previous = makeApp;
    makeApp = [this, previous] {
      SmartRef<App> made = previous();
      app->quitOnAbout = true;
      EXPECT_TRUE(gShortcutTable->AddShortcut(1, VkKeyScanA('A')));
      return made;
    };
    bool tableBuilt = false;
    const int code = Run([&] {
      tableBuilt = gAcceleratorTable != nullptr;
      SetFocus(gMainWindow);
      platform::InjectKey(VK_CONTROL, true);
      platform::InjectKey('A', true);
      platform::InjectKey('A', false);
      platform::InjectKey(VK_CONTROL, false);
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(tableBuilt, version == Win95);
    EXPECT_EQ(alerts.Alerts().size(), 1u) << "the about box";
    alerts.Clear();
    makeApp = previous;
    gApplication = nullptr;
    ResetUiState();
  }
}

// A test that ran the program on a limited system leaves the next one a full system with its accelerator
// table: each program test takes the version probe again.
TEST_F(WinMainTest, ALimitedSystemInOneTestDoesNotReachTheNext) {
  Prepare(8, Win31Only);
  ResetUiState();
  TearDown();
  SetUp();
  auto previous = makeApp;
  makeApp = [previous] {
    SmartRef<App> made = previous();
    EXPECT_TRUE(gShortcutTable->AddShortcut(1, VkKeyScanA('A')));
    return made;
  };
  bool tableBuilt = false;
  InProgram([&] { tableBuilt = gAcceleratorTable != nullptr; });
  EXPECT_TRUE(tableBuilt);
}

TEST_F(WinMainTest, TheShortcutTableKeepsItsFirst120Entries) {
  MainWindowRecord record;
  for (int i = 0; i < kMaxShortcuts; ++i) EXPECT_TRUE(record.AddShortcut(static_cast<std::uint16_t>(0x100 + i), 'A'));
  EXPECT_FALSE(record.AddShortcut(0x300, 'Z'));
  EXPECT_EQ(record.count, static_cast<std::uint32_t>(kMaxShortcuts));
  EXPECT_EQ(record.shortcuts[kMaxShortcuts - 1].command, 0x100 + kMaxShortcuts - 1);
}

TEST(WinMainHelpersTest, MouseMessagesModifiersAndPoints) {
  for (UINT message : {0x200u, 0x209u, 0xA0u, 0xA9u}) EXPECT_TRUE(IsMouseMessage(message)) << message;
  for (UINT message : {0x1FFu, 0x20Au, 0x9Fu, 0xAAu}) EXPECT_FALSE(IsMouseMessage(message)) << message;
  EXPECT_EQ(MouseModifierFlags(MK_SHIFT | MK_CONTROL | MK_LBUTTON | MK_RBUTTON), 5u);
  EXPECT_EQ(MouseModifierFlags(MK_LBUTTON), 0u);
  const Point p = PointFromLParam(MAKELONG(-3, -200));
  EXPECT_EQ(p.x, -3);
  EXPECT_EQ(p.y, -200);
}

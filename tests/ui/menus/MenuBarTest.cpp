// The application's menu bar in the running program: menus built in code appear in the main window's bar,
// their items show their commands' statuses, and choosing them (mouse or Ctrl shortcut) reaches the
// commands' handlers. A scripted hand acts whenever the menu loop waits for input.
#include <gtest/gtest.h>

#include <string>

#include "ui/MenuTestSupport.h"
#include "support/Raised.h"
#include "ui/controls/PopupControl.h"
#include "ui/views/Window.h"
#include "graphics/SystemVersion.h"

namespace {

std::string BarText(int position) {
  char text[64] = {};
  GetMenuStringA(GetMenu(gMainWindow), static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
  return text;
}

}  // namespace

class MenuBarTest : public MenuProgram {
 protected:
  void SetUp() override {
    MenuProgram::SetUp();
    for (RecordingSignal* signal : {&open, &print, &grid, &undo}) signal->Reference();
    print.status = kCommandDisabled;
    grid.status = kCommandChecked;
  }
  void TearDown() override {
    fileMenu = nullptr;
    editMenu = nullptr;
    MenuProgram::TearDown();
  }
  void AddMenus(MenuBar& bar) override {
    fileMenu = new Menu("Fichier", 0);
    fileMenu->AppendItem("Ouvrir", 'O', &open);
    fileMenu->AppendItem("Imprimer", 'P', &print);
    fileMenu->AppendSeparator();
    fileMenu->AppendItem("Grille", 0, &grid);
    editMenu = new Menu("Edition", 0);
    editMenu->AppendItem("Annuler", 'Z', &undo);
    bar.AddMenu(~fileMenu);
    bar.AddMenu(~editMenu);
  }
  RECT BarItem(int position) {
    RECT r{};
    EXPECT_TRUE(GetMenuItemRect(gMainWindow, GetMenu(gMainWindow), static_cast<UINT>(position), &r));
    return r;
  }

  RecordingSignal open, print, grid, undo;
  SmartRef<Menu> fileMenu, editMenu;
};

TEST_F(MenuBarTest, MenusBuiltInCodeShowInTheBarAndTheirItemsReachTheirCommands) {
  const int code = Run([&] {
    Pump();
    const HMENU bar = GetMenu(gMainWindow);
    ASSERT_EQ(GetMenuItemCount(bar), 3) << "the about menu, then the program's";
    EXPECT_EQ(BarText(1), "Fichier");
    EXPECT_EQ(BarText(2), "Edition");
    const RECT file = BarItem(1), edit = BarItem(2);
    EXPECT_GT(CountPixels(file, 0), 10) << "the title is drawn in the bar";
    EXPECT_GT(CountPixels(edit, 0), 10);
    RECT beyond = edit;
    beyond.left += edit.right - edit.left + 40;
    beyond.right += edit.right - edit.left + 40;
    EXPECT_EQ(CountPixels(beyond, 0), 0);

    // Opening the menu asks each command for its status: greyed, ticked or plain, as drawn.
    hand.push_back([&] {
      const HMENU native = fileMenu->GetNativeMenu();
      EXPECT_EQ(GetMenuState(native, 0, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED), 0u);
      EXPECT_NE(GetMenuState(native, 1, MF_BYPOSITION) & MF_GRAYED, 0u);
      EXPECT_NE(GetMenuState(native, 3, MF_BYPOSITION) & MF_CHECKED, 0u);
      RECT openItem{}, printItem{};
      ASSERT_TRUE(GetMenuItemRect(gMainWindow, native, 0, &openItem));
      ASSERT_TRUE(GetMenuItemRect(gMainWindow, native, 1, &printItem));
      EXPECT_GT(CountPixels(openItem, 0), 10);
      EXPECT_EQ(CountPixels(printItem, 0), 0) << "greyed text has no black";
      EXPECT_GT(CountPixels(printItem, 0x808080), 10);
      Tap(Centre(openItem));
    });
    Tap(Centre(file));
    Pump();
    EXPECT_TRUE(hand.empty());
    EXPECT_EQ(open.sends, 1);
    EXPECT_EQ(open.lastWatcher, static_cast<Smart*>(static_cast<SmartImplementation*>(app)));

    // Shortcuts: an enabled command runs, a greyed one does not (and nothing is reported).
    CtrlKey('O');
    EXPECT_EQ(open.sends, 2);
    CtrlKey('P');
    EXPECT_EQ(print.sends, 0);
    CtrlKey('Z');
    EXPECT_EQ(undo.sends, 1);

    // Only the last menu leaves the bar when hidden; its shortcuts then do nothing.
    fileMenu->SetHidden(true);
    EXPECT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_TRUE(fileMenu->IsHidden());
    CtrlKey('O');
    EXPECT_EQ(open.sends, 2) << "a hidden menu's shortcut does nothing, even while it still shows";
    fileMenu->SetHidden(false);
    EXPECT_EQ(GetMenuItemCount(bar), 3) << "shown again, it is not added twice";
    editMenu->SetHidden(true);
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    Pump();
    EXPECT_EQ(CountPixels(edit, 0), 0) << "the bar is drawn again without it";
    CtrlKey('Z');
    EXPECT_EQ(undo.sends, 1);
    editMenu->SetHidden(false);
    EXPECT_EQ(BarText(2), "Edition");
    CtrlKey('Z');
    EXPECT_EQ(undo.sends, 2);

    // A menu added once the bar is installed joins it at once.
    SmartRef<Menu> help(new Menu("Aide", 0));
    app->GetMenuBar()->AddMenu(~help);
    EXPECT_EQ(GetMenuItemCount(bar), 4);
    EXPECT_EQ(BarText(3), "Aide");
    PostQuitMessage(0);
  });
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(alerts.Alerts().empty());
}

// Greyed and ticked states are set on the main window's bar, by command, so a sub-menu's entries are
// found through it as well; without the bar the update is refused, except for a hidden menu, which is
// passed over.
TEST_F(MenuBarTest, MenusAreUpdatedThroughTheMainWindowsBar) {
  const int code = Run([&] {
    Pump();
    SmartRef<Menu> more(new Menu("Plus", 0));
    more->AppendItem("Imprimer aussi", 0, &print);
    fileMenu->SetSubMenu(3, ~more);
    app->UpdateMenus();
    EXPECT_NE(GetMenuState(more->GetNativeMenu(), 0, MF_BYPOSITION) & MF_GRAYED, 0u);
    print.status = kCommandEnabled;
    app->UpdateMenus();
    EXPECT_EQ(GetMenuState(more->GetNativeMenu(), 0, MF_BYPOSITION) & MF_GRAYED, 0u);

    const HMENU bar = GetMenu(gMainWindow);
    SetMenu(gMainWindow, nullptr);
    EXPECT_EQ(RaisedText(Raised([&] { app->UpdateMenus(); })), "Missing (NULL) value.");
    editMenu->SetHidden(true);
    EXPECT_EQ(RaisedText(Raised([&] { editMenu->Update(*app); })), "(nothing raised)");
    editMenu->SetHidden(false);
    SetMenu(gMainWindow, bar);
    PostQuitMessage(0);
  });
  EXPECT_EQ(code, 0);
}

// The menus' shortcut letters reach the accelerator table on full systems and the shortcut table that the
// entry point reads itself on limited ones.
TEST_F(MenuBarTest, MenuShortcutsWorkOnFullAndLimitedSystems) {
  for (int version : {Win95, Win31Only}) {
    SCOPED_TRACE(version);
    Prepare(version == Win95 ? 32 : 8, version);
    ResetUiState();
    open.sends = 0;
    bool tableBuilt = false;
    const int code = Run([&] {
      tableBuilt = gAcceleratorTable != nullptr;
      ASSERT_EQ(gShortcutTable->count, 3u);
      EXPECT_EQ(gShortcutTable->shortcuts[0].command, fileMenu->CommandNumber(1));
      CtrlKey('O');
      EXPECT_EQ(open.sends, 1);
      PostQuitMessage(0);
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(tableBuilt, version == Win95);
    fileMenu = nullptr;
    editMenu = nullptr;
    gApplication = nullptr;
    ResetUiState();
  }
}

// A pop-up control shows its menu's chosen item with the marker beside it; pressing it opens the menu at
// the press, and releasing on an item performs that item's command as the menu bar would and makes it the
// choice.
TEST_F(MenuBarTest, APopUpControlChoosesAnItemOfItsMenuThroughTheMouse) {
  InWindow([&](ControlWindow& window) {
    // The window keeps the control, and so the menu and its commands, until it closes.
    SmartRef<RecordingSignal> redSignal(new RecordingSignal), greenSignal(new RecordingSignal),
        blueSignal(new RecordingSignal);
    RecordingSignal &red = *redSignal, &green = *greenSignal, &blue = *blueSignal;
    SmartRef<Menu> colours(new Menu("Couleur", 1));
    colours->AppendItem("Rouge", 0, &red);
    colours->AppendItem("Vert", 0, &green);
    colours->AppendItem("Bleu", 0, &blue);
    const Rect frame(10, 10, 130, 34);
    SmartRef<PopupControl> popUp(new PopupControl(&window, frame, ~colours));
    window.AddSubview(~popUp);
    EXPECT_EQ(popUp->GetKind(), kControlPopUp);
    EXPECT_EQ(popUp->GetOSControl()->window, nullptr) << "no native window";
    EXPECT_TRUE(colours->IsInstalled());
    EXPECT_EQ(GetMenuItemCount(GetMenu(gMainWindow)), 3) << "the menu stays out of the bar";
    std::int32_t min = 0, max = 0;
    popUp->GetRange(&min, &max);
    EXPECT_EQ(min, 1);
    EXPECT_EQ(max, 3);
    String text;
    popUp->GetItemText(&text);
    EXPECT_EQ(text, String("Rouge"));

    // Drawn: the choice's text, the marker's arrow 4 pixels from the right edge, a black frame.
    Pump();
    const HWND native = window.GetFrame()->GetHandle();
    const int markerLeft = frame.right - 16 - 4;
    EXPECT_EQ(ScreenPixel(OnScreen(native, markerLeft + 7, frame.top + 12)), 0u) << "the arrow";
    EXPECT_EQ(ScreenPixel(OnScreen(native, markerLeft + 7, frame.top + 5)), 0xFFFFFFu) << "above it";
    EXPECT_EQ(ScreenPixel(OnScreen(native, markerLeft - 3, frame.top + 12)), 0xFFFFFFu) << "left of the marker";
    EXPECT_EQ(ScreenPixel(OnScreen(native, frame.left, frame.top + 12)), 0u) << "the frame";
    RECT textArea{};
    const POINT textTopLeft = OnScreen(native, frame.left + 1, frame.top + 1);
    textArea = RECT{textTopLeft.x, textTopLeft.y, textTopLeft.x + 60, textTopLeft.y + 20};
    EXPECT_GT(CountPixels(textArea, 0), 10) << "the text";

    // Choosing by title.
    EXPECT_TRUE(popUp->SelectByTitle("Bleu"));
    EXPECT_EQ(popUp->GetValue(), 3);
    popUp->GetItemText(&text);
    EXPECT_EQ(text, String("Bleu"));
    EXPECT_FALSE(popUp->SelectByTitle("Jaune"));
    EXPECT_FALSE(popUp->SelectByTitle("bleu"));
    EXPECT_EQ(popUp->GetValue(), 3);

    // Choosing with the mouse: press on the control, release on "Vert".
    hand.push_back([&] {
      RECT item{};
      ASSERT_TRUE(GetMenuItemRect(gMainWindow, colours->GetNativeMenu(), 1, &item));
      const POINT p = Centre(item);
      platform::InjectMouseMove(p.x, p.y);
      platform::InjectMouseButton(p.x, p.y, platform::MouseButton::Left, false);
    });
    const POINT pressed = OnScreen(native, frame.left + 30, frame.top + 12);
    platform::InjectMouseButton(pressed.x, pressed.y, platform::MouseButton::Left, true);
    Pump();
    EXPECT_TRUE(hand.empty());
    EXPECT_EQ(popUp->GetValue(), 2);
    EXPECT_EQ(green.sends, 1);
    EXPECT_EQ(red.sends + blue.sends, 0);
    popUp->GetItemText(&text);
    EXPECT_EQ(text, String("Vert"));
    // The same item from the menu command reaches the same handler.
    Smart* watcher = green.lastWatcher;
    MenuCommand(colours->CommandNumber(2), nullptr);
    EXPECT_EQ(green.sends, 2);
    EXPECT_EQ(green.lastWatcher, watcher);
    // A click performs the chosen item.
    popUp->Clicked(0);
    EXPECT_EQ(green.sends, 3);

    // Left without a choice, the control keeps its value.
    hand.push_back([&] { platform::InjectKey(VK_ESCAPE, true); });
    popUp->MouseDown(frame.left + 30, frame.top + 12, 0, 1, &window);
    EXPECT_EQ(popUp->GetValue(), 2);
    EXPECT_EQ(green.sends, 3);
  });
}

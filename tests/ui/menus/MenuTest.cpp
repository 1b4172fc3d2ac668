// Menus built in code, as native menus: their texts, columns, shortcuts and command numbers, the table of
// menu numbers, replacing entries of built menus, and copies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/ControlTestSupport.h"
#include "platform/gdi/text/Text.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Keyboard.h"
#include "platform/user/Menu.h"
#include "support/Raised.h"
#include "support/graphics/GraphicsFixture.h"
#include "ui/UiState.h"
#include "ui/menus/Menu.h"
#include "ui/shell/Signal.h"
#include "ui/shell/WinMain.h"

namespace {

std::string NativeText(HMENU menu, int position) {
  char text[300] = {};
  GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
  return text;
}

class MenuTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    ResetUiState();
    gShortcutTable = new MainWindowRecord();
  }
  void TearDown() override {
    ResetUiState();
    GraphicsFixture::TearDown();
  }
};

}  // namespace

// Items show their text with the shortcut spelt out and the one-byte ellipsis 0xC9 as three dots; sub-menus
// open their own native menu under their title; separators are separators. Shortcuts go to the table with
// their item's command number.
TEST_F(MenuTest, BuildingMakesTheNativeMenuOfTheEntries) {
  SmartRef<Menu> sub(new Menu("Taille", 0));
  sub->AppendItem("Petite", 0, nullptr);
  SmartRef<Menu> menu(new Menu("Fichier", 0));
  menu->AppendItem("Ouvrir\xC9", 'O', nullptr);
  menu->AppendSeparator();
  menu->AppendSubMenu(~sub);
  menu->AppendItem(String(std::string(60, 'x').c_str()), 'Q', nullptr);
  menu->AppendItem("Fermer", 0, nullptr);
  menu->Build();
  const HMENU native = menu->GetNativeMenu();
  ASSERT_TRUE(IsMenu(native));
  ASSERT_EQ(GetMenuItemCount(native), 5);
  EXPECT_EQ(NativeText(native, 0), "Ouvrir... cntl+O");
  EXPECT_EQ(GetMenuItemID(native, 0), static_cast<UINT>(menu->CommandNumber(1)));
  EXPECT_TRUE(GetMenuState(native, 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(GetSubMenu(native, 2), sub->GetNativeMenu());
  EXPECT_EQ(NativeText(native, 2), "Taille");
  EXPECT_FALSE(sub->IsInstalled()) << "a sub-menu built with its parent is not installed";
  EXPECT_EQ(NativeText(native, 3), std::string(49, 'x')) << "the shortcut is cut off with the text";
  EXPECT_EQ(NativeText(native, 4), "Fermer");
  ASSERT_EQ(gShortcutTable->count, 2u);
  EXPECT_EQ(gShortcutTable->shortcuts[0].command, menu->CommandNumber(1));
  EXPECT_EQ(gShortcutTable->shortcuts[0].virtualKey, LOBYTE(VkKeyScanA('O')));
  EXPECT_EQ(gShortcutTable->shortcuts[1].command, menu->CommandNumber(4));

  const HMENU built = native;
  menu->Build();
  EXPECT_EQ(menu->GetNativeMenu(), built) << "a menu is built once";
  EXPECT_EQ(gShortcutTable->count, 2u);

  SmartRef<Menu> empty(new Menu("Vide", 1));
  empty->Install(true);
  EXPECT_TRUE(IsMenu(empty->GetNativeMenu()));
  EXPECT_EQ(GetMenuItemCount(empty->GetNativeMenu()), 0);
  EXPECT_TRUE(empty->IsInstalled());
}

// A long menu goes on in a new column at entries 27, 54, ...; entries past 255 have no command number of
// their own and are left out rather than given one of the next menu's.
TEST_F(MenuTest, LongMenusBreakIntoColumnsAndStopAtTheLastCommandNumber) {
  SmartRef<Menu> menu(new Menu("Polices", 0));
  for (int i = 1; i <= 300; ++i) menu->AppendItem(String(i), 0, nullptr);
  menu->Build();
  const HMENU native = menu->GetNativeMenu();
  EXPECT_EQ(GetMenuItemCount(native), 255);
  for (int entry : {1, 26, 27, 28, 53, 54, 81, 255}) {
    SCOPED_TRACE(entry);
    const bool breaks = (GetMenuState(native, static_cast<UINT>(entry - 1), MF_BYPOSITION) & MF_MENUBARBREAK) != 0;
    EXPECT_EQ(breaks, entry % 27 == 0);
  }
  EXPECT_EQ(GetMenuItemID(native, 254), static_cast<UINT>(menu->CommandNumber(255)));
  // The entry index is read unsigned: entry 200 is found from its command.
  SmartRef<MenuItem> item = Menu::ItemForCommand(menu->CommandNumber(200));
  ASSERT_TRUE(item);
  EXPECT_EQ(item->GetText(), String(200));
}

TEST_F(MenuTest, NumbersComeFromOneTableAndLeadBackFromCommands) {
  SmartRef<Menu> first(new Menu("Un", 0));
  SmartRef<Menu> second(new Menu("Deux", 0));
  SmartRef<Menu> third(new Menu("Trois", 0));
  EXPECT_EQ(first->GetNumber(), 1);
  EXPECT_EQ(third->GetNumber(), 3);
  EXPECT_EQ(third->CommandNumber(5), 0x305);
  EXPECT_EQ(Menu::FromNumber(2), ~second);
  EXPECT_EQ(Menu::FromCommand(0x305), third);
  first = nullptr;
  EXPECT_EQ(Menu::FromNumber(1), nullptr);
  SmartRef<Menu> again(new Menu("Encore", 0));
  EXPECT_EQ(again->GetNumber(), 1) << "the first free number is taken again";
  for (int number : {0, 4, 300}) {
    SCOPED_TRACE(number);
    EXPECT_EQ(RaisedText(Raised([&] { Menu::FromNumber(number); })), "Range error");
  }
}

// The item of a command, or null for a separator, a sub-menu or an index with no entry; a pop-up menu
// remembers the item chosen last, which is its current choice.
TEST_F(MenuTest, ItemForCommandFindsItemsAndAPopUpRemembersTheLastChoice) {
  SmartRef<Menu> sub(new Menu("Sous", 0));
  for (std::uint32_t popup : {0u, 1u}) {
    SCOPED_TRACE(popup);
    SmartRef<Menu> menu(new Menu("Choix", popup));
    menu->AppendItem("Rouge", 0, nullptr);
    menu->AppendSeparator();
    menu->AppendItem("Vert", 0, nullptr);
    menu->AppendSubMenu(~sub);
    struct Case {
      std::int32_t index;
      const char* text;  // null: no item
      std::uint32_t choiceAfter;
    };
    const Case cases[] = {
        {3, "Vert", popup ? 3u : 0u},  {2, nullptr, popup ? 2u : 0u}, {4, nullptr, popup ? 4u : 0u},
        {1, "Rouge", popup ? 1u : 0u}, {0, nullptr, popup ? 1u : 0u}, {9, nullptr, popup ? 1u : 0u},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.index);
      SmartRef<MenuItem> item = Menu::ItemForCommand(menu->CommandNumber(c.index));
      if (c.text) {
        ASSERT_TRUE(item);
        EXPECT_EQ(item->GetText(), String(c.text));
      } else {
        EXPECT_FALSE(item);
      }
      EXPECT_EQ(menu->GetPopup(), c.choiceAfter);
    }
  }
}

TEST_F(MenuTest, EntriesAreFoundByShortcutAndByText) {
  SmartRef<Menu> sub(new Menu("Style", 0));
  SmartRef<Menu> menu(new Menu("Edition", 0));
  menu->AppendItem("Annuler", 'Z', nullptr);
  menu->AppendSeparator();
  menu->AppendItem("Copier", 'C', nullptr);
  menu->AppendSubMenu(~sub);
  menu->AppendItem("Style", 0, nullptr);
  EXPECT_EQ(menu->IndexOfShortcut('C'), 3);
  EXPECT_EQ(menu->IndexOfShortcut('c'), 0);
  EXPECT_EQ(menu->IndexOfShortcut('X'), 0);
  EXPECT_EQ(menu->IndexOfEntry("Copier"), 3);
  EXPECT_EQ(menu->IndexOfEntry("Style"), 4) << "the first entry: the sub-menu";
  EXPECT_EQ(menu->IndexOfEntry("copier"), 0);
}

// On a built menu, a new item shows at once with its shortcut; the undo item switches its text and keeps
// its command and shortcut.
TEST_F(MenuTest, ReplacingAnItemOfABuiltMenuShowsAtOnce) {
  RecordingSignal undo;
  undo.Reference();
  SmartRef<Menu> menu(new Menu("Edition", 0));
  menu->AppendItem("Annuler", 'Z', &undo);
  menu->AppendItem("Couper", 'X', nullptr);
  menu->AppendSeparator();
  menu->Build();
  menu->SetItemText('Z', "Refaire");
  EXPECT_EQ(NativeText(menu->GetNativeMenu(), 0), "Refaire cntl+Z");
  EXPECT_EQ(GetMenuItemID(menu->GetNativeMenu(), 0), static_cast<UINT>(menu->CommandNumber(1)));
  EXPECT_EQ(menu->ItemAt(1)->GetCommand(), &undo);
  EXPECT_EQ(menu->ItemAt(1)->GetShortcut(), 'Z');
  menu->SetItemText('Q', "Rien");
  EXPECT_EQ(NativeText(menu->GetNativeMenu(), 1), "Couper cntl+X") << "no item with that shortcut";
  EXPECT_EQ(RaisedText(Raised([&] { menu->Replace(2, nullptr, nullptr); })), "data != NULL");
  // An item in place of the separator.
  menu->SetItem(3, SmartRef<MenuItem>(new MenuItem("Coller", 'V', nullptr)).operator~());
  EXPECT_EQ(NativeText(menu->GetNativeMenu(), 2), "Coller cntl+V");
  EXPECT_EQ(GetMenuItemID(menu->GetNativeMenu(), 2), static_cast<UINT>(menu->CommandNumber(3)));
  EXPECT_EQ(Menu::ItemForCommand(menu->CommandNumber(3))->GetText(), String("Coller"));
  // An unbuilt menu takes the entry in its lists only, padding them.
  SmartRef<Menu> unbuilt(new Menu("Plus tard", 0));
  unbuilt->SetItem(3, SmartRef<MenuItem>(new MenuItem("Trois", 0, nullptr)).operator~());
  EXPECT_EQ(unbuilt->CountEntries(), 3);
  EXPECT_EQ(unbuilt->ItemAt(1), nullptr);
  menu = nullptr;
  EXPECT_EQ(undo.GetReferenceCount(), 1) << "the items let go of their command";
}

// Replacing a sub-menu destroys the native menu of the one it replaces, as the window system does. The
// replaced Menu then neither destroys a dead handle when it goes nor keeps it: used again, it builds anew.
TEST_F(MenuTest, ASubMenuReplacedInABuiltMenuCanBeDestroyedOrUsedAgain) {
  SmartRef<Menu> menu(new Menu("Texte", 0));
  SmartRef<Menu> fonts(new Menu("Police", 1));
  fonts->AppendItem("Arial", 0, nullptr);
  menu->AppendSubMenu(~fonts);
  menu->Build();
  const HMENU oldNative = fonts->GetNativeMenu();
  SmartRef<Menu> newFonts(new Menu("Police", 1));
  newFonts->AppendItem("Courier", 0, nullptr);
  menu->ReplaceSubMenu("Police", ~newFonts);
  EXPECT_FALSE(IsMenu(oldNative));
  EXPECT_EQ(GetSubMenu(menu->GetNativeMenu(), 0), newFonts->GetNativeMenu());
  EXPECT_TRUE(newFonts->IsInstalled()) << "installed as a sub-menu only";
  EXPECT_EQ(menu->SubMenuAt(1), ~newFonts);
  EXPECT_EQ(fonts->GetNativeMenu(), nullptr);

  fonts->Install(true);
  EXPECT_TRUE(IsMenu(fonts->GetNativeMenu()));
  EXPECT_EQ(GetMenuItemCount(fonts->GetNativeMenu()), 1);
  const HMENU rebuilt = fonts->GetNativeMenu();
  SetLastError(0);
  fonts = nullptr;
  EXPECT_FALSE(IsMenu(rebuilt)) << "a pop-up menu goes with its Menu";

  // Swapped back: the replaced one's native menu goes with the entry, and its destructor leaves it.
  SmartRef<Menu> third(new Menu("Police", 1));
  menu->SetSubMenu(1, ~third);
  EXPECT_EQ(newFonts->GetNativeMenu(), nullptr);
  EXPECT_NO_THROW(newFonts = nullptr);
  EXPECT_EQ(GetLastError(), 0u);
}

TEST_F(MenuTest, CopiesShareTheEntriesButNotTheNumberOrTheNativeMenu) {
  SmartRef<Menu> menu(new Menu("Fichier", 1));
  menu->AppendItem("Ouvrir", 'O', nullptr);
  menu->SetHidden(true);
  menu->Build();
  SmartRef<Menu> copy(CastSmart<Menu>(menu->Clone()));
  EXPECT_NE(copy->GetNumber(), menu->GetNumber());
  EXPECT_EQ(Menu::FromNumber(copy->GetNumber()), ~copy);
  EXPECT_EQ(copy->GetNativeMenu(), nullptr);
  EXPECT_TRUE(copy->IsHidden());
  EXPECT_EQ(copy->GetPopup(), 1u);
  copy->AppendItem("Fermer", 0, nullptr);
  EXPECT_EQ(menu->CountEntries(), 2) << "the lists are shared";

  SmartRef<Menu> other(new Menu("Autre", 0));
  const std::uint16_t otherNumber = other->GetNumber();
  other->CopyFrom(~menu);
  EXPECT_EQ(other->GetNumber(), menu->GetNumber());
  EXPECT_EQ(other->GetNativeMenu(), menu->GetNativeMenu());
  EXPECT_EQ(Menu::FromNumber(otherNumber), nullptr) << "the number it held is free again";
  other = nullptr;
  EXPECT_EQ(Menu::FromNumber(menu->GetNumber()), ~menu) << "the copy did not own the slot";
  EXPECT_TRUE(IsMenu(menu->GetNativeMenu())) << "nor the native menu";

  SmartRef<MenuItem> item(new MenuItem("Un", 'U', nullptr));
  EXPECT_EQ(RaisedText(Raised([&] { item->CopyFrom(~menu); })), "castPtr");
  EXPECT_EQ(RaisedText(Raised([&] { menu->CopyFrom(~item); })), "castPtr");
  SmartRef<MenuBar> bar(new MenuBar());
  EXPECT_EQ(RaisedText(Raised([&] { bar->CopyFrom(~item); })), "castPtr");
}

namespace {
std::vector<std::string> gMadeFor;
GenericSignal* MakeFontCommand(const String& face) {
  gMadeFor.push_back(TextOf(face));
  return new NumberCommand(2000, nullptr);
}
int CollectFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM data) {
  reinterpret_cast<std::vector<std::string>*>(data)->push_back(font->lfFaceName);
  return 1;
}
}  // namespace

// One item per font family, in the order the system gives them, each with the factory's command.
TEST_F(MenuTest, TheFontMenuHasAnItemPerFamilyInTheSystemsOrder) {
  std::vector<std::string> families;
  EnumFontFamiliesA(nullptr, nullptr, &CollectFace, reinterpret_cast<LPARAM>(&families));
  ASSERT_GE(families.size(), 3u) << "the Liberation faces at least";
  gMadeFor.clear();
  SmartRef<Menu> fonts = Menu::MakeFontMenu("Police", &MakeFontCommand);
  EXPECT_EQ(fonts->GetTitle(), String("Police"));
  ASSERT_EQ(fonts->CountEntries(), static_cast<std::int32_t>(families.size()));
  EXPECT_EQ(gMadeFor, families);
  for (std::int32_t i = 1; i <= fonts->CountEntries(); ++i) {
    EXPECT_EQ(TextOf(fonts->ItemAt(i)->GetText()), families[static_cast<std::size_t>(i - 1)]);
    EXPECT_EQ(fonts->ItemAt(i)->GetShortcut(), 0);
    ASSERT_NE(fonts->ItemAt(i)->GetCommand(), nullptr);
  }
}

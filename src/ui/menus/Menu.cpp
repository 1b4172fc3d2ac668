#include "ui/menus/Menu.h"

#include <string>

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/GenericArray.h"
#include "platform/gdi/text/Text.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Keyboard.h"
#include "platform/user/Menu.h"
#include "platform/user/Paint.h"
#include "ui/UiState.h"
#include "ui/shell/App.h"
#include "ui/shell/Signal.h"
#include "ui/shell/WinMain.h"

bool gMenuBarInstalled = false;

namespace {

constexpr SourceName kSource("MENU");

GenericArray& MenuTable() {
  SmartRef<GenericArray>& table = TheUiState().menuNumbers;
  if (!table) table = new GenericArray(static_cast<std::uint32_t>(sizeof(Menu*)), 0);
  return *table;
}

Menu* SlotAt(std::int32_t n) { return *static_cast<Menu**>(MenuTable().At(n)); }

std::string Cut(std::string text, std::size_t length) {
  if (text.size() > length) text.resize(length);
  return text;
}

// The text the native menu shows for an item: the one-byte ellipsis of older texts (0xC9) spelt out as
// three dots, then the shortcut.
std::string NativeItemText(const MenuItem& item, std::size_t length) {
  std::string text;
  for (char c : TextOf(item.GetText())) {
    if (static_cast<unsigned char>(c) == 0xC9) {
      text += "...";
    } else {
      text += c;
    }
  }
  if (item.GetShortcut() != 0) {
    text += " cntl+";
    text += item.GetShortcut();
  }
  return Cut(std::move(text), length);
}

UINT_PTR AsId(HMENU menu) { return reinterpret_cast<UINT_PTR>(menu); }

// The 0-based place of the menu in the bar, or -1.
int BarPosition(HMENU bar, HMENU menu) {
  const int count = GetMenuItemCount(bar);
  for (int i = 0; i < count; ++i) {
    if (GetSubMenu(bar, i) == menu) return i;
  }
  return -1;
}

HMENU MainMenuBar() { return gMainWindow ? GetMenu(gMainWindow) : nullptr; }

int AddFontFamilyItem(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM data) {
  reinterpret_cast<List*>(data)->AppendRef(SmartRef<String>(new String(font->lfFaceName)));
  return 1;
}

}  // namespace

SMART_DEFINE(MenuItem, "MenuItem", nullptr, nullptr, SmartImplementation)
SMART_DEFINE(Menu, "Menu", nullptr, nullptr, SmartImplementation)
SMART_DEFINE(MenuBar, "MenuBar", &MenuBar::Create, nullptr, SmartImplementation)

// Items.

MenuItem::MenuItem(const String& text, char shortcut, GenericSignal* command)
    : text(text), shortcut(static_cast<std::uint8_t>(shortcut)), command(command) {}

MenuItem::~MenuItem() = default;

char MenuItem::GetText(String* out) const {
  *out = text;
  return static_cast<char>(shortcut);
}

void MenuItem::UpdateStatus(App& target) {
  const int status = target.GetCommandStatus(~command);
  state = status == kCommandDisabled ? state | kDisabled : state & ~kDisabled;
  state = status == kCommandChecked ? state | kChecked : state & ~kChecked;
}

void MenuItem::Invoke(App& target) { target.DoCommand(~command); }

// Menus and their numbers.

Menu::Menu(const String& title, std::uint32_t popup)
    : title(title), items(&MenuItem::classInfo), subMenus(&Menu::classInfo), number(AllocateNumber(this)),
      popup(popup) {}

Menu::Menu(const Menu& other)
    : SmartImplementation(other), title(other.title), items(other.items), subMenus(other.subMenus),
      number(AllocateNumber(this)), flags(other.flags & kHidden), popup(other.popup) {}

Menu& Menu::operator=(const Menu& other) {
  if (this == &other) return *this;
  // The number this menu held goes back to the table: its slot would otherwise point at a dead menu.
  FreeNumber(number, this);
  title = other.title;
  items = other.items;
  subMenus = other.subMenus;
  number = other.number;
  flags = other.flags;
  popup = other.popup;
  nativeMenu = other.nativeMenu;
  return *this;
}

Menu::~Menu() {
  // A menu that took another's number by CopyFrom shares that menu's native menu as well: only the menu
  // that holds the number takes it out of the bar or destroys it.
  if (number == 0 || number > MenuTable().NumItems() || SlotAt(number) != this) return;
  SetHidden(true);
  // A menu in the bar or in another menu goes with it. Replacing a sub-menu may already have destroyed
  // this one's native menu, and a destructor has no one to report a failure to.
  if (popup != 0 && nativeMenu != nullptr && IsMenu(nativeMenu)) DestroyMenu(nativeMenu);
  FreeNumber(number, this);
}

std::uint16_t Menu::AllocateNumber(Menu* menu) {
  GenericArray& table = MenuTable();
  for (std::int32_t n = 1; n <= table.NumItems(); ++n) {
    if (SlotAt(n) == nullptr) {
      *static_cast<Menu**>(table.At(n)) = menu;
      return static_cast<std::uint16_t>(n);
    }
  }
  // Command numbers keep the menu number in their high byte.
  if (table.NumItems() >= 255) ThrowError("Trop de menus.", __FILE__, __LINE__);
  table.Insert(&menu, table.NumItems(), 1);
  return static_cast<std::uint16_t>(table.NumItems());
}

// Only the menu that holds the number gives it back: a menu that took another's number by CopyFrom shares
// it without owning the slot.
void Menu::FreeNumber(std::uint16_t number, const Menu* menu) {
  if (number == 0 || number > MenuTable().NumItems() || SlotAt(number) != menu) return;
  *static_cast<Menu**>(MenuTable().At(number)) = nullptr;
}

Menu* Menu::FromNumber(std::int32_t number) { return SlotAt(number); }

SmartRef<Menu> Menu::FromCommand(std::int32_t command) { return FromNumber((command >> 8) & 0xFF); }

SmartRef<MenuItem> Menu::ItemForCommand(std::int32_t command) {
  SmartRef<Menu> menu = FromCommand(command);
  if (!menu) return nullptr;
  // The index is read unsigned, so every one of the 255 entries can be found.
  const std::int32_t index = command & 0xFF;
  if (index < 1 || index > menu->CountEntries()) return nullptr;
  if (menu->popup != 0) menu->popup = static_cast<std::uint32_t>(index);
  return menu->ItemAt(index);
}

MenuItem* Menu::ItemAt(std::int32_t index) const {
  return index >= 1 && index <= items.NumItems() ? CastSmart<MenuItem>(items.At(index)) : nullptr;
}

Menu* Menu::SubMenuAt(std::int32_t index) const {
  return index >= 1 && index <= subMenus.NumItems() ? CastSmart<Menu>(subMenus.At(index)) : nullptr;
}

// Entries.

void Menu::AppendItem(const String& text, char shortcut, GenericSignal* command) {
  items.AppendRef(SmartRef<MenuItem>(new MenuItem(text, shortcut, command)));
  subMenus.Append(nullptr);
}

void Menu::AppendSubMenu(Menu* menu) {
  items.Append(nullptr);
  subMenus.Append(menu);
}

void Menu::AppendSeparator() {
  items.Append(nullptr);
  subMenus.Append(nullptr);
}

void Menu::Replace(std::int32_t index, MenuItem* item, Menu* subMenu) {
  SmartRef<Menu> previous = SubMenuAt(index);
  items.Put(item, index);
  subMenus.Put(subMenu, index);
  if (nativeMenu == nullptr) return;
  if (subMenu == nullptr && item == nullptr) AssertFailed("data != NULL", __FILE__, __LINE__);
  // By position, so that an item can also take the place of a separator or a sub-menu.
  const auto position = static_cast<UINT>(index - 1);
  if (subMenu != nullptr) {
    if (subMenu->nativeMenu == nullptr) subMenu->Install(true);
    CHECK_CALL(ModifyMenuA(nativeMenu, position, MF_BYPOSITION | MF_POPUP, AsId(subMenu->nativeMenu),
                           Cut(TextOf(subMenu->title), 255).c_str()));
  } else {
    const UINT kind = index % 27 == 0 ? MF_MENUBARBREAK : MF_STRING;
    CHECK_CALL(ModifyMenuA(nativeMenu, position, MF_BYPOSITION | kind, static_cast<UINT_PTR>(CommandNumber(index)),
                           NativeItemText(*item, 255).c_str()));
  }
  // The entry's old sub-menu went with it: its Menu builds a new one when it is used again.
  if (previous && ~previous != subMenu && previous->nativeMenu != nullptr && !IsMenu(previous->nativeMenu)) {
    previous->nativeMenu = nullptr;
    previous->flags &= static_cast<std::uint8_t>(~kInstalled);
  }
}

std::int32_t Menu::IndexOfShortcut(char letter) const {
  for (std::int32_t i = 1; i <= items.NumItems(); ++i) {
    const MenuItem* item = ItemAt(i);
    if (item && item->GetShortcut() == letter) return i;
  }
  return 0;
}

std::int32_t Menu::IndexOfEntry(const String& text) const {
  for (std::int32_t i = 1; i <= items.NumItems(); ++i) {
    if (const MenuItem* item = ItemAt(i); item && item->GetText() == text) return i;
    if (const Menu* sub = SubMenuAt(i); sub && sub->title == text) return i;
  }
  return 0;
}

void Menu::ReplaceSubMenu(const String& title, Menu* menu) {
  const std::int32_t index = IndexOfEntry(title);
  if (index != 0) SetSubMenu(index, menu);
}

void Menu::SetItemText(char letter, const String& text) {
  const std::int32_t index = IndexOfShortcut(letter);
  if (index == 0) return;
  const MenuItem* old = ItemAt(index);
  SetItem(index, SmartRef<MenuItem>(new MenuItem(text, old->GetShortcut(), old->GetCommand())).operator~());
}

SmartRef<Menu> Menu::MakeFontMenu(const String& title, const FontCommandFactory& factory) {
  SmartRef<Menu> menu(new Menu(title, 0));
  List faces(&String::classInfo);
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesA(screen, nullptr, &AddFontFamilyItem, reinterpret_cast<LPARAM>(&faces));
  ReleaseDC(nullptr, screen);
  for (std::int32_t i = 1; i <= faces.NumItems(); ++i) {
    const String& face = *CastSmart<String>(faces.At(i));
    menu->AppendItem(face, 0, factory ? factory(face) : nullptr);
  }
  return menu;
}

// The native menu.

void Menu::Build() {
  if (nativeMenu != nullptr) return;
  nativeMenu = CHECK_NOT_NULL(popup != 0 ? CreatePopupMenu() : CreateMenu());
  // Entries past the last one a command number can name are left out.
  const std::int32_t count = items.NumItems() < kMaxEntries ? items.NumItems() : kMaxEntries;
  for (std::int32_t i = 1; i <= count; ++i) {
    if (const MenuItem* item = ItemAt(i)) {
      if (item->GetShortcut() != 0) AddShortcutKey(CommandNumber(i), item->GetShortcut());
      // A long menu goes on in a new column every 27 entries.
      const UINT kind = i % 27 == 0 ? MF_MENUBARBREAK : MF_STRING;
      CHECK_CALL(AppendMenuA(nativeMenu, kind, static_cast<UINT_PTR>(CommandNumber(i)), NativeItemText(*item, 49).c_str()));
    } else if (Menu* sub = SubMenuAt(i)) {
      sub->Build();
      CHECK_CALL(AppendMenuA(nativeMenu, MF_POPUP, AsId(sub->nativeMenu), Cut(TextOf(sub->title), 49).c_str()));
    } else {
      CHECK_CALL(AppendMenuA(nativeMenu, MF_SEPARATOR, 0, "-"));
    }
  }
}

void Menu::Install(bool subMenuOnly) {
  if (IsInstalled()) return;
  if (nativeMenu == nullptr) Build();
  if (!IsHidden() && !subMenuOnly) {
    HMENU bar = MainMenuBar();
    if (bar == nullptr) {
      bar = CHECK_NOT_NULL(CreateMenu());
      CHECK_CALL(SetMenu(gMainWindow, bar));
    }
    CHECK_CALL(AppendMenuA(bar, MF_POPUP, AsId(nativeMenu), Cut(TextOf(title), 39).c_str()));
    DrawMenuBar(gMainWindow);
  }
  flags |= kInstalled;
}

// Only the bar's last menu can leave it; a menu is never shown in the bar twice.
void Menu::SetHidden(bool hidden) {
  if (IsHidden() == hidden) return;
  flags = static_cast<std::uint8_t>(hidden ? flags | kHidden : flags & ~kHidden);
  if (nativeMenu == nullptr) return;
  HMENU bar = MainMenuBar();
  if (bar == nullptr) return;
  const int position = BarPosition(bar, nativeMenu);
  if (hidden) {
    if (position < 0 || position != GetMenuItemCount(bar) - 1) return;
    RemoveMenu(bar, static_cast<UINT>(position), MF_BYPOSITION);
  } else {
    if (position >= 0) return;
    AppendMenuA(bar, MF_POPUP, AsId(nativeMenu), Cut(TextOf(title), 39).c_str());
  }
  DrawMenuBar(gMainWindow);
}

// The states are set on the bar, by command: the menu and its sub-menus are found through it.
void Menu::Update(App& target) {
  if (IsHidden()) return;
  ClearBenignError({ERROR_INVALID_PARAMETER});
  CheckNotNull(gMainWindow, kSource.Line(660));
  const HMENU bar = CheckNotNull(GetMenu(gMainWindow), kSource.Line(663));
  for (std::int32_t i = 1; i <= items.NumItems() && i <= kMaxEntries; ++i) {
    if (Menu* sub = SubMenuAt(i); sub && ItemAt(i) == nullptr) {
      sub->Update(target);
    } else if (MenuItem* item = ItemAt(i)) {
      item->UpdateStatus(target);
      const auto command = static_cast<UINT>(CommandNumber(i));
      const std::uint32_t state = item->GetState();
      if (state & MenuItem::kDisabled) {
        CheckCall(EnableMenuItem(bar, command, MF_BYCOMMAND | MF_GRAYED) != -1, kSource.Line(688));
      } else {
        CheckCall(EnableMenuItem(bar, command, MF_BYCOMMAND | MF_ENABLED) != -1, kSource.Line(690));
      }
      const UINT check = (state & MenuItem::kChecked) ? MF_CHECKED : MF_UNCHECKED;
      CheckCall(CheckMenuItem(bar, command, MF_BYCOMMAND | check) != static_cast<DWORD>(-1), kSource.Line(694));
    }
  }
  CheckCall(DrawMenuBar(gMainWindow), kSource.Line(703));
}

void Menu::TrackPopup(HWND, std::int32_t x, std::int32_t y) {
  Build();
  CHECK_CALL(TrackPopupMenu(nativeMenu, TPM_CENTERALIGN | TPM_VCENTERALIGN, x, y + 40, 0, gMainWindow, nullptr));
}

// The bar.

MenuBar::MenuBar() : menus(&Menu::classInfo) {}

void MenuBar::AddMenu(Menu* menu) {
  menus.Append(menu);
  if (gMenuBarInstalled) menu->Install(false);
}

void MenuBar::Install() {
  for (std::int32_t i = 1; i <= menus.NumItems(); ++i) CastSmart<Menu>(menus.At(i))->Install(false);
  gMenuBarInstalled = true;
}

void MenuBar::Update(App& target) {
  for (std::int32_t i = 1; i <= menus.NumItems(); ++i) CastSmart<Menu>(menus.At(i))->Update(target);
}

void AddShortcutKey(std::int32_t command, char letter) {
  if (gShortcutTable) gShortcutTable->AddShortcut(static_cast<std::uint16_t>(command), VkKeyScanA(letter));
}

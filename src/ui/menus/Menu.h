// Menus built in code: titled lists of items (text, Ctrl shortcut letter, command signal), sub-menus and
// separators, made into native menus only when first needed, and the application's menu bar.
//
// Every menu holds a small number from one program-wide table; the native command identifier of its i-th
// entry is (number << 8) | i, so a WM_COMMAND leads straight back to the menu and the entry.
#pragma once

#include <cstdint>
#include <functional>

#include "core/ListData.h"
#include "core/String.h"
#include "platform/kernel/WinTypes.h"

class App;
class GenericSignal;

class MenuItem : public SmartImplementation {
  SMART_CLASS(MenuItem)
 public:
  // State bits.
  enum : std::uint32_t { kDisabled = 1, kChecked = 2 };

  MenuItem(const String& text, char shortcut, GenericSignal* command);
  MenuItem(const MenuItem& other) = default;
  MenuItem& operator=(const MenuItem& other) = default;
  ~MenuItem() override;

  // Copies the text out and answers the shortcut letter (0: none).
  char GetText(String* out) const;
  const String& GetText() const { return text; }
  char GetShortcut() const { return static_cast<char>(shortcut); }
  std::uint32_t GetState() const { return state; }
  GenericSignal* GetCommand() const { return ~command; }
  // Greyed for status 3, ticked for status 1, as the application sees the command now.
  void UpdateStatus(App& target);
  void Invoke(App& target);

 private:
  String text;
  std::uint8_t shortcut;
  std::uint32_t state = 0;
  SmartRef<GenericSignal> command;
};

class Menu : public SmartImplementation {
  SMART_CLASS(Menu)
 public:
  enum : std::uint8_t { kHidden = 1, kInstalled = 2 };
  // Entries beyond this have no command number of their own.
  static constexpr std::int32_t kMaxEntries = 255;

  // A popup word other than 0 makes a pop-up menu (tracked on its own, destroyed with the Menu).
  Menu(const String& title, std::uint32_t popup);
  // Same title, shared entry lists, hidden bit and popup word; a fresh number, not built, not installed.
  Menu(const Menu& other);
  // Takes everything, number and native menu included.
  Menu& operator=(const Menu& other);
  ~Menu() override;

  static std::uint16_t AllocateNumber(Menu* menu);
  static void FreeNumber(std::uint16_t number, const Menu* menu);
  // "Range error" for 0 or a number beyond the table; null for a free number.
  static Menu* FromNumber(std::int32_t number);
  static SmartRef<Menu> FromCommand(std::int32_t command);
  // The item of the command; a pop-up menu remembers its index as the last choice.
  static SmartRef<MenuItem> ItemForCommand(std::int32_t command);

  std::int32_t CommandNumber(std::int32_t index) const { return (number << 8) | index; }
  std::uint16_t GetNumber() const { return number; }
  const String& GetTitle() const { return title; }
  HMENU GetNativeMenu() const { return nativeMenu; }
  std::int32_t CountEntries() const { return items.NumItems(); }
  MenuItem* ItemAt(std::int32_t index) const;
  Menu* SubMenuAt(std::int32_t index) const;
  // The current choice of a pop-up menu (its last item chosen).
  std::uint32_t GetPopup() const { return popup; }
  void SetPopup(std::uint32_t value) { popup = value; }

  void AppendItem(const String& text, char shortcut, GenericSignal* command);
  void AppendSubMenu(Menu* menu);
  void AppendSeparator();
  // Puts the entry at the 1-based index; a built menu shows it at once.
  void Replace(std::int32_t index, MenuItem* item, Menu* subMenu);
  void SetItem(std::int32_t index, MenuItem* item) { Replace(index, item, nullptr); }
  void SetSubMenu(std::int32_t index, Menu* menu) { Replace(index, nullptr, menu); }
  std::int32_t IndexOfShortcut(char letter) const;
  std::int32_t IndexOfEntry(const String& text) const;
  void ReplaceSubMenu(const String& title, Menu* menu);
  // The item with the shortcut letter takes the text, keeping shortcut and command.
  void SetItemText(char letter, const String& text);

  // A menu with one item per font family of the screen; the factory makes each item's command from its
  // face name.
  using FontCommandFactory = std::function<GenericSignal*(const String& face)>;
  static SmartRef<Menu> MakeFontMenu(const String& title, const FontCommandFactory& factory);

  void Build();
  // Builds the menu when needed and, unless it is hidden or wanted as a sub-menu only, appends it to the
  // main window's menu bar.
  void Install(bool subMenuOnly);
  bool IsHidden() const { return (flags & kHidden) != 0; }
  bool IsInstalled() const { return (flags & kInstalled) != 0; }
  void SetHidden(bool hidden);
  void Update(App& target);
  void TrackPopup(HWND window, std::int32_t x, std::int32_t y);

 private:
  String title;
  List items;
  List subMenus;
  std::uint16_t number;
  std::uint8_t flags = 0;
  std::uint32_t popup;
  HMENU nativeMenu = nullptr;
};

class MenuBar : public SmartImplementation {
  SMART_CLASS(MenuBar)
 public:
  MenuBar();
  static Smart* Create() { return new MenuBar(); }

  void AddMenu(Menu* menu);
  void Install();
  SmartRef<MenuItem> FindItem(std::int32_t command) const { return Menu::ItemForCommand(command); }
  void Update(App& target);
  const List& GetMenus() const { return menus; }

 private:
  List menus;
};

// Set by the first MenuBar::Install and never cleared: menus added later go into the bar at once.
extern bool gMenuBarInstalled;

// Ctrl + the letter performs the command: the entry point's shortcut table (read on systems without
// accelerators, and for the accelerator table built once the application exists).
void AddShortcutKey(std::int32_t command, char letter);

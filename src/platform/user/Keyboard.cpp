#include "platform/user/Keyboard.h"

#include <map>
#include <memory>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/user/KeyState.h"
#include "platform/user/Menu.h"
#include "platform/user/Message.h"
#include "platform/user/InputInternals.h"
#include "platform/user/Window.h"

namespace {

bool Held(int key) { return GetKeyState(key) < 0; }

// The character a key types by itself, as the keyboard state stands for the message: control characters
// for Backspace, Tab, Enter and Escape, Ctrl+letter 1 to 26, letters and digits; -1 for keys that type
// nothing (Delete, the arrows, the function keys, ...).
int CharacterOfKey(int key) {
  const bool control = Held(VK_CONTROL), alt = Held(VK_MENU);
  switch (key) {
    case VK_BACK: return 8;
    case VK_TAB: return 9;
    case VK_RETURN: return 13;
    case VK_ESCAPE: return 27;
    case VK_SPACE: return ' ';
    default: break;
  }
  if (key >= 'A' && key <= 'Z') {
    if (control && !alt) return key - 'A' + 1;
    if (control || alt) return -1;
    const bool upper = Held(VK_SHIFT) != ((GetKeyState(VK_CAPITAL) & 1) != 0);
    return upper ? key : key - 'A' + 'a';
  }
  if (key >= '0' && key <= '9' && !control && !alt && !Held(VK_SHIFT)) return key;
  return -1;
}

// A shortcut of an item of the window's menu bar is the item's: the window is told (WM_INITMENU) as if the
// menu were about to open, so that it brings the item's state up to date, and a greyed item's shortcut
// does nothing. Shortcuts of no item are sent as they are.
bool IsGreyedMenuCommand(HWND window, WORD command) {
  const HMENU bar = GetMenu(window);
  if (bar == nullptr || !IsMenu(bar) || GetMenuState(bar, command, MF_BYCOMMAND) == static_cast<UINT>(-1)) return false;
  SendMessageA(window, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
  if (!IsWindow(window)) return true;
  const UINT state = GetMenuState(GetMenu(window), command, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) != 0;
}

std::map<std::uintptr_t, std::vector<ACCEL>>& Tables() {
  static std::map<std::uintptr_t, std::vector<ACCEL>> tables;
  return tables;
}

}  // namespace

BOOL TranslateMessage(const MSG* msg) {
  if (msg == nullptr) return FALSE;
  const UINT message = msg->message;
  if (message != WM_KEYDOWN && message != WM_KEYUP && message != WM_SYSKEYDOWN && message != WM_SYSKEYUP) {
    return FALSE;
  }
  if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) return TRUE;
  const UINT charMessage = message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
  if (const std::string* typed = platform::user::TypedTextOf(*msg)) {
    for (const char c : *typed) {
      PostMessageA(msg->hwnd, charMessage, static_cast<WPARAM>(static_cast<unsigned char>(c)), msg->lParam);
    }
    return TRUE;
  }
  const int character = CharacterOfKey(static_cast<int>(msg->wParam & 0xFF));
  if (character >= 0) PostMessageA(msg->hwnd, charMessage, static_cast<WPARAM>(character), msg->lParam);
  return TRUE;
}

SHORT VkKeyScanA(CHAR character) {
  const auto c = static_cast<unsigned char>(character);
  if (c >= 'a' && c <= 'z') return static_cast<SHORT>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<SHORT>(0x100 | c);
  if (c >= '0' && c <= '9') return static_cast<SHORT>(c);
  if (c >= 1 && c <= 26 && c != 8 && c != 9 && c != 13) return static_cast<SHORT>(0x200 | (c - 1 + 'A'));
  switch (c) {
    case ' ': return VK_SPACE;
    case 8: return VK_BACK;
    case 9: return VK_TAB;
    case 13: return VK_RETURN;
    case 27: return VK_ESCAPE;
    // The menus' "[" and "]" shortcuts need their keys: those of the US layout.
    case '[': return VK_OEM_4;
    case ']': return VK_OEM_6;
    default: return -1;
  }
}

HACCEL CreateAcceleratorTableA(const ACCEL* entries, int count) {
  if (entries == nullptr || count <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  static std::uintptr_t next = 0x40010;
  const std::uintptr_t handle = next;
  next += 4;
  Tables().emplace(handle, std::vector<ACCEL>(entries, entries + count));
  return reinterpret_cast<HACCEL>(handle);
}

BOOL DestroyAcceleratorTable(HACCEL table) {
  if (Tables().erase(reinterpret_cast<std::uintptr_t>(table)) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

int TranslateAcceleratorA(HWND window, HACCEL table, const MSG* msg) {
  auto found = Tables().find(reinterpret_cast<std::uintptr_t>(table));
  if (found == Tables().end() || msg == nullptr || !IsWindow(window)) {
    SetLastError(found == Tables().end() ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
    return 0;
  }
  const bool keyDown = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
  const bool character = msg->message == WM_CHAR || msg->message == WM_SYSCHAR;
  if (!keyDown && !character) return 0;
  BYTE held = 0;
  if (Held(VK_SHIFT)) held |= FSHIFT;
  if (Held(VK_CONTROL)) held |= FCONTROL;
  if (Held(VK_MENU)) held |= FALT;
  for (const ACCEL& entry : found->second) {
    const bool virtualKey = (entry.fVirt & FVIRTKEY) != 0;
    if (virtualKey != keyDown || entry.key != (msg->wParam & 0xFFFF)) continue;
    if (virtualKey && (entry.fVirt & (FSHIFT | FCONTROL | FALT)) != held) continue;
    if (!virtualKey && ((entry.fVirt & FALT) != 0) != ((held & FALT) != 0)) continue;
    if (IsGreyedMenuCommand(window, entry.cmd)) return 1;
    SendMessageA(window, WM_COMMAND, static_cast<WPARAM>(MAKELONG(entry.cmd, kCommandFromAccelerator)), 0);
    return 1;
  }
  return 0;
}

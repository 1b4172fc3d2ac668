#include "platform/user/Window.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/kernel/Errors.h"
#include "platform/user/Activation.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "platform/user/MenuData.h"
#include "platform/user/Paint.h"
#include "platform/user/SystemClasses.h"
#include "platform/user/WindowTree.h"
#include "platform/user/ActivationInternals.h"
#include "platform/user/ClipboardInternals.h"
#include "platform/user/QueueInternals.h"

namespace platform::user {

// Never destroyed: windows that live until the process ends keep their surfaces, which belong to the
// drawing layer's tables, and those may already be gone by then.
std::map<std::uintptr_t, std::unique_ptr<WindowData>>& WindowTable() {
  static auto* table = new std::map<std::uintptr_t, std::unique_ptr<WindowData>>;
  return *table;
}

namespace {

std::vector<std::shared_ptr<WindowClass>>& Classes() {
  static std::vector<std::shared_ptr<WindowClass>> classes;
  return classes;
}

// Handles are never given twice, so a stale handle can never reach a newer window.
std::uintptr_t& NextHandle() {
  static std::uintptr_t next = 0x10020;
  return next;
}

constexpr ATOM kFirstClassAtom = 0xC000;

bool IsAtom(LPCSTR name) { return reinterpret_cast<std::uintptr_t>(name) < 0x10000; }

std::shared_ptr<WindowClass> FindClass(LPCSTR name) {
  if (name == nullptr) return nullptr;
  auto& classes = Classes();
  if (IsAtom(name)) {
    const auto atom = static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(name));
    if (atom < kFirstClassAtom || atom - kFirstClassAtom >= classes.size()) return nullptr;
    return classes[atom - kFirstClassAtom];
  }
  for (const auto& c : classes) {
    if (c && strcasecmp(c->name.c_str(), name) == 0) return c;
  }
  return nullptr;
}

// Where windows are made and classes described, the system's classes stand behind the program's own.
std::shared_ptr<WindowClass> FindClassOrSystem(LPCSTR name) {
  auto c = FindClass(name);
  return c ? c : FindSystemClass(name);
}

bool SameName(const std::string& a, LPCSTR b) { return strcasecmp(a.c_str(), b) == 0; }

// Sends WM_DESTROY to the window, then to its children, as they go.
void SendDestroy(HWND handle) {
  WindowData* w = Find(handle);
  if (w == nullptr) return;
  SendMessageA(handle, WM_DESTROY, 0, 0);
  w = Find(handle);
  if (w == nullptr) return;
  std::vector<HWND> children;
  for (WindowData* child : w->children) children.push_back(child->handle);
  for (HWND child : children) SendDestroy(child);
}

// Frees the children first, then the window itself.
void FreeWindow(HWND handle) {
  WindowData* w = Find(handle);
  if (w == nullptr) return;
  while (!w->children.empty()) {
    FreeWindow(w->children.front()->handle);
    w = Find(handle);
    if (w == nullptr) return;
  }
  SendMessageA(handle, WM_NCDESTROY, 0, 0);
  w = Find(handle);
  if (w == nullptr) return;
  if (GetCapture() == handle) ReleaseCapture();
  if (GetFocus() == handle) SetFocus(nullptr);
  if (GetActiveWindow() == handle) ForgetActivation(handle);
  ForgetWindowMessages(handle);
  ForgetClipboardWindow(handle);
  auto& siblings = w->parent->children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), w), siblings.end());
  for (auto& [key, other] : WindowTable()) {
    if (other->owner == w) other->owner = nullptr;
  }
  if (w->windowClass) --w->windowClass->windowCount;
  WindowTable().erase(reinterpret_cast<std::uintptr_t>(handle));
}

}  // namespace

void ResetWindows() {
  WindowTable().clear();
  Desktop().children.clear();
  Desktop().surface.Resize(0, 0);
  Classes().clear();
}

}  // namespace platform::user

using namespace platform::user;

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
  if (windowClass == nullptr || windowClass->lpszClassName == nullptr || IsAtom(windowClass->lpszClassName) ||
      windowClass->lpszClassName[0] == '\0' || windowClass->cbWndExtra < 0 || windowClass->cbClsExtra < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (FindClass(windowClass->lpszClassName)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto c = std::make_shared<WindowClass>();
  c->name = windowClass->lpszClassName;
  c->info = *windowClass;
  if (windowClass->lpszMenuName != nullptr && !IsAtom(windowClass->lpszMenuName)) c->menuName = windowClass->lpszMenuName;
  c->info.lpszClassName = nullptr;
  c->info.lpszMenuName = nullptr;
  auto& classes = Classes();
  for (std::size_t i = 0; i < classes.size(); ++i) {
    if (!classes[i]) {
      classes[i] = c;
      return static_cast<ATOM>(kFirstClassAtom + i);
    }
  }
  classes.push_back(c);
  return static_cast<ATOM>(kFirstClassAtom + classes.size() - 1);
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  auto c = FindClass(className);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (c->windowCount > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  for (auto& slot : Classes()) {
    if (slot == c) slot.reset();
  }
  return TRUE;
}

BOOL GetClassInfoA(HINSTANCE, LPCSTR className, WNDCLASSA* windowClass) {
  auto c = FindClassOrSystem(className);
  if (!c || windowClass == nullptr) {
    SetLastError(c ? ERROR_INVALID_PARAMETER : ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  *windowClass = c->info;
  windowClass->lpszClassName = c->name.c_str();
  windowClass->lpszMenuName = c->menuName.empty() ? nullptr : c->menuName.c_str();
  return TRUE;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  auto windowClass = FindClassOrSystem(className);
  if (!windowClass) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  WindowData* parentData = &Desktop();
  WindowData* owner = nullptr;
  if (style & WS_CHILD) {
    parentData = Find(parent);
    if (parentData == nullptr) return nullptr;
  } else {
    if (parent != nullptr) {
      WindowData* p = Find(parent);
      if (p == nullptr) return nullptr;
      owner = &TopLevelOf(*p);
    }
    // A top-level window that is not a pop-up always has a caption and never draws over its siblings.
    if (!(style & WS_POPUP)) style |= WS_CAPTION | WS_CLIPSIBLINGS;
  }
  const RECT parentClient = ClientRectInParent(*parentData);
  const int parentWidth = parentClient.right - parentClient.left;
  const int parentHeight = parentClient.bottom - parentClient.top;
  if (x == CW_USEDEFAULT) {
    x = (style & WS_CHILD) ? 0 : 32;
    y = (style & WS_CHILD) ? 0 : 32;
  }
  if (width == CW_USEDEFAULT) {
    width = parentWidth * 3 / 4;
    height = parentHeight * 3 / 4;
  }
  // Within the window system's reach, as SetWindowPos keeps them.
  x = std::clamp<int>(x, -platform::kAreaLimit, platform::kAreaLimit);
  y = std::clamp<int>(y, -platform::kAreaLimit, platform::kAreaLimit);
  width = std::clamp<int>(width, 0, platform::kAreaLimit);
  height = std::clamp<int>(height, 0, platform::kAreaLimit);
  const bool visible = (style & WS_VISIBLE) != 0;
  const bool maximize = (style & WS_MAXIMIZE) != 0;

  auto owned = std::make_unique<WindowData>();
  WindowData* w = owned.get();
  w->handle = reinterpret_cast<HWND>(NextHandle());
  NextHandle() += 4;
  w->windowClass = windowClass;
  ++windowClass->windowCount;
  w->procedure = windowClass->info.lpfnWndProc;
  w->style = style & ~(WS_VISIBLE | WS_MAXIMIZE);
  w->exStyle = exStyle;
  w->parent = parentData;
  w->owner = owner;
  w->rect = RECT{x, y, x + width, y + height};
  w->restoreRect = w->rect;
  w->menu = menu;
  w->hasMenu = !(style & WS_CHILD) && menu != nullptr;
  w->instance = instance;
  w->text = windowName != nullptr ? windowName : "";
  w->extra.assign(static_cast<std::size_t>(windowClass->info.cbWndExtra), 0);
  if (IsTopLevel(*w)) w->surface.Resize(w->rect.right - w->rect.left, w->rect.bottom - w->rect.top);
  const HWND handle = w->handle;
  WindowTable().emplace(reinterpret_cast<std::uintptr_t>(handle), std::move(owned));
  parentData->children.insert(parentData->children.begin(), w);

  CREATESTRUCTA create{param, instance, menu, parent, height, width, y, x, static_cast<LONG>(style), windowName,
                       className, exStyle};
  if (!SendMessageA(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
    DestroyWindow(handle);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!IsWindow(handle) || SendMessageA(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(handle);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  w = Find(handle);
  if (w == nullptr) return nullptr;
  const RECT client = ClientRectInParent(*w);
  SendMessageA(handle, WM_SIZE, SIZE_RESTORED, MAKELONG(client.right - client.left, client.bottom - client.top));
  SendMessageA(handle, WM_MOVE, 0, MAKELONG(client.left, client.top));
  if (visible && IsWindow(handle)) ShowWindow(handle, maximize ? SW_SHOWMAXIMIZED : SW_SHOW);
  return IsWindow(handle) ? handle : nullptr;
}

BOOL DestroyWindow(HWND window) {
  WindowData* w = Find(window);
  if (w == nullptr || w == &Desktop()) return FALSE;
  if (w->destroying) return TRUE;
  w->destroying = true;
  // Windows it owns go first.
  std::vector<HWND> owned;
  for (auto& [key, other] : WindowTable()) {
    if (other->owner == w) owned.push_back(other->handle);
  }
  for (HWND o : owned) DestroyWindow(o);
  if (IsWindow(window) && (Find(window)->style & WS_VISIBLE)) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendDestroy(window);
  // The menu bar goes with its window, sub-menus and all.
  if (WindowData* destroyed = Find(window)) DestroyWindowMenu(*destroyed);
  FreeWindow(window);
  return TRUE;
}

LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (procedure == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return CallProcedure(procedure, window, message, wParam, lParam);
}

LONG_PTR GetWindowLongA(HWND window, int index) {
  WindowData* w = Find(window);
  if (w == nullptr) return 0;
  switch (index) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w->procedure);
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>((w->style & WS_CHILD) ? w->parent->handle : (w->owner ? w->owner->handle : nullptr));
    case GWL_ID: return reinterpret_cast<LONG_PTR>(w->menu);
    case GWL_STYLE: return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(w->exStyle);
    case GWL_USERDATA: return w->userData;
    default: break;
  }
  if (index < 0 || static_cast<std::size_t>(index) + sizeof(LONG_PTR) > w->extra.size()) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  LONG_PTR value = 0;
  std::memcpy(&value, w->extra.data() + index, sizeof value);
  return value;
}

LONG_PTR SetWindowLongA(HWND window, int index, LONG_PTR value) {
  WindowData* w = Find(window);
  if (w == nullptr) return 0;
  const LONG_PTR previous = GetWindowLongA(window, index);
  switch (index) {
    case GWL_WNDPROC:
      if (value == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
      }
      w->procedure = reinterpret_cast<WNDPROC>(value);
      return previous;
    case GWL_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); return previous;
    case GWL_ID: w->menu = reinterpret_cast<HMENU>(value); return previous;
    case GWL_STYLE: w->style = static_cast<DWORD>(value); return previous;
    case GWL_EXSTYLE: w->exStyle = static_cast<DWORD>(value); return previous;
    case GWL_USERDATA: w->userData = value; return previous;
    case GWL_HWNDPARENT:
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    default: break;
  }
  if (index < 0 || static_cast<std::size_t>(index) + sizeof(LONG_PTR) > w->extra.size()) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  std::memcpy(w->extra.data() + index, &value, sizeof value);
  return previous;
}

BOOL SetPropA(HWND window, LPCSTR name, HANDLE value) {
  WindowData* w = Find(window);
  if (w == nullptr) return FALSE;
  if (name == nullptr || IsAtom(name)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  for (auto& [key, stored] : w->properties) {
    if (SameName(key, name)) {
      stored = value;
      return TRUE;
    }
  }
  w->properties.emplace_back(name, value);
  return TRUE;
}

HANDLE GetPropA(HWND window, LPCSTR name) {
  WindowData* w = Find(window);
  if (w == nullptr || name == nullptr || IsAtom(name)) return nullptr;
  for (auto& [key, stored] : w->properties) {
    if (SameName(key, name)) return stored;
  }
  return nullptr;
}

HANDLE RemovePropA(HWND window, LPCSTR name) {
  WindowData* w = Find(window);
  if (w == nullptr || name == nullptr || IsAtom(name)) return nullptr;
  auto& props = w->properties;
  for (auto it = props.begin(); it != props.end(); ++it) {
    if (SameName(it->first, name)) {
      HANDLE value = it->second;
      props.erase(it);
      return value;
    }
  }
  return nullptr;
}

BOOL IsWindow(HWND window) {
  if (window == nullptr) return FALSE;
  const DWORD saved = GetLastError();
  const bool live = Find(window) != nullptr;
  SetLastError(saved);
  return live ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND window) {
  WindowData* w = Find(window);
  return w != nullptr && IsShownChain(*w) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND window) {
  WindowData* w = Find(window);
  return w != nullptr && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
  WindowData* w = Find(window);
  if (w == nullptr) return FALSE;
  const BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
  if ((enable != FALSE) == (wasDisabled != FALSE)) {
    if (enable) {
      w->style &= ~WS_DISABLED;
    } else {
      w->style |= WS_DISABLED;
      const HWND focus = GetFocus();
      if (focus == window || IsChild(window, focus)) SetFocus(nullptr);
    }
    SendMessageA(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
  }
  return wasDisabled;
}

BOOL IsChild(HWND parent, HWND window) {
  WindowData* p = Find(parent);
  WindowData* w = window ? Find(window) : nullptr;
  if (p == nullptr || w == nullptr) return FALSE;
  for (WindowData* up = w; (up->style & WS_CHILD) && up->parent != nullptr; up = up->parent) {
    if (up->parent == p) return TRUE;
  }
  return FALSE;
}

BOOL IsZoomed(HWND window) {
  WindowData* w = Find(window);
  return w != nullptr && (w->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

HWND GetParent(HWND window) {
  WindowData* w = Find(window);
  if (w == nullptr) return nullptr;
  if (w->style & WS_CHILD) return w->parent->handle;
  if ((w->style & WS_POPUP) && w->owner != nullptr) return w->owner->handle;
  return nullptr;
}

HWND GetDesktopWindow() { return Desktop().handle; }

HWND GetTopWindow(HWND parent) {
  WindowData* p = parent ? Find(parent) : &Desktop();
  if (p == nullptr || p->children.empty()) return nullptr;
  return p->children.front()->handle;
}

HWND GetWindow(HWND window, UINT relation) {
  WindowData* w = Find(window);
  if (w == nullptr) return nullptr;
  if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
  if (relation == GW_OWNER) return w->owner ? w->owner->handle : nullptr;
  if (w->parent == nullptr) return nullptr;
  const auto& siblings = w->parent->children;
  const auto at = std::find(siblings.begin(), siblings.end(), w);
  switch (relation) {
    case GW_HWNDFIRST: return siblings.front()->handle;
    case GW_HWNDLAST: return siblings.back()->handle;
    case GW_HWNDNEXT: return (at + 1 == siblings.end()) ? nullptr : (*(at + 1))->handle;
    case GW_HWNDPREV: return at == siblings.begin() ? nullptr : (*(at - 1))->handle;
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

int GetDlgCtrlID(HWND window) {
  WindowData* w = Find(window);
  if (w == nullptr || !(w->style & WS_CHILD)) return 0;
  return static_cast<int>(reinterpret_cast<std::uintptr_t>(w->menu));
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
  if (Find(window) == nullptr) return FALSE;
  return SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowTextA(HWND window, LPSTR buffer, int size) {
  if (buffer == nullptr || size <= 0 || !IsWindow(window)) {
    if (!IsWindow(window)) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  buffer[0] = '\0';
  return static_cast<int>(SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND window) {
  if (!IsWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
}

#include "ui/shell/WinMain.h"

#include <cstdio>
#include <cstring>

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/FileReference.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "graphics/bitmaps/ColorTable.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/System.h"
#include "platform/user/Cursor.h"
#include "platform/user/Icon.h"
#include "platform/user/Keyboard.h"
#include "platform/user/BitmapResource.h"
#include "platform/user/Menu.h"
#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/Window.h"
#include "ui/shell/App.h"
#include "ui/Seams.h"
#include "ui/shell/MessagePump.h"
#include "ui/shell/TwainSupport.h"
#include "ui/shell/WindowProcs.h"
#include "graphics/SystemVersion.h"

MainWindowRecord* gShortcutTable = nullptr;
HACCEL gAcceleratorTable = nullptr;
bool gLimitedWindows = IsLimitedWindows();
HMENU gAboutMenu = nullptr;
ApplicationFactory gApplicationFactory = nullptr;

namespace {

constexpr SourceName kSource("WINMAIN");

bool gFatalErrorShowing = false;

constexpr char kProductName[] = "Quillory";
constexpr char kMainClass[] = "MainWClass";
constexpr char kChildClass[] = "ChildWClass";

bool RegisterWindowClasses(HINSTANCE instance) {
  WNDCLASSA child{};
  child.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_BYTEALIGNCLIENT;
  child.lpfnWndProc = &ChildWindowProc;
  child.hInstance = instance;
  child.lpszClassName = kChildClass;
  RegisterClassA(&child);
  WNDCLASSA main{};
  main.style = CS_HREDRAW | CS_VREDRAW;
  main.lpfnWndProc = &MainWindowProc;
  main.hInstance = instance;
  main.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(100));
  main.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  main.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  main.lpszMenuName = "MainMenu";
  main.lpszClassName = kMainClass;
  return RegisterClassA(&main) != 0;
}

// The about menu, first on the bar: its title is the program's little picture (6001 on limited systems,
// 6002 elsewhere), or "*" when the picture cannot be had; its one item shows the about box.
void MakeAboutMenu(HINSTANCE instance, HMENU bar) {
  gAboutMenu = CreatePopupMenu();
  const HBITMAP picture = LoadBitmapA(instance, MAKEINTRESOURCEA(IsLimitedWindows() ? 6001 : 6002));
  if (picture != nullptr) {
    AppendMenuA(bar, MF_POPUP | MF_BITMAP, reinterpret_cast<UINT_PTR>(gAboutMenu), reinterpret_cast<LPCSTR>(picture));
  } else {
    SetLastError(0);
    AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(gAboutMenu), "*");
  }
  AppendMenuA(gAboutMenu, MF_STRING, 1, "À propos de "_cp);
  EnableMenuItem(gAboutMenu, 0, MF_BYPOSITION | MF_ENABLED);
}

MainWindowRecord* OpenMainWindow(HINSTANCE instance) {
  HMENU bar = CreateMenu();
  HWND window = CreateWindowExA(0, kMainClass, kProductName, WS_OVERLAPPEDWINDOW, 0, 0, 630, 465, nullptr, bar,
                                instance, nullptr);
  if (window == nullptr) {
    DestroyMenu(bar);
    return nullptr;
  }
  MakeAboutMenu(instance, bar);
  DrawMenuBar(window);
  auto* record = new MainWindowRecord;
  record->instance = instance;
  record->window = window;
  gMainWindow = window;
  ShowWindow(window, SW_SHOWMAXIMIZED);
  // The shared 8-bit colour table owns the application palette, so it stays made for the whole run.
  if (IsLimitedWindows()) RealizeAppPalette();
  CheckCall(DrawMenuBar(window), kSource.Unnumbered());
  return record;
}

HACCEL BuildAcceleratorTable(const MainWindowRecord* record) {
  if (gLimitedWindows || record == nullptr || record->count == 0) return nullptr;
  ACCEL entries[kMaxShortcuts];
  for (std::uint32_t i = 0; i < record->count; ++i) {
    entries[i] = ACCEL{FVIRTKEY | FCONTROL, record->shortcuts[i].virtualKey, record->shortcuts[i].command};
  }
  return CHECK_NOT_NULL(CreateAcceleratorTableA(entries, static_cast<int>(record->count)));
}

void ReportAndExit(Exception* exception) {
  SmartRef<Exception> held(exception);
  held->Report(kAlertStop);
  ExitProcess(0);
}

int RunMessageLoop() {
  MSG msg{};
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    SetLastError(0);
    if (TwainFilterMessage(&msg)) continue;
    try {
      if (gAcceleratorTable == nullptr) {
        TranslateMessage(&msg);
        if (msg.message >= 0x800) ClearBenignError({ERROR_INVALID_PARAMETER});
        DispatchMessageA(&msg);
      } else if (!TranslateAcceleratorA(gMainWindow, gAcceleratorTable, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      if (!IsApplicationRunning()) PostQuitMessage(0);
    } catch (Exception* exception) {
      SmartRef<Exception> held(exception);
      held->Report(kAlertStop);
    }
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

void RealizeAppPalette() {
  HDC dc = GetDC(gMainWindow);
  if (dc == nullptr) return;
  SelectPalette(dc, ColorTable::GetAppPalette(), FALSE);
  RealizePalette(dc);
  ReleaseDC(gMainWindow, dc);
}

bool MainWindowRecord::AddShortcut(std::uint16_t command, SHORT keyScan) {
  if (count >= kMaxShortcuts) return false;
  shortcuts[count++] = ShortcutEntry{command, LOBYTE(keyScan), HIBYTE(keyScan)};
  return true;
}

int FrameworkWinMain(HINSTANCE instance, HINSTANCE, LPSTR, int, ApplicationFactory factory) {
  try {
    gAcceleratorTable = nullptr;
    IsLimitedWindows();
    InitAlerts();
    InstallUiSeams();
    SmartRef<FileReference> folder(FileReference::ApplicationFolder());
    if (!RegisterWindowClasses(instance)) return 0;
    MainWindowRecord* record = OpenMainWindow(instance);
    if (record == nullptr) return 0;
    gShortcutTable = record;
    gMainWindow = record->window;
    gApplicationFactory = factory;
    PostMessageA(gMainWindow, createApplicationMessage, 0, 0);
    const int code = RunMessageLoop();
    DestroyApplication();
    if (gAcceleratorTable) {
      CheckCall(DestroyAcceleratorTable(gAcceleratorTable), kSource.Unnumbered());
      gAcceleratorTable = nullptr;
    }
    return code;
  } catch (Exception* exception) {
    ReportAndExit(exception);
  } catch (...) {
    ShowFatalError(0, 0, 0);
  }
  return 0;
}

void CreateAndStartApplication() {
  SmartRef<App> app;
  try {
    app = CreateApplication(gApplicationFactory, gShortcutTable);
    if (!app) ExitProcess(kNoApplicationExitCode);
    RealizeAppPalette();
  } catch (Exception* exception) {
    SmartRef<Exception> held(exception);
    held->Report(kAlertStop);
    return;
  }
  try {
    char name[256];
    app->GetAppInfo().name.CopyTo(name, sizeof name);
    SetApplicationTitle(name);
    gAcceleratorTable = BuildAcceleratorTable(gShortcutTable);
    StartApplication(true);
  } catch (Exception* exception) {
    ReportAndExit(exception);
  }
}

WPARAM FindShortcutCommand(WPARAM key) {
  if (gShortcutTable == nullptr) return 0;
  for (std::uint32_t i = 0; i < gShortcutTable->count; ++i) {
    if (gShortcutTable->shortcuts[i].virtualKey == LOBYTE(key)) return 0x10000 + gShortcutTable->shortcuts[i].command;
  }
  return 0;
}

void ShowFatalError(long a, long b, long c) {
  if (gFatalErrorShowing) return;
  struct Showing {
    Showing() { gFatalErrorShowing = true; }
    ~Showing() { gFatalErrorShowing = false; }
  } showing;
  char numbers[64];
  std::snprintf(numbers, sizeof numbers, "%ld:%ld:%ld", a, b, c);
  String text("Erreur très sérieuse"_cp);
  text.Append(numbers);
  text.Append(
      "has occured!\nThe system may now be unstable\nPlease save your work and exit the program as soon as "
      "possible");
  text.Alert(kAlertStop, kButtonsOK);
}

void SetApplicationTitle(const char* name) {
  SetWindowTextA(gMainWindow, name);
  char text[256];
  std::snprintf(text, sizeof text, "%s%s...", "À propos de "_cp, name);
  ModifyMenuA(gAboutMenu, 1, MF_BYCOMMAND | MF_STRING, 1, text);
}

void CacheLimitedWindows() { gLimitedWindows = IsLimitedWindows(); }

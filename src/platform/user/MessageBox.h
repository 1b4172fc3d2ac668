// The one message box of the program.
#pragma once

#include <functional>

#include "platform/kernel/WinTypes.h"

enum : UINT {
  MB_OK = 0x0,
  MB_OKCANCEL = 0x1,
  MB_ABORTRETRYIGNORE = 0x2,
  MB_YESNOCANCEL = 0x3,
  MB_YESNO = 0x4,
  MB_RETRYCANCEL = 0x5,
  MB_TYPEMASK = 0xF,
  MB_ICONHAND = 0x10,
  MB_ICONSTOP = MB_ICONHAND,
  MB_ICONQUESTION = 0x20,
  MB_ICONEXCLAMATION = 0x30,
  MB_ICONINFORMATION = 0x40,
  MB_ICONMASK = 0xF0,
  MB_DEFBUTTON1 = 0x000,
  MB_DEFBUTTON2 = 0x100,
  MB_DEFBUTTON3 = 0x200,
  MB_DEFMASK = 0xF00,
  MB_APPLMODAL = 0x0000,
  MB_SYSTEMMODAL = 0x1000,
  MB_TASKMODAL = 0x2000,
};

enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

namespace platform {

// What shows a message box and chooses its answer. The window system installs its modal box here; tests
// install a recorder. Without one, the box is written to standard error and answers its default button.
using MessageBoxHandler = std::function<int(HWND owner, LPCSTR text, LPCSTR caption, UINT type)>;
// Installs a handler and answers the previous one, so that callers can put it back.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The answer of the default button of a box of the given type (MB_DEFBUTTONn picks among its buttons).
int DefaultMessageBoxAnswer(UINT type);

}  // namespace platform

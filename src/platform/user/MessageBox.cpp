#include "platform/user/MessageBox.h"

#include <cstdio>

#include "platform/kernel/Codepage.h"

namespace {
platform::MessageBoxHandler& Handler() {
  static platform::MessageBoxHandler handler;
  return handler;
}
}  // namespace

namespace platform {

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  MessageBoxHandler previous = std::move(Handler());
  Handler() = std::move(handler);
  return previous;
}

int DefaultMessageBoxAnswer(UINT type) {
  static constexpr int kButtons[][3] = {
      {IDOK, IDOK, IDOK},             // MB_OK
      {IDOK, IDCANCEL, IDOK},         // MB_OKCANCEL
      {IDABORT, IDRETRY, IDIGNORE},   // MB_ABORTRETRYIGNORE
      {IDYES, IDNO, IDCANCEL},        // MB_YESNOCANCEL
      {IDYES, IDNO, IDYES},           // MB_YESNO
      {IDRETRY, IDCANCEL, IDRETRY},   // MB_RETRYCANCEL
  };
  UINT kind = type & MB_TYPEMASK;
  if (kind > MB_RETRYCANCEL) kind = MB_OK;
  const UINT button = ((type & MB_DEFMASK) >> 8) % 3;
  return kButtons[kind][button];
}

}  // namespace platform

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  if (Handler()) return Handler()(owner, text, caption, type);
  std::fprintf(stderr, "[%s] %s\n", platform::Cp1252ToUtf8(caption ? caption : "").c_str(),
               platform::Cp1252ToUtf8(text ? text : "").c_str());
  return platform::DefaultMessageBoxAnswer(type);
}

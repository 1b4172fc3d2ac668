// Records the messages windows receive, in order, with their parameters, as their procedures get them.
#pragma once

#include <string>
#include <vector>

#include "platform/user/Message.h"
#include "platform/user/Window.h"

struct LoggedMessage {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  WINDOWPOS pos;  // a copy of what lParam pointed to, for WM_WINDOWPOSCHANGING and WM_WINDOWPOSCHANGED
};

class MessageLog {
 public:
  MessageLog();
  ~MessageLog();
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  const std::vector<LoggedMessage>& All() const { return entries; }
  // The messages one window received, in order.
  std::vector<LoggedMessage> Of(HWND window) const;
  // Only those with this number.
  std::vector<LoggedMessage> Of(HWND window, UINT message) const;
  std::vector<UINT> Numbers(HWND window) const;
  int Count(HWND window, UINT message) const { return static_cast<int>(Of(window, message).size()); }
  void Clear() { entries.clear(); }

 private:
  static void Observe(void* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  std::vector<LoggedMessage> entries;
};

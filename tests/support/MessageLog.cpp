#include "support/MessageLog.h"

MessageLog::MessageLog() { platform::AddMessageObserver(&MessageLog::Observe, this); }

MessageLog::~MessageLog() { platform::RemoveMessageObserver(&MessageLog::Observe, this); }

void MessageLog::Observe(void* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LoggedMessage entry{window, message, wParam, lParam, WINDOWPOS{}};
  if ((message == WM_WINDOWPOSCHANGED || message == WM_WINDOWPOSCHANGING) && lParam != 0) {
    entry.pos = *reinterpret_cast<const WINDOWPOS*>(lParam);
  }
  static_cast<MessageLog*>(context)->entries.push_back(entry);
}

std::vector<LoggedMessage> MessageLog::Of(HWND window) const {
  std::vector<LoggedMessage> out;
  for (const auto& e : entries) {
    if (e.window == window) out.push_back(e);
  }
  return out;
}

std::vector<LoggedMessage> MessageLog::Of(HWND window, UINT message) const {
  std::vector<LoggedMessage> out;
  for (const auto& e : entries) {
    if (e.window == window && e.message == message) out.push_back(e);
  }
  return out;
}

std::vector<UINT> MessageLog::Numbers(HWND window) const {
  std::vector<UINT> out;
  for (const auto& e : entries) {
    if (e.window == window) out.push_back(e.message);
  }
  return out;
}

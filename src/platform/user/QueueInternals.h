// The message queue's side of input, posted messages and filters (internal to the window system).
#pragma once

#include <string>

#include "platform/user/Message.h"

namespace platform::user {

// An input message as it waits in the queue.
struct InputMessage {
  MSG msg;
  int virtualKey = -1;  // the key or button that goes down or up when the message is taken
  bool down = false;
  int hit = HTCLIENT;   // mouse messages: where on the window the point lies
  std::string text;     // key downs: the characters the key typed, for TranslateMessage
  // Mouse messages: the client-area form of the message, the buttons and keys held, and the capture when
  // the message was aimed at its window.
  UINT mouseMessage = 0;
  WPARAM mouseKeys = 0;
  HWND aimedCapture = nullptr;
};
void QueueInput(const InputMessage& input);  // coalesces mouse moves
// The input message queued last and not yet taken, or null.
InputMessage* LastQueuedInput();
bool MatchesWindowFilter(HWND window, HWND filter);
void ForgetWindowMessages(HWND window);  // queue side: drops posted messages and timers of a window
void ResetQueue();

}  // namespace platform::user

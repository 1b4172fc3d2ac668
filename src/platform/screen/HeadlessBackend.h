// A back end without a display: the tests inject input themselves and read the composed screen.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/screen/Backend.h"

namespace platform {

class HeadlessBackend : public Backend {
 public:
  // What to do when the message loop has nothing to do for a while: by default, sleep that long. Tests on
  // a virtual clock advance the clock here instead.
  using IdleHandler = std::function<void(DWORD timeoutMs)>;
  explicit HeadlessBackend(IdleHandler idle = {}) : idle(std::move(idle)) {}

  void PumpInput(DWORD timeoutMs) override;
  void Present(const std::uint32_t* pixels, int width, int height) override;
  int PresentCount() const { return presents; }

  // The system clipboard is a text kept here: tests read what the program gave it, and write to it as
  // another program would.
  bool SystemClipboardText(std::string* utf8) override;
  void SetSystemClipboardText(const std::string& utf8) override;

 private:
  IdleHandler idle;
  int presents = 0;
  std::optional<std::string> clipboardText;
};

}  // namespace platform

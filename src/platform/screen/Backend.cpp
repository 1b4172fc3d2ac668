#include "platform/screen/Backend.h"

#include "platform/screen/HeadlessBackend.h"
#include "platform/kernel/System.h"

namespace platform {

namespace {

std::unique_ptr<Backend>& Installed() {
  static std::unique_ptr<Backend> backend;
  return backend;
}

}  // namespace

Backend& CurrentBackend() {
  if (!Installed()) Installed() = std::make_unique<HeadlessBackend>();
  return *Installed();
}

std::unique_ptr<Backend> SetBackend(std::unique_ptr<Backend> backend) {
  std::unique_ptr<Backend> previous = std::move(Installed());
  Installed() = std::move(backend);
  if (Installed()) {
    Installed()->presentedGeneration = ~0u;
    Installed()->cursorGeneration = ~0u;
    Installed()->windowIconShown = false;
  }
  return previous;
}

void HeadlessBackend::PumpInput(DWORD timeoutMs) {
  if (timeoutMs == 0) return;
  if (idle) {
    idle(timeoutMs);
  } else {
    Sleep(timeoutMs);
  }
}

void HeadlessBackend::Present(const std::uint32_t*, int, int) { ++presents; }

bool HeadlessBackend::SystemClipboardText(std::string* utf8) {
  if (!clipboardText) return false;
  *utf8 = *clipboardText;
  return true;
}

void HeadlessBackend::SetSystemClipboardText(const std::string& utf8) { clipboardText = utf8; }

}  // namespace platform

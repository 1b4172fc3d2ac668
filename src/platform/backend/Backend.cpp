#include "platform/backend/Backend.h"

#include "platform/backend/HeadlessBackend.h"
#include "platform/backend/Screen.h"
#include "platform/kernel/System.h"
#include "platform/user/Cursor.h"
#include "platform/user/WindowSurface.h"

namespace platform {

namespace {

std::unique_ptr<Backend>& Installed() {
  static std::unique_ptr<Backend> backend;
  return backend;
}

}  // namespace

void Backend::PresentIfChanged() {
  if (CursorGeneration() != cursorGeneration) {
    cursorGeneration = CursorGeneration();
    ShowCursorImage(ShownCursor());
  }
  const unsigned generation = ScreenGeneration();
  if (generation == presentedGeneration) return;
  presentedGeneration = generation;
  const auto& pixels = ComposeScreen();
  const SIZE size = GetScreenSize();
  Present(pixels.data(), size.cx, size.cy);
}

Backend& CurrentBackend() {
  if (!Installed()) Installed() = std::make_unique<HeadlessBackend>();
  return *Installed();
}

std::unique_ptr<Backend> SetBackend(std::unique_ptr<Backend> backend) {
  std::unique_ptr<Backend> previous = std::move(Installed());
  Installed() = std::move(backend);
  NoteScreenChanged();
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

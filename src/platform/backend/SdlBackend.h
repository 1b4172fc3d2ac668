// The real screen: the virtual screen shown in one resizable SDL window, whose mouse, keyboard and text
// input become the window system's input.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/screen/Backend.h"

namespace platform {

class SdlBackend : public Backend {
 public:
  // Opens the window at the virtual screen's size; null, with the reason in error, when SDL cannot show
  // one (no display, no video driver).
  static std::unique_ptr<SdlBackend> Open(const char* title, std::string* error);
  ~SdlBackend() override;

  void PumpInput(DWORD timeoutMs) override;
  void Present(const std::uint32_t* pixels, int width, int height) override;
  void ShowCursorImage(const CursorImage* cursor) override;
  void ShowWindowIcon(const std::uint32_t* pixels, int width, int height) override;
  bool SystemClipboardText(std::string* utf8) override;
  void SetSystemClipboardText(const std::string& utf8) override;
  // Whether the window shows a mouse cursor now.
  bool CursorVisible() const;

  // The pixels the window shows now, read back from its renderer (0x00RRGGBB).
  std::vector<std::uint32_t> ReadShownPixels(int* width, int* height);

 private:
  struct Parts;
  explicit SdlBackend(std::unique_ptr<Parts> parts);
  void Handle(const void* event);
  std::unique_ptr<Parts> parts;
};

}  // namespace platform

// The real screen behind the window system: what shows the composed screen and delivers the user's input.
// The window system talks to a back end only through this interface, so that the back ends themselves
// (backend/) stand on the window system and nothing here names it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/kernel/WinTypes.h"
#include "platform/screen/CursorImage.h"

namespace platform {

class Backend {
 public:
  virtual ~Backend() = default;
  // Hands the input that arrived to the window system (InjectMouseMove, InjectKey, ...), waiting at most
  // the given time for some.
  virtual void PumpInput(DWORD timeoutMs) = 0;
  // Shows a composed screen of width x height pixels, 0x00RRGGBB, rows top first.
  virtual void Present(const std::uint32_t* pixels, int width, int height) = 0;

  // Shows the mouse cursor the window system chose (null: none).
  virtual void ShowCursorImage(const CursorImage* cursor) { (void)cursor; }
  // Shows the program's icon where the system shows a window's icon: width x height pixels, 0xAARRGGBB,
  // rows top first (null pixels: none).
  virtual void ShowWindowIcon(const std::uint32_t* pixels, int width, int height) {
    (void)pixels, (void)width, (void)height;
  }

  // The system clipboard's text, UTF-8, which the user shares with other programs: false when it holds no
  // text. Without a system clipboard there is none, and what is written goes nowhere.
  virtual bool SystemClipboardText(std::string* utf8) {
    (void)utf8;
    return false;
  }
  virtual void SetSystemClipboardText(const std::string& utf8) { (void)utf8; }

  // The window system's change counters of the screen and of the cursor when this back end last showed
  // them, so that it presents only what changed; a back end just installed has shown nothing yet.
  unsigned presentedGeneration = ~0u;
  unsigned cursorGeneration = ~0u;
  // The window icon this back end shows, and whether it has been told one yet.
  HICON windowIcon = nullptr;
  bool windowIconShown = false;
};

// The back end in use; a headless one until another is installed.
Backend& CurrentBackend();
// Installs a back end (null: headless again), which shows everything at the next present, and answers the
// previous one.
std::unique_ptr<Backend> SetBackend(std::unique_ptr<Backend> backend);

}  // namespace platform

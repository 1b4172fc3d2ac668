// The program: the web-page application on the real screen, started from its folder (the folder holding
// "Data", "Projets" and the other data folders).
#include <cstdio>
#include <string>

#include "app/DromelApp.h"
#include "app/Seams.h"
#include "platform/backend/SdlBackend.h"
#include "ui/shell/WinMain.h"

int main() {
  std::string reason;
  std::unique_ptr<platform::SdlBackend> screen = platform::SdlBackend::Open("Quillory", &reason);
  if (!screen) {
    std::fprintf(stderr, "quillory: %s\n", reason.c_str());
    return 1;
  }
  platform::SetBackend(std::move(screen));
  InstallAppSeams();
  if (!CheckProgramFolder()) return 1;
  // The program's own module, which holds its cursors and bitmaps.
  const int code = FrameworkWinMain(reinterpret_cast<HINSTANCE>(0x400000), nullptr, nullptr, 0, &CreateDromelApp);
  ReleaseDromelApp();
  platform::SetBackend(nullptr);
  return code;
}

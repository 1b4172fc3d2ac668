// Running the web-page application itself for a benchmark, on the headless screen over a program folder
// of the run's own: started for real, its welcome left, then the benchmark's body inside the message loop.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "ProgramBench.h"
#include "app/DromelApp.h"
#include "app/Seams.h"
#include "app/Welcome.h"
#include "core/CoreState.h"
#include "platform/kernel/Files.h"
#include "platform/user/Timer.h"
#include "ui/dialogs/Dialog.h"
#include "ui/shell/App.h"
#include "ui/shell/WinMain.h"

namespace bench {

// data/ as it ships, less the splash picture, so that the program goes straight to its welcome. Made at
// the first call; the benchmark's main removes it.
inline const std::filesystem::path& ProgramFolder() {
  static const std::filesystem::path folder = [] {
    namespace fs = std::filesystem;
    fs::path made = fs::temp_directory_path() / ("quillory-bench-app-" + std::to_string(getpid()));
    fs::remove_all(made);
    fs::copy(fs::path(QUILLORY_SOURCE_DIR) / "data", made, fs::copy_options::recursive);
    fs::remove(made / "Data" / "1422.bmp");
    return made;
  }();
  return folder;
}

inline std::string WindowsPath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// What the program does, on the headless screen, with a hand that acts on every tick of 1 ms.
inline int RunDromelProgram(TIMERPROC hand) {
  const UINT_PTR timer = SetTimer(nullptr, 0, 1, hand);
  const int code = FrameworkWinMain(reinterpret_cast<HINSTANCE>(0x400000), nullptr, nullptr, 0, &CreateDromelApp);
  KillTimer(nullptr, timer);
  return code;
}

inline bool WelcomeInFront() {
  return gApplication && CastSmart<WelcomeDialog>(~gApplication->FrontWindow()) != nullptr;
}

namespace past_welcome {
inline benchmark::State* state = nullptr;
inline std::function<void(benchmark::State&)> body;

inline void Hand(HWND, UINT, UINT_PTR, DWORD) {
  if (state == nullptr) return;
  if (WelcomeInFront()) {
    CastSmart<Dialog>(~gApplication->FrontWindow())->Cancel();
    return;
  }
  if (gStartupInProgress) return;
  benchmark::State& running = *state;
  state = nullptr;
  body(running);
  PostQuitMessage(0);
}
}  // namespace past_welcome

// The body runs once the program has started and its welcome has been left, then the program ends.
inline void InProgramPastTheWelcome(benchmark::State& state, std::function<void(benchmark::State&)> body) {
  SetCurrentDirectoryA(WindowsPath(ProgramFolder().string()).c_str());
  InstallAppSeams();
  StartHeadless();
  past_welcome::state = &state;
  past_welcome::body = std::move(body);
  RunDromelProgram(&past_welcome::Hand);
  if (past_welcome::state != nullptr) state.SkipWithError("the program did not start");
  past_welcome::state = nullptr;
  past_welcome::body = nullptr;
  dromelapp_testing::Reset();
  TheCoreState().osApp = nullptr;
}

}  // namespace bench

// The web-page application's waits the child notices most:
// - BM_ProcessStartToMainWindow: from starting the program's process to its main window composed with
//   the welcome over it (headless, no splash picture in "Data"), exit included. Goal: under 300 ms.
// - BM_OpenProjectOf20Pages: opening a project of 20 pages under its lock, from the "Projets" choice to
//   the chosen page shown in the page window (two projects opened in turn). Goal: under 200 ms.
// - BM_UpdateMenus: every item of the whole menu bar asked its status, as before a menu opens or a shortcut
//   runs, with a page of the project in front. Goal: under 1 ms.
// - BM_PalettePageSwitch: a click on one of the start panel's buttons as the page window's tool palette
//   takes it: the page of buttons chosen (kinds 28 to 32 in turn, the last page starting the page's show
//   and the first one after it stopping it), the window repainted. Goal: under 10 ms.
// No other program does any of these jobs, so there is no peer figure.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "BenchSupport.h"
#include "AppProgramBench.h"
#include "ProgramBench.h"
#include "app/DromelApp.h"
#include "app/Seams.h"
#include "app/Welcome.h"
#include "app/page/DromelScribe.h"
#include "app/page/DromelToolPalette.h"
#include "app/page/DromelWindow.h"
#include "core/Format.h"
#include "core/ObjectFile.h"
#include "core/Resources.h"
#include "core/Stream.h"
#include "core/CoreState.h"
#include "editor/CBorderSize.h"
#include "editor/CDropperTool.h"
#include "editor/CTool.h"
#include "editor/CToolsDir.h"
#include "editor/PaintToolsWindow.h"
#include "sound/SoundChannel.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "platform/user/Message.h"
#include "platform/user/Timer.h"
#include "ui/shell/App.h"
#include "ui/shell/WinMain.h"
#include "ui/views/LFWDecorator.h"
#include "ui/views/WindowFrame.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using bench::InProgramPastTheWelcome;
using bench::ProgramFolder;
using bench::WelcomeInFront;
using bench::WindowsPath;

// The child process: the program up to its welcome, composed, and out.
void QuitOnWelcome(HWND, UINT, UINT_PTR, DWORD) {
  if (!WelcomeInFront()) return;
  gApplication->FrontWindow()->Refresh();
  std::_Exit(0);
}

int RunChild(const char* folder) {
  SetCurrentDirectoryA(WindowsPath(folder).c_str());
  InstallAppSeams();
  bench::StartHeadless();
  bench::RunDromelProgram(&QuitOnWelcome);
  return 1;  // the welcome never came
}

void BM_ProcessStartToMainWindow(benchmark::State& state) {
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  const std::string folder = ProgramFolder().string();
  char* argv[] = {const_cast<char*>(self.c_str()), const_cast<char*>("--start-child"),
                  const_cast<char*>(folder.c_str()), nullptr};
  for (auto _ : state) {
    pid_t child = 0;
    if (posix_spawn(&child, self.c_str(), nullptr, nullptr, argv, environ) != 0) {
      state.SkipWithError("the program could not be started");
      return;
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the program did not reach its welcome");
      return;
    }
  }
}
BENCHMARK(BM_ProcessStartToMainWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

std::string PageBytes(int width) {
  SmartRef<CMovieGroup> group(new CMovieGroup(Rect(0, 0, width, 360)));
  SmartRef<CShow> page(new CShow(~group, false));
  const SmartRef<MemoryStream> stream = new MemoryStream();
  const SmartRef<ObjectFile> file = new ObjectFile(GetGenericTypeIndex(), SmartRef<Stream>(~stream));
  file->Write(SmartRef<Smart>(~page));
  return std::string(reinterpret_cast<const char*>(stream->GetMemory().GetData()), stream->GetLength());
}

void MakeProject(const fs::path& folder) {
  fs::create_directories(folder);
  // Each page a second older than the next: the last one is the page the project opens on.
  const auto now = fs::file_time_type::clock::now();
  for (int n = 1; n <= 20; ++n) {
    const fs::path page = folder / ("page" + std::to_string(n) + ".zod");
    std::ofstream(page) << PageBytes(400 + n);
    fs::last_write_time(page, now - std::chrono::seconds(20 - n));
  }
}

void BM_OpenProjectOf20Pages(benchmark::State& state) {
  MakeProject(ProgramFolder() / "Projets" / "Vingt1");
  MakeProject(ProgramFolder() / "Projets" / "Vingt2");
  InProgramPastTheWelcome(state, [](benchmark::State& running) {
    bool second = false;
    for (auto _ : running) {
      gDromelApp->OpenProject(String(second ? "Vingt2" : "Vingt1"));
      second = !second;
    }
    // The last open must have shown the project's latest page under its lock.
    auto* window = CastSmart<DromelWindow>(~gApplication->FrontWindow());
    auto* scribe = window ? CastSmart<DromelScribe>(~window->GetScribe()) : nullptr;
    String pageName;
    if (scribe) scribe->GetPageFile()->GetName(pageName);
    if (!gProjectLockFile || !(pageName == String("page20.zod"))) running.SkipWithError("the project did not open");
  });
}
BENCHMARK(BM_OpenProjectOf20Pages)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

void BM_UpdateMenus(benchmark::State& state) {
  MakeProject(ProgramFolder() / "Projets" / "Menus");
  InProgramPastTheWelcome(state, [](benchmark::State& running) {
    gDromelApp->OpenProject(String("Menus"));
    if (CastSmart<DromelWindow>(~gApplication->FrontWindow()) == nullptr) {
      running.SkipWithError("the project did not open");
      return;
    }
    for (auto _ : running) gApplication->UpdateMenus();
  });
}
BENCHMARK(BM_UpdateMenus)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_PalettePageSwitch(benchmark::State& state) {
  MakeProject(ProgramFolder() / "Projets" / "Palette");
  InProgramPastTheWelcome(state, [](benchmark::State& running) {
    gDromelApp->OpenProject(String("Palette"));
    auto* window = CastSmart<DromelWindow>(~gApplication->FrontWindow());
    if (window == nullptr) {
      running.SkipWithError("the project did not open");
      return;
    }
    DromelToolPalette& palette = *window->GetToolPalette();
    std::int32_t switches = 0;
    std::int32_t chosen = 0;
    for (auto _ : running) {
      chosen = DromelToolPalette::kFirstPanelKind + switches++ % DromelToolPalette::kPageCount;
      palette.CreateTool(chosen);
      window->Refresh();
    }
    if (chosen != 0 && palette.GetPage() != chosen - DromelToolPalette::kFirstPanelKind)
      running.SkipWithError("the palette did not show the page chosen");
  });
}
BENCHMARK(BM_PalettePageSwitch)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--start-child") == 0) return RunChild(argv[2]);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::remove_all(ProgramFolder());
  return 0;
}

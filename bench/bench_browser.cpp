// The page browser's two costs. A thumbnail: a page of 50 sprites read from its file, pictured whole and
// stretched to a 64 x 48 cell, as the browser's chore makes one per job (goal 50 ms at 760 x 570). A
// repaint: the frames, labels and queued jobs of 60 visible cells, which is all the browser draws while
// the child scrolls (goal 10 ms). No other program does these jobs, so there is no peer figure.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "BenchSupport.h"
#include "BusyPage.h"
#include "ProgramBench.h"
#include "editor/CTool.h"
#include "editor/Seams.h"
#include "editor/app/CTumbletApp.h"
#include "editor/browser/CBrowser.h"
#include "editor/browser/CChoreStrips.h"
#include "engine/EngineOptions.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/page/SolidPicture.h"
#include "graphics/DisplayPort.h"
#include "ui/views/Window.h"

namespace {

// A folder of its own under the system's temporary folder, in the program's path form.
std::string ScratchFolder(const char* name) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
  std::string text = path.string();
  for (char& c : text)
    if (c == '/') c = '\\';
  return text;
}

// The engine's application the thumbnails are made through; it is not the running program's.
class ThumbnailApp : public CTumbletApp {
 public:
  explicit ThumbnailApp(const AppCreationRecord& record) : CTumbletApp(record) {}
  void NewDocument() override {}
};

void BM_PageThumbnail(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0)), height = bench::PageHeight(width);
  bench::UseProgramFolder();
  InstallEditorSeams();
  const std::string folder = ScratchFolder("quillory-bench-browser");
  bool ran = false;
  bench::InProgram([&] {
    ran = true;
    gEngineOptions = kOptionNoStartAndQuitSounds;
    AppInfo info;
    AppCreationRecord record{nullptr, nullptr, FileCreatorType("Bench", 0x48434E42), nullptr, nullptr, &info};
    const SmartRef<CHAApp> app(new ThumbnailApp(record));
    gCHAApp = app;
    SmartRef<FileReference> file(new FileReference((folder + "\\page.zod").c_str()));
    {
      std::ofstream(std::filesystem::temp_directory_path() / "quillory-bench-browser" / "page.zod");
      app->MakeScribe(*file, 3)->Write(SmartRef<Smart>(~bench::BusyPage(width, height)));
    }
    gBrowserWholePage = true;
    for (auto _ : state) {
      SmartRef<Image> thumbnail = MakeThumbnail(*file, 64, 48);
      if (!thumbnail) {
        state.SkipWithError("no thumbnail");
        break;
      }
      benchmark::DoNotOptimize(~thumbnail);
    }
    gCHAApp = nullptr;
  });
  if (!ran) state.SkipWithError("the program did not start");
}
BENCHMARK(BM_PageThumbnail)->Apply(bench::PageSizes)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BrowserRepaint60Cells(benchmark::State& state) {
  bench::UseProgramFolder();
  InstallEditorSeams();
  const std::string folder = ScratchFolder("quillory-bench-browser-cells");
  for (int n = 0; n < 60; ++n) {
    std::ofstream(std::filesystem::temp_directory_path() / "quillory-bench-browser-cells" /
                  ("image " + std::to_string(n) + ".bmp"))
        << "x";
  }
  bool ran = false;
  bench::InProgram([&] {
    ran = true;
    const String title("Clips");
    // Ten columns and six rows of 96 x 80 cells.
    SmartRef<Window> window(new Window(&title, kFrameNormal, false, true, 960, 480));
    window->Open(true);
    SmartRef<FileReference> clips(new FileReference(folder.c_str()));
    SmartRef<CTool> tool(new CTool(kBrowseClip, nullptr, false, nullptr));
    SmartRef<CBrowser> browser(new CBrowser(~window, Rect(0, 0, 960, 480), *clips, ~tool, 64, 48));
    window->AddSubview(~browser);
    const Area all(browser->GetBounds());
    for (auto _ : state) {
      DisplayPort port(~browser->GetBufferOrDevice(), browser->GetBounds());
      browser->DrawContent(port, all);
    }
    state.counters["cells"] = static_cast<double>(browser->GetChore()->NumJobs());
    window->RemoveAllSubviews();
    window->Close();
  });
  if (!ran) state.SkipWithError("the program did not start");
}
BENCHMARK(BM_BrowserRepaint60Cells)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

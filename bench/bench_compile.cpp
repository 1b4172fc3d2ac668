// Compiling a project's pages, cold: 20 pages of 480 x 360, each of 10 sprites of which 5 carry a web
// link, every page read from its file and compiled through its page scribe into an empty "HTML" folder,
// as the project's compilation does for every page not on show. Beside it, cjpeg coding the same 20
// pictures (the pages' pictures as our compilation made them, decoded once by djpeg) at the same quality.
// Goal: under 1 s for the 20 pages.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/Seams.h"
#include "app/page/DromelScribe.h"
#include "core/File.h"
#include "core/Format.h"
#include "core/ObjectFile.h"
#include "engine/links/CLink.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/page/SolidPicture.h"
#include "web/html/LinkHREF.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPages = 20;
constexpr int kSprites = 10;
constexpr int kWidth = 480;
constexpr int kHeight = 360;

std::string WindowsPath(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

const fs::path& ProjectFolder() {
  static const fs::path folder = fs::temp_directory_path() / "quillory-bench-compile" / "Projet";
  return folder;
}

SmartRef<CShow> MakePage(int index) {
  const SmartRef<CMovieGroup> group = new CMovieGroup(Rect(0, 0, kWidth, kHeight));
  for (int i = 0; i < kSprites; ++i) {
    const int x = 10 + (i % 5) * 90 + index, y = 20 + (i / 5) * 160;
    const Rect at(x, y, x + 80, y + 60);
    const SmartRef<CSprite> sprite = new CSprite(0, engine_test::SolidPicture(80, 60, 4 + (i + index) % 5, true), at);
    CSprite* merged = group->GetSprite(group->MergeSprite(~sprite));
    if (i % 2 == 0) {
      const SmartRef<CLink> link = new CLink();
      link->SetHref(new LinkHREF(String(("http://www.exemple.org/" + std::to_string(index) + "/" +
                                         std::to_string(i) + "/").c_str())));
      merged->SetLink(0, 1, ~link);
    }
  }
  return new CShow(~group, false);
}

SmartRef<FileReference> PageFile(int index) {
  return new FileReference(WindowsPath((ProjectFolder() / ("page" + std::to_string(index) + ".zod")).string()).c_str());
}

// The project's page files, written once.
void MakeProject() {
  static const bool made = [] {
    bench::UseProgramFolder();
    InstallAppSeams();
    fs::remove_all(ProjectFolder());
    fs::create_directories(ProjectFolder());
    for (int i = 0; i < kPages; ++i) {
      std::ofstream(ProjectFolder() / ("page" + std::to_string(i) + ".zod"));
      const SmartRef<FileReference> file = PageFile(i);
      const SmartRef<File> stream = new File(~file, kFileModeRead | kFileModeWrite);
      const SmartRef<ObjectFile> writer = new ObjectFile(GetGenericTypeIndex(), SmartRef<Stream>(~stream));
      writer->Write(SmartRef<Smart>(~MakePage(i)));
    }
    return true;
  }();
  benchmark::DoNotOptimize(made);
}

void CompileProject() {
  for (int i = 0; i < kPages; ++i) {
    const SmartRef<FileReference> file = PageFile(i);
    const SmartRef<File> stream = new File(~file, kFileModeRead);
    const SmartRef<Scribe> inner = new ObjectFile(GetGenericTypeIndex(), SmartRef<Stream>(~stream));
    const SmartRef<DromelScribe> scribe = new DromelScribe(~inner, ~file);
    SmartRef<Smart> page;
    scribe->Read(&page);
    scribe->CompileIfOutOfDate(page);
  }
}

void EmptyHtmlFolder() {
  for (const auto& entry : fs::directory_iterator(ProjectFolder() / "HTML")) fs::remove_all(entry.path());
}

void ProjectCompile(benchmark::State& state) {
  MakeProject();
  for (auto _ : state) {
    state.PauseTiming();
    if (fs::exists(ProjectFolder() / "HTML")) EmptyHtmlFolder();
    state.ResumeTiming();
    CompileProject();
  }
}

// The pages' pictures as PPM files, decoded from our compilation's JPEG files.
std::vector<std::string> PagePictures() {
  static const std::vector<std::string> pictures = [] {
    MakeProject();
    if (!fs::exists(ProjectFolder() / "HTML" / "page0.jpg")) CompileProject();
    std::vector<std::string> made;
    for (int i = 0; i < kPages; ++i) {
      const std::string name = "page" + std::to_string(i);
      const std::string ppm = (ProjectFolder().parent_path() / (name + ".ppm")).string();
      if (bench::RunProgram({"djpeg", "-pnm", "-outfile", ppm, (ProjectFolder() / "HTML" / (name + ".jpg")).string()}) != 0)
        return std::vector<std::string>();
      made.push_back(ppm);
    }
    return made;
  }();
  return pictures;
}

void Cjpeg(benchmark::State& state) {
  const std::vector<std::string> pictures = PagePictures();
  if (pictures.empty()) {
    state.SkipWithError("djpeg did not run (scripts/install-deps installs it)");
    return;
  }
  for (auto _ : state) {
    for (const std::string& picture : pictures) {
      if (bench::RunProgram({"cjpeg", "-quality", "90", "-outfile", "/dev/null", picture}) != 0) {
        state.SkipWithError("cjpeg did not run (scripts/install-deps installs it)");
        return;
      }
    }
  }
}

BENCHMARK(ProjectCompile)->Name("ProjectCompile/20pages/480x360")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Cjpeg)->Name("ProjectCompile/20pages/480x360/cjpeg")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

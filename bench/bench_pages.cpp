// Compiling a published page: the stage's picture as a JPEG, an image map of 20 links with their bar, and
// 2 sounds as WAVE files, with the removal of the previous compilation's files first, as every
// recompilation does. Beside it, cjpeg on the same pixels at the same quality, and our JPEG encoding of
// them alone in memory: the encoder's share of the page, the rest being the compiler's.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "BenchSupport.h"
#include "core/Stream.h"
#include "core/Text1252.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/formats/ImageScribe.h"
#include "graphics/formats/JPEGFile.h"
#include "web/Seams.h"
#include "web/html/ImageMap.h"
#include "web/html/LinkHREF.h"
#include "web/html/PageCompiler.h"

namespace {

// One second of a tone, 16-bit mono at 22050 Hz, as a WAVE file image.
SmartRef<Sound> MakeTone(double frequency) {
  constexpr std::uint32_t kRate = 22050;
  SmartRef<MemoryStream> wave = new MemoryStream();
  const auto put32 = [&](std::uint32_t v) { wave->WriteLong(static_cast<std::int32_t>(v)); };
  const auto put16 = [&](std::uint16_t v) { wave->WriteShort(static_cast<std::int16_t>(v)); };
  wave->Write("RIFF", 4);
  put32(36 + kRate * 2);
  wave->Write("WAVEfmt ", 8);
  put32(16), put16(1), put16(1), put32(kRate), put32(kRate * 2), put16(2), put16(16);
  wave->Write("data", 4);
  put32(kRate * 2);
  for (std::uint32_t i = 0; i < kRate; ++i)
    put16(static_cast<std::uint16_t>(static_cast<std::int16_t>(12000 * std::sin(i * frequency * 6.2831853 / kRate))));
  return new Sound(*wave, Sound::wave, false);
}

struct Page {
  SmartRef<BitMap> picture;
  SmartRef<htmlWrapper> root;
  SmartRef<FileReference> folder;
};

Page& PageOf(int width) {
  static std::map<int, Page> pages;
  auto found = pages.find(width);
  if (found != pages.end()) return found->second;
  bench::UseProgramFolder();
  InstallWebSeams();
  Page page;
  page.picture = NewBitMapForDisplay(bench::PagePixels(width), "Conversion");
  SmartRef<ImageMap> map = new ImageMap(SmartRef<Image>(~page.picture));
  const int height = bench::PageHeight(width);
  for (int i = 0; i < 20; ++i) {
    const Rect area{(i % 5) * width / 5, (i / 5) * height / 5, (i % 5 + 1) * width / 5, (i / 5 + 1) * height / 5};
    if (i % 2 == 0) {
      map->AddLink(area, new LinkHREF(0, String((std::string("Page numéro "_cp) + std::to_string(i)).c_str())));
    } else {
      map->AddLink(area, new LinkHREF(String(("http://www.exemple.org/jeux/" + std::to_string(i) + "/").c_str())));
    }
  }
  map->AddLink({0, height * 4 / 5, width / 2, height}, new SoundLink(MakeTone(440)));
  map->AddLink({width / 2, height * 4 / 5, width, height}, new SoundLink(MakeTone(660)));
  List children(&htmlElement::classInfo);
  children.Append(~map);
  page.root = new htmlWrapper(children);
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "quillory-bench-pages" / std::to_string(width);
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  std::string path = folder.string();
  std::replace(path.begin(), path.end(), '/', '\\');
  page.folder = new FileReference(path.c_str());
  return pages.emplace(width, page).first->second;
}

void CompilePage(Page& page) {
  const String name("Ma page");
  RemoveStaleHTMLFiles(name, page.folder);
  CompileHTMLPage(*page.root, name, page.folder, List(&FileReference::classInfo));
}

void PageCompile(benchmark::State& state, int width) {
  Page& page = PageOf(width);
  CompilePage(page);
  for (auto _ : state) CompilePage(page);
}

void JpegOfThePage(benchmark::State& state, int width) {
  Page& page = PageOf(width);
  for (auto _ : state) {
    SmartRef<MemoryStream> stream = new MemoryStream(1 << 18);
    WriteJPEG(*page.picture, *stream);
    benchmark::DoNotOptimize(stream->GetLength());
  }
}

void Cjpeg(benchmark::State& state, int width) {
  bench::TimePeer(state, {"cjpeg", "-quality", "90", "-outfile", "/dev/null", bench::PagePpm(width)});
}

[[maybe_unused]] const bool gRegistered = [] {
  bench::RegisterPairs("PageCompile", "cjpeg", PageCompile, Cjpeg);
  for (int width : bench::kPageWidths) {
    benchmark::RegisterBenchmark(("PageCompile/width:" + std::to_string(width) + "/jpeg-alone").c_str(), JpegOfThePage,
                                 width)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  return true;
}();

}  // namespace

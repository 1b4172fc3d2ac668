// What the benchmark programs share: the page sizes they run at, a page's pixels, and running a peer program.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "graphics/formats/PixelBuffer.h"
#include "platform/gdi/WindowSystemCalls.h"
#include "platform/kernel/Files.h"
#include "platform/screen/Backend.h"
#include "platform/user/Screen.h"
#include "support/RunProgram.h"

namespace bench {

using ::RunProgram;

// The page sizes, smallest stage to twice the largest, so that growth shows: width, and height = 3/4.
inline constexpr int kPageWidths[] = {380, 760, 1520};
inline int PageHeight(int width) { return width * 3 / 4; }

// Every benchmark runs once per page size, the width as its argument.
inline void PageSizes(benchmark::internal::Benchmark* b) {
  b->ArgName("width");
  for (int width : kPageWidths) b->Arg(width);
}

// A page's pixels: a sky gradient, flat panels and a noisy photograph, so that the coder meets every kind of block.
inline PixelBuffer MakePagePixels(int width) {
  const int height = bench::PageHeight(width);
  PixelBuffer page(width, height, 24);
  std::mt19937 random(760570);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = page.Row(y);
    for (int x = 0; x < width; ++x, row += 3) {
      if (x > width * 21 / 38 && y > height * 20 / 57 && y < height * 50 / 57) {
        const int v = (x * y / 7) & 255;
        row[0] = static_cast<std::uint8_t>(v ^ (random() & 31));
        row[1] = static_cast<std::uint8_t>((v + y) ^ (random() & 31));
        row[2] = static_cast<std::uint8_t>((x + random() % 17) & 255);
      } else if (x > width / 19 && x < width / 2 && y > height * 24 / 57 && y < height * 48 / 57) {
        row[0] = 40, row[1] = 180, row[2] = 240;
      } else {
        row[0] = static_cast<std::uint8_t>(255 - y * 200 / height), row[1] = 200,
        row[2] = static_cast<std::uint8_t>(y * 255 / height);
      }
    }
  }
  return page;
}

inline const PixelBuffer& PagePixels(int width) {
  static std::map<int, PixelBuffer> pages;
  auto found = pages.find(width);
  if (found == pages.end()) found = pages.emplace(width, MakePagePixels(width)).first;
  return found->second;
}

// The page's pixels as a binary PPM file, written once per size and run, for the peer programs.
inline std::string PagePpm(int width) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quillory-bench-pictures";
  const std::string path = (folder / ("page-" + std::to_string(width) + ".ppm")).string();
  static std::map<int, bool> made;
  if (!made[width]) {
    made[width] = true;
    std::filesystem::create_directories(folder);
    const PixelBuffer& page = PagePixels(width);
    std::ofstream ppm(path, std::ios::binary);
    ppm << "P6\n" << page.width << ' ' << page.height << "\n255\n";
    for (int y = 0; y < page.height; ++y) {
      const std::uint8_t* row = page.Row(y);
      for (int x = 0; x < page.width; ++x) ppm << row[3 * x + 2] << row[3 * x + 1] << row[3 * x];
    }
  }
  return path;
}

// The headless 32-bit screen, and the repository's data/ as the program's folder, so that the palette file
// and the numbered data files are found as a started program finds them. Made once per run.
inline void UseProgramFolder() {
  static const bool done = [] {
    platform::SetBackend(nullptr);
    platform::SetScreenSize(800, 600);
    platform::SetScreenFormat(32, 800, 600);
    std::string folder = QUILLORY_SOURCE_DIR "/data";
    std::replace(folder.begin(), folder.end(), '/', '\\');
    return SetCurrentDirectoryA(folder.c_str()) != 0;
  }();
  if (!done) std::abort();
}

// A peer's figure: the whole run of the program, in real time (the waiting parent spends almost no CPU).
inline void TimePeer(benchmark::State& state, const std::vector<std::string>& command) {
  for (auto _ : state) {
    if (RunProgram(command) != 0) {
      state.SkipWithError((command[0] + " did not run (scripts/install-deps installs it)").c_str());
      break;
    }
  }
}

// Registers, for every page size, our figure for a job and then the peer's figure for the same job, so
// that each pair is measured side by side in one run: "<job>/width:760" and "<job>/width:760/<peer>".
template <class Ours, class Theirs>
void RegisterPairs(const std::string& job, const std::string& peer, Ours ours, Theirs theirs) {
  for (int width : kPageWidths) {
    const std::string name = job + "/width:" + std::to_string(width);
    benchmark::RegisterBenchmark(name.c_str(), ours, width)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark((name + "/" + peer).c_str(), theirs, width)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
}

}  // namespace bench

// What the benchmark programs share: the page sizes they run at, and running a peer program.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

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

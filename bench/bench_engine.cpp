// Playing a page: a full frame at each stage size with 1, 10 and 50 sprites moved, scaled or turned, from
// cold and from warm image caches; a replayed step against a full draw; a page's picture; the resident
// memory of a page looping for 10,000 frames; and the intervals between frames a player shows at each
// page rate on the wall clock.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "engine/Seams.h"
#include "engine/geometry/CXform.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/page/SolidPicture.h"
#include "engine/player/CPlayer.h"
#include "engine/sprites/CSprite.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/bitmaps/ColorTable.h"
#include "platform/user/Message.h"
#include "ui/views/View.h"
#include "ui/views/WindowNotifier.h"

namespace {

constexpr std::int16_t kFrames = 12;
constexpr int kStages[][2] = {{350, 350}, {480, 360}, {600, 450}, {760, 570}};
enum class Motion { moved, scaled, turned };
const char* const kMotionNames[] = {"moved", "scaled", "rotated"};

void Prepare() {
  static const bool done = [] {
    bench::UseProgramFolder();
    InstallEngineSeams();
    return true;
  }();
  (void)done;
}

CSprite* AddSprite(CMovieGroup& group, CMovie& movie) {
  const SmartRef<CSprite> sprite = new CSprite(0, SmartRef<CMovie>(&movie), movie.GetBounds());
  sprite->SetFrameCount(kFrames);
  sprite->SetName(new String(std::to_string(group.GetSpriteCount()).c_str()));
  return group.GetSprite(group.MergeSprite(~sprite));
}

struct Page {
  SmartRef<CShow> show;
  std::vector<SmartRef<CMovie>> movies;  // the sprites' movies, whose caches a cold frame empties
  Rect bounds;
  SmartRef<OffScreen> screen;
};

// A page of the size with a painted background and that many sprites of 48 x 36 crossing it, each frame
// moved, or also grown, or also turned by 15 degrees more than the frame before.
std::unique_ptr<Page> MakePage(int width, int height, int count, Motion motion, int spriteWidth = 48,
                               bool painted = true) {
  Prepare();
  auto page = std::make_unique<Page>();
  page->bounds = {0, 0, width, height};
  const SmartRef<CMovieGroup> group = new CMovieGroup(page->bounds);
  group->InsertFrames(1, kFrames - 1, true, false);
  page->show = new CShow(~group, false);
  if (painted) AddSprite(*group, *engine_test::SolidPicture(width, height, 10))->ToggleBackgroundFlag(true);
  const int spriteHeight = spriteWidth * 3 / 4;
  for (int s = 0; s < count; ++s) {
    const SmartRef<CMovie> movie = engine_test::SolidPicture(spriteWidth, spriteHeight, 2 + s % 8, true);
    page->movies.push_back(movie);
    CSprite* sprite = AddSprite(*group, *movie);
    for (std::int16_t f = 0; f < kFrames; ++f) {
      const int x = (s * 37 + f * 9) % std::max(width - 2 * spriteWidth, 1);
      const int y = (s * 23 + f * 5) % std::max(height - 2 * spriteHeight, 1);
      const int grow = motion == Motion::moved ? 0 : 2 + 2 * f;
      const Rect target{x, y, x + spriteWidth + grow, y + spriteHeight + grow * 3 / 4};
      sprite->FitFrameToRect(f, &target, nullptr);
      if (motion != Motion::turned) continue;
      const SmartRef<CXform> xform = sprite->GetXformAtFrame(f);
      if (!xform) continue;
      const double a = (15 + 15 * f) * 0.01745329252;
      const double w = double(target.Width()) / spriteWidth, h = double(target.Height()) / spriteHeight;
      xform->Decompose({w * std::cos(a), w * std::sin(a), -h * std::sin(a), h * std::cos(a)});
    }
  }
  page->screen = new OffScreen(width, height, ColorTable::GetStandard(32), Color(0), true);
  return page;
}

void FullDraw(Page& page, std::int16_t frame) {
  DisplayPort port(~page.screen, page.bounds);
  const List none(&CSprite::classInfo);
  page.show->DrawFrame(port, frame, page.bounds, 0, &none, Rect::emptyRect);
}

void Purge(Page& page) {
  for (const SmartRef<CMovie>& movie : page.movies) movie->PurgeCaches();
  page.show->GetMovieGroup()->PurgeCaches();
}

// A full frame, the frames taken in turn; cold empties every image cache before each frame.
void BM_FullFrame(benchmark::State& state, int width, int height, int count, Motion motion, bool cold,
                  bool painted) {
  const std::unique_ptr<Page> page = MakePage(width, height, count, motion, 48, painted);
  for (std::int16_t f = 0; f < kFrames; ++f) FullDraw(*page, f);
  std::int16_t frame = 0;
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      Purge(*page);
      state.ResumeTiming();
    }
    FullDraw(*page, frame);
    frame = static_cast<std::int16_t>((frame + 1) % kFrames);
  }
}

// One small sprite moving over a 760 x 570 page, painted or of the page colour alone: each step replayed
// from its record, against the same step drawn in full.
void BM_Step(benchmark::State& state, bool painted, bool replayed) {
  const std::unique_ptr<Page> page = MakePage(760, 570, 1, Motion::moved, 24, painted);
  DisplayPort port(~page->screen, page->bounds);
  for (int lap = 0; lap < 2; ++lap)
    for (std::int16_t f = 0; f < kFrames; ++f) page->show->PlayFrame(port, f, page->bounds, lap == 0);
  std::int16_t frame = 0;
  for (auto _ : state) {
    if (replayed) {
      page->show->PlayFrame(port, frame, page->bounds, false);
    } else {
      FullDraw(*page, frame);
    }
    frame = static_cast<std::int16_t>((frame + 1) % kFrames);
  }
}

// The page's picture of a 760 x 570 page of 10 moved sprites, against a full frame of it in the same run.
void BM_MakeImage(benchmark::State& state) {
  const std::unique_ptr<Page> page = MakePage(760, 570, 10, Motion::moved);
  FullDraw(*page, 0);
  for (auto _ : state) benchmark::DoNotOptimize(page->show->GetMovieGroup()->MakeImage());
}

void BM_MakeImageFullFrame(benchmark::State& state) {
  const std::unique_ptr<Page> page = MakePage(760, 570, 10, Motion::moved);
  FullDraw(*page, 0);
  for (auto _ : state) FullDraw(*page, 0);
}

// The process's resident size in kilobytes.
double ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word)
    if (word == "VmRSS:") {
      double kb = 0;
      status >> kb;
      return kb;
    }
  return 0;
}

// A 760 x 570 page of 10 turned sprites played as the player plays it, looping, for 10,000 frames: the
// resident size at frame 1,000 and at 10,000.
void BM_LoopingMemory(benchmark::State& state) {
  double at1000 = 0, at10000 = 0;
  for (auto _ : state) {
    const std::unique_ptr<Page> page = MakePage(760, 570, 10, Motion::turned);
    DisplayPort port(~page->screen, page->bounds);
    for (int n = 1; n <= 10000; ++n) {
      const auto frame = static_cast<std::int16_t>(n % kFrames);
      page->show->PlayFrame(port, frame, page->bounds, n <= kFrames);
      if (n == 1000) at1000 = ResidentKilobytes();
      if (n == 10000) at10000 = ResidentKilobytes();
    }
  }
  state.counters["rss_kb_at_1000"] = at1000;
  state.counters["rss_kb_at_10000"] = at10000;
  state.counters["growth_percent"] = at1000 > 0 ? 100.0 * (at10000 - at1000) / at1000 : 0;
}

// The root view of a window that draws into the page's off-screen device.
class PlayView : public View {
 public:
  PlayView(DisplayDevice* device, WindowNotifier* notifier) : View(device, notifier, true, false, false) {}
};

// A 480 x 360 painted page of 10 moved sprites played by a player at the rate, through the message loop and
// its timers on the wall clock: the intervals between the frames shown, from frame 1 on (frame 0 waits for
// the playback's first tick). The iteration time is the mean interval; the target is the due time plus
// the 10 ms timer minimum.
void BM_FrameInterval(benchmark::State& state, std::int16_t rate, int intervals) {
  using Clock = std::chrono::steady_clock;
  const std::unique_ptr<Page> page = MakePage(480, 360, 10, Motion::moved);
  page->show->SetFrameRate(rate);
  const SmartRef<WindowNotifier> notifier = new WindowNotifier;
  const SmartRef<PlayView> root = new PlayView(~page->screen, ~notifier);
  root->Show(true);
  root->SetParentActive(true);
  std::vector<double> gaps;
  for (auto _ : state) {
    const SmartRef<CPlayer> player = new CPlayer(page->show, *root, false);
    player->Play(true);
    std::int16_t shown = player->GetCurrentFrame();
    Clock::time_point last{};
    gaps.clear();
    MSG msg;
    while (static_cast<int>(gaps.size()) < intervals && player->IsPlaying() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
      DispatchMessageA(&msg);
      if (player->GetCurrentFrame() == shown) continue;
      shown = player->GetCurrentFrame();
      const Clock::time_point now = Clock::now();
      if (last != Clock::time_point{}) gaps.push_back(std::chrono::duration<double, std::milli>(now - last).count());
      last = now;
    }
    player->Stop();
    if (static_cast<int>(gaps.size()) < intervals) {
      state.SkipWithError("the playback stopped before its frames were counted");
      return;
    }
    double sum = 0;
    for (double gap : gaps) sum += gap;
    state.SetIterationTime(sum / static_cast<double>(gaps.size()) / 1000.0);
  }
  std::sort(gaps.begin(), gaps.end());
  double sum = 0;
  for (double gap : gaps) sum += gap;
  const double due = 1000.0 / rate;
  state.counters["mean_ms"] = sum / static_cast<double>(gaps.size());
  state.counters["p95_ms"] = gaps[std::min(gaps.size() - 1, gaps.size() * 95 / 100)];
  state.counters["max_ms"] = gaps.back();
  state.counters["due_ms"] = due;
  state.counters["target_ms"] = due + 10;
}

// The nearest-rank percentile of the repetitions.
template <int percent>
double Percentile(const std::vector<double>& values) {
  std::vector<double> sorted = values;
  std::sort(sorted.begin(), sorted.end());
  const auto rank = static_cast<std::size_t>(std::ceil(percent / 100.0 * static_cast<double>(sorted.size())));
  return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

// A full frame's figures: p50 and p95 over the repetitions.
void RegisterFullFrame(const std::string& name, int width, int height, int count, Motion motion, bool cold,
                       bool painted) {
  benchmark::RegisterBenchmark(name.c_str(), BM_FullFrame, width, height, count, motion, cold, painted)
      ->Unit(benchmark::kMillisecond)
      ->Repetitions(5)
      ->ComputeStatistics("p50", Percentile<50>)
      ->ComputeStatistics("p95", Percentile<95>)
      ->ReportAggregatesOnly(true);
}

const bool registered = [] {
  for (const auto& stage : kStages)
    for (int count : {1, 10, 50})
      for (Motion motion : {Motion::moved, Motion::scaled, Motion::turned})
        for (bool cold : {true, false}) {
          const std::string name = std::string("FullFrame/") + std::to_string(stage[0]) + "x" +
                                   std::to_string(stage[1]) + "/sprites:" + std::to_string(count) + "/" +
                                   kMotionNames[static_cast<int>(motion)] + (cold ? "/cold" : "/warm");
          RegisterFullFrame(name, stage[0], stage[1], count, motion, cold, true);
        }
  // The turned sprites alone, on the page colour, where the painted background does not hide what their
  // cached images save.
  for (int count : {1, 10, 50})
    for (bool cold : {true, false})
      RegisterFullFrame("FullFrame/760x570/sprites:" + std::to_string(count) + "/rotated" + (cold ? "/cold" : "/warm") +
                            "/page_colour",
                        760, 570, count, Motion::turned, cold, false);
  for (bool painted : {true, false}) {
    const std::string name = std::string("Step/760x570/") + (painted ? "painted" : "page_colour");
    benchmark::RegisterBenchmark((name + "/replayed").c_str(), BM_Step, painted, true)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((name + "/full").c_str(), BM_Step, painted, false)->Unit(benchmark::kMicrosecond);
  }
  benchmark::RegisterBenchmark("MakeImage/760x570", BM_MakeImage)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("MakeImage/760x570/full_frame", BM_MakeImageFullFrame)->Unit(benchmark::kMillisecond);
  // About two seconds of frames at each rate, five at rate 1.
  for (const std::int16_t rate : {1, 7, 15, 30, 60})
    benchmark::RegisterBenchmark(("FrameInterval/480x360/rate:" + std::to_string(rate)).c_str(), BM_FrameInterval, rate,
                                 std::max(5, 2 * rate))
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1);
  benchmark::RegisterBenchmark("LoopingMemory/760x570/frames:10000", BM_LoopingMemory)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(1);
  return true;
}();

}  // namespace

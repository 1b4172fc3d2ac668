// One step of a move drag on the stage, as the child drags a sprite over a busy page: the pointer moves
// by a few pixels, the part of the page the sprite uncovers is drawn again without it, the sprite is
// drawn from its captured image at its new place and the other selected sprites' outlines follow. The
// page holds 50 sprites (the case is the 760 x 570 page); the dragged sprite and two others are
// selected. No other program does this job, so there is no peer figure. Goal: under 8 ms a step.
#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "BusyPage.h"
#include "ProgramBench.h"
#include "editor/Seams.h"
#include "editor/stage/CHAPane.h"
#include "editor/stage/CMoveTask.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/page/SolidPicture.h"
#include "ui/views/Window.h"

namespace {

void BM_MoveDragStep(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0)), height = bench::PageHeight(width);
  bench::UseProgramFolder();
  InstallEditorSeams();
  bool ran = false;
  bench::InProgram([&] {
    ran = true;
    const String title("Page");
    SmartRef<Window> stage(new Window(&title, kFrameNormal, false, false, width, height));
    stage->Open(true);
    const SmartRef<CShow> page = bench::BusyPage(width, height);
    Rect frame;
    page->MakeEditor(&frame, ~stage, stage->GetBounds());
    const List& views = stage->GetSubviews();
    const SmartRef<CHAPane> pane = CastSmart<CHAPane>(views.At(views.NumItems()));
    if (!pane) {
      state.SkipWithError("the page's editor is no stage pane");
      return;
    }
    stage->SetTarget(~pane);
    // A sprite in the middle of the page, with two neighbours selected too.
    constexpr std::int16_t kPressed = 25;
    CMovieGroup* group = pane->GetGroup();
    pane->SelectSpriteAt(kPressed);
    pane->SetSpriteSelected(group->GetSprite(kPressed + 1), true);
    pane->SetSpriteSelected(group->GetSprite(kPressed - 1), true);
    Rect r;
    group->GetSprite(kPressed)->GetFrameGeometry(0, &r, nullptr);
    const Point grab = r.Center();
    group->GetSprite(kPressed)->FitFrameToRect(0, &r, &grab);
    const SmartRef<CMoveTask> task = new CMoveTask(~pane, ~pane->GetBufferOrDevice(), kPressed, false);
    task->SetSprites(pane->GetSelectionList());
    task->Track(~stage, grab.x, grab.y, 0, true);
    bench::Pump();
    int step = 0;
    for (auto _ : state) {
      // Back and forth along a short diagonal, as a hand drags.
      const int offset = (step++ % 8) * 3;
      task->Track(~stage, grab.x + offset, grab.y + offset / 2, 0, true);
      bench::Pump();
    }
    task->Track(~stage, grab.x, grab.y, 0, false);
    stage->Close();
  });
  if (!ran) state.SkipWithError("the program did not start");
}
BENCHMARK(BM_MoveDragStep)->Apply(bench::PageSizes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

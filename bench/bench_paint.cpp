// Painting in the pixel editor on the largest page (760 x 570): one event of a brush stroke with the
// largest brush, the pointer having moved 100 pixels since the last event (the queued positions stamped
// into the picture and the stamped part shown on the screen), and one press of the fill bucket on a
// white picture (the whole page filled with a top-to-bottom gradient). No other program does these jobs,
// so there are no peer figures. Goals: the brush event under 4 ms, the fill under 30 ms.
#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "core/CoreState.h"
#include "core/Resources.h"
#include "editor/CDropperTool.h"
#include "editor/Seams.h"
#include "editor/pixels/CBucketTask.h"
#include "editor/pixels/CPixPane.h"
#include "editor/pixels/PaintTools.h"
#include "editor/pixels/PenTasks.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "ui/shell/WinMain.h"
#include "ui/views/View.h"
#include "ui/views/WindowNotifier.h"

namespace {

constexpr int kWidth = 760;
constexpr int kHeight = 570;

// A window's root view over an off-screen surface standing for the screen.
class ScreenView : public View {
 public:
  ScreenView(DisplayDevice* device, WindowNotifier* notifier) : View(device, notifier, true, true, false) {}
};

struct PixelEditor {
  PixelEditor()
      : screen(new OffScreen(kWidth, kHeight, 32, standardColors[0], true)),
        notifier(new WindowNotifier),
        root(new ScreenView(~screen, ~notifier)) {
    bench::UseProgramFolder();
    InstallEditorSeams();
    program.instance = reinterpret_cast<HINSTANCE>(0x400000);
    Resources::SetOSApp(&program);
    InitPaintColors();
    CPixPane::zoomStepDelay = 0;
    pane = new CPixPane(~root, {0, 0, kWidth, kHeight}, {0, 0, kWidth, kHeight}, nullptr);
    root->AddSubview(~pane);
  }
  ~PixelEditor() {
    root->RemoveSubview(~pane);
    gPixPane = nullptr;
    TheCoreState().osApp = nullptr;
  }

  MainWindowRecord program;
  SmartRef<OffScreen> screen;
  SmartRef<WindowNotifier> notifier;
  SmartRef<View> root;
  SmartRef<CPixPane> pane;
};

void BM_BrushEvent(benchmark::State& state) {
  PixelEditor editor;
  SmartRef<CDropperTool> paintState(new CDropperTool);
  SmartRef<CBrushTool> brush(new CBrushTool(~paintState));
  brush->SetChoice(0, 1);  // the 16 x 16 square, the largest shape
  SmartRef<CBrushTask> task(new CBrushTask(~editor.pane, editor.pane->GetPicture(), ~brush));
  task->Prepare();
  Point anchor(100, 200);
  task->Begin(anchor, 0);
  Point last = anchor;
  int direction = 1;
  for (auto _ : state) {
    Point point(last.x + 100 * direction, last.y + 37 * direction);
    task->Continue(point, last, anchor, 0);
    last = Point(last.x + 100 * direction, last.y + 37 * direction);
    if (last.x > 600 || last.x < 150) direction = -direction;
  }
  state.counters["points per event"] = 100;
  if (editor.pane->GetPicture()->GetBitMap()->GetPixelValue(105, 205) == 255) state.SkipWithError("nothing painted");
  brush->ReleaseStroke();
}
BENCHMARK(BM_BrushEvent)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BucketFillWholePage(benchmark::State& state) {
  PixelEditor editor;
  CBucketTool::gradientKind = 2;
  for (auto _ : state) {
    state.PauseTiming();
    {
      DisplayPort port(editor.pane->GetPicture(), {0, 0, kWidth, kHeight});
      port.DrawRect({0, 0, kWidth, kHeight}, standardColors[0], standardColors[0]);
    }
    SmartRef<CBucketTask> task(new CBucketTask(0, ~editor.pane, editor.pane->GetPicture()));
    state.ResumeTiming();
    Point seed(380, 285);
    task->Begin(seed, 0);
  }
  // Top to bottom: the first and last rows differ, and neither is white any more.
  const SmartRef<BitMap> picture = editor.pane->GetPicture()->GetBitMap();
  if (picture->GetPixelValue(0, 0) == picture->GetPixelValue(0, kHeight - 1)) state.SkipWithError("no gradient");
}
BENCHMARK(BM_BucketFillWholePage)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

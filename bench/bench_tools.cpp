// Choosing a paint tool in the tools window, as the child does between two strokes: the click on the
// tool's button, the tool made current, the option palette of the new tool made again (its cells drawn
// by the tool, beside the colour indicator) and laid out, and the window repainted on the screen. The
// window does not depend on the page size, so this job runs once, not at the three page sizes; no other
// program does this job, so there is no peer figure. Goal: under 5 ms.
#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "ProgramBench.h"
#include "core/String.h"
#include "editor/CBorderSize.h"
#include "editor/CDropperTool.h"
#include "editor/CToolsDir.h"
#include "editor/PaintIndicator.h"
#include "editor/Seams.h"
#include "graphics/DisplayPort.h"
#include "graphics/Paint.h"

namespace {

long samplesDrawn = 0;

// A paint tool with 18 sizes, each drawn as a disc of that size in the foreground colour.
class SizedTool : public CTool {
 public:
  explicit SizedTool(std::int32_t id) : CTool(id, nullptr, false, nullptr) {}
  void SetChoice(std::int16_t, std::int16_t value) override { size = value; }
  std::int16_t GetChoice(std::int16_t) override { return size; }
  std::int16_t CountChoices(std::int16_t) override { return 18; }
  void DrawSample(DisplayPort& port, const Rect& rect) override {
    ++samplesDrawn;
    ColorPaint paint(gPaintForeground);
    const Point c = rect.Center();
    port.DrawEllipse(Rect(c.x - size / 2, c.y - size / 2, c.x + (size + 1) / 2, c.y + (size + 1) / 2), paint, paint);
  }

 private:
  std::int16_t size = 1;
};

// The paint tools (buttons 1 to 6 of the editor's look 202) over a row of the option palette and the
// colour indicator; choosing a tool makes the option palette again for it.
class PaintTools : public CToolsDir {
 public:
  PaintTools() : CToolsDir(nullptr) {
    for (std::int32_t id : {102, 109, 103, 106, 113, 111}) tools.push_back(new SizedTool(id));
    column = new RowColumnView(this, true, false, 2);
    AddSubview(~column);
    SmartRef<CToolPalette> palette(new PaintToolPalette(~column, KidResources::Describe(202), 1, 1));
    column->AddSubview(~palette);
    row = new RowColumnView(~column, false, false, 4);
    column->AddSubview(~row);
    indicator = new PaintIndicator(~row);
    row->AddSubview(~indicator);
    SetLayout(~column);
    SetPaintPalette(~palette);
    palette->Show(false);
    Layout(kPictureEditing);
  }
  std::int16_t IndexOfTool(std::int32_t id) override {
    for (std::size_t i = 0; i < tools.size(); ++i)
      if (tools[i]->GetId() == id) return static_cast<std::int16_t>(i + 1);
    return 0;
  }
  SmartRef<Tool> GetToolAt(std::int16_t index) override {
    if (index < 1 || index > static_cast<std::int16_t>(tools.size())) return nullptr;
    return SmartRef<Tool>(~tools[static_cast<std::size_t>(index - 1)]);
  }
  void ItemClicked(std::int32_t index) override {
    CToolsDir::ItemClicked(index);
    if (options) row->RemoveSubview(~options);
    options = new CProxyPalette(~row, KidResources::Describe(305), 1, ~GetCurrentTool(), 0);
    options->SelectCurrentChoice();
    row->AddSubview(~options);
    row->Arrange(0, 0);
    const Point size = column->Arrange(0, 0);
    SetSize(size.x, size.y);
    Invalidate(false);
    Refresh();
  }

  std::vector<SmartRef<CTool>> tools;
  SmartRef<RowColumnView> column;
  SmartRef<RowColumnView> row;
  SmartRef<PaintIndicator> indicator;
  SmartRef<CProxyPalette> options;
};

void BM_ChoosePaintTool(benchmark::State& state) {
  bench::UseProgramFolder();
  InstallEditorSeams();
  bool ran = false;
  bench::InProgram([&] {
    ran = true;
    SmartRef<PaintTools> window(new PaintTools);
    window->SetGlobalBounds({500, 100, 700, 300});
    window->Open(true);
    window->Refresh();
    CToolPalette* palette = window->GetPaintPalette();
    std::int16_t next = 2;
    samplesDrawn = 0;
    for (auto _ : state) {
      const Rect button = palette->GetButtonRect(next);
      palette->MouseDown(button.left + 5, button.top + 5, 0, 1, ~window);
      next = next == 2 ? 3 : 2;
    }
    if (window->GetCurrentToolId() == 102) state.SkipWithError("no tool was chosen");
    // Each choice draws the new tool's option cells on the screen.
    state.counters["cells drawn per choice"] = static_cast<double>(samplesDrawn) / static_cast<double>(state.iterations());
    window->SetPane(nullptr);
    window->Close();
    window = nullptr;
    gPaintState = nullptr;
    gBorderSizeTool = nullptr;
  });
  if (!ran) state.SkipWithError("the program did not start");
  // The palette's pictures go with the window system they were made on.
  for (int n : {30, 31}) KidResources::GetImage(n)->Purge();
}
BENCHMARK(BM_ChoosePaintTool)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

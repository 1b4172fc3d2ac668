// A key typed into the text pane, as the child types a page's text: the character goes through the
// window system into the edit field, the page's text follows it, the field re-lays its lines and the
// pane grows with them, and the window is repainted on the screen. The text is 2,000 characters long
// (a long page text); keys alternate between a letter and a backspace so that its length stays. The
// pane does not depend on the page size, so this job runs once; no other program does this job, so
// there is no peer figure. Goal: under 5 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchSupport.h"
#include "ProgramBench.h"
#include "core/String.h"
#include "editor/CDropperTool.h"
#include "editor/Seams.h"
#include "editor/text/CTextView.h"
#include "engine/Seams.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "ui/views/Window.h"

namespace {

constexpr std::size_t kTextLength = 2000;

std::string LongText() {
  const std::string words = "Il \xE9tait une fois une page de texte que l'enfant \xE9" "crivait mot \xE0 mot. ";
  std::string text;
  while (text.size() < kTextLength) text += words;
  text.resize(kTextLength);
  return text;
}

void BM_KeyIntoTextPane(benchmark::State& state) {
  bench::UseProgramFolder();
  InstallEditorSeams();
  bool ran = false;
  bench::InProgram([&] {
    ran = true;
    gPaintState = new CDropperTool;
    const String title("Page");
    SmartRef<Window> stage(new Window(&title, kFrameNormal, false, false, 760, 570));
    stage->SetGlobalBounds({20, 20, 780, 590});
    stage->Open(true);
    const std::string characters = LongText();
    const SmartRef<Smart> style(new TextStyle(2, 18, kAlignLeft, standardColors[1], standardColors[kTransparentColor]));
    SmartRef<StyledText> text(new StyledText(characters.data(), static_cast<std::int32_t>(characters.size()), style));
    SmartRef<View> pane = GetFrameEditHooks().makeTextPane(~stage, {20, 60, 600, 200}, ~text);
    stage->SetTarget(~pane);
    // The whole text starts selected: the caret goes to its end first.
    platform::InjectKey(VK_END, true, true);
    platform::InjectKey(VK_END, false, true);
    bench::Pump();
    stage->Refresh();
    bool letter = true;
    for (auto _ : state) {
      if (letter) {
        platform::InjectText("a");
      } else {
        platform::InjectKey(VK_BACK, true);
        platform::InjectKey(VK_BACK, false);
      }
      letter = !letter;
      bench::Pump();
      stage->Refresh();
    }
    String typed;
    dynamic_cast<CTextView&>(*pane).GetTextView()->GetText(&typed);
    if (typed.Length() < static_cast<std::int32_t>(kTextLength) || typed.Length() > static_cast<std::int32_t>(kTextLength) + 1)
      state.SkipWithError("the keys did not reach the text");
    state.counters["pane height"] = pane->GetBounds().Height();
    stage->RemoveSubview(~pane);
    pane = nullptr;
    stage->Close();
    gPaintState = nullptr;
  });
  if (!ran) state.SkipWithError("the program did not start");
}
BENCHMARK(BM_KeyIntoTextPane)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

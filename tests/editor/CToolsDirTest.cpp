// The tools window over a stand-in stage pane: the current tool and its hint, the palettes that follow
// the pane's edit state, and the application's tool through the engine's hooks.
#include <gtest/gtest.h>

#include <vector>

#include "EditorTestSupport.h"
#include "FakeStagePane.h"
#include "editor/CBorderSize.h"
#include "editor/CDropperTool.h"
#include "editor/CToolsDir.h"
#include "engine/EngineAppServices.h"
#include "engine/EngineOptions.h"
#include "engine/Seams.h"
#include "editor/pixels/CPixPane.h"
#include "platform/kernel/System.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"
#include "ui/ViewTestSupport.h"

namespace editor_test {
namespace {

// A tools window of six tools: the border-size tool, the toggle tool 15 and the text style 4 (buttons 1
// to 3 of the page tools) and the brush 102, the eraser 109 and the bucket 103 (buttons 4 to 6 of the
// paint tools). Sound 2 is the palette's click, and
// each tool's hint is sound 10 + its button.
class TestToolsDir : public CToolsDir {
 public:
  TestToolsDir() : CToolsDir(KidResources::GetSound(2)) {
    const std::int32_t ids[] = {15, 4, 102, 109, 103};
    tools.push_back(gBorderSizeTool);
    for (std::size_t i = 0; i < 5; ++i)
      tools.push_back(new CTool(ids[i], nullptr, false, KidResources::GetSound(static_cast<int>(12 + i))));
    SmartRef<RowColumnView> column(new RowColumnView(this, true, false, 2));
    AddSubview(~column);
    SmartRef<CToolPalette> pageTools(new CToolPalette(~column, new PaletteLook(2, 3, 30, 25), 1));
    pageTools->SetBounds(Rect(0, 0, 90, 25));
    SmartRef<CToolPalette> paintTools(new PaintToolPalette(~column, new PaletteLook(2, 3, 30, 25), 4, 4));
    paintTools->SetBounds(Rect(0, 0, 90, 25));
    column->AddSubview(~pageTools);
    column->AddSubview(~paintTools);
    SetLayout(~column);
    SetToolPalette(~pageTools);
    SetPaintPalette(~paintTools);
    pageTools->Show(false);
    paintTools->Show(false);
  }
  std::int16_t IndexOfTool(std::int32_t id) override {
    for (std::size_t i = 0; i < tools.size(); ++i)
      if (CastSmart<CTool>(~tools[i])->GetId() == id) return static_cast<std::int16_t>(i + 1);
    return 0;
  }
  SmartRef<Tool> GetToolAt(std::int16_t index) override {
    return index >= 1 && index <= static_cast<std::int16_t>(tools.size()) ? tools[static_cast<std::size_t>(index - 1)]
                                                                           : nullptr;
  }
  CTool* ToolAt(int index) { return CastSmart<CTool>(~tools[static_cast<std::size_t>(index - 1)]); }

  std::vector<SmartRef<Tool>> tools;
};

class CToolsDirTest : public EditorProgramTest {
 protected:
  void SetUp() override {
    EditorProgramTest::SetUp();
    for (int n : {2, 12, 13, 14, 15, 16}) data->WriteSound(n);
    platform::SetClockForTesting([this] { return now; });
  }
  void TearDown() override {
    platform::SetClockForTesting({});
    gEngineOptions = 4;
    SetEngineAppServices({});
    gToolsDirectory = nullptr;
    gBorderSizeTool = nullptr;
    gPaintState = nullptr;
    EditorProgramTest::TearDown();
  }
  // Runs the body with the tools window open over a stage pane in a page window.
  void WithTools(const std::function<void(TestToolsDir&, FakeStagePane&)>& body) {
    InProgram([&] {
      const String title("Page");
      SmartRef<Window> page(new Window(&title, kFrameNormal, false, false, 400, 300));
      SmartRef<FakeStagePane> stage(new FakeStagePane(~page, {0, 0, 400, 300}));
      page->AddSubview(~stage);
      page->Open(true);
      SmartRef<TestToolsDir> tools(new TestToolsDir);
      tools->Open(true);
      body(*tools, *stage);
      tools->SetPane(nullptr);
      tools->Close();
      page->Close();
    });
  }
  void Advance(DWORD ms) {
    now += ms;
    Pump();
  }
  DWORD now = 500000;
};

TEST_F(CToolsDirTest, TheWindowStartsWithTheBorderSizeToolAndMakesThePaintState) {
  InProgram([&] {
    AlertRecorder alerts;
    SmartRef<CDropperTool> earlier(new CDropperTool);
    gPaintState = earlier;
    SmartRef<CToolsDir> tools(new CToolsDir(nullptr));
    EXPECT_EQ(tools->GetCurrentToolRef(), SmartRef<Tool>(~gBorderSizeTool));
    EXPECT_EQ(tools->GetCurrentToolId(), 3);
    EXPECT_NE(~gPaintState, ~earlier);
    EXPECT_EQ(gPaintState->GetId(), 110);
    EXPECT_EQ(tools->GetHintChore()->GetInterval(), 4000u);
    // Only its own hint chore ticks the window.
    SmartRef<PeriodicChore> stray(new PeriodicChore(4000));
    const SmartRef<Exception> strayTick = Raised([&] { tools->ChoreFired(~stray); });
    EXPECT_EQ(RaisedText(strayTick), "~timer == ~chore");
    EXPECT_EQ(RaisedPlace(strayTick), "ORVANEL/AUTHOR/CToolsDir:137");
    stray->Stop();
    EXPECT_EQ(tools->GetLayoutMode(), 0);
    // The base window has no tools of its own.
    EXPECT_EQ(tools->IndexOfTool(102), 0);
    EXPECT_FALSE(tools->GetToolAt(1));
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_NE(alerts.Alerts()[0].text.find("Not implemented."), std::string::npos);
    // A tool that is not an editor tool has id 0; a null tool is ignored.
    SmartRef<Tool> plain(new Tool);
    tools->SetCurrentTool(~plain);
    EXPECT_EQ(tools->GetCurrentToolId(), 0);
    EXPECT_FALSE(tools->GetCurrentTool());
    tools->SetCurrentTool(nullptr);
    EXPECT_EQ(tools->GetCurrentToolRef(), plain);
    // The border-size tool outlives the window and is kept for the next one.
    CBorderSizeTool* first = ~gBorderSizeTool;
    tools = nullptr;
    SmartRef<CToolsDir> again(new CToolsDir(nullptr));
    EXPECT_EQ(~gBorderSizeTool, first);
  });
}

// On the test clock: a picked tool that stays unused plays its hint once, 4000 ms after it was last
// made current; using it, or hints being off when it was made, keeps it silent. (Each run stays within the
// fixture's 10-second watchdog.)
TEST_F(CToolsDirTest, AnUnusedPickedToolPlaysItsHintOnceAfterFourSeconds) {
  WithTools([&](TestToolsDir& tools, FakeStagePane&) {
    PlayedSounds played;
    CTool* eraser = tools.ToolAt(5);
    eraser->SetActive(true);
    tools.SetCurrentTool(eraser);
    Advance(3000);
    tools.SetCurrentTool(eraser);  // the same tool again: the delay starts again, the tool stays active
    EXPECT_TRUE(eraser->IsActive());
    Advance(3000);
    EXPECT_TRUE(played.Numbers({15}).empty());
    Advance(1100);
    EXPECT_EQ(played.Numbers({15}), (std::vector<int>{15}));
    EXPECT_FALSE(eraser->IsActive()) << "no second hint";
  });
}

// One program run per test: a second run in the same test would end before its body.
TEST_F(CToolsDirTest, APickedToolUsedOrLeftBeforeFourSecondsPlaysNoHint) {
  WithTools([&](TestToolsDir& tools, FakeStagePane&) {
    PlayedSounds played;
    CTool* bucket = tools.ToolAt(6);
    CTool* eraser = tools.ToolAt(5);
    eraser->SetActive(true);
    tools.SetCurrentTool(eraser);
    bucket->SetActive(true);
    tools.SetCurrentTool(bucket);
    EXPECT_FALSE(eraser->IsActive()) << "the tool left behind is no longer picked";
    Advance(2000);
    bucket->Deactivate(false);  // used before the delay: no hint
    Advance(4100);
    EXPECT_TRUE(played.Numbers({15, 16}).empty());
  });
}

TEST_F(CToolsDirTest, AToolMadeWithHintSoundsOffPlaysNoHint) {
  WithTools([&](TestToolsDir& tools, FakeStagePane&) {
    PlayedSounds played;
    gEngineOptions |= kOptionNoHintSounds;
    SmartRef<CTool> quiet(new CTool(102, nullptr, false, KidResources::GetSound(14)));
    gEngineOptions &= ~kOptionNoHintSounds;
    quiet->SetActive(true);
    tools.SetCurrentTool(~quiet);
    Advance(4100);
    EXPECT_TRUE(played.Numbers({14}).empty());
    EXPECT_FALSE(quiet->IsActive());
  });
}

TEST_F(CToolsDirTest, ThePalettesFollowThePanesEditStateAndAPlayingPaneHidesThem) {
  WithTools([&](TestToolsDir& tools, FakeStagePane& stage) {
    tools.SetPane(&stage);
    EXPECT_EQ(stage.listener, &tools);
    EXPECT_EQ(stage.calls, (std::vector<std::string>{"listener on"}));
    stage.calls.clear();

    // A picture edit shows the paint palette and selects the brush, no paint button being selected.
    tools.GetPaintPalette()->SetSelection(0);
    stage.Changed(ToolsPane::kEditsPicture, false);
    EXPECT_EQ(tools.GetLayoutMode(), CToolsDir::kPictureEditing);
    EXPECT_TRUE(tools.GetPaintPalette()->IsVisible());
    EXPECT_FALSE(tools.GetToolPalette()->IsVisible());
    EXPECT_EQ(tools.GetPaintPalette()->GetSelection(), 4);
    EXPECT_EQ(tools.GetCurrentToolId(), 102);
    EXPECT_EQ(stage.calls, (std::vector<std::string>{"edit mode 1 on"}));
    EXPECT_EQ(tools.GetBounds().Size(), tools.GetLayout()->GetBounds().Size()) << "the window takes its content's size";
    EXPECT_EQ(tools.GetLayout()->GetBounds().Width(), 90);

    // The same mode again does nothing, even after the palette was hidden by other means.
    tools.GetPaintPalette()->Show(false);
    tools.Layout(CToolsDir::kPictureEditing);
    EXPECT_FALSE(tools.GetPaintPalette()->IsVisible());
    EXPECT_EQ(stage.calls.size(), 1u);
    tools.GetPaintPalette()->Show(true);

    // Playing hides both palettes.
    stage.calls.clear();
    stage.Changed(ToolsPane::kEditsNothing, true);
    EXPECT_EQ(tools.GetLayoutMode(), CToolsDir::kNothing);
    EXPECT_FALSE(tools.GetPaintPalette()->IsVisible());
    EXPECT_FALSE(tools.GetToolPalette()->IsVisible());
    EXPECT_EQ(tools.GetCurrentToolId(), 3);
    EXPECT_EQ(stage.calls, (std::vector<std::string>{"edit mode 0 off"}));

    // The page tools stop the player first; a text edit offers the text-style tool, picked.
    stage.calls.clear();
    tools.Layout(CToolsDir::kPageTools);
    EXPECT_TRUE(tools.GetToolPalette()->IsVisible());
    EXPECT_EQ(tools.GetToolPalette()->GetSelection(), 1);
    tools.Layout(CToolsDir::kTextEditing);
    EXPECT_EQ(tools.GetCurrentToolId(), 4);
    EXPECT_TRUE(tools.GetCurrentTool()->IsActive());
    EXPECT_EQ(stage.calls, (std::vector<std::string>{"stop player", "edit mode 0 off", "edit mode 2 off"}));

    // Another pane: the old one loses the listener.
    SmartRef<FakeStagePane> other(new FakeStagePane(&tools, {0, 0, 10, 10}));
    stage.calls.clear();
    tools.SetPane(~other);
    EXPECT_EQ(stage.listener, nullptr);
    EXPECT_EQ(other->listener, &tools);
  });
}

// A click on a palette button: the click sound, the button's tool, the playback stopped, and the pane put
// in the tool's edit mode.
TEST_F(CToolsDirTest, APickedButtonMakesItsToolCurrentAndStopsThePlayback) {
  WithTools([&](TestToolsDir& tools, FakeStagePane& stage) {
    tools.SetPane(&stage);
    tools.Layout(CToolsDir::kPageTools);
    stage.playing = true;
    stage.calls.clear();
    PlayedSounds played;
    CToolPalette* page = tools.GetToolPalette();
    const Rect text = page->GetButtonRect(3);
    page->MouseDown(text.left + 5, text.top + 5, 0, 1, &tools);
    EXPECT_EQ(tools.GetCurrentToolId(), 4);
    EXPECT_EQ(page->GetSelection(), 3);
    EXPECT_EQ(played.Numbers({2}), (std::vector<int>{2}));
    EXPECT_EQ(stage.calls, (std::vector<std::string>{"stop command", "edit mode 2 off"}));
    EXPECT_FALSE(stage.playing);

    // SetSelectedButton changes only another tool's button.
    stage.calls.clear();
    tools.SetSelectedButton(4);
    EXPECT_EQ(played.Numbers({2}).size(), 1u);
    tools.SetSelectedButton(15);
    EXPECT_EQ(tools.GetCurrentToolId(), 15);
    EXPECT_EQ(page->GetSelection(), 2);
  });
}

TEST_F(CToolsDirTest, TheApplicationsToolIsTheWindowsCurrentTool) {
  WithTools([&](TestToolsDir& tools, FakeStagePane& stage) {
    EXPECT_FALSE(GetToolHooks().getTool()) << "no tools window yet";
    EXPECT_EQ(GetToolHooks().makeFirstTool(), SmartRef<Tool>(~gBorderSizeTool));
    gToolsDirectory = &tools;
    EXPECT_EQ(GetToolHooks().getTool(), SmartRef<Tool>(~gBorderSizeTool));
    GetToolHooks().setTool(tools.ToolAt(4));
    EXPECT_EQ(tools.GetCurrentToolId(), 102);
    // The window follows the application's active pane.
    static FakeStagePane* active;
    active = &stage;
    SetEngineAppServices({nullptr, [](App*) { return SmartRef<View>(active); }});
    tools.AppChanged(app);
    EXPECT_EQ(tools.GetPane(), static_cast<ToolsPane*>(&stage));
    gToolsDirectory = nullptr;
  });
}

TEST_F(CToolsDirTest, ShownAgainTheWindowSelectsTheCurrentToolsButton) {
  WithTools([&](TestToolsDir& tools, FakeStagePane&) {
    tools.Layout(CToolsDir::kPageTools);
    tools.SetCurrentTool(tools.ToolAt(3));
    tools.GetToolPalette()->SetSelection(1);
    EXPECT_FALSE(tools.Toggle(true));
    EXPECT_EQ(tools.GetToolPalette()->GetSelection(), 1);
    EXPECT_TRUE(tools.Toggle(true));
    EXPECT_EQ(tools.GetToolPalette()->GetSelection(), 3);
    tools.Close();
    EXPECT_FALSE(tools.IsVisible());
  });
}

// The pixel pane's blink and zoom wait by spinning on the clock, which stands still here: they are off
// while a test of this suite makes a pane, or it would spin for ever.
class NoPixelDelays {
 public:
  NoPixelDelays() : zoom(CPixPane::zoomStepDelay), blink(CPixPane::blinkDelay) {
    CPixPane::zoomStepDelay = 0;
    CPixPane::blinkDelay = 0;
  }
  ~NoPixelDelays() {
    CPixPane::zoomStepDelay = zoom;
    CPixPane::blinkDelay = blink;
    gPixPane = nullptr;
  }
  NoPixelDelays(const NoPixelDelays&) = delete;
  NoPixelDelays& operator=(const NoPixelDelays&) = delete;

 private:
  std::uint32_t zoom;
  std::uint32_t blink;
};

// Selecting all of the pixel pane selects its whole picture, picks the magnifier (the pane's selection
// tool) and asks for the clear that is not there: one "Not implemented." notice, answered like any alert,
// so nothing waits. A tool picked afterwards drops the selection.
TEST_F(CToolsDirTest, SelectingAllPixelsAndPickingAToolAfterwardsOnThePixelPane) {
  NoPixelDelays noDelays;
  WithTools([&](TestToolsDir& tools, FakeStagePane& stage) {
    const SmartRef<CTool> magnifier(new CTool(112, nullptr, false, nullptr));
    tools.tools.push_back(magnifier);
    gToolsDirectory = &tools;
    alerts.Clear();

    CToolsDir::SelectAllPixels();
    EXPECT_TRUE(alerts.Alerts().empty()) << "without a pixel pane nothing happens";

    SmartRef<CPixPane> pixels(new CPixPane(&stage, {40, 30, 140, 110}, {40, 30, 140, 110}, nullptr));
    stage.AddSubview(~pixels);
    ASSERT_EQ(~gPixPane, ~pixels);
    tools.Layout(CToolsDir::kPageTools);
    tools.SetCurrentTool(tools.ToolAt(4));
    CToolsDir::SelectAllPixels();
    EXPECT_EQ(pixels->GetSelection()->GetBounds(), Rect(40, 30, 140, 110));
    EXPECT_EQ(pixels->GetSelection()->NumRects(), 1);
    EXPECT_EQ(tools.GetCurrentToolId(), 112);
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_NE(alerts.Alerts()[0].text.find("Not implemented."), std::string::npos);
    Pump();  // the pane's blink runs on the loop and returns

    // The notice shows once; the selection is made again all the same.
    CToolsDir::SelectAllPixels();
    EXPECT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_FALSE(pixels->GetSelection()->IsEmpty());

    // A button picked in a palette: its tool, and no selection left for it to act on.
    CToolPalette* page = tools.GetToolPalette();
    const Rect text = page->GetButtonRect(3);
    page->MouseDown(text.left + 5, text.top + 5, 0, 1, &tools);
    EXPECT_EQ(tools.GetCurrentToolId(), 4);
    EXPECT_TRUE(pixels->GetSelection()->IsEmpty());

    stage.RemoveSubview(~pixels);
    gToolsDirectory = nullptr;
  });
}

}  // namespace
}  // namespace editor_test

// Floating tool windows, palette windows and views, option windows, and the border around an editor
// opened in place.
#include <gtest/gtest.h>

#include <vector>

#include "EditorTestSupport.h"
#include "FakeStagePane.h"
#include "platform/user/Cursor.h"
#include "editor/CBorderSize.h"
#include "editor/CPaletteDir.h"
#include "editor/CToolPalette.h"
#include "engine/Seams.h"
#include "support/AlertRecorder.h"
#include "core/String.h"
#include "ui/ViewTestSupport.h"

namespace editor_test {
namespace {

class RecordingPaletteDir : public CPaletteDir {
 public:
  explicit RecordingPaletteDir(SoundResource* sound) : CPaletteDir(kFrameFloating, sound) {}
  void SelectItem(std::int32_t n) override { selected.push_back(n); }
  std::vector<std::int32_t> selected;
};

class RecordingPaletteView : public CPaletteView {
 public:
  RecordingPaletteView(View* parent, Sound* sound) : CPaletteView(parent, sound) {}
  void SelectItem(std::int32_t n) override { selected.push_back(n); }
  std::vector<std::int32_t> selected;
};

// Options 1 to 3.
class ThreeOptions : public CTool {
 public:
  ThreeOptions() : CTool(109, nullptr, false, nullptr) {}
  void SetChoice(std::int16_t, std::int16_t value) override { choice = value; }
  std::int16_t GetChoice(std::int16_t) override { return choice; }
  std::int16_t CountChoices(std::int16_t) override { return 3; }
  std::int16_t choice = 1;
};

using PaletteWindowTest = EditorProgramTest;

TEST_F(PaletteWindowTest, AFloatingWindowIsHiddenByClosingAndShownAgainByItsToggle) {
  InProgram([&] {
    SmartRef<FloatingWindow> window(new FloatingWindow(kFrameFloating));
    window->SetSize(120, 60);
    window->Open(true);
    EXPECT_EQ(TextOf(*SmartRef<String>(window->GetFrame()->GetTitle())), "Outils");
    EXPECT_TRUE(window->IsVisible());
    window->Close();
    EXPECT_FALSE(window->IsVisible());
    EXPECT_FALSE(window->IsShown());
    EXPECT_NE(app->GetWindows().IndexOf(~window), 0) << "closing keeps the window";
    window->Close();
    EXPECT_FALSE(window->IsVisible());
    EXPECT_FALSE(window->Toggle(false)) << "without the flag only reports";
    EXPECT_TRUE(window->Toggle(true));
    EXPECT_TRUE(window->IsVisible());
    EXPECT_FALSE(window->Toggle(true));
    EXPECT_TRUE(window->Toggle(true));
  });
}

TEST_F(PaletteWindowTest, APaletteClickPlaysItsSoundEvenForTheSameItemAndThenSelects) {
  data->WriteSound(2);
  InProgram([&] {
    PlayedSounds played;
    SmartRef<RecordingPaletteDir> window(new RecordingPaletteDir(KidResources::GetSound(2)));
    SmartRef<RecordingPaletteDir> silent(new RecordingPaletteDir(nullptr));
    window->ItemClicked(4);
    window->ItemClicked(4);
    silent->ItemClicked(1);
    EXPECT_EQ(window->selected, (std::vector<std::int32_t>{4, 4}));
    EXPECT_EQ(silent->selected, (std::vector<std::int32_t>{1}));
    EXPECT_EQ(played.Numbers({2}), (std::vector<int>{2, 2}));
    window->ResetLinked();  // none linked
    window->SetLinkedPalette(~silent);
    window->ResetLinked();
    EXPECT_EQ(silent->selected, (std::vector<std::int32_t>{1, 0}));

    TestWindow host(200, 100);
    SmartRef<Sound> sound(KidResources::GetSound(2)->Get());
    SmartRef<RecordingPaletteView> view(new RecordingPaletteView(~host.root, ~sound));
    SmartRef<RecordingPaletteView> linked(new RecordingPaletteView(~host.root, nullptr));
    EXPECT_EQ(view->GetBounds(), Rect(0, 0, 200, 100));
    played.Clear();
    view->ItemClicked(7);
    linked->ItemClicked(2);
    view->SetLinkedPalette(~linked);
    view->ResetLinked();
    EXPECT_EQ(view->selected, (std::vector<std::int32_t>{7}));
    EXPECT_EQ(linked->selected, (std::vector<std::int32_t>{2, 0}));
    EXPECT_EQ(played.Numbers({2}), (std::vector<int>{2}));
  });
}

// An option window chooses the options its tool has, with the palette sound (the editor's sound 2), and
// comes and goes with its activation.
TEST_F(PaletteWindowTest, AnOptionWindowSetsItsToolsOptionAndFollowsItsActivation) {
  data->WriteSound(2);
  InProgram([&] {
    PlayedSounds played;
    SmartRef<ThreeOptions> tool(new ThreeOptions);
    SmartRef<ModelPaletteWindow> window(new ModelPaletteWindow(~tool));
    window->SetSize(105, 35);
    SmartRef<CToolPalette> palette(new CToolPalette(~window, SmartRef<PaletteLook>(new PaletteLook(1, 3, 35, 35)), 1));
    window->AddSubview(~palette);
    palette->AddTool(~window);
    palette->MouseDown(40, 10, 0, 1, ~window);
    EXPECT_EQ(tool->choice, 2);
    for (std::int32_t n : {0, 4, -666}) window->ItemClicked(n);
    EXPECT_EQ(tool->choice, 2);
    EXPECT_EQ(played.Numbers({2}), (std::vector<int>{2}));

    window->Open(true);
    EXPECT_TRUE(window->IsVisible());
    window->Activate(false);
    EXPECT_FALSE(window->IsVisible());
    window->Activate(true);
    EXPECT_TRUE(window->IsVisible());
    window->Activate(true);
    EXPECT_TRUE(window->IsVisible());
    palette->RemoveTool(~window);
    window->Close();
  });
}

// Over a floating window the cursor is the arrow whatever the tool, over a stage in it too.
TEST_F(PaletteWindowTest, OverAFloatingWindowEveryToolShowsTheArrow) {
  InProgram([&] {
    SmartRef<FloatingWindow> window(new FloatingWindow(kFrameFloating));
    window->SetSize(200, 100);
    SmartRef<FakeStagePane> stage(new FakeStagePane(~window, {0, 0, 200, 100}));
    window->AddSubview(~stage);
    window->Open(true);
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    for (std::int32_t id : {103, 109, 15, 110}) {
      SmartRef<CTool> tool(new CTool(id, nullptr, false, nullptr));
      for (bool inStage : {false, true}) {
        stage->playing = true;
        if (inStage) window->SetTarget(~stage);
        SetCursor(nullptr);
        tool->ApplyCursor(~window, 50, 50, 0);
        EXPECT_EQ(GetCursor(), arrow) << id << " " << inStage;
      }
    }
    window->Close();
  });
}

using BorderViewTest = EditorTest;

TEST_F(BorderViewTest, ABorderFramesItsContentWithFivePixels) {
  TestWindow host(300, 200);
  struct Case {
    Rect content, frame, contentBounds;
  } cases[] = {
      {{10, 10, 110, 60}, {5, 5, 115, 65}, {10, 10, 110, 60}},
      {{40, 20, 40, 80}, {35, 15, 45, 85}, {35, 15, 45, 85}},
      {{40, 20, 41, 80}, {35, 15, 46, 85}, {40, 20, 41, 80}},
  };
  for (const Case& c : cases) {
    SmartRef<View> border = GetFrameEditHooks().makeBorderView(~host.root, c.content);
    ASSERT_TRUE(border);
    EXPECT_EQ(host.root->GetSubviews().IndexOf(~border), host.root->GetSubviews().NumItems());
    EXPECT_EQ(border->GetBounds(), c.frame);
    Rect content;
    border->GetContentBounds(&content);
    EXPECT_EQ(content, c.contentBounds);
    EXPECT_EQ(border->GetAnchoring(), kAnchorTopLeft);
    EXPECT_TRUE(border->AcceptsTarget());
  }
  // Its own drawing and mouse handling are not done: it says so and passes nothing on.
  AlertRecorder alerts;
  SmartRef<View> border = MakeBorderView(~host.root, {10, 10, 110, 60});
  CallLog log;
  SmartRef<ProbeView> inside(new ProbeView(~border, {10, 10, 110, 60}, &log, "editor"));
  border->AddSubview(~inside);
  EXPECT_FALSE(border->MouseDown(50, 30, 0, 1, ~host.root));
  EXPECT_FALSE(border->MouseMoved(50, 30, 0));
  SurfaceDevice surface(300, 200);
  DisplayPort port(&surface, {0, 0, 300, 200});
  border->DrawContent(port, Area(Rect(0, 0, 300, 200)));
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(alerts.Alerts().size(), 3u);
  for (const RecordedAlert& alert : alerts.Alerts()) EXPECT_NE(alert.text.find("Not implemented."), std::string::npos);
}

}  // namespace
}  // namespace editor_test

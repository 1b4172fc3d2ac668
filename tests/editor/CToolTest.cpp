// The tool base: ids, cursors, option drawing, and the use and hint sounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "FakeStagePane.h"
#include "editor/CBorderSize.h"
#include "editor/CTool.h"
#include "engine/EngineOptions.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/links/CLink.h"
#include "engine/media/CResource.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/player/CPanePlay.h"
#include "engine/player/CPlayer.h"
#include "engine/sprites/CSprite.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "platform/user/Cursor.h"
#include "support/AlertRecorder.h"
#include "ui/ViewTestSupport.h"
#include "ui/shell/Cursor.h"

namespace editor_test {
namespace {

const HINSTANCE kProgram = reinterpret_cast<HINSTANCE>(0x400000);

HCURSOR ProgramCursor(int id) { return LoadCursorA(kProgram, MAKEINTRESOURCEA(id)); }

// Options 1..count of a kind; each sample draws the current option as a recorded line.
class OptionTool : public CTool {
 public:
  explicit OptionTool(std::int16_t count) : CTool(102, nullptr, false, nullptr), count(count) {}
  void SetChoice(std::int16_t, std::int16_t value) override { choice = value; }
  std::int16_t GetChoice(std::int16_t) override { return choice; }
  std::int16_t CountChoices(std::int16_t) override { return count; }
  void DrawSample(DisplayPort&, const Rect& rect) override {
    drawn.push_back(std::to_string(choice) + "@" + std::to_string(rect.left));
  }
  std::int16_t choice = 3;
  std::int16_t count;
  std::vector<std::string> drawn;
};

class CToolTest : public EditorTest {
 protected:
  void TearDown() override {
    gEngineOptions = 4;
    SetCursor(nullptr);
    EditorTest::TearDown();
  }
};

TEST_F(CToolTest, EachIdHasItsCursorAndAToggledToolTheToggledOne) {
  // The program holds cursors 201, 208, 210, 219, 230 and 300-319; any other index falls back to 201.
  const HCURSOR fallback = ProgramCursor(201);
  struct Case {
    std::int32_t id;
    HCURSOR cursor;
  } cases[] = {
      {105, ProgramCursor(208)}, {106, ProgramCursor(208)}, {113, ProgramCursor(208)}, {103, ProgramCursor(210)},
      {109, ProgramCursor(219)}, {10, ProgramCursor(230)},  {14, ProgramCursor(230)},  {19, ProgramCursor(230)},
      {22, ProgramCursor(230)},  {8, fallback},             {110, fallback},           {2, fallback},
  };
  for (const Case& c : cases) {
    SmartRef<CTool> tool(new CTool(c.id, nullptr, false, nullptr));
    tool->ChooseCursor();
    ASSERT_NE(tool->GetCursor(), nullptr) << c.id;
    EXPECT_EQ(tool->GetCursor()->GetHandle(), c.cursor) << c.id;
  }
  // Ids without a cursor of their own keep the one they have (the framework's arrow).
  for (std::int32_t id : {0, 3, 4, 23, 102}) {
    SmartRef<CTool> tool(new CTool(id, nullptr, false, nullptr));
    const HCURSOR before = tool->GetCursor() ? tool->GetCursor()->GetHandle() : nullptr;
    tool->ChooseCursor();
    EXPECT_EQ(tool->GetCursor() ? tool->GetCursor()->GetHandle() : nullptr, before) << id;
  }
  // Toggled: cursor index 2, which the program lacks, so its 201.
  SmartRef<CTool> toggled(new CTool(15, nullptr, false, nullptr));
  toggled->SetToggled(true);
  toggled->ChooseCursor();
  EXPECT_EQ(toggled->GetCursor()->GetHandle(), fallback);
}

TEST_F(CToolTest, OnlyTheToggleIdsTakeTheToggleAndOnlyPaintIdsArePaintTools) {
  for (std::int32_t id = -1; id <= 120; ++id) {
    SmartRef<CTool> tool(new CTool(id, nullptr, false, nullptr));
    tool->SetToggled(true);
    const bool toggles = id == 3 || id == 5 || id == 7 || id == 15 || id == 18;
    EXPECT_EQ(tool->IsToggled(), toggles) << id;
    EXPECT_EQ(tool->IsToggleTool(), toggles) << id;
    EXPECT_EQ(tool->IsPaintTool(), id >= 100 && id <= 114) << id;
    EXPECT_EQ(tool->GetId(), id);
  }
}

TEST_F(CToolTest, DrawChoiceDrawsAValidOptionAndKeepsTheChoice) {
  SurfaceDevice surface(40, 40);
  DisplayPort port(&surface, {0, 0, 40, 40});
  OptionTool tool(4);
  for (std::int16_t index : {0, 5, -1}) tool.DrawChoice(port, {7, 0, 9, 2}, 0, index);
  EXPECT_TRUE(tool.drawn.empty());
  tool.DrawChoice(port, {7, 0, 9, 2}, 0, 1);
  tool.DrawChoice(port, {8, 0, 9, 2}, 0, 4);
  EXPECT_EQ(tool.drawn, (std::vector<std::string>{"1@7", "4@8"}));
  EXPECT_EQ(tool.choice, 3);

  // A tool without options says so and draws nothing.
  AlertRecorder alerts;
  CTool plain(3, nullptr, false, nullptr);
  plain.DrawChoice(port, {0, 0, 10, 10}, 0, 1);
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_NE(alerts.Alerts()[0].text.find("Not implemented."), std::string::npos);
  EXPECT_EQ(plain.GetChoice(0), 0);
}

TEST_F(CToolTest, TheUseSoundPlaysWhenTheToolActsUnlessToggledAndTheHintOnlyWhileUnused) {
  for (int n : {1, 2}) data->WriteSound(n);
  PlayedSounds played;
  SmartRef<CTool> tool(new CTool(15, KidResources::GetSound(1), false, KidResources::GetSound(2)));
  tool->SetActive(true);
  tool->ClearActive();  // picked and not used: the hint
  EXPECT_FALSE(tool->IsActive());
  tool->ClearActive();  // once only
  tool->SetActive(true);
  tool->Deactivate(false);  // used: the use sound, and no hint any more
  EXPECT_FALSE(tool->IsActive());
  tool->ClearActive();
  tool->SetToggled(true);
  tool->Deactivate(false);  // toggled: silent
  EXPECT_EQ(played.Numbers({1, 2}), (std::vector<int>{2, 1}));

  // A hint is dropped while hints are off, and never comes for a tool made while they were off.
  played.Clear();
  gEngineOptions |= kOptionNoHintSounds;
  SmartRef<CTool> silent(new CTool(102, nullptr, false, KidResources::GetSound(2)));
  tool->SetActive(true);
  tool->ClearActive();
  gEngineOptions &= ~kOptionNoHintSounds;
  silent->SetActive(true);
  silent->ClearActive();
  EXPECT_EQ(silent->GetHintSound(), nullptr);
  EXPECT_TRUE(played.Numbers({1, 2}).empty());
}

TEST_F(CToolTest, TheBorderSizeToolIsId3WithoutSounds) {
  PlayedSounds played;
  SmartRef<CBorderSizeTool> tool(new CBorderSizeTool);
  EXPECT_EQ(tool->GetId(), 3);
  EXPECT_EQ(tool->GetSound(), nullptr);
  EXPECT_EQ(tool->GetHintSound(), nullptr);
  tool->SetActive(true);
  tool->Deactivate(false);
  tool->ClearActive();
  EXPECT_TRUE(played.Numbers({}).empty());
}

// Over a stage: the arrow outside it, and while it plays the hot link cursor exactly where a click finds a
// link, the link cursor elsewhere on it; not playing, the tool's own cursor.
TEST_F(CToolTest, OverAPlayingStageTheCursorShowsWhereAClickFollowsALink) {
  TestWindow window(300, 200);
  window.MakeFront();
  SmartRef<FakeStagePane> stage(new FakeStagePane(~window.root, {20, 20, 220, 170}));
  window.root->AddSubview(~stage);
  window.root->SetTarget(~stage);
  stage->links = {{50, 50, 80, 70}};
  SmartRef<CTool> tool(new CTool(103, nullptr, false, nullptr));
  const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  const HCURSOR link = ProgramCursor(404), hot = ProgramCursor(405), own = ProgramCursor(210);
  struct Case {
    bool playing;
    Point at;
    HCURSOR cursor;
  } cases[] = {
      {true, {50, 50}, hot},   {true, {79, 69}, hot},   {true, {80, 69}, link}, {true, {49, 60}, link},
      {true, {20, 20}, link},  {true, {220, 170}, link}, {true, {19, 60}, arrow}, {true, {221, 60}, arrow},
      {false, {60, 60}, own},  {false, {5, 5}, arrow},
  };
  for (const Case& c : cases) {
    stage->playing = c.playing;
    SetCursor(nullptr);
    tool->ApplyCursor(~window.root, c.at.x, c.at.y, 0);
    EXPECT_EQ(GetCursor(), c.cursor) << c.playing << " " << c.at.x << "," << c.at.y;
  }
  EXPECT_EQ(stage->activated, 0) << "finding a link follows none";
}

// The same over the engine's own play pane: the hot link cursor exactly over the sprite whose frame
// carries a link, as the player's ClickAt finds it.
TEST_F(CToolTest, OverTheEnginesPlayPaneTheHotCursorIsWhereThePlayerFindsALink) {
  TestWindow window(300, 200);
  window.MakeFront();
  const SmartRef<CMovieGroup> group = new CMovieGroup(Rect(0, 0, 300, 200));
  group->InsertFrames(1, 1, true, false);
  const SmartRef<CShow> page = new CShow(~group, false);
  auto addSprite = [&](const Point& at, bool linked) {
    const SmartRef<BitMap> picture = new BitMap(60, 40, ColorTable::GetStandard(8));
    const SmartRef<CResource> resource = new CResource(SmartRef<Smart>(~picture));
    const SmartRef<CMovie> movie = new CMoviePic(~resource);
    const SmartRef<CSprite> made = new CSprite(0, movie, movie->GetBounds());
    made->SetFrameCount(2);
    made->SetName(new String(linked ? "lien" : "image"));
    CSprite* sprite = group->GetSprite(group->MergeSprite(~made));
    for (std::int16_t f = 0; f < 2; ++f) {
      const Rect target = Rect::FromSizeAndOrigin({60, 40}, at);
      sprite->FitFrameToRect(f, &target, nullptr);
    }
    if (linked) {
      const SmartRef<CLink> link = new CLink();
      link->SetHref(new String("http://quillory.example/"));
      sprite->SetLink(0, 2, ~link);
    }
  };
  addSprite({100, 60}, true);
  addSprite({10, 10}, false);
  const SmartRef<CPlayer> player = new CPlayer(page, *window.root, false);
  const SmartRef<CPanePlay> stage = new CPanePlay(~window.root, player);
  window.root->AddSubview(~stage);
  window.root->SetTarget(~stage);
  SmartRef<CTool> tool(new CTool(103, nullptr, false, nullptr));
  const HCURSOR link = ProgramCursor(404), hot = ProgramCursor(405), own = ProgramCursor(210);
  ASSERT_TRUE(player->Play(true));
  struct Case {
    Point at;
    HCURSOR cursor;
  } cases[] = {{{120, 70}, hot}, {{100, 60}, hot}, {{159, 99}, hot}, {{160, 70}, link}, {{30, 30}, link},
               {{250, 150}, link}};
  for (const Case& c : cases) {
    SetCursor(nullptr);
    tool->ApplyCursor(~window.root, c.at.x, c.at.y, 0);
    EXPECT_EQ(GetCursor(), c.cursor) << c.at.x << "," << c.at.y;
    EXPECT_EQ(GetCursor() == hot, player->ClickAt(c.at.x, c.at.y, false)) << c.at.x << "," << c.at.y;
  }
  player->Stop();
  SetCursor(nullptr);
  tool->ApplyCursor(~window.root, 120, 70, 0);
  EXPECT_EQ(GetCursor(), own) << "a page that does not play shows the tool's cursor";
  window.root->RemoveSubview(~stage);
}

}  // namespace
}  // namespace editor_test

#include "editor/stage/StageTestSupport.h"

#include "editor/CurrentStagePane.h"
#include "engine/page/CMovieGroup.h"
#include "graphics/Area.h"
#include "graphics/DisplayPort.h"
#include "platform/kernel/System.h"
#include "platform/user/KeyState.h"
#include "editor/CBorderSize.h"
#include "editor/CDropperTool.h"
#include "editor/KidResources.h"
#include "support/DocumentBytes.h"
#include "ui/shell/App.h"
#include "ui/shell/Tool.h"

namespace editor_test {

using engine_test::AddSprite;
using engine_test::GroupOf;
using engine_test::PlaceAt;
using engine_test::SolidPicture;

namespace {

// Keeps the tool the last tool command made current, as the application would.
class ToolSink final : public RecordingSink {
 public:
  void DoCommand(GenericSignal* signal) override {
    RecordingSink::DoCommand(signal);
    if (auto* command = dynamic_cast<AppCommand*>(signal)) tool = CastSmart<Tool>(command->GetObject());
  }
  SmartRef<Tool> tool;
};

ToolSink* gToolSink = nullptr;

// A tools window with its two palettes, hidden, as the application's has them.
class StageToolsDir : public CToolsDir {
 public:
  StageToolsDir() : CToolsDir(nullptr) {
    const SmartRef<RowColumnView> column = new RowColumnView(this, true, false, 2);
    AddSubview(~column);
    const SmartRef<CToolPalette> pageTools = new CToolPalette(~column, new PaletteLook(2, 3, 30, 25), 1);
    const SmartRef<CToolPalette> paintTools = new PaintToolPalette(~column, new PaletteLook(2, 3, 30, 25), 4, 4);
    column->AddSubview(~pageTools);
    column->AddSubview(~paintTools);
    SetLayout(~column);
    SetToolPalette(~pageTools);
    SetPaintPalette(~paintTools);
    pageTools->Show(false);
    paintTools->Show(false);
  }
};

}  // namespace

SmartRef<CToolsDir> MakeStageToolsDir() { return new StageToolsDir; }

void StageTest::SetUp() {
  EditorProgramTest::SetUp();
  platform::SetClockForTesting([this] { return now; });
  gToolSink = new ToolSink;
  window.notifier->AddSink(gToolSink);
  window.notifier->AddSink(&sink);
  window.MakeFront();
}

void StageTest::OnStage(const std::function<void()>& body) {
  bool ran = false;
  InProgram([&] {
    ran = true;
    tools = MakeStageToolsDir();
    gToolsDirectory = tools;
    body();
    if (pane) window.root->RemoveSubview(~pane);
    pane = nullptr;
    page = nullptr;
    gToolSink->tool = nullptr;
    sink.undoable.clear();
    gToolsDirectory = nullptr;
    tools->Close();
    tools = nullptr;
  });
  // The program starts once in a test (its window classes stay registered): a second run would skip
  // its body unseen.
  if (!ran) ADD_FAILURE() << "the program did not start: the body never ran (one OnStage a test)";
}

void StageTest::UseTool(std::int32_t id, bool toggled) {
  const SmartRef<CTool> tool = id == 3 ? SmartRef<CTool>(~gBorderSizeTool) : new CTool(id, nullptr, false, nullptr);
  tool->SetToggled(toggled);
  tools->SetCurrentTool(~tool);
}

void StageTest::TearDown() {
  gCurrentStagePane = nullptr;
  gOverviewActive = false;
  gBorderSizeTool = nullptr;
  gPaintState = nullptr;
  sink.undoable.clear();
  window.notifier->RemoveSink(&sink);
  window.notifier->RemoveSink(gToolSink);
  delete gToolSink;
  gToolSink = nullptr;
  platform::SetClockForTesting({});
  EditorProgramTest::TearDown();
}

void StageTest::Open(SmartRef<CShow> shown) {
  // A table's next row opens its own page in place of the last one.
  if (pane) window.root->RemoveSubview(~pane);
  pane = nullptr;
  sink.undoable.clear();
  page = std::move(shown);
  Rect frame;
  page->MakeEditor(&frame, ~window.root, window.root->GetBounds());
  const List& views = window.root->GetSubviews();
  pane = CastSmart<CHAPane>(views.At(views.NumItems()));
  ASSERT_TRUE(pane) << "the page's editor is a stage pane";
  window.root->SetTarget(~pane);
}

SmartRef<CShow> MakeStagePage(std::int16_t frames) {
  const SmartRef<CShow> made = engine_test::MakePage({0, 0, 200, 150}, frames);
  CMovieGroup& group = GroupOf(*made);
  CSprite* background = AddSprite(group, *SolidPicture(200, 150, 3), 0, frames);
  background->ToggleBackgroundFlag(true);
  CSprite* a = AddSprite(group, *SolidPicture(40, 30, 7), 0, frames);
  CSprite* b = AddSprite(group, *SolidPicture(30, 30, 8), 0, frames);
  CSprite* c = AddSprite(group, *SolidPicture(20, 20, 9), 0, frames);
  for (std::int16_t f = 0; f < frames; ++f) {
    PlaceAt(*background, f, {0, 0});
    PlaceAt(*a, f, {20, 20 + 10 * f});
    PlaceAt(*b, f, {100, 60});
    PlaceAt(*c, f, {150, 100});
  }
  if (frames > 2) c->HideFrames(2, 1);
  return made;
}

Rect StageTest::RectOf(std::int16_t index, std::int16_t frame) const {
  Rect r;
  Sprite(index)->GetFrameGeometry(frame, &r, nullptr);
  return r;
}

std::vector<int> StageTest::Selected() const {
  std::vector<int> indexes;
  const List chosen = pane->GetSelectionList();
  for (std::int32_t s = 1; s <= chosen.NumItems(); ++s)
    indexes.push_back(GroupOf(*page).IndexOfSprite(CastSmart<CSprite>(chosen.At(s))));
  return indexes;
}

std::string StageTest::Layout(CShow& shown, std::int16_t frames) {
  CMovieGroup& group = GroupOf(shown);
  if (frames < 0) frames = group.GetFrameCount();
  std::string text;
  for (std::int16_t i = 0; i < group.GetSpriteCount(); ++i) {
    text += std::to_string(i) + ":";
    for (std::int16_t f = 0; f < frames; ++f) {
      Rect r;
      group.GetSprite(i)->GetFrameGeometry(f, &r, nullptr);
      text += f ? " |" : "";
      text += r.IsEmpty() ? " -"
                          : " " + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
                                "," + std::to_string(r.bottom);
    }
    text += "\n";
  }
  return text;
}

std::string StageTest::SavedLayout(std::int16_t frames) const {
  const SmartRef<Smart> read = document_testing::ReadDocument(document_testing::SaveDocument(SmartRef<Smart>(~page)),
                                                              nullptr);
  auto* saved = CastSmart<CShow>(~read);
  return saved ? Layout(*saved, frames) : "(no page)";
}

ColourPicture StageTest::Render() {
  const Rect bounds = window.root->GetBounds();
  {
    DisplayPort port(~window.surface, bounds);
    pane->Draw(port, Area(bounds));
  }
  ColourPicture picture{bounds.Width(), bounds.Height(), {}};
  for (int y = bounds.top; y < bounds.bottom; ++y)
    for (int x = bounds.left; x < bounds.right; ++x) picture.pixels.push_back(window.surface->Pixel(x, y));
  return picture;
}

Tool* StageTest::AppTool() const { return ~gToolSink->tool; }

void StageTest::Drag(const std::vector<Point>& points, std::int32_t modifiers, DWORD step) {
  View* root = ~window.root;
  gToolSink->tool = nullptr;
  platform::SetKeyDown(VK_LBUTTON, true);
  pane->MouseDown(points.front().x, points.front().y, modifiers, 1, root);
  const SmartRef<Tool> tool = gToolSink->tool;
  if (!tool) platform::SetKeyDown(VK_LBUTTON, false);
  ASSERT_TRUE(tool) << "the press made a task the application's tool";
  for (std::size_t n = 1; n < points.size(); ++n) {
    now += step;
    tool->MouseMoved(points[n].x, points[n].y, modifiers, true, root);
  }
  platform::SetKeyDown(VK_LBUTTON, false);
  tool->MouseMoved(points.back().x, points.back().y, modifiers, false, root);
}

}  // namespace editor_test

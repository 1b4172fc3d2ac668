// The stage under a real X server, as a child uses it: xdotool presses on a sprite of a page in a real
// window, drags it and releases (the window's undo gives the old place back, its redo the new one); then
// the brush is chosen, which opens a picture over the page, a stroke paints it and Return ends the
// painting. The page saved and read back holds the sprite at its new place and the stroke as a new
// picture sprite.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "editor/CBorderSize.h"
#include "editor/CDropperTool.h"
#include "editor/pixels/CPixPane.h"
#include "editor/pixels/PaintTools.h"
#include "editor/stage/StageTestSupport.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/page/CMovieGroup.h"
#include "platform/backend/SdlBackend.h"
#include "platform/kernel/System.h"
#include "platform/user/Message.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"
#include "support/DocumentBytes.h"
#include "support/XvfbChild.h"
#include "ui/views/Window.h"
#include "ui/views/WindowFrame.h"

namespace editor_test {
namespace {

const char* const kTitle = "Quillory stage";
// A (40 x 30 at (20, 20) in frame 0) is pressed 10 pixels into it and dragged 50 right and 60 down.
const std::vector<Point> kDrag = {{30, 30}, {45, 50}, {60, 70}, {80, 90}};
// A point of the window's caption, above the page; the stroke, on an empty part of the page.
const Point kCaption{100, -8};
const std::vector<Point> kStroke = {{20, 100}, {40, 125}, {55, 110}, {35, 135}};
// The rounds of 100 ms the child waits for each gesture; the program's own watchdog stops it at 10 s.
constexpr int kPatience = 90;

// What the page saved and read back holds of the sprite the stroke made.
struct Painted {
  std::string layout;
  int sprites = 0;
  bool picture = false;
  std::string name;
  bool transparent = false;
  std::int16_t start = -1;
  std::int16_t frames = 0;
  Rect rect;
};

struct Session {
  SmartRef<Window> window;
  SmartRef<CHAPane> pane;
  SmartRef<CToolsDir> tools;
  SmartRef<CBrushTool> brush;
  std::string before;
  std::string dragged;
  std::string undone;
  std::string redone;
  Rect brushStamp;
  Painted painted;
  int step = 0;
  int ticks = 0;
  // When each step was reached, in rounds of the hand: what a slow machine spent, should a wait run out.
  std::vector<int> reached;
};
Session* gSession = nullptr;

struct UnderX : StageTest {
  void TestBody() override {}

  // Runs on the program's own loop, so that the gestures' events are taken while xdotool makes them.
  static void Hand(HWND, UINT, UINT_PTR, DWORD) {
    Session& s = *gSession;
    UnderX& test = *current;
    ++s.ticks;
    if (static_cast<int>(s.reached.size()) <= s.step) s.reached.push_back(s.ticks);
    const HWND frame = s.window->GetFrame()->GetHandle();
    if (s.step == 0 && s.ticks > 1) {
      // The first click on the window only activates it: it goes on the page's background.
      EXPECT_EQ(std::system(XdotoolDrag(kTitle, frame, {180, 140}, kDrag).c_str()), 0);
      s.step = 1;
    } else if (s.step == 1 && s.window->CanUndo() && gApplication->GetTool() == SmartRef<Tool>(~gBorderSizeTool)) {
      // The drag is over: it is on the window's undo list and the border-size tool is the tool again. (The
      // page is saved once, at the end: a save and a read take long in a checked build, and the program's
      // watchdog gives the whole run 10 s.)
      s.dragged = Layout(*test.page);
      s.window->UndoRedo();
      s.undone = Layout(*test.page);
      s.window->UndoRedo();
      s.redone = Layout(*test.page);
      // The child takes the brush: the tools window's picture layout opens a new picture over the whole
      // page, the stroke paints it and Return ends the painting. The click before the stroke goes on the
      // window's caption, so that it paints nothing.
      s.tools->SetCurrentTool(~s.brush);
      test.app->SetTool(~s.brush);
      s.pane->SetEditMode(ToolsPane::kEditsPicture, true);
      s.ticks = 0;
      if (s.pane->GetEditPane() == nullptr) {
        PostQuitMessage(0);
        return;
      }
      EXPECT_EQ(std::system(XdotoolDrag(kTitle, frame, kCaption, kStroke, " sleep 0.3 key Return").c_str()), 0);
      s.step = 2;
    } else if (s.step == 2 && s.pane->GetEditPane() == nullptr) {
      // Return ended the painting: the picture is on the page. (It is read once the loop is over: saving
      // shows progress, whose pump would call this hand again.)
      s.step = 3;
      PostQuitMessage(0);
    } else if (s.ticks > kPatience) {
      PostQuitMessage(0);
    }
  }

  void ReadPainted() {
    Session& s = *gSession;
    const SmartRef<Smart> read =
        document_testing::ReadDocument(document_testing::SaveDocument(SmartRef<Smart>(~page)), nullptr);
    auto* saved = CastSmart<CShow>(~read);
    if (saved == nullptr) return;
    s.painted.layout = Layout(*saved, 1);
    CMovieGroup& group = engine_test::GroupOf(*saved);
    s.painted.sprites = group.GetSpriteCount();
    CSprite* made = group.GetSprite(static_cast<std::int16_t>(group.GetSpriteCount() - 1));
    s.painted.picture = IsMember<CMoviePic>(made->GetMovie());
    s.painted.name = made->GetName() ? TextOf(*made->GetName()) : "";
    s.painted.transparent = made->GetMovie()->ToggleMode1(false);
    s.painted.start = made->GetStartFrame();
    s.painted.frames = made->GetFrameCount();
    made->GetFrameGeometry(0, &s.painted.rect, nullptr);
  }

  void Play() {
    setenv("SDL_VIDEODRIVER", "x11", 1);
    SetUp();
    std::string error;
    auto sdl = platform::SdlBackend::Open(kTitle, &error);
    ASSERT_TRUE(sdl) << error;
    platform::SetBackend(std::move(sdl));
    platform::SetClockForTesting({});
    for (int n : {31, 32, 33, 35, 36}) data->WriteSound(n);
    CPixPane::zoomStepDelay = 0;
    CPixPane::blinkDelay = 0;
    Session session;
    gSession = &session;
    current = this;
    Run([&] {
      InitPaintColors();
      gPaintState = new CDropperTool;
      session.tools = MakeStageToolsDir();
      gToolsDirectory = session.tools;
      session.tools->SetCurrentTool(~gBorderSizeTool);
      app->SetTool(~gBorderSizeTool);
      // The brush's shapes are the program's cursors: every mouse event chooses its cursor again.
      std::optional<ProgramCursors> cursors(std::in_place);
      session.brush = new CBrushTool(~gPaintState);
      session.brushStamp = session.brush->GetPenRect();
      const String title(kTitle);
      session.window = new Window(&title, kFrameNormal, false, false, 200, 150);
      session.window->SetGlobalBounds({300, 200, 500, 350});
      page = MakeStagePage(2);
      Rect frame;
      page->MakeEditor(&frame, ~session.window, session.window->GetBounds());
      const List& views = session.window->GetSubviews();
      session.pane = CastSmart<CHAPane>(views.At(views.NumItems()));
      // The stage takes the window's keys, as in a page window.
      session.window->SetTarget(~session.pane);
      UndoList undoList(~session.window);
      session.window->AddSink(&undoList);
      session.window->Open(true);
      session.before = Layout(*page);
      const UINT_PTR hand = SetTimer(nullptr, 0, 100, &Hand);
      MSG msg;
      while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      KillTimer(nullptr, hand);
      if (session.step == 3) ReadPainted();
      session.pane->FinishEditing(true);
      app->SetTool(nullptr);
      cursors.reset();
      gToolsDirectory = nullptr;
      session.tools->Close();
      session.tools = nullptr;
      session.window->RemoveSink(&undoList);
      session.window->ClearUndo();
      if (gPixPane) gPixPane->SetIdleChore(0, 0);
      gPixPane = nullptr;
      session.window->RemoveSubview(~session.pane);
      session.pane = nullptr;
      page = nullptr;
      session.window->Close();
      session.window = nullptr;
      session.brush = nullptr;
      gPaintState = nullptr;
      PostQuitMessage(0);
    });
    CPixPane::zoomStepDelay = 50;
    CPixPane::blinkDelay = 100;
    Check(session);
    gSession = nullptr;
    current = nullptr;
    TearDown();
    platform::SetBackend(nullptr);
  }

  static void Check(const Session& s) {
    std::string rounds;
    for (int r : s.reached) rounds += " " + std::to_string(r);
    SCOPED_TRACE("steps reached at rounds" + rounds);
    ASSERT_FALSE(s.dragged.empty()) << "the drag never ended";
    EXPECT_NE(s.dragged.find("1: 70,80,110,110 | 20,30,60,60"), std::string::npos) << s.dragged;
    EXPECT_EQ(s.undone, s.before);
    EXPECT_EQ(s.redone, s.dragged);
    ASSERT_GE(s.step, 2) << "the brush opened no picture on the page";
    ASSERT_EQ(s.step, 3) << "Return did not end the painting";
    ASSERT_FALSE(s.painted.layout.empty()) << "the saved page could not be read";
    // The background, A at its new place, B and C as they were, and the stroke's picture on top.
    EXPECT_EQ(s.painted.layout.substr(0, s.painted.layout.find("\n4:")),
              "0: 0,0,200,150\n1: 70,80,110,110\n2: 100,60,130,90\n3: 150,100,170,120")
        << s.painted.layout;
    ASSERT_EQ(s.painted.sprites, 5) << s.painted.layout;
    EXPECT_TRUE(s.painted.picture);
    EXPECT_EQ(s.painted.name, "") << "a picture smaller than the page is no background";
    EXPECT_TRUE(s.painted.transparent);
    EXPECT_EQ(s.painted.start, 0);
    EXPECT_EQ(s.painted.frames, 1);
    // The picture is cut to what the brush painted along the stroke: every point stamped, nothing beyond
    // the brush's rectangles at the points (whose shape need not fill them).
    Rect stamps;
    for (const Point& p : kStroke) {
      Rect stamp = s.brushStamp;
      stamp.Offset(p.x, p.y);
      stamps = stamps.IsEmpty() ? stamp : stamps.Union(stamp);
      EXPECT_TRUE(s.painted.rect.Contains(p)) << p.x << "," << p.y;
    }
    EXPECT_EQ(s.painted.rect.Intersect(stamps), s.painted.rect) << "painted beyond the stroke";
  }

  static UnderX* current;
};
UnderX* UnderX::current = nullptr;

void DragThenPaintUnderX() { UnderX().Play(); }

const bool gChildRegistered = RegisterXvfbChild("StageUnderX", &DragThenPaintUnderX);

TEST(StageUnderX, ASpriteDraggedThenAStrokePaintedWithTheRealMouseAreInTheSavedPage) {
  const int status = RunXvfbChild("StageUnderX", "800x600x24", "xdotool");
  if (status == -1) GTEST_SKIP() << "xvfb-run or xdotool is missing (scripts/install-deps installs them)";
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace editor_test

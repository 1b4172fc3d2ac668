// A picture brought onto a page and the page's speed set under a real X server, as a child does it:
// xdotool clicks a picture in a clip browser over the stage, then the stage, and the picture lands
// where the stage was clicked; the stage's speed command opens the speed dialog, xdotool drags its
// slider, and the page's rate follows. Both are read back from the page as the program saves it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/Scribe.h"
#include "core/Text1252.h"
#include "editor/CTool.h"
#include "editor/CToolsDir.h"
#include "editor/PaintToolsWindow.h"
#include "editor/app/AuthoringAppTestSupport.h"
#include "editor/browser/BrowserPanes.h"
#include "editor/browser/CBrowser.h"
#include "editor/dialogs/SpeedDialog.h"
#include "editor/stage/CHAPane.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/sprites/CSprite.h"
#include "platform/backend/SdlBackend.h"
#include "platform/user/Message.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"
#include "support/XvfbChild.h"
#include "ui/shell/Clipboard.h"
#include "ui/shell/Signal.h"
#include "ui/views/DocWindow.h"
#include "ui/views/WindowFrame.h"

namespace editor_test {
namespace {

const char* const kTitle = "Quillory vignettes";
// The picture in the browser: 40 x 30 of one colour, smaller than a cell, so drawn centred on white.
constexpr int kPictureWidth = 40, kPictureHeight = 30;
constexpr std::uint32_t kPictureColour = 0x2080C0;
// Ticks of 100 ms the child waits for each step before it gives up.
constexpr int kPatience = 60;

CHAPane* StagePaneIn(View* view) {
  if (auto* pane = CastSmart<CHAPane>(view)) return pane;
  for (std::int32_t i = 1; i <= view->GetSubviews().NumItems(); ++i)
    if (CHAPane* pane = StagePaneIn(CastSmart<View>(view->GetSubviews().At(i)))) return pane;
  return nullptr;
}

HWND HandleOf(Window& window) { return window.GetFrame()->GetHandle(); }

// xdotool, in the background, finds the program's window and clicks at each point in turn (the first
// click on an inactive window only activates it), then takes the pointer off where nothing is looked at
// and leaves the file `done`, so that the next gesture does not start while this one still moves the
// pointer.
void ClickAll(HWND window, const std::vector<Point>& points, const std::filesystem::path& done) {
  std::filesystem::remove(done);
  std::string command = std::string("(timeout 20 xdotool search --sync --name '^") + kTitle + "$' windowfocus --sync %1";
  for (const Point& p : points) {
    const Point at = OnScreen(window, p);
    command += " mousemove --sync --window %1 " + std::to_string(at.x) + " " + std::to_string(at.y) +
               " sleep 0.2 click 1 sleep 0.3";
  }
  command += " mousemove --window %1 1000 740; touch '" + done.string() + "') >/dev/null 2>&1 &";
  EXPECT_EQ(std::system(command.c_str()), 0);
}

// 0xRRGGBB of a pixel of the program's screen as the X server shows it, or -1.
long PixelOnScreen(Point at) {
  const std::string command = std::string("import -window \"$(timeout 10 xdotool search --name '^") + kTitle +
                              "$' | head -n 1)\" -crop 1x1+" + std::to_string(at.x) + "+" + std::to_string(at.y) +
                              " -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-Fa-f]\\{6\\}'";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  char text[16] = "";
  const bool read = std::fgets(text, sizeof text, pipe) != nullptr;
  pclose(pipe);
  return read ? std::strtol(text + 1, nullptr, 16) : -1;
}

struct Road {
  DocWindow* window = nullptr;
  CHAPane* stage = nullptr;
  CBrowser* browser = nullptr;
  SmartRef<CTool> tool;
  Point dropAt;
  std::filesystem::path done;
  std::int32_t spritesBefore = 0;
  SmartRef<SpeedDialog> dialog;
  long thumbnailPixel = -1;
  int step = 0;
  int ticks = 0;
};
Road* gRoad = nullptr;

// The speed dialog the stage's command opened: the front window.
SpeedDialog* OpenSpeedDialog() { return CastSmart<SpeedDialog>(~gApplication->FrontWindow()); }

// Runs on the program's own loop, so that the clicks are taken while xdotool makes them.
void Hand(HWND, UINT, UINT_PTR, DWORD) {
  Road& r = *gRoad;
  ++r.ticks;
  const HWND page = HandleOf(*r.window);
  if (r.step == 0 && r.ticks > 5) {
    // The thumbnail was drawn by the browser's chore and reached the X screen.
    const Rect cell = r.browser->CellRect(1);
    r.thumbnailPixel = PixelOnScreen(OnScreen(page, cell.Center()));
    // A first click in the browser's margin, which hits no cell, then the picture.
    ClickAll(page, {{cell.left - 8, cell.top - 8}, cell.Center()}, r.done);
    r.step = 1;
    r.ticks = 0;
  } else if (r.step == 1 && gToolsDirectory->GetCurrentToolRef() == static_cast<Tool*>(~r.tool) &&
             std::filesystem::exists(r.done)) {
    // The picture waits on the clipboard for a click on the stage.
    r.spritesBefore = r.stage->GetGroup()->GetSpriteCount();
    ClickAll(page, {r.dropAt}, r.done);
    r.step = 2;
    r.ticks = 0;
  } else if (r.step == 2 && r.stage->GetGroup()->GetSpriteCount() == r.spritesBefore + 1 &&
             std::filesystem::exists(r.done)) {
    // The stage's speed command, sent to the stage as a command of the page editor's.
    EXPECT_EQ(r.stage->GetShow()->GetFrameRate(), 15) << "a new page's rate, where the thumb is looked for";
    const SmartRef<GenericSignal> speed(new NumberCommand(2043, nullptr));
    speed->Send(r.stage);
    r.dialog = OpenSpeedDialog();
    ASSERT_TRUE(r.dialog) << "no speed dialog in front";
    const Rect slider = SpeedDialog::kSliderRect;
    // At 15 in 1..60 the thumb of the 360-pixel slider lies about 105 pixels from its left end.
    EXPECT_EQ(std::system(XdotoolDrag(kTitle, HandleOf(*r.dialog), {slider.left - 10, slider.bottom + 20},
                                      {{slider.left + 105, slider.top + 8},
                                       {slider.left + 200, slider.top + 8},
                                       {slider.left + 300, slider.top + 8}})
                              .c_str()),
              0);
    r.step = 3;
    r.ticks = 0;
  } else if (r.step == 3 && r.stage->GetShow()->GetFrameRate() > 40) {
    r.step = 4;
    r.ticks = 0;
  } else if (r.step == 4 && r.ticks > 8) {
    // The release has come and gone: the rate stays where the thumb was let go.
    r.step = 5;
    PostQuitMessage(0);
  } else if (r.ticks > kPatience) {
    PostQuitMessage(0);
  }
}

struct UnderX : AuthoringAppTest {
  void TestBody() override {}
  void Play() {
    setenv("SDL_VIDEODRIVER", "x11", 1);
    SetUp();
    std::string error;
    auto sdl = platform::SdlBackend::Open(kTitle, &error);
    ASSERT_TRUE(sdl) << error;
    platform::SetBackend(std::move(sdl));
    data->WriteSound(5);  // the browser's click
    data->folder.MakeFolder("Clips");
    data->folder.Write("Clips/maison.bmp",
                       BmpBytes(kPictureWidth, kPictureHeight, [](int, int) { return kPictureColour; }));
    const std::string savedAs = data->folder.WinPath("page.zod");
    Road road;
    road.done = data->folder.Path() / "gesture-done";
    gRoad = &road;
    std::int16_t liveRate = 0;
    std::string speedText;
    SmartRef<Smart> saved;
    InAuthoringProgram([&](PaintToolsWindow&) {
      authoring->CHAApp::NewDocument();
      road.window = CastSmart<DocWindow>(~authoring->FrontWindow());
      ASSERT_NE(road.window, nullptr);
      road.stage = StagePaneIn(road.window);
      ASSERT_NE(road.stage, nullptr);
      authoring->SetActivePane(road.stage);
      const Rect stage = road.stage->GetGroup()->GetBounds();
      // The browser lies over a corner of the stage, in the page's window, as the page editor's palette
      // lays it over the stage.
      const Rect client = road.window->GetBounds();
      road.tool = new CTool(kBrowseClip, nullptr, false, nullptr);
      SmartRef<FileReference> folder(new FileReference(data->folder.WinPath("Clips").c_str()));
      const Rect frame(client.left + 4, client.top + 4, client.left + 4 + 96 + 15, client.top + 4 + 80);
      SmartRef<PageBrowserPane> browser(new PageBrowserPane(road.window, *folder, ~road.tool, 64, 48, frame, nullptr));
      road.window->AddSubview(~browser);
      browser->Invalidate(false);
      road.browser = browser->GetBrowser();
      road.dropAt = {stage.left + 150, stage.top + 120};
      const UINT_PTR hand = SetTimer(nullptr, 0, 100, &Hand);
      MSG msg;
      while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      KillTimer(nullptr, hand);
      liveRate = road.stage->GetShow()->GetFrameRate();
      if (road.dialog) {
        speedText = TextOf(road.dialog->GetSpeedText());
        road.dialog->Close();
        road.dialog = nullptr;
      }
      // Saved as the child saves a new page: the save dialog gives the file.
      authoring->onChooseFile = [&](int) -> SmartRef<FileReference> {
        data->folder.Write("page.zod", "");
        return new FileReference(savedAs.c_str());
      };
      road.window->Save(kSaveDocument);
      authoring->onChooseFile = nullptr;
      FileReference file(savedAs.c_str());
      const SmartRef<Scribe> reader = authoring->MakeScribe(file, kFileModeRead);
      ASSERT_TRUE(reader);
      reader->Read(&saved);
      road.window->RemoveSubview(~browser);
      authoring->ClearActivePane(road.stage);
      road.tool = nullptr;
    });
    gRoad = nullptr;
    ASSERT_GE(road.step, 2) << "the picture never reached the clipboard (step " << road.step << ")";
    EXPECT_EQ(road.thumbnailPixel, static_cast<long>(kPictureColour)) << "the thumbnail is not on the screen";
    ASSERT_GE(road.step, 3) << "no picture landed on the stage";
    ASSERT_EQ(road.step, 5) << "the rate never followed the slider";
    EXPECT_GT(liveRate, 40);
    EXPECT_LE(liveRate, 60);
    EXPECT_EQ(speedText, std::to_string(liveRate));

    auto* page = CastSmart<CShow>(~saved);
    ASSERT_NE(page, nullptr) << "the saved file holds no page";
    EXPECT_EQ(page->GetFrameRate(), liveRate);
    auto* group = CastSmart<CMovieGroup>(page->GetMovieGroup());
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->GetSpriteCount(), road.spritesBefore + 1);
    CSprite* landed = group->GetSprite(static_cast<std::int16_t>(group->GetSpriteCount() - 1));
    EXPECT_EQ(TextOf(*landed->GetName()), "maison");
    Rect rect;
    landed->GetFrameGeometry(0, &rect, nullptr);
    EXPECT_EQ(rect, Rect(road.dropAt.x, road.dropAt.y, road.dropAt.x + kPictureWidth, road.dropAt.y + kPictureHeight));
    for (const auto& alert : alerts.Alerts()) ADD_FAILURE() << alert.text;
    TearDown();
    platform::SetBackend(nullptr);
  }
};

void BrowseUnderX() { UnderX().Play(); }

const bool gChildRegistered = RegisterXvfbChild("BrowserUnderX", &BrowseUnderX);

TEST(BrowserUnderX, APictureClickedInTheBrowserLandsWhereTheStageIsClickedAndTheSliderSetsTheRate) {
  const int status = RunXvfbChild("BrowserUnderX", "1024x768x24", "xdotool import");
  if (status == -1) GTEST_SKIP() << "xvfb-run, xdotool or ImageMagick is missing (scripts/install-deps installs them)";
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace editor_test

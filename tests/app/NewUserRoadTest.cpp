// The new user's road: the program started from a folder laid out as scripts/run lays it out, on a real X
// display in a network of its own with a real FTP server on port 21, used from the splash to "Quitter" as
// a child uses it, every step checked on the screen by region; no alert, no crash, and the program ends
// with 0. Once with each server, as they behave differently.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ProgramUnderX.h"
#include "support/Browser.h"
#include "support/TempFolder.h"
#include "support/XvfbChild.h"
#include "support/web/Servers.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;
using web_test::FtpServerKind;

// The program's screen: the main window's caption, its 22-pixel menu bar, and its client area under them.
constexpr int kScreenWidth = 800;
constexpr int kClientTop = 40;
constexpr int kClientHeight = 560;
// Where the welcome dialog's "Nouveau projet" button lies on its picture.
constexpr ScreenPoint kNewProjectButton{137, 115};
constexpr const char* kProject = "Voyage";
constexpr const char* kAddress = "www.exemple.org/voyage";
constexpr const char* kLink = "http://www.exemple.org/voyage";
constexpr std::uint32_t kWhite = 0xFFFFFF;

// The menu bar's titles, counted as the child sees them ("Catégorie" shows only beside the clip browser).
enum MenuTitle { kFileMenu = 0, kPageSizeMenu = 2, kLinkMenu = 3 };
// The lines of "Fichier", separators left out.
constexpr int kFileMenuLines = 10;
constexpr int kCompileItem = 6;
constexpr int kPublishItem = 7;
constexpr std::uint32_t kBlack = 0x000000;
// The publish dialog's provider pop-up and the fields of its advanced part, found by their top edges.
constexpr int kProviderPopupWidth = 160;
constexpr int kAdvancedFieldWidth = 200;

// The desk's column of page buttons (Data/1551.bmp, buttons of 133 x 78 numbered from 28) and the page
// palettes over the page (Data/1501.bmp to 1541.bmp, five buttons of 86 x 50 each, the chosen one drawn
// from the next picture).
constexpr int kPanelWidth = 133;
constexpr int kPanelButtonHeight = 78;
constexpr int kPaletteButtonWidth = 86;
constexpr int kPaletteHeight = 50;
enum PanelButton { kPagesButton = 28, kSceneryButton = 29, kMakeButton = 30, kPublishButton = 32 };
// The page buttons used on the road, by their place in their row.
enum PaletteButton { kArrow = 0, kBackgrounds = 1, kPaint = 2, kClipArt = 3, kHome = 3 };

// Waits of the road: the splash stays between 5 and 6 seconds; a debug build with the sanitizers takes
// a few seconds to start, and longer for each picture it reads.
constexpr int kStartMs = 30000;
constexpr int kStepMs = 15000;

class Road {
 public:
  Road(RunningProgram& program, const fs::path& folder) : program(program), data(folder / "Data") {
    static constexpr int kFirstPictures[] = {1501, 1511, 1521, 1531, 1541};
    for (int page = 0; page < 5; ++page) {
      const ColourPicture plain = ReadPicture(data / (std::to_string(kFirstPictures[page]) + ".bmp"));
      const ColourPicture chosen = ReadPicture(data / (std::to_string(kFirstPictures[page] + 1) + ".bmp"));
      otherButtons[page] = Crop(plain, {kPaletteButtonWidth, 0, 4 * kPaletteButtonWidth, kPaletteHeight});
      firstChosen[page] = Crop(chosen, {0, 0, kPaletteButtonWidth, kPaletteHeight});
    }
  }

  // The page palette of the palette page p (0 to 4) with its first button chosen, as the page shows it
  // right above its top-left corner.
  bool PaletteShown(const ColourPicture& shot, int page) const {
    const ScreenPoint top{stage.x, stage.y - kPaletteHeight};
    return otherButtons[page].width > 0 &&
           ShownShare(shot, otherButtons[page], {top.x + kPaletteButtonWidth, top.y}) == 1.0 &&
           ShownShare(shot, firstChosen[page], top) == 1.0;
  }
  ScreenPoint PaletteButtonAt(int place) const {
    return {stage.x + place * kPaletteButtonWidth + kPaletteButtonWidth / 2, stage.y - kPaletteHeight / 2};
  }
  ScreenPoint PanelButtonAt(int number) const {
    return {panel.x + kPanelWidth / 2, panel.y + (number - kPagesButton) * kPanelButtonHeight + kPanelButtonHeight / 2};
  }
  // The desk's column, found by its last button (never chosen on the road before it is found).
  bool FindPanel(const ColourPicture& shot) {
    const ColourPicture column = ReadPicture(data / "1551.bmp");
    const int last = (kPublishButton - kPagesButton) * kPanelButtonHeight;
    const std::optional<ScreenPoint> at = FindPicture(shot, Crop(column, {0, last, kPanelWidth, kPanelButtonHeight}));
    if (at) panel = {at->x, at->y - last};
    return at.has_value();
  }
  // A click on a start-panel button, then the palette of its page over the page.
  bool ChoosePalettePage(int number, ColourPicture* shot) {
    program.Click(PanelButtonAt(number));
    return program.WaitForShot([&](const ColourPicture& s) { return PaletteShown(s, number - kPagesButton); }, kStepMs,
                               shot);
  }
  Region StageRegion() const { return {stage.x, stage.y, 480, 360}; }

  ScreenPoint stage;
  ScreenPoint panel;

 private:
  RunningProgram& program;
  fs::path data;
  ColourPicture otherButtons[5];
  ColourPicture firstChosen[5];
};

ScreenPoint Centre(ScreenPoint topLeft, const ColourPicture& picture) {
  return {topLeft.x + picture.width / 2, topLeft.y + picture.height / 2};
}

// The colour most of the changed pixels of the region took, and how many took it.
std::pair<std::uint32_t, int> ChangedColour(const ColourPicture& before, const ColourPicture& after, Region region) {
  std::map<std::uint32_t, int> counts;
  if (before.width != after.width || before.height != after.height) return {0, 0};
  for (int y = region.y; y < region.y + region.height; ++y)
    for (int x = region.x; x < region.x + region.width; ++x) {
      const std::size_t i =
          static_cast<std::size_t>(y) * static_cast<std::size_t>(after.width) + static_cast<std::size_t>(x);
      if (after.pixels[i] != before.pixels[i]) ++counts[after.pixels[i]];
    }
  std::pair<std::uint32_t, int> most{0, 0};
  for (const auto& [colour, count] : counts)
    if (count > most.second) most = {colour, count};
  return most;
}

// How many pixels of the picture lie within `tolerance` of the colour on each channel.
int PixelsNear(const ColourPicture& picture, std::uint32_t colour, int tolerance) {
  int count = 0;
  for (const std::uint32_t p : picture.pixels) {
    bool near = true;
    for (const int shift : {16, 8, 0})
      near = near &&
             std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((colour >> shift) & 0xFF)) <= tolerance;
    count += near;
  }
  return count;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Waits, at most the given time, for something the screen does not show (files, the program's log).
bool WaitUntil(const std::function<bool()>& done, int milliseconds) {
  for (int waited = 0; waited < milliseconds && !done(); waited += 200)
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  return done();
}

void WalkTheRoad(FtpServerKind kind) {
  TempFolder work;
  web_test::FtpServer server;
  std::string why;
  ASSERT_TRUE(server.Start(kind, work.Path(), &why)) << why;
  const fs::path folder = work.Path() / "program";
  ASSERT_TRUE(LayOutProgramFolder(folder)) << "scripts/lay-out-program failed";
  const ColourPicture splash = ReadPicture(folder / "Data" / "1422.bmp");
  const ColourPicture welcome = ReadPicture(folder / "Data" / "1421.bmp");
  ASSERT_GT(splash.width, 0);
  ASSERT_GT(welcome.width, 0);
  const fs::path project = folder / "Projets" / kProject;

  RunningProgram program(folder);
  Road road(program, folder);
  ASSERT_TRUE(program.FindWindow(kStartMs)) << "no window titled Quillory\n" << program.Log();
  ColourPicture shot;

  // The splash: its picture whole, in the middle of the client area.
  ASSERT_TRUE(
      program.WaitForShot([&](const ColourPicture& s) { return FindPicture(s, splash).has_value(); }, kStartMs, &shot))
      << "no splash\n"
      << program.Log();
  const ScreenPoint splashAt = *FindPicture(shot, splash);
  EXPECT_NEAR(splashAt.x + splash.width / 2, kScreenWidth / 2, 8);
  EXPECT_NEAR(splashAt.y + splash.height / 2, kClientTop + kClientHeight / 2, 8);

  // The welcome takes its place: its picture under its texts and buttons, the splash gone.
  std::optional<ScreenPoint> welcomeAt;
  ASSERT_TRUE(program.WaitForShot(
      [&](const ColourPicture& s) {
        welcomeAt = FindPicture(s, welcome, 0.5);
        return welcomeAt && !FindPicture(s, splash);
      },
      kStepMs, &shot))
      << "no welcome after the splash\n"
      << program.Log();

  // "Nouveau projet": the name dialog, its field holding the default name selected, which the typed name
  // replaces.
  const ColourPicture atWelcome = shot;
  program.Click({welcomeAt->x + kNewProjectButton.x, welcomeAt->y + kNewProjectButton.y});
  ASSERT_TRUE(
      program.WaitForShot([&](const ColourPicture& s) { return !FindPicture(s, welcome, 0.5); }, kStepMs, &shot))
      << "the name dialog did not open over the welcome";
  const ColourPicture nameDialog = shot;
  program.Type(kProject);
  ASSERT_TRUE(program.WaitForShot(
      [&](const ColourPicture& s) {
        return DifferingPixels(s, nameDialog, {0, kClientTop, kScreenWidth, kClientHeight}) > 50;
      },
      kStepMs, &shot))
      << "the typed name does not show";
  program.Key("Return");

  // The project: its folder under its lock, and its first page, empty, exactly 480 x 360 in the page
  // window, under the palette of the desk's button chosen for a new page (page 1: the scenery).
  std::optional<ScreenPoint> page;
  ASSERT_TRUE(program.WaitForShot(
      [&](const ColourPicture& s) {
        page = FindBlock(s, 480, 360, kWhite);
        return page && !FindBlock(s, 481, 360, kWhite) && !FindBlock(s, 480, 361, kWhite);
      },
      kStepMs, &shot))
      << "no empty page of 480 x 360\n"
      << program.Log();
  road.stage = *page;
  EXPECT_TRUE(fs::exists(project / "lockinfo.lok"));
  EXPECT_GT(DifferingPixels(shot, atWelcome, {0, kClientTop, kScreenWidth, kClientHeight}), 100000)
      << "the welcome is still there";
  ASSERT_TRUE(road.FindPanel(shot)) << "no start panel on the desk";
  EXPECT_TRUE(road.PaletteShown(shot, kSceneryButton - kPagesButton)) << "no scenery palette over the page";

  // The project's index page, through the last page of the palette and its home button: the program
  // names it and makes the project's "HTML" folder, and the window's title says so. (The new project's
  // first page is named only by a save dialog; the index page needs none to be compiled.)
  ASSERT_TRUE(road.ChoosePalettePage(kPublishButton, &shot)) << "no publishing palette";
  const Region caption{road.stage.x, road.stage.y - kPaletteHeight - 16, 480, 14};
  const ColourPicture untitled = shot;
  program.Click(road.PaletteButtonAt(kHome));
  ASSERT_TRUE(program.WaitForShot([&](const ColourPicture& s) { return DifferingPixels(s, untitled, caption) > 20; },
                                  kStepMs, &shot))
      << "the home button did not show the index page\n"
      << program.Log();
  EXPECT_TRUE(fs::exists(project / "index.zod"));
  EXPECT_TRUE(fs::is_directory(project / "HTML"));
  EXPECT_TRUE(FindBlock(shot, 480, 360, kWhite)) << "the index page is not empty";

  // A background from "Fonds": the browser over the page shows the folder's thumbnails; the sea's, clicked,
  // becomes the page's background.
  const ColourPicture sea = ReadPicture(folder / "Fonds" / "Mer 480x360.bmp");
  const ColourPicture seaThumbnail = ReadPicture(folder / "Fonds" / "Mer 480x360.bmp", 80, 60);
  ASSERT_GT(sea.width, 0);
  ASSERT_TRUE(road.ChoosePalettePage(kSceneryButton, &shot)) << "no scenery palette";
  program.Click(road.PaletteButtonAt(kBackgrounds));
  std::optional<ScreenPoint> thumbnail;
  ASSERT_TRUE(program.WaitForShot(
      [&](const ColourPicture& s) {
        return (thumbnail = FindLikeness(s, seaThumbnail, road.StageRegion(), 24)).has_value();
      },
      kStepMs, &shot))
      << "no browser of the backgrounds over the page\n"
      << program.Log();
  program.Click(Centre(*thumbnail, seaThumbnail));
  ASSERT_TRUE(
      program.WaitForShot([&](const ColourPicture& s) { return Unlikeness(s, sea, road.stage) < 4; }, kStepMs, &shot))
      << "the page does not show the sea\n"
      << program.Log();

  // A clip from "Vignette": its browser opens on the default category, "Around the World"; the globe,
  // clicked and then placed with a click on the page, shows there, its white left out, its top-left
  // corner at the click.
  const fs::path globeFile = folder / "Vignette" / "Around the World" / "Globe.bmp";
  const ColourPicture globe = ReadPicture(globeFile);
  const ColourPicture globeThumbnail = ReadPicture(globeFile, 60, 60);
  ASSERT_GT(globe.width, 0);
  program.Click(road.PaletteButtonAt(kClipArt));
  ASSERT_TRUE(program.WaitForShot(
      [&](const ColourPicture& s) {
        return (thumbnail = FindLikeness(s, globeThumbnail, road.StageRegion(), 24)).has_value();
      },
      kStepMs, &shot))
      << "no browser of the clips over the page\n"
      << program.Log();
  program.Click(Centre(*thumbnail, globeThumbnail));
  ASSERT_TRUE(
      program.WaitForShot([&](const ColourPicture& s) { return Unlikeness(s, sea, road.stage) < 4; }, kStepMs, &shot))
      << "the clip browser stays over the page\n"
      << program.Log();
  const ScreenPoint globeAt{road.stage.x + 110, road.stage.y + 137};
  program.Click(globeAt);
  ASSERT_TRUE(program.WaitForShot([&](const ColourPicture& s) { return ShownShare(s, globe, globeAt, kWhite) > 0.9; },
                                  kStepMs, &shot))
      << "the globe is not on the page\n"
      << program.Log();

  // A brush stroke: the painting page of the palette, its painting button (the tools window opens under
  // the page window), a zigzag dragged across the sea in the brush's colour, which stays on the page when
  // the arrow ends the painting.
  ASSERT_TRUE(road.ChoosePalettePage(kMakeButton, &shot)) << "no palette of the making page";
  const ColourPicture beforePainting = shot;
  const Region belowPage{road.stage.x, road.stage.y + 362, 480, 80};
  program.Click(road.PaletteButtonAt(kPaint));
  ASSERT_TRUE(program.WaitForShot(
      [&](const ColourPicture& s) { return DifferingPixels(s, beforePainting, belowPage) > 2000; }, kStepMs, &shot))
      << "no tools window under the page\n"
      << program.Log();
  const ColourPicture paintMode = shot;
  const Region strokeBand{road.stage.x + 30, road.stage.y + 240, 420, 40};
  // Each point of the zigzag is reached once the stroke shows up to the one before: the program may be
  // slower than the hand, and it draws to where the mouse is, not through where it went.
  ColourPicture drawn = paintMode;
  for (int n = 0; n < 6; ++n) {
    const ScreenPoint point{road.stage.x + 40 + 76 * n, road.stage.y + (n % 2 == 0 ? 250 : 270)};
    if (n == 0) {
      program.Press(point);
    } else {
      program.MoveTo(point);
    }
    ASSERT_TRUE(program.WaitForShot([&](const ColourPicture& s) { return DifferingPixels(s, drawn, strokeBand) > 0; },
                                    kStepMs, &shot))
        << "the brush draws nothing at point " << n << "\n"
        << program.Log();
    drawn = shot;
  }
  program.Release();
  std::pair<std::uint32_t, int> stroke;
  ASSERT_TRUE(program.WaitForShot(
      [&](const ColourPicture& s) { return (stroke = ChangedColour(paintMode, s, strokeBand)).second > 800; }, kStepMs,
      &shot))
      << "no stroke where the brush went\n"
      << program.Log();
  program.Click(road.PaletteButtonAt(kArrow));
  ASSERT_TRUE(program.WaitForShot(
      [&](const ColourPicture& s) {
        return DifferingPixels(s, beforePainting, belowPage) == 0 && PixelsOfColour(s, strokeBand, stroke.first) > 800;
      },
      kStepMs, &shot))
      << "the stroke did not stay on the page, or the tools window did not go\n"
      << program.Log();

  // A web link through "Lien": "URL..." opens the link dialog over the stroke, still selected; the address
  // typed and its "OK" close it.
  const ColourPicture linkTitle = ReadPicture(folder / "Data" / "1802.bmp");
  const ColourPicture okButton = ReadPicture(folder / "Data" / "1700.bmp");
  ASSERT_TRUE(program.ChooseMenuItem(kLinkMenu, 0, 2)) << "no \"Lien\" menu of two items";
  ASSERT_TRUE(program.WaitForShot([&](const ColourPicture& s) { return FindPicture(s, linkTitle).has_value(); },
                                  kStepMs, &shot))
      << "no web link dialog\n"
      << program.Log();
  const ColourPicture emptyLink = shot;
  program.Type(kAddress);
  ASSERT_TRUE(program.WaitForShot(
      [&](const ColourPicture& s) {
        return DifferingPixels(s, emptyLink, {0, kClientTop, kScreenWidth, kClientHeight}) > 100;
      },
      kStepMs, &shot))
      << "the typed address does not show";
  const std::optional<ScreenPoint> ok = FindPicture(shot, okButton);
  ASSERT_TRUE(ok) << "no OK button in the link dialog";
  program.Click(Centre(*ok, okButton));
  ASSERT_TRUE(program.WaitForShot([&](const ColourPicture& s) { return !FindPicture(s, linkTitle); }, kStepMs, &shot))
      << "the link dialog stays\n"
      << program.Log();

  // "Créer une source HTML": the "HTML" folder holds the page, its JPEG and its map, with the link on the
  // stroke's place and in the text bar; a real browser shows the stroke and the link.
  ASSERT_TRUE(program.ChooseMenuItem(kFileMenu, kCompileItem, kFileMenuLines)) << "no \"Fichier\" menu as expected";
  const fs::path html = project / "HTML" / "index.htm";
  const auto compiled = [&] {
    return fs::exists(project / "HTML" / "index.jpg") && Contains(web_test::ReadAll(html), "</HTML>");
  };
  ASSERT_TRUE(WaitUntil(compiled, kStepMs)) << "no page in \"HTML\"\n" << program.Log();
  const std::string pageText = web_test::ReadAll(html);
  EXPECT_TRUE(Contains(pageText, "USEMAP = \"#index\"")) << pageText;
  EXPECT_TRUE(Contains(pageText, "<AREA SHAPE=\"RECT\"") && Contains(pageText, std::string("HREF=\"") + kLink + "\">"))
      << pageText;
  const BrowserView view = ViewInBrowser(html, 800, 600);
  ASSERT_TRUE(view.loaded) << view.error;
  EXPECT_TRUE(Contains(view.dom, std::string("href=\"") + kLink + "\"")) << view.dom;
  EXPECT_GT(PixelsNear(view.screenshot, stroke.first, 60), 400) << "the browser does not show the stroke";
  // Unvisited links are drawn in the browser's own blue.
  EXPECT_GT(PixelsNear(view.screenshot, 0x0000EE, 40), 20) << "the browser does not show the link";

  // "Publier..." to the FTP server of 127.0.0.1. The public-site warning, then the publish dialog: the
  // password typed over the one it shows, Tab to the account, typed too; the triangle beside the provider
  // pop-up opens the advanced part, where the host and the server's folder are typed over the default
  // destination's. The server's tree is then the "HTML" folder, byte for byte, less the author's
  // details, in a folder named after the project.
  ASSERT_TRUE(program.ChooseMenuItem(kFileMenu, kPublishItem, kFileMenuLines)) << "no \"Fichier\" menu as expected";
  const Region client{0, kClientTop, kScreenWidth, kClientHeight};
  std::vector<ScreenPoint> popup;
  ASSERT_TRUE(program.WaitForShot(
      [&](const ColourPicture& s) {
        return !(popup = HorizontalLines(s, client, kBlack, kProviderPopupWidth, kProviderPopupWidth)).empty();
      },
      kStepMs, &shot))
      << "no publish dialog\n"
      << program.Log();
  program.Type(server.Password());
  program.Key("Tab");
  program.Type(server.Account());
  program.Click({popup[0].x + kProviderPopupWidth + 6, popup[0].y + 7});
  std::vector<ScreenPoint> advanced;
  ASSERT_TRUE(program.WaitForShot(
      [&](const ColourPicture& s) {
        return (advanced = HorizontalLines(s, client, kBlack, kAdvancedFieldWidth, kAdvancedFieldWidth)).size() >= 6;
      },
      kStepMs, &shot))
      << "the advanced part does not show whole\n"
      << program.Log();
  // Each field's top and bottom edges, from the host's down.
  const std::string destination[] = {"127.0.0.1", "/" + server.WritableFolder()};
  for (int field = 0; field < 2; ++field) {
    program.Click({advanced[static_cast<std::size_t>(2 * field)].x + kAdvancedFieldWidth / 2,
                   advanced[static_cast<std::size_t>(2 * field)].y + 8});
    program.Key("End");
    program.Key("--repeat 40 BackSpace");
    program.Type(destination[field]);
  }
  // Back to the account, a one-line field, whose Enter publishes.
  program.Key("Tab");
  const ColourPicture filled = program.Shot();
  program.Key("Return");
  std::vector<std::string> sent;
  for (const fs::directory_entry& entry : fs::directory_iterator(project / "HTML"))
    if (entry.path().filename() != "webtext.txt") sent.push_back(entry.path().filename().string());
  ASSERT_TRUE(server.WaitForStored(sent.size(), 3 * kStepMs)) << web_test::ReadAll(server.LogPath()) << program.Log();
  // The publishing ends with the message naming the site's address.
  ASSERT_TRUE(WaitUntil([&] { return program.Alerts().size() == 2; }, kStepMs)) << program.Log();
  ASSERT_TRUE(program.WaitForShot([&](const ColourPicture& s) { return DifferingPixels(s, filled, client) > 1000; },
                                  kStepMs, &shot))
      << "the publish dialog stays\n"
      << program.Log();
  EXPECT_TRUE(fs::exists(project / "HTML" / "webtext.txt"));
  std::vector<std::string> stored;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(server.Files()))
    if (!entry.is_directory()) stored.push_back(fs::relative(entry.path(), server.Files()).generic_string());
  std::vector<std::string> expected;
  for (const std::string& name : sent) expected.push_back(std::string(kProject) + "/" + name);
  std::sort(stored.begin(), stored.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(stored, expected);
  for (const std::string& name : sent)
    EXPECT_EQ(web_test::ReadAll(server.Files() / kProject / name), web_test::ReadAll(project / "HTML" / name)) << name;

  // "600x450" of "Résolution": the page grows to 600 x 450, its background stretched over it.
  ASSERT_TRUE(program.ChooseMenuItem(kPageSizeMenu, 1, 3)) << "no \"Résolution\" menu of three sizes";
  const ColourPicture largeSea = ReadPicture(folder / "Fonds" / "Mer 480x360.bmp", 600, 450);
  ASSERT_TRUE(program.WaitForShot([&](const ColourPicture& s) { return Unlikeness(s, largeSea, road.stage) < 12; },
                                  kStepMs, &shot))
      << "the page is not 600 x 450\n"
      << program.Log();

  // "Quitter", the last item of "Fichier". The only alerts were the two of publishing: the warning that
  // the site will be public, and the address where it can be seen.
  ASSERT_TRUE(program.ChooseMenuItem(kFileMenu, -1)) << "no \"Fichier\" menu";
  EXPECT_EQ(program.WaitForExit(kStepMs), 0) << program.Log();
  const std::vector<std::string> alerts = program.Alerts();
  ASSERT_EQ(alerts.size(), 2u) << program.Log();
  EXPECT_TRUE(Contains(alerts[0], "publier ton projet sur le Web")) << alerts[0];
  EXPECT_TRUE(Contains(alerts[1], kProject)) << alerts[1];
}

const bool gRoadWithPyftpdlib =
    RegisterXvfbChild("NewUserRoadPyftpdlib", [] { WalkTheRoad(FtpServerKind::kPyftpdlib); });
const bool gRoadWithVsftpd = RegisterXvfbChild("NewUserRoadVsftpd", [] { WalkTheRoad(FtpServerKind::kVsftpd); });

class NewUserRoad : public ::testing::TestWithParam<FtpServerKind> {};

// The display and everything on it live in the private network: the server, the program and xdotool.
TEST_P(NewUserRoad, FromTheSplashToQuitter) {
  std::string why;
  if (!web_test::EnterPrivateNetwork(&why)) GTEST_SKIP() << why;
  const std::string child = GetParam() == FtpServerKind::kPyftpdlib ? "NewUserRoadPyftpdlib" : "NewUserRoadVsftpd";
  // Every step has its own bound; on a machine busy with other suites the whole road takes minutes, which
  // the suite's own limit of five minutes a test still holds.
  const int status = RunXvfbChild(child.c_str(), "1024x768x24", "xdotool import", 280);
  if (status == -1) GTEST_SKIP() << "xvfb-run, xdotool or import is missing (scripts/install-deps installs them)";
  EXPECT_EQ(status, 0);
}

INSTANTIATE_TEST_SUITE_P(Servers, NewUserRoad, ::testing::Values(FtpServerKind::kPyftpdlib, FtpServerKind::kVsftpd),
                         [](const auto& info) { return web_test::FtpServerName(info.param); });

}  // namespace
}  // namespace app_test

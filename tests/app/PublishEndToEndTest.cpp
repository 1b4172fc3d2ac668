// A child's three pages from the project folder to a reader's browser: the pages made by the program's own
// classes, compiled by the running program, and its web pages opened in headless Chromium, which follows
// their links from the front page.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/AppTestSupport.h"
#include "app/DromelApp.h"
#include "app/page/AppPages.h"
#include "app/page/DromelWindow.h"
#include "editor/stage/CHAPane.h"
#include "engine/page/CMovieGroup.h"
#include "core/FileReference.h"
#include "engine/links/CJump.h"
#include "engine/links/CLink.h"
#include "engine/page/CShow.h"
#include "engine/page/SolidPicture.h"
#include "engine/sprites/CSprite.h"
#include "platform/kernel/Codepage.h"
#include "support/Browser.h"
#include "web/PageTestSupport.h"
#include "web/html/LinkHREF.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;
using engine_test::SolidPicture;

constexpr const char* kProject = "Voyage";
constexpr int kPageWidth = 480;
constexpr int kPageHeight = 360;
// The third page's name, as the child typed it (UTF-8 here, the program's code page inside it).
constexpr const char* kThirdPage = "mon été";

// What the browser is to find, page by page, as the check below writes it: the page reached, its
// pictures with their sizes, its map's areas and its bar's links (files of the folder by name, other
// addresses as they stand), and the bar's text.
constexpr const char* kSiteInBrowser =
    "page index.htm\n"
    "picture index.jpg 480x360\n"
    "area deux.htm\n"
    "area index.wav\n"
    "link deux.htm\n"
    "link index.wav\n"
    "text \" [ deux | Son ] \"\n"
    "page deux.htm\n"
    "picture deux.jpg 480x360\n"
    "area http://www.exemple.org/jeux/\n"
    "area mailto:zoe@exemple.org\n"
    "area mon__t_.htm\n"
    "link http://www.exemple.org/jeux/\n"
    "link mailto:zoe@exemple.org\n"
    "link mon__t_.htm\n"
    "text \" [ jeux | zoe@exemple.org | mon été ] \"\n"
    "page mon__t_.htm\n"
    "picture mon__t_.jpg 480x360";

// Opens the front page and goes where its map leads, as a reader clicking on the pictures: every page
// reached is described once.
constexpr const char* kFollowTheSite = R"(
const out = [];
const visited = new Set(["index.htm"]);
const named = (href) => href.startsWith(base) ? decodeURIComponent(href.slice(base.length)) : href;
async function visit(name, doc) {
  out.push("page " + name);
  for (const picture of doc.images)
    out.push("picture " + named(picture.src) + " " + picture.naturalWidth + "x" + picture.naturalHeight);
  const areas = Array.from(doc.querySelectorAll("map area"));
  for (const area of areas) out.push("area " + named(area.href));
  const bar = doc.querySelector("hr + center");
  if (bar) {
    for (const link of bar.querySelectorAll("a")) out.push("link " + named(link.href));
    out.push("text \"" + bar.textContent + "\"");
  }
  for (let i = 0; i < areas.length; ++i) {
    const target = named(areas[i].href);
    if (!target.endsWith(".htm") || visited.has(target)) continue;
    visited.add(target);
    const again = await open(name);
    const reached = await follow(again.querySelectorAll("map area")[i]);
    await visit(named(frame.contentWindow.location.href), reached);
  }
}
await visit("index.htm", await open("index.htm"));
return out.join("\n");
)";

SmartRef<CLink> AddressLink(const char* address) {
  const SmartRef<CLink> link = new CLink();
  link->SetHref(new LinkHREF(String(address)));
  return link;
}

class PublishEndToEnd : public DromelAppTest {
 protected:
  void SetUp() override {
    DromelAppTest::SetUp();
    // The project as the welcome dialog lists it, with one empty page for the page window to show first;
    // its pages are written once the window is up.
    MakeProject(kProject, {{kThirdPage, 1000000000}});
  }

  // The project's page file of that name (UTF-8), as the program names it.
  FileReference PageFile(const std::string& name) const {
    return FileReference(
        data->folder.WinPath(std::string("Projets/") + kProject + "/" + platform::Utf8ToCp1252(name) + ".zod").c_str());
  }
  SmartRef<CLink> PageLink(const std::string& name) const {
    const SmartRef<CLink> link = new CLink();
    link->SetJump(new CJumpMovie(PageFile(name)));
    link->SetKind(CLink::kPage);
    return link;
  }

  // The pages lie where the page window's stage puts the pages it shows, as a page the child made there
  // would.
  Point origin;
  // A page of the default size over a background of the colour.
  SmartRef<CShow> Page(int background) const {
    const SmartRef<CMovieGroup> group = new CMovieGroup(Rect::FromSizeAndOrigin({kPageWidth, kPageHeight}, origin));
    const SmartRef<CShow> page = new CShow(~group, false);
    Sprite(*page, *SolidPicture(kPageWidth, kPageHeight, background), {0, 0})->ToggleBackgroundFlag(true);
    return page;
  }
  CSprite* Sprite(CShow& page, CMovie& picture, Point topLeft) const {
    return AddSpriteAt(GroupOf(page), picture, 1, {origin.x + topLeft.x, origin.y + topLeft.y});
  }

  // The front page leads to the second and plays a sound; the second leads to a web site, to an e-mail
  // address and to the third, whose name has a blank and an accent. A link names a page that exists, so
  // the pages are made from the last.
  void MakeVoyage() {
    WriteProjectPage(kProject, kThirdPage, *Page(12));

    const SmartRef<CShow> second = Page(11);
    Sprite(*second, *SolidPicture(100, 80, 4), {20, 20})->SetLink(0, 1, ~AddressLink("http://www.exemple.org/jeux/"));
    Sprite(*second, *SolidPicture(100, 80, 5), {160, 20})->SetLink(0, 1, ~AddressLink("mailto:zoe@exemple.org"));
    Sprite(*second, *SolidPicture(100, 80, 6), {300, 20})->SetLink(0, 1, ~PageLink(kThirdPage));
    WriteProjectPage(kProject, "deux", *second);

    const SmartRef<CShow> index = Page(10);
    Sprite(*index, *SolidPicture(120, 90, 4), {40, 40})->SetLink(0, 1, ~PageLink("deux"));
    Sprite(*index, *SolidPicture(60, 60, 5), {300, 200})->SetSound(0, 1, ~web_test::FixtureSound("mono8-11025.wav"));
    WriteProjectPage(kProject, "index", *index);
  }

  // Opens the project from the welcome dialog, makes its pages and shows the front page in the page
  // window, then runs the body in the program. The script waits for the body's end: the progress dialogs
  // it opens are modal, and the script would otherwise go on (and quit) from inside their loops.
  void InVoyage(const std::function<void()>& body) {
    bool done = false;
    RunDromel({{&FrontIsWelcome, [] { ChooseProject(kProject); }},
               {&StartupOver,
                [&] {
                  struct Done {
                    bool& done;
                    ~Done() { done = true; }
                  } ending{done};
                  auto* window = CastSmart<DromelWindow>(Front());
                  ASSERT_TRUE(window && window->GetStagePane());
                  origin = window->GetStagePane()->GetGroup()->GetBounds().TopLeft();
                  MakeVoyage();
                  gDromelApp->OpenFile(new FileReference(PageFile("index")), false, false);
                  auto* shown = CastSmart<CShow>(CastSmart<DromelWindow>(Front())->GetDocument());
                  ASSERT_TRUE(shown);
                  ASSERT_EQ(GroupOf(*shown).GetSpriteCount(), 3) << "the front page is the one made here";
                  body();
                }},
               {[&] { return done; }, {}}});
  }

  fs::path Html() const { return fs::path(ProjectsPath(kProject)) / "HTML"; }

  // Chromium over the site in the folder: the pages reached from the front page, their pictures shown
  // whole, every area and bar link that names a file naming one of the folder's.
  static void CheckSiteInBrowser(const fs::path& site) {
    const BrowserAnswer answer = RunInBrowser(site, kFollowTheSite);
    ASSERT_TRUE(answer.ran) << answer.error;
    EXPECT_EQ(answer.text, kSiteInBrowser);
    std::istringstream lines(answer.text);
    for (std::string line; std::getline(lines, line);) {
      const std::size_t blank = line.find(' ');
      const std::string kind = line.substr(0, blank);
      if (kind != "picture" && kind != "area" && kind != "link") continue;
      std::string target = line.substr(blank + 1);
      target = target.substr(0, target.find(' '));
      if (target.rfind("http:", 0) == 0 || target.rfind("mailto:", 0) == 0) continue;
      EXPECT_TRUE(fs::is_regular_file(site / target)) << line;
    }
  }
};

TEST_F(PublishEndToEnd, TheCompiledProjectOpensInABrowserWithEveryLinkAndPicture) {
  InVoyage([] { ASSERT_TRUE(gDromelApp->CompileHtml()); });
  for (const RecordedAlert& alert : alerts.Alerts()) ADD_FAILURE() << "alert: " << alert.text;
  CheckSiteInBrowser(Html());
}

}  // namespace
}  // namespace app_test

// A child's three pages from the project folder to a reader's browser: the pages made by the program's own
// classes, published by the running program to a real FTP server, and the web pages on the server opened
// in headless Chromium, which follows their links from the front page.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/AppTestSupport.h"
#include "app/DromelApp.h"
#include "app/DromelResources.h"
#include "app/page/AppPages.h"
#include "app/page/DromelWindow.h"
#include "app/publish/PublishDialog.h"
#include "core/FileReference.h"
#include "core/Text1252.h"
#include "editor/stage/CHAPane.h"
#include "engine/links/CJump.h"
#include "engine/links/CLink.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/page/SolidPicture.h"
#include "engine/sprites/CSprite.h"
#include "platform/kernel/Codepage.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "support/Browser.h"
#include "support/TempFolder.h"
#include "support/web/Servers.h"
#include "ui/controls/PopupControl.h"
#include "ui/text/TextView.h"
#include "web/PageTestSupport.h"
#include "web/html/LinkHREF.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;
using engine_test::SolidPicture;
using web_test::FtpServerKind;

constexpr const char* kProject = "Voyage";
constexpr int kPageWidth = 480;
constexpr int kPageHeight = 360;
// The third page's name, as the child typed it (UTF-8 here, the program's code page inside it).
constexpr const char* kThirdPage = "mon été";

// What the browser is to find, page by page, as the check below writes it: the page reached, its
// pictures with their sizes, its map's areas with their rectangles and its bar's links (files of the
// folder by name, other addresses as they stand), and the bar's text.
constexpr const char* kSiteInBrowser =
    "page index.htm\n"
    "picture index.jpg 480x360\n"
    "area deux.htm 40,40,160,130\n"
    "area index.wav 300,200,360,260\n"
    "link deux.htm\n"
    "link index.wav\n"
    "text \" [ deux | Son ] \"\n"
    "page deux.htm\n"
    "picture deux.jpg 480x360\n"
    "area http://www.exemple.org/jeux/ 20,20,120,100\n"
    "area mailto:zoe@exemple.org 160,20,260,100\n"
    "area mon__t_.htm 300,20,400,100\n"
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
  for (const area of areas) out.push("area " + named(area.href) + " " + area.coords);
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

// The project published through the program's own "Publier" to each of the two servers in the test's
// network, the warning and the dialog answered as the child answers them.
class PublishEndToEnd : public DromelAppTest, public ::testing::WithParamInterface<FtpServerKind> {
 protected:
  void SetUp() override {
    DromelAppTest::SetUp();
    std::string why;
    if (!web_test::EnterPrivateNetwork(&why)) GTEST_SKIP() << why;
    // Compiling three pages and sending them, with the sanitizers, on a machine that runs other suites.
    scriptTimeLimitMs = 60000;
    ASSERT_TRUE(server.Start(GetParam(), serverWork.Path(), &why)) << why;
    // The school's server in the provider list, its folder where this server lets the child write.
    data->folder.Write("FDA/ecole.txt", std::string("1\r\n") + kProvider + "|127.0.0.1|/" + server.WritableFolder() +
                                            "|http://ecole.exemple.org/~%1\r\n");
    // The project as the welcome dialog lists it, with one empty page for the page window to show first;
    // its pages are written once the window is up.
    MakeProject(kProject, {{kThirdPage, 1000000000}});
  }
  void TearDown() override {
    server.Stop();
    DromelAppTest::TearDown();
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
  // window, then runs the body in the program; the steps given run while it does, from inside the loops
  // of its modal dialogs. The script then waits for the body's end: the progress dialogs are modal too,
  // and the script would otherwise go on (and quit) from inside their loops.
  void InVoyage(const std::function<void()>& body, const std::vector<Step>& during = {}) {
    bool done = false;
    std::vector<Step> script = {{&FrontIsWelcome, [] { ChooseProject(kProject); }},
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
                }}};
    script.insert(script.end(), during.begin(), during.end());
    script.push_back({[&] { return done; }, {}});
    RunDromel(script);
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

  // The files of a folder and its sub-folders, by path relative to it ("/" between names).
  static std::vector<std::string> Tree(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
      if (!entry.is_directory()) names.push_back(fs::relative(entry.path(), folder).generic_string());
    std::sort(names.begin(), names.end());
    return names;
  }

  static bool FrontIsPublishDialog() { return CastSmart<PublishDialog>(Front()) != nullptr; }

  static constexpr const char* kProvider = "École"_cp;
  TempFolder serverWork;
  web_test::FtpServer server;
};

INSTANTIATE_TEST_SUITE_P(Servers, PublishEndToEnd,
                         ::testing::Values(FtpServerKind::kPyftpdlib, FtpServerKind::kVsftpd),
                         [](const auto& info) { return web_test::FtpServerName(info.param); });

void Press(int key) {
  platform::InjectKey(key, true);
  platform::InjectKey(key, false);
}

TEST_P(PublishEndToEnd, TheSiteArrivesWholeInTheProjectsFolderAndWorksInABrowser) {
  alerts.Answer({IDOK, IDOK});
  const std::string account = server.Account();
  const std::string password = server.Password();
  // The school's server from the list, as a click on the pop-up chooses it, then the keys: Tab selects
  // the next field's whole text, as the child finds it, the account first and then the password.
  const std::vector<Step> dialog = {{&FrontIsPublishDialog,
                                     [] {
                                       auto* front = CastSmart<PublishDialog>(Front());
                                       ASSERT_TRUE(front->GetProviderPopup()->SelectByTitle(String(kProvider)));
                                       front->ApplyProviderChoice();
                                       ASSERT_TRUE(front->GetPasswordField()->IsTarget());
                                       Press(VK_TAB);
                                     }},
                                    {&FrontIsPublishDialog,
                                     [&] {
                                       platform::InjectText(account.c_str());
                                       Press(VK_TAB);
                                     }},
                                    {&FrontIsPublishDialog, [&] {
                                       platform::InjectText(password.c_str());
                                       Press(VK_RETURN);
                                     }}};
  bool published = false;
  InVoyage(
      [&] {
        gDromelApp->Publish();
        published = true;
      },
      dialog);
  ASSERT_TRUE(published);

  // What the child is told: the site will be public, then where it can be seen.
  String success;
  GetResourceText(success, 25, ("http://ecole.exemple.org/~" + account + "/" + kProject).c_str());
  String warning;
  GetResourceText(warning, 26);
  std::vector<std::string> texts;
  for (const RecordedAlert& alert : alerts.Alerts()) texts.push_back(alert.text);
  EXPECT_EQ(texts, (std::vector<std::string>{TextOf(warning), TextOf(success)}));

  // The server holds the "HTML" folder, byte for byte, in a folder named after the project, but for the
  // author's details, which stay on this computer.
  ASSERT_TRUE(fs::exists(Html() / "webtext.txt"));
  std::vector<std::string> sent;
  for (const std::string& name : Tree(Html()))
    if (name != "webtext.txt") sent.push_back(std::string(kProject) + "/" + name);
  ASSERT_EQ(sent.size(), 7u);
  ASSERT_TRUE(server.WaitForStored(sent.size(), 5000)) << web_test::ReadAll(server.LogPath());
  EXPECT_EQ(Tree(server.Files()), sent);
  for (const std::string& name : sent)
    EXPECT_TRUE(web_test::ReadAll(server.Files() / name) == web_test::ReadAll(Html() / fs::path(name).filename()))
        << name;
  // Sent last name first.
  std::vector<std::string> descending = sent;
  std::sort(descending.rbegin(), descending.rend());
  EXPECT_EQ(server.StoredFiles(), descending);

  CheckSiteInBrowser(server.Files() / kProject);
}

}  // namespace
}  // namespace app_test

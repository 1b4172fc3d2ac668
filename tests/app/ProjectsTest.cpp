#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/AppTestSupport.h"
#include "app/DromelApp.h"
#include "app/DromelResources.h"
#include "app/StartPanel.h"
#include "app/Welcome.h"
#include "app/page/DromelScribe.h"
#include "app/page/DromelWindow.h"
#include "core/Text1252.h"
#include "editor/stage/CHAPane.h"
#include "platform/user/MessageBox.h"
#include "platform/user/Window.h"
#include "ui/menus/Menu.h"
#include "ui/text/TextView.h"
#include "ui/views/WindowFrame.h"

#include <algorithm>

namespace app_test {
namespace {

const std::string kInUse = "Ce nom de projet est déjà utilisé.\nChoisis-en un autre."_cp;

class ProjectsTest : public DromelAppTest {
 protected:
  static DromelWindow* FrontPage() { return CastSmart<DromelWindow>(Front()); }
  // The file of the page shown in front, or "" for a page without one.
  static std::string ShownPage() {
    DromelWindow* window = FrontPage();
    if (window == nullptr) return "<no page window>";
    auto* scribe = CastSmart<DromelScribe>(~window->GetScribe());
    if (scribe == nullptr || !scribe->GetPageFile()) return "";
    String name;
    scribe->GetPageFile()->GetName(name);
    const TextLock text(name);
    return std::string(text.Chars(), static_cast<std::size_t>(text.Length()));
  }
  static std::string ProjectName() {
    String* name = gDromelApp ? gDromelApp->GetProjectName() : nullptr;
    if (name == nullptr) return "<none>";
    const TextLock text(*name);
    return std::string(text.Chars(), static_cast<std::size_t>(text.Length()));
  }
  std::vector<std::string> AlertTexts() const {
    std::vector<std::string> texts;
    for (const RecordedAlert& alert : alerts.Alerts()) texts.push_back(alert.text);
    return texts;
  }
  // Opens the project from the welcome dialog, then runs the checks in the program.
  void OpenFromWelcome(const std::string& project, const std::function<void()>& checks) {
    RunDromel({{&FrontIsWelcome, [project] { ChooseProject(project); }},
               {&StartupOver, checks}});
  }
};

// Which page a project opens on: its index page whatever the dates, else the page modified last, and
// among pages of the same second the first by name (letters compared without case).
struct FirstPageCase {
  const char* name;
  std::vector<std::pair<std::string, long>> pages;
  const char* shown;
};

class FirstPageTest : public ProjectsTest, public testing::WithParamInterface<FirstPageCase> {};

TEST_P(FirstPageTest, TheIndexElseTheLatestElseTheFirstByName) {
  const FirstPageCase& c = GetParam();
  MakeProject(c.name, c.pages);
  std::string shown = "<not run>";
  OpenFromWelcome(c.name, [&] { shown = ShownPage(); });
  EXPECT_EQ(shown, c.shown);
  EXPECT_TRUE(Exists(std::string("Projets/") + c.name + "/lockinfo.lok"));
  EXPECT_TRUE(alerts.Alerts().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FirstPageTest,
    testing::Values(FirstPageCase{"index", {{"aaa", 2000000000}, {"index", 1000000000}, {"zzz", 2000000000}}, "index.zod"},
                    FirstPageCase{"latest", {{"aaa", 1000000000}, {"zzz", 1000000001}}, "zzz.zod"},
                    FirstPageCase{"tie", {{"beta", 1500000000}, {"Alpha", 1500000000}}, "Alpha.zod"},
                    FirstPageCase{"one", {{"seule", 1000000000}}, "seule.zod"},
                    FirstPageCase{"none", {}, ""}),
    [](const testing::TestParamInfo<FirstPageCase>& info) { return std::string(info.param.name); });

// A new project from the welcome's "OK" (no project yet): the folder, its empty lock file and an empty
// page; nothing is written as a page until the child saves. It is then the current folder and the
// "Projets" menu lists it.
TEST_F(ProjectsTest, ANewProjectIsMadeWithItsLockAndAnEmptyPage) {
  std::string shown = "<not run>";
  std::string current;
  RunDromel({{&FrontIsWelcome, [] { AcceptFront(); }},
             {&FrontIsNameDialog, [] { EnterName("MonSite"); }},
             {&StartupOver,
              [&] {
                shown = ShownPage();
                EXPECT_EQ(ProjectName(), "MonSite");
                EXPECT_NE(gProjectLockFile, nullptr);
                SmartRef<FileReference> folder(FileReference::CurrentFolder());
                current = folder->GetPathText();
                Menu* projects = gDromelApp->GetProjectsMenu();
                ASSERT_NE(projects, nullptr);
                EXPECT_EQ(projects->IndexOfEntry(String("MonSite")), 3) << "after the new item and a separator";
              }}});
  EXPECT_EQ(shown, "");
  EXPECT_TRUE(Exists("Projets/MonSite/lockinfo.lok"));
  EXPECT_EQ(std::filesystem::file_size(data->folder.Path() / "Projets/MonSite/lockinfo.lok"), 0u);
  EXPECT_FALSE(Exists("Projets/MonSite/index.zod"));
  EXPECT_EQ(current, data->folder.WinPath("Projets\\MonSite"));
  EXPECT_TRUE(alerts.Alerts().empty());
}

// The name is checked again after the dialog, whatever reached the field (a paste passes its filter):
// too long is cut and asked again, empty comes back as "Projet", and anything but the field's characters
// is refused, so that no folder is made outside "Projets".
struct NameCase {
  const char* label;
  std::string typed;
  int alertText;
  std::string offeredAgain;
};

class NameCheckTest : public ProjectsTest, public testing::WithParamInterface<NameCase> {};

TEST_P(NameCheckTest, TheNameIsCheckedAgainAfterTheDialog) {
  const NameCase& c = GetParam();
  std::string offered = "<not asked again>";
  std::string projectAfter;
  RunDromel({{&FrontIsWelcome, [] { AcceptFront(); }},
             {&FrontIsNameDialog, [&] { EnterName(c.typed); }},
             {&FrontIsNameDialog,
              [&] {
                auto* dialog = CastSmart<ProjectNameDialog>(Front());
                String text;
                dialog->GetNameField()->GetText(&text);
                const TextLock chars(text);
                offered.assign(chars.Chars(), static_cast<std::size_t>(chars.Length()));
                CancelFront();
              }},
             {&StartupOver, [&] { projectAfter = ProjectName(); }}});
  EXPECT_EQ(offered, c.offeredAgain);
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  char expected[256];
  gAppResources.GetString(expected, c.alertText - 1000);
  EXPECT_EQ(alerts.Alerts()[0].text, expected);
  EXPECT_EQ(projectAfter, "<none>") << "the cancelled name dialog opens nothing";
  EXPECT_FALSE(Exists("x"));
  EXPECT_TRUE(std::filesystem::is_empty(data->folder.Path() / "Projets"));
}

INSTANTIATE_TEST_SUITE_P(Cases, NameCheckTest,
                         testing::Values(NameCase{"TooLong", std::string(40, 'a'), 1059, std::string(32, 'a')},
                                         NameCase{"Empty", "", 1060, "Projet"},
                                         NameCase{"UpAndOut", "..\\x", 1061, "..\\x"},
                                         NameCase{"Slash", "a/b", 1061, "a/b"},
                                         NameCase{"Dot", "a.b", 1061, "a.b"},
                                         NameCase{"Space", "mon projet", 1061, "mon projet"}),
                         [](const testing::TestParamInfo<NameCase>& info) { return std::string(info.param.label); });

// The program's own "Projets" item for the project it has open is refused as another copy's would be;
// the open project stays open. Cancel in the save question while switching keeps the old project open
// and locked.
TEST_F(ProjectsTest, AnOpenProjectIsRefusedAndCancelKeepsTheOldProject) {
  MakeProject("Ancien", {{"page", 1000000000}});
  MakeProject("Nouveau", {{"autre", 1000000000}});
  OpenFromWelcome("Ancien", [&] {
    ASSERT_EQ(ShownPage(), "page.zod");
    gDromelApp->OpenProject(String("Ancien"));
    EXPECT_EQ(AlertTexts(), std::vector<std::string>{kInUse});
    EXPECT_EQ(ProjectName(), "Ancien");
    EXPECT_EQ(ShownPage(), "page.zod");

    alerts.Clear();
    FrontPage()->Changed(nullptr);
    alerts.Answer({IDCANCEL});
    gDromelApp->OpenProject(String("Nouveau"));
    EXPECT_EQ(alerts.Alerts().size(), 1u) << "the save question";
    EXPECT_EQ(ProjectName(), "Ancien");
    EXPECT_EQ(ShownPage(), "page.zod");
    alerts.Clear();
    gDromelApp->OpenProject(String("Ancien"));
    EXPECT_EQ(AlertTexts(), std::vector<std::string>{kInUse}) << "still locked";

    // Nouveau's lock, taken for the switch, was given back.
    alerts.Clear();
    alerts.Answer({IDNO});
    gDromelApp->OpenProject(String("Nouveau"));
    EXPECT_EQ(ProjectName(), "Nouveau");
    EXPECT_EQ(ShownPage(), "autre.zod");
  });
}

// A damaged page is reported with the reader's text; the project opens on what could be read (or an
// empty page), and the damaged file is left as it was.
class DamagedPageTest : public ProjectsTest, public testing::WithParamInterface<const char*> {};

TEST_P(DamagedPageTest, IsReportedAndLeftAsItWas) {
  const std::string bytes = GetParam();
  data->folder.MakeFolder("Projets/Abime");
  data->folder.Write("Projets/Abime/index.zod", bytes);
  std::string shown = "<not run>";
  std::string project;
  OpenFromWelcome("Abime", [&] {
    shown = ShownPage();
    project = ProjectName();
  });
  EXPECT_NE(shown, "<no page window>");
  EXPECT_EQ(project, "Abime");
  ASSERT_FALSE(alerts.Alerts().empty());
  const std::string& text = alerts.Alerts()[0].text;
  EXPECT_TRUE(text.rfind("Ce fichier est corrompu"_cp, 0) == 0 || text.rfind("Fichier de format obsol"_cp, 0) == 0)
      << text;
  EXPECT_EQ(data->folder.Read("Projets/Abime/index.zod"), bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedPageTest,
                         testing::Values("OBJS garbage that is no page at all", "",
                                         "OBJS\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C"));

// A new project's page window is as large as its page and the palette, its stage pane the 480 x 360 of
// the page, and the whole window with its caption stands in the main window beside the desk.
TEST_F(ProjectsTest, TheNewPageWindowHasThePageSizeAndStandsBesideTheDesk) {
  const auto outerFrame = [](::Window& window) {
    RECT outer;
    GetWindowRect(window.GetFrame()->GetHandle(), &outer);
    POINT corners[2] = {{outer.left, outer.top}, {outer.right, outer.bottom}};
    for (POINT& corner : corners) ScreenToClient(gMainWindow, &corner);
    return Rect(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
  };
  Point window;
  Point stage;
  Rect frame;
  Rect desk;
  RunDromel({{&FrontIsWelcome, [] { AcceptFront(); }},
             {&FrontIsNameDialog, [] { EnterName("Taille"); }},
             {&StartupOver, [&] {
                DromelWindow* page = FrontPage();
                ASSERT_NE(page, nullptr);
                window = page->GetBounds().Size();
                ASSERT_NE(page->GetStagePane(), nullptr);
                stage = page->GetStagePane()->GetBounds().Size();
                frame = outerFrame(*page);
                desk = outerFrame(*gDeskWindow);
              }}});
  EXPECT_EQ(window, Point(480, 360 + gToolPaletteHeight));
  EXPECT_EQ(stage, Point(480, 360));
  const Rect main = GetMainClientRect();
  EXPECT_GE(frame.top, main.top) << "the caption is out of sight";
  EXPECT_GE(frame.left, desk.right);
  EXPECT_LE(frame.bottom, main.bottom);
  EXPECT_TRUE(alerts.Alerts().empty());
}

// The welcome pop-up lists the project folders by their whole names, without "Nouveau projet"; the menu
// bar's "Projets" starts with it, and its items open the folder of their whole name.
TEST_F(ProjectsTest, ProjectListsShowAndOpenWholeFolderNames) {
  MakeProject("mon.site", {{"page", 1000000000}});
  MakeProject("Autre", {});
  std::vector<std::string> welcomeItems;
  RunDromel({{&FrontIsWelcome,
              [&] {
                Menu* menu = CastSmart<WelcomeDialog>(Front())->GetProjectMenu();
                for (std::int32_t i = 1; i <= menu->CountEntries(); ++i) {
                  String text;
                  menu->ItemAt(i)->GetText(&text);
                  const TextLock chars(text);
                  welcomeItems.emplace_back(chars.Chars(), static_cast<std::size_t>(chars.Length()));
                }
                ChooseProject("mon.site");
              }},
             {&StartupOver,
              [&] {
                EXPECT_EQ(ProjectName(), "mon.site");
                EXPECT_EQ(ShownPage(), "page.zod");
                Menu* bar = gDromelApp->GetProjectsMenu();
                EXPECT_EQ(bar->IndexOfEntry(String("Nouveau projet")), 1);
                EXPECT_GE(bar->IndexOfEntry(String("mon.site")), 3) << "after a separator";
              }}});
  std::sort(welcomeItems.begin(), welcomeItems.end());
  EXPECT_EQ(welcomeItems, (std::vector<std::string>{"Autre", "mon.site"}));
  EXPECT_TRUE(alerts.Alerts().empty());
}

}  // namespace
}  // namespace app_test

namespace app_test {
namespace {

// The desk's top button makes a new empty page only when no window is in front; with a page in front
// it only selects itself again.
TEST_F(ProjectsTest, TheStartButtonMakesAPageOnlyWithNoWindowInFront) {
  MakeProject("Bureau", {{"page", 1000000000}});
  std::vector<std::string> shown;
  OpenFromWelcome("Bureau", [&] {
    ASSERT_TRUE(gDeskWindow->IsVisible()) << "the desk shows once a project is open";
    StartButton* column = gDromelApp->GetStartPanel();
    column->SetSelection(StartButton::kFirstButton);
    column->NotifySelection(StartButton::kFirstButton);
    shown.push_back(ShownPage());
    gDromelApp->CloseWindow(nullptr, kCloseAsking);
    EXPECT_EQ(Front(), nullptr);
    column->NotifySelection(StartButton::kFirstButton);
    shown.push_back(ShownPage());
  });
  EXPECT_EQ(shown, (std::vector<std::string>{"page.zod", ""}));
  EXPECT_TRUE(alerts.Alerts().empty());
}

}  // namespace
}  // namespace app_test

namespace app_test {
namespace {

// One page window shows every page: another page goes into it once the shown page may be left, and
// Cancel in the save question keeps the shown page and opens nothing.
TEST_F(ProjectsTest, AnotherPageReplacesTheShownOneOnlyWhenItMayBeLeft) {
  MakeProject("Deux", {{"a", 1000000000}, {"b", 1000000001}});
  std::vector<std::string> shown;
  std::size_t windows = 0;
  OpenFromWelcome("Deux", [&] {
    shown.push_back(ShownPage());
    SmartRef<FileReference> other(new FileReference(data->folder.WinPath("Projets\\Deux\\a.zod").c_str()));
    FrontPage()->Changed(nullptr);
    alerts.Answer({IDCANCEL});
    gDromelApp->OpenFile(other, false, false);
    shown.push_back(ShownPage());
    alerts.Answer({IDNO});
    gDromelApp->OpenFile(other, false, false);
    shown.push_back(ShownPage());
    windows = static_cast<std::size_t>(gDromelApp->GetWindows().NumItems());
    for (std::int32_t i = 1; i <= gDromelApp->GetWindows().NumItems(); ++i)
      if (!CastSmart<DromelWindow>(gDromelApp->GetWindows().At(i))) --windows;
  });
  EXPECT_EQ(shown, (std::vector<std::string>{"b.zod", "b.zod", "a.zod"}));
  EXPECT_EQ(windows, 1u) << "one page window";
  EXPECT_EQ(alerts.Alerts().size(), 2u) << "the save question, twice";
}

}  // namespace
}  // namespace app_test

// The whole project compiled into its "HTML" folder, and its pages rewritten by the synchronisation, in
// the running program over a project of the test's own.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/AppTestSupport.h"
#include "app/DromelApp.h"
#include "app/page/AppPages.h"
#include "app/page/DromelScribe.h"
#include "app/page/DromelToolPalette.h"
#include "app/page/DromelWindow.h"
#include "core/Progress.h"
#include "core/Seams.h"
#include "core/Text1252.h"
#include "engine/links/CLink.h"
#include "engine/page/CShow.h"
#include "engine/page/SolidPicture.h"
#include "web/html/LinkHREF.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;

const std::string kCompileFailed =
    "La compilation des fichiers HTML a échoué ! Réenregistrer toutes les pages de ce projet."_cp;
const std::string kNothingToPublish = "Aucun fichier à publier."_cp;
constexpr long kPageTime = 1000000000;
constexpr long kCompiledTime = 1500000000;

// What the progress dialogs show: for each dialog opened, its caption and the whole of its first range;
// and every caption set.
struct ProgressLog {
  std::vector<std::pair<std::string, std::uint32_t>> dialogs;
  std::vector<std::string> captions;
  // The first range of the dialog opened with that caption, or 0.
  std::uint32_t RangeOf(const std::string& caption) const {
    for (const auto& [opened, range] : dialogs)
      if (opened == caption) return range;
    return 0;
  }
};
ProgressLog* gLog = nullptr;

class LoggedDisplay : public SilentProgressDisplay {
 public:
  explicit LoggedDisplay(std::size_t index) : index(index) {}
  void SetProgress(std::uint32_t, std::uint32_t total) override {
    if (gLog->dialogs[index].second == 0) gLog->dialogs[index].second = total;
  }
  void SetCaption(const String& text) override { gLog->captions.push_back(TextOf(text)); }

 private:
  std::size_t index;
};

SmartRef<ProgressDisplay> MakeLoggedDisplay(const char* caption) {
  gLog->dialogs.emplace_back(caption, 0);
  return new LoggedDisplay(gLog->dialogs.size() - 1);
}

class ProjectCompileTest : public DromelAppTest {
 protected:
  void TearDown() override {
    SetProgressDisplayMaker(previousMaker);
    gLog = nullptr;
    DromelAppTest::TearDown();
  }

  // Opens the project from the welcome dialog, then runs the checks in the program with the progress
  // logged.
  void InProject(const std::string& project, const std::function<void()>& checks) {
    RunDromel({{&FrontIsWelcome, [project] { ChooseProject(project); }},
               {&StartupOver, [&] {
                  previousMaker = GetProgressDisplayMaker();
                  gLog = &log;
                  SetProgressDisplayMaker(&MakeLoggedDisplay);
                  checks();
                }}});
  }

  fs::path Page(const std::string& name) const { return fs::path(ProjectsPath("Site")) / (name + ".zod"); }
  fs::path Html(const std::string& name = "") const { return fs::path(ProjectsPath("Site")) / "HTML" / name; }
  static long Seconds(const fs::path& path) {
    struct stat status{};
    stat(path.c_str(), &status);
    return static_cast<long>(status.st_mtime);
  }
  static void SetSeconds(const fs::path& path, long seconds) {
    const utimbuf times{seconds, seconds};
    utime(path.c_str(), &times);
  }
  static std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::vector<std::string> HtmlNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Html())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<std::string> AlertTexts() const {
    std::vector<std::string> texts;
    for (const RecordedAlert& alert : alerts.Alerts()) texts.push_back(alert.text);
    return texts;
  }
  static DromelWindow* FrontPage() { return CastSmart<DromelWindow>(Front()); }
  static std::string ShownPage() {
    auto* scribe = FrontPage() ? CastSmart<DromelScribe>(~FrontPage()->GetScribe()) : nullptr;
    if (scribe == nullptr || !scribe->GetPageFile()) return "";
    String name;
    scribe->GetPageName(name);
    return TextOf(name);
  }

  ProgressLog log;
  ProgressDisplayMaker previousMaker = nullptr;
};

TEST_F(ProjectCompileTest, EveryPageGoesThroughARangeOfTwoNPlusOneAndOnlyOutOfDatePagesAreCompiledAgain) {
  MakeProject("Site", {{"index", kPageTime}, {"b", kPageTime}, {"c", kPageTime}});
  InProject("Site", [&] {
    ASSERT_EQ(ShownPage(), "index");
    ASSERT_TRUE(gDromelApp->CompileHtml());
    EXPECT_EQ(gHtmlCompileActive, 0);
    EXPECT_EQ(log.RangeOf("Compilation des fichiers HTML"), 7u);
    const std::vector<std::string> pageCaptions = {"Synchronisation : b", "Synchronisation : c",
                                                   "Synchronisation : index"};
    std::vector<std::string> seen;
    for (const std::string& caption : log.captions)
      if (caption.rfind("Synchronisation", 0) == 0) seen.push_back(caption);
    EXPECT_EQ(seen, pageCaptions);
    EXPECT_EQ(HtmlNames(), (std::vector<std::string>{"b.htm", "b.jpg", "c.htm", "c.jpg", "index.htm", "index.jpg"}));

    // Web files newer than their pages stay; a page changed since is compiled again.
    for (const std::string& name : HtmlNames()) SetSeconds(Html(name), kCompiledTime);
    SetSeconds(Page("c"), kCompiledTime + 100);
    ASSERT_TRUE(gDromelApp->CompileHtml());
    EXPECT_EQ(Seconds(Html("b.htm")), kCompiledTime);
    EXPECT_EQ(Seconds(Html("b.jpg")), kCompiledTime);
    EXPECT_GT(Seconds(Html("c.htm")), kCompiledTime + 100);
    EXPECT_GT(Seconds(Html("c.jpg")), kCompiledTime + 100);
  });
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(ProjectCompileTest, ThePageInFrontIsSavedAndCompiledAsItShowsInItsWindow) {
  MakeProject("Site", {{"index", kPageTime}});
  InProject("Site", [&] {
    auto* page = CastSmart<CShow>(FrontPage()->GetDocument());
    ASSERT_TRUE(page);
    const SmartRef<CLink> link = new CLink();
    link->SetHref(new LinkHREF(String("http://devant.example/")));
    AddSpriteAt(GroupOf(*page), *engine_test::SolidPicture(40, 30, 4), 1, {10, 10})->SetLink(0, 1, ~link);
    ASSERT_TRUE(gDromelApp->CompileHtml());
    EXPECT_EQ(static_cast<Smart*>(page), FrontPage()->GetDocument());
    EXPECT_NE(Contents(Html("index.htm")).find("http://devant.example/"), std::string::npos);
    EXPECT_NE(Contents(Page("index")).find("devant.example"), std::string::npos);
  });
}

TEST_F(ProjectCompileTest, APageDeletedFromTheProjectLosesItsWebFilesAndFilesNoPageWroteStay) {
  MakeProject("Site", {{"index", kPageTime}, {"vieille page", kPageTime}});
  InProject("Site", [&] {
    ASSERT_TRUE(gDromelApp->CompileHtml());
    ASSERT_TRUE(fs::exists(Html("vieille_page.jpg")));
    std::ofstream(Html("perso.txt")) << "mes notes";
    std::ofstream(Html("main.htm")) << "<HTML>faite à la main</HTML>";
    fs::remove(Page("vieille page"));
    ASSERT_TRUE(gDromelApp->CompileHtml());
    EXPECT_EQ(HtmlNames(), (std::vector<std::string>{"index.htm", "index.jpg", "main.htm", "perso.txt"}));
  });
  EXPECT_TRUE(alerts.Alerts().empty());
}

// Pages whose web names are the same would write over each other's files: nothing is compiled.
TEST_F(ProjectCompileTest, PagesWhoseWebNamesCollideStopTheCompilationNamingBoth) {
  struct Case {
    std::string first, second;
  };
  const std::vector<Case> cases = {{"a b", "a_b"}, {"Ma-page", "ma_page"}};
  MakeProject("Site", {{"index", kPageTime}});
  InProject("Site", [&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.first + " / " + c.second);
      alerts.Clear();
      fs::copy_file(Page("index"), Page(c.first));
      fs::copy_file(Page("index"), Page(c.second));
      EXPECT_FALSE(gDromelApp->CompileHtml());
      EXPECT_EQ(gHtmlCompileActive, 0);
      EXPECT_TRUE(HtmlNames().empty());
      ASSERT_EQ(alerts.Alerts().size(), 1u);
      const std::string& text = alerts.Alerts()[0].text;
      EXPECT_NE(text.find("« "_cp + c.first + " »"_cp), std::string::npos) << text;
      EXPECT_NE(text.find("« "_cp + c.second + " »"_cp), std::string::npos) << text;
      fs::remove(Page(c.first));
      fs::remove(Page(c.second));
    }
  });
}

TEST_F(ProjectCompileTest, ADamagedPageStopsTheCompilationAndLeavesEveryPageAndWhatWasCompiled) {
  MakeProject("Site", {{"a", kPageTime}, {"index", kPageTime}, {"z", kPageTime}});
  const std::string damaged = "ceci n'est pas une page";
  std::ofstream(Page("m"), std::ios::binary) << damaged;
  SetSeconds(Page("m"), kPageTime);
  InProject("Site", [&] {
    EXPECT_FALSE(gDromelApp->CompileHtml());
    EXPECT_EQ(gHtmlCompileActive, 0);
    EXPECT_EQ(HtmlNames(), (std::vector<std::string>{"a.htm", "a.jpg", "index.htm", "index.jpg"}));
  });
  EXPECT_EQ(AlertTexts(), std::vector<std::string>{kCompileFailed});
  EXPECT_EQ(Contents(Page("m")), damaged);
  EXPECT_EQ(Seconds(Page("m")), kPageTime);
  EXPECT_EQ(Seconds(Page("z")), kPageTime);
}

TEST_F(ProjectCompileTest, AProjectWithoutItsHtmlFolderHasNothingToPublish) {
  MakeProject("Site", {{"index", kPageTime}});
  InProject("Site", [&] {
    fs::remove_all(Html());
    EXPECT_FALSE(gDromelApp->CompileHtml());
    EXPECT_EQ(gHtmlCompileActive, 0);
    EXPECT_FALSE(fs::exists(Html()));
  });
  EXPECT_EQ(AlertTexts(), std::vector<std::string>{kNothingToPublish});
}

TEST_F(ProjectCompileTest, SynchronisingRewritesEveryPageAndShowsThePageInFrontAgainByName) {
  MakeProject("Site", {{"index", kPageTime}, {"b", kPageTime}, {"c", kPageTime}});
  InProject("Site", [&] {
    gDromelApp->OpenFile(new FileReference(data->folder.WinPath("Projets\\Site\\b.zod").c_str()), false, false);
    ASSERT_EQ(ShownPage(), "b");
    FrontPage()->GetToolPalette()->ShowPage(2);
    ASSERT_TRUE(gDromelApp->Synchronize());
    EXPECT_EQ(ShownPage(), "b");
    EXPECT_EQ(FrontPage()->GetToolPalette()->GetPage(), 2);
    for (const char* name : {"index", "b", "c"}) EXPECT_GT(Seconds(Page(name)), kPageTime) << name;
    EXPECT_EQ(log.RangeOf("Synchronisation des fichiers Internet"), 3u);
    EXPECT_TRUE(HtmlNames().empty());
  });
  EXPECT_TRUE(alerts.Alerts().empty());
}

}  // namespace
}  // namespace app_test

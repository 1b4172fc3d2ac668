// The page scribe: the page file written through the object-file scribe, and the page's web files in the
// project's "HTML" folder, made only while the project is compiled, or when they are older than the page.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/Seams.h"
#include "app/page/AppPages.h"
#include "app/page/DromelScribe.h"
#include "core/Exception.h"
#include "core/File.h"
#include "core/Format.h"
#include "core/ObjectFile.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "engine/links/CLink.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/page/SolidPicture.h"
#include "graphics/Color.h"
#include "support/Browser.h"
#include "support/TempFolder.h"
#include "support/graphics/GraphicsFixture.h"
#include "web/PageTestSupport.h"
#include "web/html/ImageMap.h"
#include "web/html/LinkHREF.h"

namespace {

namespace fs = std::filesystem;
using app_test::AddSpriteAt;
using app_test::GroupOf;
using app_test::MakePage;
using engine_test::SolidPicture;

// The map's n-th link rectangle (1-based).
Rect AreaAt(const ImageMap& map, std::int32_t n) { return *static_cast<const Rect*>(map.GetRectangles().At(n)); }

SmartRef<CLink> WebLink(const char* url) {
  const SmartRef<CLink> link = new CLink();
  link->SetHref(new LinkHREF(String(url)));
  return link;
}

class PageScribeTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    InstallAppSeams();
    gHtmlCompileActive = 0;
  }
  void TearDown() override {
    gHtmlCompileActive = 0;
    GraphicsFixture::TearDown();
  }

  // A page scribe over the page file of that name in the project folder "Projet".
  SmartRef<DromelScribe> ScribeFor(const std::string& pageName) {
    pageFile = new FileReference(folder.Write("Projet/" + pageName + ".zod").c_str());
    const SmartRef<File> stream = new File(~pageFile, kFileModeRead | kFileModeWrite);
    const SmartRef<Scribe> inner = new ObjectFile(GetGenericTypeIndex(), SmartRef<Stream>(~stream));
    return new DromelScribe(~inner, ~pageFile);
  }
  fs::path Html(const std::string& name = "") const { return folder.Path() / "Projet" / "HTML" / name; }
  std::size_t HtmlFileCount() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(Html()), fs::directory_iterator()));
  }

  TempFolder folder;
  SmartRef<FileReference> pageFile;
};

// A page of 200 x 150 over a background, with a sprite of each kind the image map must tell apart.
SmartRef<CShow> MakeLinkedPage() {
  const SmartRef<CShow> page = MakePage(200, 150, 2);
  CMovieGroup& group = GroupOf(*page);
  AddSpriteAt(group, *SolidPicture(200, 150, 10), 2, {0, 0})->ToggleBackgroundFlag(true);
  CSprite* both = AddSpriteAt(group, *SolidPicture(40, 30, 4), 2, {10, 10});
  both->SetLink(0, 2, ~WebLink("http://a.example/"));
  both->SetSound(0, 1, ~web_test::FixtureSound("mono8-11025.wav"));
  CSprite* hidden = AddSpriteAt(group, *SolidPicture(40, 30, 6), 2, {60, 10});
  hidden->SetLink(0, 2, ~WebLink("http://b.example/"));
  hidden->HideFrames(0, 1);
  CSprite* linked = AddSpriteAt(group, *SolidPicture(30, 20, 5), 2, {110, 60});
  linked->SetLink(0, 1, ~WebLink("http://c.example/"));
  AddSpriteAt(group, *SolidPicture(20, 20, 3), 2, {150, 100});  // neither link nor sound
  return page;
}

TEST_F(PageScribeTest, EachShownSpriteWithALinkOrASoundGetsOneAreaTheSoundWinning) {
  const SmartRef<DromelScribe> scribe = ScribeFor("liens");
  const SmartRef<CShow> page = MakeLinkedPage();
  const SmartRef<ImageMap> map =
      DromelScribe::BuildPageImageMap(*page->GetMovieGroup(), ~scribe->GetProjectFolder(), ~scribe->GetOutputFolder());
  EXPECT_EQ(map->GetPicture()->GetBounds(), (Rect{0, 0, 200, 150}));
  ASSERT_EQ(map->GetLinks().NumItems(), 2);
  EXPECT_EQ(AreaAt(*map, 1), (Rect{10, 10, 50, 40}));
  EXPECT_TRUE(CastSmart<SoundLink>(map->GetLinks().At(1)));
  EXPECT_EQ(AreaAt(*map, 2), (Rect{110, 60, 140, 80}));
  auto* link = CastSmart<LinkHREF>(map->GetLinks().At(2));
  ASSERT_TRUE(link && !CastSmart<SoundLink>(link));
  EXPECT_EQ(TextOf(link->GetHref()), "http://c.example/");
}

TEST_F(PageScribeTest, AreasAreInThePicturesCoordinatesWhenFrameZeroShowsLessThanThePage) {
  const SmartRef<DromelScribe> scribe = ScribeFor("coin");
  const SmartRef<CShow> page = MakePage(200, 150, 1);
  AddSpriteAt(GroupOf(*page), *SolidPicture(40, 30, 4), 1, {100, 60})
      ->SetLink(0, 1, ~WebLink("http://a.example/"));
  const SmartRef<ImageMap> map =
      DromelScribe::BuildPageImageMap(*page->GetMovieGroup(), ~scribe->GetProjectFolder(), ~scribe->GetOutputFolder());
  EXPECT_EQ(map->GetPicture()->GetBounds(), (Rect{0, 0, 40, 30}));
  ASSERT_EQ(map->GetLinks().NumItems(), 1);
  EXPECT_EQ(AreaAt(*map, 1), (Rect{0, 0, 40, 30}));
}

TEST_F(PageScribeTest, APageWhoseFirstFrameLiesOffThePageIsPublishedBlankAtThePagesSize) {
  SmartRef<DromelScribe> scribe = ScribeFor("dehors");
  const SmartRef<CShow> page = MakePage(200, 150, 1);
  AddSpriteAt(GroupOf(*page), *SolidPicture(40, 30, 4), 1, {300, 300})
      ->SetLink(0, 1, ~WebLink("http://a.example/"));
  const SmartRef<ImageMap> map =
      DromelScribe::BuildPageImageMap(*page->GetMovieGroup(), ~scribe->GetProjectFolder(), ~scribe->GetOutputFolder());
  EXPECT_EQ(map->GetPicture()->GetBounds(), (Rect{0, 0, 200, 150}));

  gHtmlCompileActive = 1;
  scribe->Write(SmartRef<Smart>(~page));
  EXPECT_TRUE(fs::exists(Html("dehors.htm")));
  EXPECT_GT(fs::file_size(Html("dehors.jpg")), 0u);
}

TEST_F(PageScribeTest, TheOutputFolderIsMadeWithTheScribeAndASaveOutsideACompilationLeavesItAlone) {
  const SmartRef<DromelScribe> scribe = ScribeFor("ma page");
  ASSERT_TRUE(fs::is_directory(Html()));
  EXPECT_TRUE(*scribe->GetProjectFolder() == *SmartRef<FileReference>(pageFile->GetParent()));
  String name;
  scribe->GetPageName(name);
  EXPECT_EQ(TextOf(name), "ma page");

  scribe->Write(SmartRef<Smart>(~MakeLinkedPage()));
  EXPECT_EQ(HtmlFileCount(), 0u);
  EXPECT_GT(fs::file_size(folder.Path() / "Projet" / "ma page.zod"), 0u);
  SmartRef<Smart> read;
  scribe->Read(&read);
  auto* page = CastSmart<CShow>(~read);
  ASSERT_TRUE(page);
  EXPECT_EQ(GroupOf(*page).GetSpriteCount(), 5);
}

TEST_F(PageScribeTest, ASaveDuringACompilationWritesTheWebFilesAgainUnderTheFilteredName) {
  SmartRef<DromelScribe> scribe = ScribeFor("ma page");
  folder.Write("Projet/HTML/ma_page.htm", "<!-- Files:\nma_page3.wav\n-->\n");
  folder.Write("Projet/HTML/ma_page3.wav", "old");
  gHtmlCompileActive = 1;
  web_test::ProgressRecorder progress;
  scribe->Write(SmartRef<Smart>(~MakeLinkedPage()));
  EXPECT_NE(std::find(progress.captions.begin(), progress.captions.end(), "Créations de fichiers HTML..."_cp),
            progress.captions.end());
  EXPECT_FALSE(fs::exists(Html("ma_page3.wav")));
  EXPECT_TRUE(fs::exists(Html("ma_page.jpg")));
  EXPECT_TRUE(fs::exists(Html("ma_page.wav")));
  const std::string html = folder.Read("Projet/HTML/ma_page.htm");
  const std::size_t open = html.find("<BODY BGCOLOR=\"#ffffff\"><CENTER>");
  const std::size_t picture = html.find("ma_page.jpg");
  const std::size_t close = html.find("</ADDRESS> <HR></BODY>");
  ASSERT_NE(open, std::string::npos);
  EXPECT_LT(open, picture);
  EXPECT_LT(picture, close);
  EXPECT_NE(close, std::string::npos);
}

// Any other object than a page gets its old web files removed and none made.
TEST_F(PageScribeTest, AnObjectThatIsNoPageHasItsOldWebFilesRemovedAndNoneMade) {
  SmartRef<DromelScribe> scribe = ScribeFor("texte");
  folder.Write("Projet/HTML/texte.htm", "<!-- Files:\ntexte.jpg\n-->\n");
  folder.Write("Projet/HTML/texte.jpg", "old");
  gHtmlCompileActive = 1;
  scribe->Write(SmartRef<Smart>(new String("pas une page")));
  EXPECT_FALSE(fs::exists(Html("texte.jpg")));
}

struct DateCase {
  const char* name;
  int htmlAfter;  // milliseconds after the page file; below -100000: the file is missing
  int jpegAfter;
  bool compiles;
};

class PageScribeDates : public PageScribeTest, public ::testing::WithParamInterface<DateCase> {};

TEST_P(PageScribeDates, CompileIfOutOfDateComparesThePagesWebFilesWithItsFile) {
  const DateCase& c = GetParam();
  SmartRef<DromelScribe> scribe = ScribeFor("ma page");
  const SmartRef<CShow> page = MakeLinkedPage();
  scribe->Write(SmartRef<Smart>(~page));
  scribe->CompileIfOutOfDate(SmartRef<Smart>(~page));
  ASSERT_TRUE(fs::exists(Html("ma_page.jpg")));
  // A marker only a new compilation replaces.
  folder.Write("Projet/HTML/ma_page.htm", "marker");
  const fs::path pagePath = folder.Path() / "Projet" / "ma page.zod";
  const auto base = std::chrono::floor<std::chrono::seconds>(fs::last_write_time(pagePath)) - std::chrono::seconds(100);
  fs::last_write_time(pagePath, base);
  for (auto [name, after] : {std::pair{"ma_page.htm", c.htmlAfter}, {"ma_page.jpg", c.jpegAfter}}) {
    if (after < -100000) {
      fs::remove(Html(name));
    } else {
      fs::last_write_time(Html(name), base + std::chrono::milliseconds(after));
    }
  }
  scribe->CompileIfOutOfDate(SmartRef<Smart>(~page));
  EXPECT_EQ(folder.Read("Projet/HTML/ma_page.htm") != "marker", c.compiles);
  EXPECT_TRUE(fs::exists(Html("ma_page.jpg")));
}

INSTANTIATE_TEST_SUITE_P(Cases, PageScribeDates,
                         ::testing::Values(DateCase{"Fresh", 5000, 3000, false},
                                           DateCase{"OlderPicture", 5000, -2000, true},
                                           DateCase{"OlderPage", -1000, 5000, true},
                                           DateCase{"SameSecond", 500, 900, true},
                                           DateCase{"MissingPicture", 5000, -200000, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PageScribeTest, TheCompiledPageOpensInABrowserWithItsPicture) {
  SmartRef<DromelScribe> scribe = ScribeFor("ma page");
  gHtmlCompileActive = 1;
  scribe->Write(SmartRef<Smart>(~MakeLinkedPage()));
  const BrowserView view = ViewInBrowser(Html("ma_page.htm"), 400, 300);
  ASSERT_TRUE(view.loaded) << view.error;
  EXPECT_NE(view.dom.find("src=\"ma_page.jpg\""), std::string::npos) << view.dom;
  EXPECT_NE(view.dom.find("<map name=\"ma_page\">"), std::string::npos) << view.dom;
  // The background's colour fills most of the picture's 200 x 150 pixels on the white page.
  const Color background(10);
  int matching = 0;
  for (std::uint32_t pixel : view.screenshot.pixels) {
    const int r = static_cast<int>(pixel >> 16 & 255), g = static_cast<int>(pixel >> 8 & 255),
              b = static_cast<int>(pixel & 255);
    if (std::abs(r - (background.red >> 8)) < 16 && std::abs(g - (background.green >> 8)) < 16 &&
        std::abs(b - (background.blue >> 8)) < 16)
      ++matching;
  }
  EXPECT_GT(matching, 200 * 150 * 3 / 4);
}

}  // namespace

// The pages the program ships (examples, model sites, clubs and the hot-link pictures) open through the
// page scribe as a child's own page does and compile into a project's "HTML" folder: a web page that shows
// the page's picture, at the page's size, and links only where the page links.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/DromelResources.h"
#include "app/Seams.h"
#include "app/page/DromelScribe.h"
#include "core/File.h"
#include "core/FileReference.h"
#include "core/Format.h"
#include "core/ObjectFile.h"
#include "core/Resources.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "engine/Seams.h"
#include "engine/links/CLink.h"
#include "engine/page/CMovieGroup.h"
#include "engine/page/CShow.h"
#include "engine/sprites/CSprite.h"
#include "support/RunProgram.h"
#include "support/AlertRecorder.h"
#include "support/TempFolder.h"
#include "support/graphics/GraphicsFixture.h"
#include "web/html/htmlElement.h"
#include "web/Seams.h"

namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(QUILLORY_SOURCE_DIR) / "data";

std::string Text(const String& text) {
  const TextLock lock(text);
  return std::string(lock.Chars(), static_cast<std::size_t>(lock.Length()));
}

// Every value of HREF="..." in the page, in order.
std::vector<std::string> Hrefs(const std::string& html) {
  std::vector<std::string> hrefs;
  const std::string key = "HREF=\"";
  for (std::size_t at = html.find(key); at != std::string::npos; at = html.find(key, at)) {
    at += key.size();
    const std::size_t end = html.find('"', at);
    if (end == std::string::npos) break;
    hrefs.push_back(html.substr(at, end - at));
  }
  return hrefs;
}

class ExamplePagesCompileTest : public GraphicsFixture {
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

  // The shipped page copied into a project of its own (nothing is written beside data/), and read through
  // the page scribe over it.
  SmartRef<DromelScribe> ScribeFor(const fs::path& shipped, const std::string& project) {
    const fs::path copy = folder.Path() / project / shipped.filename();
    fs::create_directories(copy.parent_path());
    fs::copy_file(shipped, copy);
    const SmartRef<FileReference> pageFile = new FileReference(folder.WinPath(project + "\\" + shipped.filename().string()).c_str());
    const SmartRef<File> stream = new File(~pageFile, kFileModeRead | kFileModeWrite);
    const SmartRef<Scribe> inner = new ObjectFile(GetGenericTypeIndex(), SmartRef<Stream>(~stream));
    return new DromelScribe(~inner, ~pageFile);
  }

  TempFolder folder;
};

// The folders the program offers pages from; the hot-link pictures' folder is named by the program's text.
std::string HotLinksFolder() {
  String name;
  GetResourceText(name, 13);
  return Text(name);
}

TEST_F(ExamplePagesCompileTest, EveryShippedPageCompilesIntoAWebPageShowingItsPicture) {
  AlertRecorder alerts;
  int compiled = 0;
  const std::string hotLinks = HotLinksFolder();
  for (const std::string& name : {std::string("Exemples"), std::string("Sitessym"), std::string("Clubskid"), hotLinks}) {
    ASSERT_TRUE(fs::is_directory(kData / name)) << name;
    for (const auto& entry : fs::directory_iterator(kData / name)) {
      if (entry.path().extension() != ".zod") continue;
      SCOPED_TRACE(entry.path().string());
      const SmartRef<DromelScribe> scribe = ScribeFor(entry.path(), name);
      SmartRef<Smart> read;
      scribe->Read(&read);
      auto* page = CastSmart<CShow>(~read);
      ASSERT_NE(page, nullptr);
      scribe->CompileIfOutOfDate(read);

      String pageName;
      scribe->GetPageName(pageName);
      const std::string webName = Text(SanitizeHTMLName(pageName));
      String outputName;
      scribe->GetOutputFolder()->GetBaseNameAndType(outputName);
      const fs::path html = folder.Path() / name / Text(outputName) / (webName + ".htm");
      const fs::path picture = html.parent_path() / (webName + ".jpg");
      ASSERT_TRUE(fs::exists(html)) << html;
      ASSERT_TRUE(fs::exists(picture));
      const std::string text = folder.Read(fs::relative(html, folder.Path()).string());
      EXPECT_NE(text.find("\"" + webName + ".jpg\""), std::string::npos) << text;

      // A standard reader sees a picture of what frame 0 shows on the page: the whole page for the
      // examples, the sites and the clubs, the linked picture alone for the hot links.
      Rect shown;
      page->GetMovieGroup()->GetFrameBounds(&shown, 0);
      shown = shown.Intersect(page->GetMovieGroup()->GetBounds());
      ASSERT_FALSE(shown.IsEmpty());
      EXPECT_EQ(CommandOutput("/usr/bin/identify -format '%wx%h' '" + picture.string() + "'"),
                std::to_string(shown.Size().x) + "x" + std::to_string(shown.Size().y));
      if (name != hotLinks) {
        EXPECT_EQ(shown, page->GetMovieGroup()->GetBounds());
      }

      // The web page links to exactly the addresses the page's sprites link to in frame 0.
      std::set<std::string> expected, found;
      auto* group = CastSmart<CMovieGroup>(page->GetMovieGroup());
      for (std::int16_t i = 0; i < group->GetSpriteCount(); ++i) {
        CLink* link = group->GetSprite(i)->GetLinkAtFrame(0);
        if (link == nullptr) continue;
        String address;
        GetWebAddressHooks().getAddressText(~link->GetHref(), address);
        expected.insert(Text(address));
      }
      for (const std::string& href : Hrefs(text)) found.insert(href);
      EXPECT_EQ(found, expected) << text;
      // A hot-link picture is there to be linked.
      if (name == hotLinks) {
        EXPECT_FALSE(found.empty()) << text;
      }
      ++compiled;
    }
  }
  EXPECT_EQ(compiled, 11);
  EXPECT_TRUE(alerts.Alerts().empty());
}

}  // namespace

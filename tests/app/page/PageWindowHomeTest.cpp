// The page window in the web-page application itself: made for the project's first page with its page
// scribe, and going home to the project's index page, which is made when the project has none.
#include <gtest/gtest.h>

#include <string>

#include "app/AppTestSupport.h"
#include "app/DromelApp.h"
#include "app/page/DromelScribe.h"
#include "app/page/DromelWindow.h"
#include "core/FileReference.h"
#include "core/String.h"
#include "ui/views/WindowFrame.h"

namespace app_test {
namespace {

std::string TitleOf(DromelWindow& window) {
  const SmartRef<String> title(window.GetFrame()->GetTitle());
  return TextOf(*title);
}

class PageWindowHomeTest : public DromelAppTest {};

TEST_F(PageWindowHomeTest, HomeShowsTheIndexPageAndMakesItWhenMissing) {
  MakeProject("Site", {{"autre", 1000000000}, {"suite", 2000000000}});
  std::string first, afterReading, afterHome;
  long historyLength = -1;
  RunDromel({{&FrontIsWelcome, [] { ChooseProject("Site"); }},
             {&StartupOver, [&] {
                auto* window = CastSmart<DromelWindow>(Front());
                ASSERT_NE(window, nullptr);
                first = TitleOf(*window);
                ASSERT_TRUE(CastSmart<DromelScribe>(~window->GetScribe()));
                const std::string path = data->folder.WinPath("Projets\\Site\\autre.zod");
                const SmartRef<FileReference> other = new FileReference(path.c_str());
                window->ReadFile(*other);
                afterReading = TitleOf(*window);
                window->Navigate(DromelWindow::kHome);
                afterHome = TitleOf(*window);
                historyLength = window->GetHistory().NumItems();
              }}});
  EXPECT_EQ(first, "Site:suite");
  EXPECT_EQ(afterReading, "Site:autre");
  EXPECT_EQ(afterHome, "Site:index");
  EXPECT_EQ(historyLength, 2) << "both pages left are remembered";
  EXPECT_TRUE(Exists("Projets/Site/index.zod"));
}

}  // namespace
}  // namespace app_test

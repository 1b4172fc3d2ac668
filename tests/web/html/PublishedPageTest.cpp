// A compiled page as its readers see it: the picture and sound files through the standard decoders, the
// page itself through a real browser.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "../PageTestSupport.h"
#include "core/Text1252.h"
#include "support/Browser.h"
#include "support/RunProgram.h"
#include "web/html/ImageMap.h"
#include "web/html/LinkHREF.h"
#include "web/html/PageCompiler.h"

namespace {

using web_test::FixtureSound;
using web_test::MakePicture;
using web_test::PageTest;

// Four flat quarters, so that JPEG's losses stay small away from the edges.
constexpr std::uint32_t kQuarters[] = {0xD02020, 0x20B040, 0x2040D0, 0xF0E060};
std::uint32_t QuarterColour(int x, int y) { return kQuarters[(y >= 75 ? 2 : 0) + (x >= 100 ? 1 : 0)]; }

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255)) > tolerance) return false;
  }
  return true;
}

class PublishedPage : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    SmartRef<ImageMap> map = new ImageMap(SmartRef<Image>(MakePicture(200, 150, &QuarterColour)));
    map->AddLink({0, 0, 100, 75}, new LinkHREF(0, String("Jeux")));
    map->AddLink({100, 0, 200, 75}, new LinkHREF(String("a\"b.htm"), String("<b>x</b>")));
    map->AddLink({0, 75, 100, 150}, new LinkHREF(0, String("Été"_cp)));
    map->AddLink({100, 75, 200, 150}, new SoundLink(FixtureSound("mono8-11025.wav")));
    Compile(*map, "Galerie");
  }
  std::string Path(const char* name) const { return (folder.Path() / "HTML" / name).string(); }
};

TEST_F(PublishedPage, ThePictureAndTheSoundReadWithTheStandardDecoders) {
  const std::string decoded = (folder.Path() / "decoded.ppm").string();
  ASSERT_EQ(RunProgram({"djpeg", "-pnm", Path("Galerie.jpg")}, decoded.c_str()), 0) << "djpeg (libjpeg-turbo-progs)";
  const std::optional<ColourPicture> picture = ReadPpm(decoded);
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->width, 200);
  ASSERT_EQ(picture->height, 150);
  for (int y = 4; y < 150; y += 9)
    for (int x = 4; x < 200; x += 9)
      if (std::abs(x - 100) > 6 && std::abs(y - 75) > 6) {
        EXPECT_TRUE(Near(picture->pixels[static_cast<std::size_t>(y * 200 + x)], QuarterColour(x, y), 12))
            << x << "," << y;
      }

  const std::string rate = (folder.Path() / "rate.txt").string();
  ASSERT_EQ(RunProgram({"soxi", "-r", Path("Galerie.wav")}, rate.c_str()), 0) << "soxi (sox)";
  EXPECT_EQ(folder.Read("rate.txt"), "11025\n");
}

// The text of the bar as the browser shows it: its markup without tags, entities decoded.
std::string BarText(const std::string& dom) {
  const std::size_t start = dom.find("<center>");
  const std::size_t end = dom.find("</center>");
  if (start == std::string::npos || end == std::string::npos) return "(no bar)";
  std::string text = std::regex_replace(dom.substr(start + 8, end - start - 8), std::regex("<[^>]*>"), "");
  for (const auto& [entity, character] : {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}})
    text = std::regex_replace(text, std::regex(entity), character);
  return text;
}

std::vector<std::string> AllMatches(const std::string& text, const std::string& pattern) {
  std::vector<std::string> found;
  const std::regex expression(pattern);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), expression); it != std::sregex_iterator(); ++it)
    found.push_back(it->str(1));
  return found;
}

TEST_F(PublishedPage, ABrowserShowsThePictureWithItsMapAndTheBarAsText) {
  const BrowserView view = ViewInBrowser(Path("Galerie.htm"), 400, 300);
  ASSERT_TRUE(view.loaded) << view.error;

  EXPECT_EQ(AllMatches(view.dom, "<img ([^>]*)>"),
            (std::vector<std::string>{"border=\"0\" src=\"Galerie.jpg\" alt=\"Galerie.jpg\" usemap=\"#Galerie\""}));
  EXPECT_EQ(AllMatches(view.dom, "<map name=\"(\\w+)\">"), (std::vector<std::string>{"Galerie"}));
  EXPECT_EQ(AllMatches(view.dom, "<area [^>]*coords=\"([^\"]*)\""),
            (std::vector<std::string>{"0,0,100,75", "100,0,200,75", "0,75,100,150", "100,75,200,150"}));
  EXPECT_EQ(AllMatches(view.dom, "<area [^>]*href=\"([^\"]*)\""),
            (std::vector<std::string>{"Jeux.htm", "a&quot;b.htm", "_t_.htm", "Galerie.wav"}));
  // The caption a child typed as markup is text, and the accent is read in the program's code page.
  EXPECT_EQ(BarText(view.dom), " [ Jeux | <b>x</b> | \xC3\x89t\xC3\xA9 | Son ] ");
  EXPECT_EQ(view.dom.find("<b>"), std::string::npos);

  // The picture stands at the body's margin.
  ASSERT_EQ(view.screenshot.width, 400);
  for (int y = 10; y < 150; y += 20)
    for (int x = 10; x < 200; x += 20)
      if (std::abs(x - 100) > 6 && std::abs(y - 75) > 6) {
        EXPECT_TRUE(Near(view.screenshot.pixels[static_cast<std::size_t>((y + 8) * 400 + x + 8)], QuarterColour(x, y), 16))
            << x << "," << y;
      }
}

}  // namespace

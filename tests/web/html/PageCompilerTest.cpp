#include <gtest/gtest.h>

#include <filesystem>

#include "../PageTestSupport.h"
#include "core/Exception.h"
#include "core/Text1252.h"
#include "support/Raised.h"
#include "web/html/ImageMap.h"
#include "web/html/LinkHREF.h"
#include "web/html/PageCompiler.h"

namespace {

using web_test::FixtureBytes;
using web_test::FixtureSound;
using web_test::MakePicture;
using web_test::PageTest;
using web_test::ProgressRecorder;

SmartRef<ImageMap> MapOf(int width = 40, int height = 30) {
  return new ImageMap(SmartRef<Image>(MakePicture(width, height, [](int x, int y) { return (x * 6) << 16 | y * 8; })));
}

// The page as the page scribe gives it: a wrapper around the stage's map.
SmartRef<htmlWrapper> PageOf(const SmartRef<ImageMap>& map) {
  List children(&htmlElement::classInfo);
  children.Append(~map);
  return new htmlWrapper(children);
}

std::string Golden(const char* name) {
  const std::string bytes = FixtureBytes(std::string("html/") + name);
  EXPECT_FALSE(bytes.empty()) << name;
  return bytes;
}

TEST_F(PageTest, APageLinkAndASoundGiveThePictureTheMapTheBarAndTheFileList) {
  SmartRef<ImageMap> map = MapOf();
  map->AddLink({10, 20, 110, 60}, new LinkHREF(0, String("Suite")));
  map->AddLink({-5, 100, 40, 140}, new SoundLink(FixtureSound("mono8-11025.wav")));
  EXPECT_EQ(Compile(*PageOf(map), "Mon site"), Golden("page-and-sound.htm"));
  EXPECT_EQ(OutputNames(), (std::vector<std::string>{"Mon_site.htm", "Mon_site.jpg", "Mon_site.wav"}));
  ASSERT_EQ(files.NumItems(), 2);
  EXPECT_EQ(Output("Mon_site.wav"), FixtureBytes("sounds/mono8-11025.wav"));
}

TEST_F(PageTest, MapsWriteOneAreaPerLinkAndOneBarEntryPerCaption) {
  {
    SCOPED_TRACE("no links: no rule and no bar");
    EXPECT_EQ(Compile(*PageOf(MapOf()), "Vide"), Golden("no-links.htm"));
  }
  {
    SCOPED_TRACE("a caption met again has its area but no second entry");
    SmartRef<ImageMap> map = MapOf();
    map->AddLink({0, 0, 50, 20}, new LinkHREF(0, String("Accueil")));
    map->AddLink({0, 20, 50, 40}, new LinkHREF(String("http://exemple.org/Accueil")));
    map->AddLink({0, 40, 50, 60}, new LinkHREF(0, String("Jeux")));
    EXPECT_EQ(Compile(*PageOf(map), "Menu"), Golden("repeated-caption.htm"));
  }
  {
    SCOPED_TRACE("every sound gets its own file and its own entry");
    SmartRef<ImageMap> map = MapOf();
    map->AddLink({1, 2, 3, 4}, new SoundLink(FixtureSound("mono8-11025.wav")));
    map->AddLink({5, 6, 7, 8}, new SoundLink(FixtureSound("stereo16-22050.wav")));
    EXPECT_EQ(Compile(*PageOf(map), "B"), Golden("two-sounds.htm"));
    EXPECT_EQ(Output("B1.wav"), FixtureBytes("sounds/stereo16-22050.wav"));
  }
}

// A link that is missing, of another class or leads nowhere is left out; what a child typed never becomes
// markup; the separator stands only between entries written.
TEST_F(PageTest, LinksThatLeadNowhereAreLeftOutAndTextIsEscaped) {
  SmartRef<ImageMap> map = MapOf();
  map->AddLink({0, 0, 20, 10}, nullptr);
  map->AddLink({20, 0, 40, 10}, new LinkHREF(String("page.htm?a=1&b=\"2\""), String("<b>x")));
  map->AddLink({40, 0, 60, 10}, new LinkHREF(0, String("Ma page été"_cp)));
  map->AddLink({60, 0, 80, 10}, new LinkHREF(String(""), String("Vide")));
  map->AddLink({80, 0, 90, 10}, new SoundLink(nullptr));
  EXPECT_EQ(Compile(*PageOf(map), "Q&A?"), Golden("foreign-first-link.htm"));
  EXPECT_EQ(OutputNames(), (std::vector<std::string>{"Q_A_.htm", "Q_A_.jpg"}));
}

TEST_F(PageTest, APageWithoutFilesListsNoneAndAShorterPageLeavesNothingOfTheOldOne) {
  SmartRef<ImageMap> map = MapOf();
  for (int i = 0; i < 20; ++i) map->AddLink({i, i, i + 10, i + 10}, new LinkHREF(0, String(i)));
  Compile(*PageOf(map), "Page");
  const SmartRef<RawHTML> text = new RawHTML(String("<P>Bonjour</P>\n"));
  const std::string shorter = Compile(*text, "Page");
  EXPECT_EQ(shorter,
            "<HTML>\n<HEAD>\n<TITLE>Page</TITLE>\n</HEAD>\n<P>Bonjour</P>\n<!-- Files:\n-->\n</HTML>\n");
}

TEST_F(PageTest, CompilingAgainNumbersThePictureUnlessTheOldFilesWereRemoved) {
  Compile(*PageOf(MapOf()), "B");
  Compile(*PageOf(MapOf()), "B");
  EXPECT_NE(Output("B.htm").find("SRC = \"B1.jpg\""), std::string::npos);
  EXPECT_EQ(OutputNames(), (std::vector<std::string>{"B.htm", "B.jpg", "B1.jpg"}));
  RemoveStaleHTMLFiles(String("B"), output);
  EXPECT_EQ(OutputNames(), (std::vector<std::string>{"B.htm", "B.jpg"}));

  Compile(*PageOf(MapOf()), "C");
  RemoveStaleHTMLFiles(String("C"), output);
  EXPECT_EQ(OutputNames(), (std::vector<std::string>{"B.htm", "B.jpg", "C.htm"}));
  Compile(*PageOf(MapOf()), "C");
  EXPECT_NE(Output("C.htm").find("SRC = \"C.jpg\""), std::string::npos);
  EXPECT_EQ(OutputNames(), (std::vector<std::string>{"B.htm", "B.jpg", "C.htm", "C.jpg"}));
}

TEST_F(PageTest, RemovingStaleFilesDeletesWhatThePreviousPageFileListed) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;  // name in HTML, bytes
    std::vector<std::string> remaining;
  } cases[] = {
      {"listed names go, missing ones are passed over, others stay",
       {{"B.htm", "<HTML>\n<!-- Files:\nB.jpg\nabsent.wav\n\nB.wav\n-->\nC.jpg\n</HTML>\n"},
        {"B.jpg", "j"}, {"B.wav", "w"}, {"C.jpg", "c"}},
       {"B.htm", "C.jpg"}},
      {"a list cut short keeps its last name",
       {{"B.htm", "<!-- Files:\nB.jpg\nB1.jpg\n"}, {"B.jpg", "j"}, {"B1.jpg", "j"}},
       {"B.htm", "B1.jpg"}},
      {"of an htm and an html file only the html file counts",
       {{"B.htm", "<!-- Files:\nx.jpg\n-->\n"}, {"B.html", "<!-- Files:\ny.jpg\n-->\n"}, {"x.jpg", "x"}, {"y.jpg", "y"}},
       {"B.htm", "B.html", "x.jpg"}},
      {"a page file without a list is passed over for the next",
       {{"B.htm", "<!-- Files:\nx.jpg\n-->\n"}, {"B.html", "<HTML></HTML>\n"}, {"x.jpg", "x"}},
       {"B.htm", "B.html"}},
      {"the base name must match exactly",
       {{"b.htm", "<!-- Files:\nx.jpg\n-->\n"}, {"B_.htm", "<!-- Files:\nx.jpg\n-->\n"}, {"x.jpg", "x"}},
       {"B_.htm", "b.htm", "x.jpg"}},
      {"names that reach outside the folder are passed over",
       {{"B.htm", "<!-- Files:\n..\\sentinel.txt\n../sentinel.txt\nsub\\inner.txt\nsub/inner.txt\nC:x.jpg\n.hidden\n"
                  "-->\n"},
        {"sub/inner.txt", "i"}, {".hidden", "h"}, {"C:x.jpg", "c"}},
       {".hidden", "B.htm", "C:x.jpg", "sub"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(folder.Path() / "HTML");
    folder.MakeFolder("HTML");
    folder.Write("sentinel.txt", "keep");
    for (const auto& [name, bytes] : c.files) folder.Write("HTML/" + name, bytes);
    RemoveStaleHTMLFiles(String("B"), output);
    EXPECT_EQ(OutputNames(), c.remaining);
    EXPECT_EQ(folder.Read("sentinel.txt"), "keep");
  }
}

TEST_F(PageTest, CompilingShowsItsStepsAndStopsWhenAsked) {
  SmartRef<ImageMap> map = MapOf();
  map->AddLink({10, 20, 110, 60}, new LinkHREF(0, String("Suite")));
  map->AddLink({-5, 100, 40, 140}, new SoundLink(FixtureSound("mono8-11025.wav")));
  {
    ProgressRecorder progress;
    Compile(*PageOf(map), "B");
    EXPECT_EQ(progress.captions,
              (std::vector<std::string>{"Compilation de pages", "Compilation de JPEG", "Compilation du fichier HTML",
                                        "Compilation de fichier son", "Compilation du fichier HTML"}));
  }
  {
    ProgressRecorder progress;
    progress.stopAfterSteps = 3;
    List files(&FileReference::classInfo);
    const SmartRef<Exception> raised = Raised([&] { CompileHTMLPage(*PageOf(map), String("C"), output, files); });
    EXPECT_TRUE(IsMember<UserCancelException>(~raised)) << RaisedText(raised);
  }
}

}  // namespace

namespace {

// A sound played from its file holds no bytes in memory: the file's are published.
TEST_F(PageTest, ASoundPlayedFromItsFileIsPublishedFromThatFile) {
  const std::string wave = folder.Write("son.wav", FixtureBytes("sounds/stereo16-22050.wav"));
  SmartRef<FileReference> file = new FileReference(wave.c_str());
  SmartRef<ImageMap> map = MapOf();
  map->AddLink({0, 0, 5, 5}, new SoundLink(new Sound(~file, false)));
  Compile(*map, "B");
  EXPECT_EQ(Output("B.wav"), FixtureBytes("sounds/stereo16-22050.wav"));
}

TEST_F(PageTest, CopiesOfAMapShareItsLinksAndCopyItsRectangles) {
  SmartRef<ImageMap> map = MapOf();
  map->AddLink({1, 2, 3, 4}, new LinkHREF(0, String("Suite")));
  SmartRef<ImageMap> copy = CastSmart<ImageMap>(map->Clone());
  map->AddLink({5, 6, 7, 8}, new LinkHREF(0, String("Fin")));
  EXPECT_EQ(copy->GetLinks().GetData(), map->GetLinks().GetData());
  EXPECT_EQ(copy->GetRectangles().NumItems(), 1);
  EXPECT_EQ(copy->GetPicture(), map->GetPicture());

  SmartRef<SoundLink> sound = new SoundLink(FixtureSound("mono8-11025.wav"));
  SmartRef<SoundLink> soundCopy = CastSmart<SoundLink>(sound->Clone());
  EXPECT_EQ(soundCopy->GetSound(), sound->GetSound());
  EXPECT_EQ(TextOf(soundCopy->GetCaption()), "Son");
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>

#include "../PageTestSupport.h"
#include "core/Format.h"
#include "core/Resources.h"
#include "core/Stream.h"
#include "core/Text1252.h"
#include "engine/links/CLink.h"
#include "engine/links/WebAddress.h"
#include "support/AlertRecorder.h"
#include "support/DocumentBytes.h"
#include "support/Raised.h"
#include "web/html/ImageMap.h"
#include "web/html/LinkHREF.h"

namespace {

using namespace document_testing;
using web_test::PageTest;

TEST(LastURLToken, IsTheLastWordBetweenColonsSlashesAndBlanks) {
  struct Case {
    const char* text;
    const char* token;
  } cases[] = {
      {"http://www.exemple.org/jeux/", "jeux"},
      {"http://www.exemple.org/jeux", "jeux"},
      {"mailto:ami@exemple.org", "ami@exemple.org"},
      {"mes jeux  ", "jeux"},
      {"Accueil", "Accueil"},
      {"://  //", ""},
      {"", ""},
      {"a.htm?x=1&y=2", "a.htm?x=1&y=2"},
  };
  for (const Case& c : cases) EXPECT_EQ(TextOf(LastURLToken(String(c.text))), c.token) << c.text;
}

TEST(LinkHREF, PageAndAddressLinksTakeTheirHrefAndCaption) {
  const LinkHREF page(0, String("Ma page été"_cp));
  EXPECT_EQ(TextOf(page.GetHref()), "Ma_page__t_.htm");
  EXPECT_EQ(TextOf(page.GetCaption()), "Ma page été"_cp);
  const LinkHREF mail(String("mailto:ami@exemple.org"));
  EXPECT_EQ(TextOf(mail.GetHref()), "mailto:ami@exemple.org");
  EXPECT_EQ(TextOf(mail.GetCaption()), "ami@exemple.org");
  const SoundLink sound(nullptr);
  EXPECT_EQ(TextOf(sound.GetHref()), "");
  EXPECT_EQ(TextOf(sound.GetCaption()), "Son");
}

// Where the class index records the version of the class numbered n.
std::size_t VersionPlace(const std::string& file, std::int32_t n) {
  std::uint32_t nameLength = 0;
  std::memcpy(&nameLength, file.data() + 37, 4);
  return 37 + 4 + nameLength + 4 + 4 * static_cast<std::size_t>(n - 1);
}

std::uint32_t VersionOf(const std::string& file, std::int32_t n) {
  std::uint32_t version = 0;
  std::memcpy(&version, file.data() + VersionPlace(file, n), 4);
  return version;
}

std::string WithVersion(std::string file, std::int32_t n, std::uint32_t version) {
  return file.replace(VersionPlace(file, n), 4, Long(version));
}

// A link as the programs before captions wrote it: the href alone, in a block of version 1.0.
class LinkHREFVersion10 : public LinkHREF {
 public:
  static const PersistentType oldType;
  explicit LinkHREFVersion10(const char* href) : LinkHREF(String(href), String()) {}
  void Write(Archive* archive) override {
    ArchiveBlock block(archive, &oldType);
    String(GetHref()).Write(block.GetArchive());
  }
  const PersistentType* GetPersistentType() const override { return &oldType; }
};
const PersistentType LinkHREFVersion10::oldType(&LinkHREF::classInfo, MakeVersion(1), MakeVersion(1),
                                                &LinkHREF::ReadNew);

// The document numbering with the older link in the links' place.
SmartRef<TypeIndex> OlderNumbering() {
  const SmartRef<TypeIndex> generic = GetGenericTypeIndex();
  SmartRef<TypeIndex> index = new TypeIndex(generic->GetFileType(), generic->GetVersion(), TextOf(generic->GetName()).c_str());
  for (std::int32_t n = 1; n <= generic->NumTypes(); ++n) {
    if (const PersistentType* type = generic->GetType(n)) index->AddType(n == 36 ? &LinkHREFVersion10::oldType : type);
    else index->AddEmptySlots(1);
  }
  return index;
}

TEST_F(PageTest, LinksAreStoredAtTheirDocumentNumberWithHrefAndCaption) {
  const std::string saved = SaveDocument(SmartRef<Smart>(new LinkHREF(String("http://exemple.org/a\"b"), String("Été"_cp))));
  EXPECT_EQ(ObjectClassIndex(saved, 1), 36);
  EXPECT_EQ(VersionOf(saved, 36), 0x00010002u);
  SmartRef<Smart> read = ReadDocument(saved, nullptr);
  auto* link = CastSmart<LinkHREF>(~read);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(TextOf(link->GetHref()), "http://exemple.org/a\"b");
  EXPECT_EQ(TextOf(link->GetCaption()), "Été"_cp);
  EXPECT_EQ(SaveDocument(read), saved);
}

TEST_F(PageTest, LinksOfVersion10TakeTheirCaptionFromTheHref) {
  const std::string older = SaveDocument(SmartRef<Smart>(new LinkHREFVersion10("http://exemple.org/jeux/")), OlderNumbering());
  ASSERT_EQ(VersionOf(older, 36), 0x00010000u);
  SmartRef<Smart> read = ReadDocument(older, nullptr);
  auto* link = CastSmart<LinkHREF>(~read);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(TextOf(link->GetHref()), "http://exemple.org/jeux/");
  EXPECT_EQ(TextOf(link->GetCaption()), "jeux");
  // Stored again, it is a link of today with the caption it was given.
  EXPECT_EQ(SaveDocument(read),
            SaveDocument(SmartRef<Smart>(new LinkHREF(String("http://exemple.org/jeux/"), String("jeux")))));
}

TEST_F(PageTest, ALinkOfAnUnknownMajorVersionIsADamagedFile) {
  const std::string saved = SaveDocument(SmartRef<Smart>(new LinkHREF(String("Suite.htm"), String("Suite"))));
  char damaged[256];
  gDocumentMessages.GetString(damaged, kDamagedFileText - gDocumentMessages.GetFirst());
  for (std::uint32_t version : {0x00020000u, 0x00000005u}) {
    AlertRecorder alerts;
    EXPECT_EQ(ReadDocument(WithVersion(saved, 36, version), nullptr), nullptr) << std::hex << version;
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_EQ(alerts.Alerts()[0].text.rfind(damaged, 0), 0u) << alerts.Alerts()[0].text;
  }
}

// The document numbering with the page compiler's other elements after it, and their base, the class of
// a wrapper's children.
const PersistentType elementClass(&htmlElement::classInfo, MakeVersion(1), MakeVersion(1), nullptr);

SmartRef<TypeIndex> ElementNumbering() {
  const SmartRef<TypeIndex> generic = GetGenericTypeIndex();
  SmartRef<TypeIndex> index = new TypeIndex(nullptr, MakeVersion(1), "pages");
  for (std::int32_t n = 1; n <= generic->NumTypes(); ++n) {
    if (const PersistentType* type = generic->GetType(n)) index->AddType(type);
    else index->AddEmptySlots(1);
  }
  for (const PersistentType* type : {&elementClass, &htmlWrapper::persistentType, &RawHTML::persistentType, &ImageMap::persistentType,
                                     &SoundLink::persistentType})
    index->AddType(type);
  return index;
}

TEST_F(PageTest, PageTreesAreStoredWithEveryElementAndReadBackTheSame) {
  SmartRef<ImageMap> map = new ImageMap(SmartRef<Image>(web_test::MakePicture(4, 3, [](int x, int y) { return x * 40 + y; })));
  map->AddLink({1, 2, 3, 4}, new SoundLink(web_test::FixtureSound("mono8-11025.wav")));
  map->AddLink({-1, 0, 50, 60}, new LinkHREF(0, String("Suite")));
  List children(&htmlElement::classInfo);
  children.AppendRef(SmartRef<RawHTML>(new RawHTML(String("<P>"))));
  children.Append(~map);
  SmartRef<htmlWrapper> page = new htmlWrapper(children);

  std::string saved;
  const SmartRef<Exception> failure = Raised([&] { saved = SaveDocument(SmartRef<Smart>(~page), ElementNumbering()); });
  ASSERT_EQ(failure, nullptr) << RaisedText(failure)
                              << (dynamic_cast<ClassNotInFormat*>(~failure) ? dynamic_cast<ClassNotInFormat*>(~failure)->GetClassName() : "");
  SmartRef<Smart> read = ReadDocument(saved, nullptr, ElementNumbering());
  auto* readPage = CastSmart<htmlWrapper>(~read);
  ASSERT_NE(readPage, nullptr);
  ASSERT_EQ(readPage->GetChildren().NumItems(), 2);
  auto* readMap = CastSmart<ImageMap>(readPage->GetChildren().At(2));
  ASSERT_NE(readMap, nullptr);
  ASSERT_EQ(readMap->GetRectangles().NumItems(), 2);
  EXPECT_EQ(*static_cast<const Rect*>(readMap->GetRectangles().At(2)), Rect(-1, 0, 50, 60));
  auto* sound = CastSmart<SoundLink>(readMap->GetLinks().At(1));
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(TextOf(sound->GetCaption()), "Son");
  ASSERT_NE(sound->GetSound(), nullptr);
  EXPECT_EQ(sound->GetSound()->GetData().GetSize(), web_test::FixtureSound("mono8-11025.wav")->GetData().GetSize());
  EXPECT_EQ(SaveDocument(read, ElementNumbering()), saved);
}

// The engine's links publish, show and keep their addresses as the web library's links.
TEST_F(PageTest, EngineLinksUseTheseLinksForPagesAndAddresses) {
  SmartRef<CLink> jump = new CLink();
  folder.Write("Suite été.pag");
  jump->SetJump(new CJumpMovie(FileReference((folder.WinPath() + "\\" + "Suite été.pag"_cp).c_str())));
  SmartRef<Persistent> address = jump->GetHref();
  auto* page = CastSmart<LinkHREF>(~address);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(TextOf(page->GetHref()), "Suite__t_.htm");
  EXPECT_EQ(TextOf(page->GetCaption()), "Suite été"_cp);

  SmartRef<CLink> web = new CLink();
  web->SetHref(new LinkHREF(String("http://exemple.org/")));
  String text;
  GetAddressText(web->GetStoredHref(), text);
  EXPECT_EQ(TextOf(text), "http://exemple.org/");

  SmartRef<Smart> read = ReadDocument(SaveDocument(SmartRef<Smart>(~web)), nullptr);
  auto* readLink = CastSmart<CLink>(~read);
  ASSERT_NE(readLink, nullptr);
  EXPECT_EQ(readLink->GetKind(), CLink::kWebAddress);
  ASSERT_TRUE(IsMember<LinkHREF>(readLink->GetStoredHref()));
}

}  // namespace

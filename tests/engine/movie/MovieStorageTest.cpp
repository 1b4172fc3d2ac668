#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/FileReference.h"
#include "core/Sound.h"
#include "core/Text1252.h"
#include "engine/EngineTestSupport.h"
#include "engine/links/CLink.h"
#include "support/AlertRecorder.h"
#include "support/DocumentBytes.h"

using namespace document_testing;
using namespace engine_test;

namespace {

constexpr char kWebText[] = "http://quillory.example/";

class MovieStorageTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    folder.Write("suite.zod");
  }

  // Three frames: a sound and a link to the mark "fin" on frame 0, a page link with full redraw on frame
  // 1, a web link on frame 2; marks "début" on frame 0 and "fin" on frame 2.
  SmartRef<TestMovie> MakePage() {
    SmartRef<TestMovie> movie = new TestMovie({0, 0, 100, 80});
    movie->InsertFrames(1, 2, true, false);
    CFrameIndex* index = movie->GetFrameIndex();
    index->FindMark(0, true)->GetLabel().Set("début"_cp);
    CJumpFrame* end = index->FindMark(2, true);
    end->GetLabel().Set("fin");
    SmartRef<Sound> sound = MakeSound("RIFF");
    movie->SetSound(0, 1, ~sound);
    SmartRef<CLink> toEnd = new CLink();
    toEnd->SetJump(end);
    toEnd->SetKind(CLink::kFrame);
    movie->SetLink(0, 1, ~toEnd);
    SmartRef<CLink> toPage = new CLink();
    toPage->SetJump(new CJumpMovie(FileReference(folder.WinPath("suite.zod").c_str())));
    toPage->SetKind(CLink::kPageWithReturn);
    toPage->SetMode(1);
    movie->SetLink(1, 1, ~toPage);
    SmartRef<CLink> toWeb = new CLink();
    toWeb->SetHref(new WebAddress(kWebText));
    movie->SetLink(2, 1, ~toWeb);
    return movie;
  }

  // The page as this program lays it out, written by hand.
  static std::string PageFixture(FileBytes* layout = nullptr) {
    FileBytes local;
    FileBytes& f = layout ? *layout : local;
    f.Root(1, kTestMovie, [&] {
      f.S(3).L(0).L(0).L(100).L(80).B(std::string("\1\0\0\1\0\0\0\0", 8));
      f.Object(2, kList, [&] {
        f.L(kSound).L(3);
        f.Object(3, kSound, [&] { f.B(std::string(2, '\0')).Text("RIFF"); });
        f.L(0).L(0);
      });
      f.Object(4, kList, [&] { f.L(kColorTable).L(3).L(0).L(0).L(0); });
      f.Object(5, kList, [&] {
        f.L(kLink).L(3);
        f.Object(6, kLink, [&] {
          f.B(std::string("\1\0", 2));
          f.Object(7, kJumpFrame, [&] { f.Text("fin").S(2); });
          f.S(0).L(0).L(0);
        });
        f.Object(8, kLink, [&] {
          f.B(std::string("\7\1", 2));
          f.Object(9, kJumpMovie, [&] { f.Object(10, kFileReference, [&] { f.Text("suite.zod"); }); });
          f.S(0).L(0).L(0);
        });
        f.Object(11, kLink, [&] {
          f.B(std::string("\12\0", 2)).L(0).S(0).L(0);
          f.Object(12, kWebAddress, [&] { f.Text(kWebText); });
        });
      });
      f.Object(13, kFrameIndex, [&] {
        f.Object(14, kList, [&] {
          f.L(kJumpFrame).L(2);
          f.Object(15, kJumpFrame, [&] { f.Text("début"_cp).S(0); });
          f.L(7);
        });
      });
    });
    return f.File(kCurrentVersions, {-2, -2, -2, 42, 42, 10, 16, -1, -2, 4, 4, 13, 28, -1});
  }

  static std::string Label(const CMovie& movie, std::int32_t mark) {
    return TextOf(movie.GetFrameIndex()->GetMark(mark)->GetLabel());
  }
};

TEST_F(MovieStorageTest, APageIsStoredAsLaidOutAndReadsBackWhole) {
  AlertRecorder alerts;
  const std::string saved = SaveDocument(MakePage(), MakeEngineTypeIndex());
  ASSERT_EQ(saved, PageFixture());

  SmartRef<TestMovie> movie = CastSmart<TestMovie>(~ReadDocument(saved, nullptr, MakeEngineTypeIndex()));
  ASSERT_TRUE(movie);
  EXPECT_TRUE(alerts.Alerts().empty());
  EXPECT_EQ(movie->GetFrameCount(), 3);
  EXPECT_EQ(movie->GetBounds(), Rect(0, 0, 100, 80));
  EXPECT_EQ(movie->GetMode(), 9);
  EXPECT_EQ(movie->GetFrameCaches().NumItems(), 3);
  ASSERT_NE(movie->GetSound(0), nullptr);
  EXPECT_EQ(movie->GetSound(0)->GetData().GetSize(), 4u);
  EXPECT_EQ(movie->GetSound(1), nullptr);

  ASSERT_EQ(movie->GetFrameIndex()->NumMarks(), 2);
  EXPECT_EQ(Label(*movie, 1), "début"_cp);
  EXPECT_EQ(Label(*movie, 2), "fin");
  EXPECT_EQ(movie->GetFrameIndex()->GetMark(2)->GetFrame(), 2);
  CLink* toEnd = movie->GetLink(0);
  ASSERT_NE(toEnd, nullptr);
  EXPECT_EQ(toEnd->GetKind(), CLink::kFrame);
  EXPECT_EQ(toEnd->GetJump(), movie->GetFrameIndex()->GetMark(2)) << "the link still holds the page's own mark";
  EXPECT_EQ(toEnd->ResolveFrame(*movie->GetFrameIndex()), 2);

  CLink* toPage = movie->GetLink(1);
  ASSERT_NE(toPage, nullptr);
  EXPECT_EQ(toPage->GetKind(), CLink::kPageWithReturn);
  EXPECT_EQ(toPage->GetMode(), 1);
  ASSERT_NE(toPage->GetJumpAsMovie(), nullptr);
  EXPECT_EQ(std::string(toPage->GetJumpAsMovie()->GetFile()->GetPathText()), folder.WinPath("suite.zod"));
  EXPECT_EQ(TextOf(CastSmart<WebAddress>(~toPage->GetHref())->href), "suite.htm");

  CLink* toWeb = movie->GetLink(2);
  ASSERT_NE(toWeb, nullptr);
  EXPECT_EQ(toWeb->GetKind(), CLink::kWebAddress);
  EXPECT_EQ(TextOf(CastSmart<WebAddress>(toWeb->GetStoredHref())->href), kWebText);

  EXPECT_EQ(SaveDocument(movie, MakeEngineTypeIndex()), saved);
}

// Kinds 8 and 9 of older programs act as a step to the next frame but are kept as they were.
TEST_F(MovieStorageTest, AnOldLinkKindReadsAsNextAndIsWrittenBack) {
  FileBytes layout;
  std::string fixture = PageFixture(&layout);
  fixture[layout.PositionOf(6)] = 8;
  SmartRef<TestMovie> movie = CastSmart<TestMovie>(~ReadDocument(fixture, nullptr, MakeEngineTypeIndex()));
  ASSERT_TRUE(movie);
  EXPECT_EQ(movie->GetLink(0)->GetKind(), CLink::kNext);
  EXPECT_EQ(SaveDocument(movie, MakeEngineTypeIndex()), fixture);
}

// A frame count that cannot be is a damaged page; lists that do not match the count are fitted to it.
TEST_F(MovieStorageTest, StoredFrameCountsAreCheckedAndTheListsFittedToThem) {
  struct Case {
    std::int16_t stored;
    std::int16_t frames;
    const char* links;  // per frame: 'L' for a link
    bool damaged;
  } cases[] = {{0, 1, "L", true}, {-3, 1, "L", true}, {2, 2, "LL", false}, {5, 5, "LLL--", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    AlertRecorder alerts;
    FileBytes layout;
    std::string fixture = PageFixture(&layout);
    fixture[layout.PositionOf(1)] = static_cast<char>(c.stored & 0xFF);
    fixture[layout.PositionOf(1) + 1] = static_cast<char>((c.stored >> 8) & 0xFF);
    SmartRef<TestMovie> movie = CastSmart<TestMovie>(~ReadDocument(fixture, nullptr, MakeEngineTypeIndex()));
    ASSERT_TRUE(movie) << "the rest of the page still reads";
    EXPECT_EQ(movie->GetFrameCount(), c.frames);
    std::string links;
    for (std::int16_t f = 0; f < movie->GetFrameCount(); ++f) links += movie->GetLink(f) ? 'L' : '-';
    EXPECT_EQ(links, c.links);
    EXPECT_EQ(movie->GetFrameCaches().NumItems(), c.frames);
    EXPECT_EQ(movie->GetFrameIndex()->NumMarks(), 2);
    if (c.damaged) {
      ASSERT_EQ(alerts.Alerts().size(), 1u);
      EXPECT_EQ(alerts.Alerts()[0].text, NumberedText(191));
    } else {
      EXPECT_TRUE(alerts.Alerts().empty());
    }
    EXPECT_TRUE(movie->InsertFrames(movie->GetFrameCount(), 1, true, false));
    EXPECT_TRUE(movie->RemoveFrames(0, 1));
  }
}

// A hostile page: one list stands for both the sounds and the links, and there is no frame index. The
// movie takes from it only what fits each list, and every frame operation still works.
TEST_F(MovieStorageTest, ListsOfTheWrongKindOrSharedAndAMissingIndexAreMended) {
  AlertRecorder alerts;
  FileBytes f;
  f.Root(1, kTestMovie, [&] {
    f.S(2).L(0).L(0).L(50).L(50).B(std::string("\1\0\0\1\0\0\0\0", 8));
    f.Object(2, kList, [&] {
      f.L(kLink).L(2);
      f.Object(3, kLink, [&] { f.B(std::string(2, '\0')).L(0).S(0).L(0).L(0); });
      f.L(0);
    });
    f.L(0).L(2).L(0);
  });
  const std::string file = f.File(kCurrentVersions, {-1, -1, 16, 42, 42, -1, 16, -1, -1, -1, -1, -1, -1, -1});
  SmartRef<TestMovie> movie = CastSmart<TestMovie>(~ReadDocument(file, nullptr, MakeEngineTypeIndex()));
  ASSERT_TRUE(movie);
  EXPECT_TRUE(alerts.Alerts().empty());
  EXPECT_EQ(movie->GetSound(0), nullptr);
  ASSERT_NE(movie->GetLink(0), nullptr);
  ASSERT_NE(movie->GetFrameIndex(), nullptr);
  EXPECT_EQ(movie->GetFrameIndex()->FindMark(1, true)->GetFrame(), 1);
  ASSERT_TRUE(movie->InsertFrames(1, 1, true, false));
  EXPECT_EQ(movie->GetFrameCount(), 3);
  EXPECT_NE(movie->GetLink(0), nullptr);
  EXPECT_EQ(movie->GetLink(1), nullptr);
  EXPECT_EQ(movie->GetSound(0), nullptr);
  EXPECT_EQ(movie->GetFrameIndex()->GetMark(1)->GetFrame(), 2);
}

// Pages of older programs kept neither labels nor frames of their marks, nor web addresses of their links:
// the marks read unnamed on frame 0, the user is told once that the page is of an older format, and a page
// link still publishes the address of its page.
TEST_F(MovieStorageTest, OlderLinksAndFrameJumpsReadAsTheyWereKept) {
  AlertRecorder alerts;
  FileBytes f;
  f.Root(1, kTestMovie, [&] {
    f.S(2).L(0).L(0).L(50).L(50).B(std::string("\1\0\0\1\0\0\0\0", 8));
    f.L(0).L(0);
    f.Object(2, kList, [&] {
      f.L(kLink).L(2);
      f.Object(3, kLink, [&] {
        f.B(std::string("\1\0", 2));
        f.Object(4, kJumpFrame, [] {});
        f.S(0).L(0);
      });
      f.Object(5, kLink, [&] {
        f.B(std::string("\2\0", 2));
        f.Object(6, kJumpMovie, [&] { f.Object(7, kFileReference, [&] { f.Text("suite.zod"); }); });
        f.S(0).L(0);
      });
    });
    f.Object(8, kFrameIndex, [&] {
      f.Object(9, kList, [&] {
        f.L(kJumpFrame).L(2).L(4);
        f.Object(10, kJumpFrame, [] {});
      });
    });
  });
  std::vector<std::uint32_t> versions = kCurrentVersions;
  versions[kLink - 1] = versions[kJumpFrame - 1] = 0x00020000;
  const std::string file = f.File(versions, {13, 13, 16, 42, 42, -1, 12, -1, 0, 4, 4, 13, -1, -1});

  SmartRef<TestMovie> movie = CastSmart<TestMovie>(~ReadDocument(file, nullptr, MakeEngineTypeIndex()));
  ASSERT_TRUE(movie);
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text, NumberedText(192));
  CFrameIndex* index = movie->GetFrameIndex();
  ASSERT_EQ(index->NumMarks(), 2);
  for (std::int32_t i = 1; i <= 2; ++i) {
    EXPECT_EQ(index->GetMark(i)->GetFrame(), 0);
    EXPECT_EQ(Label(*movie, i), "");
  }
  CLink* toFrame = movie->GetLink(0);
  ASSERT_NE(toFrame, nullptr);
  EXPECT_EQ(toFrame->GetKind(), CLink::kFrame);
  EXPECT_EQ(toFrame->ResolveFrame(*index), 0);
  CLink* toPage = movie->GetLink(1);
  ASSERT_NE(toPage, nullptr);
  EXPECT_EQ(toPage->GetStoredHref(), nullptr);
  SmartRef<Persistent> href = toPage->GetHref();
  ASSERT_TRUE(IsMember<WebAddress>(~href));
  EXPECT_EQ(TextOf(CastSmart<WebAddress>(~href)->href), "suite.htm");
}

// A program that knows frame jumps only as the empty blocks of version 2.0 passes over the labels and
// frames a newer page stored, says once that the page comes from a newer program, and reads the rest.
const PersistentType gOlderJumpFrame(&CJumpFrame::classInfo, MakeVersion(1), MakeVersion(2), [](Archive* archive) {
  ArchiveBlock block(archive, &gOlderJumpFrame);
  std::unique_ptr<CJumpFrame> made(new CJumpFrame());
  block.Close();
  return static_cast<Persistent*>(made.release());
});

TEST_F(MovieStorageTest, AnOlderProgramPassesOverTheLabelsAndReadsTheRest) {
  AlertRecorder alerts;
  SmartRef<TestMovie> movie =
      CastSmart<TestMovie>(~ReadDocument(PageFixture(), nullptr, MakeEngineTypeIndex(&gOlderJumpFrame)));
  ASSERT_TRUE(movie);
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text, NumberedText(193));
  ASSERT_EQ(movie->GetFrameIndex()->NumMarks(), 2);
  for (std::int32_t i = 1; i <= 2; ++i) {
    EXPECT_EQ(movie->GetFrameIndex()->GetMark(i)->GetFrame(), 0);
    EXPECT_EQ(Label(*movie, i), "");
  }
  EXPECT_EQ(movie->GetFrameCount(), 3);
  ASSERT_NE(movie->GetSound(0), nullptr);
  EXPECT_EQ(movie->GetSound(0)->GetData().GetSize(), 4u);
  EXPECT_EQ(movie->GetLink(0)->GetKind(), CLink::kFrame);
  EXPECT_EQ(movie->GetLink(0)->GetJump(), movie->GetFrameIndex()->GetMark(2));
  EXPECT_EQ(movie->GetLink(1)->GetKind(), CLink::kPageWithReturn);
  EXPECT_EQ(std::string(movie->GetLink(1)->GetJumpAsMovie()->GetFile()->GetPathText()), folder.WinPath("suite.zod"));
  EXPECT_EQ(TextOf(CastSmart<WebAddress>(movie->GetLink(2)->GetStoredHref())->href), kWebText);
}

}  // namespace

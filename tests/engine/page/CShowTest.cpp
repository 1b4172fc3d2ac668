#include <gtest/gtest.h>

#include <string>

#include "core/File.h"
#include "core/ObjectFile.h"
#include "core/String.h"
#include "engine/page/PageTestSupport.h"
#include "engine/sprites/SpriteTestSupport.h"
#include "graphics/DisplayPort.h"
#include "support/AlertRecorder.h"
#include "support/DocumentBytes.h"
#include "engine/memory/CMemory.h"
#include "support/graphics/SurfaceDevice.h"

using namespace document_testing;
using namespace engine_test;

namespace {

using ShowTest = PageTest;

TEST_F(ShowTest, ANewPageHasItsDefaults) {
  const SmartRef<CShow> page = new CShow(new CMovieGroup(defaultMovieBounds), false);
  EXPECT_EQ(page->GetFrameRate(), 15);
  EXPECT_EQ(page->GetColour(), Color(0));
  EXPECT_EQ(page->GetSecondColor(), Color(1));
  EXPECT_EQ(page->GetPattern(), Pattern(0));
  EXPECT_TRUE(page->GetStageRect().IsEmpty());
  EXPECT_EQ(page->GetAnchor(), Point(60, 60));
  EXPECT_EQ(page->GetMovieGroup()->GetFrameCount(), 1);
  EXPECT_EQ(TextOf(*page->GetTitle()), "Page sans titre");
  const SmartRef<CShow> other = MakePage({0, 0, 10, 10}, 1);
  EXPECT_EQ(other->GetTitle(), page->GetTitle()) << "one title for every page";
  EXPECT_TRUE(page->GetMovieGroup()->HasDependant(~page));
  EXPECT_EQ(page->GetMarkFrame(1), -1);
  page->GetMovieGroup()->GetFrameIndex()->FindMark(0, true);
  EXPECT_EQ(page->GetMarkFrame(1), 0);
}

TEST_F(ShowTest, AMovieBecomesAPageOfItsOwn) {
  const SmartRef<CMovie> picture = SolidPicture(30, 20, 3);
  const SmartRef<CShow> page = new CShow(~picture, true);
  auto* group = CastSmart<CMovieGroup>(page->GetMovieGroup());
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->GetBounds(), picture->GetBounds());
  ASSERT_EQ(group->GetSpriteCount(), 1);
  EXPECT_NE(group->GetSprite(0)->GetMovie(), ~picture) << "the page shows a copy";
  EXPECT_TRUE(group->GetSprite(0)->ToggleBackgroundFlag(false));

  const SmartRef<CShow> made = picture->MakeShow();
  EXPECT_FALSE(CastSmart<CMovieGroup>(made->GetMovieGroup())->GetSprite(0)->ToggleBackgroundFlag(false));
  const SmartRef<CShow> same = group->MakeShow();
  EXPECT_EQ(same->GetMovieGroup(), static_cast<CMovie*>(group)) << "a group is held as it is";

  // Where a movie is wanted, a page gives its own.
  SmartRef<Smart> slot(~page);
  ASSERT_TRUE(ConvertSmart(&slot, &CMovie::classInfo));
  EXPECT_EQ(~slot, static_cast<Smart*>(group));
}

TEST_F(ShowTest, AFrameIsPaintedToItsLastRowAndColumn) {
  const SmartRef<CShow> page = MakePage({0, 0, 30, 20}, 1);
  page->SetColour(Color(5));
  AddSprite(GroupOf(*page), *SolidPicture(4, 4, 4), 0, 1);
  SurfaceDevice screen(30, 20, Color(2));
  {
    DisplayPort port(&screen, {0, 0, 30, 20});
    page->DrawFrame(port, 0, {0, 0, 30, 20}, 0, nullptr, Rect::emptyRect);
  }
  const std::uint32_t colour = screen.Pixel(15, 15);
  EXPECT_NE(colour, screen.Pixel(0, 0)) << "the sprite is drawn";
  for (const Point p : {Point(29, 10), Point(10, 19), Point(29, 19)}) EXPECT_EQ(screen.Pixel(p.x, p.y), colour) << Text(p);
}

TEST_F(ShowTest, ThumbnailsAreAnEighthOfThePageAndKept) {
  const SmartRef<CShow> page = MakePage(defaultMovieBounds, 3);
  AddSprite(GroupOf(*page), *SolidPicture(80, 80, 4), 0, 3);
  SurfaceDevice screen(350, 350);
  DisplayPort port(&screen, defaultMovieBounds);
  EXPECT_EQ(page->GetFrameStamp(port, 3), nullptr);
  EXPECT_EQ(page->GetFrameStamp(port, -1), nullptr);
  const SmartRef<CStamp> stamp = page->GetFrameStamp(port, 1);
  ASSERT_TRUE(stamp);
  EXPECT_EQ(stamp->GetBounds(), Rect(0, 0, 43, 43));
  EXPECT_EQ(page->GetFrameStamp(port, 1), stamp);
  EXPECT_EQ(CMemory::Get().GetLevel(), 0);
}

TEST_F(ShowTest, ForgettingAFrameDropsWhatNoLongerHolds) {
  struct Case {
    const char* name;
    std::int16_t frame;
    std::string stampsLeft, deltasLeft;  // one character a frame: x kept, - cleared
  } const cases[] = {
      {"every frame", -1, "", ""},
      {"a middle frame and the record after it", 1, "x-xx", "x--x"},
      {"the last frame and the record of frame 0, which follows it", 3, "xxx-", "-xx-"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SmartRef<CShow> page = MakePage({0, 0, 64, 64}, 4);
    AddSprite(GroupOf(*page), *SolidPicture(8, 8, 4), 0, 4);
    SurfaceDevice screen(64, 64);
    DisplayPort port(&screen, {0, 0, 64, 64});
    for (std::int16_t f = 0; f < 4; ++f) {
      page->GetFrameStamp(port, f);
      page->GetDelta(f, true);
    }
    page->ForgetFrame(c.frame);
    const auto left = [](const List& list) {
      std::string kept;
      for (std::int32_t i = 1; i <= list.NumItems(); ++i) kept += list.At(i) ? 'x' : '-';
      return kept;
    };
    EXPECT_EQ(left(page->GetStampCache()), c.stampsLeft);
    EXPECT_EQ(left(page->GetDeltas()), c.deltasLeft);
  }
}

TEST_F(ShowTest, AChangeInTheGroupReachesThePageCaches) {
  const SmartRef<CShow> page = MakePage({0, 0, 64, 64}, 3);
  const SmartRef<RecordingMovie> images = new RecordingMovie(3, false, {0, 0, 8, 8});
  CSprite* sprite = AddSprite(GroupOf(*page), *images, 0, 3);
  for (std::int16_t f = 0; f < 3; ++f) page->GetDelta(f, true);
  sprite->GetMovie()->Changed(sprite->GetMovie(), Rect::emptyRect, 0);
  EXPECT_EQ(page->GetDelta(0, false), nullptr);
  EXPECT_EQ(page->GetDelta(1, false), nullptr);
  EXPECT_NE(page->GetDelta(2, false), nullptr);
  page->SetColour(Color(5));
  EXPECT_EQ(page->GetDeltas().NumItems(), 0) << "a new page colour makes every record wrong";
}

TEST_F(ShowTest, ClonesShareTheMovieAndTheirRegistrationIsTheirOwn) {
  const SmartRef<CShow> page = MakePage({0, 0, 64, 64}, 2);
  CMovie* movie = page->GetMovieGroup();
  MovieDependant* cloned = nullptr;
  {
    const SmartRef<CShow> clone = CastSmart<CShow>(page->Clone());
    cloned = ~clone;
    EXPECT_EQ(clone->GetMovieGroup(), movie);
    EXPECT_EQ(~clone->GetDeltas().GetData(), ~page->GetDeltas().GetData());
    EXPECT_TRUE(movie->HasDependant(cloned));
  }
  EXPECT_TRUE(movie->HasDependant(~page));
  EXPECT_FALSE(movie->HasDependant(cloned));

  // A copy of another page moves the registration to that page's movie.
  const SmartRef<CShow> other = MakePage({0, 0, 32, 32}, 1);
  page->SetFrameRate(3);
  other->CopyFrom(~page);
  EXPECT_EQ(other->GetFrameRate(), 3);
  EXPECT_EQ(other->GetMovieGroup(), movie);
  EXPECT_TRUE(movie->HasDependant(~other));

  AlertRecorder alerts;
  const SmartRef<String> text = new String("x");
  try {
    page->CopyFrom(~text);
    ADD_FAILURE() << "a page copies only a page";
  } catch (Exception* failure) {
    const SmartRef<Exception> held(failure);
  }
}

TEST_F(ShowTest, APageReadBackPointsAtItsFileAndHasNoRecords) {
  const SmartRef<CShow> page = MakePage({0, 0, 120, 90}, 3);
  AddSprite(GroupOf(*page), *SolidPicture(10, 10, 4), 0, 3);
  page->SetFrameRate(7);
  page->GetDelta(1, true);
  folder.Write("page.qpg");
  const std::string path = folder.WinPath("page.qpg");
  const SmartRef<FileReference> reference = new FileReference(path.c_str());
  {
    const SmartRef<File> file = new File(~reference, kFileModeWrite);
    const SmartRef<ObjectFile> objects = new ObjectFile(GetGenericTypeIndex(), SmartRef<Stream>(~file));
    objects->Write(SmartRef<Smart>(~page));
  }
  ASSERT_NE(page->GetFileReference(), nullptr);
  EXPECT_STREQ(page->GetFileReference()->GetPathText(), reference->GetPathText()) << "a written page points at its file";
  AlertRecorder alerts;
  SmartRef<Smart> read;
  {
    const SmartRef<File> file = new File(~reference, kFileModeRead);
    const SmartRef<ObjectFile> objects = new ObjectFile(GetGenericTypeIndex(), SmartRef<Stream>(~file));
    objects->Read(&read);
  }
  const SmartRef<CShow> back = CastSmart<CShow>(~read);
  ASSERT_TRUE(back);
  EXPECT_TRUE(alerts.Alerts().empty());
  EXPECT_EQ(back->GetFrameRate(), 7);
  EXPECT_EQ(back->GetMovieGroup()->GetFrameCount(), 3);
  EXPECT_EQ(back->GetDeltas().NumItems(), 0);
  ASSERT_NE(back->GetFileReference(), nullptr);
  EXPECT_STREQ(back->GetFileReference()->GetPathText(), reference->GetPathText());
  EXPECT_TRUE(back->GetMovieGroup()->HasDependant(~back));
}

TEST_F(ShowTest, ThePlaceholdersOnlyReport) {
  const SmartRef<CShow> page = MakePage({0, 0, 10, 10}, 1);
  AlertRecorder alerts;
  page->NotImplementedCommand();
  page->NotImplementedDraw(new String("x"));
  ASSERT_EQ(alerts.Alerts().size(), 2u);
  EXPECT_NE(alerts.Alerts()[0].text.find("Not implemented."), std::string::npos);
}

}  // namespace

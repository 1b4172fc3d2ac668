#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/String.h"
#include "engine/EngineTestSupport.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/kinds/CMovieText.h"
#include "engine/kinds/CMovieVideo.h"
#include "engine/media/CResource.h"
#include "engine/media/CStamp.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "support/AlertRecorder.h"
#include "support/DocumentBytes.h"

using namespace document_testing;
using namespace engine_test;

namespace {

class ResourceMovieTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    Prepare(32, Win95);
  }
  // A picture of the size, its resource without bounds of its own unless given.
  static SmartRef<CResource> Picture(int width, int height, const Rect& bounds = Rect::emptyRect) {
    SmartRef<CResource> resource =
        new CResource(SmartRef<Smart>(new BitMap(width, height, ColorTable::GetStandard(8))));
    resource->SetBounds(bounds.left, bounds.top, bounds.right, bounds.bottom);
    return resource;
  }
  static SmartRef<CResource> Text(const char* text, const Rect& bounds) {
    SmartRef<CResource> resource = new CResource(SmartRef<Smart>(new String(text)));
    resource->SetBounds(bounds.left, bounds.top, bounds.right, bounds.bottom);
    return resource;
  }
  // Frames given by their resources and points.
  static SmartRef<CMoviePic> Pictures(const std::vector<std::pair<CResource*, Point>>& frames) {
    SmartRef<CMoviePic> movie = new CMoviePic(frames[0].first);
    if (frames.size() > 1) movie->InsertFrames(1, static_cast<std::int16_t>(frames.size() - 1), true, false);
    for (std::size_t f = 0; f < frames.size(); ++f) {
      movie->SetFrames(static_cast<std::int16_t>(f), 1, frames[f].first, false, 0);
      movie->SetFramePoint(static_cast<std::int16_t>(f), frames[f].second);
    }
    return movie;
  }
  // Per frame: the letter of its resource among those given ('-' for none), and its point.
  static std::string Frames(const CMovieRes& movie, const std::vector<CResource*>& known) {
    std::string out;
    for (std::int16_t f = 0; f < movie.GetFrameCount(); ++f) {
      char letter = movie.GetResource(f) ? '?' : '-';
      for (std::size_t k = 0; k < known.size(); ++k)
        if (movie.GetResource(f) == known[k]) letter = static_cast<char>('a' + k);
      const Point p = movie.GetFramePoint(f);
      out += std::string(1, letter) + "@" + std::to_string(p.x) + "," + std::to_string(p.y) + " ";
    }
    return out;
  }
};

TEST_F(ResourceMovieTest, NewFramesShowWhatTheirNeighbourShows) {
  SmartRef<CResource> a = Picture(4, 4), b = Picture(4, 4);
  struct Case {
    std::int16_t at;
    std::string frames;
  } cases[] = {{0, "a@1,2 a@1,2 a@1,2 b@5,6 "}, {2, "a@1,2 b@5,6 b@5,6 b@5,6 "}, {1, "a@1,2 a@1,2 a@1,2 b@5,6 "}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.at);
    SmartRef<CMoviePic> movie = Pictures({{~a, {1, 2}}, {~b, {5, 6}}});
    EXPECT_TRUE(movie->InsertFrames(c.at, 2, false, false));
    EXPECT_EQ(Frames(*movie, {~a, ~b}), c.frames);
  }
  SmartRef<CMoviePic> movie = Pictures({{~a, {1, 2}}});
  EXPECT_FALSE(movie->InsertFrames(2, 1, false, false));
  EXPECT_EQ(Frames(*movie, {~a}), "a@1,2 ");
}

// Replacing a frame's content with keep-anchor keeps the picture's centre, or the text's top-left corner,
// where it was on the stage.
TEST_F(ResourceMovieTest, KeepingTheAnchorOfReplacedContent) {
  struct Case {
    const char* name;
    bool text;
    bool keep;
    Point point;
  } cases[] = {{"picture", false, true, {80, 90}}, {"text", true, true, {100, 100}},
               {"picture, not kept", false, false, {100, 100}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SmartRef<CResource> before = c.text ? Text("a", {0, 0, 40, 40}) : Picture(40, 40, {0, 0, 40, 40});
    SmartRef<CResource> after = c.text ? Text("abc", {0, 0, 80, 60}) : Picture(80, 60, {0, 0, 80, 60});
    SmartRef<CMovieRes> movie;
    if (c.text) movie = new CMovieText(~before, {0, 0, 200, 200});
    else movie = new CMoviePic(~before);
    movie->SetFramePoint(0, {100, 100});
    EXPECT_EQ(movie->SetFrames(0, 1, ~after, c.keep, 1), -1);
    EXPECT_EQ(movie->GetResource(0), ~after);
    EXPECT_EQ(movie->GetFramePoint(0), c.point);
  }
}

TEST_F(ResourceMovieTest, FramesShowingOneResourceShareItsStamps) {
  SmartRef<CResource> a = Picture(4, 4), b = Picture(4, 4);
  SmartRef<CMoviePic> movie = Pictures({{~a, {0, 0}}, {~a, {3, 0}}, {~b, {0, 0}}, {~a, {0, 0}}});
  EXPECT_EQ(movie->GetFrameCache(0), movie->GetFrameCache(1));
  EXPECT_EQ(movie->GetFrameCache(-1)->NumItems(), 0);
  for (CResource* resource : {~a, ~b}) resource->GetStamps().Append(new CStamp(new BitMap(1, 1, ColorTable::GetStandard(8)), Color(0)));
  movie->Changed(~movie, Rect::emptyRect, 1);
  EXPECT_EQ(a->GetStamps().NumItems(), 0) << "a change of either frame drops the stamps of both";
  EXPECT_EQ(b->GetStamps().NumItems(), 1);
  EXPECT_FALSE(movie->FramesDiffer(0, 3)) << "another frame showing the same at the same place";
  EXPECT_TRUE(movie->FramesDiffer(0, 1)) << "another point";
  EXPECT_TRUE(movie->FramesDiffer(0, 2)) << "another resource";
  EXPECT_FALSE(movie->CanSetFrames(0, 3, nullptr));
  EXPECT_TRUE(movie->CanSetFrames(0, 2, nullptr));
  EXPECT_EQ(movie->GetFrameCount(), 4) << "asking does not grow the movie";
}

TEST_F(ResourceMovieTest, FrameBoundsComeFromTheResource) {
  SmartRef<CResource> sized = Picture(4, 4, {2, 3, 12, 13}), loose = Picture(4, 4);
  SmartRef<CMoviePic> movie = Pictures({{~sized, {10, 20}}, {~loose, {10, 20}}});
  movie->SetFrames(2, 1, nullptr, false, 0);
  Rect bounds;
  movie->GetFrameBounds(&bounds, 0);
  EXPECT_EQ(bounds, Rect(12, 23, 22, 33));
  movie->GetFrameBounds(&bounds, 1);
  EXPECT_EQ(bounds, movie->GetBounds()) << "a resource without bounds shows over the movie's";
  movie->GetFrameBounds(&bounds, 2);
  EXPECT_EQ(bounds, Rect::emptyRect);
  movie->GetFrameBounds(&bounds, 7);
  EXPECT_EQ(bounds, Rect::emptyRect);
}

TEST_F(ResourceMovieTest, ExtractingAndCuttingFrames) {
  SmartRef<CResource> a = Picture(4, 4), b = Picture(4, 4), c = Picture(4, 4);
  struct Case {
    const char* name;
    int frames;
    std::int16_t start, count;
    bool cut;
    std::string part;
    std::string left;
  } cases[] = {
      {"ten frames of a still picture", 1, 0, 10, false, "a@1,1 ", "a@1,1 "},
      {"a middle frame", 3, 1, 1, false, "b@2,2 ", "a@1,1 b@2,2 c@3,3 "},
      {"cut in the middle", 3, 1, 2, true, "b@2,2 c@3,3 ", "a@1,1 "},
      {"cut every frame", 3, 0, 3, true, "a@1,1 b@2,2 c@3,3 ", "a@1,1 "},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    std::vector<std::pair<CResource*, Point>> frames = {{~a, {1, 1}}, {~b, {2, 2}}, {~c, {3, 3}}};
    frames.resize(static_cast<std::size_t>(k.frames));
    SmartRef<CMoviePic> movie = Pictures(frames);
    SmartRef<CMovie> part = movie->ExtractFrames(k.start, k.count, k.cut);
    ASSERT_TRUE(IsMember<CMoviePic>(~part));
    EXPECT_EQ(Frames(*CastSmart<CMoviePic>(~part), {~a, ~b, ~c}), k.part);
    EXPECT_EQ(Frames(*movie, {~a, ~b, ~c}), k.left);
  }
}

TEST_F(ResourceMovieTest, PastingFramesOfAnotherResourceMovie) {
  AlertRecorder alerts;
  SmartRef<CResource> a = Picture(4, 4), b = Picture(4, 4);
  SmartRef<CMoviePic> movie = Pictures({{~a, {1, 1}}, {~a, {2, 2}}});
  SmartRef<CMoviePic> other = Pictures({{~b, {7, 7}}});
  movie->PasteFrames(1, *other);
  EXPECT_EQ(Frames(*movie, {~a, ~b}), "a@1,1 b@7,7 a@2,2 ");
  movie->PasteFrames(0, *movie);
  EXPECT_EQ(Frames(*movie, {~a, ~b}), "a@1,1 b@7,7 a@2,2 a@1,1 b@7,7 a@2,2 ");
  EXPECT_TRUE(alerts.Alerts().empty());
  SmartRef<CMovieVideo> video = new CMovieVideo(Rect{0, 0, 10, 10});
  movie->PasteFrames(0, *video);
  EXPECT_EQ(movie->GetFrameCount(), 6) << "only resource movies paste into one";
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text.rfind("Not implemented.", 0), 0u);
}

// Resources and points stored for more or fewer frames than the movie has come from a damaged file: the
// user is told, and each frame gets one.
TEST_F(ResourceMovieTest, StoredResourcesAndPointsAreFittedToTheFrames) {
  SmartRef<CResource> a = Picture(4, 4, {0, 0, 4, 4});
  SmartRef<CMoviePic> movie = Pictures({{~a, {1, 1}}, {~a, {2, 2}}});
  const std::string saved = SaveDocument(movie);
  {
    AlertRecorder alerts;
    SmartRef<CMoviePic> read = CastSmart<CMoviePic>(~ReadDocument(saved, nullptr));
    ASSERT_TRUE(read);
    EXPECT_TRUE(alerts.Alerts().empty());
    EXPECT_EQ(read->GetFrameCount(), 2);
    EXPECT_EQ(read->GetResource(0), read->GetResource(1)) << "one resource, read once";
    EXPECT_EQ(read->GetFramePoint(1), Point(2, 2));
    EXPECT_EQ(SaveDocument(read), saved);
  }
  struct Case {
    std::uint16_t frames;
    std::string read;
  } cases[] = {{3, "a@1,1 a@2,2 -@0,0 "}, {1, "a@1,1 "}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frames);
    std::string body = ObjectBody(saved, 1);
    body.replace(0, 2, Short(c.frames));
    AlertRecorder alerts;
    SmartRef<CMoviePic> read = CastSmart<CMoviePic>(~ReadDocument(WithObjectBody(saved, 1, body), nullptr));
    ASSERT_TRUE(read) << "the rest of the page still reads";
    EXPECT_EQ(Frames(*read, {read->GetResource(0)}), c.read);
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_EQ(alerts.Alerts()[0].text, NumberedText(191));
    EXPECT_TRUE(read->InsertFrames(read->GetFrameCount(), 1, false, false));
  }
}

}  // namespace

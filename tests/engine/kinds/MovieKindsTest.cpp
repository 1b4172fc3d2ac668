#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/Sound.h"
#include "core/String.h"
#include "engine/EngineTestSupport.h"
#include "engine/geometry/CXform.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/kinds/CMovieText.h"
#include "engine/kinds/CMovieVideo.h"
#include "engine/links/CLink.h"
#include "engine/media/CResource.h"
#include "engine/media/CStamp.h"
#include "engine/sprites/CSprite.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/bitmaps/PixelCursor.h"
#include "support/AlertRecorder.h"
#include "support/DocumentBytes.h"
#include "support/graphics/SurfaceDevice.h"

using namespace document_testing;
using namespace engine_test;

namespace {

std::uint32_t Rgb(const Color& c) {
  return static_cast<std::uint32_t>(c.red >> 8) << 16 | static_cast<std::uint32_t>(c.green >> 8) << 8 | (c.blue >> 8);
}

class MovieKindsTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    Prepare(32, Win95);
  }
  // A picture of one standard colour, at the depth.
  static SmartRef<CResource> Picture(int width, int height, int colour, int depth = 8) {
    SmartRef<BitMap> bitmap = new BitMap(width, height, ColorTable::GetStandard(static_cast<std::int16_t>(depth)));
    std::int32_t value = 0;
    bitmap->GetColorTable()->IndexOf(Color(colour), &value);
    for (PixelCursor cursor(~bitmap, bitmap->GetBounds(), true); cursor.HasRow(); cursor.NextPixel())
      cursor.SetPixel(static_cast<std::uint32_t>(value));
    return new CResource(SmartRef<Smart>(~bitmap));
  }
  static SmartRef<CXform> Scaled(const Rect& from, int width, int height, int degrees = 0) {
    SmartRef<CXform> xform = new CXform(from, {from.left, from.top, from.left + width, from.top + height});
    if (degrees) {
      const double a = degrees * 0.01745329252;
      const double w = double(width) / from.Width(), h = double(height) / from.Height();
      xform->Decompose({w * std::cos(a), w * std::sin(a), -h * std::sin(a), h * std::cos(a)});
    }
    return xform;
  }
};

TEST_F(MovieKindsTest, APictureMovieTakesItsBoundsFromItsPicture) {
  SmartRef<CResource> picture = Picture(6, 4, 7);
  SmartRef<CMoviePic> movie = new CMoviePic(~picture);
  EXPECT_EQ(movie->GetBounds(), Rect(0, 0, 6, 4));
  EXPECT_EQ(movie->GetMode() & CMovie::kModeCycles, 0) << "resource movies do not loop";
  SmartRef<CResource> text = new CResource(SmartRef<Smart>(new String("mot")));
  EXPECT_FALSE(CMoviePic::FromPicture(~text));
  EXPECT_FALSE(CMoviePic::FromPicture(nullptr));
  EXPECT_TRUE(IsMember<CMoviePic>(~CMoviePic::FromPicture(~picture)));
}

// A picture enlarged without turning is drawn straight from its image; shrunk or turned, through a stamp.
TEST_F(MovieKindsTest, WhichPictureFramesAreDrawnDirectly) {
  SmartRef<CMoviePic> movie = new CMoviePic(~Picture(10, 10, 7));
  struct Case {
    const char* name;
    SmartRef<CXform> xform;
    bool direct;
  } cases[] = {
      {"none", nullptr, false},
      {"hidden", hiddenFrameXform, true},
      {"enlarged", Scaled({0, 0, 10, 10}, 20, 10), true},
      {"shrunk", Scaled({0, 0, 10, 10}, 5, 5), false},
      {"turned", Scaled({0, 0, 10, 10}, 20, 20, 30), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(movie->CanDrawDirect(~c.xform), c.direct);
  }
}

TEST_F(MovieKindsTest, PictureFrameDepths) {
  SmartRef<CMoviePic> movie = new CMoviePic(~Picture(4, 4, 7, 8));
  movie->InsertFrames(1, 2, false, false);
  movie->SetFrames(2, 1, ~Picture(4, 4, 7, 32), false, 0);
  movie->SetFrames(1, 1, new CResource(SmartRef<Smart>(new String("mot"))), false, 0);
  const int direct = ColorTable::GetStandard(32)->GetDepth();
  struct Case {
    std::int16_t frame;
    int depth;
  } cases[] = {{0, 8}, {1, 1}, {2, direct}, {-1, direct}, {-3, 8}, {5, direct}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frame);
    EXPECT_EQ(movie->GetFrameDepth(c.frame), c.depth);
  }
}

// A picture frame drawn straight, scaled through a transform, and through the stamp cache give the same
// pixels; a frame holding no picture draws nothing and caches nothing.
TEST_F(MovieKindsTest, PictureFramesDrawAtTheirPlace) {
  SmartRef<CResource> picture = Picture(4, 3, 7);
  picture->SetBounds(0, 0, 4, 3);
  SmartRef<CMoviePic> movie = new CMoviePic(~picture);
  movie->SetFramePoint(0, {5, 6});
  const SmartRef<CXform> doubled = new CXform({5, 6, 9, 9}, {10, 10, 18, 16});
  for (const bool cached : {false, true}) {
    SCOPED_TRACE(cached);
    SurfaceDevice page(30, 30);
    DisplayPort port(&page, {0, 0, 30, 30});
    EXPECT_TRUE(cached ? movie->DrawFrameTransformed(port, ~doubled, 0, Color(0))
                       : movie->DrawFrame(port, ~doubled, 0, Color(0)));
    EXPECT_EQ(page.Pixel(10, 10), Rgb(Color(7)));
    EXPECT_EQ(page.Pixel(17, 15), Rgb(Color(7)));
    EXPECT_EQ(page.Pixel(18, 15), 0xFFFFFFu);
    EXPECT_EQ(page.Pixel(9, 10), 0xFFFFFFu);
  }
  AlertRecorder alerts;
  movie->SetFrames(0, 1, new CResource(SmartRef<Smart>(new String("mot"))), false, 0);
  SurfaceDevice page(30, 30);
  DisplayPort port(&page, {0, 0, 30, 30});
  EXPECT_FALSE(movie->DrawFrame(port, nullptr, 0, Color(0)));
  EXPECT_FALSE(movie->MakeFrameStamp(port, nullptr, 0, Color(0), {0, 0, 4, 3}));
  EXPECT_FALSE(movie->DrawFrame(port, nullptr, 4, Color(0)));
  EXPECT_TRUE(movie->DrawFrame(port, hiddenFrameXform, 0, Color(0)));
  EXPECT_TRUE(alerts.Alerts().empty());
  movie->ApplyToFrame(nullptr, 0, nullptr);
  EXPECT_EQ(alerts.Alerts().size(), 1u);
}

TEST_F(MovieKindsTest, ATextFrameIsDrawnOnItsErasedBox) {
  SmartRef<CResource> text = new CResource(SmartRef<Smart>(new String("")));
  text->SetBounds(4, 4, 20, 14);
  SmartRef<CMovieText> movie = new CMovieText(~text, {0, 0, 40, 30});
  SurfaceDevice page(40, 30, Color(8));
  page.Fill(0x0000FF);
  DisplayPort port(&page, {0, 0, 40, 30});
  EXPECT_TRUE(movie->DrawFrame(port, nullptr, 0, Color(8)));
  EXPECT_EQ(page.Pixel(5, 5), Rgb(Color(8)));
  EXPECT_EQ(page.Pixel(3, 5), 0x0000FFu);
  EXPECT_EQ(page.Pixel(20, 5), 0x0000FFu);
  EXPECT_TRUE(movie->DrawFrame(port, hiddenFrameXform, 0, Color(8)));
}

// A text box resized to its width keeps the text's height; to another width it takes the wrapped height.
TEST_F(MovieKindsTest, TextBoxesFollowTheirText) {
  SmartRef<String> words = new String("un deux trois quatre cinq six sept huit neuf dix");
  Point narrow, wide;
  words->Measure(narrow, 40);
  words->Measure(wide, 300);
  ASSERT_GT(narrow.y, wide.y);
  struct Case {
    const char* name;
    Rect box;  // on the stage; the frame's point is (10, 10)
    Rect bounds;
  } cases[] = {
      {"same box", {10, 10, 310, 10 + wide.y}, {0, 0, 300, wide.y}},
      {"same width, taller", {10, 10, 310, 200}, {0, 0, 300, wide.y}},
      {"narrower", {20, 10, 60, 20}, {10, 0, 50, narrow.y}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SmartRef<CResource> text = new CResource(SmartRef<Smart>(~words));
    text->SetBounds(0, 0, 300, wide.y);
    SmartRef<CMovieText> movie = new CMovieText(~text, {0, 0, 400, 400});
    movie->SetFramePoint(0, {10, 10});
    movie->UpdateFrameBounds(c.box, 0);
    EXPECT_EQ(text->GetBounds(), c.bounds);
  }
  SmartRef<CResource> picture = Picture(4, 4, 7);
  picture->SetBounds(0, 0, 4, 4);
  SmartRef<CMovieText> holdingAPicture = new CMovieText(~picture, {0, 0, 40, 40});
  holdingAPicture->UpdateFrameBounds({0, 0, 30, 30}, 0);
  EXPECT_EQ(picture->GetBounds(), Rect(0, 0, 4, 4));
}

// A page read where the fonts measure otherwise gets frame 0's text box to the new measure.
TEST_F(MovieKindsTest, ATextIsMeasuredAgainWhenRead) {
  SmartRef<String> words = new String("un deux trois quatre cinq");
  Point size;
  words->Measure(size, 60);
  SmartRef<CResource> text = new CResource(SmartRef<Smart>(~words));
  text->SetBounds(2, 3, 62, 3 + size.y + 17);
  SmartRef<CMovieText> movie = new CMovieText(~text, {0, 0, 100, 100});
  SmartRef<CMovieText> read = CastSmart<CMovieText>(~ReadDocument(SaveDocument(movie), nullptr));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->GetResource(0)->GetBounds(), Rect(2, 3, 62, 3 + size.y));
  EXPECT_EQ(read->QueryFrameText(0), 0);
}

// The video movie plays nothing: its first call tells the user so, once, and the page goes on.
TEST_F(MovieKindsTest, AVideoMovieTellsOnceThatThereIsNoVideo) {
  AlertRecorder alerts;
  SmartRef<CMovieVideo> movie = new CMovieVideo(Rect{2, 2, 12, 12});
  SurfaceDevice page(20, 20);
  DisplayPort port(&page, {0, 0, 20, 20});
  EXPECT_TRUE(movie->DrawFrame(port, nullptr, 0, Color(0)));
  EXPECT_TRUE(movie->DrawFrameTransformed(port, nullptr, 0, Color(0)));
  EXPECT_FALSE(movie->PrepareFrame(0));
  EXPECT_FALSE(movie->CheckFrame(nullptr, 0, nullptr, 1, 0));
  EXPECT_FALSE(movie->GetFrameObject(0));
  EXPECT_FALSE(movie->GetVideo()->Play(true));
  EXPECT_FALSE(movie->GetVideo()->IsPlaying());
  EXPECT_FALSE(movie->FramesDiffer(0, 1));
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text.rfind("Not implemented.", 0), 0u);
  EXPECT_EQ(page.Pixel(5, 5), 0xFFFFFFu);

  SmartRef<CMovieVideo> none = new CMovieVideo(Rect{2, 2, 12, 12});
  none->SetNoVideo(true);
  EXPECT_FALSE(none->DrawFrame(port, nullptr, 0, Color(0)));
  EXPECT_EQ(page.Pixel(2, 5), Rgb(Color(1))) << "the placeholder's outline";
  EXPECT_EQ(page.Pixel(5, 5), 0xFFFFFFu) << "and nothing inside it";
}

TEST_F(MovieKindsTest, AVideoMovieKeepsItsFramesThroughAFile) {
  SmartRef<CMovieVideo> movie = new CMovieVideo(Rect{2, 2, 12, 12});
  movie->InsertFrames(1, 2, true, false);
  movie->ToggleMode4(true);
  SmartRef<Sound> sound = MakeSound("RIFF");
  movie->SetSound(1, 1, ~sound);
  movie->SetLink(2, 1, new CLink());
  movie->GetFrameIndex()->FindMark(2, true)->GetLabel().Set("fin");
  const std::string saved = SaveDocument(movie);
  SmartRef<CMovieVideo> read = CastSmart<CMovieVideo>(~ReadDocument(saved, nullptr));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->GetFrameCount(), 3);
  EXPECT_EQ(read->GetBounds(), Rect(2, 2, 12, 12));
  EXPECT_EQ(read->GetMode(), movie->GetMode());
  EXPECT_NE(read->GetSound(1), nullptr);
  EXPECT_NE(read->GetLink(2), nullptr);
  EXPECT_EQ(read->GetFrameIndex()->FindLabel(String("fin")), 2);
  EXPECT_EQ(SaveDocument(read), saved);
}

// A one-frame picture sprite takes the place of the frame at its start frame; a start outside the frames
// replaces the nearest one, never losing a frame. Frames are named by their resources: s is the sprite's.
TEST_F(MovieKindsTest, AOneFramePictureSpriteReplacesTheFrameAtItsStart) {
  struct Case {
    const char* name;
    int frames;
    std::int16_t start;
    std::string after;
  } const cases[] = {
      {"frame 3 of 5", 5, 3, "012s4"},
      {"frame 0 of 1", 1, 0, "s0"},
      {"past the end", 3, 7, "01s"},
      {"before the first frame", 3, -2, "s12"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<SmartRef<CResource>> pictures;
    for (int i = 0; i < c.frames; ++i) pictures.push_back(Picture(4, 4, 2 + i));
    SmartRef<CMoviePic> movie = new CMoviePic(~pictures[0]);
    if (c.frames > 1) movie->InsertFrames(1, static_cast<std::int16_t>(c.frames - 1), false, false);
    for (int i = 1; i < c.frames; ++i) movie->SetFrames(static_cast<std::int16_t>(i), 1, ~pictures[i], false, 0);
    const SmartRef<CResource> sprites = Picture(4, 4, 12);
    const SmartRef<CSprite> sprite = new CSprite(c.start, new CMoviePic(~sprites), Rect::emptyRect);
    EXPECT_EQ(movie->MergeSprite(~sprite), CMovie::kNoFrame);
    std::string after;
    for (std::int16_t f = 0; f < movie->GetFrameCount(); ++f) {
      const CResource* shown = movie->GetResource(f);
      char name = '?';
      if (shown == ~sprites) name = 's';
      for (int i = 0; i < c.frames; ++i)
        if (shown == ~pictures[i]) name = static_cast<char>('0' + i);
      after += name;
    }
    EXPECT_EQ(after, c.after);
  }
}

// Sprites a picture movie cannot take are refused with the engine's notice, the movie unchanged.
TEST_F(MovieKindsTest, OtherSpritesAreNotMergedIntoAPictureMovie) {
  SmartRef<CMoviePic> twoFrames = new CMoviePic(~Picture(4, 4, 3));
  twoFrames->InsertFrames(1, 1, false, false);
  SmartRef<CSprite> overTwoFrames = new CSprite(0, new CMoviePic(~Picture(4, 4, 3)), Rect::emptyRect);
  overTwoFrames->SetFrameCount(2);
  SmartRef<CResource> words = new CResource(SmartRef<Smart>(new String("mot")));
  const SmartRef<CSprite> refused[] = {
      new CSprite(0, twoFrames, Rect::emptyRect),
      overTwoFrames,
      new CSprite(0, new CMovieText(~words, {0, 0, 20, 10}), Rect::emptyRect),
      nullptr,
  };
  SmartRef<CMoviePic> movie = new CMoviePic(~Picture(4, 4, 7));
  const CResource* before = movie->GetResource(0);
  AlertRecorder alerts;
  for (const SmartRef<CSprite>& sprite : refused) {
    EXPECT_EQ(movie->MergeSprite(~sprite), CMovie::kNoFrame);
    EXPECT_EQ(movie->GetFrameCount(), 1);
    EXPECT_EQ(movie->GetResource(0), before);
  }
  ASSERT_EQ(alerts.Alerts().size(), 1u) << "the notice is shown once for its place";
  EXPECT_EQ(alerts.Alerts()[0].text.rfind("Not implemented.", 0), 0u);
}

// Two sprites of picture movies, or of text movies, merge by taking over each other's images; sprites of
// a picture movie and a text movie do not.
TEST_F(MovieKindsTest, SpritesOfPicturesOrOfTextsMergeTheirImages) {
  const auto text = [](const char* words) {
    SmartRef<CResource> resource = new CResource(SmartRef<Smart>(new String(words)));
    return SmartRef<CMovie>(new CMovieText(~resource, {0, 0, 30, 12}));
  };
  const auto picture = [](int colour) { return SmartRef<CMovie>(new CMoviePic(~Picture(4, 4, colour))); };
  struct Case {
    const char* name;
    SmartRef<CMovie> ours, theirs;
    bool merged;
  } const cases[] = {
      {"pictures", picture(2), picture(3), true},
      {"texts", text("un"), text("deux"), true},
      {"a picture and a text", picture(2), text("deux"), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SmartRef<CSprite> ours = new CSprite(0, c.ours, Rect::emptyRect);
    const SmartRef<CSprite> theirs = new CSprite(2, c.theirs, Rect::emptyRect);
    EXPECT_EQ(ours->MergeIfMatching(theirs, true, false), c.merged);
    if (!c.merged) continue;
    EXPECT_EQ(ours->GetFrameCount(), 3);
    EXPECT_EQ(ours->GetMovie()->GetFrameObject(ours->GetImageIndex(2)), c.theirs->GetFrameObject(0));
    EXPECT_EQ(ours->GetMovie()->GetFrameObject(ours->GetImageIndex(0)), c.ours->GetFrameObject(0));
  }
}

}  // namespace

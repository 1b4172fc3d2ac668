#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/String.h"
#include "engine/geometry/XformTestSupport.h"
#include "engine/sprites/SpriteTestSupport.h"
#include "support/Raised.h"

using namespace engine_test;

// A movie kind whose sprites merge by taking each other's images, as pictures do.
class PictureLikeMovie : public RecordingMovie {
  SMART_ABSTRACT(PictureLikeMovie)
 public:
  using RecordingMovie::RecordingMovie;
};

SMART_DEFINE_ABSTRACT(PictureLikeMovie, "PictureLikeMovie", RecordingMovie)

namespace {

class SpritePathTest : public EngineTest {
 protected:
  // Frames at page frames 10 to 12 over a movie of three images, offsets (1, 1), (2, 2), (3, 3); sound a
  // on frame 10, link b on frame 12; key frames 0 and 2.
  SmartRef<CSprite> MakeThreeFrames(bool cycles = false) {
    movie = new RecordingMovie(3, cycles);
    SmartRef<CSprite> sprite = new CSprite(10, ~movie, Rect::emptyRect);
    for (std::int16_t r = 0; r < 3; ++r) sprite->GetPathPoint(r)->offset = {r + 1, r + 1};
    sound = MakeSound("RIFF");
    sprite->SetSound(10, 1, ~sound);
    const SmartRef<CLink> given = new CLink();
    sprite->SetLink(12, 1, ~given);
    link = sprite->GetLinkAtFrame(12);
    EXPECT_NE(~link, ~given) << "a link is attached as a copy";
    sprite->SetKeyFrame(12, true);
    movie->Forget();
    return sprite;
  }

  // Frames at page frames 10 to 19, frame r at offset (r, 0), over a movie of as many images as asked;
  // key frames 0, 3 and 7.
  SmartRef<CSprite> MakeTenFrames(std::int16_t images, bool cycles = false) {
    movie = new RecordingMovie(images, cycles);
    SmartRef<CSprite> sprite = new CSprite(10, ~movie, Rect::emptyRect);
    sprite->SetFrameCount(10);
    for (std::int16_t r = 0; r < 10; ++r) sprite->GetPathPoint(r)->offset = {r, 0};
    sprite->SetKeyFrame(13, true);
    sprite->SetKeyFrame(17, true);
    movie->Forget();
    return sprite;
  }

  std::string Frames(const CSprite& sprite) { return Describe(sprite, {~sound, ~link}); }

  SmartRef<RecordingMovie> movie;
  SmartRef<Sound> sound;
  SmartRef<CLink> link;
};

constexpr char kThreeFrames[] = "start 10: +1+1/a- +2+2 +3+3/-b | keys 0 2";

TEST_F(SpritePathTest, InsertedFramesCopyTheNeighbourTheModeNames) {
  struct Case {
    const char* name;
    std::int16_t frame, count;
    int mode;
    bool inserted;
    std::string frames;
    std::vector<std::string> movieInserts;
  } const cases[] = {
      {"hidden at the start moves the sprite", 10, 2, 0, false, "start 12: +1+1/a- +2+2 +3+3/-b | keys 0 2", {}},
      {"from before at the start moves it", 10, 2, 1, false, "start 12: +1+1/a- +2+2 +3+3/-b | keys 0 2", {}},
      {"from after at the start", 10, 2, 2, true, "start 10: +1+1/a- +1+1/a- +1+1/a- +2+2 +3+3/-b | keys 2 4",
       {"insert 0 2 keeping links"}},
      {"from a neighbour at the start", 10, 2, 3, true,
       "start 10: +1+1/a- +1+1/a- +1+1/a- +2+2 +3+3/-b | keys 2 4", {"insert 0 2 keeping links"}},
      {"hidden inside", 11, 2, 0, true, "start 10: +1+1/a- H+0+0 H+0+0 +2+2 +3+3/-b | keys 0 4",
       {"insert 1 2 keeping links"}},
      {"from before inside", 11, 2, 1, true, "start 10: +1+1/a- +1+1/a- +1+1/a- +2+2 +3+3/-b | keys 0 4",
       {"insert 1 2 keeping links"}},
      {"from after inside", 11, 2, 2, true, "start 10: +1+1/a- +2+2 +2+2 +2+2 +3+3/-b | keys 0 4",
       {"insert 1 2 keeping links"}},
      {"from a neighbour inside", 11, 2, 3, true, "start 10: +1+1/a- +1+1/a- +1+1/a- +2+2 +3+3/-b | keys 0 4",
       {"insert 1 2 keeping links"}},
      {"at the last image, which is held", 12, 1, 1, true, "start 10: +1+1/a- +2+2 +2+2 +3+3/-b | keys 0 3", {}},
      {"hidden just after", 13, 2, 0, false, kThreeFrames, {}},
      {"from after just after", 13, 2, 2, false, kThreeFrames, {}},
      {"from before just after", 13, 2, 1, true, "start 10: +1+1/a- +2+2 +3+3/-b +3+3/-b +3+3/-b | keys 0 2", {}},
      {"from a neighbour just after", 13, 2, 3, true, "start 10: +1+1/a- +2+2 +3+3/-b +3+3/-b +3+3/-b | keys 0 2",
       {}},
      {"before the sprite", 4, 3, 3, false, "start 13: +1+1/a- +2+2 +3+3/-b | keys 0 2", {}},
      {"past its end", 14, 2, 3, false, kThreeFrames, {}},
      {"no frames", 11, 0, 3, false, kThreeFrames, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SmartRef<CSprite> sprite = MakeThreeFrames();
    EXPECT_EQ(sprite->InsertFrames(c.frame, c.count, c.mode), c.inserted);
    EXPECT_EQ(Frames(*sprite), c.frames);
    EXPECT_EQ(movie->Calls("insert"), c.movieInserts);
    ExpectSpriteInvariants(*sprite);
    if (c.mode != 0 && c.inserted) {
      EXPECT_NE(sprite->GetPathPoint(c.frame - 10), sprite->GetPathPoint(c.frame - 9)) << "each frame its own point";
    }
  }
  // A cycling movie never takes new images.
  const SmartRef<CSprite> cycling = MakeThreeFrames(true);
  EXPECT_TRUE(cycling->InsertFrames(11, 2, 1));
  EXPECT_TRUE(movie->Calls("insert").empty());
}

TEST_F(SpritePathTest, DeletedFramesTakeTheirImagesAndKeysWithThem) {
  constexpr char kTen[] = "start 10: +0+0 +1+0 +2+0 +3+0 +4+0 +5+0 +6+0 +7+0 +8+0 +9+0 | keys 0 3 7";
  struct Case {
    const char* name;
    std::int16_t images;
    bool cycles;
    std::int16_t frame, count;
    bool deleted;
    std::string frames;
    std::vector<std::string> movieDeletes;
  } const cases[] = {
      {"wholly before moves the sprite", 10, false, 2, 3, false, "start 7: +0+0 +1+0 +2+0 +3+0 +4+0 +5+0 +6+0 +7+0 +8+0 +9+0 | keys 0 3 7", {}},
      {"across its start", 10, false, 5, 8, true, "start 5: +3+0 +4+0 +5+0 +6+0 +7+0 +8+0 +9+0 | keys 0 4", {"delete 0 3"}},
      {"inside", 10, false, 13, 2, true, "start 10: +0+0 +1+0 +2+0 +5+0 +6+0 +7+0 +8+0 +9+0 | keys 0 5", {"delete 3 2"}},
      {"across its end", 10, false, 18, 5, true, "start 10: +0+0 +1+0 +2+0 +3+0 +4+0 +5+0 +6+0 +7+0 | keys 0 3 7", {"delete 8 2"}},
      {"after it", 10, false, 20, 2, false, kTen, {}},
      {"no frames", 10, false, 13, 0, false, kTen, {}},
      {"the held last image stays", 3, false, 11, 2, true, "start 10: +0+0 +3+0 +4+0 +5+0 +6+0 +7+0 +8+0 +9+0 | keys 0 1 5", {"delete 1 1"}},
      {"frames that hold the last image cut none", 3, false, 15, 2, true, "start 10: +0+0 +1+0 +2+0 +3+0 +4+0 +7+0 +8+0 +9+0 | keys 0 3 5", {}},
      {"a cycling movie keeps its images", 3, true, 11, 2, true, "start 10: +0+0 +3+0 +4+0 +5+0 +6+0 +7+0 +8+0 +9+0 | keys 0 1 5", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SmartRef<CSprite> sprite = MakeTenFrames(c.images, c.cycles);
    ASSERT_EQ(Frames(*sprite), kTen);
    EXPECT_EQ(sprite->DeleteFrames(c.frame, c.count), c.deleted);
    EXPECT_EQ(Frames(*sprite), c.frames);
    EXPECT_EQ(movie->Calls("delete"), c.movieDeletes);
    ExpectSpriteInvariants(*sprite);
  }
}

TEST_F(SpritePathTest, GrowingRepeatsTheLastFrameAndShrinkingDropsTheEnd) {
  const SmartRef<CSprite> sprite = MakeThreeFrames();
  sprite->SetFrameCount(5);
  EXPECT_EQ(Frames(*sprite), "start 10: +1+1/a- +2+2 +3+3/-b +3+3/-b +3+3/-b | keys 0 2");
  ExpectSpriteInvariants(*sprite);
  sprite->SetFrameCount(1);
  EXPECT_EQ(Frames(*sprite), "start 10: +1+1/a- | keys 0");
  ExpectSpriteInvariants(*sprite);
  sprite->SetFrameCount(-3);
  EXPECT_EQ(Frames(*sprite), "start 10: | keys");
  ExpectSpriteInvariants(*sprite);
}

TEST_F(SpritePathTest, HiddenFramesKeepTheirPlaceSoundAndLinkButNotTheirKey) {
  const SmartRef<CSprite> sprite = MakeThreeFrames();
  sprite->HideFrames(9, 2);
  EXPECT_EQ(Frames(*sprite), "start 10: H+1+1/a- +2+2 +3+3/-b | keys 2");
  sprite->HideFrames(12, 5);
  EXPECT_EQ(Frames(*sprite), "start 10: H+1+1/a- +2+2 H+3+3/-b | keys");
  ExpectSpriteInvariants(*sprite);
  // Moving the path leaves hidden frames where they were.
  sprite->OffsetPath(10, -1);
  EXPECT_EQ(Frames(*sprite), "start 10: H+1+1/a- +12+1 H+3+3/-b | keys");
}

TEST_F(SpritePathTest, ShowingFramesGrowsTheSpriteAndShowsThemWithTheModelPoint) {
  struct Case {
    const char* name;
    std::int16_t frame, count;
    std::string frames;
  } const cases[] = {
      // New frames copy the sprite's ends and are hidden, then shown with the default point; the key frame
      // moves with its frame.
      {"from 4 frames before", 6, 5,
       "start 6: +0+0/a- +0+0/a- +0+0/a- +0+0/a- +0+0/a- +2+2 H+3+3/-b H+3+3/-b | keys 5"},
      {"past the end", 11, 5, "start 10: H+1+1/a- +2+2 +0+0/-b +0+0/-b +0+0/-b +0+0/-b | keys 1"},
      {"inside", 12, 1, "start 10: H+1+1/a- +2+2 +0+0/-b H+3+3/-b | keys 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SmartRef<CSprite> sprite = MakeThreeFrames();
    sprite->SetFrameCount(4);
    sprite->HideFrames(10, 1);
    sprite->HideFrames(12, 2);
    sprite->SetKeyFrame(11, true);
    ASSERT_EQ(Frames(*sprite), "start 10: H+1+1/a- +2+2 H+3+3/-b H+3+3/-b | keys 1");
    sprite->ShowFrames(c.frame, c.count);
    ExpectSpriteInvariants(*sprite);
    EXPECT_EQ(Frames(*sprite), c.frames);
  }
}

TEST_F(SpritePathTest, ShowingUsesTheFirstShownFrameWhenTheDefaultPointIsHidden) {
  const SmartRef<CSprite> sprite = MakeThreeFrames();
  sprite->GetDefaultPoint()->xform = engine_testing::StoredXform(Rect::emptyRect, Rect::emptyRect, 0, 0);
  const SmartRef<CXform> turned = new CXform({0, 0, 40, 30}, {0, 0, 80, 60});
  sprite->GetPathPoint(1)->xform = turned;
  sprite->HideFrames(10, 1);
  sprite->GetPathPoint(2)->xform = engine_testing::StoredXform(Rect::emptyRect, Rect::emptyRect, 0, 0);
  ASSERT_EQ(Frames(*sprite), "start 10: H+1+1/a- X+2+2 x+3+3/-b | keys 2");
  sprite->ShowFrames(10, 3);
  EXPECT_EQ(Frames(*sprite), "start 10: X+2+2/a- X+2+2 X+2+2/-b | keys 2");
  EXPECT_EQ(~sprite->GetPathPoint(0)->xform, ~turned) << "the model's transform is shared, not copied";
  EXPECT_TRUE(sprite->GetDefaultPoint()->IsHidden()) << "a default point that shows nothing counts as hidden";

  // With every frame hidden, frames are shown untransformed where the movie is.
  sprite->HideFrames(10, 3);
  sprite->ShowFrames(11, 1);
  EXPECT_EQ(Frames(*sprite), "start 10: H+2+2/a- +0+0 H+2+2/-b | keys");
}

TEST_F(SpritePathTest, TrimmingDropsHiddenFramesAtBothEnds) {
  struct Case {
    const char* name;
    std::vector<std::int16_t> hidden;
    std::int16_t limit;
    std::string frames;
  } const cases[] = {
      {"every frame hidden", {10, 11, 12, 13, 14, 15, 16, 17, 18, 19}, 100, "start 10: | keys"},
      {"two first and three last", {10, 11, 17, 18, 19}, 100, "start 12: +2+0 +3+0 +4+0 +5+0 +6+0 | keys 1"},
      {"a hidden frame inside stays", {10, 14, 19}, 100, "start 11: +1+0 +2+0 +3+0 H+4+0 +5+0 +6+0 +7+0 +8+0 | keys 2 6"},
      {"shown frames past the limit go too", {10}, 14, "start 11: +1+0 +2+0 +3+0 | keys 2"},
      {"a limit before the sprite", {}, 5, "start 10: | keys"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SmartRef<CSprite> sprite = MakeTenFrames(10);
    for (const std::int16_t f : c.hidden) sprite->GetPathPoint(f - 10)->xform = hiddenFrameXform;
    sprite->TrimHiddenFrames(c.limit);
    EXPECT_EQ(Frames(*sprite), c.frames);
    ExpectSpriteInvariants(*sprite);
  }
}

TEST_F(SpritePathTest, FittingAFrameScalesItOrKeepsAMoveInItsOffset) {
  const SmartRef<CXform> shared = new CXform({0, 0, 40, 30}, {0, 0, 80, 60});
  struct Case {
    const char* name;
    CXform* xform;
    Rect target;
    std::string frame;  // the fitted frame, 11
    Rect bounds;
  } const cases[] = {
      {"moved only", nullptr, {7, 7, 47, 37}, "+7+7", {7, 7, 47, 37}},
      {"scaled", nullptr, {0, 0, 80, 60}, "X+0+0", {0, 0, 80, 60}},
      {"a shared transform, refitted in this frame only", ~shared, {10, 10, 50, 40}, "X+0+0", {10, 10, 50, 40}},
      {"hidden first", hiddenFrameXform, {12, 12, 52, 42}, "+12+12", {12, 12, 52, 42}},
      {"an empty target hides", nullptr, Rect::emptyRect, "H+2+2", Rect::emptyRect},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SmartRef<CSprite> sprite = MakeThreeFrames();
    sprite->GetPathPoint(0)->xform = shared;
    sprite->GetPathPoint(1)->xform = c.xform;
    // Fitting makes the frame a key frame; hiding it takes that away.
    sprite->SetKeyFrame(11, c.target.IsEmpty());
    sprite->FitFrameToRect(11, &c.target, nullptr);
    Rect bounds;
    sprite->GetFrameBounds(11, &bounds);
    EXPECT_EQ(Text(bounds), Text(c.bounds));
    EXPECT_EQ(Frames(*sprite), "start 10: X+1+1/a- " + c.frame + " +3+3/-b | keys " +
                                   (c.target.IsEmpty() ? "0 2" : "0 1 2"));
    EXPECT_EQ(shared->GetDestination(), Rect(0, 0, 80, 60)) << "other frames keep the shared transform as it was";
    ExpectSpriteInvariants(*sprite);
  }
}

TEST_F(SpritePathTest, FittingWithAnAnchorMovesTheOrigin) {
  const SmartRef<CSprite> sprite = MakeThreeFrames();
  const Point anchor{31, 21};
  sprite->FitFrameToRect(10, nullptr, &anchor);
  EXPECT_EQ(sprite->GetOrigin(), Point(30, 20)) << "the anchor less the frame's offset";
  const Rect doubled{0, 0, 80, 60};
  const Point scaledAnchor{40, 30};
  sprite->FitFrameToRect(11, &doubled, &scaledAnchor);
  EXPECT_EQ(sprite->GetOrigin(), Point(20, 15)) << "taken back through the frame's transform";
  Point position;
  sprite->GetFrameGeometry(11, nullptr, &position);
  EXPECT_EQ(position, scaledAnchor);
}

TEST_F(SpritePathTest, ARangeCopyIsRenumberedFromItsFirstFrame) {
  struct Case {
    const char* name;
    std::int16_t frame, count;
    std::string frames;
    std::vector<std::string> extracts;
  } const cases[] = {
      {"inside", 13, 3, "start 0: +3+0 +4+0 +5+0 | keys 0", {"extract 3 3"}},
      {"from before the sprite", 7, 5, "start 3: +0+0 +1+0 | keys 0", {"extract 0 2"}},
      {"past its end", 18, 5, "start 0: +8+0 +9+0 | keys", {"extract 8 2"}},
      {"outside it", 2, 3, "start 10: | keys", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SmartRef<CSprite> source = MakeTenFrames(10);
    source->SetName(new String("chat"));
    const SmartRef<CSprite> copy = CSprite::ExtractRange(*source, c.frame, c.count, false);
    EXPECT_EQ(Frames(*copy), c.frames);
    EXPECT_EQ(movie->Calls("extract"), c.extracts);
    EXPECT_EQ(TextOf(*copy->GetName()), "chat");
    EXPECT_EQ(copy->GetOrigin(), source->GetOrigin());
    ExpectSpriteInvariants(*copy);
    if (!c.extracts.empty()) {
      EXPECT_NE(copy->GetMovie(), ~movie);
      EXPECT_NE(copy->GetPathPoint(0), source->GetPathPoint(c.frame > 10 ? c.frame - 10 : 0));
    }
  }
  // The source shows the images of its frames 3 to 5 there; the copy shows them from its frame 0.
  const SmartRef<CSprite> source = MakeTenFrames(10);
  source->SetSound(14, 1, ~MakeSound("RIFF"));
  const SmartRef<CSprite> copy = CSprite::ExtractRange(*source, 13, 3, true);
  EXPECT_EQ(copy->GetMovie()->GetFrameCount(), 3);
  EXPECT_NE(copy->GetSoundAtFrame(1), nullptr);
  EXPECT_NE(copy->GetSoundAtFrame(1), source->GetSoundAtFrame(14)) << "the copy's sounds are its own";
  EXPECT_EQ(Frames(*source), "start 10: +0+0 +1+0 +2+0 H+3+0 H+4+0/?- H+5+0 +6+0 +7+0 +8+0 +9+0 | keys 0 7");
}

TEST_F(SpritePathTest, SpritesOfOneMovieMergeWhenTheyShowTheSameImages) {
  const auto make = [&](std::int16_t start, const Rect& placement) {
    SmartRef<CSprite> sprite = new CSprite(start, ~movie, placement);
    sprite->SetFrameCount(2);
    return sprite;
  };
  movie = new RecordingMovie(1, false);
  const SmartRef<CSprite> sprite = make(10, Rect::emptyRect);
  const SmartRef<CSprite> other = make(14, {100, 100, 140, 130});
  other->GetPathPoint(1)->offset = {110, 100};
  sound = MakeSound("RIFF");
  other->SetSound(15, 1, ~sound);
  other->SetKeyFrame(15, true);
  other->SetName(new String("autre"));

  EXPECT_FALSE(sprite->MergeIfMatching(other, true, true)) << "names differ";
  const SmartRef<CSprite> overlapping = make(11, Rect::emptyRect);
  EXPECT_FALSE(sprite->MergeIfMatching(overlapping, true, false)) << "both shown at frame 11";
  const SmartRef<CSprite> unrelated = new CSprite(20, new TestMovie(), Rect::emptyRect);
  EXPECT_FALSE(sprite->MergeIfMatching(unrelated, false, false)) << "another movie, of no kind that merges images";
  ASSERT_EQ(Frames(*sprite), "start 10: +0+0 +0+0 | keys 0");

  // The other's frames keep their path, laid where this sprite's default point is.
  ASSERT_TRUE(sprite->MergeIfMatching(other, true, false));
  EXPECT_EQ(Frames(*sprite), "start 10: +0+0 +0+0 H+0+0 H+0+0 +0+0 +10+0/a- | keys 0 4 5");
  ExpectSpriteInvariants(*sprite);
  EXPECT_TRUE(movie->Calls("set").empty());

  // Showing different images of one movie, sprites do not merge.
  movie = new RecordingMovie(3, false);
  const SmartRef<CSprite> first = make(0, Rect::emptyRect);
  const SmartRef<CSprite> later = make(5, Rect::emptyRect);
  EXPECT_FALSE(first->MergeIfMatching(later, true, false));
  movie->ToggleFlag8(true);
  EXPECT_TRUE(first->MergeIfMatching(later, true, false)) << "a cycling movie's images are all alike";
  EXPECT_EQ(first->GetFrameCount(), 7);
}

TEST_F(SpritePathTest, SpritesOfPictureLikeMoviesTakeEachOthersImages) {
  AddImageMergingKind(&PictureLikeMovie::classInfo);
  movie = new PictureLikeMovie(1, false);
  const SmartRef<CSprite> sprite = new CSprite(10, ~movie, Rect::emptyRect);
  const SmartRef<RecordingMovie> theirs = new PictureLikeMovie(2, false);
  const SmartRef<CSprite> other = new CSprite(12, ~theirs, Rect::emptyRect);
  other->SetFrameCount(3);
  movie->Forget();
  ASSERT_TRUE(sprite->MergeIfMatching(other, true, false));
  EXPECT_EQ(Frames(*sprite), "start 10: +0+0 H+0+0 +0+0 +0+0 +0+0 | keys 0 2");
  // The last image covers the frames that hold it; each image is announced where this sprite shows it.
  EXPECT_EQ(movie->Calls("set"), (std::vector<std::string>{"set 3 2 image 1 kept 5", "set 2 1 image 0 kept 5"}));
  // Announced where this sprite shows them, before and after; the movie grows to take image 1 (-1).
  EXPECT_EQ(movie->Calls("changed"),
            (std::vector<std::string>{"changed 0", "changed 0", "changed 0", "changed -1", "changed 3", "changed 2"}));
  {
    const MovieChangesSuppressed quiet;
    movie->Forget();
    const SmartRef<CSprite> again = new CSprite(20, ~theirs, Rect::emptyRect);
    EXPECT_TRUE(sprite->MergeIfMatching(again, false, false));
    EXPECT_TRUE(movie->Calls("changed").empty());
    EXPECT_EQ(movie->Calls("set"),
              (std::vector<std::string>{"set 11 1 image 1 placed 12", "set 10 1 image 0 placed 12"}));
  }
}

TEST_F(SpritePathTest, MergingNothingIsRefused) {
  const SmartRef<CSprite> sprite = MakeThreeFrames();
  EXPECT_EQ(RaisedText(Raised([&] { sprite->MergeFrames(nullptr); })), "~sp != NULL && member(sp,CSprite)");
}

}  // namespace

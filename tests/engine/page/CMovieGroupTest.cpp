#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "core/String.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "engine/links/CLink.h"
#include "engine/page/PageTestSupport.h"
#include "engine/page/CMovieGroup.h"
#include "engine/sprites/SpriteTestSupport.h"
#include "engine/tracks/CTrackList.h"
#include "support/AlertRecorder.h"
#include "support/DocumentBytes.h"
#include "graphics/DisplayPort.h"
#include "support/graphics/SurfaceDevice.h"

using namespace document_testing;
using namespace engine_test;

namespace {

class MovieGroupTest : public PageTest {
 protected:
  // A group of (0, 0, 100, 80) and 20 frames.
  SmartRef<CMovieGroup> MakeGroup(std::int16_t frames = 20) {
    SmartRef<CMovieGroup> group = new CMovieGroup(Rect{0, 0, 100, 80});
    if (frames > 1) group->InsertFrames(1, static_cast<std::int16_t>(frames - 1), true, false);
    return group;
  }
  // A sprite of a movie of its own over [start, start + count), at the movie's place, named.
  static CSprite* Add(CMovieGroup& group, std::int16_t start, std::int16_t count, const char* name = "",
                      const Rect& bounds = {0, 0, 10, 10}) {
    const SmartRef<RecordingMovie> movie = new RecordingMovie(1, true, bounds);
    const SmartRef<CSprite> sprite = new CSprite(start, ~movie, Rect::emptyRect);
    sprite->SetFrameCount(count);
    sprite->SetName(new String(name));
    const std::int16_t index = group.MergeSprite(~sprite);
    return group.GetSprite(index);
  }
  static std::string Order(const CMovieGroup& group) {
    std::string names;
    for (std::int16_t i = 0; i < group.GetSpriteCount(); ++i) names += TextOf(*group.GetSprite(i)->GetName());
    return names;
  }
  static std::set<std::uint32_t> Keys(const CTrackList& tracks) {
    std::set<std::uint32_t> keys;
    for (std::int32_t i = 1; i <= tracks.NumTracks(); ++i) keys.insert(tracks.GetKey(i));
    return keys;
  }
};

TEST_F(MovieGroupTest, AnEmptyGroupDrawsNothingAndFindsNothing) {
  const SmartRef<CMovieGroup> group = MakeGroup(1);
  SurfaceDevice device(20, 20, Color(2));
  {
    DisplayPort port(&device, {0, 0, 20, 20});
    EXPECT_TRUE(group->DrawFrame(port, nullptr, 0, Color(0)));
  }
  EXPECT_EQ(device.Pixel(5, 5), device.Pixel(0, 0));
  Rect bounds{1, 1, 2, 2};
  group->GetFrameBounds(&bounds, 0);
  EXPECT_TRUE(bounds.IsEmpty());
  EXPECT_EQ(group->FindTopSpriteAtFrame(0), nullptr);
  EXPECT_EQ(group->FindSpriteByName(String("a")), nullptr);
  EXPECT_EQ(group->GetSprite(-1), nullptr);
  EXPECT_EQ(group->GetSprite(0), nullptr);
}

TEST_F(MovieGroupTest, QueriesFromTheTop) {
  const SmartRef<CMovieGroup> group = MakeGroup();
  CSprite* low = Add(*group, 0, 10, "x");
  CSprite* unnamed = Add(*group, 0, 5, "");
  CSprite* high = Add(*group, 3, 4, "x");
  EXPECT_EQ(group->GetSpriteCount(), 3);
  EXPECT_EQ(group->GetSprite(3), nullptr);
  EXPECT_EQ(group->FindSpriteByName(String("x")), high);
  EXPECT_EQ(group->FindSpriteByName(String("")), nullptr) << "even though a sprite has an empty name";
  EXPECT_NE(unnamed, nullptr);
  EXPECT_EQ(group->FindTopSpriteAtFrame(4), high);
  EXPECT_EQ(group->FindTopSpriteAtFrame(2), unnamed);
  EXPECT_EQ(group->FindTopSpriteAtFrame(8), low);
  EXPECT_EQ(group->FindTopSpriteAtFrame(15), nullptr);
}

TEST_F(MovieGroupTest, AnAddedMovieIsPlacedOnTheGroup) {
  struct Case {
    const char* name;
    Rect movie, placed;
  } const cases[] = {
      {"smaller: the group's bounds", {0, 0, 10, 10}, {0, 0, 100, 80}},
      {"smaller, elsewhere", {300, 300, 320, 310}, {0, 0, 100, 80}},
      {"wider: the union's size at the top-left corner", {0, 0, 140, 20}, {0, 0, 140, 80}},
      {"larger both ways", {-50, -50, 150, 150}, {0, 0, 200, 200}},
  };
  const SmartRef<CMovieGroup> group = MakeGroup(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SmartRef<RecordingMovie> movie = new RecordingMovie(1, true, c.movie);
    EXPECT_EQ(group->PlacementRect(*movie), c.placed);
  }
  const SmartRef<RecordingMovie> small = new RecordingMovie(3, false, {0, 0, 10, 10});
  const std::int16_t index = group->AddMovieAsSprite(0, 0, ~small);
  CSprite* sprite = group->GetSprite(index);
  ASSERT_NE(sprite, nullptr);
  EXPECT_NE(sprite->GetMovie(), ~small) << "the sprite shows a copy";
  EXPECT_EQ(sprite->GetFrameCount(), 3);
  Rect at;
  sprite->GetFrameGeometry(0, &at, nullptr);
  EXPECT_EQ(at, Rect(45, 35, 55, 45)) << "centred on the placement";
  EXPECT_TRUE(group->IsRegisteredWith(sprite->GetMovie()));
  EXPECT_EQ(group->AddObjectAsSprite(0, 1, nullptr, true, 10, String()), CMovieGroup::kNoSprite);

  // A picture becomes a picture movie of its own, named, over the frames asked for.
  const SmartRef<BitMap> picture = new BitMap(8, 6, ColorTable::GetStandard(8));
  const std::int16_t placed = group->AddObjectAsSprite(1, 2, ~picture, true, 10, String("image"));
  ASSERT_NE(placed, CMovieGroup::kNoSprite);
  CSprite* shown = group->GetSprite(placed);
  EXPECT_EQ(TextOf(*shown->GetName()), "image");
  EXPECT_EQ(shown->GetStartFrame(), 1);
  EXPECT_EQ(shown->GetFrameCount(), 2);
  shown->GetFrameGeometry(1, &at, nullptr);
  EXPECT_EQ(at, Rect(46, 37, 54, 43));
  // What is no picture cannot be shown so.
  const SmartRef<String> words = new String("mots");
  try {
    group->AddObjectAsSprite(0, 1, ~words, true, 10, String());
    ADD_FAILURE() << "a text is no picture";
  } catch (Exception* failure) {
    const SmartRef<Exception> held(failure);
    EXPECT_STREQ(CastSmart<AssertionException>(~held)->GetExpression(), "mp != NULL");
  }
}

TEST_F(MovieGroupTest, AGroupNeverShowsItself) {
  const SmartRef<CMovieGroup> group = MakeGroup(2);
  Add(*group, 0, 2, "a");
  const SmartRef<CSprite> itself = new CSprite(0, SmartRef<CMovie>(~group), Rect::emptyRect);
  const std::int16_t index = group->MergeSprite(~itself);
  ASSERT_EQ(index, 1);
  CMovie* shown = group->GetSprite(1)->GetMovie();
  EXPECT_NE(shown, ~group);
  EXPECT_FALSE(group->IsShownBy(shown)) << "the copy does not show the group either";
  SurfaceDevice device(100, 80);
  DisplayPort port(&device, {0, 0, 100, 80});
  EXPECT_TRUE(group->DrawFrame(port, nullptr, 0, Color(0))) << "drawing ends";

}

TEST_F(MovieGroupTest, RestackingKeepsTheBackgroundAtTheBottom) {
  // Sprites a..d bottom to top; c is hidden at frame 5, b shown only from frame 10.
  struct Case {
    const char* name;
    bool backgroundA;
    bool forward;
    char sprite;
    std::int16_t frame;
    const char* order;
  } const cases[] = {
      {"forward past the next visible one", false, true, 'a', 12, "bacd"},
      {"forward over hidden ones", false, true, 'a', 5, "bcda"},
      {"forward over a hidden one", false, true, 'b', 5, "acdb"},
      {"forward outside the frames: to the top", false, true, 'a', -1, "bcda"},
      {"forward past the end: to the top", false, true, 'b', 20, "acdb"},
      {"forward with nothing visible above", false, true, 'd', 5, "abcd"},
      {"backward past the next visible one", false, false, 'd', 12, "abdc"},
      {"backward over hidden ones", false, false, 'd', 5, "dabc"},
      {"backward outside the frames: to the bottom", false, false, 'd', -1, "dabc"},
      {"backward outside the frames, above the background", true, false, 'd', -1, "adbc"},
      {"backward to the bottom stops above the background", true, false, 'd', 5, "adbc"},
      {"backward with nothing visible below stays", false, false, 'b', 12, "abcd"},
      {"the bottom one stays", false, false, 'a', -1, "abcd"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SmartRef<CMovieGroup> group = MakeGroup();
    CSprite* a = Add(*group, 0, 20, "a");
    Add(*group, 0, 20, "b");
    Add(*group, 0, 20, "c");
    Add(*group, 0, 20, "d");
    if (c.backgroundA) a->ToggleBackgroundFlag(true);
    group->GetSprite(1)->HideFrames(0, 10);
    group->GetSprite(2)->HideFrames(5, 1);
    if (c.name == std::string("backward with nothing visible below stays")) a->HideFrames(12, 1);
    CSprite* sprite = group->FindSpriteByName(String(std::string(1, c.sprite).c_str()));
    RecordingDependant listener;
    group->ToggleDependant(&listener);
    if (c.forward) group->BringForward(sprite, c.frame);
    else group->SendBackward(sprite, c.frame);
    group->ToggleDependant(&listener);
    EXPECT_EQ(Order(*group), c.order);
    EXPECT_EQ(listener.events.empty(), std::string(c.order) == "abcd");
  }
}

TEST_F(MovieGroupTest, TrackKeysFollowTheSpriteCount) {
  struct Case {
    int sprites;
    std::uint32_t key;
    std::vector<std::uint32_t> keys;  // bottom first
  } const cases[] = {
      {1, 1, {2}}, {2, 1, {2, 3}}, {3, 5, {20, 21, 22}}, {5, 3, {24, 25, 26, 27, 28}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sprites);
    const SmartRef<CMovieGroup> group = MakeGroup(2);
    for (int i = 0; i < c.sprites; ++i) {
      CSprite* sprite = Add(*group, 0, 2, std::to_string(i).c_str());
      sprite->GetMovie()->SetSound(0, 1, ~MakeSound(std::string(8, char('a' + i))));
    }
    CTrackList tracks;
    group->CollectTracks(0, tracks, c.key);
    EXPECT_EQ(Keys(tracks), std::set<std::uint32_t>(c.keys.begin(), c.keys.end()));
    // A sprite hidden at the frame gives up its tracks.
    group->GetSprite(0)->HideFrames(1, 1);
    group->CollectTracks(1, tracks, c.key);
    EXPECT_FALSE(Keys(tracks).contains(c.keys[0]));
  }
}

TEST_F(MovieGroupTest, PastingAGroupOffsetsItsSpritesAndShiftsTheirStarts) {
  const SmartRef<CMovieGroup> group = MakeGroup(6);
  CSprite* mine = Add(*group, 0, 6, "mine");
  const SmartRef<CMovieGroup> pasted = new CMovieGroup(Rect{30, 20, 130, 100});
  pasted->InsertFrames(1, 3, true, false);
  Add(*pasted, 0, 4, "first", {40, 30, 50, 40});
  Add(*pasted, 2, 2, "second", {60, 30, 70, 40});
  const std::int16_t starts[] = {pasted->GetSprite(0)->GetStartFrame(), pasted->GetSprite(1)->GetStartFrame()};

  group->PasteFrames(2, *pasted);
  EXPECT_EQ(group->GetFrameCount(), 10);
  ASSERT_EQ(group->GetSpriteCount(), 3);
  EXPECT_EQ(Order(*group), "minefirstsecond");
  for (std::int16_t f = 2; f < 6; ++f) EXPECT_FALSE(mine->IsVisibleInRange(f, 1)) << f;
  EXPECT_TRUE(mine->IsVisibleInRange(6, 1));
  CSprite* first = group->GetSprite(1);
  CSprite* second = group->GetSprite(2);
  EXPECT_EQ(first->GetStartFrame(), 2);
  EXPECT_EQ(second->GetStartFrame(), 4);
  Rect at;
  first->GetFrameGeometry(2, &at, nullptr);
  EXPECT_EQ(at, Rect(10, 10, 20, 20)) << "moved by the difference of the top-left corners";
  EXPECT_EQ(pasted->GetSprite(0)->GetStartFrame(), starts[0]);
  EXPECT_EQ(pasted->GetSprite(1)->GetStartFrame(), starts[1]);
  EXPECT_TRUE(group->IsRegisteredWith(first->GetMovie()));
}

TEST_F(MovieGroupTest, AnExtractHasAPartForEverySprite) {
  const SmartRef<CMovieGroup> group = MakeGroup(10);
  Add(*group, 0, 3, "early");
  Add(*group, 4, 6, "late");
  const SmartRef<CLink> link = new CLink();
  group->GetSprite(1)->SetLink(6, 1, ~link);
  struct Case {
    std::int16_t start, count;
    bool cut;
    std::int16_t frames, earlyFrames, lateFrames, lateStart, left;
  } const cases[] = {
      {5, 3, false, 3, 0, 3, 0, 10},
      {0, 2, false, 2, 2, 0, -1, 10},
      {5, 30, false, 5, 0, 5, 0, 10},
      {12, 3, false, 1, 0, 1, 0, 10},
      {4, 2, true, 2, 0, 2, 0, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.start) + " " + std::to_string(c.count));
    const SmartRef<CMovieGroup> part = CastSmart<CMovieGroup>(~group->ExtractFrames(c.start, c.count, c.cut));
    ASSERT_TRUE(part);
    EXPECT_EQ(part->GetFrameCount(), c.frames);
    ASSERT_EQ(part->GetSpriteCount(), 2);
    EXPECT_EQ(part->GetSprite(0)->GetFrameCount(), c.earlyFrames);
    EXPECT_EQ(part->GetSprite(1)->GetFrameCount(), c.lateFrames);
    if (c.lateStart >= 0) {
      EXPECT_EQ(part->GetSprite(1)->GetStartFrame(), c.lateStart);
    }
    EXPECT_EQ(group->GetFrameCount(), c.left);
  }
}

TEST_F(MovieGroupTest, ALoopingSpriteMovieChangesEveryPageFrameShowingTheImage) {
  struct Case {
    const char* name;
    bool cycles;
    std::int16_t image;
    std::vector<std::int16_t> frames;
  } const cases[] = {
      {"looping", true, 1, {11, 15, 19}},
      {"every image", true, -1, {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}},
      {"not looping", false, 1, {11}},
      {"the last image is held", false, 3, {13, 14, 15, 16, 17, 18, 19, 20, 21}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SmartRef<CMovieGroup> group = MakeGroup(30);
    const SmartRef<RecordingMovie> movie = new RecordingMovie(4, c.cycles);
    const SmartRef<CSprite> sprite = new CSprite(10, ~movie, Rect::emptyRect);
    sprite->SetFrameCount(12);
    CSprite* placed = group->GetSprite(group->MergeSprite(~sprite));
    RecordingDependant listener;
    group->ToggleDependant(&listener);
    placed->GetMovie()->Changed(placed->GetMovie(), Rect::emptyRect, c.image);
    group->ToggleDependant(&listener);
    std::vector<std::int16_t> frames;
    for (const DependantEvent& e : listener.events) {
      EXPECT_EQ(e.movie, ~group);
      EXPECT_EQ(e.rect, Rect(0, 0, 40, 30));
      frames.push_back(e.frame);
    }
    EXPECT_EQ(frames, c.frames);
  }
}

TEST_F(MovieGroupTest, RegistrationsFollowTheSpriteList) {
  const SmartRef<CMovieGroup> group = MakeGroup(4);
  const SmartRef<CMovie> first = Add(*group, 0, 4, "a")->GetMovie();
  EXPECT_TRUE(first->HasDependant(~group));
  EXPECT_TRUE(IsRegisteredPurgeable(~group));
  Purgeable* cloned = nullptr;
  {
    const SmartRef<CMovieGroup> clone = CastSmart<CMovieGroup>(group->Clone());
    cloned = ~clone;
    EXPECT_EQ(clone->GetSprite(0), group->GetSprite(0)) << "the sprites are shared";
    EXPECT_FALSE(first->HasDependant(~clone));
    EXPECT_FALSE(IsRegisteredPurgeable(cloned));
    const SmartRef<CMovie> part = group->ExtractFrames(0, 2, false);
    EXPECT_TRUE(IsRegisteredPurgeable(~part));
  }
  EXPECT_FALSE(IsRegisteredPurgeable(cloned));
  EXPECT_TRUE(first->HasDependant(~group)) << "the clone's end leaves the group registered";

  // A copy of another group's content moves the registrations with the list.
  const SmartRef<CMovieGroup> other = MakeGroup(2);
  const SmartRef<CMovie> second = Add(*other, 0, 2, "b")->GetMovie();
  group->CopyFrom(~other);
  EXPECT_FALSE(first->HasDependant(~group));
  EXPECT_TRUE(second->HasDependant(~group));
  EXPECT_EQ(group->GetFrameCount(), 2);

  // Sprites left without frames go, and so do their registrations.
  group->GetSprite(0)->HideFrames(0, 2);
  group->RemoveEmptySprites();
  EXPECT_EQ(group->GetSpriteCount(), 0);
  EXPECT_FALSE(second->HasDependant(~group));
  EXPECT_TRUE(second->HasDependant(~other));
  MovieDependant* gone = nullptr;
  SmartRef<CMovie> shown;
  {
    const SmartRef<CMovieGroup> doomed = MakeGroup(2);
    doomed->AddMovieAsSprite(0, 2, ~second);
    shown = doomed->GetSprite(0)->GetMovie();
    gone = ~doomed;
    EXPECT_TRUE(shown->HasDependant(gone));
  }
  EXPECT_FALSE(shown->HasDependant(gone)) << "a destroyed group is no movie's dependant";
}

TEST_F(MovieGroupTest, OffsettingAFrameKeepsItsKeyMark) {
  const SmartRef<CMovieGroup> group = MakeGroup(4);
  CSprite* sprite = Add(*group, 0, 4, "a");
  sprite->SetKeyFrame(2, false);
  RecordingDependant listener;
  group->ToggleDependant(&listener);
  group->OffsetFrames(2, 0, 0);
  EXPECT_TRUE(listener.events.empty()) << "no move, no change";
  group->OffsetFrames(2, 5, 7);
  group->ToggleDependant(&listener);
  Rect at;
  sprite->GetFrameGeometry(2, &at, nullptr);
  EXPECT_EQ(at, Rect(5, 7, 15, 17));
  sprite->GetFrameGeometry(1, &at, nullptr);
  EXPECT_EQ(at, Rect(0, 0, 10, 10));
  EXPECT_FALSE(sprite->IsKeyFrame(2));
  ASSERT_EQ(listener.events.size(), 1u);
  EXPECT_EQ(listener.events[0].frame, 2);
}

TEST_F(MovieGroupTest, InsertingAndDeletingFramesReachEverySprite) {
  const SmartRef<CMovieGroup> group = MakeGroup(5);
  CSprite* sprite = Add(*group, 1, 3, "a");
  EXPECT_FALSE(group->InsertFrames(6, 1, false, false));
  EXPECT_FALSE(group->InsertFrames(2, 0, false, false));
  EXPECT_TRUE(group->InsertFrames(2, 2, false, false));
  EXPECT_EQ(group->GetFrameCount(), 7);
  EXPECT_EQ(sprite->GetFrameCount(), 5);
  EXPECT_TRUE(sprite->IsVisibleInRange(3, 1)) << "filled from the frame before";
  EXPECT_FALSE(group->DeleteFrames(0, 7)) << "a group keeps a frame";
  EXPECT_EQ(sprite->GetFrameCount(), 5) << "and its sprites keep theirs";
  EXPECT_TRUE(group->DeleteFrames(2, 2));
  EXPECT_EQ(group->GetFrameCount(), 5);
  EXPECT_EQ(sprite->GetFrameCount(), 3);
}

// A damaged file may hold anything in a group's sprite list, and a group that shows itself; those entries
// go, the user hears the file was damaged, and the rest of the group reads.
TEST_F(MovieGroupTest, DamagedSpriteListsAreMendedOnReading) {
  const SmartRef<CMovieGroup> group = MakeGroup(3);
  AddSprite(*group, *SolidPicture(10, 10, 4), 0, 3);
  const SmartRef<CSprite> itself = new CSprite(0, SmartRef<CMovie>(~group), Rect::emptyRect);
  group->GetSprites()->Append(new String("intrus"));
  group->GetSprites()->Append(nullptr);
  group->GetSprites()->Append(~itself);
  AddSprite(*group, *SolidPicture(10, 10, 5), 1, 2);
  const std::string saved = SaveDocument(SmartRef<Smart>(~group));
  group->GetSprites()->Remove(2, 3);  // the loop would outlive the test

  AlertRecorder alerts;
  const SmartRef<CMovieGroup> read = CastSmart<CMovieGroup>(~ReadDocument(saved, nullptr));
  ASSERT_TRUE(read);
  EXPECT_EQ(Order(*read), "04");
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text, NumberedText(191));
  SurfaceDevice device(100, 80);
  DisplayPort port(&device, {0, 0, 100, 80});
  EXPECT_TRUE(read->DrawFrame(port, nullptr, 1, Color(0)));
  EXPECT_TRUE(read->IsRegisteredWith(read->GetSprite(0)->GetMovie()));
}

TEST_F(MovieGroupTest, NewBoundsAtAnotherCornerCarryTheSpritesInEveryFrame) {
  struct Case {
    const char* name;
    Rect stored, placed;
  } const cases[] = {
      {"from the origin to under a palette", {0, 0, 100, 80}, {0, 50, 100, 130}},
      {"up and to the left", {20, 30, 120, 110}, {0, 0, 100, 80}},
      {"larger at the same corner", {0, 0, 100, 80}, {0, 0, 160, 120}},
      {"where it already is", {0, 50, 100, 130}, {0, 50, 100, 130}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SmartRef<CMovieGroup> group = new CMovieGroup(c.stored);
    group->InsertFrames(1, 3, true, false);
    // At the stored corner in frames 0 and 1, further in frame 2, hidden in frame 3; a link in frame 0,
    // frame 1 no key.
    CSprite* sprite = Add(*group, 0, 4, "a", Rect::FromSizeAndOrigin({10, 10}, c.stored.TopLeft()));
    group->OffsetFrames(2, 5, 7);
    sprite->SetKeyFrame(1, false);
    sprite->HideFrames(3, 1);
    sprite->SetLink(0, 1, ~SmartRef<CLink>(new CLink()));
    CLink* const link = sprite->GetLinkAtFrame(0);
    ASSERT_TRUE(link);
    std::vector<Rect> before;
    std::vector<bool> keys;
    for (std::int16_t f = 0; f < 3; ++f) {
      before.emplace_back();
      sprite->GetFrameGeometry(f, &before.back(), nullptr);
      keys.push_back(sprite->IsKeyFrame(f));
    }
    RecordingDependant listener;
    group->ToggleDependant(&listener);
    group->SetBoundsCarryingSprites(c.placed);
    group->ToggleDependant(&listener);

    EXPECT_EQ(group->GetBounds(), c.placed);
    const Point by = c.placed.TopLeft() - c.stored.TopLeft();
    for (std::int16_t f = 0; f < 3; ++f) {
      Rect at;
      sprite->GetFrameGeometry(f, &at, nullptr);
      Rect expected = before[f];
      expected.Offset(by.x, by.y);
      EXPECT_EQ(at, expected) << "frame " << f;
      EXPECT_EQ(sprite->IsKeyFrame(f), keys[f]) << "a placement is no edit of frame " << f;
    }
    EXPECT_EQ(sprite->GetLinkAtFrame(0), link);
    EXPECT_FALSE(sprite->IsVisibleInRange(3, 1));
    if (c.placed == c.stored) {
      EXPECT_TRUE(listener.events.empty()) << "nothing moved, nobody told";
    } else {
      ASSERT_EQ(listener.events.size(), 2u);
      EXPECT_EQ(listener.events[0].kind, DependantEvent::kBounds);
      EXPECT_EQ(listener.events[1].kind, DependantEvent::kFrame);
      EXPECT_EQ(listener.events[1].frame, -1) << "every frame's picture is made again";
    }
    // A frame shown afterwards starts at the sprite's carried place, as the page shows it.
    sprite->ShowFrames(3, 1);
    Rect shown;
    sprite->GetFrameGeometry(3, &shown, nullptr);
    EXPECT_EQ(shown, Rect::FromSizeAndOrigin({10, 10}, c.placed.TopLeft()));
  }
}

}  // namespace

#include <gtest/gtest.h>

#include <vector>

#include "engine/EngineTestSupport.h"
#include "engine/tracks/CTrackList.h"
#include "support/Raised.h"

using namespace engine_test;

namespace {

// A track that counts its starts; it plays from its start until it is stopped, unless it never plays
// (as a video track does not).
class CountingTrack : public Track, public SmartImplementation {
  SMART_ABSTRACT(CountingTrack)
 public:
  explicit CountingTrack(bool plays = true) : plays(plays) {}
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }
  bool Play(bool) override {
    ++starts;
    playing = plays;
    return plays;
  }
  bool IsPlaying() override { return playing; }
  void Stop() override { playing = false; }

  int starts = 0;
  bool plays;
  bool playing = false;
};

}  // namespace

SMART_DEFINE_ABSTRACT(CountingTrack, "CountingTrack", Track, SmartImplementation)

namespace {

std::vector<std::uint32_t> Keys(const CTrackList& list) {
  std::vector<std::uint32_t> keys;
  for (std::int32_t p = 1; p <= list.NumTracks(); ++p) keys.push_back(list.GetKey(p));
  return keys;
}

TEST(TrackKeys, ChildrenFollowTheirParentsBits) {
  struct Case {
    std::uint32_t parent;
    std::uint16_t index, count;
    std::uint32_t key;
  } cases[] = {{1, 0, 1, 2}, {1, 2, 3, 6}, {3, 4, 5, 28}, {1, 0, 0, 2}, {5, 1, 2, 11}, {2, 7, 8, 23}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.parent << ", " << c.index << ", " << c.count);
    EXPECT_EQ(CTrackList::ChildKey(c.parent, c.index, c.count), c.key);
    EXPECT_TRUE(CTrackList::KeyWithin(c.parent, c.key));
    EXPECT_TRUE(CTrackList::KeyWithin(1, c.key)) << "every key of a page lies within the page's";
  }
  EXPECT_FALSE(CTrackList::KeyWithin(2, 1));
  EXPECT_FALSE(CTrackList::KeyWithin(2, 6));
  EXPECT_FALSE(CTrackList::KeyWithin(3, 4));
}

TEST(TrackList, RemovingAKeyWithItsDescendants) {
  struct Case {
    std::uint32_t key;
    bool descendants;
    std::vector<std::uint32_t> left;
  } cases[] = {{2, true, {1}}, {2, false, {1, 4, 5, 9}}, {1, true, {}}, {4, true, {1, 2, 5}}, {3, true, {1, 2, 4, 5, 9}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.key << (c.descendants ? " and within" : ""));
    CTrackList list;
    for (std::uint32_t key : {1u, 2u, 4u, 5u, 9u}) list.Add(key, new CountingTrack());
    list.RemoveKey(c.key, c.descendants);
    EXPECT_EQ(Keys(list), c.left);
  }
}

TEST(TrackList, ANewTrackReplacesTheTracksOfItsKey) {
  CTrackList list;
  SmartRef<CountingTrack> first = new CountingTrack(), second = new CountingTrack();
  EXPECT_FALSE(list.Add(1, nullptr));
  EXPECT_TRUE(list.Add(2, first));
  EXPECT_TRUE(list.Add(1, new CountingTrack()));
  EXPECT_TRUE(list.Add(2, second));
  EXPECT_EQ(Keys(list), (std::vector<std::uint32_t>{1, 2}));
  EXPECT_EQ(list.GetTrack(2), ~second);
  EXPECT_EQ(first->GetReferenceCount(), 1) << "the list let the first one go";
  EXPECT_EQ(list.GetTrack(3), nullptr);
}

// The play list starts what it is given, but not again a track that still plays under the same key.
TEST(TrackList, APlayListStartsEachTrackOnce) {
  CPlayList list;
  SmartRef<CountingTrack> track = new CountingTrack();
  EXPECT_TRUE(list.Add(2, track));
  EXPECT_FALSE(list.Add(2, track));
  EXPECT_EQ(track->starts, 1);
  EXPECT_TRUE(list.Add(3, track)) << "under another key it is another part's";
  EXPECT_EQ(track->starts, 2);
  track->Stop();
  EXPECT_TRUE(list.Add(3, track));
  EXPECT_EQ(track->starts, 3);
  EXPECT_EQ(Keys(list), (std::vector<std::uint32_t>{2, 3}));
}

TEST(TrackList, PruningDropsWhatNoLongerPlays) {
  CPlayList list;
  EXPECT_EQ(list.Prune(), 0);
  SmartRef<CountingTrack> sound = new CountingTrack(), video = new CountingTrack(false);
  list.Add(2, sound);
  list.Add(3, video);
  EXPECT_EQ(video->starts, 1);
  EXPECT_EQ(list.Prune(), CTrackList::kTrackPlaying);
  EXPECT_EQ(Keys(list), (std::vector<std::uint32_t>{2}));
  sound->Stop();
  EXPECT_EQ(list.Prune(), 0);
  EXPECT_EQ(list.NumTracks(), 0);
}

TEST(TrackList, RemovingAtAPositionChecksTheTrack) {
  CTrackList list;
  SmartRef<CountingTrack> track = new CountingTrack(), other = new CountingTrack();
  list.Add(1, track);
  EXPECT_EQ(RaisedText(Raised([&] { list.RemoveAt(1, ~other); })), "~track == tracks[(Index)index]");
  list.RemoveAt(1, ~track);
  EXPECT_EQ(list.NumTracks(), 0);
}

TEST(TrackList, ACopyHoldsTheSameTracksInAListOfItsOwn) {
  CPlayList list;
  SmartRef<CountingTrack> track = new CountingTrack();
  list.Add(2, track);
  SmartRef<CTrackList> copy = CastSmart<CTrackList>(list.Clone());
  ASSERT_TRUE(IsMember<CPlayList>(~copy));
  EXPECT_EQ(copy->GetTrack(1), ~track);
  copy->Add(4, new CountingTrack());
  copy->RemoveKey(2, false);
  EXPECT_EQ(Keys(list), (std::vector<std::uint32_t>{2}));
  EXPECT_EQ(list.GetTrack(1), ~track);
  EXPECT_EQ(Keys(*copy), (std::vector<std::uint32_t>{4}));
}

}  // namespace

#include "core/Sound.h"
#include "engine/kinds/CMovieVideo.h"
#include "sound/SoundChannel.h"
#include "support/AlertRecorder.h"

namespace {

class CollectingTracks : public EngineTest {};

// A frame's sound starts a channel under the page's key; an empty sound ends what the key plays; a frame
// without a sound leaves the list as it is.
TEST_F(CollectingTracks, AFramesSoundDecides) {
  SmartRef<TestMovie> movie = new TestMovie();
  movie->InsertFrames(1, 2, true, false);
  SmartRef<Sound> sound = MakeSound("RIFF"), silence = MakeSound("");
  movie->SetSound(0, 1, ~sound);
  movie->SetSound(2, 1, ~silence);
  CTrackList list;
  list.CollectTracks(*movie, 0);
  ASSERT_EQ(Keys(list), (std::vector<std::uint32_t>{1}));
  auto* channel = CastSmart<SoundChannel>(list.GetTrack(1));
  ASSERT_NE(channel, nullptr);
  EXPECT_EQ(channel->GetSound(), ~sound);
  list.CollectTracks(*movie, 1);
  EXPECT_EQ(list.GetTrack(1), channel);
  list.Add(4, new CountingTrack());
  list.CollectTracks(*movie, 2);
  EXPECT_EQ(Keys(list), (std::vector<std::uint32_t>{4}));
}

TEST_F(CollectingTracks, AVideoComesAfterTheFramesSoundAndPlaysNothing) {
  AlertRecorder alerts;
  SmartRef<CMovieVideo> movie = new CMovieVideo(Rect{0, 0, 10, 10});
  SmartRef<Sound> sound = MakeSound("RIFF");
  movie->SetSound(0, 1, ~sound);
  CTrackList list;
  movie->CollectTracks(0, list, 3);
  ASSERT_EQ(list.NumTracks(), 2);
  EXPECT_TRUE(IsMember<SoundChannel>(list.GetTrack(1)));
  EXPECT_EQ(list.GetTrack(2), movie->GetVideo());
  EXPECT_TRUE(CTrackList::KeyWithin(3, list.GetKey(2)));
  EXPECT_EQ(list.Prune(), 0) << "the video never plays, and the channel was never started";
  EXPECT_EQ(alerts.Alerts().size(), 1u);
}

}  // namespace

#include <gtest/gtest.h>

#include "sound/Track.h"

namespace {

// A track as the engine's video and player are: Track beside the counting implementation.
class StubTrack : public Track, public SmartImplementation {
  SMART_ABSTRACT(StubTrack)
 public:
  explicit StubTrack(bool* destroyed) : destroyed(destroyed) {}
  ~StubTrack() override { *destroyed = true; }
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }

  bool Play(bool) override { return playing = true; }
  bool IsPlaying() override { return playing; }
  void Stop() override { playing = false; }

 private:
  bool* destroyed;
  bool playing = false;
};

SMART_DEFINE_ABSTRACT(StubTrack, "StubTrack", Track, SmartImplementation)

TEST(Track, IsFoundByKindTestsAndCountedThroughItsInterface) {
  bool destroyed = false;
  {
    SmartRef<Track> track = new StubTrack(&destroyed);
    Smart* object = ~track;
    EXPECT_EQ(CastSmart<Track>(object), ~track);
    EXPECT_TRUE(object->IsKindOf(&Track::classInfo));
    EXPECT_STREQ(Track::classInfo.GetName(), "Track");
    EXPECT_TRUE(track->Play(true));
    EXPECT_TRUE(track->IsPlaying());
    track->Stop();
    EXPECT_FALSE(track->IsPlaying());
  }
  EXPECT_TRUE(destroyed);
}

}  // namespace

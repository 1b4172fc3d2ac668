#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Exception.h"
#include "core/Progress.h"
#include "core/Seams.h"
#include "core/Sound.h"
#include "engine/EngineTestSupport.h"
#include "engine/links/CLink.h"
#include "graphics/bitmaps/ColorTable.h"
#include "support/Raised.h"

using namespace engine_test;

namespace {

using Event = DependantEvent;

// Frames are told apart by their sounds: frame f of a new test movie plays the letter 'a' + f (or from
// another first letter).
class MovieFramesTest : public EngineTest {
 protected:
  SmartRef<TestMovie> MakeMovie(int frames, char first = 'a') {
    SmartRef<TestMovie> movie = new TestMovie();
    if (frames > 1) movie->InsertFrames(1, static_cast<std::int16_t>(frames - 1), true, false);
    for (int f = 0; f < frames; ++f) {
      sounds.push_back(MakeSound(std::string(1, static_cast<char>(first + f))));
      movie->SetSound(static_cast<std::int16_t>(f), 1, ~sounds.back());
    }
    return movie;
  }
  // One letter per frame: its sound's letter, or '-'.
  static std::string Sounds(const CMovie& movie) {
    std::string out;
    for (std::int16_t f = 0; f < movie.GetFrameCount(); ++f) {
      const Sound* sound = movie.GetSound(f);
      out += sound ? static_cast<char>(sound->GetData().GetData()[0]) : '-';
    }
    return out;
  }
  // Per frame: 'F' or 'T' for the two links, '-' for none.
  std::string Links(const CMovie& movie) const {
    std::string out;
    for (std::int16_t f = 0; f < movie.GetFrameCount(); ++f) {
      const CLink* link = movie.GetLink(f);
      out += link == ~linkF ? 'F' : link == ~linkT ? 'T' : link ? '?' : '-';
    }
    return out;
  }
  // Per frame: 'A' or 'B' for the two tables, '-' for none.
  std::string Tables(const CMovie& movie) const {
    std::string out;
    for (std::int16_t f = 0; f < movie.GetFrameCount(); ++f) {
      const ColorTable* table = movie.GetColorTable(f);
      out += table == ~tableA ? 'A' : table == ~tableB ? 'B' : table ? '?' : '-';
    }
    return out;
  }
  static std::vector<std::int16_t> MarkFrames(const CMovie& movie) {
    std::vector<std::int16_t> frames;
    for (std::int32_t i = 1; i <= movie.GetFrameIndex()->NumMarks(); ++i)
      frames.push_back(movie.GetFrameIndex()->GetMark(i)->GetFrame());
    return frames;
  }
  static void Mark(CMovie& movie, std::int16_t frame, const char* label) {
    movie.GetFrameIndex()->FindMark(frame, true)->GetLabel().Set(label);
  }

  std::vector<SmartRef<Sound>> sounds;
  SmartRef<ColorTable> tableA = new ColorTable();
  SmartRef<ColorTable> tableB = new ColorTable();
  SmartRef<CLink> linkF = new CLink();
  SmartRef<CLink> linkT = new CLink();
};

TEST_F(MovieFramesTest, InsertingFrames) {
  struct Case {
    const char* name;
    std::int16_t at, count;
    bool blank, keepLinks, done;
    const char* sounds;
    const char* links;
    const char* tables;
    std::vector<std::int16_t> marks;
  } cases[] = {
      {"at the front: the colours of the frame after", 0, 2, false, false, true, "--abc", "---FT", "BBB-A", {2, 3, 4}},
      {"at the end: the last link ends the run", 3, 2, false, false, true, "abc--", "-F--T", "B-AAA", {0, 1, 2}},
      {"in the middle", 2, 1, false, false, true, "ab-c", "--FT", "B--A", {0, 1, 3}},
      {"in the middle, links kept", 2, 1, false, true, true, "ab-c", "-F-T", "B--A", {0, 1, 3}},
      {"blank", 2, 2, true, false, true, "ab--c", "-F--T", "B---A", {0, 1, 4}},
      {"nothing", 1, 0, false, false, false, "abc", "-FT", "B-A", {0, 1, 2}},
      {"before the start", -1, 1, false, false, false, "abc", "-FT", "B-A", {0, 1, 2}},
      {"past the end", 4, 1, false, false, false, "abc", "-FT", "B-A", {0, 1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SmartRef<TestMovie> movie = MakeMovie(3);
    movie->SetLink(1, 1, ~linkF);
    movie->SetLink(2, 1, ~linkT);
    movie->SetColorTable(0, 1, ~tableB);
    movie->SetColorTable(2, 1, ~tableA);
    for (std::int16_t f = 0; f < 3; ++f) Mark(*movie, f, "m");
    RecordingDependant dependant;
    movie->ToggleDependant(&dependant);
    EXPECT_EQ(movie->InsertFrames(c.at, c.count, c.blank, c.keepLinks), c.done);
    movie->ToggleDependant(&dependant);
    EXPECT_EQ(Sounds(*movie), c.sounds);
    EXPECT_EQ(Links(*movie), c.links);
    EXPECT_EQ(Tables(*movie), c.tables);
    EXPECT_EQ(MarkFrames(*movie), c.marks);
    EXPECT_EQ(movie->GetFrameCaches().NumItems(), movie->GetFrameCount());
    EXPECT_EQ(dependant.events.size(), c.done ? 1u : 0u) << "one announcement per edit";
  }
}

TEST_F(MovieFramesTest, AMovieHoldsNoMoreFramesThanItsCountCanSay) {
  SmartRef<TestMovie> movie = MakeMovie(2);
  EXPECT_TRUE(movie->InsertFrames(1, 32765, true, false));
  EXPECT_FALSE(movie->InsertFrames(1, 1, true, false));
  EXPECT_EQ(movie->GetFrameCount(), 32767);
  std::int16_t start = 32760, count = 20;
  movie->ClampFrameRange(&start, &count, 32767);
  EXPECT_EQ(start + count, 32767) << "a range that cannot grow the movie is cut to it";
}

TEST_F(MovieFramesTest, DeletingFramesChecksTheRangeFirst) {
  struct Case {
    std::int16_t at, count;
    bool done;
    const char* sounds;
    std::vector<std::int16_t> marks;
  } cases[] = {
      {1, 2, true, "ad", {0, 1}},
      {0, 1, true, "bcd", {0, 1, 2}},
      {-1, 2, false, "abcd", {0, 1, 2, 3}},
      {3, 2, false, "abcd", {0, 1, 2, 3}},
      {2, 0, false, "abcd", {0, 1, 2, 3}},
      {0, 4, false, "abcd", {0, 1, 2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.at << ", " << c.count);
    SmartRef<TestMovie> movie = MakeMovie(4);
    for (std::int16_t f = 0; f < 4; ++f) Mark(*movie, f, "m");
    RecordingDependant dependant;
    movie->ToggleDependant(&dependant);
    EXPECT_EQ(movie->DeleteFrames(c.at, c.count), c.done);
    movie->ToggleDependant(&dependant);
    EXPECT_EQ(Sounds(*movie), c.sounds);
    EXPECT_EQ(MarkFrames(*movie), c.marks);
    EXPECT_TRUE(dependant.events.empty()) << "callers announce";
  }
}

TEST_F(MovieFramesTest, RemovingFramesFitsTheRangeAndKeepsOneFrame) {
  struct Case {
    std::int16_t at, count;
    bool done;
    const char* sounds;
  } cases[] = {
      {0, 3, true, "-"}, {-1, 2, true, "bc"}, {1, 10, true, "a"}, {-5, 40, true, "-"},
      {3, 1, false, "abc"}, {1, 0, false, "abc"}, {-2, 2, false, "abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.at << ", " << c.count);
    SmartRef<TestMovie> movie = MakeMovie(3);
    Mark(*movie, 1, "m");
    movie->SetColorTable(0, 3, ~tableA);
    EXPECT_EQ(movie->RemoveFrames(c.at, c.count), c.done);
    EXPECT_EQ(Sounds(*movie), c.sounds);
    if (movie->GetFrameCount() == 1 && Sounds(*movie) == "-") {
      EXPECT_EQ(movie->GetColorTable(0), nullptr) << "the frame left is blank";
      EXPECT_EQ(movie->GetFrameIndex()->NumMarks(), 0);
    }
  }
}

TEST_F(MovieFramesTest, ClampingAFrame) {
  struct Case {
    bool cycles;
    std::int16_t frame, fitted;
    bool answer;
  } cases[] = {
      {true, -3, 0, false}, {true, 2, 2, true}, {true, 7, 2, true}, {true, 5, 0, true},
      {false, -1, 0, false}, {false, 7, 4, true}, {false, 4, 4, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.cycles << " " << c.frame);
    SmartRef<TestMovie> movie = MakeMovie(5);
    if (!c.cycles) movie->ToggleFlag8(true);
    std::int16_t frame = c.frame;
    EXPECT_EQ(movie->ClampFrame(&frame), c.answer);
    EXPECT_EQ(frame, c.fitted);
  }
}

// With images that cycle, a range grows the movie at either end; otherwise the movie grows to end one
// frame after the range, unless that passes the limit, which cuts the range instead.
TEST_F(MovieFramesTest, FittingARange) {
  struct Case {
    bool cycles;
    std::int16_t start, count, limit;
    std::int16_t fittedStart, fittedCount, frames;
    const char* sounds;
  } cases[] = {
      {false, 2, 3, 100, 2, 3, 6, "abcd--"},
      {false, 2, 3, 5, 2, 2, 4, "abcd"},
      {false, 1, 2, 100, 1, 2, 4, "abcd"},
      {false, 6, 1, 100, 6, 1, 8, "abcd----"},
      {false, -2, 2, 100, 0, 2, 4, "abcd"},
      {true, -2, 3, 100, 0, 3, 6, "--abcd"},
      {true, 2, 4, 5, 2, 4, 6, "abcd--"},
      {true, 0, 4, 100, 0, 4, 4, "abcd"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.cycles << " (" << c.start << ", " << c.count << ", " << c.limit << ")");
    SmartRef<TestMovie> movie = MakeMovie(4);
    if (!c.cycles) movie->ToggleFlag8(true);
    std::int16_t start = c.start, count = c.count;
    movie->ClampFrameRange(&start, &count, c.limit);
    EXPECT_EQ(start, c.fittedStart);
    EXPECT_EQ(count, c.fittedCount);
    EXPECT_EQ(movie->GetFrameCount(), c.frames);
    EXPECT_EQ(Sounds(*movie), c.sounds);
  }
}
TEST_F(MovieFramesTest, AdjustingTheLengthOfARange) {
  struct Case {
    std::int16_t start, oldLength, newLength;
    const char* before;
    const char* after;
  } cases[] = {
      {0, 4, 2, "abcd", "bd"},   {1, 3, 2, "abcde", "acde"}, {0, 8, 3, "abcdefgh", "cfh"},
      {0, 2, 5, "ab", "a---b"},  {1, 2, 4, "abc", "ab--c"},  {0, 3, 7, "abc", "a--b--c"},
      {0, 3, 3, "abc", "abc"},   {0, 0, 2, "abc", "abc"},    {0, 2, 0, "abc", "abc"},
      {2, 3, 1, "abc", "abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << ", " << c.oldLength << ", " << c.newLength);
    SmartRef<TestMovie> movie = MakeMovie(static_cast<int>(std::string(c.before).size()));
    movie->AdjustLength(c.start, c.oldLength, c.newLength);
    EXPECT_EQ(Sounds(*movie), c.after);
  }
}

TEST_F(MovieFramesTest, StretchingOneFrameRepeatsItsColoursAndEndsWithItsLink) {
  SmartRef<TestMovie> movie = MakeMovie(1);
  movie->SetColorTable(0, 1, ~tableA);
  movie->SetLink(0, 1, ~linkF);
  movie->AdjustLength(0, 1, 4);
  EXPECT_EQ(Sounds(*movie), "a---");
  EXPECT_EQ(Tables(*movie), "AAAA");
  EXPECT_EQ(Links(*movie), "---F");
}

// The progress dialog's Stop ends the resampling between two frames; what it changed stays changed.
class StoppingDisplay : public SilentProgressDisplay {
 public:
  static inline int polls = 0;
  static inline int stopAt = 0;
  bool WasCancelled() override { return ++polls >= stopAt; }
};

TEST_F(MovieFramesTest, AdjustingTheLengthStoppedKeepsWhatItChanged) {
  struct Case {
    std::int16_t oldLength, newLength;
    int stopAt;
    const char* before;
    const char* after;
  } cases[] = {
      {8, 2, 6, "abcdefgh", "abcdh"},  // the run of frames 4 to 6 was gone before the stop
      {8, 2, 1, "abcdefgh", "abcdefgh"},
      {3, 7, 2, "abc", "ab--c"},
  };
  SetProgressDisplayMaker([](const char*) -> SmartRef<ProgressDisplay> { return new StoppingDisplay(); });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.after);
    StoppingDisplay::polls = 0;
    StoppingDisplay::stopAt = c.stopAt;
    SmartRef<TestMovie> movie = MakeMovie(static_cast<int>(std::string(c.before).size()));
    const SmartRef<Exception> raised = Raised([&] { movie->AdjustLength(0, c.oldLength, c.newLength); });
    EXPECT_TRUE(IsMember<UserCancelException>(~raised)) << RaisedText(raised);
    EXPECT_EQ(Sounds(*movie), c.after);
  }
  SetProgressDisplayMaker(nullptr);
}

TEST_F(MovieFramesTest, PastingFramesBringsTheirDataMarksAndLinksOfTheirOwn) {
  SmartRef<TestMovie> movie = MakeMovie(3);
  Mark(*movie, 1, "x");
  SmartRef<TestMovie> other = MakeMovie(2, 'd');
  Mark(*other, 1, "b");
  Mark(*other, 0, "x");
  SmartRef<CLink> toB = new CLink();
  toB->SetJump(other->GetFrameIndex()->FindMark(1, false));
  toB->SetKind(CLink::kFrame);
  other->SetLink(0, 1, ~toB);
  other->SetColorTable(1, 1, ~tableA);

  movie->PasteFrames(1, *other);
  EXPECT_EQ(Sounds(*movie), "adebc");
  EXPECT_EQ(Tables(*movie), "--A--");
  EXPECT_EQ(MarkFrames(*movie), (std::vector<std::int16_t>{1, 2, 3}));
  EXPECT_EQ(TextOf(movie->GetFrameIndex()->GetMark(1)->GetLabel()), "x");
  EXPECT_EQ(TextOf(movie->GetFrameIndex()->GetMark(2)->GetLabel()), "b");
  CLink* pasted = movie->GetLink(1);
  ASSERT_NE(pasted, nullptr);
  EXPECT_NE(pasted, ~toB);
  EXPECT_EQ(pasted->GetKind(), CLink::kFrame);
  EXPECT_EQ(pasted->ResolveFrame(*movie->GetFrameIndex()), 2);
  EXPECT_EQ(other->GetLink(0)->GetJump(), other->GetFrameIndex()->GetMark(2)) << "the source keeps its own";

  movie->PasteFrames(0, *movie);
  EXPECT_EQ(Sounds(*movie), "adebcadebc") << "a movie pasted into itself pastes a copy of itself";
}

TEST_F(MovieFramesTest, AMovieOfARangeOfFrames) {
  struct Case {
    std::int16_t start, count;
    bool cut;
    const char* sounds;
    std::vector<std::int16_t> marks;
    const char* left;
  } cases[] = {
      {2, 2, false, "cd", {0, 1}, "abcde"},
      {2, 2, true, "cd", {0, 1}, "abe"},
      {4, 5, false, "e", {}, "abcde"},
      {7, 1, false, "e", {}, "abcde"},
      {-2, 2, false, "ab", {1}, "abcde"},
      {1, 0, false, "-", {}, "abcde"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << ", " << c.count << (c.cut ? " cut" : ""));
    SmartRef<TestMovie> movie = MakeMovie(5);
    movie->ToggleMode4(true);
    Mark(*movie, 1, "p");
    Mark(*movie, 2, "q");
    Mark(*movie, 3, "r");
    SmartRef<CLink> toR = new CLink();
    toR->SetJump(movie->GetFrameIndex()->FindMark(3, false));
    movie->SetLink(2, 1, ~toR);
    movie->SetLink(3, 1, ~linkF);

    SmartRef<TestMovie> part = CastSmart<TestMovie>(~movie->ExtractFrames(c.start, c.count, c.cut));
    ASSERT_TRUE(part) << "a movie of the same kind";
    EXPECT_EQ(Sounds(*part), c.sounds);
    EXPECT_EQ(MarkFrames(*part), c.marks);
    EXPECT_EQ(part->GetMode(), movie->GetMode());
    EXPECT_EQ(part->GetFrameCaches().NumItems(), part->GetFrameCount());
    EXPECT_EQ(Sounds(*movie), c.left);
    for (std::int16_t f = 0; f < part->GetFrameCount(); ++f) {
      EXPECT_NE(part->GetLink(f), ~toR);
      EXPECT_NE(part->GetLink(f), ~linkF);
    }
    if (std::string(c.sounds) == "cd") {
      ASSERT_NE(part->GetLink(0), nullptr);
      EXPECT_EQ(part->GetLink(0)->GetJump(), part->GetFrameIndex()->GetMark(2)) << "bound to the copy's own mark";
      EXPECT_EQ(part->GetLink(1)->GetKind(), linkF->GetKind());
    }
  }
}

TEST_F(MovieFramesTest, ACopyHasMarksAndLinksOfItsOwn) {
  SmartRef<TestMovie> movie = MakeMovie(2);
  Mark(*movie, 1, "q");
  SmartRef<CLink> toQ = new CLink();
  toQ->SetJump(movie->GetFrameIndex()->FindMark(1, false));
  movie->SetLink(0, 1, ~toQ);
  movie->SetColorTable(1, 1, ~tableB);
  SmartRef<TestMovie> copy = CastSmart<TestMovie>(movie->Clone());
  EXPECT_EQ(Sounds(*copy), "ab");
  EXPECT_EQ(Tables(*copy), "-B");
  EXPECT_NE(copy->GetFrameIndex()->GetMark(1), movie->GetFrameIndex()->GetMark(1));
  EXPECT_EQ(TextOf(copy->GetFrameIndex()->GetMark(1)->GetLabel()), "q");
  EXPECT_NE(copy->GetLink(0), ~toQ);
  EXPECT_EQ(copy->GetLink(0)->GetJump(), copy->GetFrameIndex()->GetMark(1));
  copy->RemoveFrames(0, 1);
  EXPECT_EQ(Sounds(*movie), "ab") << "the copy's lists are its own";
}

}  // namespace

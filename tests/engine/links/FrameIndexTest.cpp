#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/EngineTestSupport.h"
#include "engine/links/CFrameIndex.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"

using namespace engine_test;

namespace {

class FrameIndexTest : public EngineTest {
 protected:
  // Marks given as (frame, label), in frame order.
  static SmartRef<CFrameIndex> Index(std::initializer_list<std::pair<std::int16_t, const char*>> marks) {
    SmartRef<CFrameIndex> index = new CFrameIndex();
    for (auto [frame, label] : marks) {
      CJumpFrame mark;
      mark.SetFrame(frame);
      mark.GetLabel().Set(label);
      index->AppendCopy(mark, 0);
    }
    return index;
  }
  // "frame:label" for every mark, in order.
  static std::vector<std::string> Marks(const CFrameIndex& index) {
    std::vector<std::string> out;
    for (std::int32_t i = 1; i <= index.NumMarks(); ++i)
      out.push_back(std::to_string(index.GetMark(i)->GetFrame()) + ":" + TextOf(index.GetMark(i)->GetLabel()));
    return out;
  }
  static SmartRef<CJump> Jump(const char* label) {
    SmartRef<CJumpFrame> jump = new CJumpFrame();
    jump->GetLabel().Set(label);
    return jump;
  }
};

TEST_F(FrameIndexTest, MarksAreFoundOrMadeInFrameOrder) {
  SmartRef<CFrameIndex> index = Index({{2, "a"}, {7, "b"}});
  CJumpFrame* made = index->FindMark(5, true);
  EXPECT_EQ(index->FindMark(5, true), made);
  EXPECT_EQ(index->FindMark(5, false), made);
  EXPECT_EQ(index->FindMark(6, false), nullptr);
  index->FindMark(0, true);
  index->FindMark(9, true);
  EXPECT_EQ(Marks(*index), (std::vector<std::string>{"0:", "2:a", "5:", "7:b", "9:"}));
  EXPECT_EQ(TextOf(*index->GetLabelAtFrame(7)), "b");
  EXPECT_EQ(index->GetLabelAtFrame(8), nullptr);
  EXPECT_EQ(index->GetMark(6), nullptr);
}

TEST_F(FrameIndexTest, MarksFollowTheirFrames) {
  struct Case {
    const char* name;
    void (*change)(CFrameIndex&);
    std::vector<std::string> marks;
  } cases[] = {
      {"shifted", [](CFrameIndex& i) { i.ShiftMarks(3, 2); }, {"2:a", "5:b", "6:c", "7:d"}},
      {"shifted from the start", [](CFrameIndex& i) { i.ShiftMarks(0, 1); }, {"3:a", "4:b", "5:c", "6:d"}},
      {"deleted", [](CFrameIndex& i) { i.DeleteMarks(3, 2); }, {"2:a", "3:d"}},
      {"deleted at the end", [](CFrameIndex& i) { i.DeleteMarks(5, 9); }, {"2:a", "3:b", "4:c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SmartRef<CFrameIndex> index = Index({{2, "a"}, {3, "b"}, {4, "c"}, {5, "d"}});
    c.change(*index);
    EXPECT_EQ(Marks(*index), c.marks);
  }
}

// Pasted marks are copies; on a frame that already has marks they come after them, in their own order.
TEST_F(FrameIndexTest, InsertedMarksAreCopiesInOrder) {
  SmartRef<CFrameIndex> index = Index({{1, "a"}, {4, "b"}});
  SmartRef<CFrameIndex> pasted = Index({{0, "x"}, {0, "y"}, {3, "z"}});
  index->InsertMarks(*pasted, 1);
  EXPECT_EQ(Marks(*index), (std::vector<std::string>{"1:a", "1:x", "1:y", "4:b", "4:z"}));
  EXPECT_NE(index->GetMark(2), pasted->GetMark(1));
  EXPECT_EQ(Marks(*pasted), (std::vector<std::string>{"0:x", "0:y", "3:z"})) << "the other index is left as it was";
}

TEST_F(FrameIndexTest, JumpsResolveByLabelToTheFirstMarkOfIt) {
  AlertRecorder alerts;
  SmartRef<CFrameIndex> index = Index({{4, "haut"}, {6, "bas"}, {9, "haut"}});
  SmartRef<CJump> jump = Jump("haut");
  EXPECT_EQ(index->ResolveJump(&jump), 4);
  EXPECT_EQ(~jump, index->GetMark(1)) << "the jump becomes the index's own mark";

  SmartRef<CJump> own = index->GetMark(3);
  EXPECT_EQ(index->ResolveJump(&own), 9) << "a mark of the index needs no label";

  index->GetMark(1)->SetFrame(5);
  EXPECT_EQ(index->ResolveJump(&jump), 5) << "a mark keeps leading to its frame as it moves";

  EXPECT_TRUE(alerts.Alerts().empty());
  for (const char* label : {"Haut", "hau", ""}) {
    SCOPED_TRACE(label);
    SmartRef<CJump> other = Jump(label);
    CJump* before = ~other;
    EXPECT_EQ(index->ResolveJump(&other), CFrameIndex::kNoFrame);
    EXPECT_EQ(~other, before);
  }
  SmartRef<CJump> none;
  EXPECT_EQ(index->ResolveJump(&none), CFrameIndex::kNoFrame);
  ASSERT_EQ(alerts.Alerts().size(), 1u) << "the engine's notice, shown once";
  EXPECT_EQ(alerts.Alerts()[0].text.rfind("Not implemented.", 0), 0u);
}

TEST_F(FrameIndexTest, CopiedJumpsAreReboundToTheMarkOfTheirLabel) {
  SmartRef<CFrameIndex> index = Index({{2, "a"}, {5, "b"}});
  SmartRef<CJump> jump = Jump("b");
  index->RebindJump(nullptr, &jump);
  EXPECT_EQ(~jump, index->GetMark(2));
  SmartRef<CJump> unknown = Jump("c");
  CJump* before = ~unknown;
  index->RebindJump(nullptr, &unknown);
  EXPECT_EQ(~unknown, before);
}

TEST_F(FrameIndexTest, ACloneHasCopiesOfTheMarksACopySharesThem) {
  SmartRef<CFrameIndex> index = Index({{2, "a"}});
  SmartRef<CFrameIndex> clone = CastSmart<CFrameIndex>(index->Clone());
  ASSERT_EQ(clone->NumMarks(), 1);
  EXPECT_NE(clone->GetMark(1), index->GetMark(1));
  EXPECT_EQ(Marks(*clone), Marks(*index));
  SmartRef<CFrameIndex> shared = new CFrameIndex();
  shared->CopyFrom(~index);
  index->FindMark(3, true);
  EXPECT_EQ(shared->NumMarks(), 2);
  EXPECT_EQ(clone->NumMarks(), 1);
  SmartRef<CJumpFrame> notAnIndex = new CJumpFrame();
  EXPECT_EQ(RaisedText(Raised([&] { shared->CopyFrom(~notAnIndex); })), "castPtr");
}

}  // namespace

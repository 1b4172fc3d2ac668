#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/FileReference.h"
#include "engine/EngineTestSupport.h"
#include "engine/Seams.h"
#include "engine/links/CFrameIndex.h"
#include "engine/links/CLink.h"
#include "engine/links/WebAddress.h"
#include "platform/dialogs/CommonDialogs.h"
#include "support/Raised.h"

using namespace engine_test;

namespace {

class LinkTest : public EngineTest {
 protected:
  SmartRef<CJump> FrameJump(const char* label = "x") {
    SmartRef<CJumpFrame> jump = new CJumpFrame();
    jump->GetLabel().Set(label);
    return jump;
  }
  SmartRef<CJump> PageJump() {
    return new CJumpMovie(FileReference(folder.Write("suite.zod").c_str()));
  }
};

// A kind that needs a target is taken only with a target of its sort.
TEST_F(LinkTest, KindsNeedTheirSortOfJump) {
  struct Case {
    const char* jump;  // none, frame, page
    std::int32_t kind;
    bool taken;
  } cases[] = {
      {"none", 1, false},  {"frame", 1, true},  {"page", 1, false},  {"frame", 6, true},  {"page", 6, false},
      {"none", 2, false},  {"page", 2, true},   {"frame", 2, false}, {"page", 7, true},   {"frame", 7, false},
      {"none", 8, false},  {"frame", 8, true},  {"page", 9, true},   {"none", 5, true},   {"page", 5, true},
      {"none", 10, true},  {"frame", 3, true},  {"none", 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.jump << " " << c.kind);
    CLink link;
    link.SetKind(CLink::kStop);
    const std::string jump = c.jump;
    if (jump == "frame") link.SetJump(FrameJump());
    if (jump == "page") link.SetJump(PageJump());
    link.SetKind(c.kind);
    EXPECT_EQ(link.GetKind(), c.taken ? (c.kind == 8 || c.kind == 9 ? 0 : c.kind) : CLink::kStop);
  }
}

TEST_F(LinkTest, AWebAddressReplacesTheJumps) {
  SmartRef<CLink> link = new CLink();
  link->SetJump(PageJump());
  link->SetKind(CLink::kPageWithReturn);
  SmartRef<WebAddress> address = new WebAddress("http://a.example/");
  link->SetHref(address);
  EXPECT_EQ(link->GetKind(), CLink::kWebAddress);
  EXPECT_EQ(link->GetJump(), nullptr);
  EXPECT_EQ(link->GetMovieJump(), nullptr);
  EXPECT_EQ(link->GetStoredHref(), ~address);
  EXPECT_EQ(~link->GetHref(), ~address);
  String text;
  GetAddressText(link->GetStoredHref(), text);
  EXPECT_EQ(TextOf(text), "http://a.example/");
}

// What the page compiler publishes: the stored address, else for a page link its page's address.
TEST_F(LinkTest, ThePublishedAddressOfALink) {
  SmartRef<CLink> page = new CLink();
  page->SetJump(PageJump());
  page->SetKind(CLink::kPageWithReturn);
  SmartRef<Persistent> href = page->GetHref();
  ASSERT_TRUE(IsMember<WebAddress>(~href));
  EXPECT_EQ(TextOf(CastSmart<WebAddress>(~href)->href), "suite.htm");

  SmartRef<CLink> frame = new CLink();
  frame->SetJump(FrameJump());
  frame->SetKind(CLink::kFrame);
  EXPECT_FALSE(frame->GetHref());
  EXPECT_FALSE(CLink().GetHref());

  SetWebAddressHooks({});
  EXPECT_FALSE(page->GetHref()) << "without the web library no address is made";
}

TEST_F(LinkTest, ResolvingTheTargetFrame) {
  SmartRef<CFrameIndex> index = new CFrameIndex();
  CJumpFrame* mark = index->FindMark(6, true);
  mark->GetLabel().Set("x");
  SmartRef<CLink> link = new CLink();
  EXPECT_EQ(link->ResolveFrame(*index), CFrameIndex::kNoFrame) << "no jump";
  link->SetJump(PageJump());
  EXPECT_EQ(link->ResolveFrame(*index), CFrameIndex::kNoFrame) << "a page jump";
  link->SetJump(FrameJump("x"));
  EXPECT_EQ(link->ResolveFrame(*index), 6);
  EXPECT_EQ(link->GetJump(), mark);
}

TEST_F(LinkTest, CopiesShareTheirTargets) {
  SmartRef<CLink> link = new CLink();
  link->SetJump(FrameJump());
  link->SetKind(CLink::kFrameWithReturn);
  link->SetMode(1);
  SmartRef<CLink> clone = CastSmart<CLink>(link->Clone());
  EXPECT_EQ(clone->GetKind(), CLink::kFrameWithReturn);
  EXPECT_EQ(clone->GetMode(), 1);
  EXPECT_EQ(clone->GetJump(), link->GetJump());
  SmartRef<CJumpFrame> notALink = new CJumpFrame();
  EXPECT_EQ(RaisedText(Raised([&] { clone->CopyFrom(~notALink); })), "castPtr");
}

}  // namespace

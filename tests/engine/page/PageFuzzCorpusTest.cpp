// The page fuzzer's corpus, replayed through the fuzzer's own entry so that every seed and every input that
// once failed runs under the sanitizers with the other tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "PageFuzzTargets.h"
#include "engine/geometry/CXform.h"
#include "engine/kinds/CMoviePic.h"
#include "engine/kinds/CMovieVideo.h"
#include "engine/links/CJump.h"
#include "engine/links/CLink.h"
#include "engine/media/CResource.h"
#include "engine/media/CStamp.h"
#include "engine/page/PageTestSupport.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/bitmaps/ColorTable.h"
#include "support/AlertRecorder.h"
#include "support/DocumentBytes.h"

using namespace document_testing;
using namespace engine_test;

namespace {

const std::filesystem::path kCorpus = std::filesystem::path(QUILLORY_SOURCE_DIR) / "fuzz/corpus/page";

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A page with what the rich page lacks: a picture of a stamp scaled in one frame, a video, a group inside
// the group, frame marks, and links to a page and to a frame.
SmartRef<CShow> MakeEveryClassPage() {
  const SmartRef<CShow> page = MakePage({0, 0, 200, 150}, 3);
  CMovieGroup& group = GroupOf(*page);
  const SmartRef<CStamp> stamp = new CStamp(new BitMap(12, 8, ColorTable::GetStandard(8)), Color(0));
  const SmartRef<CMovie> stamped = CMoviePic::FromPicture(new CResource(SmartRef<Smart>(~stamp)));
  CSprite* scaled = AddSprite(group, *stamped, 0, 3);
  const Rect larger{10, 10, 58, 42};
  scaled->FitFrameToRect(1, &larger, nullptr);
  const SmartRef<CMovie> video = new CMovieVideo({0, 0, 30, 20});
  AddSprite(group, *video, 1, 1);
  const SmartRef<CMovieGroup> inner = new CMovieGroup(Rect{0, 0, 50, 40});
  AddSprite(*inner, *SolidPicture(10, 10, 3), 0, 1);
  CSprite* nested = AddSprite(group, *inner, 0, 3);
  const SmartRef<CLink> toPage = new CLink();
  toPage->SetJump(new CJumpMovie(FileReference()));
  nested->SetLink(0, 1, ~toPage);
  const SmartRef<CLink> toFrame = new CLink();
  toFrame->SetJump(new CJump());
  nested->SetLink(2, 1, ~toFrame);
  group.GetFrameIndex()->FindMark(2, true)->GetLabel().Set("fin");
  return page;
}

class PageFuzzCorpus : public PageTest {
 protected:
  // The seeds: pages this program writes, every engine class among them.
  static std::map<std::string, std::string> MakeSeeds() {
    std::map<std::string, std::string> seeds;
    seeds["rich-page"] = SaveDocument(SmartRef<Smart>(~MakeRichPage()));
    seeds["every-class"] = SaveDocument(SmartRef<Smart>(~MakeEveryClassPage()));
    seeds["new-page"] = SaveDocument(SmartRef<Smart>(new CShow(new CMovieGroup(defaultMovieBounds), false)));
    return seeds;
  }
};

// QUILLORY_WRITE_CORPUS=1 writes the seeds into the source tree; otherwise they must match what is there.
TEST_F(PageFuzzCorpus, SeedsAreThoseTheProgramWrites) {
  AlertRecorder alerts;
  const bool write = std::getenv("QUILLORY_WRITE_CORPUS") != nullptr;
  for (const auto& [name, bytes] : MakeSeeds()) {
    SCOPED_TRACE(name);
    const std::filesystem::path path = kCorpus / ("seed-" + name);
    if (write) {
      std::filesystem::create_directories(kCorpus);
      std::ofstream(path, std::ios::binary) << bytes;
    }
    EXPECT_EQ(ReadWhole(path), bytes);
  }
}

TEST_F(PageFuzzCorpus, EveryInputReadsWithoutFault) {
  int replayed = 0, pages = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kCorpus)) {
    SCOPED_TRACE(entry.path().filename().string());
    const std::string bytes = ReadWhole(entry.path());
    pages += page_testing::ReadUntrustedPage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ++replayed;
  }
  EXPECT_GT(replayed, 0);
  EXPECT_GT(pages, 0) << "the seeds hold pages";
}

}  // namespace

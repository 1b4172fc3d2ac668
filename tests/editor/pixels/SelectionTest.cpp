// The marquee, moving lassoed pixels, and copy and paste of the pixel editor.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "editor/CDropperTool.h"
#include "editor/pixels/CTaskTool.h"
#include "editor/pixels/PixelTestSupport.h"
#include "editor/pixels/SelectionTasks.h"
#include "engine/media/CStamp.h"
#include "core/Exception.h"
#include "support/Raised.h"
#include "graphics/DisplayPort.h"
#include "platform/kernel/System.h"
#include "platform/screen/HeadlessBackend.h"
#include "platform/screen/Backend.h"
#include "platform/user/Clipboard.h"
#include "ui/shell/Clipboard.h"

namespace editor_test {
namespace {

class SelectionTest : public PixelTest {
 protected:
  void SetUp() override {
    PixelTest::SetUp();
    lasso = new CLassoTool;
    CSelectionMoveTask::ReleaseFloating();
    // A black 10 x 10 square at picture (10, 10), window (30, 40).
    Paint({10, 10, 20, 20}, standardColors[1]);
    black = PixelAt(10, 10);
  }
  void TearDown() override {
    CSelectionMoveTask::ReleaseFloating();
    lasso = nullptr;
    PixelTest::TearDown();
  }
  void Paint(const Rect& rect, const Color& color) {
    DisplayPort port(pane->GetPicture(), {0, 0, 100, 80});
    port.DrawRect(rect, color, color);
  }
  void Marquee(const std::vector<Point>& points) {
    SmartRef<CSelectionRect> task(new CSelectionRect(~pane, pane->GetPicture(), ~lasso));
    task->Prepare();
    SmartRef<CTaskTool> tool(new CTaskTool(~task, ~lasso));
    Drag(~tool, points);
  }
  SmartRef<CSelectionMoveTask> Move(const std::vector<Point>& points) {
    SmartRef<CSelectionMoveTask> task(new CSelectionMoveTask(~pane, pane->GetPicture(), false));
    task->Prepare();
    SmartRef<CTaskTool> tool(new CTaskTool(~task, ~lasso));
    Drag(~tool, points);
    return task;
  }
  // Rows of the picture over x 0 to 60 at the rows given: '#' black.
  std::string Row(int y) const { return Pixels({0, y, 60, y + 1}, black); }

  SmartRef<CLassoTool> lasso;
  std::uint32_t black = 0;
};

TEST_F(SelectionTest, AMarqueeSelectsTheSameFromEitherCornerAndAClickSelectsNothing) {
  Marquee({{60, 70}, {50, 60}, {40, 50}});
  EXPECT_EQ(pane->GetSelection()->GetBounds(), Rect(40, 50, 60, 70));
  Marquee({{40, 50}, {60, 70}});
  EXPECT_EQ(pane->GetSelection()->GetBounds(), Rect(40, 50, 60, 70));
  Marquee({{45, 55}});
  EXPECT_TRUE(pane->GetSelection()->IsEmpty());
  EXPECT_TRUE(sink.undoable.empty()) << "a marquee is never undone";
  // The lasso's fourth mode selects the whole picture, the others drop the selection.
  lasso->SetChoice(0, 4);
  EXPECT_EQ(pane->GetSelection()->GetBounds(), pane->GetBounds());
  lasso->SetChoice(0, 2);
  EXPECT_TRUE(pane->GetSelection()->IsEmpty());
  lasso->SetChoice(0, 5);
  EXPECT_EQ(lasso->GetChoice(0), 2);
}

TEST_F(SelectionTest, TwoMovesLeaveOneCopyAtTheSecondPlaceAndTheHoleShowsTheBackground) {
  const std::string before = Row(15);
  Marquee({{30, 40}, {40, 50}});
  Move({{35, 45}, {45, 45}, {55, 45}});
  EXPECT_EQ(pane->GetSelection()->GetBounds(), Rect(50, 40, 60, 50));
  EXPECT_EQ(Row(15), std::string(30, '.') + std::string(10, '#') + std::string(20, '.') + "\n");
  Move({{55, 45}, {75, 45}});
  EXPECT_EQ(Row(15), std::string(50, '.') + std::string(10, '#') + "\n");
  EXPECT_EQ(Row(10), Row(15));
  EXPECT_EQ(Row(20), std::string(60, '.') + "\n");
  EXPECT_NE(before, Row(15));
}

TEST_F(SelectionTest, WhiteInsideTheFloatingPixelsLetsWhatIsUnderThemShow) {
  // A white hole in the square, and black where it lands.
  Paint({12, 12, 14, 14}, standardColors[0]);
  Paint({40, 10, 60, 30}, standardColors[1]);
  Marquee({{30, 40}, {40, 50}});
  Move({{30, 40}, {60, 40}});
  EXPECT_EQ(PixelAt(42, 12), black);
  EXPECT_EQ(PixelAt(12, 12), white);
}

TEST_F(SelectionTest, DraggingOutOfThePaneKeepsThePixelsInside) {
  Marquee({{30, 40}, {40, 50}});
  Move({{35, 45}, {500, 45}});
  const Rect moved = pane->GetSelection()->GetBounds();
  EXPECT_LE(moved.left, 119);
  EXPECT_GT(moved.left, 100);
  EXPECT_NE(PixelAt(moved.left - 20, 15), white);
}

TEST_F(SelectionTest, UndoAndRedoOfMovesLeaveNoStalePixels) {
  const std::vector<std::uint8_t> original = PictureBytes();
  Marquee({{30, 40}, {40, 50}});
  SmartRef<CSelectionMoveTask> first = Move({{35, 45}, {55, 45}});
  const std::vector<std::uint8_t> moved = PictureBytes();
  first->Undo();
  EXPECT_EQ(PictureBytes(), original);
  EXPECT_EQ(pane->GetSelection()->GetBounds(), Rect(30, 40, 40, 50)) << "the outline goes back too";
  first->Redo();
  EXPECT_EQ(PictureBytes(), moved);
  EXPECT_EQ(pane->GetSelection()->GetBounds(), Rect(50, 40, 60, 50));
  first->Undo();
  // A move after the undo lifts the pixels afresh: one copy, at the new place only.
  Move({{35, 45}, {35, 65}});
  EXPECT_EQ(Row(35), std::string(10, '.') + std::string(10, '#') + std::string(40, '.') + "\n");
  EXPECT_EQ(Row(15), std::string(60, '.') + "\n");
}

TEST_F(SelectionTest, AMoveAfterARedoStartsFromTheRedonePlace) {
  Marquee({{30, 40}, {40, 50}});
  SmartRef<CSelectionMoveTask> first = Move({{35, 45}, {55, 45}});
  first->Undo();
  first->Redo();
  Move({{55, 45}, {55, 65}});
  EXPECT_EQ(Row(35), std::string(30, '.') + std::string(10, '#') + std::string(20, '.') + "\n");
  EXPECT_EQ(Row(15), std::string(60, '.') + "\n") << "nothing left where the square was lifted or redone";
}

TEST_F(SelectionTest, CopyAndPasteKeepThePlaceOrCentreAForeignPicture) {
  SmartRef<Clipboard> clipboard(new Clipboard);
  // Nothing selected: the whole picture, placed at the origin.
  pane->Copy(~clipboard);
  auto* whole = CastSmart<CStamp>(clipboard->GetScrap());
  ASSERT_NE(whole, nullptr);
  Rect bounds;
  whole->GetBounds(&bounds);
  EXPECT_EQ(bounds, Rect(0, 0, 100, 80));
  // The square copied pastes where it was.
  pane->GetSelection()->SetRect({30, 40, 40, 50});
  pane->Copy(~clipboard);
  Paint({0, 0, 100, 80}, standardColors[0]);
  const std::vector<std::uint8_t> blank = PictureBytes();
  pane->Paste(~clipboard, 0, 0, 0);
  EXPECT_EQ(pane->GetSelection()->GetBounds(), Rect(30, 40, 40, 50));
  EXPECT_EQ(Row(15), std::string(10, '.') + std::string(10, '#') + std::string(40, '.') + "\n");
  ASSERT_EQ(sink.undoable.size(), 1u);
  sink.undoable[0]->Undo();
  EXPECT_EQ(PictureBytes(), blank) << "undo gives back the picture before the paste";
  // A picture from elsewhere lands centred, its selection clipped to the pane.
  SmartRef<OffScreen> foreign(new OffScreen(20, 10, 8, standardColors[1], true));
  clipboard->SetScrap(~foreign->GetBitMap());
  pane->Paste(~clipboard, 0, 0, 0);
  EXPECT_EQ(pane->GetSelection()->GetBounds(), Rect(60, 65, 80, 75));
  EXPECT_EQ(PixelAt(40, 35), black);
  EXPECT_EQ(PixelAt(39, 35), white);
  SmartRef<OffScreen> huge(new OffScreen(300, 300, 8, standardColors[1], true));
  clipboard->SetScrap(~huge->GetBitMap());
  pane->Paste(~clipboard, 0, 0, 0);
  EXPECT_EQ(pane->GetSelection()->GetBounds(), pane->GetBounds());
}

}  // namespace
}  // namespace editor_test

namespace editor_test {
namespace {

// Another program's picture on the system clipboard, as a packed DIB: a 40-byte header, then the rest.
void PutDib(const std::vector<std::uint8_t>& dib) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, dib.size());
  std::memcpy(GlobalLock(block), dib.data(), dib.size());
  GlobalUnlock(block);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(CF_DIB, block);
  CloseClipboard();
}

std::vector<std::uint8_t> Dib(std::int32_t width, std::int32_t height, std::uint16_t bits, std::uint32_t colorsUsed,
                              std::uint32_t headerSize, std::size_t dataBytes) {
  std::vector<std::uint8_t> dib(40 + dataBytes, 0x5A);
  auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(dib.data() + at, &v, 4); };
  put32(0, headerSize);
  put32(4, static_cast<std::uint32_t>(width));
  put32(8, static_cast<std::uint32_t>(height));
  dib[12] = 1;
  dib[13] = 0;
  std::memcpy(dib.data() + 14, &bits, 2);
  put32(16, 0);
  put32(20, 0);
  for (std::size_t at = 24; at < 32; ++at) dib[at] = 0;
  put32(32, colorsUsed);
  put32(36, 0);
  return dib;
}

class ForeignPasteTest : public SelectionTest {
 protected:
  void SetUp() override {
    SelectionTest::SetUp();
    auto made = std::make_unique<platform::HeadlessBackend>();
    platform::SetBackend(std::move(made));
  }
  void TearDown() override {
    platform::SetBackend(nullptr);
    SelectionTest::TearDown();
  }
};

TEST_F(ForeignPasteTest, DamagedPicturesFromElsewhereLeaveThePictureAsItWas) {
  struct Case {
    const char* fault;
    std::vector<std::uint8_t> dib;
  } cases[] = {
      {"header shorter than the block says", Dib(2, 2, 24, 0, 40, 0)},
      {"huge width, few bytes", Dib(0x40000000, 2, 24, 0, 40, 16)},
      {"huge height, few bytes", Dib(2, 0x40000000, 8, 0, 40, 16)},
      {"negative width", Dib(-5, 2, 24, 0, 40, 64)},
      {"too many colours", Dib(2, 2, 8, 0x10000000, 40, 64)},
      {"header size beyond the block", Dib(2, 2, 24, 0, 0x7FFFFFFF, 64)},
      {"zero-bit pixels", Dib(2, 2, 0, 0, 40, 64)},
      {"just a few bytes", std::vector<std::uint8_t>(7, 0xFF)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    const std::vector<std::uint8_t> before = PictureBytes();
    PutDib(c.dib);
    SmartRef<Clipboard> clipboard(new Clipboard);
    // The program's own error is fine; an assertion, a crash or a changed picture is not.
    const SmartRef<Exception> raised = Raised([&] { pane->Paste(~clipboard, 0, 0, 0); });
    EXPECT_EQ(dynamic_cast<AssertionException*>(~raised), nullptr) << RaisedText(raised);
    EXPECT_EQ(PictureBytes(), before);
    EXPECT_TRUE(sink.undoable.empty());
  }
}

}  // namespace
}  // namespace editor_test

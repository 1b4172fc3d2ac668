// Text sprites on the stage: the selected text's style follows the paint colour, and scaling a text
// lays it again into the new box instead of stretching it.
#include <gtest/gtest.h>

#include <vector>

#include "editor/CDropperTool.h"
#include "editor/Seams.h"
#include "editor/stage/StageTestSupport.h"
#include "engine/kinds/CMovieText.h"
#include "engine/media/CResource.h"
#include "engine/page/CMovieGroup.h"
#include "platform/user/KeyState.h"
#include "ui/text/StyledText.h"

namespace editor_test {
namespace {

using engine_test::AddSprite;
using engine_test::GroupOf;
using engine_test::PlaceAt;

class StageTextTest : public StageTest {
 protected:
  // The body on the text page below.
  void Stage(const std::function<void()>& body) {
    OnStage([&] {
      OpenTextPage();
      body();
      text = nullptr;
    });
  }
  // The stage page with a text sprite on top (index 4) at (20, 100), one line of about 150 pixels.
  void OpenTextPage() {
    UseTool(3);
    const SmartRef<CShow> made = MakeStagePage(2);
    const char words[] = "Bonjour les amis de la page";
    const SmartRef<Smart> style(new TextStyle(2, 12, kAlignLeft, standardColors[1], standardColors[13]));
    text = new StyledText(words, static_cast<std::int32_t>(sizeof words - 1), style);
    Point size;
    text->Measure(size, 0);
    const SmartRef<CResource> resource = new CResource(SmartRef<Smart>(~text));
    resource->SetBounds(0, 0, size.x, size.y);
    const SmartRef<CMovie> movie = new CMovieText(~resource, {0, 0, size.x, size.y});
    CSprite* sprite = AddSprite(GroupOf(*made), *movie, 0, 2);
    PlaceAt(*sprite, 0, {20, 100});
    PlaceAt(*sprite, 1, {20, 100});
    Open(made);
  }
  SmartRef<StyledText> text;
};

TEST_F(StageTextTest, TheSelectedTextTakesThePaintColour) {
  Stage([&] {
    gPaintState = new CDropperTool;
    EXPECT_EQ(pane->GetTextStyle(), nullptr) << "nothing selected";
    pane->SelectSpriteAt(2);
    EXPECT_EQ(pane->GetTextStyle(), nullptr) << "a picture has no style";
    pane->SetSpriteSelected(Sprite(4), true);
    ASSERT_NE(pane->GetTextStyle(), nullptr);
    EXPECT_TRUE(gPaintState->HasListener(~pane, false)) << "a selected text follows the paint state";
    gPaintForeground = standardColors[7];
    gPaintState->NotifyListeners();
    EXPECT_TRUE(text->GetStyle()->GetTextColor().SameAs8Bit(standardColors[7]));
    pane->SelectSpriteAt(-1);
    EXPECT_FALSE(gPaintState->HasListener(~pane, false));
  });
}

TEST_F(StageTextTest, ScalingATextLaysItIntoTheNewBox) {
  Stage([&] {
    const Rect before = RectOf(4, 0);
    ASSERT_GT(before.Width(), 60);
    const std::string saved = SavedLayout();
    // The bottom-right handle drawn in to half the width: the text wraps onto more lines, its top stays.
    const Point handle(before.right - 2, before.bottom - 2);
    const std::int32_t narrower = before.left + before.Width() / 2;
    Drag({handle, {narrower, before.bottom}});
    const Rect after = RectOf(4, 0);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top) << "the top line stays";
    EXPECT_LE(after.Width(), before.Width() / 2 + 1);
    EXPECT_GE(after.Height(), 2 * before.Height()) << "wrapped, not squeezed";
    ASSERT_EQ(sink.undoable.size(), 1u);
    const std::string scaled = SavedLayout();
    sink.undoable.back()->Undo();
    EXPECT_EQ(SavedLayout(), saved) << "undo gives the one line back";
    sink.undoable.back()->Redo();
    EXPECT_EQ(SavedLayout(), scaled) << "redo lays it into the box again";
  });
}

// The page window's palette as the double click reaches it: the kinds asked for, and whether a page window
// is in front to make them.
std::vector<std::int32_t> gKindsMade;
bool gPageWindowInFront = true;
bool MakePageTool(std::int32_t kind) {
  gKindsMade.push_back(kind);
  return gPageWindowInFront;
}

struct DoubleClickRow {
  const char* what;
  std::int16_t sprite;   // pressed: 4 the text, 2 the picture B
  bool selected;         // before the press
  std::int32_t clicks;
  bool pageWindow;
  std::vector<std::int32_t> kinds;
};

TEST_F(StageTextTest, ADoubleClickOnASelectedTextOpensThePageWindowsTextTools) {
  const DoubleClickRow rows[] = {
      {"a double click on the selected text", 4, true, 2, true, {30, 14}},
      {"no page window in front", 4, true, 2, false, {30}},
      {"a single click", 4, true, 1, true, {}},
      {"a double click on a text not selected yet", 4, false, 2, true, {}},
      {"a double click on a selected picture", 2, true, 2, true, {}},
  };
  const PageWindowHooks saved = GetPageWindowHooks();
  SetPageWindowHooks({&MakePageTool});
  OnStage([&] {
    for (const DoubleClickRow& row : rows) {
      SCOPED_TRACE(row.what);
      gKindsMade.clear();
      gPageWindowInFront = row.pageWindow;
      OpenTextPage();
      if (row.selected) pane->SelectSprite(Sprite(row.sprite));
      const Rect r = RectOf(row.sprite, 0);
      platform::SetKeyDown(VK_LBUTTON, true);
      pane->MouseDown(r.left + 12, r.top + 10, 0, row.clicks, ~window.root);
      platform::SetKeyDown(VK_LBUTTON, false);
      if (Tool* tool = AppTool()) tool->MouseMoved(r.left + 12, r.top + 10, 0, false, ~window.root);
      EXPECT_EQ(gKindsMade, row.kinds);
      const List chosen = pane->GetSelectionList();
      EXPECT_TRUE(chosen.NumItems() == 1 && chosen.At(1) == Sprite(row.sprite)) << "the pressed sprite is selected";
    }
    text = nullptr;
  });
  SetPageWindowHooks(saved);
}

}  // namespace
}  // namespace editor_test

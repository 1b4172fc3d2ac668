// Typing a text on the stage of a real page window of the authoring application: the text tool's press
// opens the text pane on the page, the typed characters go into it, and ending the edit (a press beside
// it, or the application's command 3030) leaves a text sprite in the page and the text menu disabled.
#include <gtest/gtest.h>

#include <string>

#include "editor/CToolsDir.h"
#include "editor/CurrentStagePane.h"
#include "editor/PaintToolsWindow.h"
#include "editor/app/AuthoringAppTestSupport.h"
#include "editor/stage/StageTestSupport.h"
#include "editor/text/CTextView.h"
#include "engine/kinds/CMovieText.h"
#include "engine/media/CResource.h"
#include "engine/page/CMovieGroup.h"
#include "platform/user/Input.h"
#include "support/DocumentBytes.h"
#include "ui/text/StyledText.h"
#include "ui/text/TextCommands.h"
#include "ui/views/WindowFrame.h"

namespace editor_test {
namespace {

CHAPane* StagePaneIn(View* view) {
  if (auto* pane = CastSmart<CHAPane>(view)) return pane;
  for (std::int32_t i = 1; i <= view->GetSubviews().NumItems(); ++i)
    if (CHAPane* pane = StagePaneIn(CastSmart<View>(view->GetSubviews().At(i)))) return pane;
  return nullptr;
}

// The text a text sprite shows in its first frame.
std::string TextOfSprite(CSprite& sprite) {
  auto* movie = CastSmart<CMovieText>(sprite.GetMovie());
  if (movie == nullptr) return "(not a text)";
  auto* resource = CastSmart<CResource>(movie->GetResource(0));
  auto* text = resource ? CastSmart<StyledText>(resource->GetObject()) : nullptr;
  return text ? TextOf(*text) : "(no text)";
}

class StageTypingTest : public AuthoringAppTest {
 protected:
  // A press and release of the real (injected) mouse at the point of the window's client area.
  void Click(Window& window, Point p) {
    const Point at = OnScreen(window.GetFrame()->GetHandle(), p);
    platform::InjectMouseMove(at.x, at.y);
    platform::InjectMouseButton(at.x, at.y, platform::MouseButton::Left, true);
    platform::InjectMouseButton(at.x, at.y, platform::MouseButton::Left, false);
    Pump();
  }
  void Type(const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
      const char one[2] = {*c, '\0'};
      platform::InjectText(one);
      Pump();
    }
  }
  // Types "Salut" at a press of the text tool on the page and ends the edit by the command 3030 or by a
  // press beside the text. The press is at x = 30, or that many pixels short of the stage's right edge.
  void TypeAndEnd(bool byCommand, std::int32_t fromRight = 0);
  void TearDown() override {
    gCurrentStagePane = nullptr;
    AuthoringAppTest::TearDown();
  }
};

void StageTypingTest::TypeAndEnd(bool byCommand, std::int32_t fromRight) {
  InAuthoringProgram([&](PaintToolsWindow& tools) {
    SmartRef<Smart> window;
    authoring->OpenDocument(&window, SmartRef<Smart>(~MakeStagePage(2)), nullptr);
    auto* page = CastSmart<Window>(~window);
    ASSERT_NE(page, nullptr);
    CHAPane* pane = StagePaneIn(page);
    ASSERT_NE(pane, nullptr);
    authoring->SetActivePane(pane);
    tools.SetCurrentTool(~gTextStyleTool);
    CMovieGroup& group = *pane->GetGroup();
    const std::int16_t before = group.GetSpriteCount();

    const Rect stage = pane->GetBounds();
    const Point press(fromRight > 0 ? stage.right - fromRight : 30, 125);
    // Less than two widths of 20 pixels short of the right margin (the stage's right edge less 9) leaves
    // no room for a word: the text starts at the left margin instead, on the line pressed.
    const Point start(fromRight > 0 && fromRight - 9 < 2 * 20 ? stage.left + 9 : press.x, press.y);
    Click(*page, press);
    ASSERT_EQ(pane->GetEditingKind(), ToolsPane::kEditsText);
    EXPECT_TRUE(TextPaneOpen);
    Type("Salut");
    {
      auto* textPane = dynamic_cast<CTextView*>(~pane->GetEditPane());
      ASSERT_NE(textPane, nullptr);
      String typed;
      textPane->GetTextView()->GetText(&typed);
      EXPECT_EQ(TextOf(typed), "Salut") << "typed into the pane";
    }
    alerts.Clear();
    if (byCommand) {
      authoring->HandleNumberCommand(cmdEndInPlaceEditing, nullptr);
      ASSERT_EQ(alerts.Alerts().size(), 1u);
      EXPECT_NE(alerts.Alerts()[0].text.find("Not implemented."), std::string::npos);
    } else {
      Click(*page, {180, 20});
      EXPECT_TRUE(alerts.Alerts().empty());
    }
    EXPECT_EQ(pane->GetEditingKind(), ToolsPane::kEditsNothing);
    EXPECT_FALSE(TextPaneOpen) << "the text menu goes with the pane";
    ASSERT_EQ(group.GetSpriteCount(), before + 1);
    CSprite& typed = *group.GetSprite(before);
    EXPECT_EQ(TextOfSprite(typed), "Salut");
    Rect placed;
    typed.GetFrameGeometry(0, &placed, nullptr);
    EXPECT_EQ(placed.TopLeft(), start) << "the text starts where the child pressed";
    EXPECT_GT(placed.Width(), 20);
    // The press beside the text went on to select what lies there: nothing.
    const List chosen = pane->GetSelectionList();
    EXPECT_EQ(chosen.NumItems(), byCommand ? 1 : 0);
    if (byCommand) {
      EXPECT_EQ(chosen.At(1), &typed) << "the new text is selected";
    }
    // Read back from the saved page.
    const SmartRef<Smart> read =
        document_testing::ReadDocument(document_testing::SaveDocument(SmartRef<Smart>(pane->GetShow())), nullptr);
    auto* saved = CastSmart<CShow>(~read);
    ASSERT_NE(saved, nullptr);
    CMovieGroup& savedGroup = engine_test::GroupOf(*saved);
    ASSERT_EQ(savedGroup.GetSpriteCount(), before + 1);
    EXPECT_EQ(TextOfSprite(*savedGroup.GetSprite(before)), "Salut");
    authoring->ClearActivePane(pane);
    tools.SetCurrentTool(nullptr);
  });
}

TEST_F(StageTypingTest, ATextEndedByAPressBesideItBecomesATextSpriteOfThePage) { TypeAndEnd(false); }

TEST_F(StageTypingTest, Command3030EndsTheTypingIntoASpriteAndSaysItIsNotImplemented) { TypeAndEnd(true); }

TEST_F(StageTypingTest, ATextStartedNearTheRightEdgeStartsAtTheLeftMargin) { TypeAndEnd(false, 30); }

}  // namespace
}  // namespace editor_test

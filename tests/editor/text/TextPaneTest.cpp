// The text pane: how it opens over a text frame, the default style it keeps between texts, what it follows
// while the child types (the foreground colour, the palette's styles, its own text's size), what it gives
// back, and the flag that enables the text menu while it exists.
#include <gtest/gtest.h>

#include "editor/CDropperTool.h"
#include "editor/CToolsDir.h"
#include "editor/EditorTestSupport.h"
#include "editor/FakeStagePane.h"
#include "editor/text/CTextStyleTool.h"
#include "editor/text/CTextView.h"
#include "engine/Seams.h"
#include "engine/kinds/CMovieText.h"
#include "engine/media/CResource.h"
#include "platform/screen/Backend.h"
#include "platform/user/Input.h"
#include "ui/shell/Clipboard.h"
#include "ui/text/TextCommands.h"
#include "ui/views/Window.h"

namespace editor_test {
namespace {

SmartRef<StyledText> Styled(const char* characters, std::int16_t size) {
  const SmartRef<Smart> style(new TextStyle(2, size, kAlignLeft, standardColors[1], standardColors[kTransparentColor]));
  return SmartRef<StyledText>(new StyledText(String(characters), style));
}

class TextPaneTest : public EditorProgramTest {
 protected:
  void SetUp() override {
    EditorProgramTest::SetUp();
    gDefaultTextStyle = nullptr;
  }
  void TearDown() override {
    gDefaultTextStyle = nullptr;
    EditorProgramTest::TearDown();
  }

  // The stage the panes open on, in the program, with the paint state they follow.
  void OnStage(const std::function<void()>& body) {
    InProgram([&] {
      gPaintState = new CDropperTool;
      const String title("Page");
      stage = new Window(&title, kFrameNormal, false, false, 500, 400);
      stage->SetGlobalBounds({10, 10, 510, 410});
      stage->Open(true);
      body();
      stage->Close();
      stage = nullptr;
      gPaintState = nullptr;
    });
  }
  // A pane as the text movie opens it, through the editor's hook, in the stage.
  SmartRef<CTextView> Open(StyledText* text, const Rect& frame) {
    const auto make = GetFrameEditHooks().makeTextPane;
    EXPECT_NE(make, nullptr);
    if (make == nullptr) return nullptr;
    SmartRef<View> made = make(~stage, frame, text);
    EXPECT_NE(stage->GetSubviews().IndexOf(~made), 0) << "the pane is in the stage";
    return SmartRef<CTextView>(dynamic_cast<CTextView*>(~made));
  }
  void Close(SmartRef<CTextView>& pane) {
    stage->RemoveSubview(~pane);
    pane = nullptr;
  }
  void Type(const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
      const char one[2] = {*c, '\0'};
      platform::InjectText(one);
      Pump();
    }
  }

  SmartRef<Window> stage;
};

TEST_F(TextPaneTest, TheTextMenuIsEnabledExactlyWhileAPaneExists) {
  OnStage([&] {
    SizeCommand size72(72);
    SmartRef<StyledText> first = Styled("un", 12), second = Styled("deux", 12);
    EXPECT_FALSE(TextPaneOpen);
    SmartRef<CTextView> a = Open(~first, {20, 60, 200, 100});
    ASSERT_TRUE(a);
    EXPECT_TRUE(TextPaneOpen);
    EXPECT_EQ(size72.GetSignalStatus(a->GetTextView()), 0) << "enabled, not ticked";
    SmartRef<CTextView> b = Open(~second, {20, 150, 200, 190});
    Close(a);
    EXPECT_TRUE(TextPaneOpen) << "the second pane is still open";
    EXPECT_EQ(size72.GetSignalStatus(b->GetTextView()), 0);
    size72.Send(b->GetTextView());
    EXPECT_EQ(second->GetStyle()->GetSize(), 72) << "the menu styles the text itself";
    EXPECT_EQ(size72.GetSignalStatus(b->GetTextView()), 1);
    TextView* last = b->GetTextView();
    SmartRef<TextView> keep(last);
    Close(b);
    EXPECT_FALSE(TextPaneOpen);
    EXPECT_EQ(size72.GetSignalStatus(last), 3) << "disabled once no pane is left";
  });
}

TEST_F(TextPaneTest, TheFirstTextsStyleBecomesTheDefaultAndAnEmptiedTextLeavesIt) {
  OnStage([&] {
    SmartRef<StyledText> first = Styled("Bonjour", 24);
    SmartRef<CTextView> pane = Open(~first, {20, 60, 300, 100});
    EXPECT_EQ(~gDefaultTextStyle, ~first->GetStyle()) << "the very style of the first text";
    Close(pane);
    ASSERT_TRUE(gDefaultTextStyle);
    EXPECT_NE(~gDefaultTextStyle, ~first->GetStyle()) << "closed, a copy of it";
    EXPECT_EQ(gDefaultTextStyle->GetSize(), 24);

    SmartRef<StyledText> fresh = Styled("", 9);
    pane = Open(~fresh, {20, 60, 300, 100});
    EXPECT_EQ(fresh->GetStyle()->GetSize(), 24) << "a new text opens in the default style";
    EXPECT_NE(~fresh->GetStyle(), ~gDefaultTextStyle);
    Close(pane);

    SmartRef<StyledText> emptied = Styled("Au revoir", 36);
    pane = Open(~emptied, {20, 60, 300, 100});
    pane->GetTextView()->SetText(String(""));
    Close(pane);
    EXPECT_EQ(gDefaultTextStyle->GetSize(), 24) << "an emptied text leaves the default alone";

    SmartRef<StyledText> other = Styled("Salut", 48);
    pane = Open(~other, {20, 60, 300, 100});
    Close(pane);
    EXPECT_EQ(gDefaultTextStyle->GetSize(), 48) << "the last non-empty text closed";
  });
}

// A damaged page may hold a text without its style: it is edited, and becomes the default, in the
// framework's own default style, so that no later text is left without one.
TEST_F(TextPaneTest, ATextWithoutItsStyleTakesTheFrameworksDefaultStyle) {
  OnStage([&] {
    SmartRef<StyledText> damaged(new StyledText(String("abîmé"), nullptr));
    ASSERT_FALSE(damaged->GetStyle());
    SmartRef<CTextView> pane = Open(~damaged, {20, 60, 300, 100});
    ASSERT_TRUE(damaged->GetStyle());
    EXPECT_EQ(damaged->GetStyle()->GetFontId(), kDefaultFontId);
    EXPECT_EQ(damaged->GetStyle()->GetSize(), defaultTextSize);
    EXPECT_EQ(~pane->GetTextView()->GetTextStyle(), ~damaged->GetStyle()) << "the field edits that style";
    ASSERT_TRUE(gDefaultTextStyle);
    Close(pane);
    SmartRef<StyledText> fresh(new StyledText(String(""), nullptr));
    pane = Open(~fresh, {20, 60, 300, 100});
    ASSERT_TRUE(fresh->GetStyle());
    EXPECT_EQ(fresh->GetStyle()->GetSize(), defaultTextSize);
    Close(pane);
  });
}

TEST_F(TextPaneTest, APaneNearTheTopOpensFiftyPixelsDown) {
  OnStage([&] {
    struct Row {
      Rect frame;
      Point placed;
    };
    const Row rows[] = {{{20, 10, 220, 40}, {20, 50}}, {{30, 49, 130, 69}, {30, 50}}, {{40, 80, 240, 130}, {40, 80}}};
    for (const Row& row : rows) {
      SmartRef<StyledText> text = Styled("Titre", 12);
      SmartRef<CTextView> pane = Open(~text, row.frame);
      EXPECT_EQ(pane->GetBounds().TopLeft(), row.placed);
      EXPECT_EQ(pane->GetBounds().Width(), row.frame.Width());
      // The text view then takes the height its text needs, and the pane follows it.
      EXPECT_EQ(pane->GetTextView()->GetBounds(), pane->GetBounds());
      Close(pane);
    }
  });
}

TEST_F(TextPaneTest, AColourPickRecoloursTheWholeText) {
  OnStage([&] {
    SmartRef<StyledText> text = Styled("Rouge", 18);
    SmartRef<CTextView> pane = Open(~text, {20, 60, 300, 100});
    gPaintForeground = Color::FromRGB8(200, 0, 0);
    gPaintState->NotifyListeners();
    EXPECT_EQ(text->GetStyle()->GetTextColor(), gPaintForeground);
    EXPECT_EQ(text->GetStyle()->GetSize(), 18) << "only the colour";
    CTextView* gone = ~pane;
    Close(pane);
    EXPECT_FALSE(gPaintState->HasListener(gone, false));
  });
}

TEST_F(TextPaneTest, ACommitGivesTheTextAsAResourceNoWiderThanItNeeds) {
  OnStage([&] {
    SmartRef<StyledText> text = Styled("Oui", 12);
    SmartRef<CTextView> pane = Open(~text, {40, 60, 340, 120});
    Point needed;
    Styled("Oui", 12)->Measure(needed, 0);
    ASSERT_GT(needed.x, 0);
    ASSERT_LT(needed.x, 300);
    struct Row {
      Rect in;
      Rect out;
    };
    // The rectangle comes in as the frame's, in the frame's coordinates.
    const Row rows[] = {{{40, 60, 340, 120}, {40, 60, 40 + needed.x, 60 + needed.y}},
                        {{0, 0, 300, 60}, {0, 0, needed.x, needed.y}}};
    for (const Row& row : rows) {
      Rect bounds = row.in;
      SmartRef<Smart> edited(new String("avant"));
      ASSERT_TRUE(pane->GetEditResult(&bounds, &edited, true));
      EXPECT_EQ(bounds, row.out);
      auto* resource = CastSmart<CResource>(~edited);
      ASSERT_NE(resource, nullptr);
      EXPECT_EQ(resource->GetObject(), static_cast<Smart*>(~text));
      EXPECT_EQ(resource->GetBounds(), row.out);
    }

    // A text as wide as the pane keeps the pane's width.
    pane->GetTextView()->SetText(String("Une phrase bien plus longue que la case ne le permet, qui passe à la ligne"));
    Rect bounds{40, 60, 340, 120};
    SmartRef<Smart> edited;
    ASSERT_TRUE(pane->GetEditResult(&bounds, &edited, true));
    EXPECT_EQ(bounds.left, 40);
    EXPECT_EQ(bounds.top, 60);
    EXPECT_LE(bounds.Width(), 300);
    EXPECT_GT(bounds.Width(), 200);
    Close(pane);
  });
}

TEST_F(TextPaneTest, TypingReachesTheTextAndThePaneGrowsWithIt) {
  OnStage([&] {
    SmartRef<StyledText> text = Styled("", 12);
    SmartRef<CTextView> pane = Open(~text, {20, 60, 120, 90});
    stage->SetTarget(~pane);
    Pump();
    Type("des mots et des mots et encore des mots");
    String typed;
    pane->GetTextView()->GetText(&typed);
    EXPECT_EQ(TextOf(typed), "des mots et des mots et encore des mots");
    EXPECT_EQ(TextOf(*text), TextOf(typed)) << "the frame's text itself";
    EXPECT_GT(pane->GetBounds().Height(), 30) << "the lines wrap and the text view grows";
    EXPECT_EQ(pane->GetBounds(), pane->GetTextView()->GetBounds()) << "the pane follows";
    Close(pane);
  });
}

// The whole edit of a page's text frame: the text movie opens the pane, the child types, and the frame
// takes the typed text back in the pane's style.
TEST_F(TextPaneTest, AFrameOfATextMovieIsEditedInThePaneAndTakesItsResult) {
  OnStage([&] {
    SmartRef<CResource> old(new CResource(SmartRef<Smart>(~Styled("mot", 12))));
    old->SetBounds(0, 0, 40, 20);
    SmartRef<CMovieText> movie(new CMovieText(~old, {0, 0, 300, 300}));
    movie->BeginEdit(0, 0, 1, 0, ~stage, nullptr, {100, 100, 300, 140}, nullptr, false, false, false);
    auto* pane = dynamic_cast<CTextView*>(movie->GetEditor());
    ASSERT_NE(pane, nullptr);
    EXPECT_TRUE(TextPaneOpen);
    stage->SetTarget(pane);
    Pump();
    Type("Le titre");
    gPaintForeground = Color::FromRGB8(0, 128, 0);
    gPaintState->NotifyListeners();
    ASSERT_TRUE(movie->EndEdit(nullptr, true));
    EXPECT_FALSE(TextPaneOpen);
    EXPECT_EQ(stage->GetSubviews().NumItems(), 0) << "the pane is gone";
    auto* stored = CastSmart<StyledText>(movie->GetResource(0)->GetObject());
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(TextOf(*stored), "Le titre");
    EXPECT_EQ(stored->GetStyle()->GetTextColor(), gPaintForeground);
    EXPECT_EQ(TextOf(*CastSmart<String>(old->GetObject())), "mot") << "the old frame's text is left as it was";
  });
}

// Text pasted from another program with characters the page's code page lacks: they become '?', and the
// text keeps its style.
TEST_F(TextPaneTest, PastedCharactersOutsideTheCodePageBecomeQuestionMarks) {
  OnStage([&] {
    SmartRef<StyledText> text = Styled("", 24);
    SmartRef<CTextView> pane = Open(~text, {20, 60, 300, 100});
    const SmartRef<TextStyle> style = text->GetStyle();
    SmartRef<Clipboard> clipboard(new Clipboard);
    clipboard->SetActive(false);
    platform::CurrentBackend().SetSystemClipboardText("\xE2\x82\xAC \xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80 \xE2\x98\x83!");
    clipboard->SetActive(true);
    pane->GetTextView()->Paste(~clipboard, 0, 0, 0);
    String pasted;
    pane->GetTextView()->GetText(&pasted);
    EXPECT_EQ(TextOf(pasted), "\x80 \xE9t\xE9 ? ?!");
    EXPECT_EQ(~text->GetStyle(), ~style) << "the style stays";
    EXPECT_EQ(text->GetStyle()->GetSize(), 24);
    EXPECT_EQ(~pane->GetTextView()->GetTextStyle(), ~style);
    Close(pane);
  });
}

// The text palette reaches the text being edited through the stage pane the tools window follows.
TEST_F(TextPaneTest, AChoiceOfThePaletteStylesTheEditedTextOrElseOnlyTheNextOne) {
  OnStage([&] {
    gToolsDirectory = new CToolsDir(nullptr);
    auto* tool = dynamic_cast<CTextStyleTool*>(~gTextStyleTool);
    ASSERT_NE(tool, nullptr) << "the tools window makes the text-style tool";
    SmartRef<FakeStagePane> pane(new FakeStagePane(~stage, {0, 0, 500, 400}));
    gToolsDirectory->SetPane(~pane);

    SmartRef<StyledText> text = Styled("Bonjour", 12);
    SmartRef<CTextView> editor = Open(~text, {20, 60, 300, 100});
    pane->editPane = SmartRef<View>(~editor);
    tool->SetChoice(CTextStyleTool::kSize, 10);
    EXPECT_EQ(text->GetStyle()->GetSize(), 72) << "the edited text takes the choice";
    EXPECT_EQ(text->GetStyle()->GetFontId(), 1) << "with the tool's whole style";
    EXPECT_NE(~text->GetStyle(), ~tool->GetStyle()) << "a copy: the tool's later choices stay the tool's";
    EXPECT_EQ(~editor->GetTextView()->GetTextStyle(), ~text->GetStyle());

    pane->editPane = nullptr;
    tool->SetChoice(CTextStyleTool::kSize, 1);
    EXPECT_EQ(tool->GetStyle()->GetSize(), 9) << "the next text's style";
    EXPECT_EQ(text->GetStyle()->GetSize(), 72) << "no text edited: none changes";
    Close(editor);
    gToolsDirectory->SetPane(nullptr);
    gToolsDirectory = nullptr;
    gTextStyleTool = nullptr;
  });
}

}  // namespace
}  // namespace editor_test

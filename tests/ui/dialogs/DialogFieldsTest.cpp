// Dialogs with text fields, laid out by a formatter and typed into on the headless screen: Tab goes from
// field to field, Enter and Esc end the dialog unless a field keeps Enter, and labels and fields land
// where the layout puts them.
#include <gtest/gtest.h>

#include "ui/DialogTestSupport.h"
#include "support/ui/ProgramFixture.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "platform/user/Screen.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "ui/dialogs/Dialog.h"
#include "ui/dialogs/DialogFormatter.h"
#include "graphics/Color.h"
#include "ui/text/StyledText.h"
#include "ui/text/TextControl.h"
#include "ui/text/TextStyle.h"
#include "ui/text/TextView.h"

namespace {

class DialogFieldsTest : public ProgramFixture {
 protected:
  void InProgram(std::function<void()> body) {
    Run([&] {
      body();
      // The dialog goes while its native window still can.
      formatter = nullptr;
      dialog = nullptr;
      PostQuitMessage(0);
    });
  }
  // A new dialog and its formatter, as the debug parameters dialog makes them.
  void Begin() {
    dialog = new Dialog(kFrameModal);
    formatter = new DialogFormatter(~dialog, 300, 0, 5, 5, 10, 10);
  }
  // Fitted, placed and opened, with the field the target.
  void OpenWith(TextView* target) {
    dialog->FitToContent(true);
    const Point size = dialog->GetBounds().Size();
    dialog->SetGlobalBounds(Rect(20, 20, 20 + size.x, 20 + size.y));
    dialog->Open(true);
    if (target) dialog->SetTarget(target);
    dialog->Poll();
  }
  bool PollAll() {
    bool open = true;
    for (int i = 0; i < 3 && open; ++i) open = dialog->Poll();
    return open;
  }
  static HWND Native(TextView* field) { return field->GetEditControl()->GetOSControl()->window; }
  static std::pair<std::int32_t, std::int32_t> Selection(TextView* field) {
    std::int32_t start = 0, end = 0;
    field->GetEditControl()->GetSelection(&start, &end);
    return {start, end};
  }
  static std::string TextOf(TextView* field) {
    String text;
    field->GetText(&text);
    return ::TextOf(text);
  }

  SmartRef<Dialog> dialog;
  SmartRef<DialogFormatter> formatter;
};

}  // namespace

TEST_F(DialogFieldsTest, TabGoesToTheNextEditedVisibleFieldAndSelectsItsText) {
  InProgram([&] {
    Begin();
    formatter->AddLabel(String("Réglages"_cp), false, 0);
    SmartRef<TextView> first = formatter->AddTextField(new String("un"), true, 1, false, 0);
    SmartRef<TextView> hidden = formatter->AddTextField(new String("caché"_cp), true, 1, false, 0);
    SmartRef<TextView> fixed = formatter->AddTextField(new String("fixe"), false, 1, false, 0);
    SmartRef<TextView> last = formatter->AddTextField(new String("quatre"), true, 1, false, 0);
    formatter->AddButtonRow(nullptr, nullptr, 0.7, 0.35);
    hidden->Show(false);
    OpenWith(~first);
    List fields(&TextView::classInfo);
    dialog->CollectTextFields(&fields);
    ASSERT_EQ(fields.NumItems(), 2) << "neither the hidden field, the label nor the fixed text";
    EXPECT_EQ(fields.At(1), ~first);
    EXPECT_EQ(fields.At(2), ~last);

    first->GetEditControl()->SetSelection(1, 1);
    Press(VK_TAB);
    EXPECT_TRUE(PollAll());
    EXPECT_TRUE(last->IsTarget());
    EXPECT_EQ(GetFocus(), Native(~last));
    EXPECT_EQ(Selection(~last), std::make_pair(0, 6));
    Press(VK_TAB);
    PollAll();
    EXPECT_TRUE(first->IsTarget()) << "from the last field back to the first";
    EXPECT_EQ(Selection(~first), std::make_pair(0, 2));

    // With one field left, Tab keeps it and selects its text again.
    last->Show(false);
    first->GetEditControl()->SetSelection(2, 2);
    Press(VK_TAB);
    PollAll();
    EXPECT_TRUE(first->IsTarget());
    EXPECT_EQ(Selection(~first), std::make_pair(0, 2));
    EXPECT_EQ(TextOf(~first), "un") << "Tab is not typed";
    dialog->Cancel();
  });
}

TEST_F(DialogFieldsTest, EnterAcceptsUnlessAMultiLineFieldKeepsItTheKeypadEnterAlwaysAcceptsEscCancels) {
  struct Case {
    const char* name;
    std::int32_t lines;
    int key;
    bool keypad;
    bool open, cancelled;
    const char* text;
  } cases[] = {
      {"Enter in one line", 1, VK_RETURN, false, false, false, "ab"},
      {"Enter in several lines", 3, VK_RETURN, false, true, false, "ab\r\n"},
      {"keypad Enter in several lines", 3, VK_RETURN, true, false, false, "ab"},
      {"Esc", 1, VK_ESCAPE, false, false, true, "ab"},
  };
  InProgram([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      Begin();
      SmartRef<String> value(new String("ab"));
      SmartRef<TextView> field = formatter->AddTextField(~value, true, c.lines, false, 0);
      OpenWith(~field);
      field->GetEditControl()->SetSelection(2, 2);
      Press(c.key, c.keypad);
      EXPECT_EQ(PollAll(), c.open);
      EXPECT_EQ(dialog->WasCancelled(), c.cancelled);
      EXPECT_EQ(TextOf(~field), c.text);
      if (c.open) dialog->Cancel();
    }
  });
}

TEST_F(DialogFieldsTest, DeleteInAFieldRemovesTheCharacterAfterTheCaret) {
  InProgram([&] {
    Begin();
    SmartRef<TextView> field = formatter->AddTextField(new String("abc"), true, 1, false, 0);
    OpenWith(~field);
    field->GetEditControl()->SetSelection(1, 1);
    Press(VK_DELETE, true);
    PollAll();
    EXPECT_EQ(TextOf(~field), "ac");
    EXPECT_FALSE(gForwardDelete);
    dialog->Cancel();
  });
}

TEST_F(DialogFieldsTest, LabelledFieldsGoBelowTheirLabelsOrBesideThemWithTheFieldDefaults) {
  InProgram([&] {
    Begin();
    SmartRef<TextView> firstField = formatter->AddLabeledField(new String("Nom"), 1, nullptr, false, -1, 0, 0);
    SmartRef<TextView> secondField = formatter->AddLabeledField(new String("Adresse"), 3, nullptr, false, -1, 0, 0);
    formatter->SetFieldDefaults(120, 150, 1, true);
    SmartRef<TextView> besideField = formatter->AddLabeledField(new String("Ville"), 1, nullptr, false, -1, 0, 0);
    SmartRef<TextView> ownWidths = formatter->AddLabeledField(new String("Pays"), 2, nullptr, false, 0, 60, 90);
    const List& views = dialog->GetSubviews();
    ASSERT_EQ(views.NumItems(), 8);
    const Rect expected[] = {
        {10, 10, 310, 31},  {10, 36, 310, 57},    // label, field
        {10, 62, 310, 83},  {10, 88, 310, 148},   // label, three-line field
        {10, 153, 130, 174}, {135, 153, 285, 174},  // the field on its label's line
        {10, 179, 70, 200}, {10, 205, 100, 245},  // own widths, field on a new line
    };
    for (std::int32_t n = 1; n <= 8; ++n)
      EXPECT_EQ(CastSmart<View>(views.At(n))->GetBounds(), expected[n - 1]) << n;
    EXPECT_EQ(views.At(2), ~firstField);
    EXPECT_EQ(views.At(4), ~secondField);
    EXPECT_EQ(views.At(6), ~besideField);
    EXPECT_EQ(views.At(8), ~ownWidths);
    for (std::int32_t n : {1, 3, 5, 7}) EXPECT_FALSE(CastSmart<TextView>(views.At(n))->IsEditing()) << n;
    for (std::int32_t n : {2, 4, 6, 8}) EXPECT_TRUE(CastSmart<TextView>(views.At(n))->IsEditing()) << n;
    EXPECT_EQ(formatter->GetBounds(), Rect(10, 10, 100, 245));
  });
}

TEST_F(DialogFieldsTest, AFieldMadeWithoutAStringEditsANewOneTheCallerReadsAfterAccepting) {
  InProgram([&] {
    Begin();
    SmartRef<TextView> field = formatter->AddTextField(nullptr, true, 1, false, 0);
    OpenWith(~field);
    platform::InjectText("Zoé"_cp);
    Press(VK_RETURN);
    EXPECT_FALSE(PollAll());
    EXPECT_FALSE(dialog->WasCancelled());
    EXPECT_EQ(TextOf(~field), "Zoé"_cp);
  });
}

namespace {
// The columns of the dialog's client row band [top, bottom) where the screen shows dark ink, as
// {first, last + 1}; {0, 0} for none.
std::pair<int, int> InkColumns(HWND window, int left, int top, int right, int bottom) {
  const auto& screen = platform::ComposeScreen();
  const int width = platform::GetScreenSize().cx;
  int first = 0, end = 0;
  for (int x = left; x < right; ++x) {
    for (int y = top; y < bottom; ++y) {
      POINT p{x, y};
      ClientToScreen(window, &p);
      const std::uint32_t pixel = screen[static_cast<std::size_t>(p.y * width + p.x)];
      if (((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF) < 3 * 96) {
        if (end == 0) first = x;
        end = x + 1;
        break;
      }
    }
  }
  return {first, end};
}
}  // namespace

TEST_F(DialogFieldsTest, LabelsAreBoldAndCentredWhenAsked) {
  InProgram([&] {
    Begin();
    const String title("Titre");
    SmartRef<TextView> left = formatter->AddLabel(title, false, 0);
    SmartRef<TextView> centred = formatter->AddLabel(title, true, 0);
    // The same text in the labels' style without bold.
    SmartRef<TextStyle> plainStyle(new TextStyle(1, 12, kAlignLeft, standardColors[1], standardColors[13]));
    SmartRef<StyledText> plainText(new StyledText(title, SmartRef<Smart>(~plainStyle)));
    const Rect plainFrame(10, 62, 310, 83);
    SmartRef<TextView> plain(new TextView(~dialog, plainFrame, ~plainText, kAnchorTopLeft, false, false, false, false));
    dialog->AddSubview(~plain);
    EXPECT_EQ(left->GetBounds(), Rect(10, 10, 310, 31));
    EXPECT_EQ(centred->GetBounds(), Rect(10, 36, 310, 57)) << "a label always starts a new line";
    OpenWith(nullptr);
    HWND window = dialog->GetFrame()->GetHandle();
    const auto leftInk = InkColumns(window, 10, 10, 310, 31);
    const auto centredInk = InkColumns(window, 10, 36, 310, 57);
    const auto plainInk = InkColumns(window, 10, 62, 310, 83);
    ASSERT_NE(leftInk.second, 0) << "the label shows";
    EXPECT_LT(leftInk.first, 20);
    EXPECT_NEAR((centredInk.first + centredInk.second) / 2, 160, 3) << "centred in its frame";
    EXPECT_EQ(centredInk.second - centredInk.first, leftInk.second - leftInk.first);
    EXPECT_GT(leftInk.second - leftInk.first, plainInk.second - plainInk.first) << "bold is wider";
    dialog->Cancel();
  });
}

// Dialogs laid out line by line: where each element goes, and the standard buttons that end the dialog,
// clicked on the headless screen.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/ui/ProgramFixture.h"
#include "core/String.h"
#include "platform/user/Button.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "ui/controls/Control.h"
#include "ui/dialogs/Dialog.h"
#include "ui/dialogs/DialogFormatter.h"

namespace {

class DialogFormatterTest : public ProgramFixture {
 protected:
  void InProgram(std::function<void()> body) {
    Run([&] {
      body();
      PostQuitMessage(0);
    });
  }
  // A dialog as the debug parameters dialog lays it out: one 300-wide line, then the standard row.
  SmartRef<Dialog> OpenLaidOut(SmartRef<PushButton>* ok, SmartRef<PushButton>* cancel) {
    SmartRef<Dialog> dialog(new Dialog(kFrameModalPlain));
    SmartRef<DialogFormatter> formatter(new DialogFormatter(~dialog, 300, 0, 5, 5, 10, 10));
    formatter->PlaceRect(300, 21, false);
    String none;
    *ok = formatter->AddButtonRow(&none, &none, 0.7, 0.35);
    *cancel = CastSmart<PushButton>(dialog->GetSubviews().At(1));
    dialog->FitToContent(true);
    dialog->SetGlobalBounds(Rect(30, 30, 30 + dialog->GetBounds().Width(), 30 + dialog->GetBounds().Height()));
    dialog->Open(true);
    return dialog;
  }
  static HWND Native(PushButton* button) { return button->GetOSControl()->window; }
  static std::string TextOf(HWND window) {
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
  }
  static void Click(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    platform::InjectMouseMove(x, y);
    platform::InjectMouseButton(x, y, platform::MouseButton::Left, true);
    platform::InjectMouseButton(x, y, platform::MouseButton::Left, false);
  }
  static bool PollAll(Dialog& dialog) {
    bool open = true;
    for (int i = 0; i < 3 && open; ++i) open = dialog.Poll();
    return open;
  }
};

}  // namespace

TEST_F(DialogFormatterTest, ElementsGoRightOfTheLastOneOrOnANewLineBelowIt) {
  SmartRef<DialogFormatter> formatter(new DialogFormatter(nullptr, 300, 0, 5, 6, 10, 12));
  struct Step {
    std::int32_t width, height;
    bool sameLine;
    Rect placed;
  } steps[] = {
      {100, 21, true, {10, 12, 110, 33}},    // the first element starts at the start point, same line or not
      {250, 21, true, {115, 12, 365, 33}},   // right of it, spacing 5
      {200, 40, false, {10, 39, 210, 79}},   // a new line at the start x, spacing 6 below
      {300, 60, false, {10, 85, 310, 145}},
  };
  for (const Step& s : steps) EXPECT_EQ(formatter->PlaceRect(s.width, s.height, s.sameLine), s.placed);
  EXPECT_EQ(formatter->GetBounds(), Rect(10, 12, 310, 145));
  formatter->OffsetLast(-100, 5);
  EXPECT_EQ(formatter->GetLastRect(), Rect(-90, 90, 210, 150));
  EXPECT_EQ(formatter->GetBounds(), Rect(10, 12, 210, 150)) << "up to the last element only, not the union";
  EXPECT_EQ(formatter->NextPosition(true), Point(215, 90));
  EXPECT_EQ(formatter->NextPosition(false), Point(10, 156));
}

TEST_F(DialogFormatterTest, AnElementPlacedAtTheOriginCountsAsNothingPlaced) {
  SmartRef<DialogFormatter> formatter(new DialogFormatter(nullptr, 300, 0, 5, 5, 0, 0));
  EXPECT_EQ(formatter->PlaceRect(0, 0, false), Rect(0, 0, 0, 0));
  EXPECT_EQ(formatter->PlaceRect(50, 21, false), Rect(0, 0, 50, 21)) << "not 5 below it";
}

TEST_F(DialogFormatterTest, FieldsAreTwentyPixelsALineButOneLineIsTwentyOne) {
  SmartRef<DialogFormatter> formatter(new DialogFormatter(nullptr, 300, 0, 5, 5, 10, 10));
  const std::pair<std::int32_t, std::int32_t> sizes[] = {{1, 21}, {2, 40}, {3, 60}, {10, 200}};
  for (auto [lines, height] : sizes) EXPECT_EQ(formatter->TextSize(200, lines), Point(200, height)) << lines;
}

TEST_F(DialogFormatterTest, FieldDefaultsKeepTheSameLineFlagOnMinusOne) {
  SmartRef<DialogFormatter> formatter(new DialogFormatter(nullptr, 300, 7, 5, 5, 10, 10));
  EXPECT_EQ(formatter->GetLabelWidth(), 300);
  EXPECT_EQ(formatter->GetFieldWidth(), 300);
  EXPECT_EQ(formatter->GetFieldSameLine(), 0);
  EXPECT_TRUE(formatter->IsFieldEditable());
  formatter->SetFieldDefaults(120, 150, 1, false);
  EXPECT_EQ(formatter->GetLabelWidth(), 120);
  EXPECT_EQ(formatter->GetFieldWidth(), 150);
  EXPECT_EQ(formatter->GetFieldSameLine(), 1);
  EXPECT_FALSE(formatter->IsFieldEditable());
  formatter->SetFieldDefaults(80, 90, -1, true);
  EXPECT_EQ(formatter->GetFieldSameLine(), 1) << "-1 keeps it";
  EXPECT_TRUE(formatter->IsFieldEditable());
}

TEST_F(DialogFormatterTest, TheStandardRowSitsBelowTheLastFieldWithoutMovingIt) {
  InProgram([&] {
    SmartRef<Dialog> dialog(new Dialog(kFrameModalPlain));
    SmartRef<DialogFormatter> formatter(new DialogFormatter(~dialog, 300, 0, 5, 5, 10, 10));
    formatter->PlaceRect(300, 21, false);
    String none;
    SmartRef<PushButton> ok = formatter->AddButtonRow(&none, nullptr, 0.7, 0.35);
    ASSERT_EQ(dialog->GetSubviews().NumItems(), 2);
    auto* cancel = CastSmart<PushButton>(dialog->GetSubviews().At(1));
    EXPECT_EQ(dialog->GetSubviews().At(2), ~ok) << "cancel first, then OK";
    EXPECT_EQ(cancel->GetBounds(), Rect(65, 36, 145, 58));
    EXPECT_EQ(ok->GetBounds(), Rect(170, 36, 250, 58));
    EXPECT_EQ(TextOf(Native(cancel)), "Annuler");
    EXPECT_EQ(TextOf(Native(~ok)), "OK");
    EXPECT_EQ(GetWindowLongA(Native(~ok), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON) << "the default button";
    EXPECT_EQ(GetWindowLongA(Native(cancel), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(formatter->GetLastRect(), Rect(10, 10, 310, 31)) << "buttons leave the last rectangle";
    EXPECT_EQ(formatter->PlaceRect(100, 21, false), Rect(10, 36, 110, 57)) << "a later field lands on the buttons";
  });
}

TEST_F(DialogFormatterTest, ButtonsAreCentredOnRoundedFractionsOfTheDefaultWidthWithTheirOwnTexts) {
  InProgram([&] {
    SmartRef<Dialog> dialog(new Dialog(kFrameModal));
    SmartRef<DialogFormatter> formatter(new DialogFormatter(~dialog, 301, 0, 5, 5, 40, 10));
    String valider("Valider"), fermer("Fermer");
    SmartRef<PushButton> ok = formatter->AddButtonRow(&valider, &fermer, 0.5, 0.0);
    auto* cancel = CastSmart<PushButton>(dialog->GetSubviews().At(1));
    EXPECT_EQ(ok->GetBounds(), Rect(111, 10, 191, 32)) << "150.5 rounds to 151; nothing placed: the start y";
    EXPECT_EQ(cancel->GetBounds(), Rect(-40, 10, 40, 32)) << "from the dialog's left edge, not the start x";
    EXPECT_EQ(TextOf(Native(~ok)), "Valider");
    EXPECT_EQ(TextOf(Native(cancel)), "Fermer");
  });
}

TEST_F(DialogFormatterTest, ClickingTheStandardButtonsEndsTheDialog) {
  InProgram([&] {
    for (bool clickOK : {true, false}) {
      SCOPED_TRACE(clickOK);
      SmartRef<PushButton> ok, cancel;
      SmartRef<Dialog> dialog = OpenLaidOut(&ok, &cancel);
      EXPECT_TRUE(dialog->Poll());
      Click(Native(clickOK ? ~ok : ~cancel));
      EXPECT_FALSE(PollAll(*dialog));
      EXPECT_EQ(dialog->WasCancelled(), !clickOK);
    }
  });
}

TEST_F(DialogFormatterTest, KeysTypedOnAFocusedButtonReachTheDialog) {
  InProgram([&] {
    for (int key : {VK_RETURN, VK_ESCAPE}) {
      SCOPED_TRACE(key);
      SmartRef<PushButton> ok, cancel;
      SmartRef<Dialog> dialog = OpenLaidOut(&ok, &cancel);
      SetFocus(Native(~cancel));
      platform::InjectKey(key, true);
      platform::InjectKey(key, false);
      EXPECT_FALSE(PollAll(*dialog));
      EXPECT_EQ(dialog->WasCancelled(), key == VK_ESCAPE) << "Enter accepts even from the cancel button";
    }
  });
}

TEST_F(DialogFormatterTest, AnUnknownButtonKindIsReportedAndItsButtonDoesNothing) {
  InProgram([&] {
    SmartRef<Dialog> dialog(new Dialog(kFrameModal));
    SmartRef<DialogFormatter> formatter(new DialogFormatter(~dialog, 300, 0, 5, 5, 10, 10));
    String aide("Aide");
    SmartRef<PushButton> help = formatter->AddButton(2, 0.5, &aide);
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_THAT(alerts.Alerts()[0].text, testing::StartsWith("Not implemented."));
    alerts.Clear();
    EXPECT_EQ(TextOf(Native(~help)), "Aide");
    dialog->SetGlobalBounds(Rect(30, 30, 330, 130));
    dialog->Open(true);
    Click(Native(~help));
    EXPECT_TRUE(PollAll(*dialog));
    dialog->Cancel();
  });
}

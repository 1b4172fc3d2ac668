// Dialogs run as their creators run them, on the headless screen: opened, polled until they end, with
// keys and clicks injected as a user gives them.
#include <gtest/gtest.h>

#include "ui/DialogTestSupport.h"
#include "support/ui/ProgramFixture.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/Message.h"
#include "platform/user/Window.h"
#include "support/Raised.h"
#include "ui/dialogs/Dialog.h"
#include "ui/views/LFWDecorator.h"
#include "ui/dialogs/DialogSupport.h"

namespace {

class DialogTest : public ProgramFixture {
 protected:
  void InProgram(std::function<void()> body) {
    Run([&] {
      body();
      PostQuitMessage(0);
    });
  }
  // A dialog with one field, opened and made front as a creator does it.
  SmartRef<Dialog> OpenDialog(int kind = kFrameModal) {
    SmartRef<Dialog> dialog(new Dialog(kind));
    field = new KeyField(~dialog, Rect(10, 10, 110, 31));
    dialog->AddSubview(~field);
    dialog->SetGlobalBounds(Rect(50, 50, 250, 150));
    dialog->Open(true);
    return dialog;
  }
  // Polls as the creator's loop does, a bounded number of times; answers whether the dialog is still open.
  static bool PollAll(Dialog& dialog, int polls = 3) {
    bool open = true;
    for (int i = 0; i < polls && open; ++i) open = dialog.Poll();
    return open;
  }
  static void Type(int key, const char* text) {
    platform::InjectKey(key, true);
    platform::InjectText(text);
    platform::InjectKey(key, false);
  }
  static void PressWithControl(int key) {
    platform::InjectKey(VK_CONTROL, true);
    Press(key);
    platform::InjectKey(VK_CONTROL, false);
  }
  SmartRef<KeyField> field;
};

}  // namespace

TEST_F(DialogTest, EnterAcceptsUnlessTheFieldTakesItEscCancelsAndTabIsTheDialogs) {
  struct Case {
    const char* name;
    int key;
    const char* text;
    bool fieldTakesEnter;
    bool open, cancelled;
    std::vector<int> fieldKeys;
  } cases[] = {
      {"Esc", VK_ESCAPE, nullptr, false, false, true, {}},
      {"Enter left by the field", VK_RETURN, nullptr, false, false, false, {13}},
      {"Enter taken by the field", VK_RETURN, nullptr, true, true, false, {13}},
      {"a letter", 'A', "a", false, true, false, {'a'}},
      {"Tab without text fields", VK_TAB, nullptr, false, true, false, {}},
  };
  InProgram([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      SmartRef<Dialog> dialog = OpenDialog();
      field->takesEnter = c.fieldTakesEnter;
      EXPECT_EQ(GetFocus(), dialog->GetFrame()->GetHandle());
      EXPECT_TRUE(dialog->Poll());
      if (c.text) {
        Type(c.key, c.text);
      } else {
        Press(c.key);
      }
      EXPECT_EQ(PollAll(*dialog), c.open);
      EXPECT_EQ(dialog->WasCancelled(), c.cancelled);
      EXPECT_EQ(field->keys, c.fieldKeys);
      EXPECT_EQ(app->GetWindows().IndexOf(~dialog) != 0, c.open) << "a dialog that ends leaves the window list";
      if (c.open) dialog->Cancel();
    }
  });
}

TEST_F(DialogTest, ACancelledDialogRunsAgainAfterItsFlagsAreReset) {
  InProgram([&] {
    SmartRef<Dialog> dialog = OpenDialog();
    Press(VK_ESCAPE);
    EXPECT_FALSE(PollAll(*dialog));
    EXPECT_TRUE(dialog->WasCancelled());
    dialog->ResetFlags();
    EXPECT_FALSE(dialog->WasCancelled());
    dialog->Open(true);
    EXPECT_TRUE(dialog->Poll()) << "open again until it ends";
    Press(VK_RETURN);
    EXPECT_FALSE(PollAll(*dialog));
    EXPECT_FALSE(dialog->WasCancelled()) << "accepted this time";
  });
}

TEST_F(DialogTest, QuittingWhileADialogIsPolledEndsItAsCancelled) {
  InProgram([&] {
    SmartRef<Dialog> dialog = OpenDialog();
    EXPECT_TRUE(dialog->Poll());
    PostMessageA(gMainWindow, WM_CLOSE, 0, 0);
    EXPECT_FALSE(dialog->Poll());
    EXPECT_TRUE(dialog->WasCancelled());
    EXPECT_EQ(app->quitKinds, std::vector<int>{2});
  });
}

TEST_F(DialogTest, AQuitMessageReachingADialogsLoopEndsTheDialogAndThenTheProgram) {
  const int code = Run([&] {
    SmartRef<Dialog> dialog = OpenDialog();
    PostQuitMessage(3);
    EXPECT_FALSE(PollAll(*dialog));
    EXPECT_TRUE(dialog->WasCancelled());
  });
  EXPECT_EQ(code, 3) << "the program's own loop ended on the quit the dialog's loop met";
}

TEST_F(DialogTest, TheButtonSignalsWorkOnDialogsOnly) {
  InProgram([&] {
    SmartRef<Dialog> accepted = OpenDialog();
    SmartRef<Dialog> cancelled = OpenDialog();
    SmartRef<Window> plain(new Window(nullptr, kFrameNormal, false, false, 100, 100));
    SmartRef<GenericSignal> ok(new DialogOKSignal);
    SmartRef<GenericSignal> cancel(new DialogCancelSignal);
    for (GenericSignal* signal : {~ok, ~cancel}) {
      EXPECT_EQ(signal->GetSignalStatus(~accepted), kCommandEnabled);
      EXPECT_EQ(signal->GetSignalStatus(~plain), kCommandDisabled);
      EXPECT_EQ(signal->GetSignalStatus(nullptr), kCommandDisabled);
      EXPECT_EQ(RaisedText(Raised([&] { signal->Send(~plain); })), "GetSignalStatus(watcher) != disabled");
    }
    ok->Send(~accepted);
    cancel->Send(~cancelled);
    EXPECT_TRUE(accepted->IsClosed());
    EXPECT_FALSE(accepted->WasCancelled());
    EXPECT_TRUE(cancelled->IsClosed());
    EXPECT_TRUE(cancelled->WasCancelled());
  });
}

TEST_F(DialogTest, FittingToContentLeavesAMarginOfTenPixels) {
  InProgram([&] {
    SmartRef<Dialog> dialog(new Dialog(kFrameModalPlain));
    EXPECT_EQ(dialog->GetBounds(), Rect(0, 0, 250, 250)) << "the default size";
    SmartRef<View> label(new View(~dialog, Rect(10, 10, 310, 31), kAnchorTopLeft, false, true));
    SmartRef<View> field(new View(~dialog, Rect(10, 36, 200, 96), kAnchorTopLeft, true, true));
    dialog->AddSubview(~label);
    dialog->AddSubview(~field);
    dialog->FitToContent(true);
    EXPECT_EQ(dialog->GetBounds(), Rect(0, 0, 320, 106));
    EXPECT_EQ(dialog->GetFrame()->GetGlobalBounds().Size(), Point(320, 106)) << "the native window follows";
  });
}

TEST_F(DialogTest, RevealingAPartGrowsTheWindowAndHidingItRestoresTheSizeExactly) {
  InProgram([&] {
    SmartRef<RevealDialog> dialog(new RevealDialog(kFrameModal));
    dialog->SetSize(200, 100);
    SmartRef<View> part(new View(~dialog, Rect(10, 120, 300, 180), kAnchorTopLeft, false, true));
    dialog->AddSubview(~part);
    part->Show(false);
    dialog->Open(true);
    dialog->ToggleReveal(~part);
    EXPECT_FALSE(part->IsHidden());
    EXPECT_EQ(dialog->GetBounds(), Rect(0, 0, 300, 180));
    dialog->ToggleReveal(~part);
    EXPECT_TRUE(part->IsHidden());
    EXPECT_EQ(dialog->GetBounds(), Rect(0, 0, 200, 100));
    // A part inside the window shows without growing it.
    part->SetBounds(Rect(10, 10, 50, 50));
    dialog->ToggleReveal(~part);
    EXPECT_EQ(dialog->GetBounds(), Rect(0, 0, 200, 100));
    dialog->Cancel();
  });
}

// A dialog near the right edge of the screen area grows to the right: it moves back in, every part of
// it still within reach, and keeps that place when the part hides again.
TEST_F(DialogTest, ARevealedPartNeverTakesTheWindowPastTheScreenArea) {
  InProgram([&] {
    const auto outerFrame = [](Window& window) {
      RECT outer;
      GetWindowRect(window.GetFrame()->GetHandle(), &outer);
      POINT corners[2] = {{outer.left, outer.top}, {outer.right, outer.bottom}};
      for (POINT& corner : corners) ScreenToClient(gMainWindow, &corner);
      return Rect(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
    };
    const Rect area = LFWDecorator::Get().GetArea();
    SmartRef<RevealDialog> dialog(new RevealDialog(kFrameModal));
    dialog->SetSize(200, 100);
    SmartRef<View> part(new View(~dialog, Rect(200, 0, 400, 160), kAnchorTopLeft, false, true));
    dialog->AddSubview(~part);
    part->Show(false);
    dialog->Open(true);
    Rect placed = dialog->GetFrame()->GetGlobalBounds();
    placed.Offset(area.right - 20 - placed.right, area.bottom - 20 - placed.bottom);
    dialog->SetGlobalBounds(placed);
    dialog->ToggleReveal(~part);
    const Rect grown = outerFrame(*dialog);
    EXPECT_EQ(dialog->GetBounds(), Rect(0, 0, 400, 160));
    EXPECT_LE(grown.right, area.right);
    EXPECT_LE(grown.bottom, area.bottom);
    EXPECT_GE(grown.left, area.left);
    dialog->ToggleReveal(~part);
    EXPECT_EQ(dialog->GetBounds(), Rect(0, 0, 200, 100));
    EXPECT_EQ(outerFrame(*dialog).TopLeft(), grown.TopLeft());
    dialog->Cancel();
  });
}

TEST_F(DialogTest, PickerClassesAreRecordsNothingIsAKindOf) {
  EXPECT_STREQ(gPickerClassInfo.GetName(), "Picker");
  EXPECT_STREQ(gTypePickerClassInfo.GetName(), "TypePicker");
  EXPECT_TRUE(gTypePickerClassInfo.IsKindOf(&gPickerClassInfo));
  EXPECT_TRUE(gPickerClassInfo.IsKindOf(&Dialog::classInfo));
  EXPECT_TRUE(RevealDialog::classInfo.IsKindOf(&Dialog::classInfo));
  InProgram([&] {
    SmartRef<Dialog> dialog(new RevealDialog(kFrameModal));
    EXPECT_FALSE(dialog->IsKindOf(&gPickerClassInfo));
    EXPECT_FALSE(dialog->IsKindOf(&gTypePickerClassInfo));
    EXPECT_TRUE(dialog->IsKindOf(&Window::classInfo));
  });
}

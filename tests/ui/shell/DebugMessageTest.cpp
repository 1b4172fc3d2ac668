#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/ui/ProgramFixture.h"
#include "core/ListData.h"
#include "core/Text1252.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "platform/kernel/System.h"
#include "platform/user/Input.h"
#include "platform/user/Timer.h"
#include "platform/user/KeyState.h"
#include "platform/user/Window.h"
#include "support/Raised.h"
#include "ui/shell/DebugMessage.h"
#include "ui/dialogs/Dialog.h"
#include "ui/views/LFWDecorator.h"
#include "ui/text/TextView.h"
#include "ui/views/Window.h"

namespace {

class DebugMessageTest : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    gDebugLog = String("");
    gDebugDelay = 1;
  }
  void TearDown() override {
    gDebugDelay = 1500;
    gDebugMute = false;
    ProgramFixture::TearDown();
  }
  // Keys go down and up as the user presses them; the key state follows the messages handled.
  void Press(int key, bool down) {
    platform::InjectKey(key, down);
    Pump();
  }
  void HoldCtrlShift(bool down) {
    Press(VK_CONTROL, down);
    Press(VK_SHIFT, down);
  }
};

TEST_F(DebugMessageTest, OnlyCtrlAndShiftTogetherMakeAMessageThatLogs) {
  struct Case {
    bool ctrl, shift, logs;
  };
  const Case cases[] = {{false, false, false}, {true, false, false}, {false, true, false}, {true, true, true}};
  InProgram([&] {
    for (const Case& c : cases) {
      if (c.ctrl) Press(VK_CONTROL, true);
      if (c.shift) Press(VK_SHIFT, true);
      gDebugLog = String("avant");
      {
        SmartRef<DebugMessage> message = DebugMessage::Open();
        EXPECT_EQ(message->IsQuiet(), !c.logs) << c.ctrl << c.shift;
        EXPECT_EQ(gDebugWindow != nullptr, c.logs);
        EXPECT_EQ(gDebugCount, c.logs ? 1 : 0);
        message->Log(String("étape"_cp));
        EXPECT_EQ(TextOf(gDebugLog), c.logs ? "étape"_cp : "avant");
      }
      EXPECT_EQ(gDebugWindow, nullptr);
      EXPECT_EQ(gDebugCount, 0);
      if (c.ctrl) Press(VK_CONTROL, false);
      if (c.shift) Press(VK_SHIFT, false);
    }
  });
}

TEST_F(DebugMessageTest, OneLogWindowAtTheBottomRightClosedByTheLastMessage) {
  InProgram([&] {
    HoldCtrlShift(true);
    SmartRef<DebugMessage> first = DebugMessage::Open();
    ASSERT_NE(gDebugWindow, nullptr);
    Window* window = ~gDebugWindow;
    const HWND handle = window->GetFrame()->GetHandle();
    EXPECT_TRUE(window->GetFrame()->IsVisible());
    SmartRef<String> title(window->GetFrame()->GetTitle());
    EXPECT_EQ(TextOf(*title), "Fenêtre de message"_cp);
    const Rect bounds = window->GetFrame()->GetGlobalBounds();
    EXPECT_EQ(bounds.Width(), 500);
    EXPECT_EQ(bounds.Height(), 42);
    EXPECT_EQ(bounds.right, LFWDecorator::Get().GetArea().right);
    EXPECT_EQ(bounds.bottom, LFWDecorator::Get().GetArea().bottom);

    SmartRef<DebugMessage> second = DebugMessage::Open();
    HoldCtrlShift(false);
    EXPECT_EQ(~gDebugWindow, window) << "the second message shares the window";
    // A copy keeps the window open on its own.
    SmartRef<DebugMessage> copy(CastSmart<DebugMessage>(second->Clone()));
    EXPECT_EQ(gDebugCount, 3);
    first = nullptr;
    second = nullptr;
    EXPECT_EQ(~gDebugWindow, window);
    copy = nullptr;
    EXPECT_EQ(gDebugWindow, nullptr);
    EXPECT_EQ(gDebugCount, 0);
    EXPECT_FALSE(IsWindow(handle)) << "the log window is closed and released";
  });
}

// A message whose log window cannot be made raises and counts for nothing: the next message's window
// still closes when that message ends.
TEST_F(DebugMessageTest, AMessageWhoseLogWindowCannotBeMadeLeavesNoCountBehind) {
  InProgram([&] {
    const HWND main = gMainWindow;
    gMainWindow = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x7FFFFFF0));  // no such window
    SmartRef<Exception> raised = Raised([] { SmartRef<DebugMessage> message(new DebugMessage(false)); });
    gMainWindow = main;
    ASSERT_TRUE(raised);
    EXPECT_EQ(gDebugCount, 0);
    EXPECT_EQ(gDebugWindow, nullptr);
    {
      SmartRef<DebugMessage> message(new DebugMessage(false));
      EXPECT_NE(gDebugWindow, nullptr);
    }
    EXPECT_EQ(gDebugWindow, nullptr) << "the last living message closes its window";
    EXPECT_EQ(gDebugCount, 0);

    // A quiet message that fails to take a loud one's quietness stays quiet.
    SmartRef<DebugMessage> loud;
    {
      DebugMessageMute mute;
      loud = new DebugMessage(false);
    }
    SmartRef<DebugMessage> quiet(new DebugMessage(true));
    gMainWindow = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x7FFFFFF0));
    raised = Raised([&] { quiet->CopyFrom(~loud); });
    gMainWindow = main;
    ASSERT_TRUE(raised);
    EXPECT_TRUE(quiet->IsQuiet());
    EXPECT_EQ(gDebugCount, 1);
    quiet = nullptr;
    loud = nullptr;
    EXPECT_EQ(gDebugCount, 0);
  });
}

TEST_F(DebugMessageTest, CopyingQuietnessKeepsTheWindowCountRight) {
  InProgram([&] {
    SmartRef<DebugMessage> quiet(new DebugMessage(true));
    SmartRef<DebugMessage> loud(new DebugMessage(false));
    quiet->CopyFrom(~loud);
    EXPECT_FALSE(quiet->IsQuiet());
    EXPECT_EQ(gDebugCount, 2);
    loud = nullptr;
    EXPECT_NE(gDebugWindow, nullptr);
    SmartRef<DebugMessage> silent(new DebugMessage(true));
    quiet->CopyFrom(~silent);
    EXPECT_EQ(gDebugCount, 0);
    EXPECT_EQ(gDebugWindow, nullptr);
    SmartRef<Smart> other(LFWDecorator::Get().Clone());
    const SmartRef<Exception> raised = Raised([&] { quiet->CopyFrom(~other); });
    EXPECT_EQ(RaisedText(raised), "castPtr");
    EXPECT_EQ(RaisedPlace(raised), "DebugMessage:49");
    EXPECT_EQ(RaisedPlace(Raised([&] { other->CopyFrom(~silent); })), "LFWDecorator:56");
  });
}

TEST_F(DebugMessageTest, AMessageMadeWhileMutedOpensNoWindowAndOnlyStoresItsTexts) {
  InProgram([&] {
    SmartRef<DebugMessage> message;
    {
      DebugMessageMute mute;
      {
        DebugMessageMute inner;
        EXPECT_TRUE(gDebugMute);
      }
      EXPECT_TRUE(gDebugMute) << "the inner scope gives back the outer one's state";
      message = new DebugMessage(false);
      message->Log(String("muet"));
      EXPECT_EQ(TextOf(gDebugLog), "");
    }
    EXPECT_FALSE(gDebugMute);
    EXPECT_EQ(gDebugWindow, nullptr);
    message->Log(String("enregistré"_cp));
    EXPECT_EQ(TextOf(gDebugLog), "enregistré"_cp);
    EXPECT_EQ(gDebugWindow, nullptr);
  });
}

TEST_F(DebugMessageTest, TheLogWindowShowsEachTextForTheDelay) {
  InProgram([&] {
    gDebugLog = String("plus tôt"_cp);
    gDebugDelay = 30;
    SmartRef<DebugMessage> message(new DebugMessage(false));
    ASSERT_NE(gDebugTextView, nullptr);
    String shown;
    gDebugTextView->GetText(&shown);
    EXPECT_EQ(TextOf(shown), "plus tôt"_cp) << "the window opens on the last text logged";
    const DWORD before = GetTickCount();
    message->Log(String("lire"));
    EXPECT_GE(GetTickCount() - before, 30u);
    gDebugTextView->GetText(&shown);
    EXPECT_EQ(TextOf(shown), "lire");
    message = nullptr;
    EXPECT_EQ(gDebugTextView, nullptr);
  });
}

TEST_F(DebugMessageTest, AGradientFillWithCtrlAndShiftHeldLogsUntilItEnds) {
  InProgram([&] {
    SmartRef<OffScreen> surface(new OffScreen(6, 6, 8, Color(0), true));
    HoldCtrlShift(true);
    {
      DisplayPort port(~surface, {0, 0, 6, 6});
      port.GradientFill(Color(1), Color(7), 2, 2, 2);
    }
    HoldCtrlShift(false);
    EXPECT_EQ(TextOf(gDebugLog), "Gradient terminé"_cp);
    EXPECT_EQ(gDebugWindow, nullptr) << "the fill's message ended with it";
    EXPECT_EQ(gDebugCount, 0);
  });
}

// What the user does in the debug parameters dialog once it is up: the delay field's text, then Enter or Esc.
struct DelayEntry {
  const char* typed;
  int key;
  std::string shown;  // what the field held when the dialog opened
};
DelayEntry gEntry;

void AnswerDelayDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  auto* dialog = CastSmart<Dialog>(~gApplication->FrontWindow());
  if (!dialog) {
    ADD_FAILURE() << "no dialog in front";
    return;
  }
  List fields(&TextView::classInfo);
  dialog->CollectTextFields(&fields);
  if (fields.NumItems() != 1) {
    ADD_FAILURE() << fields.NumItems() << " fields";
    dialog->Cancel();
    return;
  }
  auto* field = CastSmart<TextView>(fields.At(1));
  String text;
  field->GetText(&text);
  gEntry.shown = TextOf(text);
  field->SetText(String(gEntry.typed));
  platform::InjectKey(gEntry.key, true);
  platform::InjectKey(gEntry.key, false);
}

TEST_F(DebugMessageTest, OnlyAPositiveNumberChangesTheDelay) {
  struct Case {
    const char* typed;
    int key;
    std::uint32_t delay;
  };
  const Case cases[] = {
      {"2500", VK_RETURN, 2500}, {"0", VK_RETURN, 1500},   {"-20", VK_RETURN, 1500},
      {"abc", VK_RETURN, 1500},  {"", VK_RETURN, 1500},    {"99999999999", VK_RETURN, 1500},
      {"700", VK_ESCAPE, 1500},  {" 42", VK_RETURN, 42},
  };
  InProgram([&] {
    for (const Case& c : cases) {
      gDebugDelay = 1500;
      gEntry = {c.typed, c.key, ""};
      SetTimer(nullptr, 0, 1, &AnswerDelayDialog);
      RunDebugParametersDialog();
      EXPECT_EQ(gEntry.shown, "1500");
      EXPECT_EQ(gDebugDelay, c.delay) << "typed \"" << c.typed << "\"";
    }
  });
}

}  // namespace

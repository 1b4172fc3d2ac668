// The text pane under a real X server: xdotool types "été" on the keyboard of the program's window, with
// the accented letters as the keysym a French keyboard sends, and the frame's text holds the
// Windows-1252 bytes of the word.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/String.h"
#include "editor/CDropperTool.h"
#include "editor/EditorTestSupport.h"
#include "editor/text/CTextView.h"
#include "engine/Seams.h"
#include "platform/user/Message.h"
#include "support/XvfbChild.h"
#include "ui/views/Window.h"

namespace editor_test {
namespace {

const char* const kTitle = "Quillory texte";
// Ticks of 100 ms the child waits for the typing before it gives up (the program's own watchdog stops
// it at 10 s).
constexpr int kPatience = 80;

struct Typing {
  SmartRef<StyledText> text;
  int step = 0;
  int ticks = 0;
};
Typing* gTyping = nullptr;

// Runs on the program's own loop, so that the keys are taken while xdotool sends them.
void Hand(HWND, UINT, UINT_PTR, DWORD) {
  Typing& t = *gTyping;
  ++t.ticks;
  if (t.step == 0 && t.ticks > 3) {
    const std::string command = std::string("(timeout 20 xdotool search --sync --name '^") + kTitle +
                                "$' windowfocus --sync %1 key --delay 150 eacute t eacute) >/dev/null 2>&1 &";
    EXPECT_EQ(std::system(command.c_str()), 0);
    t.step = 1;
  } else if (t.step == 1 && (t.text->Length() >= 3 || t.ticks > kPatience)) {
    t.step = 2;
    PostQuitMessage(0);
  }
}

struct UnderX : EditorProgramUnderX {
  void Play() {
    Typing typing;
    gTyping = &typing;
    std::string typed;
    PlayUnderX(
        kTitle,
        [&] {
          gPaintState = new CDropperTool;
          const String title("Page");
          SmartRef<Window> stage(new Window(&title, kFrameNormal, false, false, 400, 300));
          stage->SetGlobalBounds({50, 50, 450, 350});
          stage->Open(true);
          const SmartRef<Smart> style(
              new TextStyle(2, 24, kAlignLeft, standardColors[1], standardColors[kTransparentColor]));
          typing.text = new StyledText(String(""), style);
          SmartRef<View> pane = GetFrameEditHooks().makeTextPane(~stage, {20, 60, 300, 120}, ~typing.text);
          stage->SetTarget(~pane);
          LoopWithHand(&Hand);
          String current;
          dynamic_cast<CTextView&>(*pane).GetTextView()->GetText(&current);
          typed = TextOf(current);
          stage->RemoveSubview(~pane);
          pane = nullptr;
          stage->Close();
          gPaintState = nullptr;
        },
        [&] {
          EXPECT_EQ(typing.step, 2);
          EXPECT_EQ(typed, "\xE9t\xE9") << "the word in Windows-1252";
          EXPECT_EQ(TextOf(*typing.text), "\xE9t\xE9") << "in the frame's text itself";
          EXPECT_EQ(typing.text->GetStyle()->GetSize(), 24);
          EXPECT_TRUE(alerts.Alerts().empty());
        });
    typing.text = nullptr;
    gTyping = nullptr;
  }
};

void TypeUnderX() { UnderX().Play(); }

const bool gChildRegistered = RegisterXvfbChild("TextPaneUnderX", &TypeUnderX);

TEST(TextPaneUnderX, AccentedLettersTypedOnTheKeyboardReachTheTextInItsCodePage) {
  const int status = RunXvfbChild("TextPaneUnderX", "800x600x24", "xdotool");
  if (status == -1) GTEST_SKIP() << "xvfb-run or xdotool is missing (scripts/install-deps installs them)";
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace editor_test

// The recording dialog under a real X server with the disk audio driver: real clicks made with xdotool
// record a sound and keep it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/user/Screen.h"
#include "platform/backend/SdlBackend.h"
#include "platform/kernel/Files.h"
#include "platform/user/Activation.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"
#include "sound/Seams.h"
#include "sound/SoundDialog.h"
#include "sound/SoundRecorder.h"
#include "support/DiskAudio.h"
#include "support/XvfbChild.h"
#include "support/ui/ProgramFixture.h"
#include "ui/views/WindowFrame.h"

namespace {

const char* const kTitle = "Quillory son";

// A click at a point of the dialog, by xdotool in the background while the dialog's loop runs on.
void ClickInDialog(HWND dialog, int x, int y) {
  POINT p{x, y};
  ClientToScreen(dialog, &p);
  const std::string command = std::string("(timeout 20 xdotool search --sync --name '^") + kTitle +
                              "$' windowfocus --sync %1 mousemove --sync --window %1 " + std::to_string(p.x) + " " + std::to_string(p.y) +
                              " click 1) >/dev/null 2>&1 &";
  EXPECT_EQ(std::system(command.c_str()), 0);
}

// The hand: once the dialog is up it presses record, again while no press has taken (the first may come
// before the window is ready for it); once "Enregistrer" is enabled, that.
int gStep = 0;
int gTicksSinceClick = 0;
void Hand(HWND, UINT, UINT_PTR, DWORD) {
  SmartRef<Window> window = gApplication->FrontWindow();
  auto* dialog = static_cast<SoundDialog*>(CastSmart(~window, &SoundDialog::classInfo));
  if (dialog == nullptr) return;
  HWND frame = dialog->GetFrame()->GetHandle();
  ++gTicksSinceClick;
  if (gStep == 0 || (gStep == 1 && dialog->GetMode() == 0 && !dialog->IsAcceptEnabled() && gTicksSinceClick > 15)) {
    // Never the same point twice: xdotool waits for ever to move the pointer where it already is.
    static int presses = 0;
    ClickInDialog(frame, 18 + 3 * (presses++ % 5), 45);
    gStep = 1;
    gTicksSinceClick = 0;
  } else if (gStep == 1 && dialog->IsAcceptEnabled()) {
    ClickInDialog(frame, 140, 121);
    gStep = 2;
  }
}

struct UnderX : ProgramFixture {
  void TestBody() override {}
  void Play() {
    setenv("SDL_VIDEODRIVER", "x11", 1);
    SetUp();
    InstallSoundSeams();
    std::string error;
    auto sdl = platform::SdlBackend::Open(kTitle, &error);
    ASSERT_TRUE(sdl) << error;
    platform::SetBackend(std::move(sdl));
    TempFolder folder;
    // At a sound card's pace, so that the dialog sees the recording go on.
    DiskAudio audio(DiskAudio::Pace::realTime);
    const std::string capture = Ramp(70000);
    audio.SetCapture(capture);
    SmartRef<Sound> sound;
    InProgram([&] {
      ASSERT_TRUE(SetCurrentDirectoryA(folder.WinPath().c_str()));
      const UINT_PTR hand = SetTimer(nullptr, 0, 100, &Hand);
      sound = RecordSound();
      KillTimer(nullptr, hand);
    });
    ASSERT_TRUE(sound) << "the dialog was accepted";
    const Memory& data = sound->GetData();
    EXPECT_EQ(WaveSamples(std::string(reinterpret_cast<const char*>(data.GetData()), data.GetSize())),
              capture.substr(0, 66150));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "QLRec.wav"));
    EXPECT_TRUE(alerts.Alerts().empty());
    char text[256] = "";
    OrSoundProc(text, 1);
    TearDown();
    platform::SetBackend(nullptr);
  }
};

void DialogUnderX() { UnderX().Play(); }

const bool gChildRegistered = RegisterXvfbChild("SoundDialogUnderX", &DialogUnderX);

TEST(SoundDialogUnderX, RealClicksRecordASoundAndKeepIt) {
  const int status = RunXvfbChild("SoundDialogUnderX", "800x600x24", "xdotool");
  if (status == -1) GTEST_SKIP() << "xvfb-run or xdotool is missing (scripts/install-deps installs them)";
  EXPECT_EQ(status, 0);
}

}  // namespace

// The recording dialog inside the program's shell on the headless screen, over the disk audio driver.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/kernel/Files.h"
#include "platform/kernel/Modules.h"
#include "platform/kernel/System.h"
#include "platform/user/Activation.h"
#include "platform/user/KeyState.h"
#include "platform/user/Message.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"
#include "platform/media/Thunker.h"
#include "platform/user/MessageBox.h"
#include "sound/Seams.h"
#include "sound/SoundDialog.h"
#include "sound/SoundRecorder.h"
#include "support/DiskAudio.h"
#include "ui/DialogTestSupport.h"
#include "support/ui/ProgramFixture.h"
#include "ui/controls/Control.h"
#include "ui/controls/GraphicButton.h"
#include "ui/controls/ProgressBar.h"
#include "ui/views/WindowFrame.h"

namespace {

class SoundDialogTest : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    InstallSoundSeams();
  }
  void TearDown() override {
    char text[256] = "";
    OrSoundProc(text, 1);
    platform::SetThunkerFailureForTesting(platform::ThunkerFailure::none);
    ProgramFixture::TearDown();
  }
  // Runs the body in the program with the current folder (where the recording goes) a folder of its own.
  void InFolder(std::function<void()> body) {
    InProgram([&] {
      char saved[MAX_PATH];
      GetCurrentDirectoryA(MAX_PATH, saved);
      ASSERT_TRUE(SetCurrentDirectoryA(folder.WinPath().c_str()));
      body();
      SetCurrentDirectoryA(saved);
    });
  }
  static SmartRef<SoundDialog> OpenDialog() {
    SmartRef<SoundDialog> dialog = new SoundDialog(kFrameModalPlain);
    dialog->Open(true);
    return dialog;
  }
  // The dialog's idle steps, as its chore makes them, until the recorder is idle.
  static bool IdleUntilIdle(SoundDialog& dialog, int boundMs = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
    do {
      dialog.Idle();
      if (dialog.GetMode() == 0) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < end);
    return false;
  }
  bool RecordingFileExists() const { return std::filesystem::exists(folder.Path() / "QLRec.wav"); }

  TempFolder folder;
};

TEST_F(SoundDialogTest, ControlsFollowTheRecordersMode) {
  struct Case {
    const char* name;
    std::int32_t mode;
    bool recorded;
    std::int32_t record, play;
    bool accept;
  } cases[] = {
      {"idle, nothing recorded", 0, false, kToggleOff, kToggleUnavailable, false},
      {"idle after a recording", 0, true, kToggleOff, kToggleOff, true},
      {"playing", 1, true, kToggleUnavailable, kToggleOn, false},
      {"recording", 2, false, kToggleOn, kToggleUnavailable, false},
      {"stopping", 3, false, kToggleUnavailable, kToggleUnavailable, false},
  };
  InFolder([&] {
    DiskAudio audio;
    audio.SetCapture(Ramp(70000));
    SmartRef<SoundDialog> dialog = OpenDialog();
    EXPECT_EQ(dialog->GetPlayButton()->GetState(), kToggleUnavailable) << "before anything is recorded";
    EXPECT_FALSE(dialog->IsAcceptEnabled());
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      if (c.recorded && dialog->DoSound(6) == 0) {
        dialog->DoSound(3);
        ASSERT_TRUE(IdleUntilIdle(*dialog));
      }
      // From another mode, so that the controls are set anew.
      dialog->SetMode(c.mode == 3 ? 2 : 3);
      dialog->SetMode(c.mode);
      EXPECT_EQ(dialog->GetRecordButton()->GetState(), c.record);
      EXPECT_EQ(dialog->GetPlayButton()->GetState(), c.play);
      EXPECT_EQ(dialog->IsAcceptEnabled(), c.accept);
      EXPECT_EQ(IsWindowEnabled(dialog->GetAcceptButton()->GetOSControl()->window), c.accept);
    }
    // The stop button springs back after every command.
    dialog->GetStopButton()->SetState(kToggleOn);
    dialog->DoSound(6);
    EXPECT_EQ(dialog->GetStopButton()->GetState(), kToggleOff);
  });
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(SoundDialogTest, AcceptingKeepsTheRecordingAndDeletesItsFile) {
  InFolder([&] {
    DiskAudio audio;
    const std::string capture = Ramp(70000);
    audio.SetCapture(capture);
    SmartRef<SoundDialog> dialog = OpenDialog();
    dialog->DoSound(3);
    ASSERT_TRUE(IdleUntilIdle(*dialog));
    ASSERT_TRUE(dialog->IsAcceptEnabled());
    Press(VK_RETURN);
    EXPECT_FALSE(dialog->Poll()) << "Enter accepts";
    EXPECT_FALSE(dialog->WasCancelled());
    SmartRef<Sound> sound = dialog->GetRecordedSound();
    ASSERT_TRUE(sound);
    const Memory& data = sound->GetData();
    const std::string image(reinterpret_cast<const char*>(data.GetData()), data.GetSize());
    EXPECT_EQ(WaveSamples(image), capture.substr(0, 66150));
    EXPECT_FALSE(RecordingFileExists());
  });
}

TEST_F(SoundDialogTest, EnterBeforeARecordingLeavesAnOldFileAlone) {
  InFolder([&] {
    DiskAudio audio;
    const std::string old = SoxWave("-r 22050 -c 1 -b 8 -e unsigned-integer", "synth 0.2 sine 300");
    folder.Write("QLRec.wav", old);
    SmartRef<SoundDialog> dialog = OpenDialog();
    dialog->Idle();
    ASSERT_FALSE(dialog->IsAcceptEnabled());
    Press(VK_RETURN);
    EXPECT_TRUE(dialog->Poll()) << "still open";
    EXPECT_FALSE(dialog->GetRecordedSound());
    EXPECT_EQ(folder.Read("QLRec.wav"), old);
  });
}

TEST_F(SoundDialogTest, CancellingWhileRecordingStopsTheRecorderFirst) {
  InFolder([&] {
    DiskAudio audio(DiskAudio::Pace::realTime);
    audio.SetCapture(Ramp(70000));
    SmartRef<SoundDialog> dialog = OpenDialog();
    dialog->DoSound(3);
    dialog->Idle();
    ASSERT_EQ(dialog->GetMode(), 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Press(VK_ESCAPE);
    EXPECT_FALSE(dialog->Poll());
    EXPECT_TRUE(dialog->WasCancelled());
    char text[256] = "";
    EXPECT_EQ(OrSoundProc(text, 7), 0) << "stopped";
    EXPECT_GT(OrSoundProc(text, 6), 0);
    EXPECT_LT(OrSoundProc(text, 6), 66150) << "before the buffer was full";
  });
}

TEST_F(SoundDialogTest, PlaybackStopsOnceTheRecordedLengthHasBeenHeard) {
  InFolder([&] {
    DiskAudio audio(DiskAudio::Pace::realTime);
    audio.SetCapture(Ramp(70000));
    SmartRef<SoundDialog> dialog = OpenDialog();
    dialog->DoSound(3);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    dialog->DoSound(4);
    const std::int32_t recorded = dialog->DoSound(6);
    ASSERT_GT(recorded, 0);
    DWORD now = 5000000;
    platform::SetClockForTesting([&] { return now; });
    dialog->DoSound(2);
    dialog->Idle();
    EXPECT_EQ(dialog->GetMode(), 1);
    EXPECT_EQ(dialog->GetPlayButton()->GetState(), kToggleOn);
    char text[256] = "";
    // 22 bytes a millisecond: at recorded / 22 ms the recording has not all been heard yet.
    now += static_cast<DWORD>(recorded / 22);
    dialog->Idle();
    EXPECT_EQ(OrSoundProc(text, 7), 1);
    EXPECT_GT(dialog->GetLevelBar()->GetFilledWidth(), 0);
    now += 1;
    dialog->Idle();
    EXPECT_EQ(OrSoundProc(text, 7), 0) << "stopped";
    dialog->Idle();
    EXPECT_EQ(dialog->GetMode(), 0);
    EXPECT_EQ(dialog->GetPlayButton()->GetState(), kToggleOff);
    EXPECT_EQ(dialog->GetLevelBar()->GetFilledWidth(), 0);
    platform::SetClockForTesting(nullptr);
  });
}

TEST_F(SoundDialogTest, ALibraryThatCannotBeLoadedShowsItsTextAndNoDialog) {
  const struct {
    platform::ThunkerFailure failure;
    const char* text;
  } cases[] = {{platform::ThunkerFailure::notLoaded, "Cannot load Thunker.dll"},
               {platform::ThunkerFailure::noThunkInit, "ThunkInit introuvable"},
               {platform::ThunkerFailure::initFails, "Thunker DLL failed to initialize"}};
  InFolder([&] {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.text);
      platform::SetThunkerFailureForTesting(c.failure);
      alerts.Clear();
      HWND front = GetForegroundWindow();
      EXPECT_FALSE(RecordSound());
      ASSERT_EQ(alerts.Alerts().size(), 1u);
      EXPECT_EQ(alerts.Alerts()[0].text, c.text);
      EXPECT_EQ(alerts.Alerts()[0].type & MB_ICONMASK, MB_ICONHAND);
      EXPECT_EQ(GetForegroundWindow(), front);
      // The library is not left loaded.
      platform::SetThunkerFailureForTesting(platform::ThunkerFailure::none);
      HMODULE module = LoadLibraryA("Thunker.dll");
      EXPECT_TRUE(FreeLibrary(module));
      EXPECT_FALSE(FreeLibrary(module));
    }
  });
}

TEST_F(SoundDialogTest, ADeviceErrorComesUpOnceAndTheDialogStaysUsable) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  platform::CloseAudioDevices();
  InFolder([&] {
    SmartRef<SoundDialog> dialog = OpenDialog();
    for (int i = 0; i < 3; ++i) {
      try {
        dialog->Idle();
      } catch (Exception* exception) {
        exception->Report(kAlertExclamation);
      }
    }
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_EQ(alerts.Alerts()[0].text, "Error 6 in SoundRecorder Line 316");
    Press(VK_ESCAPE);
    EXPECT_FALSE(dialog->Poll());
  });
  unsetenv("SDL_AUDIODRIVER");
  platform::CloseAudioDevices();
}

}  // namespace

namespace {

void PressEscape(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  Press(VK_ESCAPE);
}

void PostQuit(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  PostQuitMessage(4);
}

TEST_F(SoundDialogTest, AQuitWhileTheDialogIsOpenEndsTheDialogAndTheProgram) {
  const int code = Run([&] {
    char saved[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.WinPath().c_str()));
    DiskAudio audio;
    SetTimer(nullptr, 0, 100, &PostQuit);
    // Should the quit be lost, Escape ends the dialog instead of the test hanging.
    const UINT_PTR fallback = SetTimer(nullptr, 0, 5000, &PressEscape);
    EXPECT_FALSE(RecordSound());
    KillTimer(nullptr, fallback);
    SetCurrentDirectoryA(saved);
  });
  EXPECT_EQ(code, 4);
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST_F(SoundDialogTest, RecordSoundAnswersNothingWhenTheChildCancels) {
  InFolder([&] {
    DiskAudio audio;
    SetTimer(nullptr, 0, 200, &PressEscape);
    EXPECT_FALSE(RecordSound());
  });
  EXPECT_TRUE(alerts.Alerts().empty());
}

}  // namespace

// The authoring application: its start and quit sounds, the one option window it shows at a time, its
// command statuses and the sound-recording tool.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Sound.h"
#include "editor/CDropperTool.h"
#include "editor/CTool.h"
#include "editor/FloatingWindow.h"
#include "editor/PaintToolsWindow.h"
#include "editor/app/AuthoringAppTestSupport.h"
#include "engine/EngineOptions.h"
#include "engine/player/CPanePlay.h"
#include "engine/player/CPlayer.h"
#include "core/Memory.h"
#include "platform/kernel/Files.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "platform/user/Message.h"
#include "platform/user/Timer.h"
#include "sound/SoundDialog.h"
#include "support/DiskAudio.h"
#include "ui/shell/Clipboard.h"
#include "ui/views/DocWindow.h"
#include "ui/views/WindowFrame.h"

namespace editor_test {
namespace {

const char* const kDeviceFormat = "-r 22050 -c 1 -b 8 -e unsigned-integer";

class RefusingWindow : public Window {
 public:
  RefusingWindow() : Window(nullptr, kFrameNormal, false, false, 100, 80) {}
  bool CanClose(int) override { return false; }
};

// How many times the window is in the application's list.
int Listed(const Window* window) {
  int count = 0;
  const List& windows = gApplication->GetWindows();
  for (std::int32_t i = 1; i <= windows.NumItems(); ++i)
    if (CastSmart<Window>(windows.At(i)) == window) ++count;
  return count;
}

CPanePlay* PlayPaneIn(View* view) {
  if (auto* pane = CastSmart<CPanePlay>(view)) return pane;
  for (std::int32_t i = 1; i <= view->GetSubviews().NumItems(); ++i)
    if (CPanePlay* pane = PlayPaneIn(CastSmart<View>(view->GetSubviews().At(i)))) return pane;
  return nullptr;
}

class CTumbletAppTest : public AuthoringAppTest {};

// A quit the windows refuse still plays the quit sound, waits for it a moment, and answers false; bit 3
// of the engine's options silences both the start and the quit sound.
class StartAndQuitSoundTest : public CTumbletAppTest {
 protected:
  void QuitWithARefusingWindow(std::uint32_t optionWord) {
    const std::string quitSound = SoxWave(kDeviceFormat, "synth 0.1 sine 440");
    ASSERT_FALSE(quitSound.empty()) << "sox";
    data->WriteFile(1061, "wav", quitSound);
    const bool sounds = (optionWord & kOptionNoStartAndQuitSounds) == 0;
    options = optionWord;
    PlayedSounds played;
    InAuthoringProgram([&](PaintToolsWindow&) {
      EXPECT_EQ(played.Numbers({60}), sounds ? std::vector<int>{60} : std::vector<int>{});
      DiskAudio audio;
      SmartRef<Window> refusing(new RefusingWindow);
      refusing->Open(true);
      const auto start = std::chrono::steady_clock::now();
      EXPECT_FALSE(authoring->Quit(kCloseAsking));
      const auto waited = std::chrono::steady_clock::now() - start;
      EXPECT_EQ(waited >= std::chrono::milliseconds(CTumbletApp::kQuitSoundWait), sounds);
      EXPECT_TRUE(DiskAudio::WaitUntilQuiet(3000));
      const std::string heard = audio.Played();
      EXPECT_EQ(heard.find(WaveSamples(quitSound)) != std::string::npos, sounds) << heard.size() << " bytes";
      EXPECT_TRUE(authoring->IsRunning());
      refusing->Window::Close();
    });
  }
};

TEST_F(StartAndQuitSoundTest, ARefusedQuitStillPlaysTheQuitSoundAndAnswersFalse) { QuitWithARefusingWindow(0x04); }

TEST_F(StartAndQuitSoundTest, Bit3OfTheOptionsSilencesTheStartAndQuitSounds) { QuitWithARefusingWindow(0x0C); }

// Without its start and quit sounds the program tells so, and still starts and quits.
TEST_F(StartAndQuitSoundTest, MissingSoundsAreReportedAndTheProgramStillStartsAndQuits) {
  std::filesystem::remove(data->folder.Path() / "Data" / "1060.wav");
  std::filesystem::remove(data->folder.Path() / "Data" / "1061.wav");
  InAuthoringProgram([&](PaintToolsWindow&) {
    ASSERT_EQ(alerts.Alerts().size(), 2u) << "the missing file and the program's own message";
    EXPECT_NE(alerts.Alerts()[0].text.find("ResID=1060"), std::string::npos);
    alerts.Clear();
    SmartRef<Window> refusing(new RefusingWindow);
    refusing->Open(true);
    EXPECT_FALSE(authoring->Quit(kCloseAsking));
    ASSERT_EQ(alerts.Alerts().size(), 2u);
    EXPECT_NE(alerts.Alerts()[0].text.find("ResID=1061"), std::string::npos);
    refusing->Window::Close();
    alerts.Clear();
    EXPECT_TRUE(authoring->Quit(kCloseAsking)) << "nothing refuses now";
  });
}

// One option window at a time: the one replaced is closed for good, not only hidden, so that they do
// not pile up in the application's list; the window already shown again changes nothing. A given window
// stops the active pane's playing.
TEST_F(CTumbletAppTest, OneOptionWindowAtATimeAndTheReplacedOneGoesForGood) {
  InAuthoringProgram([&](PaintToolsWindow& tools) {
    authoring->CHAApp::NewDocument();
    CPanePlay* pane = PlayPaneIn(~authoring->FrontWindow());
    ASSERT_NE(pane, nullptr);
    authoring->SetActivePane(pane);
    const auto option = [] {
      SmartRef<FloatingWindow> window(new FloatingWindow(kFrameFloating));
      window->SetGlobalBounds(Rect(10, 10, 60, 40));
      return window;
    };
    SmartRef<FloatingWindow> first = option();
    pane->GetPlayer()->Play(false);
    ASSERT_TRUE(pane->GetPlayer()->IsPlaying());
    authoring->UpdateWindows(~first);
    EXPECT_FALSE(pane->GetPlayer()->IsPlaying());
    EXPECT_EQ(authoring->GetCurrentWindow(), ~first);
    EXPECT_EQ(Listed(~first), 1);
    EXPECT_TRUE(first->IsVisible());
    const std::int32_t listed = gApplication->GetWindows().NumItems();

    pane->GetPlayer()->Play(false);
    ASSERT_TRUE(pane->GetPlayer()->IsPlaying());
    authoring->UpdateWindows(~first);
    EXPECT_FALSE(pane->GetPlayer()->IsPlaying()) << "stopped even for the window already shown";
    EXPECT_EQ(authoring->GetCurrentWindow(), ~first);
    EXPECT_EQ(gApplication->GetWindows().NumItems(), listed);
    EXPECT_TRUE(first->IsVisible());

    std::vector<SmartRef<FloatingWindow>> made;
    for (int i = 0; i < 10; ++i) {
      made.push_back(option());
      authoring->UpdateWindows(~made.back());
    }
    EXPECT_EQ(Listed(~first), 0);
    EXPECT_FALSE(first->IsVisible());
    for (int i = 0; i < 9; ++i) EXPECT_EQ(Listed(~made[static_cast<std::size_t>(i)]), 0) << i;
    EXPECT_EQ(Listed(~made.back()), 1);
    EXPECT_EQ(gApplication->GetWindows().NumItems(), listed);

    // None: the last one goes too, and the tools window stays.
    authoring->UpdateWindows(nullptr);
    EXPECT_EQ(authoring->GetCurrentWindow(), nullptr);
    EXPECT_EQ(Listed(~made.back()), 0);
    EXPECT_EQ(Listed(&tools), 1);
    authoring->ClearActivePane(pane);
  });
}

TEST_F(CTumbletAppTest, ItsOwnCommandStatusesAndTheRestAsTheEnginesApplication) {
  InAuthoringProgram([&](PaintToolsWindow&) {
    EXPECT_EQ(authoring->GetNumberCommandStatus(cmdFrameOverview), kCommandDisabled);
    EXPECT_TRUE(alerts.Alerts().empty());
    EXPECT_EQ(authoring->GetNumberCommandStatus(cmdEndInPlaceEditing), kCommandDisabled);
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_NE(alerts.Alerts()[0].text.find("Not implemented."), std::string::npos);
    EXPECT_EQ(authoring->GetNumberCommandStatus(cmdSoundOn), kCommandChecked);
    EXPECT_TRUE(authoring->CanOpen());
    EXPECT_TRUE(authoring->DocumentsFillMainArea());
    // The tools window is everyone's, and the paints are set.
    EXPECT_EQ(static_cast<Window*>(~gToolsDirectory), authoring->GetToolsWindow());
    EXPECT_TRUE(PaintColorsInitialised());
  });
}

// The recording tool: a recorded sound goes to the clipboard and the tool becomes the current one,
// picked; a cancelled dialog changes neither.
TEST_F(CTumbletAppTest, ARecordedSoundGoesToTheClipboardAndTheRecordingToolBecomesCurrent) {
  InAuthoringProgram([&](PaintToolsWindow& tools) {
    char saved[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryA(data->folder.WinPath().c_str()));
    // At the pace of a sound card, so that the dialog sees the recording under way.
    DiskAudio audio(DiskAudio::Pace::realTime);
    audio.SetCapture(Ramp(70000));
    SmartRef<CTool> recorder(new CTool(21, nullptr, false, nullptr));
    SmartRef<Smart> before(new Tool);
    authoring->GetClipboard()->SetScrap(~before);
    for (const bool accept : {false, true}) {
      SCOPED_TRACE(accept ? "accepted" : "cancelled");
      {
        RecordingDialogDriver driver(accept);
        authoring->SelectTool(~recorder);
        EXPECT_EQ(driver.Step(), accept ? 2 : 1);
      }
      Smart* scrap = authoring->GetClipboard()->GetScrap();
      auto* sound = dynamic_cast<Sound*>(scrap);
      EXPECT_EQ(sound != nullptr, accept);
      EXPECT_EQ(tools.GetCurrentTool() == recorder, accept);
      EXPECT_EQ(recorder->IsActive(), accept);
      if (sound != nullptr) {
        const Memory& image = sound->GetData();
        const std::string bytes(reinterpret_cast<const char*>(image.GetData()), image.GetSize());
        EXPECT_EQ(WaveSamples(bytes), Ramp(70000).substr(0, 66150)) << "three seconds of what was heard";
      } else {
        EXPECT_EQ(scrap, ~before);
      }
    }
    SetCurrentDirectoryA(saved);
  });
}

}  // namespace
}  // namespace editor_test

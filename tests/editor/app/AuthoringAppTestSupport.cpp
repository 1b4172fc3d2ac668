#include "editor/app/AuthoringAppTestSupport.h"

#include "core/String.h"
#include "editor/CBorderSize.h"
#include "editor/CDropperTool.h"
#include "editor/PaintToolsWindow.h"
#include "engine/EngineOptions.h"
#include "engine/EngineState.h"
#include "platform/kernel/System.h"
#include "platform/user/KeyState.h"
#include "platform/user/Message.h"
#include "platform/user/Timer.h"
#include "sound/SoundDialog.h"
#include "sound/SoundRecorder.h"
#include "ui/DialogTestSupport.h"
#include "sound/SoundChannel.h"
#include "ui/UiState.h"

namespace editor_test {

namespace {

void Watchdog(HWND, UINT, UINT_PTR, DWORD) {
  ADD_FAILURE() << "the program did not stop by itself";
  PostQuitMessage(-1);
}

const AppInfo& Info() {
  static const AppInfo info = [] {
    AppInfo made;
    made.name = "Essai";
    made.version = "1.0";
    return made;
  }();
  return info;
}

}  // namespace

RecordingDialogDriver* RecordingDialogDriver::current = nullptr;

RecordingDialogDriver::RecordingDialogDriver(bool accept) : accept(accept) {
  current = this;
  timer = SetTimer(nullptr, 0, 50, &Drive);
}

RecordingDialogDriver::~RecordingDialogDriver() {
  KillTimer(nullptr, timer);
  current = nullptr;
  // The recorder outlives the dialog with the devices it opened, which the test's disk audio closes:
  // the next test's recorder starts afresh.
  char text[256] = "";
  OrSoundProc(text, 1);
}

void RecordingDialogDriver::Drive(HWND, UINT, UINT_PTR, DWORD) {
  if (current == nullptr) return;
  RecordingDialogDriver& r = *current;
  ++r.ticks;
  auto* dialog = CastSmart<SoundDialog>(~gApplication->FrontWindow());
  if (dialog == nullptr || r.ticks > 300) return;
  if (!r.accept && r.step == 0) {
    Press(VK_ESCAPE);
    r.step = 1;
  } else if (r.accept && r.step == 0) {
    dialog->DoSound(3);
    r.step = 1;
  } else if (r.accept && r.step == 1 && dialog->GetMode() == 0 && dialog->IsAcceptEnabled()) {
    Press(VK_RETURN);
    r.step = 2;
  }
}

void AuthoringAppTest::SetUp() {
  EditorProgramTest::SetUp();
  ResetEngineState();
  platform::SetAvailableMemoryForTesting(100000000);
  // What the paint-tools window and its tools load: the window's and the option cells' sounds, the
  // control tools' sounds and hint, the paint tools' sounds, the start and quit sounds; the paint
  // buttons (three rows of two, up and pressed), the control button and the text palette's labels.
  for (int n : {1, 2, 14, 20, 22, 23, 31, 32, 33, 34, 35, 36, 40, 42, 60, 61}) data->WriteSound(n);
  data->WritePicture(30, 50, 75, [](int x, int y) {
    return (x / 25 + y / 25 * 2) * 0x203040 + ((x + y) % 7 == 0 ? 0x800000 : 0x000000);
  });
  data->WritePicture(31, 50, 75, [](int x, int y) { return (x / 25 + y / 25 * 2) * 0x102030 + 0x0000C0; });
  data->WritePicture(24, 230, 60, 0xC0C0C0);
  data->WritePicture(20, 210, 25, 0xE0E0E0);
  data->WritePicture(21, 210, 25, 0x404040);
  for (int n : {2020, 2021, 2022}) data->WritePicture(n, 20, 70, 0xF0E0C0);
}

void AuthoringAppTest::TearDown() {
  ForgetProgram();
  gEngineOptions = 4;
  EditorProgramTest::TearDown();
  platform::SetAvailableMemoryForTesting(std::nullopt);
  ResetEngineState();
}

void AuthoringAppTest::ForgetProgram() {
  authoring = nullptr;
  gTumbletApp = nullptr;
  gCHAApp = nullptr;
  gToolsDirectory = nullptr;
  gPaintPalette = nullptr;
  gBorderSizeTool = nullptr;
  gPaintState = nullptr;
  // The start sound's channel must not outlive the chores.
  gCurrentSoundChannel = nullptr;
  DestroyApplication();
  ResetUiState();
  ResetEngineState();
}

void AuthoringAppTest::InAuthoringProgram(const std::function<void(PaintToolsWindow&)>& body, bool withControls) {
  bool ran = false;
  makeApp = [this, &ran, body, withControls] {
    gEngineOptions = options;
    SmartRef<PaintToolsWindow> tools(new PaintToolsWindow(false, withControls, true));
    AppCreationRecord record{nullptr, nullptr, FileCreatorType("Essai", 0x45535341), nullptr, nullptr, nullptr};
    record.info = &Info();
    record.toolsWindow = tools;
    auto* made = new TestAuthoringApp(record);
    SmartRef<App> held(made);
    authoring = made;
    gTumbletApp = SmartRef<CTumbletApp>(made);
    gCHAApp = SmartRef<CHAApp>(made);
    made->onNewDocument = [this, &ran, body, tools] {
      ran = true;
      tools->Show(true);
      Pump();
      body(*tools);
      PostQuitMessage(0);
    };
    return held;
  };
  const UINT_PTR watchdog = SetTimer(nullptr, 0, 20000, &Watchdog);
  // The program's own module, which holds the brush cursors.
  FrameworkWinMain(reinterpret_cast<HINSTANCE>(0x400000), nullptr, nullptr, 0, &ProgramFixture::Factory);
  KillTimer(nullptr, watchdog);
  EXPECT_TRUE(ran) << "the program did not start";
}

}  // namespace editor_test

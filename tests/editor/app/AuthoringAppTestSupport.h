// The authoring application run for real: the shell's start-up with the paint-tools window as the tools
// window, as the application factory builds them, and the test's body in place of the first new page.
#pragma once

#include <cstdint>
#include <functional>

#include "editor/EditorTestSupport.h"
#include "editor/app/CTumbletApp.h"

class PaintToolsWindow;

namespace editor_test {

class TestAuthoringApp : public CTumbletApp {
 public:
  explicit TestAuthoringApp(const AppCreationRecord& record) : CTumbletApp(record) {}
  void NewDocument() override {
    if (onNewDocument) onNewDocument();
  }
  // The file dialogs answer what the test says when it says something.
  SmartRef<FileReference> ChooseFile(int mode) override {
    return onChooseFile ? onChooseFile(mode) : CTumbletApp::ChooseFile(mode);
  }
  std::function<void()> onNewDocument;
  std::function<SmartRef<FileReference>(int mode)> onChooseFile;
};

// The recording dialog, driven as the child would from the program's loop while this lives: Escape at
// once, or a recording started, waited for, and accepted with Enter.
class RecordingDialogDriver {
 public:
  explicit RecordingDialogDriver(bool accept);
  ~RecordingDialogDriver();
  RecordingDialogDriver(const RecordingDialogDriver&) = delete;
  RecordingDialogDriver& operator=(const RecordingDialogDriver&) = delete;

  // 1 once Escape was pressed or the recording started, 2 once Enter was pressed on a recording.
  int Step() const { return step; }

 private:
  static void Drive(HWND, UINT, UINT_PTR, DWORD);
  static RecordingDialogDriver* current;
  bool accept;
  int step = 0;
  int ticks = 0;
  UINT_PTR timer = 0;
};

class AuthoringAppTest : public EditorProgramTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The program runs with a shown paint-tools window (with the control button when asked) and a
  // TestAuthoringApp made with the engine options of `options`; it quits after the body. Once a test: the
  // program's module is registered for good.
  void InAuthoringProgram(const std::function<void(PaintToolsWindow&)>& body, bool withControls = false);

  // The application and the globals it set are let go.
  void ForgetProgram();

  TestAuthoringApp* authoring = nullptr;
  std::uint32_t options = 4;
};

}  // namespace editor_test

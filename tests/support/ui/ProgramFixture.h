// Runs the program's shell for real on the headless screen: FrameworkWinMain with a test application
// whose new document runs the test's body inside the message loop.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "support/AlertRecorder.h"
#include "support/graphics/GraphicsFixture.h"
#include "ui/UiState.h"
#include "ui/shell/App.h"
#include "ui/shell/WinMain.h"

// An application that records what reaches it.
class TestApp : public App {
 public:
  explicit TestApp(const AppInfo& info, SmartRef<TypeIndex> documentIndex = nullptr);

  void NewDocument() override;
  bool HandleKey(int key, std::uint32_t modifiers) override;
  bool Quit(int kind) override;
  void ShowAbout() override;

  std::function<void()> onNewDocument;
  std::vector<int> keys;
  std::vector<int> quitKinds;
  int aboutShown = 0;
  bool quitOnAbout = false;
  // '!' raises one of the program's errors, '?' throws something else.
  bool failingKeys = false;
};

class ProgramFixture : public GraphicsFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // FrameworkWinMain with the factory below; the body runs as the application's new document.
  int Run(std::function<void()> body, const char* commandLine = nullptr);
  // Runs the body inside the program, which then quits.
  void InProgram(std::function<void()> body);
  // Dispatches what is pending, as the loop would, without waiting.
  void Pump();

  // What the factory does: by default it makes a TestApp named "Essai" version "1.0".
  static std::function<SmartRef<App>()> makeApp;
  static SmartRef<App> Factory() { return makeApp(); }
  TestApp* app = nullptr;  // the application made by the default factory
  AlertRecorder alerts;
};

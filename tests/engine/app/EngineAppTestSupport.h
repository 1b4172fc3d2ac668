// What the engine application's suites share: an application of the engine's own class run for real (the
// shell's start-up, its windows and its idler), whose play panes make themselves the active pane when
// their window is activated, as the editor's stage pane does.
#pragma once

#include <functional>
#include <string>

#include "core/FileReference.h"
#include "engine/app/CHAApp.h"
#include "support/TempFolder.h"
#include "support/ui/ProgramFixture.h"

class CPanePlay;
class CShow;
class DocWindow;

namespace engine_test {

class TestEngineApp : public CHAApp {
 public:
  explicit TestEngineApp(const AppCreationRecord& record) : CHAApp(record) {}
  // Runs the test's body in place of the first new page.
  void NewDocument() override;
  bool DocumentsFillMainArea() override { return fillMainArea; }

  std::function<void()> onNewDocument;
  bool fillMainArea = false;
};

class EngineAppTest : public ProgramFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the program with a TestEngineApp made from the record, runs the body inside it, and quits.
  void InEngineProgram(std::function<void()> body);
  // The same without the check: whether the body ran at all.
  bool RunEngineProgram(std::function<void()> body);
  // A file of the program's folder with those bytes, or with the bytes of a checked-in fixture.
  SmartRef<FileReference> FileWith(const std::string& name, const std::string& bytes);
  SmartRef<FileReference> FixtureFile(const std::string& name, const std::string& fixture);
  // The front page window after opening the file as the menu does.
  DocWindow* OpenAsMenuDoes(FileReference& file);
  // A click at the point of the pane (its own coordinates) as mouse input to the window, handled; a first
  // click on an inactive window only activates it, so the window is clicked until it is active.
  void ClickPane(CPanePlay& pane, DocWindow& window, Point at);

  TempFolder folder;
  // Fills in the record once the program runs (windows need the main window), before the application.
  std::function<void(AppCreationRecord&)> prepareRecord;
  AppCreationRecord record{nullptr, nullptr, FileCreatorType("Essai", 0x45535341), nullptr, nullptr, nullptr};
  TestEngineApp* engineApp = nullptr;
  // The record's name and version.
  AppInfo info;
};

// The play pane in the window's views, or null.
CPanePlay* PlayPaneOf(DocWindow* window);
// The page written to an object file of the folder.
SmartRef<FileReference> SavePageFile(TempFolder& folder, CShow& page, const std::string& name);

// The bytes of a checked-in fixture under tests/fixtures.
std::string FixtureBytes(const std::string& relative);

}  // namespace engine_test

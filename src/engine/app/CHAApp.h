// The application of programs whose documents are pages: it reads the engine's file formats and turns
// whatever it opens into a page, places page windows, keeps the active pane and the current tool, opens
// the pages that a playing page links to (its idler picks up the players' requests), and answers the
// engine's numbered commands. The editor's application derives from it; it is never made by itself.
#pragma once

#include <cstdint>

#include "core/FileType.h"
#include "ui/shell/App.h"
#include "ui/shell/Chore.h"
#include "ui/shell/Signal.h"

class CShow;
class DocWindow;
class View;
class Window;

// What a derived application hands to CHAApp's constructor.
struct AppCreationRecord {
  SmartRef<MenuBar> menuBar;
  // Handed out by GetAuxObject (the colour dropper reads through it); may be null.
  SmartRef<Smart> auxObject;
  FileCreatorType creator;
  // The tools window, which holds the current tool; may be null (then the application keeps its tool).
  SmartRef<Window> toolsWindow;
  // A second floating window, shown at start; may be null.
  SmartRef<Window> secondWindow;
  // The name and version, handed to App as they are.
  const AppInfo* info = nullptr;
};

// The engine's numbered commands.
enum : std::int32_t {
  cmdOpen = 2,
  cmdOpenAgain = 3,
  cmdNothing = 256,
  cmdNothingToo = 2000,
  cmdSoundOn = 2041,
  cmdSecondWindow = 2060,
  cmdToolsWindow = 2061,
  cmdToolSounds = 3031,
};

class CHAApp : public App, public NumberCommandHandler, public ChoreClient {
  SMART_ABSTRACT(CHAApp)
 public:
  static constexpr std::uint32_t kIdlePeriod = 100;

  // Raises UserCancelException when the start-up memory check says to stop.
  explicit CHAApp(const AppCreationRecord& record);
  ~CHAApp() override;
  SMART_NOT_COPYABLE

  // ---- The application table ----
  SmartRef<Scribe> MakeScribe(FileReference& file, int mode) override;
  List GetFileTypes(int mode) override;
  // New copies of the types of the engine's readers (BMP, JPEG, GIF, WAVE, text), in that order.
  static List ReaderFileTypes();
  // A thumbnail of the file at that size (the picture as it is when either is not positive); null when
  // none can be made.
  SmartRef<Smart> MakePreview(FileReference& file, std::int32_t width, std::int32_t height);
  // The same, with the reader's failure raised: callers that must tell a damaged file from one that
  // could not be read just now look at it.
  SmartRef<Smart> BuildPreview(FileReference& file, std::int32_t width, std::int32_t height);
  void NewDocument() override;
  // The data made into a page, in a new page window; a page made around other data has no file yet.
  void OpenDocument(SmartRef<Smart>* window, SmartRef<Smart> data, SmartRef<Scribe> scribe) override;
  void SetTool(Tool* tool) override;
  SmartRef<Tool> GetTool() override;
  void DocumentOpened(Window* window, SmartRef<Smart> data) override;
  virtual SmartRef<String> GetDocumentFolderName() { return nullptr; }
  virtual void UpdateWindows(Smart*) {}
  // Whether page windows fill the main window's area (else they are cascaded).
  virtual bool DocumentsFillMainArea() { return false; }
  // The object itself when it is a page; otherwise a new page around the movie it converts to, or null.
  virtual SmartRef<CShow> MakeShow(SmartRef<Smart> object);
  virtual SmartRef<DocWindow> MakeDocWindow(CShow* show, Scribe* scribe);

  // ---- Numbered commands ----
  void HandleNumberCommand(std::int32_t number, void* argument) override;
  int GetNumberCommandStatus(std::int32_t number) override;

  // ---- Panes, tools and pages ----
  View* GetActivePane() const { return ~activePane; }
  void SetActivePane(View* pane);
  // Only when that pane is the active one.
  void ClearActivePane(View* pane);
  SmartRef<Smart> GetAuxObject() const { return auxObject; }
  Window* GetToolsWindow() const { return ~toolsWindow; }
  Window* GetSecondWindow() const { return ~secondWindow; }
  // The editor's import: without a stage pane active, an ordinary open.
  void ImportFile();
  // Puts the page read from the file in the front page window, in place of its page; a playing page's
  // playback goes on in the new one.
  void OpenFileInActivePane(FileReference* file);
  // Whether the front page window may be left (it asks about saving a modified page); with no page
  // window there is nothing to lose.
  bool ConfirmLeaveDocument();
  // Reports "Not implemented." and goes on.
  bool CheckNotImplemented();

  void ChoreFired(Chore* chore) override { IdlerFired(chore); }
  void IdlerFired(Chore* chore);
  PeriodicChore* GetIdler() const { return ~idler; }

 protected:
  // One request of the active pane's player, every tick.
  virtual void Idle();

 private:
  // Shows or hides a floating window as its toggle does; answers whether it is visible.
  static bool ToggleWindow(Window* window, bool flag);
  static int WindowStatus(Window* window);

  SmartRef<View> activePane;
  SmartRef<Window> secondWindow;
  SmartRef<Window> toolsWindow;
  SmartRef<Smart> auxObject;
  SmartRef<PeriodicChore> idler;
};

// The running engine application; null when none runs.
extern SmartRef<CHAApp> gCHAApp;

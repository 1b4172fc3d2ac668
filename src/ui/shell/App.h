// The application object: exactly one exists while the program runs (gApplication). It owns the open
// windows, the creator code and document format of the program and its name and version, and it routes
// commands. The message layer (ui/shell/WinMain.h) reaches it only through the entry points declared here.
#pragma once

#include <cstdint>

#include "core/FileReference.h"
#include "core/FileType.h"
#include "core/Format.h"
#include "core/ListData.h"
#include "core/ObjectFile.h"
#include "core/String.h"
#include "ui/shell/Clipboard.h"
#include "ui/menus/Menu.h"
#include "ui/shell/Signal.h"
#include "ui/shell/MessagePump.h"
#include "ui/shell/WinMain.h"
#include "ui/views/WindowNotifier.h"

class Tool;
class View;
class Window;

// The first four slots of the application, through which document windows choose and read files.
class FormatPicker : public virtual Smart {
  SMART_ABSTRACT(FormatPicker)
 public:
  SMART_NOT_COPYABLE

  virtual SmartRef<Scribe> MakeScribe(FileReference& file, int mode) = 0;
  virtual SmartRef<FileReference> ChooseFile(int mode) = 0;
  virtual List GetFileTypes(int mode) = 0;
  // Offers to convert opened data into a document; no format converts.
  virtual void ConvertForOpen(SmartRef<Smart>* out, Smart* data);

 protected:
  FormatPicker() = default;
};

// The application's name and version; the leading word is kept as given.
struct AppInfo {
  std::int32_t word = 0;
  String name;
  String version;
  // A new String: the name, one blank, the version.
  String* JoinNameVersion() const;
};

// What a concrete application hands to App's constructor; without a menu bar the application makes an
// empty one.
struct AppCreation {
  FileCreatorType creator;
  SmartRef<TypeIndex> documentIndex;
  const AppInfo* info;
  SmartRef<MenuBar> menuBar = nullptr;
};

class App : public SmartImplementation, public FormatPicker {
  SMART_ABSTRACT(App)
 public:
  // Flags.
  enum : std::uint8_t { kRunning = 1, kActive = 2, kFrontModal = 4 };

  explicit App(const AppCreation& creation);
  ~App() override;
  App(const App&) = delete;
  App& operator=(const App&) = delete;
  // The application is never copied.
  SMART_NOT_COPYABLE

  // Slots 0-3: the document format.
  SmartRef<Scribe> MakeScribe(FileReference& file, int mode) override;
  SmartRef<FileReference> ChooseFile(int mode) override;
  List GetFileTypes(int mode) override;
  // Slots 4-8: documents.
  virtual void NewDocument() = 0;
  virtual void OpenDocument(SmartRef<Smart>* window, SmartRef<Smart> data, SmartRef<Scribe> scribe);
  virtual void OpenFile(SmartRef<FileReference> file, bool replace, bool readOnly);
  virtual void DoOpen(int mode);
  virtual bool CanOpen() { return true; }
  // Slots 9-16: keys, clipboard commands and command routing.
  virtual bool HandleKey(int key, std::uint32_t modifiers);
  virtual void DoClipCommand(int operation);
  virtual bool CanDoClipCommand(int operation);
  virtual bool HasCommandHandler(GenericSignal* signal);
  virtual int GetCommandStatus(GenericSignal* signal);
  virtual void DoCommand(GenericSignal* signal);
  // Slots 15 and 16: the tool that receives every mouse event of every window.
  virtual void SetTool(Tool* tool);
  virtual SmartRef<Tool> GetTool();
  // Slots 17-21.
  virtual bool Quit(int kind);
  virtual void ShowAbout();
  virtual void InvalidateWindows();
  // A new document window, over its data, before it is added.
  virtual void DocumentOpened(Window* window, SmartRef<Smart> data);
  virtual SmartRef<Smart> FindCommandHandler(GenericSignal* signal);

  void DoCommandIfHandled(GenericSignal* signal);
  void SetActive(bool active);

  // The menu bar goes into the main window's frame, with every menu it holds.
  void InstallMenuBar();
  SmartRef<MenuBar> GetMenuBar() const { return menuBar; }
  SmartRef<MenuItem> FindMenuItem(std::int32_t command) const { return menuBar->FindItem(command); }
  // Every item's greyed and ticked state as the application sees its command now.
  void UpdateMenus();
  // Made on first use.
  SmartRef<Clipboard> GetClipboard();

  // What the windows' notifiers report to the application.
  AppCommandSink* GetSink() { return &sink; }
  void WindowClosed(Window* window);

  // The window list: the front window is the non-floating window activated last.
  void AddWindow(Window* window, bool activate);
  // Every window is detached and let go. Document windows hold the application as their format, so the
  // windows go before the application, or neither would ever be freed.
  void ReleaseWindows();
  // Answers false only when the window was active before and still is (the click that activated a
  // window is not passed on).
  bool ActivateWindow(Window* window);
  SmartRef<Window> FrontWindow() const;
  const List& GetWindows() const { return windows; }
  // The deepest view of the front window's target chain for which the signal is not disabled (the
  // deepest of the chain without a signal).
  SmartRef<View> FindTarget(GenericSignal* signal) const;
  // The window, or the front one for null, closes when it agrees to.
  void CloseWindow(Window* window, int kind);
  void NotifyWindows();

  const AppInfo& GetAppInfo() const { return info; }
  FileCreatorType GetCreator() const { return creator; }
  SmartRef<TypeIndex> GetTypeIndex() const { return documentIndex; }
  bool IsRunning() const { return flags & kRunning; }
  bool IsActive() const { return flags & kActive; }
  bool IsFrontModal() const { return flags & kFrontModal; }
  MainWindowRecord* GetOSApp() const { return osApp; }

  // The record the constructor takes, stored once by CreateApplication.
  static void SetModuleHandle(MainWindowRecord* record);

 private:
  MainWindowRecord* osApp;
  std::uint8_t flags = kRunning | kActive;
  FileCreatorType creator;
  SmartRef<TypeIndex> documentIndex;
  SmartRef<MenuBar> menuBar;
  SmartRef<Clipboard> clipboard;
  List windows;
  SmartRef<Tool> tool;
  AppInfo info;

  void SetFrontModal(bool modal);

  // A command from a window's views is done only when someone handles it; windows keep their own undo.
  class Sink : public AppCommandSink {
   public:
    explicit Sink(App& app) : app(app) {}
    void Changed(void*) override {}
    void AddUndoable(Task*) override {}
    void WindowOpened(Window* window) override { app.AddWindow(window, true); }
    void WindowClosed(Window* window) override { app.WindowClosed(window); }
    void DoCommand(GenericSignal* signal) override { app.DoCommandIfHandled(signal); }

   private:
    App& app;
  };
  Sink sink{*this};
};

// Makes the object (a tool) the application's current tool: the tool buttons of the editor send it.
class AppCommand : public GenericSignal {
 public:
  explicit AppCommand(Smart* object) : object(object) {}
  Smart* GetObject() const { return ~object; }
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;

 private:
  SmartRef<Smart> object;
};

// Clipboard operations.
enum : int { kClipCut = 0, kClipCopy = 1, kClipPaste = 2, kClipPasteReplace = 3, kClipClear = 4 };

// A clipboard command of the application: enabled when the application can do that operation.
class AppClipCommand : public GenericSignal {
 public:
  explicit AppClipCommand(int operation) : operation(operation) {}
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;

 protected:
  virtual int GetStatus(App& app);

 private:
  int operation;
};

// A menu command of the application: each one says when it is enabled and what it does.
class AppMenuCommand : public GenericSignal {
 public:
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;

 protected:
  virtual int GetStatus(App& app) = 0;
  virtual void Perform(App& app) = 0;
};

extern SmartRef<App> gApplication;
// Set when quitting starts and never cleared: objects destroyed during shut-down skip work that needs the
// application.
extern bool gAppQuitting;

// Entry points of the message layer. The first group does nothing (or answers false) without an
// application; the second requires one (the null-reference check raises otherwise).
SmartRef<App> CreateApplication(ApplicationFactory factory, MainWindowRecord* record);
void DestroyApplication();
void StartApplication(bool openDocument);
void OpenOrNewDocument(const char* path, bool replace);
void QuitApplication(int kind);
void ShowAboutEvent();
void AppActivatedEvent(WPARAM active);
bool WindowActivatedEvent(HWND window);
bool IsApplicationRunning();
void CloseWindowEvent(HWND window, int kind);
void PaintWindowEvent(HWND window);
void WindowResizedEvent(HWND window);
void KeyEvent(int key, std::uint32_t modifiers);
void MouseDownEvent(MouseEventRecord record);
void MouseEvent(MouseEventRecord record);
void MenuCommand(int command, void* argument);
void UpdateMenusEvent(void* argument);

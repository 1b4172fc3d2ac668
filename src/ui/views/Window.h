// A framework window: the root view of one native child window of the main window. It owns its frame
// (the native window) and the notifier its views share, opens and closes through the application (the
// window manager), and keeps a one-level undo of the last undoable task.
#pragma once

#include <cstdint>

#include "core/ListData.h"
#include "ui/shell/Signal.h"
#include "ui/views/View.h"
#include "ui/views/WindowFrame.h"

class App;
class Menu;
class String;

// Why a window closes, and why the program quits (each of its windows then closes for the same reason),
// which decides what becomes of an unsaved document: saved, dropped, or the child is asked.
enum : int { kCloseSaving = 0, kCloseDiscarding = 1, kCloseAsking = 2 };

class Window : public View {
  SMART_ABSTRACT(Window)
 public:
  static constexpr std::int32_t kDefaultWidth = 250;
  static constexpr std::int32_t kDefaultHeight = 250;

  // Makes the native window (hidden) and sizes the window; it is shown and listed by Open.
  Window(const String* title, int kind, bool systemErase, bool buffered, std::int32_t width, std::int32_t height);
  ~Window() override;

  void Show(bool show) override;
  // Only the size counts: the window stays where it is.
  void SetBounds(const Rect& rect) override;
  // The preferred size, or the current one kept within the size limits.
  void FitSize(bool usePreferred) override;
  bool MouseMoved(std::int32_t x, std::int32_t y, std::int32_t modifiers) override;
  void Activate(bool active) override;
  virtual bool CanClose(int kind);
  // Tells the window's owners that it closes; the application then hides, forgets and releases it.
  virtual void Close();

  // Through the window manager; nothing without one.
  void Open(bool activate);
  // Nothing unless both are positive; the top-left corner stays.
  void SetSize(std::int32_t width, std::int32_t height);
  // The rectangle is in main-window client coordinates.
  void SetGlobalBounds(const Rect& rect);
  Point GetPosition() const;
  // The window takes the native window's client size.
  void NativeResized();
  // Pending paints happen now.
  void Refresh();

  WindowFrame* GetFrame() const;
  int GetFrameKind() const { return GetFrame()->GetKind(); }
  void AddSink(AppCommandSink* sink);
  void RemoveSink(AppCommandSink* sink);
  void NotifyAppListeners(App* app);

  // One undoable action: the newest replaces the one kept.
  void AddUndoable(Task* task);
  // Undoes the kept action, or redoes it when it was just undone.
  void UndoRedo();
  void ClearUndo();
  bool CanUndo() const { return undoList.NumItems() > 0; }

  // Bit 0: the mouse cursor hides while the window is active and the mouse moves in it.
  void SetHideCursor(bool hide);

  // The Window linked to the native window redraws itself; nothing for other handles.
  static void PaintNative(HWND window);
  static SmartRef<Window> FromHandle(HWND window);
  // The front-most window other than the excluded one, floating ones skipped when asked.
  static SmartRef<Window> FrontWindow(Window* excluded, bool skipFloating);
  static void SetWindowManager(App* app);
  static App* GetWindowManager();
  // The menu whose 'Z' item undoes: it reads "Annuler" or "Refaire" as the next UndoRedo will do.
  static void SetUndoMenu(Menu* menu);

 private:
  enum : std::uint8_t { kHideCursor = 1 };

  // The frame is made, and held, before anything else: when making its native window fails, nothing else is
  // made yet, and a failure after it lets the frame go.
  Window(SmartRef<WindowFrame> frame, int kind, bool buffered, std::int32_t width, std::int32_t height);
  static SmartRef<WindowFrame> MakeFrame(const String* title, int kind, Window* window, bool systemErase);

  List undoList;
  std::uint8_t windowFlags = 0;
};

// Whether the next UndoRedo undoes (true) or redoes; shared by every window.
extern bool gUndoNext;
// True while an undo or a redo runs.
extern bool gUndoing;
extern SmartRef<Menu> gUndoMenu;

// Closes the window it is sent to.
class WindowCommand : public GenericSignal {
 public:
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;
};

// Undoes or redoes the window's last action; disabled when there is none.
class WindowUndoCommand : public GenericSignal {
 public:
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;
};

// Copies a buffered view's buffer to the screen for the area it holds.
class ViewCommand : public GenericSignal {
 public:
  explicit ViewCommand(Area* area) : area(area) {}
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;

 private:
  SmartRef<Area> area;
};

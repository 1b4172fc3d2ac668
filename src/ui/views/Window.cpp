#include "ui/views/Window.h"

#include "core/Exception.h"
#include "core/String.h"
#include "core/Text1252.h"
#include "ui/shell/App.h"
#include "ui/menus/Menu.h"
#include "ui/shell/Task.h"
#include "ui/views/WindowNotifier.h"

bool gUndoNext = true;
SmartRef<Menu> gUndoMenu;
bool gUndoing = false;

namespace {
constexpr SourceName kWindowHeader("Window");
constexpr SourceName kViewHeader("View");
}  // namespace

namespace {
SmartRef<App> gWindowManager;
}  // namespace

SMART_DEFINE_ABSTRACT(Window, "Window", View)

Window::Window(const String* title, int kind, bool systemErase, bool buffered, std::int32_t width,
               std::int32_t height)
    : Window(MakeFrame(title, kind, this, systemErase), kind, buffered, width, height) {}

// Made in a function of its own: made in the delegating initialiser itself, a frame whose native window
// failed was never given back when a plain Window (not a kind of it) was being made.
SmartRef<WindowFrame> Window::MakeFrame(const String* title, int kind, Window* window, bool systemErase) {
  return SmartRef<WindowFrame>(new WindowFrame(title, kind, window, systemErase));
}

Window::Window(SmartRef<WindowFrame> frame, int kind, bool buffered, std::int32_t width, std::int32_t height)
    : View(~frame, new WindowNotifier, IsNonFloatingKind(kind), false, buffered), undoList(&Task::classInfo) {
  GetFrame()->Link(this);
  SetSize(width, height);
}

Window::~Window() {
  WindowFrame* frame = GetFrame();
  // Unlinked first: a message the hiding sends must not find, and hold again, a window being destroyed.
  frame->Unlink();
  if (frame->IsVisible()) frame->Show(false);
}

WindowFrame* Window::GetFrame() const {
  auto* frame = CastSmart<WindowFrame>(GetWindowFrame());
  ASSERT(frame != nullptr);
  return frame;
}

void Window::Show(bool show) {
  if (show) GetFrame()->Show(true);
  View::Show(show);
  if (!IsVisible()) GetFrame()->Show(false);
}

void Window::SetBounds(const Rect& rect) { SetSize(rect.right - rect.left, rect.bottom - rect.top); }

void Window::FitSize(bool usePreferred) {
  Rect limits;
  GetSizeLimits(&limits);
  const Point size = GetBounds().Size();
  std::int32_t width = size.x;
  std::int32_t height = size.y;
  if (usePreferred) {
    if (limits.right != kUnboundedSize) width = limits.right;
    if (limits.bottom != kUnboundedSize) height = limits.bottom;
  } else {
    if (limits.right != kUnboundedSize && width > limits.right) width = limits.right;
    if (width < limits.left) width = limits.left;
    if (limits.bottom != kUnboundedSize && height > limits.bottom) height = limits.bottom;
    if (height < limits.top) height = limits.top;
  }
  SetSize(width, height);
}

bool Window::MouseMoved(std::int32_t x, std::int32_t y, std::int32_t modifiers) {
  if ((windowFlags & kHideCursor) && IsActive()) GetFrame()->ShowCursor(false);
  return View::MouseMoved(x, y, modifiers);
}

void Window::Activate(bool active) {
  if (!IsVisible()) return;
  GetFrame()->Activate(active);
  if (windowFlags & kHideCursor) GetFrame()->ShowCursor(!active);
}

bool Window::CanClose(int) { return true; }

void Window::Close() {
  SmartRef<Window> keep(this);
  GetNotifier()->WindowClosed(this);
}

void Window::Open(bool activate) {
  if (gWindowManager) gWindowManager->AddWindow(this, activate);
}

void Window::SetSize(std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0) return;
  const Point corner = GetPosition();
  SetGlobalBounds(Rect(corner.x, corner.y, corner.x + width, corner.y + height));
}

void Window::SetGlobalBounds(const Rect& rect) {
  View::SetBounds(Rect(0, 0, rect.right - rect.left, rect.bottom - rect.top));
  GetFrame()->MoveTo(rect);
}

Point Window::GetPosition() const { return GetFrame()->GetGlobalBounds().TopLeft(); }

void Window::NativeResized() {
  Rect client;
  GetFrame()->GetBounds(&client);
  const Point size = client.Size();
  // Only a real change: moving the native window to the size it has would report the same size again.
  if (size != GetBounds().Size()) SetSize(size.x, size.y);
}

void Window::Refresh() { GetFrame()->Update(); }

void Window::AddSink(AppCommandSink* sink) { GetNotifier()->AddSink(sink); }

void Window::RemoveSink(AppCommandSink* sink) { GetNotifier()->RemoveSink(sink); }

void Window::NotifyAppListeners(App* app) { GetNotifier()->NotifyAppListeners(app); }

void Window::AddUndoable(Task* task) {
  if (task == nullptr) return;
  gUndoNext = true;
  if (undoList.NumItems() == 1) {
    undoList.Put(task, 1);
  } else {
    undoList.Append(task);
  }
  if (gUndoMenu) gUndoMenu->SetItemText('Z', "Annuler"_cp);
}

void Window::UndoRedo() {
  if (undoList.NumItems() == 0) return;
  SmartRef<Smart> kept(undoList.At(1));
  Task* task = CastSmart<Task>(~kept);
  {
    struct Undoing {
      Undoing() { gUndoing = true; }
      ~Undoing() { gUndoing = false; }
    } undoing;
    if (gUndoNext) {
      task->Undo();
    } else {
      task->Redo();
    }
  }
  gUndoNext = !gUndoNext;
  if (gUndoMenu) gUndoMenu->SetItemText('Z', gUndoNext ? "Annuler"_cp : "Refaire"_cp);
}

void Window::ClearUndo() {
  gUndoNext = true;
  undoList->RemoveAll();
}

void Window::SetHideCursor(bool hide) {
  windowFlags = static_cast<std::uint8_t>(hide ? windowFlags | kHideCursor : windowFlags & ~kHideCursor);
}

void Window::PaintNative(HWND window) {
  SmartRef<Window> linked = FromHandle(window);
  if (linked) linked->Redraw(linked->GetFrame());
}

SmartRef<Window> Window::FromHandle(HWND window) { return WindowFromHandle(window); }

SmartRef<Window> Window::FrontWindow(Window* excluded, bool skipFloating) {
  return FromHandle(WindowFrame::FrontHandle(excluded ? excluded->GetFrame()->GetHandle() : nullptr, skipFloating));
}

void Window::SetWindowManager(App* app) { gWindowManager = app; }

void Window::SetUndoMenu(Menu* menu) { gUndoMenu = menu; }

App* Window::GetWindowManager() { return ~gWindowManager; }

int WindowCommand::GetSignalStatus(Smart* watcher) {
  return CastSmart<Window>(watcher) ? kCommandEnabled : kCommandDisabled;
}

void WindowCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kWindowHeader.Line(187));
  CastSmart<Window>(watcher)->Close();
}

int WindowUndoCommand::GetSignalStatus(Smart* watcher) {
  Window* window = CastSmart<Window>(watcher);
  return window && window->CanUndo() ? kCommandEnabled : kCommandDisabled;
}

void WindowUndoCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kWindowHeader.Line(195));
  CastSmart<Window>(watcher)->UndoRedo();
}

int ViewCommand::GetSignalStatus(Smart* watcher) {
  View* view = CastSmart<View>(watcher);
  return view && view->IsBuffered() ? kCommandEnabled : kCommandDisabled;
}

void ViewCommand::Send(Smart* watcher) {
  RequireEnabled(watcher, kViewHeader.Line(472));
  SmartRef<Area> held(area);
  CastSmart<View>(watcher)->RedrawFromBuffer(held ? *held : Area::emptyArea());
}

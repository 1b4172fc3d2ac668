// The display device of one framework window: a native child window of class "ChildWClass" inside the
// main window, linked to its Window through the window property "ClassInfo". It paints with the
// application palette, moves, shows, activates and orders the native window, and keeps floating windows
// (tool palettes) above every other framework window.
#pragma once

#include <cstdint>

#include "graphics/DisplayDevice.h"
#include "platform/kernel/WinTypes.h"

class String;
class Window;
struct MainWindowRecord;

// Frame kinds: 0 normal, 1 and 2 modal, 3 to 5 floating.
enum : int { kFrameNormal = 0, kFrameModal = 1, kFrameModalPlain = 2, kFrameFloating = 3, kFramePalette = 4,
             kFrameFloatingBorder = 5 };
bool IsModalKind(int kind);
bool IsFloatingKind(int kind);
bool IsNonFloatingKind(int kind);
DWORD FrameKindStyle(int kind);
DWORD FrameKindExStyle(int kind);
int FrameKindCaptionHeight(int kind);

class WindowFrame : public DisplayDevice {
  SMART_ABSTRACT(WindowFrame)
 public:
  // Makes the native window, hidden. The window is linked afterwards (Link).
  WindowFrame(const String* title, int kind, Window* window, bool systemErase);
  // The screen as a device, for drawing that has no window.
  struct Screen {};
  explicit WindowFrame(Screen);
  ~WindowFrame() override;
  WindowFrame(const WindowFrame&) = delete;
  WindowFrame& operator=(const WindowFrame&) = delete;

  void BeginDraw(int mode) override;
  void EndDraw() override;
  // The client rectangle.
  void GetBounds(Rect* bounds) const override;
  ColorTable* GetColorTable() const override;
  void InvalidateArea(const Area& area, const Area& second) override;
  bool NeedsUpdate() const override;
  HDC GetDC() const override;
  std::int16_t GetDepth() const override { return 8; }

  void Link(Window* window);
  void Unlink();
  HWND GetHandle() const { return hwnd; }
  int GetKind() const { return kind; }
  bool IsFloating() const { return frameFlags & kFloating; }
  bool IsVisible() const;
  void ShowCursor(bool show);
  // At most 255 characters; empty for null or an empty text.
  void SetTitle(const String* title);
  // A new String of the native window's text (empty when it has none).
  String* GetTitle() const;
  // SW_RESTORE or SW_HIDE; showing also brings the window to the front of its layer.
  void Show(bool show);
  // Floating windows go to the top; others right below the floating ones.
  void BringToFront();
  void Activate(bool active);
  // Moves the native window so that its client area is the rectangle (main-window client coordinates).
  void MoveTo(const Rect& rect);
  // The client rectangle in main-window client coordinates.
  Rect GetGlobalBounds() const;
  // A point in the client coordinates of the other frame, in this one's. Mouse events come in the client
  // coordinates of the window that had them, so a gesture that crosses windows needs this.
  Point MapPoint(const Point& point, WindowFrame* from) const;
  // Pending paints happen now.
  bool Update();

  // The front-most framework window other than the excluded one, floating ones skipped when asked; null
  // at the first native child of the main window that is no framework window.
  static HWND FrontHandle(HWND excluded, bool skipFloating);

 private:
  enum : std::uint8_t { kSystemErase = 1, kFloating = 4 };
  struct DrawState;
  // Selects the palette back and gives the context back to the window.
  void EndDrawing();

  HWND hwnd = nullptr;
  std::int32_t drawMode = 0;
  DrawState* drawState = nullptr;
  std::int32_t kind = 0;
  std::int32_t showState = 0;
  std::uint8_t frameFlags = 0;
};

// The Window linked to a native window, or null.
Window* WindowFromHandle(HWND window);
// A hidden native child of the main window for a frame of that kind; its identifier is the next of a
// counter that starts at 200. A title is cut to 31 characters.
HWND CreateFrameWindow(const String* title, int kind);
// The main window's client rectangle.
Rect GetMainClientRect();
void SetMainWindowInfo(MainWindowRecord* record);
// A device without window, made on first use.
WindowFrame* GetScreenDevice();

// Native children of the main window from the top of the z-order down.
class ChildWindowIterator {
 public:
  HWND First();
  HWND Next();

 private:
  HWND current = nullptr;
};

// When set, BringToFront puts any window at the very top, above the floating ones.
extern bool gForceTopmost;
// The native window that had the focus when a modal frame was activated; it gets the focus back.
extern HWND gFocusBeforeModal;
// A frame without native window, made at first use: the device for drawing that has no window.
extern SmartRef<WindowFrame> gScreenDevice;

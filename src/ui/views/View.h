// Views: rectangles of a window that draw themselves, hold an ordered list of subviews and pass mouse,
// key, idle and edit events down the tree. Every pane is a view, and a window is the root view of its
// native window. Frames are in the client coordinates of the window, not relative to the parent, and a
// point on any of a view's four edges is inside it.
#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "core/ListData.h"
#include "graphics/Image.h"
#include "ui/shell/Chore.h"
#include "ui/views/WindowNotifier.h"

class Clipboard;
class DisplayDevice;
class GenericSignal;
class OffScreen;
class Task;
class View;
class Window;

// The size-limit value that means no limit.
inline constexpr std::int32_t kUnboundedSize = 0x7FFFFFFF;

// The parent edges a view follows when its parent is resized.
enum : std::uint8_t {
  kAnchorTop = 1,
  kAnchorLeft = 2,
  kAnchorBottom = 4,
  kAnchorRight = 8,
  kAnchorTopLeft = kAnchorTop | kAnchorLeft,
  kAnchorAll = 15,
};

// Edit operations asked of CanEdit.
enum : int { kEditCut = 0, kEditCopy = 1, kEditPaste = 2, kEditClear = 4 };

// Calls a view's Idle every period: with mode 2 always, otherwise only while the view is active.
class ViewIdleChore : public Chore {
 public:
  ViewIdleChore(View* view, std::int32_t mode, std::uint32_t period);
  void Do() override;

 private:
  View* view;
  std::int32_t mode;
};

class View : public ImageChannelNode, public InvalidationSink, public SmartImplementation {
  SMART_ABSTRACT(View)
 public:
  // A subview of the parent, drawing on the parent's window frame when it shares it, else on the parent's
  // buffer or device. It is not in the tree until the caller adds it.
  View(View* parent, const Rect& frame, std::uint8_t anchoring, bool acceptsTarget, bool shareWindowFrame);
  ~View() override;
  View(const View&) = delete;
  View& operator=(const View&) = delete;
  SMART_NOT_COPYABLE

  // The image-channel part.
  void Draw(DisplayPort& port, const Area& area) override;
  void GetBounds(Rect* bounds) const override { *bounds = frame; }
  Rect GetBounds() const { return frame; }
  void SubtractOwnArea(Area& area) override;
  // Views draw nothing of their own.
  void DrawContent(DisplayPort& port, const Area& area) override;
  void GetChildren(List* children) const override { *children = subviews; }

  virtual void Show(bool show);
  virtual void GetContentBounds(Rect* bounds) const { GetBounds(bounds); }
  // Moves every edge to the rectangle's, through ResizeBy.
  virtual void SetBounds(const Rect& rect);
  void SetBounds(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    SetBounds(Rect(left, top, right, bottom));
  }
  // The preferred size (the limits' maxima) or the current size kept within the limits.
  virtual void FitSize(bool usePreferred);
  virtual void Invalidate(bool notify);
  // The window is the one whose native window had the event.
  virtual bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t modifiers, std::int32_t clicks, View* window);
  virtual bool KeyDown(std::int32_t key, std::int32_t modifiers);
  virtual bool MouseMoved(std::int32_t x, std::int32_t y, std::int32_t modifiers);
  virtual void Idle();
  virtual void Copy(Clipboard* clipboard);
  virtual void Paste(Clipboard* clipboard, std::int32_t first, std::int32_t second, std::int32_t third);
  virtual void Clear();
  virtual bool CanEdit(int operation);
  // Inverts a 2-pixel frame along the view; a second call takes it away.
  virtual void Highlight();
  virtual void ResizeBy(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom);
  virtual void RefreshTarget();
  // {minimum width, minimum height, maximum width, maximum height} of the view with its subviews.
  virtual void GetSizeLimits(Rect* limits);
  // Called when the view becomes active or inactive.
  virtual void Activate(bool active);
  virtual void ConstrainHeight(const Rect& parentFrame, std::int32_t& shrink, std::int32_t& grow);
  virtual void ConstrainWidth(const Rect& parentFrame, std::int32_t& shrink, std::int32_t& grow);
  // {minimum width, minimum height, maximum width, maximum height} of the view alone.
  virtual void GetSizeRange(Rect* range);

  void InvalidateArea(const Area& area, const Area& second) override;

  // The tree.
  void AddSubview(View* view);
  void RemoveSubview(View* view);
  void RemoveAllSubviews();
  const List& GetSubviews() const { return subviews; }
  // The front-most visible subview holding the point, made the target when asked and it accepts it.
  View* FindSubviewAt(std::int32_t x, std::int32_t y, bool makeTarget);
  bool Contains(std::int32_t x, std::int32_t y) const {
    return frame.left <= x && x <= frame.right && frame.top <= y && y <= frame.bottom;
  }

  // The target chain.
  void SetTarget(View* child);
  SmartRef<View> GetTarget() const;
  static std::int32_t IndexOfTarget(const List& views);
  static void SetTargetInList(const List& views, View* view);
  void SetAcceptsTarget(bool accepts);
  void SetTargetFlag(bool target);
  void SetParentActive(bool active);
  void SetParentVisible(bool visible);

  bool IsTarget() const { return flags & kTarget; }
  bool AcceptsTarget() const { return flags & kAcceptsTarget; }
  bool IsActive() const { return flags & kActive; }
  bool IsParentActive() const { return flags & kParentActive; }
  bool IsHidden() const { return flags & kHidden; }
  bool IsVisible() const { return flags & kVisible; }
  bool IsParentVisible() const { return flags & kParentVisible; }
  void MakeShown() { Show(true); }
  std::uint8_t GetAnchoring() const { return anchoring; }

  // Drawing through an off-screen buffer of the frame's size.
  void SetBuffered(bool buffered);
  bool IsBuffered() const { return buffer != nullptr; }
  SmartRef<DisplayDevice> GetBufferOrDevice() const;
  void RedrawFromBuffer(const Area& area);
  void CopyBufferToPort(DisplayPort& port, const Area& area);

  // Mode 0 stops idle calls; other modes call Idle every period (see ViewIdleChore).
  void SetIdleChore(std::int32_t mode, std::uint32_t period);

  // To the window's owners, through its notifier.
  void NotifyChanged();
  void PostUndoable(Task* task);
  void OpenWindow(Window* window);
  void SendCommand(GenericSignal* signal);
  SmartRef<WindowNotifier> GetNotifier() const { return notifier; }

  // The window's own device (the native window's frame). The check that the view draws somewhere comes
  // first.
  DisplayDevice* GetWindowFrame() const;
  DisplayDevice* GetWindowFrameOnly() const;
  // The point, given in the window of the other view, for this view's window: unchanged within one window,
  // else as the window frames map points.
  Point MapPointToWindow(View* other, const Point& point) const;

 protected:
  // The root view of a window, over the window's frame and notifier, covering the whole frame.
  View(DisplayDevice* windowFrame, WindowNotifier* notifier, bool acceptsTarget, bool shown, bool buffered);

 private:
  static constexpr std::uint8_t kTarget = 1;
  static constexpr std::uint8_t kAcceptsTarget = 2;
  static constexpr std::uint8_t kActive = 4;
  static constexpr std::uint8_t kParentActive = 8;
  static constexpr std::uint8_t kHidden = 16;
  static constexpr std::uint8_t kVisible = 32;
  static constexpr std::uint8_t kParentVisible = 64;

  void SetFlag(std::uint8_t flag, bool on) {
    flags = static_cast<std::uint8_t>(on ? flags | flag : flags & ~flag);
  }
  bool ShouldBeActive() const { return IsVisible() && IsParentActive() && (IsTarget() || !AcceptsTarget()); }
  void SetVisible(bool visible);
  void SetActive(bool active);
  void ApplyParentResize(std::int32_t dLeft, std::int32_t dTop, std::int32_t dRight, std::int32_t dBottom);
  View* SubviewAt(std::int32_t n) const;

  std::uint8_t flags;
  std::uint8_t anchoring;
  Rect frame;
  List subviews;
  SmartRef<WindowNotifier> notifier;
  SmartRef<ViewIdleChore> idleChore;
  SmartRef<DisplayDevice> windowFrame;
  SmartRef<OffScreen> buffer;
};

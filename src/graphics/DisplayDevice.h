// Surfaces that display ports draw on (a window's client area, an off-screen bitmap): how many ports are
// drawing now, what needs repainting, the background and whether invalid parts are erased with it. And
// PortState, the scope that narrows a port's clip or stacks a transform for one block.
#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "core/Smart.h"
#include "graphics/Area.h"
#include "graphics/Color.h"
#include "platform/kernel/WinTypes.h"

class ColorTable;
class DisplayPort;
class Transform;

class DisplayDevice : public SmartImplementation {
  SMART_ABSTRACT(DisplayDevice)
 public:
  DisplayDevice(const Color& background, bool erase);
  // Devices are not copied: each stands for one surface.
  SMART_NOT_COPYABLE

  // Subclasses take their device context first (mode 1 paints an update), then call this.
  virtual void BeginDraw(int mode);
  virtual void EndDraw();
  virtual bool IsDrawing() const { return drawingCount != 0; }
  virtual void GetBounds(Rect* bounds) const = 0;
  virtual ColorTable* GetColorTable() const = 0;
  // The second area is for devices that also invalidate a native window; it is not used here.
  virtual void InvalidateArea(const Area& area, const Area& second);
  void Validate() override;
  virtual bool NeedsUpdate() const { return flags & kUpdatePending; }
  virtual HDC GetDC() const = 0;
  virtual std::int16_t GetDepth() const = 0;

  bool ErasesBackground() const { return flags & kErase; }
  void GetInvalidArea(Area* area) const { area->Assign(invalidArea); }
  const Color& GetBackground() const { return background; }
  // The device context while a port draws, else null.
  HDC GetDrawingDC() const { return IsDrawing() ? GetDC() : nullptr; }
  std::int32_t GetDrawingCount() const { return drawingCount; }

 private:
  static constexpr std::uint8_t kErase = 1;
  static constexpr std::uint8_t kUpdatePending = 2;
  std::int32_t drawingCount = 0;
  Area invalidArea;
  std::uint8_t flags = 0;
  Color background;
};

// Saves a port's clip and transform, narrows the clip or stacks a transform, and restores both at the end
// of the scope. Scopes nest and end in reverse order.
class PortState {
 public:
  PortState(DisplayPort& port, const Area& clip);
  PortState(DisplayPort& port, const Rect& clip);
  PortState(DisplayPort& port, const Transform& transform);
  ~PortState();
  PortState(const PortState&) = delete;
  PortState& operator=(const PortState&) = delete;

 private:
  explicit PortState(DisplayPort& port);
  DisplayPort& port;
  SmartRef<Area> savedClip;
  SmartRef<Transform> savedTransform;
};

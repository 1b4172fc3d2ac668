// Drawable things: a Graphic draws itself into a port and reports its bounds; an Image is a persistent
// Graphic with a drawing mode, a covered area and a colour table; an ImageChannel is a node of a display
// device's tree (views, the player) that says what it covers and draws back to front.
#pragma once

#include <cstdint>

#include "core/Archive.h"
#include "core/Geometry.h"
#include "core/ListData.h"
#include "core/Smart.h"
#include "graphics/Area.h"

class ColorTable;
class DisplayDevice;
class DisplayPort;

class Graphic : public virtual Smart {
  SMART_ABSTRACT(Graphic)
 public:
  SMART_NOT_COPYABLE
  virtual void Draw(DisplayPort& port) = 0;
  virtual void GetBounds(Rect* bounds) const = 0;
  Rect GetBounds() const {
    Rect bounds;
    GetBounds(&bounds);
    return bounds;
  }
};

class GenericGraphic : public Graphic, public SmartImplementation {
  SMART_ABSTRACT(GenericGraphic)
 public:
  GenericGraphic(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
      : bounds(left, top, right, bottom) {}
  bool CanCopyFrom(Smart* source) override { return Graphic::CanCopyFrom(source); }
  void CopyFrom(Smart* source) override { Graphic::CopyFrom(source); }
  Smart* Clone() const override { return Graphic::Clone(); }
  using Graphic::GetBounds;
  void GetBounds(Rect* out) const override { *out = bounds; }

 private:
  Rect bounds;
};

// Drawing modes of images.
enum : int { kDrawTransparent = 0, kDrawOpaque = 1 };

class Image : public Persistent, public Graphic, public SmartImplementation {
  SMART_ABSTRACT(Image)
 public:
  static const PersistentType persistentType;
  bool CanCopyFrom(Smart* source) override { return CastSmart(source, &classInfo) != nullptr; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }

  // An image writes no fields of its own.
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }
  // Mode 1 draws opaque; any other mode lets the image honour its transparency.
  virtual void Draw(DisplayPort& port, int mode) = 0;
  // New areas, owned by the caller.
  virtual Area* GetArea() const;
  virtual Area* GetEmptyArea() const { return new Area(); }
  virtual ColorTable* GetColorTable() const = 0;
  // The Graphic draw: mode 0.
  void Draw(DisplayPort& port) override { Draw(port, kDrawTransparent); }
  using Graphic::GetBounds;
};

// Opens the object's block and closes it: the body of classes that store no fields.
void WriteEmptyBody(ArchiveBlock& block);

class ImageChannel : public virtual Smart {
  SMART_ABSTRACT(ImageChannel)
 public:
  explicit ImageChannel(DisplayDevice* device);
  ~ImageChannel() override;
  SMART_NOT_COPYABLE
  DisplayDevice* GetDevice() const;
  // Removes from the area what this channel paints opaquely on that device.
  virtual void SubtractCovered(DisplayDevice* device, Area& area) = 0;
  virtual void Draw(DisplayPort& port, const Area& area) = 0;
  virtual void GetBounds(Rect* bounds) const = 0;

 protected:
  // A view that stops drawing through its own buffer moves to another device.
  void SetDevice(DisplayDevice* newDevice);

 private:
  SmartRef<DisplayDevice> device;
};

// A channel with children: views and the player.
class ImageChannelNode : public ImageChannel {
 public:
  explicit ImageChannelNode(DisplayDevice* device);
  // On the device of another channel.
  explicit ImageChannelNode(const ImageChannel& channel);
  // Children first, from the front-most; then the node's own part when the device is its own.
  void SubtractCovered(DisplayDevice* device, Area& area) override;
  // The node's own content (on its own device), then the children from back to front, clipped to the
  // node's bounds.
  void Draw(DisplayPort& port, const Area& area) override;
  // Repaints what the device has marked invalid.
  virtual void Redraw(DisplayDevice* device);
  virtual void SubtractOwnArea(Area& area) = 0;
  virtual void DrawContent(DisplayPort& port, const Area& area) = 0;
  // The child channels, back to front.
  virtual void GetChildren(List* children) const = 0;
};

class InvalidationSink {
 public:
  InvalidationSink() = default;
  virtual ~InvalidationSink() = default;
  virtual void InvalidateArea(const Area& area, const Area& second) = 0;
};

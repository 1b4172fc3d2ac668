#include "graphics/Image.h"

#include "core/Exception.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"

SMART_DEFINE_ABSTRACT(Graphic, "Graphic", Smart)
SMART_DEFINE_ABSTRACT(GenericGraphic, "GenericGraphic", Graphic)
SMART_DEFINE_ABSTRACT(Image, "Image", Persistent, Graphic, SmartImplementation)
SMART_DEFINE_ABSTRACT(ImageChannel, "ImageChannel", Smart)

const PersistentType Image::persistentType(&Image::classInfo, MakeVersion(0, 0), MakeVersion(1, 0), nullptr);

void WriteEmptyBody(ArchiveBlock& block) { block.Close(); }

void Image::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  WriteEmptyBody(block);
}

Area* Image::GetArea() const { return new Area(GetBounds()); }

ImageChannel::ImageChannel(DisplayDevice* device) : device(device) {}

ImageChannel::~ImageChannel() = default;

DisplayDevice* ImageChannel::GetDevice() const { return CHECK_NOT_NULL(~device); }

void ImageChannel::SetDevice(DisplayDevice* newDevice) { device = newDevice; }

ImageChannelNode::ImageChannelNode(DisplayDevice* device) : ImageChannel(device) {}

ImageChannelNode::ImageChannelNode(const ImageChannel& channel) : ImageChannel(channel.GetDevice()) {}

void ImageChannelNode::SubtractCovered(DisplayDevice* device, Area& area) {
  List children(&ImageChannel::classInfo);
  GetChildren(&children);
  for (std::int32_t i = children.NumItems(); i >= 1; --i)
    static_cast<ImageChannel*>(CastSmart(children.At(i), &ImageChannel::classInfo))->SubtractCovered(device, area);
  if (device == GetDevice()) SubtractOwnArea(area);
}

void ImageChannelNode::Draw(DisplayPort& port, const Area& area) {
  Rect bounds;
  GetBounds(&bounds);
  PortState state(port, bounds);
  if (port.GetDevice() == GetDevice()) DrawContent(port, area);
  List children(&ImageChannel::classInfo);
  GetChildren(&children);
  for (std::int32_t i = 1; i <= children.NumItems(); ++i)
    static_cast<ImageChannel*>(CastSmart(children.At(i), &ImageChannel::classInfo))->Draw(port, area);
}

void ImageChannelNode::Redraw(DisplayDevice* device) {
  if (!device->NeedsUpdate()) return;
  Rect bounds;
  GetBounds(&bounds);
  Area visible(bounds);
  SubtractCovered(device, visible);
  DisplayPort port(device, bounds, kPortPaintsUpdate);
  Area update;
  port.BeginUpdate(visible, &update);
  // As a paint of a window is clipped to what needs it, so is a paint of any device: channels that draw
  // without background would otherwise draw over their own pixels outside the update.
  port.ClipTo(update);
  Draw(port, update);
}

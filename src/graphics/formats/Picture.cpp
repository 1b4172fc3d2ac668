#include "graphics/formats/Picture.h"

#include "core/Exception.h"
#include "core/FileType.h"
#include "core/Format.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/formats/PICTFile.h"
#include "graphics/DisplayDepth.h"

SMART_DEFINE(Picture, "Picture", &CreateDefault<Picture>, nullptr, Image, SystemScrap)

const PersistentType Picture::persistentType(&Picture::classInfo, MakeVersion(1, 0), MakeVersion(1, 0), &Picture::ReadNew);

namespace {

[[maybe_unused]] const bool gPictureRegistered = (RegisterGenericType(31, &Picture::persistentType), true);

}  // namespace

Picture::Picture(Stream& stream) : depth(GetDisplayBitDepth()) { frame = ReadPICTData(stream, data); }

Picture::Picture(const Picture& other)
    : Smart(), Image(other), SystemScrap(other), frame(other.frame), data(other.data),
      depth(other.depth) {}

Picture& Picture::operator=(const Picture& other) {
  frame = other.frame;
  data.Assign(other.data);
  depth = other.depth;
  return *this;
}

Persistent* Picture::ReadNew(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  NOT_IMPLEMENTED();
  // Closed before the object is made: closing a damaged block fails, and nothing may be left unowned.
  block.Close();
  return new Picture();
}

void Picture::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  NOT_IMPLEMENTED();
}

void Picture::Draw(DisplayPort& port, int) { port.DrawPicture(data.GetData()); }

// A picture never measured (one made empty) is shown at full colour.
ColorTable* Picture::GetColorTable() const { return ColorTable::GetStandard(depth > 0 ? depth : 24); }

SmartRef<GenericArray> Picture::GetScrapTypes() {
  SmartRef<GenericArray> types = new GenericArray(4, 0);
  const std::uint32_t pict = FourCharCode("PICT");
  types->Insert(&pict, 0, 1);
  return types;
}

#include "engine/media/CResource.h"

#include "core/Format.h"
#include "core/Stream.h"
#include "engine/media/CStamp.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/formats/Picture.h"

SMART_DEFINE(CResource, "CResource", nullptr, nullptr, MediaReference)

const PersistentType CResource::persistentType(&CResource::classInfo, MakeVersion(2), MakeVersion(2),
                                               &CResource::ReadNew);

namespace {

[[maybe_unused]] const bool gResourceRegistered = (RegisterGenericType(14, &CResource::persistentType), true);

}  // namespace

CResource::CResource(SmartRef<Smart> object) : object(std::move(object)), stamps(&CStamp::classInfo) {}

CResource::CResource(const CResource& other)
    : Smart(), MediaReference(other), object(other.object), bounds(other.bounds), stamps(other.stamps) {}

CResource& CResource::operator=(const CResource& other) {
  object = other.object;
  bounds = other.bounds;
  stamps = other.stamps;
  return *this;
}

CResource::CResource(ArchiveBlock& block) : stamps(&CStamp::classInfo) {
  object = block.GetArchive()->ReadObject();
  block.GetStream()->ReadRect(&bounds);
}

Persistent* CResource::ReadNew(Archive* archive) { return ReadFromBlock<CResource>(archive, &persistentType); }

void CResource::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  SmartRef<Smart> stored = object;
  if (IsMember<Picture>(~stored)) ConvertSmart(&stored, &BitMap::classInfo);
  block.GetArchive()->WriteObject(CastSmart<Persistent>(~stored));
  block.GetStream()->WriteRect(bounds);
}

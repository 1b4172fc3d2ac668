#include "graphics/formats/ImageResource.h"

#include "core/Exception.h"
#include "core/File.h"
#include "core/FileReference.h"
#include "graphics/formats/BMPFile.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/BitmapResource.h"

SMART_DEFINE_ABSTRACT(ImageResource, "ImageResource", SmartImplementation)

ImageResource::ImageResource(const Resources* set, int index) : set(set), index(static_cast<std::int16_t>(index)) {
  RegisterPurgeable(this);
}

ImageResource::~ImageResource() { UnregisterPurgeable(this); }

SmartRef<BitMap> ImageResource::Get() {
  if (!picture) picture = set->GetImageData(index);
  return picture;
}

Point ImageResource::GetSize() const { return set->GetImageSize(index); }

// A picture someone else still holds stays, so that their copy remains valid.
void ImageResource::Purge() {
  if (picture && !picture->IsShared()) picture = nullptr;
}

ImageResource* Resources::GetImageResource(int index) {
  CheckIndex(index);
  const auto slot = static_cast<std::size_t>(index);
  if (images.size() <= slot) images.resize(slot + 1);
  if (!images[slot]) images[slot] = new ImageResource(this, index);
  return CastSmart<ImageResource>(~images[slot]);
}

BitMap* Resources::LoadImage(int index) const {
  CheckIndex(index);
  const int id = first + index;
  SmartRef<FileReference> found(FindDataFile(id, *BMPFile::fileType));
  if (found) {
    SmartRef<File> file(new File(~found, kFileModeRead));
    return new BitMap(~file, false, 0);
  }
  HBITMAP handle = CHECK_NOT_NULL(LoadBitmapA(nullptr, MAKEINTRESOURCEA(id)));
  // The bitmap copies the pixels; the system bitmap goes whatever happens.
  struct Loaded {
    HBITMAP handle;
    ~Loaded() { DeleteObject(handle); }
  } loaded{handle};
  return new BitMap(loaded.handle, 0, false, 0);
}

BitMap* Resources::GetImageData(int index) const {
  CheckIndex(index);
  try {
    return LoadImage(index);
  } catch (Exception*) {
    ReportMissingResource("GetImageData failed!", first + index);
  }
}

Point Resources::GetImageSize(int index) const {
  CheckIndex(index);
  try {
    const SmartRef<BitMap> picture(CHECK_NOT_NULL(LoadImage(index)));
    Rect bounds;
    picture->GetBounds(&bounds);
    return bounds.Size();
  } catch (Exception*) {
    ReportMissingResource("GetSoundSize failed! in res.cpp", first + index);
  }
}

void Resources::GetPattern(Pattern* out, int index) const {
  const SmartRef<BitMap> picture(CHECK_NOT_NULL(GetImageData(index + 50)));
  *out = picture->GetPattern();
}

Pattern GetStockPattern(int n) {
  Pattern pattern;
  stockResources.GetPattern(&pattern, n);
  return pattern;
}

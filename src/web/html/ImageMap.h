// A published page's picture: the stage as one JPEG file, a client-side image map of one rectangle per
// link over it, and the same links again as a bar of text links under it.
#pragma once

#include "core/GenericArray.h"
#include "graphics/Image.h"
#include "web/html/htmlElement.h"

class LinkHREF;

class ImageMap : public htmlElement {
  SMART_CLASS(ImageMap)
 public:
  static const PersistentType persistentType;

  explicit ImageMap(SmartRef<Image> picture);
  // Shares the link list and copies the rectangles.
  ImageMap(const ImageMap& other) = default;
  ImageMap& operator=(const ImageMap& other) = default;
  explicit ImageMap(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  // The rectangle, in the picture's pixels, and the link it leads by.
  void AddLink(Rect rectangle, LinkHREF* link);
  void Emit(SmartRef<FileReference> folder, const String& baseName, List files, Stream& out) override;

  Image* GetPicture() const { return ~picture; }
  const GenericArray& GetRectangles() const { return rectangles; }
  const List& GetLinks() const { return links; }

 private:
  void WriteMap(SmartRef<FileReference> folder, const String& baseName, List files, Stream& out);

  SmartRef<Image> picture;
  GenericArray rectangles{sizeof(Rect), 0};
  List links;
};

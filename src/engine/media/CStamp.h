// The engine's still picture: a bitmap and the colour that counts as its background, drawn scaled into a
// rectangle, opaque or with the port's background colour left out. Pages and movies cache their rendered
// frames as stamps, and make turned, skewed or scaled copies of them for sprites.
#pragma once

#include "core/Geometry.h"
#include "core/Smart.h"
#include "graphics/Area.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/Color.h"
#include "graphics/Image.h"

class CResource;
class CXform;
class DisplayPort;
class OffScreen;

// DrawScaled's mode that leaves out the pixels of the port's background colour; every other mode draws
// opaque.
enum : int { kStampKeyed = 2 };

class CStamp : public Image {
  SMART_CLASS(CStamp)
 public:
  static const PersistentType persistentType;

  // Over the device's bitmap: what is drawn into the device later shows in the stamp.
  explicit CStamp(OffScreen* device);
  CStamp(SmartRef<BitMap> bitmap, const Color& background);
  // The same bitmap and background; no source, no cached area.
  CStamp(const CStamp& other);
  CStamp& operator=(const CStamp& other);
  // A stamp read back has white as its background.
  explicit CStamp(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);

  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }
  using Image::Draw;
  void Draw(DisplayPort& port, int mode) override { bitmap->Draw(port, mode); }
  ColorTable* GetColorTable() const override { return bitmap->GetColorTable(); }
  // Empty without a bitmap (a stamp trimmed to nothing).
  using Image::GetBounds;
  void GetBounds(Rect* bounds) const override;

  void DrawScaled(DisplayPort& port, const Rect& rect, int mode);
  // As DrawScaled, but an unscaled picture is drawn only where it lands within the second rectangle: a
  // page's background repainted behind one small sprite costs the sprite's place, not the page.
  void DrawScaledWithin(DisplayPort& port, const Rect& rect, int mode, const Rect& within);
  // A new opaque stamp of the picture under the transform, filling the rectangle the transform makes of
  // the given one (null when that is empty). Turns and skews go pixel by pixel about the centres; the
  // copy remembers a copy of the transform, or the transform itself when that is none or the hidden one.
  SmartRef<CStamp> DrawTransformed(const Rect& rect, CXform* transform);
  // The pixels of white, moved by the offset; the same cached area when it is empty or not moved.
  using Image::GetArea;
  SmartRef<Area> GetArea(const Point& offset);
  // Crops the bitmap to the pixels other than white and answers the crop's offset. A stamp that is all
  // white is left without a bitmap.
  Point Trim();

  // What the stamp was made from: a picture its maker gave, or the transform a copy was made under.
  const SmartRef<Smart>& GetPicture() const { return source; }
  void SetPicture(SmartRef<Smart> picture) { source = std::move(picture); }
  const SmartRef<BitMap>& GetBitMap() const { return bitmap; }
  const Color& GetBackground() const { return background; }

  SmartRef<CResource> MakeResource() const;
  // Null when the object does not convert to a bitmap.
  static SmartRef<CStamp> MakeStamp(SmartRef<Smart> object, const Color& background);
  static void NotImplemented(Smart* object);

 private:
  void DrawTurned(OffScreen& surface, const CXform& transform);

  SmartRef<BitMap> bitmap;
  Color background;
  SmartRef<Smart> source;
  SmartRef<Area> area;
};

// The resource movie whose frames are pictures: every painted or imported picture on a page.
#pragma once

#include "engine/kinds/CMovieRes.h"

class Image;

class CMoviePic : public CMovieRes {
  SMART_CLASS(CMoviePic)
 public:
  static const PersistentType persistentType;

  // One frame; the resource's bounds, or its picture's when it has none.
  explicit CMoviePic(CResource* resource);
  CMoviePic(const CMoviePic& other) : Smart(), CMovieRes(other) {}
  CMoviePic& operator=(const CMoviePic& other);
  CMoviePic(CMoviePic& source, std::int16_t start, std::int16_t count, bool cut)
      : Smart(), CMovieRes(source, start, count, cut) {}
  explicit CMoviePic(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  // A picture movie over the resource when it holds a picture, else null.
  static SmartRef<CMovie> FromPicture(CResource* resource);
  // The resource's bounds, else its picture's; empty without either.
  static Rect PictureBounds(const CResource* resource);

  bool DrawFrame(DisplayPort& port, CXform* xform, std::int16_t frame, const Color& background) override;
  // An enlarged picture is drawn straight from its image; a turned or skewed one never is.
  bool CanDrawDirect(CXform* xform) override;
  SmartRef<CStamp> MakeFrameStamp(DisplayPort& port, CXform* xform, std::int16_t frame, const Color& background,
                                  const Rect& target) override;
  // The depth of the frame's picture; 1 without one.
  int GetFrameDepth(std::int16_t frame) override;
  SmartRef<CMovie> ExtractFrames(std::int16_t start, std::int16_t count, bool cut) override;
  // A one-frame sprite of a one-frame picture movie replaces the frame at the sprite's start frame (the
  // last frame for a start past the end, frame 0 for one before it); other sprites are refused.
  std::int16_t MergeSprite(CSprite* sprite) override;
  void ApplyToFrame(Smart* object, std::int16_t frame, CSprite* sprite) override;
  SmartRef<View> EditFrame(CResource* resource, View* parent, DisplayDevice* device, const Rect& area,
                           const Rect& frameRect, std::int16_t frame, CXform* xform) override;

 private:
  Image* GetImage(std::int16_t frame) const;
};

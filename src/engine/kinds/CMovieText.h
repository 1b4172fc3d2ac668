// The resource movie whose frames are texts, usually styled: every text typed on the stage or made from a
// string. A text keeps its top-left corner in place when it changes, and its box follows its wrapped text.
#pragma once

#include "engine/kinds/CMovieRes.h"

class String;

class CMovieText : public CMovieRes {
  SMART_CLASS(CMovieText)
 public:
  static const PersistentType persistentType;

  CMovieText(CResource* resource, const Rect& rect) : Smart(), CMovieRes(resource, rect) {}
  CMovieText(const CMovieText& other) : Smart(), CMovieRes(other) {}
  CMovieText& operator=(const CMovieText& other);
  CMovieText(CMovieText& source, std::int16_t start, std::int16_t count, bool cut)
      : Smart(), CMovieRes(source, start, count, cut) {}
  // Frame 0's text box is measured again: the page may come from a machine whose fonts measure otherwise.
  explicit CMovieText(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  // The text on an erased background, in the frame's rectangle.
  bool DrawFrame(DisplayPort& port, CXform* xform, std::int16_t frame, const Color& background) override;
  SmartRef<CMovie> ExtractFrames(std::int16_t start, std::int16_t count, bool cut) override;
  SmartRef<View> EditFrame(CResource* resource, View* parent, DisplayDevice* device, const Rect& area,
                           const Rect& frameRect, std::int16_t frame, CXform* xform) override;
  // A text's top-left corner.
  Point GetAnchor(const Rect& rect) override;

  // A new box for the frame's text: the same width keeps the text's height, another width re-wraps it.
  void UpdateFrameBounds(Rect rect, std::int16_t frame);
  std::int16_t QueryFrameText(std::int16_t frame);

 private:
  String* GetText(std::int16_t frame) const;
};

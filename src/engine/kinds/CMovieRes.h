// The movie whose frames each show one media item (a picture or a text) placed at a point of its own. The
// resources and points change in step with the frames; frames that show one resource share its rendered
// images. It also runs the edit of one frame in place on the stage.
#pragma once

#include <cstdint>

#include "core/GenericArray.h"
#include "engine/movie/CMovie.h"

class CResource;
class DisplayDevice;
class View;

class CMovieRes : public CMovie {
  SMART_ABSTRACT(CMovieRes)
 public:
  static const PersistentType persistentType;

  ~CMovieRes() override;
  bool CanCopyFrom(Smart*) override { return false; }
  void CopyFrom(Smart*) override {}
  Smart* Clone() const override { return nullptr; }
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  void Changed(CMovie* source, const Rect& rect, std::int16_t frame) override;
  // The resource's bounds moved by the frame's point; the movie's bounds for a resource without bounds;
  // empty for a frame without a resource.
  void GetFrameBounds(Rect* out, std::int16_t frame) override;
  // The stamps of the frame's resource, shared by every frame showing it.
  SmartRef<ListData> GetFrameCache(std::int16_t frame) override;
  bool FramesDiffer(std::int16_t a, std::int16_t b) override;
  // Stores the resource (another object is wrapped in one) over the range; with keep-anchor, the content's
  // anchor stays where it was on the stage.
  std::int16_t SetFrames(std::int16_t start, std::int16_t count, Smart* object, bool keepAnchor,
                         std::int16_t limit) override;
  SmartRef<Smart> GetFrameObject(std::int16_t frame) override;
  // Whether the frames of the range all show one resource. It only asks: the movie does not grow.
  bool CanSetFrames(std::int16_t start, std::int16_t count, Smart* object) override;
  void PasteFrames(std::int16_t position, CMovie& other) override;
  // New frames show what their neighbour shows: the frame before them, or frame 0 at the front.
  bool InsertFrames(std::int16_t at, std::int16_t count, bool blank, bool keepLinks) override;
  bool DeleteFrames(std::int16_t at, std::int16_t count) override;
  // The kind's editing pane for the frame, or null.
  virtual SmartRef<View> EditFrame(CResource* resource, View* parent, DisplayDevice* device, const Rect& area,
                                   const Rect& frameRect, std::int16_t frame, CXform* xform);
  // The point of a content's rectangle that stays in place when the content is replaced: its centre.
  virtual Point GetAnchor(const Rect& rect);

  // Null for a frame outside the movie.
  CResource* GetResource(std::int16_t frame) const;
  Point GetFramePoint(std::int16_t frame) const;
  void SetFramePoint(std::int16_t frame, const Point& point);

  // Opens the kind's editor on one frame, whose result goes over [start, start + count) when the edit
  // ends; an edit in progress is ended first, without storing its result.
  void BeginEdit(std::int16_t frame, std::int16_t start, std::int16_t count, std::int16_t limit, View* host,
                 DisplayDevice* device, const Rect& placement, CXform* xform, bool useUnchanged, bool withBorder,
                 bool lock);
  // Ends the edit; true when the editor gave a result and it was stored. The out rectangle (may be null)
  // receives where the result lies relative to the movie's bounds.
  bool EndEdit(Rect* out, bool store);
  View* GetEditor() const { return ~editor; }

 protected:
  // One frame showing the resource at (0, 0).
  CMovieRes(CResource* resource, const Rect& rect);
  CMovieRes(const CMovieRes& other);
  // The frames [start, start + count) of the source, fitted to it; with the cut flag they leave it.
  CMovieRes(CMovieRes& source, std::int16_t start, std::int16_t count, bool cut);
  // The resource part of a kind's block, nested in it.
  explicit CMovieRes(ArchiveBlock& outer);
  void WriteResourcePart(ArchiveBlock& outer);
  // Takes all of the other movie's data (the kinds' CopyFrom).
  void TakeResourceData(const CMovieRes& other);

 private:
  void WriteFields(ArchiveBlock& block);
  void FitToFrames();
  void EmptyStamps(std::int16_t frame);
  // Takes the edit's views out of the host and lets them go.
  void DropEditViews();

  List resources;
  GenericArray points{8, 0};
  // The host view the edit host was made in: the edit takes it out again when it ends.
  SmartRef<View> editParent;
  SmartRef<View> editHost;
  SmartRef<View> editor;
  std::int16_t editLimit = 0;
  std::int16_t editStart = 0;
  std::int16_t editCount = 0;
  std::int16_t editFrame = 0;
  // Where the edited frame's image lies on the host, less where it lies in the movie: the shift from the
  // movie's coordinates to the host's (the editor may cover more than the frame, as a picture's does).
  Point editShift;
  bool editShifted = false;
};

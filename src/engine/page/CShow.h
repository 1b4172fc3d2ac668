// A page: the child's document. It holds the frame rate, the page colour and the group movie whose sprites
// make its frames, draws any frame into a port (whole, or by replaying the frame's change record), and
// keeps per frame a thumbnail and a change record, both dropped whenever the frame changes.
#pragma once

#include <cstdint>

#include "core/FileReference.h"
#include "core/ListData.h"
#include "core/ObjectReference.h"
#include "engine/movie/CMovie.h"
#include "engine/page/CDelta.h"
#include "graphics/Color.h"

class DisplayPort;

// Paints every pixel of the rectangle in the colour. A rectangle drawn without an outline leaves out its
// last column and row, which on a page would keep what an image left there.
void FillPageRect(DisplayPort& port, const Rect& rect, const Color& color);

class CShow : public Model, public MovieDependant, public SmartImplementation {
  SMART_CLASS(CShow)
 public:
  static const PersistentType persistentType;
  static constexpr std::int16_t kDefaultFrameRate = 15;
  static constexpr Point kDefaultAnchor{60, 60};

  // A page over the group, or over a new group showing a copy of the movie (the page's background when
  // the flag is set).
  CShow(CMovie* object, bool background);
  // Shares the movie, the thumbnails, the change records and the file.
  CShow(const CShow& other);
  CShow& operator=(const CShow& other);
  explicit CShow(ArchiveBlock& block);
  ~CShow() override;
  static Persistent* ReadNew(Archive* archive);

  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  // Every page has the one title "Page sans titre".
  String* GetTitle() override;
  // A player of the page on the container, and the stage pane over it as the container's subview;
  // answers the frame.
  void MakeEditor(Rect* bounds, View* container, const Rect& frame) override;

  std::int16_t GetFrameRate() const { return frameRate; }
  void SetFrameRate(std::int16_t rate) { frameRate = rate; }
  const Color& GetColour() const { return backgroundColor; }
  // A new page colour: every frame's thumbnail and change record was made with the old one.
  void SetColour(const Color& color);
  const Color& GetSecondColor() const { return secondColor; }
  const Pattern& GetPattern() const { return pattern; }
  const Rect& GetStageRect() const { return stageRect; }
  const Point& GetAnchor() const { return anchor; }
  CMovie* GetMovieGroup() const { return ~movie; }
  bool ToggleFlag8(bool flag) { return movie->ToggleFlag8(flag); }
  // The frame of the movie's i-th mark (1-based), or -1.
  std::int16_t GetMarkFrame(std::int32_t i) const;
  FileReference* GetFileReference() const { return ~fileReference; }

  void FrameChanged(CMovie* movie, const Rect& rect, std::int16_t frame) override;
  void BoundsChanged(CMovie*, const Rect&) override {}

  // ---- Drawing ----
  // The page colour over the rectangle, then the frame's sprites mapped onto it, under the memory level.
  // With a list, only the group's sprites not in it are drawn.
  void DrawSprites(DisplayPort& port, std::int16_t frame, const Rect& rect, std::int16_t level, const List* exclusion);
  // DrawSprites, then the dim rectangle shaded when it is not empty.
  void DrawFrame(DisplayPort& port, std::int16_t frame, const Rect& rect, std::int16_t level, const List* exclusion,
                 const Rect& dim);
  // Shows the frame on a player's port: the frame's record replayed when it can be, else the frame drawn
  // (and with the rebuild flag its record made again).
  void PlayFrame(DisplayPort& port, std::int16_t frame, const Rect& rect, bool rebuild);
  // The frame's thumbnail, an eighth of the page, made once; null outside the frames.
  SmartRef<CStamp> GetFrameStamp(DisplayPort& port, std::int16_t frame);

  // ---- Change records and caches ----
  SmartRef<CDelta> GetDelta(std::int16_t frame, bool build);
  bool MakeDelta(std::int16_t frame, const Rect& rect);
  bool PrepareDelta(DisplayPort& port, std::int16_t frame, const Rect& rect, std::int16_t level);
  bool PurgeFrameCaches(std::int16_t frame);
  // A negative frame forgets every frame.
  void ForgetFrame(std::int16_t frame);
  const List& GetStampCache() const { return stampCache; }
  const List& GetDeltas() const { return deltas; }

  // What the editor asks of a page that pages do not do yet; each reports it and goes on.
  void NotImplementedCommand();
  void NotImplementedDraw(SmartRef<Smart> object);

 private:
  void SetMovie(SmartRef<CMovie> newMovie);

  std::int16_t frameRate = kDefaultFrameRate;
  Color backgroundColor{0};
  Color secondColor{1};
  Pattern pattern{0};
  Rect stageRect;
  Point anchor = kDefaultAnchor;
  SmartRef<CMovie> movie;
  List stampCache{&CStamp::classInfo};
  List deltas{&CDelta::classInfo};
  SmartRef<FileReference> fileReference;
};

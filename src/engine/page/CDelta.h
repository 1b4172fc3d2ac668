// A page's change record for one frame: the images that change on the stage when the page steps to the
// frame from the one before it, and the stage area that changes. Played back, it repaints that area
// alone, with the pixels a full draw of the frame gives there.
#pragma once

#include <cstdint>

#include "core/Archive.h"
#include "core/ListData.h"
#include "engine/media/CStamp.h"
#include "engine/movie/FrameChange.h"
#include "graphics/Area.h"
#include "graphics/Color.h"

class CMovie;
class CShow;
class CXform;
class DisplayPort;

// One movie image that changes: where it lands, what it changes, and what it is an image of.
class Imprint : public Persistent, public SmartImplementation {
  SMART_CLASS(Imprint)
 public:
  static const PersistentType persistentType;

  enum : std::uint8_t { kKeyed = 1 << 0, kOpaque = 1 << 1, kKeyedAlt = 1 << 3 };

  Imprint() = default;
  Imprint(const Imprint& other) = default;
  Imprint& operator=(const Imprint& other) = default;
  // Imprints are never stored: reading reports it and gives an empty one.
  explicit Imprint(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  bool IsKeyed() const { return flags & (kKeyed | kKeyedAlt); }
  bool IsOpaqueImage() const { return (flags & (kKeyed | kOpaque | kKeyedAlt)) == 0; }

  SmartRef<CStamp> stamp;
  Rect rect;
  SmartRef<Area> changedArea;
  std::uint8_t flags = 0;
  SmartRef<CMovie> movie;
  std::int16_t frame = 0;
  SmartRef<CXform> transform;
  // The image is the one the frame before showed, in the same place: it is repainted only where something
  // else exposes it.
  bool still = false;
};

class CDelta : public Persistent, public SmartImplementation, public FrameChangeRecord {
  SMART_CLASS(CDelta)
 public:
  static const PersistentType persistentType;

  explicit CDelta(const CShow& page);
  // Shares the other's imprints.
  CDelta(const CDelta& other);
  CDelta& operator=(const CDelta& other);
  // Records are not stored: a record read back holds nothing.
  explicit CDelta(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  bool AddImprint(CMovie* movie, std::int16_t frame, CXform* xform, const Rect& rect, const Area& changed,
                  bool imageChanged) override;
  // Fills the record with the change from the frame before (the last one before frame 0) to the frame,
  // over the page drawn into the rectangle.
  void Build(CShow& page, std::int16_t frame, const Rect& rect);
  SmartRef<Area> GetChangedArea() const { return changedArea; }
  const List& GetImprints() const { return imprints; }
  const Color& GetBackground() const { return background; }
  // Whether every imprint that lands somewhere has a stamp that still fits; releases those that do not.
  bool CheckStamps(DisplayPort& port);
  // Makes the missing stamps; false (and the record purged) when one cannot be made.
  bool MakeStamps(DisplayPort& port, CShow& page);
  // Marks the stamps for release by the next check; true when there were any.
  bool Purge();
  // Repaints the changed area: the page colour, then the imprints bottom to top. False, drawing nothing,
  // when the record cannot stand for a full draw (call CheckStamps or MakeStamps first).
  bool Replay(DisplayPort& port);
  // After a full draw: the movies drawn straight from themselves are told the frame was shown.
  void Refresh();
  // Whether the movies accepted the change into this record (a refused record is never replayed).
  bool IsComplete() const { return complete; }

 private:
  enum : std::uint8_t { kStampsReleased = 1 };

  Imprint* ImprintAt(std::int32_t i) const { return CastSmart<Imprint>(imprints.At(i)); }
  bool MakeImprintStamp(DisplayPort& port, std::int32_t index);
  void RestrictStillImprints();
  void RunOverlapPass();

  SmartRef<Area> changedArea;
  Color background;
  std::uint8_t flags = 0;
  bool complete = true;
  List imprints{&Imprint::classInfo};
};

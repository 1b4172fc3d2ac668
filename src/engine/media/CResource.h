// The engine's handle on one media object a movie frame shows (a picture, a text or a sound): the object,
// the bounds of its content and the stamps rendered from it. Copies share all three, so every frame that
// shows one resource shares its stamp cache. In a document it is stored as a reference to the object,
// which the file stores once, and the bounds.
#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "core/ListData.h"
#include "core/ObjectReference.h"

class CResource : public MediaReference {
  SMART_CLASS(CResource)
 public:
  static const PersistentType persistentType;

  // Empty bounds and no stamps.
  explicit CResource(SmartRef<Smart> object);
  CResource(const CResource& other);
  CResource& operator=(const CResource& other);
  explicit CResource(ArchiveBlock& block);
  static Persistent* ReadNew(Archive* archive);

  // A picture is stored as the bitmap it converts to.
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

  // The object held (not counted), or null.
  Smart* GetObject() override { return ~object; }
  bool ObjectExists() override { return bool(object); }
  bool CanReplaceObject() override { return true; }
  // The resource keeps what it holds; the argument is only let go.
  void ReplaceObject(SmartRef<Smart>) override {}
  bool AcceptsObject(SmartRef<Smart>) override { return false; }
  // A resource has no file to load its object from again, so it never lets go of it.
  bool Purge() override { return false; }

  Rect GetBounds() const { return bounds; }
  void SetBounds(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    bounds = {left, top, right, bottom};
  }
  // A handle on the shared stamp list, not a copy of it.
  List GetStamps() const { return stamps; }

 private:
  SmartRef<Smart> object;
  Rect bounds;
  List stamps;
};

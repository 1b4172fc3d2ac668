// What document windows edit: references to objects (held directly or stored in files), editable objects
// and models (editable objects that are also persistent).
#pragma once

#include <utility>

#include "core/Archive.h"
#include "core/Geometry.h"
#include "core/Smart.h"

class String;
class View;

class ObjectReference : public SmartImplementation {
  SMART_ABSTRACT(ObjectReference)
 public:
  // The referenced object (not counted), or null.
  virtual Smart* GetObject() = 0;
  virtual bool ObjectExists() = 0;
  virtual bool CanReplaceObject() = 0;
  virtual void ReplaceObject(SmartRef<Smart> object) = 0;
  virtual bool AcceptsObject(SmartRef<Smart> object) = 0;

 protected:
  ObjectReference() = default;
  ObjectReference(const ObjectReference& other) : Smart(), SmartImplementation(other) {}
  ObjectReference& operator=(const ObjectReference&) { return *this; }
};

// Holds the object itself.
class SimpleReference : public ObjectReference {
  SMART_CLASS(SimpleReference)
 public:
  explicit SimpleReference(SmartRef<Smart> object) : object(std::move(object)) {}
  SimpleReference(const SimpleReference& other) : Smart(), ObjectReference(other), object(other.object) {}
  SimpleReference& operator=(const SimpleReference& other) {
    object = other.object;
    return *this;
  }

  Smart* GetObject() override { return ~object; }
  bool ObjectExists() override { return bool(object); }
  bool CanReplaceObject() override { return true; }
  // Takes the new object: a window that replaces what it edits expects to see the replacement.
  void ReplaceObject(SmartRef<Smart> replacement) override { object = std::move(replacement); }
  bool AcceptsObject(SmartRef<Smart>) override { return false; }

 private:
  SmartRef<Smart> object;
};

class DirectReference : public ObjectReference {
  SMART_ABSTRACT(DirectReference)
};

// A reference to an object stored in an archive; the media resources that derive from it hold and load
// the object.
class MediaReference : public ObjectReference, public Persistent {
  SMART_ABSTRACT(MediaReference)
 public:
  static const PersistentType persistentType;

  // Drops a loaded object that can be loaded again; answers whether it let go of anything. Called when
  // memory runs short, so it never raises.
  virtual bool Purge() = 0;
  // The reference's own block holds nothing; subclasses write theirs after it.
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

 protected:
  MediaReference() = default;
  MediaReference(const MediaReference& other) : Smart(), ObjectReference(other), Persistent(other) {}
};

// An object that can be shown in an editor window and give a title for it.
class Editable : public virtual Smart {
  SMART_ABSTRACT(Editable)
 public:
  virtual Point DefaultSize() { return Point{100, 100}; }
  // Builds the object's editing view inside the parent view over the frame, and answers the editor's
  // bounds. An object without an editor of its own builds nothing and answers empty bounds.
  virtual void MakeEditor(Rect* bounds, View* parent, const Rect& frame);
  // The title (not counted: the object itself may be its own title).
  virtual String* GetTitle() = 0;
  // The container's title, a blank and this object's title; only this object's title without a container.
  virtual void ComposeTitle(SmartRef<String>* out, Editable* container);
  virtual void GetFullTitle(SmartRef<String>* out) { ComposeTitle(out, nullptr); }

 protected:
  Editable() = default;
  Editable(const Editable&) = default;
  Editable& operator=(const Editable&) = default;
};

// An editable object that is also persistent. Every model writes its own block; the model part stores
// nothing.
class Model : public Editable, public Persistent {
  SMART_ABSTRACT(Model)
 public:
  static const PersistentType persistentType;
  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }

 protected:
  Model() = default;
  Model(const Model& other) : Smart(), Editable(other), Persistent(other) {}
  Model& operator=(const Model&) { return *this; }
};

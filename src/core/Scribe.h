// The interface of every file format: one handler over an open stream that reads and writes objects.
#pragma once

#include "core/Geometry.h"
#include "core/Smart.h"

class Scribe : public virtual Smart {
  SMART_ABSTRACT(Scribe)
 public:
  virtual void Write(SmartRef<Smart> object) = 0;
  virtual void Read(SmartRef<Smart>* object) = 0;
  virtual bool IsWritable() = 0;
  virtual bool ReadsKindOf(const ClassInfo* info) = 0;
  // A small picture of the content; none by default.
  virtual void ReadPreview(SmartRef<Smart>* picture, Point size, int depth);

 protected:
  Scribe() = default;
};

// A native mouse cursor. The handle is borrowed: loaded cursors belong to the system for the whole run, so
// any number of Cursor objects may share one and none of them destroys it.
#pragma once

#include "core/Geometry.h"
#include "core/Smart.h"
#include "platform/kernel/WinTypes.h"

class BitMap;

class Cursor : public SmartImplementation {
  SMART_CLASS(Cursor)
 public:
  explicit Cursor(HCURSOR handle = nullptr) : handle(handle) {}
  Cursor(const Cursor& other) : Smart(), SmartImplementation(other), handle(other.handle) {}
  Cursor& operator=(const Cursor& other) {
    handle = other.handle;
    return *this;
  }

  HCURSOR GetHandle() const { return handle; }
  // Makes this the cursor the mouse shows.
  void Set() const;
  // The cursor's shape as a one-bit picture (its AND mask: black where the cursor paints, white where the
  // screen shows through), and its hot spot. A cursor the system cannot describe raises the call-failed check.
  void MakeImage(SmartRef<BitMap>* image, Point* hotSpot) const;

 private:
  HCURSOR handle;
};

// What follows the paint state: told whenever a colour or the pattern changed.
#pragma once

class PaintStateListener {
 public:
  virtual void PaintStateChanged() = 0;

 protected:
  ~PaintStateListener() = default;
};

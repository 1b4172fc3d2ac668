// Watchers of strings and lists: they hear of every change after it is made.
#pragma once

#include <cstdint>

// What changed: from a 1-based position, how many old items were replaced or removed there, and how the
// length changed (negative when items were removed).
struct StringChange {
  std::int32_t position;
  std::int32_t replaced;
  std::int32_t delta;
  friend bool operator==(const StringChange&, const StringChange&) = default;
};
using ListChange = StringChange;

class ModelObserver {
 public:
  virtual ~ModelObserver() = default;
  virtual void Changed(const StringChange* change) = 0;
};

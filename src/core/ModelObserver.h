// Watchers of strings and lists: they hear of every change after it is made.
#pragma once

#include <cstdint>

#include "core/GenericArray.h"

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

// The watchers of one string or list, in order of registration; not counted, not copied, not stored.
class ObserverList {
 public:
  // Registers the observer, or removes it when it is already registered.
  void Toggle(ModelObserver* observer);
  // Tells every observer, the last registered first.
  void Notify(std::int32_t position, std::int32_t replaced, std::int32_t delta) const;

 private:
  GenericArray observers{sizeof(ModelObserver*), 0};
};

// Plain, uncounted pointers to listeners, kept in the order they registered. The listeners take
// themselves off before they die.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "core/GenericArray.h"

template <class T>
class PointerArray {
 public:
  PointerArray() = default;
  PointerArray(const PointerArray&) = delete;
  PointerArray& operator=(const PointerArray&) = delete;

  // Removes the pointer when it is there, else appends it.
  void Toggle(T* item) {
    if (const std::int32_t n = items.Find(&item); n != 0)
      items.Delete(n, 1);
    else
      items.Insert(&item, items.NumItems(), 1);
  }
  bool Contains(T* item) const { return items.Find(&item) != 0; }
  std::int32_t NumItems() const { return items.NumItems(); }

  // Calls the function with every item, first to last. An item may toggle itself or others meanwhile:
  // the walk covers those registered when it began, and skips any that left before their turn.
  template <class F>
  void NotifyAll(F&& notify) const {
    std::vector<T*> registered(static_cast<std::size_t>(items.NumItems()));
    for (std::size_t i = 0; i < registered.size(); ++i)
      std::memcpy(&registered[i], items.ItemAddress(static_cast<std::int32_t>(i) + 1), sizeof(T*));
    for (T* item : registered)
      if (Contains(item)) notify(item);
  }

 private:
  GenericArray items{sizeof(T*), 0};
};

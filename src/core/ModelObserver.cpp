#include "core/ModelObserver.h"

#include <cstring>

void ObserverList::Toggle(ModelObserver* observer) {
  const std::int32_t n = observers.Find(&observer);
  if (n) observers.Delete(n, 1);
  else observers.Insert(&observer, observers.NumItems(), 1);
}

void ObserverList::Notify(std::int32_t position, std::int32_t replaced, std::int32_t delta) const {
  const StringChange change{position, replaced, delta};
  for (std::int32_t n = observers.NumItems(); n >= 1; --n) {
    ModelObserver* observer;
    std::memcpy(&observer, observers.ItemAddress(n), sizeof observer);
    observer->Changed(&change);
  }
}

#include "core/ModelObserver.h"

#include <cstring>

void ObserverList::Toggle(ModelObserver* observer) {
  const std::int32_t n = observers.Find(&observer);
  if (n) observers.Delete(n, 1);
  else observers.Insert(&observer, observers.NumItems(), 1);
}

// A watcher may take itself or others off the list while it hears of the change (a window closing its
// views): the watchers are those registered when the change was made, and each is told only while it
// is still registered.
void ObserverList::Notify(std::int32_t position, std::int32_t replaced, std::int32_t delta) const {
  const StringChange change{position, replaced, delta};
  const GenericArray registered(observers);
  for (std::int32_t n = registered.NumItems(); n >= 1; --n) {
    ModelObserver* observer;
    std::memcpy(&observer, registered.ItemAddress(n), sizeof observer);
    if (observers.Find(&observer)) observer->Changed(&change);
  }
}

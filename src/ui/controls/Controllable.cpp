#include "ui/controls/Controllable.h"

SMART_DEFINE_ABSTRACT(Controllable, "Controllable", Smart)

ControllableObserver* Controllable::ObserverAt(std::int32_t n) const {
  return *static_cast<ControllableObserver**>(observers.At(n));
}

void Controllable::ToggleObserver(ControllableObserver* observer) {
  const std::int32_t at = observers.Find(&observer);
  if (at != 0) {
    observers.Delete(at, 1);
  } else {
    observers.Insert(&observer, observers.NumItems(), 1);
  }
}

bool Controllable::IsObservedBy(ControllableObserver* observer) const { return observers.Find(&observer) != 0; }

// From the last: an observer that leaves while it is told does not make the others skip.
void Controllable::NotifyObservers() {
  for (std::int32_t n = observers.NumItems(); n >= 1; --n) {
    if (n <= observers.NumItems()) ObserverAt(n)->TargetChanged(nullptr);
  }
}

void Controllable::NotifyRange(std::int32_t first, std::int32_t count, std::int32_t command) {
  const ControllableObserver::Range range{first, count, command};
  for (std::int32_t n = observers.NumItems(); n >= 1; --n) {
    if (n <= observers.NumItems()) ObserverAt(n)->RangeChanged(&range);
  }
}

std::int32_t Controllable::QueryValue(std::int32_t command) {
  std::int32_t min = 0, max = 0;
  GetRange(command, &min, &max);
  return GetValue(command);
}

// Models that controls drive: a list, a text, a page overview answers, per command (one axis or one
// value of the model), its range, its page size and its value, and tells the controls that observe it
// when its size or its visible range changes.
#pragma once

#include <cstdint>

#include "core/GenericArray.h"
#include "core/Smart.h"

// What a control observing a model is told.
class ControllableObserver {
 public:
  // The part of the model that changed: count positions from first, for the controls of that command.
  struct Range {
    std::int32_t first;
    std::int32_t count;
    std::int32_t command;
  };
  virtual void RangeChanged(const Range* range) = 0;
  // The model's size changed. The argument is not read.
  virtual void TargetChanged(void* unused) = 0;

 protected:
  ~ControllableObserver() = default;
};

class Controllable : public virtual Smart {
  SMART_ABSTRACT(Controllable)
 public:
  Controllable() = default;
  Controllable(const Controllable&) = delete;
  Controllable& operator=(const Controllable&) = delete;
  SMART_NOT_COPYABLE

  virtual void GetRange(std::int32_t command, std::int32_t* min, std::int32_t* max) = 0;
  // The positions one page step moves.
  virtual std::int32_t GetPageSize(std::int32_t command) = 0;
  virtual void SetValue(std::int32_t command, std::int32_t value) = 0;
  virtual std::int32_t GetValue(std::int32_t command) = 0;

  // Removes the observer when it observes already, adds it otherwise. Observers are not counted.
  void ToggleObserver(ControllableObserver* observer);
  bool IsObservedBy(ControllableObserver* observer) const;
  std::int32_t NumObservers() const { return observers.NumItems(); }
  // Each observer re-reads the model; the newest observer first.
  void NotifyObservers();
  // Each observer hears of the changed range; the newest observer first.
  void NotifyRange(std::int32_t first, std::int32_t count, std::int32_t command);
  // The value, after the range has been asked for (a model may bring its value up to date there).
  std::int32_t QueryValue(std::int32_t command);

 private:
  ControllableObserver* ObserverAt(std::int32_t n) const;

  mutable GenericArray observers{sizeof(ControllableObserver*), 0};
};

// Command objects: a menu item, push button or graphic button holds one, and the application asks it
// whether the command may run on a watcher (the application, a window or a view) and sends it there.
#pragma once

#include <cstdint>

#include "core/Smart.h"

// Command statuses; a menu shows 1 ticked and 3 greyed.
enum : int { kCommandEnabled = 0, kCommandChecked = 1, kCommandDisabled = 3 };

class GenericSignal : public SmartImplementation {
  SMART_ABSTRACT(GenericSignal)
 public:
  // A signal is bound to the item that holds it; it is never copied.
  SMART_NOT_COPYABLE

  // 0, 1 or 3 for the watcher (which may be null: 3).
  virtual int GetSignalStatus(Smart* watcher) = 0;
  // Carries the command out on the watcher; a watcher for which the status is 3 raises the assertion
  // "GetSignalStatus(watcher) != disabled" and nothing is performed.
  virtual void Send(Smart* watcher) = 0;

 protected:
  GenericSignal() = default;
  // The rule every Send follows before it performs anything; header and line name the signal's class in
  // the assertion.
  void RequireEnabled(Smart* watcher, SourcePlace at);
};

// Objects that enable, tick and perform numbered commands by switching on the number. A handler answers
// 3 for numbers it does not know.
class NumberCommandHandler : public virtual Smart {
  SMART_ABSTRACT(NumberCommandHandler)
 public:
  virtual void HandleNumberCommand(std::int32_t number, void* argument) = 0;
  virtual int GetNumberCommandStatus(std::int32_t number) = 0;

 protected:
  NumberCommandHandler() = default;
};

// A command known only by its number (2000 and up in the program), for any NumberCommandHandler.
class NumberCommand : public GenericSignal {
 public:
  NumberCommand(std::int32_t number, void* argument) : number(number), argument(argument) {}
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;
  void Perform(NumberCommandHandler* handler);
  std::int32_t GetNumber() const { return number; }

 private:
  std::int32_t number;
  void* argument;
};

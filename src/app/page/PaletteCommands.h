// The commands the page window's tool palette sends: one makes a tool the application's current tool,
// the other moves the page window back, forward or home.
#pragma once

#include <cstdint>

#include "ui/shell/Signal.h"

class Tool;

// Enabled on the authoring application only.
class TumbletAppCommand : public GenericSignal {
 public:
  explicit TumbletAppCommand(Tool* tool);
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;

 private:
  SmartRef<Tool> tool;
};

// Enabled on a page window only; the direction is DromelWindow's (back, forward, home).
class DromelWindowToolCommand : public GenericSignal {
 public:
  explicit DromelWindowToolCommand(std::int32_t direction) : direction(direction) {}
  int GetSignalStatus(Smart* watcher) override;
  void Send(Smart* watcher) override;

 private:
  std::int32_t direction;
};

// Progress ranges of long operations (saving and reading files, compiling, publishing). Ranges nest: an
// inner range divides the current step of the outer one, so one bar shows the whole operation.
#pragma once

#include <cstdint>

#include "core/Smart.h"

class String;

// The one program-wide progress dialog, as ranges drive it. The window system provides the real dialog;
// until then ranges report to a display that shows nothing and is never stopped. An interface, so that the
// dialog itself, a window with a count of its own, can be the display.
class ProgressDisplay : public virtual Smart {
 public:
  // Opened without being activated, and refreshed.
  virtual void Open() = 0;
  virtual void SetProgress(std::uint32_t done, std::uint32_t total) = 0;
  virtual void SetCaption(const String& text) = 0;
  // Shows and activates the dialog unless it is visible or was cancelled.
  virtual void BringUp() = 0;
  virtual void Refresh() = 0;
  // "Stop" was pressed (or a quit came during a poll).
  virtual bool WasCancelled() = 0;
  virtual void Close() = 0;
};

// The display until the window system provides one: shows nothing and is never stopped.
class SilentProgressDisplay : public ProgressDisplay, public SmartImplementation {
 public:
  SMART_NOT_COPYABLE
  void Open() override {}
  void SetProgress(std::uint32_t, std::uint32_t) override {}
  void SetCaption(const String&) override {}
  void BringUp() override {}
  void Refresh() override {}
  bool WasCancelled() override { return false; }
  void Close() override {}
};

class Progress {
 public:
  Progress(std::uint32_t steps, const char* caption);
  virtual ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // Shows the position before the announced steps, raises UserCancelException after "Stop", then
  // advances by n steps (never beyond the range's span).
  void Step(std::uint32_t n = 1);
  void SetCaption(const char* text, std::uint32_t n = 1);
  void Update();
  static void Enable(bool on);

 private:
  enum : std::uint8_t { kOwnsDialog = 1, kActive = 2 };

  std::uint32_t steps;
  std::uint32_t stepsDone = 0;
  std::uint32_t weight = 1;
  std::uint8_t flags = 0;
};

// Program-wide state of the ranges.
extern bool gProgressEnabled;
extern SmartRef<ProgressDisplay> gProgressDialog;
extern std::uint32_t gProgressOpened;
extern std::uint32_t gProgressTotal;
extern std::uint32_t gProgressDone;
extern std::uint32_t gProgressShown;

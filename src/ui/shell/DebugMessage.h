// Tracing of long operations (socket sessions, gradient fills, scanner events). An operation opens a
// DebugMessage for its duration and logs its steps through it. Normally every one is quiet; when Ctrl and
// Shift are held as the operation starts, a log window "Fenêtre de message" shows each text and the
// program pauses after it so that it can be read.
#pragma once

#include <cstdint>

#include "core/String.h"
#include "graphics/OperationLog.h"

class TextView;
class Window;

class DebugMessage : public SmartImplementation, public OperationLog {
  SMART_CLASS(DebugMessage)
 public:
  // Quiet unless Ctrl and Shift are both held now.
  static SmartRef<DebugMessage> Open();

  explicit DebugMessage(bool quiet);
  // A copy takes its own part in keeping the log window open.
  DebugMessage(const DebugMessage& other);
  DebugMessage& operator=(const DebugMessage& other);
  ~DebugMessage() override;

  void Log(const String& text) override;
  bool IsQuiet() const { return quiet; }

 private:
  void Join();
  void Leave();

  bool quiet;
};

// Nothing is logged and no log window opens while one of these lives.
class DebugMessageMute {
 public:
  DebugMessageMute();
  ~DebugMessageMute();
  DebugMessageMute(const DebugMessageMute&) = delete;
  DebugMessageMute& operator=(const DebugMessageMute&) = delete;

 private:
  bool saved;
};

// Asks for the pause after each logged text; only a number above 0 replaces it.
void RunDebugParametersDialog();

extern SmartRef<Window> gDebugWindow;
extern SmartRef<TextView> gDebugTextView;
extern String gDebugLog;
extern std::int32_t gDebugCount;
extern bool gDebugMute;
extern std::uint32_t gDebugDelay;

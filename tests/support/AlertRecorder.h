// Records every message box the program shows during a test, and answers each from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/user/MessageBox.h"

struct RecordedAlert {
  std::string text;  // as the program's Windows-1252 bytes
  std::string caption;
  UINT type;
};

class AlertRecorder {
 public:
  // Turns alerts on (as start-up does) and takes over the message box until destroyed.
  AlertRecorder();
  ~AlertRecorder();
  AlertRecorder(const AlertRecorder&) = delete;
  AlertRecorder& operator=(const AlertRecorder&) = delete;

  // The next boxes answer these buttons (IDOK, IDNO, ...), then the default button.
  void Answer(std::initializer_list<int> answers) { script.insert(script.end(), answers); }
  const std::vector<RecordedAlert>& Alerts() const { return alerts; }
  void Clear() { alerts.clear(); }

 private:
  std::vector<RecordedAlert> alerts;
  std::deque<int> script;
  platform::MessageBoxHandler previous;
};

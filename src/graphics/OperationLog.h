// Long drawing operations write down their steps in a log opened for the call. The log window belongs to
// the window system, which installs its opener (graphics/Seams.h); until then every log is quiet.
#pragma once

#include "core/Smart.h"

class String;

class OperationLog : public virtual Smart {
 public:
  virtual void Log(const String& text) = 0;
};

// A log for one operation, to be released when it ends.
SmartRef<OperationLog> OpenOperationLog();

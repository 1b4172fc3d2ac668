// Long drawing operations write down their steps in a log opened for the call. The log window belongs to
// the window system, a library above this one, which installs its opener when it is linked in; until then
// every log is quiet.
#pragma once

#include "core/Smart.h"

class String;

class OperationLog : public virtual Smart {
 public:
  virtual void Log(const String& text) = 0;
};

using OperationLogOpener = SmartRef<OperationLog> (*)();
// Installs the opener of logs; null brings back the quiet one.
void SetOperationLogOpener(OperationLogOpener opener);
// A log for one operation, to be released when it ends.
SmartRef<OperationLog> OpenOperationLog();

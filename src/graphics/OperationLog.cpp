#include "graphics/OperationLog.h"

namespace {

class QuietLog : public OperationLog, public SmartImplementation {
 public:
  void Log(const String&) override {}
};

SmartRef<OperationLog> OpenQuietLog() { return new QuietLog(); }

OperationLogOpener gOpener = &OpenQuietLog;

}  // namespace

void SetOperationLogOpener(OperationLogOpener opener) { gOpener = opener ? opener : &OpenQuietLog; }

SmartRef<OperationLog> OpenOperationLog() { return gOpener(); }

#include "graphics/OperationLog.h"

#include "graphics/Seams.h"

namespace {

class QuietLog : public OperationLog, public SmartImplementation {
 public:
  void Log(const String&) override {}
};

}  // namespace

SmartRef<OperationLog> OpenOperationLog() {
  const OperationLogOpener open = GetOperationLogOpener();
  return open != nullptr ? open() : SmartRef<OperationLog>(new QuietLog());
}

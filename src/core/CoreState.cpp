#include "core/CoreState.h"

CoreState& TheCoreState() {
  // Function-local, so that it is there for static objects made and released at either end of the run.
  static CoreState state;
  return state;
}

void ResetCoreState() { TheCoreState() = CoreState(); }

#include "graphics/Seams.h"

namespace {

// Function-local, so that a seam is already in place for whatever a static initialiser does.
template <typename Hook>
Hook& Slot() {
  static Hook hook{};
  return hook;
}

}  // namespace

void SetDefaultStyleTextDrawer(DefaultStyleTextDrawer drawer) { Slot<DefaultStyleTextDrawer>() = drawer; }
DefaultStyleTextDrawer GetDefaultStyleTextDrawer() { return Slot<DefaultStyleTextDrawer>(); }

void SetOperationLogOpener(OperationLogOpener opener) { Slot<OperationLogOpener>() = opener; }
OperationLogOpener GetOperationLogOpener() { return Slot<OperationLogOpener>(); }

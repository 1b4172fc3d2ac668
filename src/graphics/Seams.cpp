#include "graphics/Seams.h"

#include "core/SeamSlot.h"

void SetDefaultStyleTextDrawer(DefaultStyleTextDrawer drawer) { SeamSlot<DefaultStyleTextDrawer>() = drawer; }
DefaultStyleTextDrawer GetDefaultStyleTextDrawer() { return SeamSlot<DefaultStyleTextDrawer>(); }

void SetOperationLogOpener(OperationLogOpener opener) { SeamSlot<OperationLogOpener>() = opener; }
OperationLogOpener GetOperationLogOpener() { return SeamSlot<OperationLogOpener>(); }

#include "ui/shell/Task.h"

SMART_DEFINE_ABSTRACT(Task, "Task", Smart)
SMART_DEFINE_ABSTRACT(Interactor, "Interactor", SmartImplementation)
SMART_DEFINE_ABSTRACT(SelectRect, "SelectRect", Interactor)

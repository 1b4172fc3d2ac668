#include "ControlTestSupport.h"

SMART_DEFINE_ABSTRACT(TestModel, "TestModel", SmartImplementation, Controllable)

#include "core/SystemScrap.h"

SMART_DEFINE_ABSTRACT(SystemScrap, "SystemScrap", Smart)

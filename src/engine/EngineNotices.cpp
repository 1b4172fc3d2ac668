#include "engine/EngineNotices.h"

#include "core/Exception.h"
#include "core/String.h"

void PostEngineNotice(int) { NOT_IMPLEMENTED(); }

void PostMemoryNotice(int) { NOT_IMPLEMENTED(); }

SmartRef<String> PlaceholderString() { return new String("AAARRGGHHH"); }

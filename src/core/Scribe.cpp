#include "core/Scribe.h"

SMART_DEFINE_ABSTRACT(Scribe, "Scribe", Smart)

void Scribe::ReadPreview(SmartRef<Smart>* picture, Point, int) { *picture = nullptr; }

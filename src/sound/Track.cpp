#include "sound/Track.h"

SMART_DEFINE_ABSTRACT(Track, "Track", Smart)

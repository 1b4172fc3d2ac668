#include "core/Seams.h"

namespace {
SoundConverters& Converters() {
  static SoundConverters converters;
  return converters;
}
}  // namespace

void SetSoundConverters(const SoundConverters& converters) { Converters() = converters; }

const SoundConverters& GetSoundConverters() { return Converters(); }

#include "core/Seams.h"

namespace {

// Function-local, so that a seam is already in place for whatever a static initialiser does.
template <typename Hook>
Hook& Slot() {
  static Hook hook{};
  return hook;
}

}  // namespace

void SetStringMeasurer(StringMeasurer measurer) { Slot<StringMeasurer>() = measurer; }
StringMeasurer GetStringMeasurer() { return Slot<StringMeasurer>(); }

void SetStringDrawer(StringDrawer drawer) { Slot<StringDrawer>() = drawer; }
StringDrawer GetStringDrawer() { return Slot<StringDrawer>(); }

void SetStringEditorMaker(StringEditorMaker maker) { Slot<StringEditorMaker>() = maker; }
StringEditorMaker GetStringEditorMaker() { return Slot<StringEditorMaker>(); }

void SetProgressDisplayMaker(ProgressDisplayMaker maker) { Slot<ProgressDisplayMaker>() = maker; }
ProgressDisplayMaker GetProgressDisplayMaker() { return Slot<ProgressDisplayMaker>(); }

void SetSoundPlayer(SoundPlayer player) { Slot<SoundPlayer>() = player; }
SoundPlayer GetSoundPlayer() { return Slot<SoundPlayer>(); }

void SetSoundConverters(const SoundConverters& converters) { Slot<SoundConverters>() = converters; }
const SoundConverters& GetSoundConverters() { return Slot<SoundConverters>(); }

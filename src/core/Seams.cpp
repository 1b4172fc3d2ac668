#include "core/Seams.h"

#include "core/SeamSlot.h"

void SetStringMeasurer(StringMeasurer measurer) { SeamSlot<StringMeasurer>() = measurer; }
StringMeasurer GetStringMeasurer() { return SeamSlot<StringMeasurer>(); }

void SetStringDrawer(StringDrawer drawer) { SeamSlot<StringDrawer>() = drawer; }
StringDrawer GetStringDrawer() { return SeamSlot<StringDrawer>(); }

void SetStringEditorMaker(StringEditorMaker maker) { SeamSlot<StringEditorMaker>() = maker; }
StringEditorMaker GetStringEditorMaker() { return SeamSlot<StringEditorMaker>(); }

void SetProgressDisplayMaker(ProgressDisplayMaker maker) { SeamSlot<ProgressDisplayMaker>() = maker; }
ProgressDisplayMaker GetProgressDisplayMaker() { return SeamSlot<ProgressDisplayMaker>(); }

void SetSoundPlayer(SoundPlayer player) { SeamSlot<SoundPlayer>() = player; }
SoundPlayer GetSoundPlayer() { return SeamSlot<SoundPlayer>(); }

void SetSoundConverters(const SoundConverters& converters) { SeamSlot<SoundConverters>() = converters; }
const SoundConverters& GetSoundConverters() { return SeamSlot<SoundConverters>(); }

// Every call core makes into the libraries above it, in one list. Each seam is filled by one install call
// of the library that provides it (InstallUiSeams, InstallSoundSeams, ...) and keeps a plain default until
// then, so that core's own tests link without those libraries.
#pragma once

#include <cstdint>

#include "core/Smart.h"

class DisplayPort;
class Memory;
class ProgressDisplay;
class Sound;
class Stream;
class String;
class View;
struct Color;
struct Point;
struct Rect;

// Text is measured and drawn by the window system. Until it installs these, strings measure (0, 0) and
// draw nothing.
using StringMeasurer = Point (*)(const String& text, std::int32_t width);
void SetStringMeasurer(StringMeasurer measurer);
StringMeasurer GetStringMeasurer();
using StringDrawer = void (*)(const String& text, DisplayPort& port, const Rect& rect, const Color& color);
void SetStringDrawer(StringDrawer drawer);
StringDrawer GetStringDrawer();

// Text views belong to the window system too: it installs the maker of a string's editor, which builds
// one in the container's bounds and answers them; until then strings build none.
using StringEditorMaker = Rect (*)(String& text, View* container);
void SetStringEditorMaker(StringEditorMaker maker);
StringEditorMaker GetStringEditorMaker();

// Progress dialogs are the window system's. Null (the default) is the display that shows nothing.
using ProgressDisplayMaker = SmartRef<ProgressDisplay> (*)(const char* caption);
void SetProgressDisplayMaker(ProgressDisplayMaker maker);
ProgressDisplayMaker GetProgressDisplayMaker();

// Playing belongs to the sound library; until it installs its player, sounds do not play.
using SoundPlayer = bool (*)(Sound& sound, int argument);
void SetSoundPlayer(SoundPlayer player);
SoundPlayer GetSoundPlayer();

// The sound file formats are known to the sound library. Until it installs these, a sound in another
// format than WAVE can be neither read nor written ("Not implemented."), and WAVE files are taken
// unchecked.
struct SoundConverters {
  // The whole input, which must hold the other of the two formats (Sound::wave or Sound::aiff), into the
  // format, copied through a buffer of that many bytes; false when the input is not of the other format
  // or is damaged.
  bool (*convert)(Stream& input, Stream& output, std::uint32_t bufferSize, int format) = nullptr;
  // A Macintosh 'snd ' resource into an AIFF stream; false when it holds no usable sampled sound.
  bool (*convertMacResource)(const Memory& resource, Stream& output) = nullptr;
  // Whether the whole input is a WAVE file whose chunks lie within it.
  bool (*isWave)(Stream& input) = nullptr;
};
void SetSoundConverters(const SoundConverters& converters);
const SoundConverters& GetSoundConverters();

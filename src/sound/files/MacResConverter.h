// Turns a Macintosh 'snd ' resource of 8-bit sampled sound into an AIFF stream.
#pragma once

#include "sound/files/ChunkIO.h"

class Memory;
class Stream;

class MacResConverter {
 public:
  // Writes the AIFF from the output's start. Answers 1, or 0 when the resource holds no sampled sound
  // that lies within it: every count, offset and length is checked against the resource's size.
  int Convert(const Memory& resource, Stream& output);

 private:
  AIFFChunkIO aiff;
};

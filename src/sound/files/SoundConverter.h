// Turns an AIFF stream into a WAVE stream and a WAVE stream into an AIFF one.
#pragma once

#include <cstdint>

#include "sound/files/ChunkIO.h"

class Stream;

class SoundConverter {
 public:
  // The samples are copied through a buffer of that many bytes.
  SoundConverter(int machineOrder, std::uint32_t bufferSize);

  // Reads the input from its start and writes the other format from the output's start. Answers 1, or 0
  // when the input is neither format, is damaged or truncated, or holds samples the other format cannot
  // take as they are (PCM of 8, 16, 24 or 32 bits, at least one channel, a rate of at least 1 Hz).
  int Convert(Stream& input, Stream& output);

 private:
  int machineOrder;
  std::uint32_t bufferSize;
  AIFFChunkIO aiff;
  RIFFChunkIO riff;
};

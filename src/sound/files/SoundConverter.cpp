#include "sound/files/SoundConverter.h"

#include <algorithm>

#include "core/Memory.h"
#include "core/Stream.h"

namespace {
bool IsConvertible(const SampleFormat& format) {
  const bool wholeBytes = format.bits == 8 || format.bits == 16 || format.bits == 24 || format.bits == 32;
  // Both headers must be able to say how many bytes a frame and a second of it take.
  const std::uint64_t frameBytes = std::uint64_t(format.channels > 0 ? format.channels : 0) * (format.bits / 8);
  return wholeBytes && format.channels >= 1 && format.rate >= 1 && frameBytes <= 0xFFFF &&
         frameBytes * format.rate <= 0xFFFFFFFF;
}
}  // namespace

SoundConverter::SoundConverter(int machineOrder, std::uint32_t bufferSize)
    : machineOrder(machineOrder), bufferSize(bufferSize) {}

int SoundConverter::Convert(Stream& input, Stream& output) {
  input.Seek(0, kSeekFromStart);
  output.Seek(0, kSeekFromStart);
  SampleFormat format;
  bool toWave = false;
  if (aiff.ReadHeader(input, format, machineOrder)) {
    toWave = true;
    if (format.rate == 22254) format.rate = 22050;
    else if (format.rate == 11127) format.rate = 11025;
  } else if (riff.ReadHeader(input, format, machineOrder)) {
    if (format.rate == 22050) format.rate = 22254;
    else if (format.rate == 11025) format.rate = 11127;
  } else {
    return 0;
  }
  if (!IsConvertible(format)) return 0;
  if (toWave) riff.WriteHeader(output, format, machineOrder);
  else aiff.WriteHeader(output, format, machineOrder);

  // Each piece holds whole samples, so that their bytes turn round together.
  const std::uint32_t sampleBytes = static_cast<std::uint32_t>(format.bits / 8);
  std::uint32_t piece = std::max(bufferSize, sampleBytes);
  piece = std::min(piece - piece % sampleBytes, format.length);
  Memory buffer(piece);
  for (std::uint32_t remaining = format.length; remaining > 0;) {
    const std::uint32_t n = std::min(piece, remaining);
    if (!ChunkIO::ReadBytes(input, buffer.GetData(), n)) return 0;
    if (sampleBytes == 1) ChunkIO::FlipSigns(buffer.GetData(), n);
    else ChunkIO::ReverseSamples(buffer.GetData(), n, sampleBytes);
    ChunkIO::WriteBytes(output, buffer.GetData(), n);
    remaining -= n;
  }
  if (format.length & 1) {
    const unsigned char pad = 0;
    ChunkIO::WriteBytes(output, &pad, 1);
  }
  return 1;
}

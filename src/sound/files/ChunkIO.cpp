#include "sound/files/ChunkIO.h"

#include <algorithm>
#include <cstring>

#include "core/Stream.h"
#include "sound/files/ExtendedRate.h"

namespace {
std::uint16_t Swap16(std::uint16_t value) { return static_cast<std::uint16_t>((value >> 8) | (value << 8)); }

std::uint32_t Swap32(std::uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0xFF00) | ((value << 8) & 0xFF0000) | (value << 24);
}

// A value beyond its field is not a format anybody converts; the field then holds its largest value.
template <class Field>
Field Clamped(double value) {
  constexpr double largest = static_cast<double>(static_cast<Field>(~Field{0}));
  return static_cast<Field>(value < largest ? value : largest);
}
}  // namespace

bool ChunkIO::ReadBytes(Stream& stream, void* buffer, std::uint32_t length) {
  if (length > BytesLeft(stream)) return false;
  if (length > 0) stream.Read(buffer, length);
  return true;
}

void ChunkIO::WriteBytes(Stream& stream, const void* buffer, std::uint32_t length) {
  if (length > 0) stream.Write(buffer, length);
}

std::uint32_t ChunkIO::BytesLeft(Stream& stream) {
  const std::uint32_t position = stream.GetPosition();
  const std::uint32_t length = stream.GetLength();
  return position < length ? length - position : 0;
}

bool ChunkIO::SameId(const char* a, const char* b) { return std::memcmp(a, b, 4) == 0; }

void ChunkIO::PutId(ChunkHeader& header, const char* id) { std::memcpy(header.id, id, 4); }

std::uint32_t ChunkIO::GetSize(const ChunkHeader& header, int fileOrder, int machineOrder) {
  return Get32(header.size, fileOrder, machineOrder);
}

void ChunkIO::SetSize(ChunkHeader& header, std::uint32_t size, int fileOrder, int machineOrder) {
  Put32(header.size, size, fileOrder, machineOrder);
}

std::uint16_t ChunkIO::Get16(const unsigned char* field, int fileOrder, int machineOrder) {
  std::uint16_t value;
  std::memcpy(&value, field, 2);
  return fileOrder == machineOrder ? value : Swap16(value);
}

std::uint32_t ChunkIO::Get32(const unsigned char* field, int fileOrder, int machineOrder) {
  std::uint32_t value;
  std::memcpy(&value, field, 4);
  return fileOrder == machineOrder ? value : Swap32(value);
}

void ChunkIO::Put16(unsigned char* field, std::uint16_t value, int fileOrder, int machineOrder) {
  if (fileOrder != machineOrder) value = Swap16(value);
  std::memcpy(field, &value, 2);
}

void ChunkIO::Put32(unsigned char* field, std::uint32_t value, int fileOrder, int machineOrder) {
  if (fileOrder != machineOrder) value = Swap32(value);
  std::memcpy(field, &value, 4);
}

void ChunkIO::ReverseSamples(unsigned char* buffer, std::uint32_t length, unsigned sampleBytes) {
  if (sampleBytes < 2) return;
  for (std::uint32_t at = 0; at + sampleBytes <= length; at += sampleBytes)
    std::reverse(buffer + at, buffer + at + sampleBytes);
}

void ChunkIO::FlipSigns(unsigned char* buffer, std::uint32_t length) {
  for (std::uint32_t at = 0; at < length; ++at) buffer[at] = static_cast<unsigned char>(buffer[at] - 128);
}

// Both formats pad a chunk of odd size with one byte, and an empty chunk is as valid as any other.
bool ChunkIO::FindChunk(const char* id, Stream& stream, ChunkHeader& header, int fileOrder, int machineOrder) {
  for (;;) {
    if (!ReadBytes(stream, &header, sizeof header)) return false;
    if (SameId(header.id, id)) return true;
    const std::uint32_t size = GetSize(header, fileOrder, machineOrder);
    const std::uint64_t next = std::uint64_t{stream.GetPosition()} + size + (size & 1);
    if (next > stream.GetLength()) return false;
    stream.Seek(static_cast<std::int32_t>(next), kSeekFromStart);
  }
}

bool AIFFChunkIO::ReadHeader(Stream& stream, SampleFormat& format, int machineOrder) {
  format = SampleFormat();
  stream.Seek(0, kSeekFromStart);
  unsigned char form[12];
  if (!ReadBytes(stream, form, sizeof form)) return false;
  if (!SameId(reinterpret_cast<const char*>(form), "FORM") || !SameId(reinterpret_cast<const char*>(form + 8), "AIFF"))
    return false;
  ChunkHeader header;
  if (!FindChunk("COMM", stream, header, kBigEndian, machineOrder)) return false;
  unsigned char common[18];
  if (GetSize(header, kBigEndian, machineOrder) < sizeof common || !ReadBytes(stream, common, sizeof common))
    return false;
  format.channels = static_cast<std::int16_t>(Get16(common, kBigEndian, machineOrder));
  format.bits = static_cast<std::int16_t>(Get16(common + 6, kBigEndian, machineOrder));
  ExtendedRate rate;
  rate.exponent = Get16(common + 8, kBigEndian, machineOrder);
  rate.mantissa = (std::uint64_t{Get32(common + 10, kBigEndian, machineOrder)} << 32) |
                  Get32(common + 14, kBigEndian, machineOrder);
  format.rate = DecodeRate(rate);

  stream.Seek(sizeof form, kSeekFromStart);
  if (!FindChunk("SSND", stream, header, kBigEndian, machineOrder)) return false;
  const std::uint32_t size = GetSize(header, kBigEndian, machineOrder);
  unsigned char placing[8];
  if (size < sizeof placing || !ReadBytes(stream, placing, sizeof placing)) return false;
  // The offset puts the first sample further into the chunk, for files aligned on blocks.
  const std::uint32_t offset = Get32(placing, kBigEndian, machineOrder);
  if (offset > size - sizeof placing || offset > BytesLeft(stream)) return false;
  stream.Seek(static_cast<std::int32_t>(offset), kSeekRelative);
  format.length = size - sizeof placing - offset;
  return format.length <= BytesLeft(stream);
}

int AIFFChunkIO::WriteHeader(Stream& stream, const SampleFormat& format, int machineOrder) {
  unsigned char header[kHeaderSize] = {};
  const std::uint32_t length = format.length;
  std::memcpy(header, "FORM", 4);
  Put32(header + 4, length + (length & 1) + 46, kBigEndian, machineOrder);
  std::memcpy(header + 8, "AIFFCOMM", 8);
  Put32(header + 16, 18, kBigEndian, machineOrder);
  Put16(header + 20, static_cast<std::uint16_t>(format.channels), kBigEndian, machineOrder);
  // Samples of fewer than 8 bits still take a byte each.
  const std::uint32_t frameBytes =
      format.channels > 0 && format.bits > 0 ? std::uint32_t(format.channels) * ((std::uint32_t(format.bits) + 7) / 8) : 0;
  Put32(header + 22, frameBytes ? length / frameBytes : 0, kBigEndian, machineOrder);
  Put16(header + 26, static_cast<std::uint16_t>(format.bits), kBigEndian, machineOrder);
  const ExtendedRate rate = EncodeRate(format.rate);
  Put16(header + 28, rate.exponent, kBigEndian, machineOrder);
  Put32(header + 30, static_cast<std::uint32_t>(rate.mantissa >> 32), kBigEndian, machineOrder);
  Put32(header + 34, static_cast<std::uint32_t>(rate.mantissa), kBigEndian, machineOrder);
  std::memcpy(header + 38, "SSND", 4);
  Put32(header + 42, length + 8, kBigEndian, machineOrder);
  WriteBytes(stream, header, sizeof header);
  return 1;
}

bool RIFFChunkIO::ReadHeader(Stream& stream, SampleFormat& format, int machineOrder) {
  std::uint16_t tag = 0;
  return ReadChunks(stream, format, tag, machineOrder) && tag == 1;
}

bool RIFFChunkIO::IsWave(Stream& stream, int machineOrder) {
  SampleFormat format;
  std::uint16_t tag = 0;
  return ReadChunks(stream, format, tag, machineOrder);
}

bool RIFFChunkIO::ReadChunks(Stream& stream, SampleFormat& format, std::uint16_t& tag, int machineOrder) {
  stream.Seek(0, kSeekFromStart);
  unsigned char riff[12];
  if (!ReadBytes(stream, riff, sizeof riff)) return false;
  if (!SameId(reinterpret_cast<const char*>(riff), "RIFF") || !SameId(reinterpret_cast<const char*>(riff + 8), "WAVE"))
    return false;
  ChunkHeader header;
  if (!FindChunk("fmt ", stream, header, kLittleEndian, machineOrder)) return false;
  format = SampleFormat();
  unsigned char fmt[16];
  if (GetSize(header, kLittleEndian, machineOrder) < sizeof fmt || !ReadBytes(stream, fmt, sizeof fmt)) return false;
  tag = Get16(fmt, kLittleEndian, machineOrder);
  format.channels = static_cast<std::int16_t>(Get16(fmt + 2, kLittleEndian, machineOrder));
  format.rate = Get32(fmt + 4, kLittleEndian, machineOrder);
  format.bits = static_cast<std::int16_t>(Get16(fmt + 14, kLittleEndian, machineOrder));

  stream.Seek(sizeof riff, kSeekFromStart);
  if (!FindChunk("data", stream, header, kLittleEndian, machineOrder)) return false;
  format.length = GetSize(header, kLittleEndian, machineOrder);
  return format.length <= BytesLeft(stream);
}

int RIFFChunkIO::WriteHeader(Stream& stream, const SampleFormat& format, int machineOrder) {
  unsigned char header[kHeaderSize] = {};
  const std::uint32_t length = format.length;
  std::memcpy(header, "RIFF", 4);
  Put32(header + 4, length + (length & 1) + 36, kLittleEndian, machineOrder);
  std::memcpy(header + 8, "WAVEfmt ", 8);
  Put32(header + 16, 16, kLittleEndian, machineOrder);
  Put16(header + 20, 1, kLittleEndian, machineOrder);
  Put16(header + 22, static_cast<std::uint16_t>(format.channels), kLittleEndian, machineOrder);
  Put32(header + 24, format.rate, kLittleEndian, machineOrder);
  // Any part of a byte counts as a whole one.
  const double frameBytes = double(format.channels) * format.bits / 8;
  Put32(header + 28, Clamped<std::uint32_t>(format.rate * frameBytes + 0.99), kLittleEndian, machineOrder);
  Put16(header + 32, Clamped<std::uint16_t>(frameBytes + 0.99), kLittleEndian, machineOrder);
  Put16(header + 34, static_cast<std::uint16_t>(format.bits), kLittleEndian, machineOrder);
  std::memcpy(header + 36, "data", 4);
  Put32(header + 40, length, kLittleEndian, machineOrder);
  WriteBytes(stream, header, sizeof header);
  return 1;
}

// The chunk steps that AIFF and WAVE files share: headers of an id and a size, fields in the file's byte
// order, and the byte transforms between the two formats' samples.
#pragma once

#include <bit>
#include <cstdint>

class Stream;

// Byte orders as the sound files pass them around.
enum : int { kBigEndian = 1, kLittleEndian = 2 };
inline constexpr int kMachineOrder = std::endian::native == std::endian::big ? kBigEndian : kLittleEndian;

// A chunk's header as it lies in the file: the id, then the size of what follows the header.
struct ChunkHeader {
  char id[4];
  unsigned char size[4];
};

// What a file's header says of its samples.
struct SampleFormat {
  std::uint32_t length = 0;  // bytes of samples
  std::int16_t channels = 1;
  std::int16_t bits = 8;
  std::uint32_t rate = 0;  // Hz, any fraction dropped
};

class ChunkIO {
 public:
  // Reads nothing and answers false when fewer bytes are left: a size in a file is never trusted beyond
  // the file's end.
  static bool ReadBytes(Stream& stream, void* buffer, std::uint32_t length);
  static void WriteBytes(Stream& stream, const void* buffer, std::uint32_t length);
  static std::uint32_t BytesLeft(Stream& stream);

  static bool SameId(const char* a, const char* b);
  static void PutId(ChunkHeader& header, const char* id);
  static std::uint32_t GetSize(const ChunkHeader& header, int fileOrder, int machineOrder);
  static void SetSize(ChunkHeader& header, std::uint32_t size, int fileOrder, int machineOrder);

  // Fields of a header read or written in the file's order.
  static std::uint16_t Get16(const unsigned char* field, int fileOrder, int machineOrder);
  static std::uint32_t Get32(const unsigned char* field, int fileOrder, int machineOrder);
  static void Put16(unsigned char* field, std::uint16_t value, int fileOrder, int machineOrder);
  static void Put32(unsigned char* field, std::uint32_t value, int fileOrder, int machineOrder);

  // Reverses the bytes of every sample of that many bytes (2, 3 or 4); a last partial sample stays.
  static void ReverseSamples(unsigned char* buffer, std::uint32_t length, unsigned sampleBytes);
  // Signed 8-bit samples to unsigned ones and back.
  static void FlipSigns(unsigned char* buffer, std::uint32_t length);

  // Finds the next chunk with the id from the stream's position, passing over the others with their pad
  // byte, and leaves the stream just after its header, which the header holds. False when the chunks
  // end first, or a chunk claims more than the stream holds.
  static bool FindChunk(const char* id, Stream& stream, ChunkHeader& header, int fileOrder, int machineOrder);
};

// The AIFF header: "FORM" "AIFF", then "COMM" and the "SSND" chunk's header, big-endian.
class AIFFChunkIO : public ChunkIO {
 public:
  static constexpr std::uint32_t kHeaderSize = 54;
  // Leaves the stream at the first sample byte.
  bool ReadHeader(Stream& stream, SampleFormat& format, int machineOrder);
  int WriteHeader(Stream& stream, const SampleFormat& format, int machineOrder);
};

// The WAVE header: "RIFF" "WAVE", then "fmt " of PCM and the "data" chunk's header, little-endian.
class RIFFChunkIO : public ChunkIO {
 public:
  static constexpr std::uint32_t kHeaderSize = 44;
  // Only PCM samples are read. Leaves the stream at the first sample byte.
  bool ReadHeader(Stream& stream, SampleFormat& format, int machineOrder);
  // Whether the stream is a WAVE file whose "fmt " and "data" chunks lie within it, whatever its samples.
  bool IsWave(Stream& stream, int machineOrder);
  int WriteHeader(Stream& stream, const SampleFormat& format, int machineOrder);

 private:
  bool ReadChunks(Stream& stream, SampleFormat& format, std::uint16_t& tag, int machineOrder);
};

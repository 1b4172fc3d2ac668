#include "sound/files/MacResConverter.h"

#include <optional>
#include <vector>

#include "core/Memory.h"
#include "core/Stream.h"

namespace {
// The resource's big-endian fields, each read only when it lies within the resource.
class ResourceReader {
 public:
  ResourceReader(const unsigned char* bytes, std::uint32_t size) : bytes(bytes), size(size) {}

  std::optional<std::uint32_t> Get(std::uint64_t offset, unsigned width) const {
    if (offset + width > size) return std::nullopt;
    std::uint32_t value = 0;
    for (unsigned i = 0; i < width; ++i) value = (value << 8) | bytes[offset + i];
    return value;
  }
  std::uint32_t Size() const { return size; }
  const unsigned char* At(std::uint32_t offset) const { return bytes + offset; }

 private:
  const unsigned char* bytes;
  std::uint32_t size;
};

constexpr std::uint32_t kSampledHeaderSize = 22;
constexpr std::uint16_t kOffsetFlag = 0x8000;
constexpr std::uint16_t kSoundCommandBits = 0x50;  // the sound and buffer commands
constexpr std::uint32_t kStereoOptions = 0xC0;
constexpr std::uint8_t kStandardEncoding = 0;

// Where the first command lies and how many channels the resource declares, by its format.
struct CommandList {
  std::uint32_t count = 0;
  std::uint64_t first = 0;
  std::int16_t channels = 1;
};

std::optional<CommandList> FindCommands(const ResourceReader& resource) {
  const auto format = resource.Get(0, 2);
  if (!format) return std::nullopt;
  CommandList commands;
  std::uint64_t countAt = 0;
  if (*format == 1) {
    const auto dataTypes = resource.Get(2, 2);
    if (!dataTypes) return std::nullopt;
    if (*dataTypes != 0) {
      const auto options = resource.Get(6, 4);
      if (!options) return std::nullopt;
      if ((*options & kStereoOptions) == kStereoOptions) commands.channels = 2;
    }
    countAt = 4 + 6 * std::uint64_t{*dataTypes};
  } else if (*format == 2) {
    countAt = 4;
  } else {
    return std::nullopt;
  }
  const auto count = resource.Get(countAt, 2);
  if (!count) return std::nullopt;
  commands.count = *count;
  commands.first = countAt + 2;
  return commands;
}
}  // namespace

// Only a sound whose header lies in the resource itself is found: a command without the offset flag, or
// a header with a sample pointer, points into the memory of the program that made it.
int MacResConverter::Convert(const Memory& block, Stream& output) {
  const ResourceReader resource(block.GetData(), block.GetSize());
  output.Seek(0, kSeekFromStart);
  const std::optional<CommandList> commands = FindCommands(resource);
  if (!commands || commands->count == 0) return 0;
  const auto command = resource.Get(commands->first, 2);
  const auto parameter = resource.Get(commands->first + 4, 4);
  if (!command || !parameter) return 0;
  if ((*command & kSoundCommandBits) != kSoundCommandBits || !(*command & kOffsetFlag)) return 0;

  const std::uint64_t header = *parameter;
  const auto samplePointer = resource.Get(header, 4);
  const auto length = resource.Get(header + 4, 4);
  const auto fixedRate = resource.Get(header + 8, 4);
  const auto encoding = resource.Get(header + 20, 1);
  if (!samplePointer || !length || !fixedRate || !encoding) return 0;
  // Only the standard header is followed by plain 8-bit samples.
  if (*samplePointer != 0 || *encoding != kStandardEncoding) return 0;
  const std::uint64_t samples = header + kSampledHeaderSize;
  if (samples + *length > resource.Size()) return 0;
  // The rate is 16.16 fixed: 22254.545 and 11127.27 Hz give 22254 and 11127, which AIFF writes exactly.
  SampleFormat format;
  format.length = *length;
  format.channels = commands->channels;
  format.bits = 8;
  format.rate = *fixedRate >> 16;
  if (format.rate == 0) return 0;

  aiff.WriteHeader(output, format, kMachineOrder);
  std::vector<unsigned char> converted(resource.At(static_cast<std::uint32_t>(samples)),
                                       resource.At(static_cast<std::uint32_t>(samples)) + format.length);
  ChunkIO::FlipSigns(converted.data(), format.length);
  ChunkIO::WriteBytes(output, converted.data(), format.length);
  // The header counts the pad byte of an odd length, so it is written too.
  if (format.length & 1) {
    const unsigned char pad = 0;
    ChunkIO::WriteBytes(output, &pad, 1);
  }
  return 1;
}

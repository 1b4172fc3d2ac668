#include "core/Stream.h"

#include <cstring>

#include "core/Exception.h"

SMART_DEFINE_ABSTRACT(Stream, "Stream", Smart)
SMART_DEFINE(MemoryStream, "MemoryStream", nullptr, nullptr, Stream, SmartImplementation)
SMART_DEFINE(BitBucket, "BitBucket", &CreateDefault<BitBucket>, nullptr, Stream, SmartImplementation)

namespace {
std::uint32_t Reverse32(std::uint32_t v) { return __builtin_bswap32(v); }
std::uint16_t Reverse16(std::uint16_t v) { return __builtin_bswap16(v); }
}  // namespace

Stream& Stream::WriteLong(std::int32_t value) {
  std::uint32_t bits = static_cast<std::uint32_t>(value);
  if (swap) bits = Reverse32(bits);
  Write(&bits, 4);
  return *this;
}

Stream& Stream::WriteShort(std::int16_t value) {
  std::uint16_t bits = static_cast<std::uint16_t>(value);
  if (swap) bits = Reverse16(bits);
  Write(&bits, 2);
  return *this;
}

Stream& Stream::WriteByte(std::uint8_t value) {
  Write(&value, 1);
  return *this;
}

Stream& Stream::WritePoint(const Point& point) { return WriteLong(point.x).WriteLong(point.y); }

Stream& Stream::WriteRect(const Rect& rect) {
  return WriteLong(rect.left).WriteLong(rect.top).WriteLong(rect.right).WriteLong(rect.bottom);
}

std::int32_t Stream::ReadLong() {
  std::uint32_t bits = 0;
  Read(&bits, 4);
  return static_cast<std::int32_t>(swap ? Reverse32(bits) : bits);
}

std::int16_t Stream::ReadShort() {
  std::uint16_t bits = 0;
  Read(&bits, 2);
  return static_cast<std::int16_t>(swap ? Reverse16(bits) : bits);
}

std::uint8_t Stream::ReadByte() {
  std::uint8_t byte = 0;
  Read(&byte, 1);
  return byte;
}

namespace {
// No place or size this program stores comes near a billion pixels; within this bound the sizes, centres
// and sums of stored coordinates are still numbers, so a damaged file cannot overflow them.
constexpr std::int32_t kMaxStoredCoordinate = 1 << 30;

std::int32_t ReadCoordinate(Stream& stream) {
  const std::int32_t value = stream.ReadLong();
  ASSERT(value >= -kMaxStoredCoordinate && value <= kMaxStoredCoordinate);
  return value;
}
}  // namespace

void Stream::ReadPoint(Point* point) {
  point->x = ReadCoordinate(*this);
  point->y = ReadCoordinate(*this);
}

void Stream::ReadRect(Rect* rect) {
  rect->left = ReadCoordinate(*this);
  rect->top = ReadCoordinate(*this);
  rect->right = ReadCoordinate(*this);
  rect->bottom = ReadCoordinate(*this);
}

std::int32_t Stream::SwapLong(std::int32_t value) const {
  return swap ? static_cast<std::int32_t>(Reverse32(static_cast<std::uint32_t>(value))) : value;
}

MemoryStream::MemoryStream(std::uint32_t capacity) : memory(capacity) {}

MemoryStream::MemoryStream(const Memory& block) : memory(block), streamSize(block.GetSize()) {}

MemoryStream::MemoryStream(const MemoryStream& other)
    : Smart(), Stream(other), SmartImplementation(other), memory(other.memory), position(other.position),
      streamSize(other.streamSize) {}

MemoryStream& MemoryStream::operator=(const MemoryStream& other) {
  Stream::operator=(other);
  memory.Assign(other.memory);
  position = other.position;
  streamSize = other.streamSize;
  return *this;
}

void MemoryStream::Write(const void* buffer, std::uint32_t length) {
  const std::uint64_t end = std::uint64_t{position} + length;
  if (end > UINT32_MAX) ThrowError("Range error", __FILE__, __LINE__);
  if (end > memory.GetSize()) memory.SetSize(static_cast<std::uint32_t>(end));
  memory.Lock();
  // A write past the end leaves no stale bytes between the old end and the position.
  if (position > streamSize) std::memset(memory.GetData() + streamSize, 0, position - streamSize);
  if (length) std::memcpy(memory.GetData() + position, buffer, length);
  memory.Unlock();
  position = static_cast<std::uint32_t>(end);
  if (position > streamSize) streamSize = position;
}

void MemoryStream::Read(void* buffer, std::uint32_t length) {
  if (std::uint64_t{position} + length > streamSize)
    AssertFailed("position + len <= streamSize", __FILE__, __LINE__);
  memory.Lock();
  if (length) std::memcpy(buffer, memory.GetData() + position, length);
  memory.Unlock();
  position += length;
}

std::uint32_t MemoryStream::Seek(std::int32_t offset, int mode) {
  std::int64_t target = offset;
  if (mode == kSeekRelative) target = std::int64_t{position} + offset;
  else if (mode == kSeekFromEnd) target = std::int64_t{streamSize} - offset;
  if (target < 0 || target > UINT32_MAX) AssertFailed("position >= 0", __FILE__, __LINE__);
  position = static_cast<std::uint32_t>(target);
  return position;
}

void MemoryStream::SetLength(std::uint32_t length) {
  const std::uint32_t oldLength = streamSize;
  memory.SetSize(length);
  if (length > oldLength) std::memset(memory.GetData() + oldLength, 0, length - oldLength);
  streamSize = length;
}

void BitBucket::Read(void* buffer, std::uint32_t length) {
  if (length) std::memset(buffer, 0, length);
}

BitBucket* gBitBucket() {
  static BitBucket* bucket = NewPermanent<BitBucket>();
  return bucket;
}

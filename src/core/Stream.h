// Byte streams with typed reads and writes in a fixed byte order.
#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "core/Memory.h"
#include "core/Smart.h"

enum : int { kSeekFromStart = 1, kSeekFromEnd = 2, kSeekRelative = 3 };

class Stream : public virtual Smart {
  SMART_ABSTRACT(Stream)
 public:
  virtual void Write(const void* buffer, std::uint32_t length) = 0;
  virtual void Read(void* buffer, std::uint32_t length) = 0;
  virtual bool IsWritable() = 0;
  virtual std::uint32_t Seek(std::int32_t offset, int mode) = 0;
  virtual std::uint32_t GetPosition() = 0;
  virtual std::uint32_t GetLength() = 0;
  virtual void SetLength(std::uint32_t length) = 0;
  bool AtEnd() { return GetPosition() >= GetLength(); }

  // Integers are stored little-endian, or big-endian when the swap flag is set; bytes never swap.
  Stream& WriteLong(std::int32_t value);
  Stream& WriteLong(const std::int32_t* value) { return WriteLong(*value); }
  Stream& WriteShort(std::int16_t value);
  Stream& WriteByte(std::uint8_t value);
  Stream& WritePoint(const Point& point);
  Stream& WriteRect(const Rect& rect);
  std::int32_t ReadLong();
  std::int16_t ReadShort();
  std::uint8_t ReadByte();
  // Stored places and shapes: a coordinate beyond a billion pixels fails a check on the stream's
  // contents, which a reader of a file reports as damage.
  void ReadPoint(Point* point);
  void ReadRect(Rect* rect);
  std::int32_t SwapLong(std::int32_t value) const;
  void SetSwap(bool flag) { swap = flag; }
  bool GetSwap() const { return swap; }

 protected:
  Stream() = default;
  Stream(const Stream&) = default;
  Stream& operator=(const Stream&) = default;

 private:
  bool swap = false;
};

// A stream over a memory block that grows as it is written.
class MemoryStream : public Stream, public SmartImplementation {
  SMART_CLASS(MemoryStream)
 public:
  explicit MemoryStream(std::uint32_t capacity = 0);
  explicit MemoryStream(const Memory& block);
  MemoryStream(const MemoryStream& other);
  MemoryStream& operator=(const MemoryStream& other);

  void Write(const void* buffer, std::uint32_t length) override;
  void Read(void* buffer, std::uint32_t length) override;
  bool IsWritable() override { return true; }
  // Positions before the start are refused; a position past the end is allowed, and a write there fills
  // the gap with zeros.
  std::uint32_t Seek(std::int32_t offset, int mode) override;
  std::uint32_t GetPosition() override { return position; }
  std::uint32_t GetLength() override { return streamSize; }
  void SetLength(std::uint32_t length) override;

  unsigned char* GetCurrentPointer() { return memory.GetData() + position; }
  const Memory& GetMemory() const { return memory; }

 private:
  Memory memory;
  std::uint32_t position = 0;
  std::uint32_t streamSize = 0;
};

// Discards what it is given and reads zeros: measures what an object would write.
class BitBucket : public Stream, public SmartImplementation {
  SMART_CLASS(BitBucket)
 public:
  BitBucket() = default;
  void Write(const void*, std::uint32_t) override {}
  void Read(void* buffer, std::uint32_t length) override;
  bool IsWritable() override { return true; }
  std::uint32_t Seek(std::int32_t, int) override { return 0; }
  std::uint32_t GetPosition() override { return 0; }
  std::uint32_t GetLength() override { return 0; }
  void SetLength(std::uint32_t) override {}
};

// The one shared bit bucket (permanent).
BitBucket* gBitBucket();

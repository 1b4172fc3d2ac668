// Resizable byte blocks, and the list of caches that could give memory back.
#pragma once

#include <cstddef>
#include <cstdint>

class Stream;

// A plain resizable block of bytes. When the block has no data its size is 0.
class Memory {
 public:
  Memory() = default;
  explicit Memory(std::uint32_t size);
  Memory(const Memory& other);
  Memory& operator=(const Memory& other) = delete;
  virtual ~Memory();

  void Assign(const Memory& other);
  // Takes over the other block's bytes, leaving it empty.
  void TakeFrom(Memory& other);
  unsigned char* GetData() const { return data; }
  std::uint32_t GetSize() const { return size; }
  // Resizes the block, keeping the bytes both sizes share. When the allocation fails the block keeps its
  // old bytes and size, and the failure is raised.
  virtual void SetSize(std::uint32_t newSize);
  void Lock() { ++lockCount; }
  void Unlock() {
    if (lockCount > 0) --lockCount;
  }
  std::uint32_t GetLockCount() const { return lockCount; }

 protected:
  void Resize(std::uint32_t newSize);
  void CheckInvariant() const;

 private:
  unsigned char* data = nullptr;
  std::uint32_t size = 0;
  std::uint32_t lockCount = 0;
};

// The item store of arrays: grows in steps of half its size (32 to 32000 bytes) and shrinks only by a
// whole step or more, so that repeated appends and removals cost few reallocations.
class GrowableMemory : public Memory {
 public:
  using Memory::Memory;
  void SetSize(std::uint32_t newSize) override;
};

void WriteMemoryBlock(const Memory& block, Stream& stream);
void ReadMemoryBlock(Memory& block, Stream& stream);

// A cache that could drop what it holds when memory runs short.
class Purgeable {
 public:
  virtual void Purge() = 0;

 protected:
  ~Purgeable() = default;
};
void RegisterPurgeable(Purgeable* cache);
void UnregisterPurgeable(Purgeable* cache);
bool IsRegisteredPurgeable(Purgeable* cache);

// The memory the program may still take, in bytes.
std::size_t AvailableMemory();

#include "core/Memory.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/Archive.h"
#include "core/CoreState.h"
#include "core/Exception.h"
#include "core/GenericArray.h"
#include "core/Stream.h"
#include "platform/kernel/System.h"

namespace {

unsigned char* Allocate(std::uint32_t size) {
  const std::uint32_t limit = TheCoreState().allocationLimit;
  if (limit != 0 && size > limit) return nullptr;
  return static_cast<unsigned char*>(std::malloc(size));
}

GenericArray& PurgeableList() {
  static GenericArray* list = NewPermanent<GenericArray>(sizeof(Purgeable*), 0);
  return *list;
}

}  // namespace

Memory::Memory(std::uint32_t initialSize) {
  if (initialSize == 0) return;
  data = Allocate(initialSize);
  if (data == nullptr) AssertFailed("memorySize == 0", __FILE__, __LINE__);
  size = initialSize;
}

Memory::Memory(const Memory& other) : Memory() { Assign(other); }

Memory::~Memory() { std::free(data); }

void Memory::Assign(const Memory& other) {
  if (data != nullptr && data == other.data) return;
  unsigned char* copy = nullptr;
  if (other.size > 0) {
    copy = Allocate(other.size);
    if (copy == nullptr) AssertFailed("memorySize == 0", __FILE__, __LINE__);
    std::memcpy(copy, other.data, other.size);
  }
  std::free(data);
  data = copy;
  size = other.size;
  lockCount = 0;
}

void Memory::TakeFrom(Memory& other) {
  if (data != nullptr && data == other.data) return;
  std::free(data);
  data = other.data;
  size = other.size;
  lockCount = 0;
  other.data = nullptr;
  other.size = 0;
  other.lockCount = 0;
}

void Memory::SetSize(std::uint32_t newSize) { Resize(newSize); }

void Memory::Resize(std::uint32_t newSize) {
  if (newSize == size) return;
  if (newSize == 0) {
    std::free(data);
    data = nullptr;
  } else {
    unsigned char* grown = Allocate(newSize);
    if (grown == nullptr) AssertFailed("memorySize == 0", __FILE__, __LINE__);  // the old block stays whole
    if (data) std::memcpy(grown, data, std::min(size, newSize));
    std::free(data);
    data = grown;
  }
  size = newSize;
  CheckInvariant();
}

void Memory::CheckInvariant() const {
  if (data == nullptr && size != 0) AssertFailed("memorySize == 0", __FILE__, __LINE__);
}

void GrowableMemory::SetSize(std::uint32_t newSize) {
  const std::uint32_t current = GetSize();
  const std::int64_t difference = static_cast<std::int64_t>(newSize) - current;
  if (difference == 0) return;
  const std::int64_t step = std::clamp<std::int64_t>(current / 2, 32, 32000);
  if (difference <= -step) {
    Resize(newSize);
  } else if (difference < 0) {
    // a small shrink keeps the block
  } else if (difference < step) {
    Resize(static_cast<std::uint32_t>(std::min<std::int64_t>(current + step, UINT32_MAX)));
  } else {
    Resize(newSize);
  }
}

void WriteMemoryBlock(const Memory& block, Stream& stream) {
  stream.WriteLong(static_cast<std::int32_t>(block.GetSize()));
  stream.Write(block.GetData(), block.GetSize());
}

void ReadMemoryBlock(Memory& block, Stream& stream) {
  const std::int32_t size = stream.ReadLong();
  // A damaged size must not make the program allocate what the stream cannot hold.
  CheckStoredCount(&stream, size, 1);
  block.SetSize(static_cast<std::uint32_t>(size));
  stream.Read(block.GetData(), static_cast<std::uint32_t>(size));
}

void RegisterPurgeable(Purgeable* cache) {
  PurgeableList().Insert(&cache, PurgeableList().NumItems(), 1);
}

void UnregisterPurgeable(Purgeable* cache) {
  if (const std::int32_t position = PurgeableList().Find(&cache)) PurgeableList().Delete(position, 1);
}

bool IsRegisteredPurgeable(Purgeable* cache) { return PurgeableList().Find(&cache) != 0; }

std::size_t AvailableMemory() {
  MEMORYSTATUS status;
  GlobalMemoryStatus(&status);
  return status.dwAvailVirtual;
}


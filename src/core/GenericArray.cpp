#include "core/GenericArray.h"

#include <cstring>

#include "core/Exception.h"
#include "core/Stream.h"

SMART_DEFINE(GenericArray, "GenericArray", nullptr, nullptr, Persistent)

const PersistentType GenericArray::persistentType(&GenericArray::classInfo, MakeVersion(0), MakeVersion(1), nullptr);

namespace {
[[noreturn]] void RangeError(int line) { ThrowError("Range error", __FILE__, line); }
}  // namespace

GenericArray::GenericArray(std::uint32_t itemSize, std::int32_t initialCount) : itemSize(itemSize) {
  if (initialCount > 0) Insert(nullptr, 0, initialCount);
}

GenericArray::GenericArray(const GenericArray& other)
    : Smart(), Persistent(other), SmartImplementation(other), itemSize(other.itemSize) {
  Assign(other);
}

GenericArray::GenericArray(std::uint32_t itemSize, ArchiveBlock& block) : itemSize(itemSize) {
  Stream* stream = block.GetStream();
  const std::int32_t stored = stream->ReadLong();
  if (stored == 0) return;
  // The count comes from a file: it must describe bytes the stream really holds before anything is
  // allocated for it.
  CheckStoredCount(stream, stored, itemSize);
  Grow(stored);
  stream->Read(items.GetData(), static_cast<std::uint32_t>(stored) * itemSize);
}

void GenericArray::Write(Archive* archive) {
  ArchiveBlock block(archive, &persistentType);
  WriteBody(block);
}

void GenericArray::WriteBody(ArchiveBlock& block) {
  Lock();
  try {
    if (!block.IsSkipping()) {
      Stream* stream = block.GetStream();
      stream->WriteLong(count);
      stream->Write(items.GetData(), static_cast<std::uint32_t>(count) * itemSize);
    }
    block.Close();
  } catch (...) {
    Unlock();
    throw;
  }
  Unlock();
}

void GenericArray::CheckPosition(std::int32_t n) const {
  if (n < 1 || n > count) RangeError(__LINE__);
}

void GenericArray::CheckRange(std::int32_t from, std::int32_t n) const {
  const std::int64_t last = std::int64_t{from} + n - 1;
  if (from < 1 || from > count || last < 1 || last > count) RangeError(__LINE__);
}

void GenericArray::CheckInsertionPoint(std::int32_t after) const {
  if (after != 0 && (after < 1 || after > count)) RangeError(__LINE__);
}

void* GenericArray::At(std::int32_t n) const {
  CheckPosition(n);
  return ItemAddress(n);
}

void GenericArray::Grow(std::int32_t n) {
  if (lockCount != 0) AssertFailed("lockCount == 0", __FILE__, __LINE__);
  const std::int64_t newCount = std::int64_t{count} + n;
  const std::uint64_t bytes = static_cast<std::uint64_t>(newCount) * itemSize;
  if (newCount < 0 || bytes > UINT32_MAX) RangeError(__LINE__);
  items.SetSize(static_cast<std::uint32_t>(bytes));
  count = static_cast<std::int32_t>(newCount);
}

// Moves the items from position `from` to the last so that the first of them lands at `to`.
void GenericArray::MoveItems(std::int32_t from, std::int32_t to) {
  if (from == to || from > count) return;
  if (items.GetData() == nullptr) AssertFailed("(void*)items != NULL", __FILE__, __LINE__);
  const std::size_t moved = static_cast<std::size_t>(count - from + 1) * itemSize;
  std::memmove(ItemAddress(to), ItemAddress(from), moved);
}

void GenericArray::Insert(const void* buffer, std::int32_t after, std::int32_t n) {
  if (n == 0) return;
  if (n < 0) RangeError(__LINE__);
  CheckInsertionPoint(after);
  const std::int32_t oldCount = count;
  Grow(n);
  // Move the tail (which Grow left in place) up by n.
  if (after < oldCount) {
    std::memmove(ItemAddress(after + 1 + n), ItemAddress(after + 1), static_cast<std::size_t>(oldCount - after) * itemSize);
  }
  void* first = ItemAddress(after + 1);
  const std::size_t bytes = static_cast<std::size_t>(n) * itemSize;
  if (buffer) std::memcpy(first, buffer, bytes);
  else std::memset(first, 0, bytes);
}

void GenericArray::InsertCopies(const void* item, std::int32_t after, std::int32_t n) {
  if (n == 0) return;
  Insert(nullptr, after, n);
  if (item) Fill(item, after + 1, n);
}

void GenericArray::Fill(const void* item, std::int32_t from, std::int32_t n) {
  if (n == 0) return;
  CheckRange(from, n);
  for (std::int32_t i = 0; i < n; ++i) {
    if (item) std::memcpy(ItemAddress(from + i), item, itemSize);
    else std::memset(ItemAddress(from + i), 0, itemSize);
  }
}

void GenericArray::Delete(std::int32_t from, std::int32_t n) {
  if (n == 0) return;
  CheckRange(from, n);
  if (lockCount != 0) AssertFailed("lockCount == 0", __FILE__, __LINE__);
  MoveItems(from + n, from);
  Grow(-n);
}

void GenericArray::RemoveAll() {
  if (lockCount != 0) AssertFailed("lockCount == 0", __FILE__, __LINE__);
  count = 0;
  items.SetSize(0);
}

std::int32_t GenericArray::Find(const void* item) const {
  for (std::int32_t n = 1; n <= count; ++n) {
    const void* candidate = ItemAddress(n);
    bool equal;
    switch (itemSize) {
      case 1: equal = *static_cast<const std::uint8_t*>(candidate) == *static_cast<const std::uint8_t*>(item); break;
      case 2: {
        std::uint16_t a, b;
        std::memcpy(&a, candidate, 2);
        std::memcpy(&b, item, 2);
        equal = a == b;
        break;
      }
      case 4: {
        std::uint32_t a, b;
        std::memcpy(&a, candidate, 4);
        std::memcpy(&b, item, 4);
        equal = a == b;
        break;
      }
      default: equal = std::memcmp(candidate, item, itemSize) == 0;
    }
    if (equal) return n;
  }
  return 0;
}

bool GenericArray::Equals(const GenericArray& other) const {
  if (count != other.count || itemSize != other.itemSize) return false;
  return count == 0 || std::memcmp(items.GetData(), other.items.GetData(), static_cast<std::size_t>(count) * itemSize) == 0;
}

void GenericArray::Assign(const GenericArray& other) {
  if (&other == this) return;
  // The items are copied as bytes: of another size they would be read past the other's end.
  if (itemSize != other.itemSize) AssertFailed("itemSize == other.itemSize", __FILE__, __LINE__);
  Grow(other.count - count);
  if (count) std::memcpy(items.GetData(), other.items.GetData(), static_cast<std::size_t>(count) * itemSize);
}

void GenericArray::Lock() {
  if (lockCount++ == 0) items.Lock();
}

void GenericArray::Unlock() {
  if (lockCount == 0) return;
  if (--lockCount == 0) items.Unlock();
}

ArrayRange::ArrayRange(GenericArray& array) : array(array) {
  array.Lock();
  if (array.NumItems() > 0) {
    first = array.ItemAddress(1);
    last = array.ItemAddress(array.NumItems());
  }
}

// Arrays of fixed-size plain items with 1-based positions, range checks and a stored form.
#pragma once

#include <cstdint>

#include "core/Archive.h"
#include "core/Memory.h"
#include "core/Smart.h"

class GenericArray : public Persistent, public SmartImplementation {
  SMART_CLASS(GenericArray)
 public:
  static const PersistentType persistentType;

  GenericArray(std::uint32_t itemSize, std::int32_t initialCount);
  GenericArray(const GenericArray& other);
  // Reads the stored form (a count, then the item bytes) from the block's stream.
  GenericArray(std::uint32_t itemSize, ArchiveBlock& block);
  GenericArray& operator=(const GenericArray& other) {
    Assign(other);
    return *this;
  }

  void Write(Archive* archive) override;
  const PersistentType* GetPersistentType() const override { return &persistentType; }
  std::size_t GetMemorySize() const override { return SmartImplementation::GetMemorySize() + items.GetSize(); }
  // The count and the item bytes (unless the block skips); closes the block. Item bytes are stored as
  // they lie in memory, never swapped.
  void WriteBody(ArchiveBlock& block);

  std::int32_t NumItems() const { return count; }
  std::uint32_t GetItemSize() const { return itemSize; }
  void* At(std::int32_t n) const;
  void Insert(const void* buffer, std::int32_t after, std::int32_t n);
  void InsertCopies(const void* item, std::int32_t after, std::int32_t n);
  void Fill(const void* item, std::int32_t from, std::int32_t n);
  void Delete(std::int32_t from, std::int32_t n);
  void RemoveAll();
  std::int32_t Find(const void* item) const;
  bool Equals(const GenericArray& other) const;
  void Assign(const GenericArray& other);
  void Lock();
  void Unlock();
  std::uint32_t GetLockCount() const { return lockCount; }
  void* ItemAddress(std::int32_t n) const {
    return items.GetData() + static_cast<std::size_t>(n - 1) * itemSize;
  }

 private:
  void CheckPosition(std::int32_t n) const;
  void CheckRange(std::int32_t from, std::int32_t n) const;
  void CheckInsertionPoint(std::int32_t after) const;
  void Grow(std::int32_t n);
  void MoveItems(std::int32_t from, std::int32_t to);

  GrowableMemory items;
  std::uint32_t itemSize;
  std::int32_t count = 0;
  std::uint32_t lockCount = 0;
};

// Holds the array locked while items are reached through pointers.
class ArrayIterator {
 public:
  explicit ArrayIterator(GenericArray& array) : array(array) { array.Lock(); }
  ~ArrayIterator() { array.Unlock(); }
  ArrayIterator(const ArrayIterator&) = delete;
  ArrayIterator& operator=(const ArrayIterator&) = delete;
  // The address of item n, or null outside 1..count.
  void* At(std::int32_t n) const {
    return (n >= 1 && n <= array.NumItems()) ? array.ItemAddress(n) : nullptr;
  }

 private:
  GenericArray& array;
};

// The first and last items of a locked array; the first is null when the array is empty.
class ArrayRange {
 public:
  explicit ArrayRange(GenericArray& array);
  ~ArrayRange() { array.Unlock(); }
  ArrayRange(const ArrayRange&) = delete;
  ArrayRange& operator=(const ArrayRange&) = delete;
  void* First() const { return first; }
  void* Last() const { return last; }

 private:
  GenericArray& array;
  void* first = nullptr;
  void* last = nullptr;
};

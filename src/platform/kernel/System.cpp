#include "platform/kernel/System.h"

#include <sys/sysinfo.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <unordered_set>

#include "platform/kernel/Errors.h"

namespace {

std::function<DWORD()>& TestClock() {
  static std::function<DWORD()> clock;
  return clock;
}

// While a test clock runs, the date follows it: the real date at the first question, advanced by what the
// test clock has moved since then, so that waits measured in dates see the test's time pass.
struct DateAnchor {
  bool set = false;
  timespec real{};
  DWORD tick = 0;
};

DateAnchor& TestDateAnchor() {
  static DateAnchor anchor;
  return anchor;
}

timespec CurrentDate() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  if (!TestClock()) return now;
  DateAnchor& anchor = TestDateAnchor();
  const DWORD tick = TestClock()();
  if (!anchor.set) anchor = {true, now, tick};
  const std::int64_t elapsed = static_cast<DWORD>(tick - anchor.tick);
  const std::int64_t nanoseconds = anchor.real.tv_nsec + elapsed % 1000 * 1000000;
  timespec date{};
  date.tv_sec = anchor.real.tv_sec + static_cast<time_t>(elapsed / 1000 + nanoseconds / 1000000000);
  date.tv_nsec = static_cast<long>(nanoseconds % 1000000000);
  return date;
}

std::optional<SIZE_T>& TestAvailableMemory() {
  static std::optional<SIZE_T> bytes;
  return bytes;
}

// A global block: the handle is the address of this header, the bytes follow it.
struct GlobalBlock {
  static constexpr DWORD kMagic = 0x474C4F42;  // 'GLOB'
  DWORD magic;
  UINT lockCount;
  SIZE_T size;
  alignas(std::max_align_t) unsigned char bytes[1];
};

// The blocks alive now: a handle freed already, or one that never was a block (a drawing object's, say),
// is refused before anything is read through it.
std::unordered_set<const void*>& LiveBlocks() {
  static std::unordered_set<const void*> blocks;
  return blocks;
}

GlobalBlock* BlockOf(HGLOBAL handle) {
  auto* block = static_cast<GlobalBlock*>(handle);
  if (block == nullptr || LiveBlocks().count(block) == 0 || block->magic != GlobalBlock::kMagic) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return block;
}

GlobalBlock* AllocateBlock(SIZE_T bytes) {
  if (bytes > std::numeric_limits<SIZE_T>::max() - sizeof(GlobalBlock)) return nullptr;
  return static_cast<GlobalBlock*>(std::malloc(sizeof(GlobalBlock) + bytes));
}

}  // namespace

DWORD GetTickCount() {
  if (TestClock()) return TestClock()();
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<DWORD>(ms);
}

void Sleep(DWORD milliseconds) {
  timespec delay{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&delay, &delay) != 0) {
  }
}

void GetSystemTime(SYSTEMTIME* time) {
  const timespec now = CurrentDate();
  tm parts{};
  gmtime_r(&now.tv_sec, &parts);
  time->wYear = static_cast<WORD>(parts.tm_year + 1900);
  time->wMonth = static_cast<WORD>(parts.tm_mon + 1);
  time->wDayOfWeek = static_cast<WORD>(parts.tm_wday);
  time->wDay = static_cast<WORD>(parts.tm_mday);
  time->wHour = static_cast<WORD>(parts.tm_hour);
  time->wMinute = static_cast<WORD>(parts.tm_min);
  time->wSecond = static_cast<WORD>(parts.tm_sec);
  time->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000L);
}

void ExitProcess(UINT code) { std::exit(static_cast<int>(code & 0xFFFF)); }

void GlobalMemoryStatus(MEMORYSTATUS* status) {
  std::memset(status, 0, sizeof *status);
  status->dwLength = sizeof *status;
  struct sysinfo info {};
  if (sysinfo(&info) == 0) {
    const SIZE_T unit = info.mem_unit ? info.mem_unit : 1;
    status->dwTotalPhys = info.totalram * unit;
    status->dwAvailPhys = (info.freeram + info.bufferram) * unit;
    status->dwTotalPageFile = (info.totalram + info.totalswap) * unit;
    status->dwAvailPageFile = (info.freeram + info.bufferram + info.freeswap) * unit;
    status->dwMemoryLoad =
        status->dwTotalPhys ? static_cast<DWORD>(100 - status->dwAvailPhys * 100 / status->dwTotalPhys) : 0;
  }
  // The program was made for a 2 GB address space; what it may still take is bounded by that and by RAM.
  constexpr SIZE_T kAddressSpace = 0x7FFE0000;
  status->dwTotalVirtual = kAddressSpace;
  status->dwAvailVirtual = status->dwAvailPhys < kAddressSpace ? status->dwAvailPhys : kAddressSpace;
  if (TestAvailableMemory()) status->dwAvailVirtual = *TestAvailableMemory();
}

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  GlobalBlock* block = AllocateBlock(bytes);
  if (block == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  block->magic = GlobalBlock::kMagic;
  block->lockCount = 0;
  block->size = bytes;
  if (flags & GMEM_ZEROINIT) std::memset(block->bytes, 0, bytes);
  LiveBlocks().insert(block);
  return block;
}

HGLOBAL GlobalReAlloc(HGLOBAL handle, SIZE_T bytes, UINT flags) {
  GlobalBlock* block = BlockOf(handle);
  if (block == nullptr) return nullptr;
  if (block->lockCount > 0 && !(flags & GMEM_MOVEABLE)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  const SIZE_T old = block->size;
  if (bytes > std::numeric_limits<SIZE_T>::max() - sizeof(GlobalBlock)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  const auto oldAddress = reinterpret_cast<std::uintptr_t>(block);
  auto* grown = static_cast<GlobalBlock*>(std::realloc(block, sizeof(GlobalBlock) + bytes));
  if (grown == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;  // the old block stays valid, as the caller expects
  }
  LiveBlocks().erase(reinterpret_cast<const void*>(oldAddress));
  LiveBlocks().insert(grown);
  grown->size = bytes;
  if ((flags & GMEM_ZEROINIT) && bytes > old) std::memset(grown->bytes + old, 0, bytes - old);
  return grown;
}

LPVOID GlobalLock(HGLOBAL handle) {
  GlobalBlock* block = BlockOf(handle);
  if (block == nullptr) return nullptr;
  ++block->lockCount;
  return block->bytes;
}

BOOL GlobalUnlock(HGLOBAL handle) {
  GlobalBlock* block = BlockOf(handle);
  if (block == nullptr || block->lockCount == 0) return FALSE;
  return --block->lockCount > 0;
}

SIZE_T GlobalSize(HGLOBAL handle) {
  GlobalBlock* block = BlockOf(handle);
  return block ? block->size : 0;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
  if (handle == nullptr) return nullptr;
  GlobalBlock* block = BlockOf(handle);
  if (block == nullptr) return handle;
  block->magic = 0;
  LiveBlocks().erase(block);
  std::free(block);
  return nullptr;
}

namespace platform {
void SetClockForTesting(std::function<DWORD()> clock) {
  TestClock() = std::move(clock);
  TestDateAnchor() = {};
}
void SetAvailableMemoryForTesting(std::optional<SIZE_T> bytes) { TestAvailableMemory() = bytes; }
}  // namespace platform

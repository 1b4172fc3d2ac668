// Time, memory and process services of the system layer.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>

#include "platform/kernel/WinTypes.h"

// Milliseconds since an arbitrary start, in 32 bits that wrap about every 49.7 days.
DWORD GetTickCount();
void Sleep(DWORD milliseconds);
// The current time in UTC, to the millisecond.
void GetSystemTime(SYSTEMTIME* time);
[[noreturn]] void ExitProcess(UINT code);

struct MEMORYSTATUS {
  DWORD dwLength;
  DWORD dwMemoryLoad;
  SIZE_T dwTotalPhys;
  SIZE_T dwAvailPhys;
  SIZE_T dwTotalPageFile;
  SIZE_T dwAvailPageFile;
  SIZE_T dwTotalVirtual;
  SIZE_T dwAvailVirtual;
};
void GlobalMemoryStatus(MEMORYSTATUS* status);

// Global memory blocks: the currency of the clipboard and of device-independent pictures.
enum : UINT {
  GMEM_FIXED = 0x0000,
  GMEM_MOVEABLE = 0x0002,
  GMEM_ZEROINIT = 0x0040,
  GMEM_DDESHARE = 0x2000,
  GHND = GMEM_MOVEABLE | GMEM_ZEROINIT,
  GPTR = GMEM_FIXED | GMEM_ZEROINIT,
};
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
LPVOID GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
SIZE_T GlobalSize(HGLOBAL block);
HGLOBAL GlobalFree(HGLOBAL block);

namespace platform {
// Replaces the millisecond clock behind GetTickCount (and every timer built on it), and moves the date
// GetSystemTime gives with it; an empty function restores the real clock. Tests drive time with it.
void SetClockForTesting(std::function<DWORD()> clock);
// Makes GlobalMemoryStatus report the given available virtual memory; nullopt restores the real figure.
void SetAvailableMemoryForTesting(std::optional<SIZE_T> bytes);
}  // namespace platform

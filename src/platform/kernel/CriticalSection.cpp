#include "platform/kernel/CriticalSection.h"

#include <mutex>

namespace {

std::recursive_mutex& LockOf(CRITICAL_SECTION* section) { return *static_cast<std::recursive_mutex*>(section->lock); }

}  // namespace

void InitializeCriticalSection(CRITICAL_SECTION* section) {
  section->lock = new std::recursive_mutex;
  section->RecursionCount = 0;
}

void DeleteCriticalSection(CRITICAL_SECTION* section) {
  delete static_cast<std::recursive_mutex*>(section->lock);
  section->lock = nullptr;
  section->RecursionCount = 0;
}

void EnterCriticalSection(CRITICAL_SECTION* section) {
  LockOf(section).lock();
  ++section->RecursionCount;
}

BOOL TryEnterCriticalSection(CRITICAL_SECTION* section) {
  if (!LockOf(section).try_lock()) return FALSE;
  ++section->RecursionCount;
  return TRUE;
}

void LeaveCriticalSection(CRITICAL_SECTION* section) {
  // Leaving a section this thread does not hold is the caller's fault; the count must not go negative.
  if (section->RecursionCount == 0) return;
  --section->RecursionCount;
  LockOf(section).unlock();
}

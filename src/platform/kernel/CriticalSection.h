// The one lock the program takes: a critical section, which the thread that holds it may enter again.
#pragma once

#include "platform/kernel/WinTypes.h"

struct CRITICAL_SECTION {
  void* lock;           // the lock itself, made by InitializeCriticalSection
  LONG RecursionCount;  // how often the owner has entered it
};

void InitializeCriticalSection(CRITICAL_SECTION* section);
void DeleteCriticalSection(CRITICAL_SECTION* section);
// Waits while another thread holds the section; the holder enters again at once.
void EnterCriticalSection(CRITICAL_SECTION* section);
BOOL TryEnterCriticalSection(CRITICAL_SECTION* section);
void LeaveCriticalSection(CRITICAL_SECTION* section);

#include "core/Utilities.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "core/CoreState.h"
#include "platform/kernel/System.h"
#include "platform/user/KeyState.h"

void SetMin(int* value, int candidate) {
  if (candidate < *value) *value = candidate;
}

int SetMax(int* value, int candidate) {
  if (candidate > *value) *value = candidate;
  return candidate;
}

bool MemEqual(const void* a, const void* b, std::size_t length) {
  return length == 0 || std::memcmp(a, b, length) == 0;
}

void ZeroBytes(void* buffer, std::size_t length) {
  if (buffer && length) std::memset(buffer, 0, length);
}

void CopyBytes(const void* source, void* destination, std::size_t length) {
  if (length == 0 || source == nullptr || destination == nullptr) return;
  std::memmove(destination, source, length);
}

std::size_t TextLength(const char* text) { return text ? std::strlen(text) : 0; }

void CopyBounded(const char* source, char* destination, std::size_t size) {
  if (destination == nullptr || size == 0) return;
  const std::size_t length = source ? strnlen(source, size - 1) : 0;
  if (length) std::memmove(destination, source, length);
  destination[length] = '\0';
}

void AppendBounded(char* destination, const char* source, std::size_t size) {
  if (destination == nullptr || size == 0) return;
  const std::size_t present = strnlen(destination, size - 1);
  CopyBounded(source, destination + present, size - present);
}

bool IntToText(int value, char* buffer, std::size_t size) {
  char text[16];
  const int length = std::snprintf(text, sizeof text, "%d", value);
  CopyBounded(text, buffer, size);
  return static_cast<std::size_t>(length) < size;
}

bool TextToInt(const char* text, int* value) {
  *value = 0;
  if (text == nullptr) return false;
  const char* p = text;
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
  std::int64_t magnitude = 0;
  for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > INT32_MAX + std::int64_t{1}) return false;
  }
  const std::int64_t result = negative ? -magnitude : magnitude;
  if (result > INT32_MAX) return false;
  *value = static_cast<int>(result);
  return true;
}

void Delay(DWORD milliseconds) { WaitUntilTick(GetTickCount() + milliseconds); }

void WaitUntilTick(DWORD tick) {
  while (static_cast<std::int32_t>(tick - GetTickCount()) > 0) {
  }
}

bool IsMouseButtonDown() { return GetKeyState(VK_LBUTTON) < 0; }

void GetModifierKeys(int* keys) {
  *keys = (GetKeyState(VK_CONTROL) < 0 ? 4 : 0) + (GetKeyState(VK_SHIFT) < 0 ? 1 : 0);
}

void ExitProgram(int code) { ExitProcess(static_cast<UINT>(code) & 0xFFFF); }

int Random(std::int16_t lo, std::int16_t hi) {
  if (lo >= hi) return lo;
  CoreState& state = TheCoreState();
  if (!state.randomSeeded) {
    SYSTEMTIME now;
    GetSystemTime(&now);
    state.randomState = ((static_cast<std::uint32_t>(now.wSecond) << 16) + now.wMilliseconds) ^ GetTickCount();
    state.randomSeeded = true;
  }
  state.randomState = state.randomState * 2147001325u + 715136305u;
  const int span = hi - lo + 1;
  return lo + static_cast<int>((state.randomState & 0xFFFF) % static_cast<std::uint32_t>(span));
}

int Round(double x) { return static_cast<int>(x >= 0 ? x + 0.5 : x - 0.5); }

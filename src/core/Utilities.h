// Small portable helpers used instead of the C library or the system directly.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/kernel/WinTypes.h"

void SetMin(int* value, int candidate);
int SetMax(int* value, int candidate);
bool MemEqual(const void* a, const void* b, std::size_t length);
void ZeroBytes(void* buffer, std::size_t length);
// Copies length bytes; the ranges may overlap. Nothing for a length of 0 or a null pointer.
void CopyBytes(const void* source, void* destination, std::size_t length);
std::size_t TextLength(const char* text);
// The destination always ends up terminated, holding at most size - 1 characters.
void CopyBounded(const char* source, char* destination, std::size_t size);
void AppendBounded(char* destination, const char* source, std::size_t size);
// Decimal text of the value, cut to fit; true when it fitted whole.
bool IntToText(int value, char* buffer, std::size_t size);
// The decimal value of the text's leading digits (after blanks and a sign). False, with 0, when the text
// has no digits or its value does not fit in 32 bits.
bool TextToInt(const char* text, int* value);
void Delay(DWORD milliseconds);
// Waits while the tick is still ahead; correct across the wrap of the 32-bit tick count.
void WaitUntilTick(DWORD tick);
bool IsMouseButtonDown();
// 4 when Ctrl is down, plus 1 when Shift is down.
void GetModifierKeys(int* keys);
[[noreturn]] void ExitProgram(int code);
// A pseudo-random number in lo..hi inclusive; lo when lo >= hi.
int Random(std::int16_t lo, std::int16_t hi);
// Halves round away from zero.
int Round(double x);

// The engine's memory guard: the start-up check that the machine has memory enough for the display depth,
// the budget that follows from the depth with a reserve block of that size, and the shared memory level
// that page drawing raises around its off-screen work.
#pragma once

#include <cstdint>

#include "core/Memory.h"

// 1,000,000 bytes + 192,000 per bit of the screen's pixels, once the start-up check has run; 0 before.
extern std::uint32_t gMemoryBudget;

class CMemory {
 public:
  static constexpr std::size_t kLeastMemory = 2000000;

  // Runs once per process: too little memory stops the program (false), memory short of the budget asks
  // the user whether to go on. Later calls answer true.
  static bool CheckStartupMemory();
  // The one guard, made at the first call after the start-up check; a failed check raises
  // UserCancelException instead.
  static CMemory& Get();

  std::int16_t GetLevel() const { return level; }
  // Answers whether the new level is within the threshold.
  bool SetLevel(std::int16_t n);
  bool IsAboveThreshold() const { return level > threshold; }
  void SetModes(bool bit0, bool bit1);
  std::uint8_t GetModes() const { return modes; }
  // Brings the reserve to the budget (as much of it as memory allows); false when it is already there.
  bool RefillReserve();
  std::uint32_t GetReserveSize() const { return reserve.GetSize(); }

 private:
  CMemory() = default;

  Memory reserve;
  std::uint8_t modes = 0;
  std::int16_t level = 0;
  std::int16_t threshold = 3;
};

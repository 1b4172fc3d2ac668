#include "sound/files/ExtendedRate.h"

#include <bit>

namespace {
constexpr std::uint16_t kBias = 0x3FFF;
}  // namespace

ExtendedRate EncodeRate(std::uint32_t rate) {
  if (rate == 22254) return {0x400D, 0xADDD174600000000};
  if (rate == 11127) return {0x400C, 0xADDD174400000000};
  if (rate == 0) return {};
  const int top = std::bit_width(rate) - 1;
  return {static_cast<std::uint16_t>(kBias + top), std::uint64_t{rate} << (63 - top)};
}

std::uint32_t DecodeRate(const ExtendedRate& rate) {
  if (rate.exponent & 0x8000) return 0;
  if (rate.exponent < kBias || rate.mantissa == 0) return 0;
  const int shift = rate.exponent - kBias;
  if (shift > 31) return 0;
  return static_cast<std::uint32_t>(rate.mantissa >> (63 - shift));
}

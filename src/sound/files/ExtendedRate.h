// The sample rate of AIFF files: an 80-bit extended number, a 16-bit sign and exponent and a 64-bit
// mantissa with its leading 1 written out.
#pragma once

#include <cstdint>

struct ExtendedRate {
  std::uint16_t exponent = 0;
  std::uint64_t mantissa = 0;
};

// 22254 and 11127 stand for the Macintosh rates 22254.545 and 11127.27 Hz and are written as those.
ExtendedRate EncodeRate(std::uint32_t rate);
// Whole hertz, the fraction dropped; 0 for a rate below 1 Hz, negative or beyond 32 bits.
std::uint32_t DecodeRate(const ExtendedRate& rate);

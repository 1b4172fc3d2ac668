// Colours (16 bits a channel, with a flag word that marks the transparent colour) and 8x8 one-bit
// patterns, with the standard tables every part of the program picks from by index.
#pragma once

#include <array>
#include <cstdint>

#include "platform/kernel/WinTypes.h"

class ArchiveBlock;

struct Color {
  std::uint16_t red = 0;
  std::uint16_t green = 0;
  std::uint16_t blue = 0;
  std::uint16_t flag = 0;  // 0xFFFF only in the transparent colour

  constexpr Color() = default;
  constexpr Color(std::uint16_t r, std::uint16_t g, std::uint16_t b, std::uint16_t f) : red(r), green(g), blue(b), flag(f) {}
  // The standard colour of that index (0..16).
  explicit Color(int whichColor);

  void Set(std::uint16_t r, std::uint16_t g, std::uint16_t b, std::uint16_t f);
  // Each 8-bit value v becomes v x 257.
  static Color FromRGB8(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t f = 0);
  // The same colour for drawing: the high bytes of all four words agree.
  bool SameAs8Bit(const Color& other) const;
  bool IsTransparent() const;
  void Read(ArchiveBlock& block);
  void Write(ArchiveBlock& block) const;
  friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr int numStandardColors = 17;
extern const std::array<Color, numStandardColors> standardColors;
inline constexpr int kTransparentColor = 13;

// The palette-relative colour value the drawing layer matches against the realised palette.
COLORREF MakeColorRef(const Color& color);

// Eight row bytes, row 0 first; the most significant bit is the leftmost pixel.
struct Pattern {
  std::array<std::uint8_t, 8> rows{};

  constexpr Pattern() = default;
  constexpr explicit Pattern(const std::array<std::uint8_t, 8>& bytes) : rows(bytes) {}
  // The standard pattern of that index (0..4).
  explicit Pattern(int pattern);

  void Read(ArchiveBlock& block);
  void Write(ArchiveBlock& block) const;
  friend bool operator==(const Pattern&, const Pattern&) = default;
};

inline constexpr int numStandardPatterns = 5;
extern const std::array<Pattern, numStandardPatterns> standardPatterns;

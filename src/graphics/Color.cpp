#include "graphics/Color.h"

#include "core/Archive.h"
#include "core/Exception.h"
#include "core/Stream.h"

// Duplicated entries are separate indices that other parts of the program pick by number.
const std::array<Color, numStandardColors> standardColors = {{
    {0xFFFF, 0xFFFF, 0xFFFF, 0},      {0, 0, 0, 0},           {0xE000, 0xE000, 0xE000, 0},
    {0xC000, 0xC000, 0xC000, 0},      {0x8000, 0x8000, 0x8000, 0}, {0x4000, 0x4000, 0x4000, 0},
    {0x2000, 0x2000, 0x2000, 0},      {0xFFFF, 0, 0, 0},      {0, 0xFFFF, 0, 0},
    {0, 0, 0xFFFF, 0},                {0xFFFF, 0xFFFF, 0, 0}, {0xFFFF, 0xFFFF, 0, 0},
    {0xFFFF, 0, 0xFFFF, 0},           {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}, {0xFFFF, 0, 0xFFFF, 0},
    {0xFFFF, 0xFFFF, 0xFFFF, 0},      {0, 0, 0, 0},
}};

const std::array<Pattern, numStandardPatterns> standardPatterns = {{
    Pattern({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}),
    Pattern({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}),
    Pattern({0x11, 0x44, 0x11, 0x44, 0x11, 0x44, 0x11, 0x44}),
    Pattern({0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}),
    Pattern({0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77}),
}};

Color::Color(int whichColor) {
  ASSERT(whichColor >= 0);
  ASSERT(whichColor < numStandardColors);
  *this = standardColors[static_cast<std::size_t>(whichColor)];
}

void Color::Set(std::uint16_t r, std::uint16_t g, std::uint16_t b, std::uint16_t f) {
  red = r;
  green = g;
  blue = b;
  flag = f;
}

Color Color::FromRGB8(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t f) {
  return {static_cast<std::uint16_t>(r * 257), static_cast<std::uint16_t>(g * 257), static_cast<std::uint16_t>(b * 257),
          static_cast<std::uint16_t>(f * 257)};
}

bool Color::SameAs8Bit(const Color& o) const {
  return (red >> 8) == (o.red >> 8) && (green >> 8) == (o.green >> 8) && (blue >> 8) == (o.blue >> 8) &&
         (flag >> 8) == (o.flag >> 8);
}

bool Color::IsTransparent() const { return SameAs8Bit(standardColors[kTransparentColor]); }

void Color::Read(ArchiveBlock& block) {
  Stream* stream = block.GetStream();
  red = static_cast<std::uint16_t>(stream->ReadShort());
  green = static_cast<std::uint16_t>(stream->ReadShort());
  blue = static_cast<std::uint16_t>(stream->ReadShort());
  flag = static_cast<std::uint16_t>(stream->ReadShort());
}

void Color::Write(ArchiveBlock& block) const {
  if (block.IsSkipping()) return;
  Stream* stream = block.GetStream();
  stream->WriteShort(static_cast<std::int16_t>(red)).WriteShort(static_cast<std::int16_t>(green));
  stream->WriteShort(static_cast<std::int16_t>(blue)).WriteShort(static_cast<std::int16_t>(flag));
}

COLORREF MakeColorRef(const Color& c) {
  return 0x02000000u | (static_cast<COLORREF>(c.blue >> 8) << 16) | (static_cast<COLORREF>(c.green >> 8) << 8) |
         static_cast<COLORREF>(c.red >> 8);
}

Pattern::Pattern(int pattern) {
  ASSERT(pattern >= 0);
  ASSERT(pattern < numStandardPatterns);
  *this = standardPatterns[static_cast<std::size_t>(pattern)];
}

void Pattern::Read(ArchiveBlock& block) {
  if (block.IsSkipping()) return;
  block.GetStream()->Read(rows.data(), 8);
}

void Pattern::Write(ArchiveBlock& block) const {
  if (block.IsSkipping()) return;
  block.GetStream()->Write(rows.data(), 8);
}

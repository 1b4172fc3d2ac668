// The program's text is bytes in the Windows-1252 code page; Linux speaks UTF-8. These conversions are
// used at the edge only: file names, text given to the font renderer, the system clipboard, logs, and
// (at compile time) the program's own French literals.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The code points of bytes 0x80..0x9F; the five bytes the code page leaves undefined map to the C1
// control of the same number, so that any byte string survives a round trip through UTF-8.
inline constexpr char32_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t Cp1252ToCodePoint(unsigned char byte) {
  return (byte >= 0x80 && byte < 0xA0) ? kCp1252High[byte - 0x80] : char32_t{byte};
}

// The byte of a code point, or -1 when the code page has no such character.
constexpr int CodePointToCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] == cp) return 0x80 + i;
  return -1;
}

// Decodes one UTF-8 sequence at text[pos]; advances pos. Malformed input yields U+FFFD and one byte.
constexpr char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  const int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
  if (extra == 0) {
    ++pos;
    return lead;
  }
  if (extra < 0 || pos + static_cast<std::size_t>(extra) >= text.size()) {
    ++pos;
    return 0xFFFD;
  }
  char32_t cp = extra == 1 ? (lead & 0x1F) : extra == 2 ? (lead & 0x0F) : (lead & 0x07);
  for (int i = 1; i <= extra; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + static_cast<std::size_t>(i)]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  pos += static_cast<std::size_t>(extra) + 1;
  return cp;
}

inline void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

inline std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (char c : text) AppendUtf8(out, Cp1252ToCodePoint(static_cast<unsigned char>(c)));
  return out;
}

// Characters the code page lacks become '?', as the system's own conversion does by default.
inline std::string Utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const int byte = CodePointToCp1252(DecodeUtf8(text, pos));
    out += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return out;
}

}  // namespace platform

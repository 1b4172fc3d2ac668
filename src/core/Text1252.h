// The program keeps its text as Windows-1252 bytes, while its sources are UTF-8. A literal written as
// "Été"_cp is converted when the program is compiled; a character the code page lacks does not compile.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/kernel/Codepage.h"

namespace text1252 {

template <std::size_t N>
struct Utf8Literal {
  char bytes[N]{};
  consteval Utf8Literal(const char (&text)[N]) {
    for (std::size_t i = 0; i < N; ++i) bytes[i] = text[i];
  }
};

template <std::size_t N>
struct Converted {
  char bytes[N]{};
  std::size_t length = 0;
};

template <std::size_t N>
consteval Converted<N> Convert(const Utf8Literal<N>& source) {
  Converted<N> out;
  const std::string_view text(source.bytes, N - 1);
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t cp = platform::DecodeUtf8(text, pos);
    const int byte = platform::CodePointToCp1252(cp);
    if (cp == 0xFFFD || byte < 0) throw "a character of this literal has no Windows-1252 byte";
    out.bytes[out.length++] = static_cast<char>(byte);
  }
  return out;
}

template <Utf8Literal S>
inline constexpr Converted<sizeof(S.bytes)> kConverted = Convert(S);

}  // namespace text1252

template <text1252::Utf8Literal S>
constexpr const char* operator""_cp() {
  return text1252::kConverted<S>.bytes;
}

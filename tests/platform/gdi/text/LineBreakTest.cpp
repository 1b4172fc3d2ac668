#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdi/text/LineBreak.h"

namespace {

using platform::text::BreakLines;
using platform::text::TextLine;

// Letters are 10 pixels wide and blanks 5, so that widths are easy to follow.
int Advance(unsigned char c) { return c == ' ' ? 5 : 10; }

std::vector<std::string> Lines(const std::string& text, int width) {
  std::vector<std::string> lines;
  for (const TextLine& line : BreakLines(text, width, Advance)) lines.push_back(text.substr(line.start, line.length));
  return lines;
}

TEST(LineBreak, BreaksAtLineEndsAndBlanks) {
  struct Case {
    const char* text;
    int width;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", -1, {""}},
      {"", 0, {""}},
      {"abc", -1, {"abc"}},
      {"aa bb cc dd", -1, {"aa bb cc dd"}},
      // CR, LF and CR LF each end a line; LF CR is two line ends.
      {"a\nb", -1, {"a", "b"}},
      {"a\rb", -1, {"a", "b"}},
      {"a\r\nb", -1, {"a", "b"}},
      {"a\n\rb", -1, {"a", "", "b"}},
      {"a\n", -1, {"a", ""}},
      {"\r\n", -1, {"", ""}},
      {"a\n\nb", 100, {"a", "", "b"}},
      // Words that fit share a line; a line may be exactly as wide as the box.
      {"aa bb cc", 45, {"aa bb", "cc"}},
      {"aa bb cc", 44, {"aa", "bb", "cc"}},
      {"aa bb cc", 70, {"aa bb cc"}},
      // A word wider than the box overflows a line of its own.
      {"aaaaaa bb", 30, {"aaaaaa", "bb"}},
      {"bb aaaaaa cc", 30, {"bb", "aaaaaa", "cc"}},
      {"aaaaaa", 0, {"aaaaaa"}},
      {"aa bb", 0, {"aa", "bb"}},
      // Blanks at a wrap are dropped; leading blanks are kept.
      {"aa   bb", 25, {"aa", "bb"}},
      {"  aa bb", 35, {"  aa", "bb"}},
      // Blanks that overflow before a line end leave no empty line behind.
      {"aa    \nbb", 25, {"aa", "bb"}},
      {"aa    \n", 25, {"aa", ""}},
      {"aa bb   ", 45, {"aa bb"}},
      // Wrapping and line ends together.
      {"aa bb\ncc dd ee", 45, {"aa bb", "cc dd", "ee"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Lines(c.text, c.width), c.lines) << '"' << c.text << "\" in " << c.width;
}

TEST(LineBreak, LinesCarryTheirPositionsAndWidths) {
  const std::vector<TextLine> expected = {{0, 5, 45}, {6, 2, 20}, {10, 2, 20}};
  EXPECT_EQ(BreakLines("aa bb cc\r\ndd", 45, Advance), expected);
}

TEST(LineBreak, WidthsStopAtTheLargestCoordinate) {
  const auto huge = [](unsigned char) { return 1 << 26; };
  const std::vector<TextLine> lines = BreakLines("aaaaaaaaaa b", (1 << 27) - 1, huge);
  const std::vector<TextLine> expected = {{0, 10, platform::text::kMaxTextCoordinate}, {11, 1, 1 << 26}};
  EXPECT_EQ(lines, expected);
}

}  // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "core/Text1252.h"
#include "platform/gdi/text/TextLayout.h"

namespace {

using namespace platform::text;

std::shared_ptr<RasterFont> Font(const char* face, LONG height, LONG weight = FW_NORMAL, bool italic = false) {
  LOGFONTA d{};
  d.lfHeight = height;
  d.lfWeight = weight;
  d.lfItalic = italic ? 1 : 0;
  std::strncpy(d.lfFaceName, face, LF_FACESIZE - 1);
  return RasterFont::Create(d);
}

struct Box {
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
  bool Empty() const { return left > right; }
  void Add(int y, int l, int r) {
    left = std::min(left, l);
    right = std::max(right, r);
    top = std::min(top, y);
    bottom = std::max(bottom, y + 1);
  }
};

// Every case is laid out (what measuring answers) and drawn line by line; each line's ink must lie in that
// line's cell band, every line with characters must show ink, and the ink must span the measured size.
TEST(TextLayout, WhatIsMeasuredIsWhatIsDrawn) {
  // The box is as wide as `fit` in each face, so that the same lines come out in all of them.
  struct Case {
    std::string text;
    std::string fit;
    UINT format;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"Été à l'école"_cp, "Été à l'école"_cp, DT_LEFT, {"Été à l'école"_cp}},
      {"Été à l'école"_cp, "Été à l'"_cp, DT_LEFT, {"Été à"_cp, "l'école"_cp}},
      {"Été à l'école"_cp, "Été à"_cp, DT_CENTER, {"Été à"_cp, "l'école"_cp}},
      {"Été à l'école"_cp, "Été"_cp, DT_RIGHT, {"Été"_cp, "à"_cp, "l'école"_cp}},
      {"Le chat dort.\r\nIl fait."_cp, "Le chat dort"_cp, DT_LEFT, {"Le chat", "dort.", "Il fait."}},
      {"Anticonstitutionnellement oui"_cp, "Anti"_cp, DT_CENTER, {"Anticonstitutionnellement", "oui"}},
      {"Un\n\nDeux"_cp, "Un Deux"_cp, DT_RIGHT, {"Un", "", "Deux"}},
      {"  retrait et fin   "_cp, "  retrait et"_cp, DT_LEFT, {"  retrait et", "fin   "}},
  };
  for (const char* face : {"Times New Roman", "Arial", "Courier New"}) {
    auto font = Font(face, -16);
    ASSERT_TRUE(font);
    for (const Case& c : cases) {
      const int width = font->Width(c.fit);
      const TextLayout layout = LayOutText(*font, c.text, 10, 20, width, true, c.format);
      std::vector<std::string> lines;
      for (const PlacedLine& placed : layout.lines) lines.push_back(c.text.substr(placed.line.start, placed.line.length));
      EXPECT_EQ(lines, c.lines) << face << ": " << c.text;
      EXPECT_EQ(layout.bottom - layout.top, static_cast<int>(layout.lines.size()) * font->Height());
      Box all;
      int inkRight = INT_MIN;  // the lines' right ends, less their trailing blanks
      for (const PlacedLine& placed : layout.lines) {
        const std::string_view line = std::string_view(c.text).substr(placed.line.start, placed.line.length);
        EXPECT_EQ(placed.line.width, font->Width(line));
        Box ink;
        RenderLine(*font, line, placed.x, placed.y, [&](int y, int l, int r) {
          ink.Add(y, l, r);
          all.Add(y, l, r);
        });
        const bool blank = line.find_first_not_of(' ') == std::string_view::npos;
        if (!blank) inkRight = std::max(inkRight, placed.x + font->Width(line.substr(0, line.find_last_not_of(' ') + 1)));
        ASSERT_EQ(ink.Empty(), blank) << face << ": [" << line << "]";
        if (blank) continue;
        EXPECT_GE(ink.top, placed.y) << face << ": " << line;
        EXPECT_LE(ink.bottom, placed.y + font->Height()) << face << ": " << line;
        EXPECT_GE(ink.left, placed.x - 1) << face << ": " << line;
        EXPECT_LE(ink.right, placed.x + placed.line.width + 1) << face << ": " << line;
        // A wrapped line fits in the box unless it is one word that cannot.
        if (line.find(' ') != std::string_view::npos) {
          EXPECT_LE(placed.line.width, width) << face << ": " << line;
        }
        if (c.format & DT_RIGHT) {
          EXPECT_EQ(placed.x + placed.line.width, 10 + width);
        } else if (c.format & DT_CENTER) {
          EXPECT_LE(std::abs((placed.x - 10) - (10 + width - placed.x - placed.line.width)), 1);
        } else {
          EXPECT_EQ(placed.x, 10);
        }
      }
      // The ink lies in the measured box and reaches to within a character of each of its sides (less the
      // blanks that end lines).
      EXPECT_GE(all.left, layout.left - 1) << face << ": " << c.text;
      EXPECT_LE(all.right, layout.right + 1) << face << ": " << c.text;
      EXPECT_LE(all.left - layout.left, font->Metrics().tmMaxCharWidth) << face << ": " << c.text;
      EXPECT_LE(inkRight - all.right, font->Metrics().tmMaxCharWidth) << face << ": " << c.text;
      EXPECT_GE(all.top, layout.top);
      EXPECT_LE(all.bottom, layout.bottom);
      EXPECT_LE(layout.bottom - all.bottom, font->Metrics().tmDescent) << face << ": " << c.text;
    }
  }
}

TEST(TextLayout, WithoutWrappingOnlyLineEndsBreak) {
  auto font = Font("Arial", -12);
  ASSERT_TRUE(font);
  const std::string text = "un deux trois\nquatre";
  const TextLayout layout = LayOutText(*font, text, 0, 0, 10, false, DT_LEFT);
  ASSERT_EQ(layout.lines.size(), 2u);
  EXPECT_EQ(layout.right, font->Width("un deux trois"));
  EXPECT_EQ(layout.lines[1].y, font->Height());
}

TEST(TextLayout, UnderlineRunsUnderTheWholeLine) {
  LOGFONTA d{};
  d.lfHeight = -16;
  d.lfUnderline = 1;
  std::strcpy(d.lfFaceName, "Arial");
  auto font = RasterFont::Create(d);
  ASSERT_TRUE(font);
  const int rule = font->Ascent() + font->UnderlineOffset();
  int covered = 0;
  RenderLine(*font, "a  b", 5, 0, [&](int y, int l, int r) {
    if (y == rule && l == 5 && r == 5 + font->Width("a  b")) ++covered;
  });
  EXPECT_EQ(covered, font->LineThickness() >= 1 ? 1 : 0);
}

}  // namespace

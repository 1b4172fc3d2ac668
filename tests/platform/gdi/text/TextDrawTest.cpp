#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/Text1252.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiTestSupport.h"
#include "platform/kernel/Codepage.h"
#include "platform/kernel/Errors.h"
#include "support/Netpbm.h"

namespace {

using gditest::Canvas;
using gditest::Selected;

HFONT MakeFont(const char* face, LONG height, LONG weight = FW_NORMAL, bool italic = false, bool underline = false) {
  LOGFONTA d{};
  d.lfHeight = height;
  d.lfWeight = weight;
  d.lfItalic = italic ? 1 : 0;
  d.lfUnderline = underline ? 1 : 0;
  d.lfQuality = DRAFT_QUALITY;
  std::strncpy(d.lfFaceName, face, LF_FACESIZE - 1);
  HFONT font = CreateFontIndirectA(&d);
  EXPECT_NE(font, nullptr) << face;
  return font;
}

// Colour tables for indexed canvases: white, black, navy, yellow, then black.
std::vector<RGBQUAD> FewColors(int count) {
  std::vector<RGBQUAD> colors(static_cast<std::size_t>(count), RGBQUAD{0, 0, 0, 0});
  colors[0] = {255, 255, 255, 0};
  if (count > 2) colors[2] = {128, 0, 0, 0};
  if (count > 3) colors[3] = {0, 255, 255, 0};
  return colors;
}

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kYellow = RGB(255, 255, 0);

struct Box {
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
  bool Empty() const { return left > right; }
};

// The box of the pixels whose value differs from `background`.
Box InkBox(const Canvas& canvas, std::uint32_t background) {
  Box box;
  for (int y = 0; y < canvas.height(); ++y)
    for (int x = 0; x < canvas.width(); ++x)
      if (canvas.Value(x, y) != background) {
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x + 1);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y + 1);
      }
  return box;
}

// The ink and the cell of TextOutA at every depth: ink in the text colour, the cell in the background colour
// when opaque, nothing else touched.
TEST(TextDraw, TextOutPaintsInkAndOpaqueCellsAtEveryDepth) {
  for (int bpp : {1, 4, 8, 16, 24, 32}) {
    for (int mode : {TRANSPARENT, OPAQUE}) {
      Canvas canvas(120, 40, bpp, bpp <= 8 ? FewColors(1 << bpp) : std::vector<RGBQUAD>{});
      canvas.Clear(kYellow);
      const std::uint32_t yellow = canvas.Value(0, 0);
      Selected font(canvas.dc(), MakeFont("Arial", -16));
      const COLORREF ink = bpp == 1 ? RGB(0, 0, 0) : kNavy;
      SetTextColor(canvas.dc(), ink);
      SetBkColor(canvas.dc(), kWhite);
      SetBkMode(canvas.dc(), mode);
      const std::string text = "Été"_cp;
      ASSERT_TRUE(TextOutA(canvas.dc(), 10, 5, text.data(), static_cast<int>(text.size())));
      SIZE size{};
      ASSERT_TRUE(GetTextExtentPoint32A(canvas.dc(), text.data(), static_cast<int>(text.size()), &size));
      // Reference values: what a one-pixel rectangle of each colour leaves on this surface.
      SetPixel(canvas.dc(), 0, 39, ink);
      SetPixel(canvas.dc(), 1, 39, kWhite);
      const std::uint32_t inkValue = canvas.Value(0, 39), white = canvas.Value(1, 39);
      SetPixel(canvas.dc(), 0, 39, kYellow);
      SetPixel(canvas.dc(), 1, 39, kYellow);
      int inked = 0;
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
          const bool inCell = x >= 10 && x < 10 + size.cx && y >= 5 && y < 5 + size.cy;
          const std::uint32_t v = canvas.Value(x, y);
          if (v == inkValue && v != yellow) {
            ++inked;
            EXPECT_TRUE(x >= 9 && x <= 10 + size.cx && y >= 5 && y < 5 + size.cy) << bpp << " ink at " << x << ',' << y;
          } else if (inCell && mode == OPAQUE) {
            EXPECT_EQ(v, white) << bpp << " at " << x << ',' << y;
          } else {
            EXPECT_EQ(v, yellow) << bpp << " mode " << mode << " at " << x << ',' << y;
          }
        }
      EXPECT_GT(inked, 30) << bpp;
    }
  }
}

TEST(TextDraw, DrawingStaysInsideTheClipAndTheRectangle) {
  Canvas canvas(100, 60, 32);
  canvas.Clear(kWhite);
  Selected font(canvas.dc(), MakeFont("Times New Roman", -16));
  SetTextColor(canvas.dc(), kNavy);
  SetBkMode(canvas.dc(), OPAQUE);
  SetBkColor(canvas.dc(), kYellow);
  HRGN clip = CreateRectRgn(20, 0, 50, 60);
  SelectClipRgn(canvas.dc(), clip);
  DeleteObject(clip);
  const char* text = "Bonjour les amis";
  TextOutA(canvas.dc(), 0, 0, text, static_cast<int>(std::strlen(text)));
  // Without DT_NOCLIP the rectangle clips too; with it, a word wider than the box overflows it.
  RECT box{25, 20, 45, 40};
  DrawTextA(canvas.dc(), "Anticonstitutionnellement", -1, &box, DT_WORDBREAK);
  const Box ink = InkBox(canvas, canvas.Value(0, 59));
  EXPECT_EQ(ink.left, 20);
  EXPECT_EQ(ink.right, 50);
  for (int y = 20; y < 40; ++y) EXPECT_EQ(canvas.Value(20, y), canvas.Value(0, 59)) << y;
  EXPECT_EQ(canvas.Value(45, 25), canvas.Value(0, 59));
  RECT wide{25, 40, 45, 60};
  SetBkMode(canvas.dc(), TRANSPARENT);
  DrawTextA(canvas.dc(), "Anticonstitutionnellement", -1, &wide, DT_WORDBREAK | DT_NOCLIP);
  bool beyond = false;
  for (int y = 40; y < 60; ++y) beyond = beyond || canvas.Value(47, y) != canvas.Value(0, 59);
  EXPECT_TRUE(beyond);
}

// What DrawTextA measures (DT_CALCRECT) is what it draws: over a table of wrap cases, the ink lies in the
// measured rectangle, reaches its last line and spans its lines.
TEST(TextDraw, MeasuredSizeIsTheDrawnSize) {
  // The rectangle is as wide as `fit`.
  struct Case {
    const char* text;
    const char* fit;
    UINT format;
    int lines;
  };
  const Case cases[] = {
      {"Été à l'école", "Été à l'école", DT_LEFT, 1},
      {"Été à l'école", "Été à l'", DT_LEFT, 2},
      {"Été à l'école", "Été", DT_CENTER, 3},
      {"Été à l'école", "Été à l'", DT_RIGHT, 2},
      {"Un\r\ndeux\ntrois", "Un deux trois", DT_LEFT, 3},
      {"Anticonstitutionnellement et voilà", "Anti et voilà", DT_LEFT, 2},
      {"a b c d e f g h", "a b", DT_CENTER, 4},
      {"a b c d e f g h", "a b", DT_RIGHT, 4},
  };
  for (const Case& c : cases) {
    const std::string text = platform::Utf8ToCp1252(c.text);
    Canvas canvas(400, 200, 32);
    canvas.Clear(kWhite);
    const std::uint32_t white = canvas.Value(0, 0);
    Selected font(canvas.dc(), MakeFont("Arial", -16));
    TEXTMETRICA m{};
    GetTextMetricsA(canvas.dc(), &m);
    SetTextColor(canvas.dc(), kNavy);
    SetBkMode(canvas.dc(), TRANSPARENT);
    const std::string fit = platform::Utf8ToCp1252(c.fit);
    SIZE fitSize{};
    GetTextExtentPoint32A(canvas.dc(), fit.data(), static_cast<int>(fit.size()), &fitSize);
    RECT measured{10, 10, 10 + fitSize.cx, 10};
    const int height = DrawTextA(canvas.dc(), text.data(), static_cast<int>(text.size()), &measured,
                                 c.format | DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(height, c.lines * m.tmHeight) << c.text;
    EXPECT_EQ(measured.bottom - measured.top, height) << c.text;
    RECT drawn{10, 10, 10 + fitSize.cx, 190};
    EXPECT_EQ(DrawTextA(canvas.dc(), text.data(), static_cast<int>(text.size()), &drawn,
                        c.format | DT_WORDBREAK | DT_NOCLIP),
              height);
    const Box ink = InkBox(canvas, white);
    ASSERT_FALSE(ink.Empty()) << c.text;
    EXPECT_GE(ink.top, measured.top) << c.text;
    EXPECT_LE(ink.bottom, measured.bottom) << c.text;
    EXPECT_GT(ink.bottom, measured.bottom - m.tmHeight) << c.text;  // the last line is drawn
    if (!(c.format & (DT_CENTER | DT_RIGHT))) {
      EXPECT_GE(ink.left, measured.left - 1) << c.text;
      EXPECT_LE(ink.right, measured.right + 1) << c.text;
      EXPECT_GT(ink.right, measured.right - m.tmMaxCharWidth) << c.text;
    }
    // Every line band has ink.
    for (int line = 0; line < c.lines; ++line) {
      bool any = false;
      for (int y = measured.top + line * m.tmHeight; y < measured.top + (line + 1) * m.tmHeight && !any; ++y)
        for (int x = 0; x < canvas.width() && !any; ++x) any = canvas.Value(x, y) != white;
      EXPECT_TRUE(any) << c.text << " line " << line;
    }
  }
}

TEST(TextDraw, BadCallsFail) {
  Canvas canvas(10, 10, 8);
  SIZE size{};
  RECT rect{0, 0, 10, 10};
  SetLastError(0);
  EXPECT_FALSE(TextOutA(canvas.dc(), 0, 0, nullptr, 3));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(TextOutA(canvas.dc(), 0, 0, "abc", -1));
  EXPECT_FALSE(GetTextExtentPoint32A(canvas.dc(), "abc", 3, nullptr));
  EXPECT_EQ(DrawTextA(canvas.dc(), "abc", 3, nullptr, 0), 0);
  EXPECT_FALSE(GetTextMetricsA(canvas.dc(), nullptr));
  SetLastError(0);
  EXPECT_FALSE(GetTextExtentPoint32A(nullptr, "abc", 3, &size));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(DrawTextA(reinterpret_cast<HDC>(canvas.bitmap()), "abc", 3, &rect, 0), 0);
  // Coordinates from a damaged document: refused, not overflowed.
  RECT far{INT_MAX - 10, 0, INT_MAX, 10};
  SetLastError(0);
  EXPECT_EQ(DrawTextA(canvas.dc(), "abc", 3, &far, DT_WORDBREAK), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(TextOutA(canvas.dc(), INT_MIN, 0, "abc", 3));
  // Nothing to draw is no failure.
  EXPECT_TRUE(TextOutA(canvas.dc(), 0, 0, nullptr, 0));
  EXPECT_TRUE(GetTextExtentPoint32A(canvas.dc(), "", 0, &size));
  EXPECT_EQ(size.cx, 0);
  EXPECT_GT(size.cy, 0);
}

// "Été à l'école" in the three faces, plain, bold, italic and both, drawn at 8 and 32 bits: the same ink at
// both depths, equal to the checked-in picture made from the same font files. Set
// QUILLORY_UPDATE_GOLDEN=1 to write the picture again after a deliberate change.
TEST(TextDraw, GoldenRendersOfAccentedText) {
  const std::string text = "Été à l'école"_cp;
  const int lineHeight = 22, width = 170;
  const char* faces[] = {"Times New Roman", "Arial", "Courier New"};
  const int lines = 3 * 4;
  const std::string golden = std::string(QUILLORY_SOURCE_DIR) + "/tests/fixtures/text/ete-a-l-ecole.pbm";
  std::vector<BitPicture> pictures;
  for (int bpp : {8, 32}) {
    Canvas canvas(width, lines * lineHeight, bpp, bpp == 8 ? FewColors(256) : std::vector<RGBQUAD>{}, true);
    canvas.Clear(kWhite);
    const std::uint32_t white = canvas.Value(0, 0);
    SetTextColor(canvas.dc(), kNavy);
    SetBkMode(canvas.dc(), TRANSPARENT);
    int row = 0;
    for (const char* face : faces)
      for (int style = 0; style < 4; ++style, ++row) {
        Selected font(canvas.dc(), MakeFont(face, -16, style & 1 ? FW_BOLD : FW_NORMAL, style & 2));
        ASSERT_TRUE(TextOutA(canvas.dc(), 4, row * lineHeight + 1, text.data(), static_cast<int>(text.size())));
      }
    SetPixel(canvas.dc(), 0, 0, kNavy);
    const std::uint32_t navy = canvas.Value(0, 0);
    SetPixel(canvas.dc(), 0, 0, kWhite);
    EXPECT_EQ(navy, bpp == 8 ? 2u : 0x000080u);
    BitPicture picture{width, lines * lineHeight, {}};
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < width; ++x) {
        const std::uint32_t v = canvas.Value(x, y);
        EXPECT_TRUE(v == navy || v == white) << bpp << " at " << x << ',' << y;
        picture.ink.push_back(v == navy ? 1 : 0);
      }
    pictures.push_back(picture);
  }
  EXPECT_EQ(pictures[0], pictures[1]);
  if (const char* update = std::getenv("QUILLORY_UPDATE_GOLDEN"); update && *update == '1') {
    ASSERT_TRUE(WritePbm(golden, pictures[1]));
  }
  const auto expected = ReadPbm(golden);
  ASSERT_TRUE(expected) << golden;
  if (!(*expected == pictures[1])) {
    const std::string actual = std::string(QUILLORY_BINARY_DIR) + "/ete-a-l-ecole.actual.pbm";
    WritePbm(actual, pictures[1]);
    ADD_FAILURE() << "the render differs from " << golden << "; it is in " << actual;
  }
}

}  // namespace

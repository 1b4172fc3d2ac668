#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <tuple>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/text/RasterFont.h"
#include "platform/kernel/Errors.h"

namespace {

using platform::text::RasterFont;

LOGFONTA Describe(const char* face, LONG height, LONG weight = FW_NORMAL, bool italic = false) {
  LOGFONTA d{};
  d.lfHeight = height;
  d.lfWeight = weight;
  d.lfItalic = italic ? 1 : 0;
  d.lfQuality = DRAFT_QUALITY;
  std::strncpy(d.lfFaceName, face, LF_FACESIZE - 1);
  return d;
}

std::shared_ptr<RasterFont> Realise(const LOGFONTA& d) {
  auto font = RasterFont::Create(d);
  EXPECT_TRUE(font) << d.lfFaceName;
  return font;
}

TEST(Font, FacesOfTheSystemAreServedByTheirStandIns) {
  struct Case {
    const char* face;
    LONG weight;
    bool italic;
    const char* file;
    BYTE family;
  };
  const char* liberation = "/usr/share/fonts/truetype/liberation2/";
  const Case cases[] = {
      {"Times New Roman", FW_NORMAL, false, "LiberationSerif-Regular.ttf", FF_ROMAN},
      {"times new roman", FW_BOLD, false, "LiberationSerif-Bold.ttf", FF_ROMAN},
      {"Times New Roman", FW_NORMAL, true, "LiberationSerif-Italic.ttf", FF_ROMAN},
      {"Arial", FW_BOLD, true, "LiberationSans-BoldItalic.ttf", FF_SWISS},
      {"ARIAL", FW_NORMAL, false, "LiberationSans-Regular.ttf", FF_SWISS},
      {"Courier New", FW_NORMAL, false, "LiberationMono-Regular.ttf", FF_MODERN},
      {"Courier New", FW_BOLD, false, "LiberationMono-Bold.ttf", FF_MODERN},
      // A face nobody has, and no face at all, get the default text face.
      {"Pas une police", FW_NORMAL, false, "LiberationSerif-Regular.ttf", FF_ROMAN},
      {"", FW_BOLD, false, "LiberationSerif-Bold.ttf", FF_ROMAN},
  };
  for (const Case& c : cases) {
    auto font = Realise(Describe(c.face, -16, c.weight, c.italic));
    if (!font) continue;
    EXPECT_EQ(font->Source().path, std::string(liberation) + c.file) << c.face;
    EXPECT_FALSE(font->Source().emboldenAsked || font->Source().slantAsked) << c.face;
    EXPECT_EQ(font->Metrics().tmPitchAndFamily & 0xF0, c.family) << c.face;
  }
}

// Other faces come from fontconfig, by their own family names, in the weight and slant asked for.
TEST(Font, OtherFacesAreFoundThroughFontconfig) {
  const std::string dejavu = "/usr/share/fonts/truetype/dejavu/";
  auto plain = Realise(Describe("DejaVu Sans", -16));
  auto bold = Realise(Describe("dejavu sans", -16, FW_BOLD));
  auto mono = Realise(Describe("DejaVu Sans Mono", -16, FW_NORMAL, true));
  ASSERT_TRUE(plain && bold && mono);
  EXPECT_EQ(plain->Source().path, dejavu + "DejaVuSans.ttf");
  EXPECT_EQ(bold->Source().path, dejavu + "DejaVuSans-Bold.ttf");
  EXPECT_EQ(mono->Source().path, dejavu + "DejaVuSansMono-Oblique.ttf");
  EXPECT_FALSE(bold->Source().emboldenAsked || mono->Source().slantAsked);
  EXPECT_EQ(mono->Metrics().tmPitchAndFamily & 0xF1, FF_MODERN);
}

TEST(Font, FixedsysIsMonospaced) {
  auto fixedsys = Realise(Describe("Fixedsys", -16));
  auto arial = Realise(Describe("Arial", -16));
  ASSERT_TRUE(fixedsys && arial);
  EXPECT_EQ(fixedsys->Metrics().tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
  EXPECT_EQ(arial->Metrics().tmPitchAndFamily & TMPF_FIXED_PITCH, TMPF_FIXED_PITCH);
  EXPECT_EQ(fixedsys->Width("iiii"), fixedsys->Width("WWWW"));
  EXPECT_EQ(fixedsys->Advance('i'), fixedsys->Metrics().tmAveCharWidth);
  EXPECT_LT(arial->Width("iiii"), arial->Width("WWWW"));
}

TEST(Font, HeightsFollowTheDescription) {
  for (const char* face : {"Times New Roman", "Arial", "Courier New", "Fixedsys"}) {
    // Negative: the character height; the cell adds the internal leading.
    for (LONG em : {8, 12, 16, 21, 64}) {
      auto font = Realise(Describe(face, -em));
      if (!font) continue;
      const TEXTMETRICA& m = font->Metrics();
      EXPECT_EQ(m.tmHeight - m.tmInternalLeading, em) << face << ' ' << em;
      EXPECT_EQ(m.tmHeight, m.tmAscent + m.tmDescent);
      EXPECT_GT(m.tmDescent, 0);
    }
    // Positive: the cell height, never exceeded.
    for (LONG cell : {12, 16, 20, 40}) {
      auto font = Realise(Describe(face, cell));
      if (!font) continue;
      EXPECT_LE(font->Height(), cell) << face << ' ' << cell;
      EXPECT_GE(font->Height(), cell - 2) << face << ' ' << cell;
    }
  }
  // Nothing asked: 12 points on the screen. Far too much asked: the largest size there is.
  EXPECT_EQ(Realise(Describe("Arial", 0))->Height(), Realise(Describe("Arial", -16))->Height());
  auto huge = Realise(Describe("Arial", -1000000));
  ASSERT_TRUE(huge);
  EXPECT_EQ(huge->Height() - huge->Metrics().tmInternalLeading, platform::text::kMaxPixelHeight);
}

TEST(Font, MetricsReportStyle) {
  LOGFONTA d = Describe("Arial", -16, FW_BOLD, true);
  d.lfUnderline = 1;
  auto font = Realise(d);
  ASSERT_TRUE(font);
  const TEXTMETRICA& m = font->Metrics();
  EXPECT_EQ(m.tmWeight, FW_BOLD);
  EXPECT_EQ(m.tmItalic, 1);
  EXPECT_EQ(m.tmUnderlined, 1);
  EXPECT_EQ(m.tmStruckOut, 0);
  EXPECT_EQ(m.tmCharSet, ANSI_CHARSET);
  EXPECT_EQ(m.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR), TMPF_TRUETYPE | TMPF_VECTOR);
  EXPECT_EQ(Realise(Describe("Arial", -16))->Metrics().tmWeight, FW_NORMAL);
  // The underline lies inside the cell, below the baseline.
  EXPECT_GT(font->UnderlineOffset(), 0);
  EXPECT_LE(font->UnderlineOffset() + font->LineThickness(), m.tmDescent);
  // Bold characters are wider than plain ones of the same face.
  EXPECT_GT(font->Width("Bonjour"), Realise(Describe("Arial", -16))->Width("Bonjour"));
}

int InkCount(const platform::text::Glyph& g) {
  int n = 0;
  for (int y = 0; y < g.rows; ++y)
    for (int x = 0; x < g.width; ++x) n += g.Ink(x, y);
  return n;
}

// The first inked column of a glyph row.
int FirstInk(const platform::text::Glyph& g, int row) {
  for (int x = 0; x < g.width; ++x)
    if (g.Ink(x, row)) return g.left + x;
  return INT_MAX;
}

// A face found without the weight or slant asked for gets them drawn: thicker strokes one pixel wider, or
// strokes leaning right.
TEST(Font, MissingBoldAndItalicAreMadeFromTheUprightFace) {
  using platform::text::FaceFamily;
  using platform::text::FaceSource;
  const std::string regular = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
  const LOGFONTA d = Describe("Arial", -32, FW_BOLD, true);
  auto plain = RasterFont::Create(d, FaceSource{regular, 0, false, false, FaceFamily::Swiss});
  auto bold = RasterFont::Create(d, FaceSource{regular, 0, true, false, FaceFamily::Swiss});
  auto slanted = RasterFont::Create(d, FaceSource{regular, 0, false, true, FaceFamily::Swiss});
  ASSERT_TRUE(plain && bold && slanted);
  for (unsigned char c : std::string("HIlo")) {
    EXPECT_EQ(bold->Advance(c), plain->Advance(c) + 1) << c;
    EXPECT_GT(InkCount(bold->GlyphOf(c)), InkCount(plain->GlyphOf(c))) << c;
    EXPECT_EQ(slanted->Advance(c), plain->Advance(c)) << c;
  }
  const auto& upright = plain->GlyphOf('I');
  const auto& leaning = slanted->GlyphOf('I');
  EXPECT_EQ(FirstInk(upright, 0), FirstInk(upright, upright.rows - 1));
  EXPECT_GE(FirstInk(leaning, 0) - FirstInk(leaning, leaning.rows - 1), 3);
}

TEST(Font, AnAverageWidthStretchesTheCharacters) {
  LOGFONTA wide = Describe("Arial", -16);
  wide.lfWidth = 20;
  auto stretched = Realise(wide);
  auto plain = Realise(Describe("Arial", -16));
  ASSERT_TRUE(stretched && plain);
  EXPECT_EQ(stretched->Metrics().tmAveCharWidth, 20);
  EXPECT_EQ(stretched->Height(), plain->Height());
  EXPECT_GT(stretched->Width("mmmm"), 2 * plain->Width("mmmm") - 4);
}

// Every character of the code page, accented French ones above all, reaches a glyph of its own.
TEST(Font, EveryCharacterOfTheCodePageHasAGlyph) {
  std::string printable;
  for (int c = 0x20; c <= 0xFF; ++c)
    if (c != 0x7F && c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D) printable += static_cast<char>(c);
  for (const char* face : {"Times New Roman", "Arial", "Courier New", "Fixedsys"})
    for (LONG weight : {FW_NORMAL, FW_BOLD})
      for (bool italic : {false, true}) {
        auto font = Realise(Describe(face, -16, weight, italic));
        if (!font) continue;
        for (char c : printable)
          EXPECT_FALSE(font->GlyphOf(static_cast<unsigned char>(c)).missing)
              << face << ' ' << weight << ' ' << italic << " byte " << (static_cast<int>(c) & 0xFF);
      }
  // The bytes stand for the code page's characters, not Latin-1's: 0x80 is the euro sign, a glyph with ink.
  auto font = Realise(Describe("Arial", -16));
  const auto ink = [&](unsigned char c) {
    const auto& g = font->GlyphOf(c);
    return std::make_tuple(g.left, g.top, g.width, g.rows, g.bits);
  };
  EXPECT_GT(font->GlyphOf(0x80).rows, 0);
  EXPECT_NE(ink('e'), ink(0xE9));  // é
  EXPECT_NE(ink(0xE8), ink(0xE9));  // è, é
  EXPECT_NE(ink('E'), ink(0xC9));  // É
  EXPECT_NE(ink('c'), ink(0xE7));  // ç
  const auto& blank = font->GlyphOf(' ');
  EXPECT_TRUE(std::all_of(blank.bits.begin(), blank.bits.end(), [](auto b) { return b == 0; }));
  EXPECT_GT(font->Advance(' '), 0);
}

TEST(Font, FontsAreDrawingObjects) {
  const std::size_t before = platform::CountGdiObjects();
  LOGFONTA d = Describe("Courier New", -13);
  std::memset(d.lfFaceName + 11, 'x', LF_FACESIZE - 11);  // no terminator: cut to 31 characters
  HFONT font = CreateFontIndirectA(&d);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(platform::CountGdiObjects(), before + 1);
  EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
  LOGFONTA back{};
  EXPECT_EQ(GetObjectA(font, 0, nullptr), static_cast<int>(sizeof(LOGFONTA)));
  EXPECT_EQ(GetObjectA(font, sizeof back, &back), static_cast<int>(sizeof(LOGFONTA)));
  EXPECT_EQ(back.lfHeight, -13);
  EXPECT_EQ(std::strlen(back.lfFaceName), static_cast<std::size_t>(LF_FACESIZE - 1));

  // A new context has the system font; a font stays while a context holds it.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ system = SelectObject(dc, font);
  EXPECT_EQ(system, GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(GetObjectType(system), static_cast<DWORD>(OBJ_FONT));
  EXPECT_FALSE(DeleteObject(font));
  TEXTMETRICA m{};
  EXPECT_TRUE(GetTextMetricsA(dc, &m));
  EXPECT_EQ(m.tmHeight - m.tmInternalLeading, 13);
  EXPECT_EQ(SelectObject(dc, system), font);
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_FALSE(DeleteObject(font));
  EXPECT_EQ(GetObjectA(font, sizeof back, &back), 0);
  EXPECT_TRUE(GetTextMetricsA(dc, &m));
  EXPECT_EQ(m.tmWeight, FW_BOLD);
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_EQ(platform::CountGdiObjects(), before);

  SetLastError(0);
  EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(Font, OneDescriptionIsRealisedOnceAndEveryFieldMakesAnother) {
  LOGFONTA d = Describe("Arial", -13);
  const auto first = Realise(d);
  // Bytes after the name's end are no part of it.
  std::memset(d.lfFaceName + 6, 'x', 4);
  EXPECT_EQ(Realise(d), first);
  const std::vector<std::pair<const char*, void (*)(LOGFONTA&)>> changes = {
      {"height", [](LOGFONTA& f) { f.lfHeight = -14; }},
      {"width", [](LOGFONTA& f) { f.lfWidth = 9; }},
      {"weight", [](LOGFONTA& f) { f.lfWeight = FW_BOLD; }},
      {"italic", [](LOGFONTA& f) { f.lfItalic = 1; }},
      {"underline", [](LOGFONTA& f) { f.lfUnderline = 1; }},
      {"face", [](LOGFONTA& f) { std::strcpy(f.lfFaceName, "Courier New"); }},
  };
  for (const auto& [name, change] : changes) {
    LOGFONTA other = Describe("Arial", -13);
    change(other);
    const auto font = Realise(other);
    EXPECT_NE(font, first) << name;
    EXPECT_EQ(std::memcmp(&font->Description(), &other, sizeof other), 0) << name;
  }
  // Many fonts later the first is made again, with the same glyphs.
  for (LONG height = -20; height > -60; --height) Realise(Describe("Arial", height));
  const auto again = Realise(Describe("Arial", -13));
  EXPECT_EQ(std::memcmp(&again->Metrics(), &first->Metrics(), sizeof(TEXTMETRICA)), 0);
  for (unsigned char c : std::string("Aéy")) {
    EXPECT_EQ(again->GlyphOf(c).bits, first->GlyphOf(c).bits) << c;
    EXPECT_EQ(again->GlyphOf(c).advance, first->GlyphOf(c).advance) << c;
  }
  // Very large fonts are not kept.
  EXPECT_NE(Realise(Describe("Arial", -400)), Realise(Describe("Arial", -400)));
}

int CollectFamily(const LOGFONTA* font, const TEXTMETRICA* metrics, DWORD type, LPARAM data) {
  auto* names = reinterpret_cast<std::vector<std::string>*>(data);
  EXPECT_EQ(type, TRUETYPE_FONTTYPE);
  EXPECT_GT(metrics->tmHeight, 0);
  names->push_back(font->lfFaceName);
  return names->size() < 3 ? 1 : 0;
}

TEST(Font, FamiliesStartWithTheFacesTheProgramNames) {
  std::vector<std::string> names;
  EXPECT_EQ(EnumFontFamiliesA(nullptr, nullptr, CollectFamily, reinterpret_cast<LPARAM>(&names)), 0);
  EXPECT_EQ(names, (std::vector<std::string>{"Arial", "Courier New", "Fixedsys"}));

  std::vector<std::string> all;
  const auto collectAll = [](const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM data) {
    reinterpret_cast<std::vector<std::string>*>(data)->push_back(font->lfFaceName);
    return 1;
  };
  EXPECT_EQ(EnumFontFamiliesA(nullptr, nullptr, collectAll, reinterpret_cast<LPARAM>(&all)), 1);
  ASSERT_GE(all.size(), 4u);
  EXPECT_EQ(all[3], "Times New Roman");
  for (std::size_t i = 0; i < all.size(); ++i)
    for (std::size_t j = i + 1; j < all.size(); ++j) EXPECT_NE(all[i], all[j]);

  std::vector<std::string> one;
  EXPECT_EQ(EnumFontFamiliesA(nullptr, "courier new", collectAll, reinterpret_cast<LPARAM>(&one)), 1);
  EXPECT_EQ(one, std::vector<std::string>{"Courier New"});
  std::vector<std::string> none;
  EXPECT_EQ(EnumFontFamiliesA(nullptr, "Pas une police", collectAll, reinterpret_cast<LPARAM>(&none)), 1);
  EXPECT_TRUE(none.empty());
}

}  // namespace

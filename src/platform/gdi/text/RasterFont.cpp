#include "platform/gdi/text/RasterFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/gdi/text/LineBreak.h"
#include "platform/kernel/Codepage.h"

namespace platform::text {

// One open font file face, shared by every font realised from it; each font has a size object of its own.
class Face {
 public:
  explicit Face(FT_Face face) : face(face) {}
  ~Face() { FT_Done_Face(face); }
  Face(const Face&) = delete;
  Face& operator=(const Face&) = delete;
  FT_Face face;
};

namespace {

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    return FT_Init_FreeType(&lib) == 0 ? lib : nullptr;
  }();
  return library;
}

std::shared_ptr<Face> OpenFace(const FaceSource& source) {
  static std::map<std::pair<std::string, int>, std::weak_ptr<Face>> open;
  const auto key = std::make_pair(source.path, source.index);
  if (auto face = open[key].lock()) return face;
  FT_Library library = Library();
  FT_Face face = nullptr;
  if (!library || FT_New_Face(library, source.path.c_str(), source.index, &face) != 0) return nullptr;
  if (!FT_IS_SCALABLE(face)) {
    FT_Done_Face(face);
    return nullptr;
  }
  // The code page's characters are looked up by Unicode code point.
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
    FT_Done_Face(face);
    return nullptr;
  }
  auto shared = std::make_shared<Face>(face);
  open[key] = shared;
  return shared;
}

FT_Size SizeOf(void* size) { return static_cast<FT_Size>(size); }

// Font units to pixels, rounded to nearest, for a scale of ppem / unitsPerEm.
int Scaled(long units, double scale) { return static_cast<int>(std::lround(static_cast<double>(units) * scale)); }
int ScaledUp(long units, double scale) {
  return static_cast<int>(std::ceil(static_cast<double>(units) * scale - 1e-6));
}

// Capitals with accents above (the code page's 0xC0-0xDD, 0x8A, 0x8C, 0x8E, 0x9F) and letters and signs
// that go deep below the baseline.
constexpr std::string_view kTallOrDeep =
    "\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD1\xD2\xD3\xD4\xD5\xD6\xD8"
    "\xD9\xDA\xDB\xDC\xDD\x8A\x8C\x8E\x9F\xE7\xFE\xFD\xFFgjpqy_|()[]{}";

// Weights from semi-bold up are drawn bold.
constexpr LONG kBoldWeight = 600;

constexpr BYTE kFamilyBits[] = {FF_DONTCARE, FF_ROMAN, FF_SWISS, FF_MODERN};

// Realised fonts, the most lately asked for first. Text styles make a font for every text they draw (a
// label, a caption), and realising one hints the code page's tallest and deepest glyphs to measure its
// cell: keeping the fonts in use makes text drawn again cost the copying of its glyphs alone. A realised
// font never changes, so every handle made from the same description shares one.
constexpr std::size_t kKeptFonts = 32;
// Taller fonts are not kept: their glyphs are large, and such sizes are rare.
constexpr LONG kLargestKeptHeight = 128;

static_assert(sizeof(LOGFONTA) == 60, "descriptions are compared byte for byte");

struct RealisedFont {
  LOGFONTA description;
  FaceSource source;
  std::shared_ptr<RasterFont> font;

  bool Matches(const LOGFONTA& d, const FaceSource& s) const {
    return std::memcmp(&description, &d, sizeof d) == 0 && source.path == s.path && source.index == s.index &&
           source.emboldenAsked == s.emboldenAsked && source.slantAsked == s.slantAsked &&
           source.family == s.family;
  }
};

std::vector<RealisedFont>& Realised() {
  static std::vector<RealisedFont> fonts;
  return fonts;
}

}  // namespace

std::shared_ptr<RasterFont> RasterFont::Create(const LOGFONTA& description) {
  const std::string_view face(description.lfFaceName, strnlen(description.lfFaceName, LF_FACESIZE));
  return Create(description, FindFace(face, description.lfWeight >= kBoldWeight, description.lfItalic != 0));
}

std::shared_ptr<RasterFont> RasterFont::Create(const LOGFONTA& description, const FaceSource& source) {
  if (source.path.empty()) return nullptr;
  // The name's bytes after its end do not make another font.
  LOGFONTA normal = description;
  const std::size_t nameLength = strnlen(normal.lfFaceName, LF_FACESIZE - 1);
  std::memset(normal.lfFaceName + nameLength, 0, LF_FACESIZE - nameLength);
  std::vector<RealisedFont>& realised = Realised();
  for (auto it = realised.begin(); it != realised.end(); ++it) {
    if (!it->Matches(normal, source)) continue;
    std::rotate(realised.begin(), it, it + 1);
    return realised.front().font;
  }
  std::shared_ptr<RasterFont> font(new RasterFont);
  font->description_ = normal;
  font->source_ = source;
  if (!font->Realise()) return nullptr;
  if (font->Height() <= kLargestKeptHeight) {
    if (realised.size() == kKeptFonts) realised.pop_back();
    realised.insert(realised.begin(), RealisedFont{normal, source, font});
  }
  return font;
}

RasterFont::~RasterFont() {
  if (size_) FT_Done_Size(SizeOf(size_));
}

bool RasterFont::Realise() {
  const LOGFONTA& d = description_;
  face_ = OpenFace(source_);
  if (!face_) return false;
  FT_Face face = face_->face;
  FT_Size size = nullptr;
  if (FT_New_Size(face, &size) != 0) return false;
  size_ = size;

  const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const double units = face->units_per_EM;
  // An average width other than the face's own stretches or narrows the characters.
  long ppemX = 0;
  if (d.lfWidth > 0) {
    const long averageUnits = os2 && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : face->units_per_EM / 2;
    ppemX = std::lround(static_cast<double>(std::min<long>(d.lfWidth, kMaxPixelHeight)) * units /
                        static_cast<double>(averageUnits));
  }
  // A negative height asks for the character (em) height; a positive one for the cell height, which gets the
  // largest size whose cell is not taller.
  if (d.lfHeight <= 0) return SizeTo(ppemX, d.lfHeight == 0 ? kDefaultPixelHeight : -static_cast<long>(d.lfHeight));
  const long cell = std::min<long>(d.lfHeight, 2L * kMaxPixelHeight);
  const long bounds = os2 && os2->usWinAscent ? os2->usWinAscent + os2->usWinDescent : face->height;
  long ppem = std::lround(static_cast<double>(cell) * units / static_cast<double>(std::max(1L, bounds)));
  if (!SizeTo(ppemX, ppem)) return false;
  while (ppem > 1 && metrics_.tmHeight > cell)
    if (!SizeTo(ppemX, --ppem)) return false;
  return true;
}

bool RasterFont::SizeTo(long ppemX, long ppem) {
  const LOGFONTA& d = description_;
  FT_Face face = face_->face;
  FT_Activate_Size(SizeOf(size_));
  ppem = std::clamp(ppem, 1L, static_cast<long>(kMaxPixelHeight));
  ppemX = ppemX > 0 ? std::clamp(ppemX, 1L, static_cast<long>(kMaxPixelHeight)) : ppem;
  if (FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(ppemX), static_cast<FT_UInt>(ppem)) != 0) return false;
  for (auto& glyph : glyphs_) glyph.reset();
  const double scale = static_cast<double>(ppem) / face->units_per_EM;
  const double scaleX = static_cast<double>(ppemX) / face->units_per_EM;

  const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  // The cell is the face's Windows ascent and descent, meant to bound its glyphs.
  const long ascentUnits = os2 && os2->usWinAscent ? os2->usWinAscent : face->ascender;
  const long descentUnits = os2 && (os2->usWinAscent || os2->usWinDescent) ? os2->usWinDescent : -face->descender;
  TEXTMETRICA& m = metrics_;
  m = TEXTMETRICA{};
  m.tmAscent = ScaledUp(ascentUnits, scale);
  m.tmDescent = ScaledUp(descentUnits, scale);
  // The cell also holds the hinted ink of the code page's tallest and deepest characters, which may reach
  // a pixel beyond the face's own bounds: erasing a text's box must erase all of its ink.
  for (unsigned char c : kTallOrDeep) {
    const Glyph& g = GlyphOf(c);
    if (g.rows == 0) continue;
    m.tmAscent = std::max<LONG>(m.tmAscent, g.top);
    m.tmDescent = std::max<LONG>(m.tmDescent, g.rows - g.top);
  }
  m.tmHeight = m.tmAscent + m.tmDescent;
  m.tmInternalLeading = std::max(0L, m.tmHeight - ppem);
  const TT_HoriHeader* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  if (hhea) {
    const long lineUnits = hhea->Ascender - hhea->Descender + hhea->Line_Gap;
    m.tmExternalLeading = std::max(0, Scaled(lineUnits - (ascentUnits + descentUnits), scale));
  }
  const long averageUnits = os2 && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : face->units_per_EM / 2;
  m.tmAveCharWidth = std::max(1, Scaled(averageUnits, scaleX));
  m.tmMaxCharWidth = std::max(1, Scaled(face->max_advance_width, scaleX));
  const bool bold = d.lfWeight >= kBoldWeight;
  m.tmWeight = bold ? FW_BOLD : (d.lfWeight > 0 ? d.lfWeight : FW_NORMAL);
  m.tmDigitizedAspectX = 96;
  m.tmDigitizedAspectY = 96;
  m.tmFirstChar = 0x20;
  m.tmLastChar = 0xFF;
  m.tmDefaultChar = 0x1F;
  m.tmBreakChar = 0x20;
  m.tmItalic = d.lfItalic ? 1 : 0;
  m.tmUnderlined = d.lfUnderline ? 1 : 0;
  m.tmStruckOut = d.lfStrikeOut ? 1 : 0;
  m.tmPitchAndFamily = static_cast<BYTE>((FT_IS_FIXED_WIDTH(face) ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR |
                                         TMPF_TRUETYPE | kFamilyBits[static_cast<int>(source_.family)]);
  m.tmCharSet = ANSI_CHARSET;

  // Underline and strike-out lie inside the cell, at least one pixel thick.
  lineThickness_ = std::max(1, Scaled(face->underline_thickness, scale));
  underlineOffset_ = std::max(1, Scaled(-face->underline_position, scale) - lineThickness_ / 2);
  underlineOffset_ = std::min<int>(underlineOffset_, std::max(1, static_cast<int>(m.tmDescent) - lineThickness_));
  const long strikeUnits = os2 && os2->yStrikeoutPosition > 0 ? os2->yStrikeoutPosition : ascentUnits / 3;
  strikeOffset_ = -std::max(1, Scaled(strikeUnits, scale));
  return true;
}

const Glyph& RasterFont::GlyphOf(unsigned char byte) const {
  std::unique_ptr<Glyph>& slot = glyphs_[byte];
  if (slot) return *slot;
  slot = std::make_unique<Glyph>();
  Glyph& glyph = *slot;
  FT_Face face = face_->face;
  FT_Activate_Size(SizeOf(size_));
  FT_UInt index = FT_Get_Char_Index(face, Cp1252ToCodePoint(byte));
  glyph.missing = index == 0;
  const bool synthetic = source_.emboldenAsked || source_.slantAsked;
  if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO | (synthetic ? FT_LOAD_NO_BITMAP : 0)) != 0) return glyph;
  FT_GlyphSlot loaded = face->glyph;
  glyph.advance = static_cast<int>((loaded->advance.x + 32) >> 6);
  if (loaded->format == FT_GLYPH_FORMAT_OUTLINE) {
    if (source_.slantAsked) {
      // The usual oblique of about 12 degrees, leaning right from the baseline.
      const FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};
      FT_Outline_Transform(&loaded->outline, &shear);
    }
    if (source_.emboldenAsked) {
      FT_Outline_EmboldenXY(&loaded->outline, 64, 0);
      glyph.advance += glyph.advance > 0 ? 1 : 0;
    }
  }
  if (FT_Render_Glyph(loaded, FT_RENDER_MODE_MONO) != 0) return glyph;
  const FT_Bitmap& bitmap = loaded->bitmap;
  glyph.left = loaded->bitmap_left;
  glyph.top = loaded->bitmap_top;
  glyph.width = static_cast<int>(bitmap.width);
  glyph.rows = static_cast<int>(bitmap.rows);
  glyph.pitch = (glyph.width + 7) / 8;
  glyph.bits.assign(static_cast<std::size_t>(glyph.pitch * glyph.rows), 0);
  for (int y = 0; y < glyph.rows; ++y) {
    const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
      std::memcpy(&glyph.bits[static_cast<std::size_t>(y * glyph.pitch)], row, static_cast<std::size_t>(glyph.pitch));
    } else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
      for (int x = 0; x < glyph.width; ++x)
        if (row[x] >= 128) glyph.bits[static_cast<std::size_t>(y * glyph.pitch + x / 8)] |= 0x80 >> (x % 8);
    }
  }
  return glyph;
}

int RasterFont::Width(std::string_view text) const {
  int width = 0;
  for (char c : text) width = AddAdvance(width, Advance(static_cast<unsigned char>(c)));
  return width;
}

}  // namespace platform::text

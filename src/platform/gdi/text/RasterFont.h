// A font realised at one pixel size: metrics as the system reports them and one-bit glyphs, rendered
// without antialiasing because the program paints into 8-bit pictures whose palettes have no ramps.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/gdi/text/FontFiles.h"
#include "platform/gdi/text/FontTypes.h"

namespace platform::text {

// A glyph's pixels: `rows` rows of `width` bits, most significant bit first, `pitch` bytes per row. Its
// top-left pixel lies `left` pixels right of the pen and `top` pixels above the baseline.
struct Glyph {
  int advance = 0;
  int left = 0;
  int top = 0;
  int width = 0;
  int rows = 0;
  int pitch = 0;
  std::vector<std::uint8_t> bits;
  bool missing = false;  // the face has no glyph for the character; its "missing" box is drawn
  bool Ink(int x, int y) const { return (bits[static_cast<std::size_t>(y * pitch + x / 8)] >> (7 - x % 8)) & 1; }
};

// The largest character height a font is realised at: a damaged style's size must not ask for glyphs of
// gigabytes.
constexpr int kMaxPixelHeight = 1024;
// The character height of a description that leaves the height to the system: 12 points on the screen.
constexpr int kDefaultPixelHeight = 16;

class Face;

class RasterFont {
 public:
  // Null when no face at all can be loaded.
  static std::shared_ptr<RasterFont> Create(const LOGFONTA& description);
  // The same from a given face, for faces found elsewhere than by the description's name.
  static std::shared_ptr<RasterFont> Create(const LOGFONTA& description, const FaceSource& source);
  ~RasterFont();
  RasterFont(const RasterFont&) = delete;
  RasterFont& operator=(const RasterFont&) = delete;

  const LOGFONTA& Description() const { return description_; }
  const TEXTMETRICA& Metrics() const { return metrics_; }
  const FaceSource& Source() const { return source_; }
  int Height() const { return metrics_.tmHeight; }
  int Ascent() const { return metrics_.tmAscent; }

  // Characters are the program's Windows-1252 bytes.
  const Glyph& GlyphOf(unsigned char byte) const;
  int Advance(unsigned char byte) const { return GlyphOf(byte).advance; }
  int Width(std::string_view text) const;

  // Lines drawn under and through the characters: the first row below (positive) or above (negative) the
  // baseline, and the thickness.
  int UnderlineOffset() const { return underlineOffset_; }
  int StrikeOffset() const { return strikeOffset_; }
  int LineThickness() const { return lineThickness_; }

 private:
  RasterFont() = default;
  bool Realise();
  // Sets the pixel size (a width of 0 keeps the face's proportions) and the metrics that follow from it.
  bool SizeTo(long ppemX, long ppem);

  LOGFONTA description_{};
  FaceSource source_;
  std::shared_ptr<Face> face_;
  void* size_ = nullptr;  // the face's size object for this font
  TEXTMETRICA metrics_{};
  int underlineOffset_ = 1;
  int strikeOffset_ = -1;
  int lineThickness_ = 1;
  mutable std::array<std::unique_ptr<Glyph>, 256> glyphs_;
};

}  // namespace platform::text

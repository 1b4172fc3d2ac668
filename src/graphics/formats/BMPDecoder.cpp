#include "graphics/formats/BMPDecoder.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "core/Exception.h"
#include "core/Stream.h"
#include "core/Text1252.h"

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t sizeofInfoHeader = 40;
// Headers of 108 and 124 bytes, which most tools write today, begin with the 40-byte header; what they
// add (colour spaces, profiles) is not needed to show the picture.
constexpr std::uint32_t sizeofV4Header = 108;
constexpr std::uint32_t sizeofV5Header = 124;

enum : std::uint32_t { kRGB = 0, kRLE8 = 1, kRLE4 = 2, kBitFields = 3 };

void Refuse(const char* file, int line) { ThrowError("Fichier BMP endommagé."_cp, file, line); }
[[noreturn]] void Damaged(int line) { ThrowError("Fichier BMP endommagé."_cp, __FILE__, line); }
[[noreturn]] void Truncated(int line) { ThrowError("Fin de fichier inattendue.", __FILE__, line); }

std::uint32_t U32(const std::uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t{p[3]} << 24; }
std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

struct InfoHeader {
  std::uint32_t size = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t colorsUsed = 0;
  std::uint32_t masks[3] = {};  // red, green, blue, for bit fields
};

// One channel of a bit-field pixel: where it lies and how to widen it to 8 bits.
struct Channel {
  int shift = 0;
  int bits = 0;
  std::uint32_t mask = 0;

  explicit Channel(std::uint32_t fieldMask) : mask(fieldMask) {
    if (!mask) return;
    shift = std::countr_zero(mask);
    bits = std::popcount(mask);
    if ((mask >> shift) != (std::uint32_t{0xFFFFFFFF} >> (32 - bits))) Damaged(__LINE__);  // not contiguous
  }
  std::uint8_t Value(std::uint32_t pixel) const {
    if (!mask) return 0;
    const std::uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return static_cast<std::uint8_t>(v >> (bits - 8));
    return static_cast<std::uint8_t>(v * 255 / ((1u << bits) - 1));
  }
};

// Turns one row of file pixels into the buffer's row.
class RowExpander {
 public:
  RowExpander(const InfoHeader& info) : info(info), red(info.masks[0]), green(info.masks[1]), blue(info.masks[2]) {}

  void Expand(const std::uint8_t* in, std::uint8_t* out, std::int32_t width) const {
    switch (info.bitCount) {
      case 1:
        for (std::int32_t x = 0; x < width; ++x) out[x] = (in[x >> 3] >> (7 - (x & 7))) & 1;
        break;
      case 4:
        for (std::int32_t x = 0; x < width; ++x) out[x] = (x & 1) ? in[x >> 1] & 0x0F : in[x >> 1] >> 4;
        break;
      case 8:
      case 24:
        std::memcpy(out, in, static_cast<std::size_t>(width) * (info.bitCount / 8));
        break;
      case 16:
        for (std::int32_t x = 0; x < width; ++x, out += 3) StoreFields(U16(in + 2 * x), out);
        break;
      case 32:
        if (info.compression == kRGB) {
          for (std::int32_t x = 0; x < width; ++x, out += 3) std::memcpy(out, in + 4 * x, 3);
        } else {
          for (std::int32_t x = 0; x < width; ++x, out += 3) StoreFields(U32(in + 4 * x), out);
        }
        break;
    }
  }

 private:
  void StoreFields(std::uint32_t pixel, std::uint8_t* out) const {
    out[0] = blue.Value(pixel);
    out[1] = green.Value(pixel);
    out[2] = red.Value(pixel);
  }

  const InfoHeader& info;
  Channel red, green, blue;
};

InfoHeader ReadInfoHeader(Stream& stream) {
  std::uint8_t bytes[sizeofV5Header] = {};
  stream.Read(bytes, 4);
  InfoHeader info;
  info.size = U32(bytes);
  ASSERT(info.size == sizeofInfoHeader || info.size == sizeofV4Header || info.size == sizeofV5Header);
  stream.Read(bytes + 4, info.size - 4);
  info.width = static_cast<std::int32_t>(U32(bytes + 4));
  info.height = static_cast<std::int32_t>(U32(bytes + 8));
  info.bitCount = U16(bytes + 14);
  info.compression = U32(bytes + 16);
  info.colorsUsed = U32(bytes + 32);

  const bool fields = info.compression == kBitFields;
  if (fields && info.size == sizeofInfoHeader) stream.Read(bytes + 40, 12);  // the masks follow the header
  if (fields) {
    for (int i = 0; i < 3; ++i) info.masks[i] = U32(bytes + 40 + 4 * i);
  } else if (info.bitCount == 16) {
    info.masks[0] = 0x7C00, info.masks[1] = 0x03E0, info.masks[2] = 0x001F;
  }

  const std::uint16_t bits = info.bitCount;
  const bool known = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
  const bool matches = info.compression == kRGB || (info.compression == kRLE8 && bits == 8) ||
                       (info.compression == kRLE4 && bits == 4) || (fields && (bits == 16 || bits == 32));
  if (!known) Damaged(__LINE__);
  if (!matches) ThrowError("Compression BMP non prise en charge.", __FILE__, __LINE__);
  // Rows stored top first are marked by a negative height; run-length data is always bottom first.
  if (info.height < 0 && info.compression != kRGB && !fields) Damaged(__LINE__);
  if (info.height == INT32_MIN) Damaged(__LINE__);
  CheckPictureSize(info.width, info.height < 0 ? -std::int64_t{info.height} : info.height);
  return info;
}

// Entries 0 to n - 1 are the file's; the rest black, with the flag of the last one read, so that every
// index a damaged file holds has a colour.
void ReadColors(Stream& stream, const InfoHeader& info, bool useKey, int keyIndex, std::vector<Color>& colors) {
  const std::uint32_t most = 1u << info.bitCount;
  const std::uint32_t n = info.colorsUsed == 0 ? most : std::min(info.colorsUsed, most);
  std::uint8_t table[256 * 4];
  stream.Read(table, n * 4);
  std::uint8_t f = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    f = useKey && static_cast<int>(i) == keyIndex ? 255 : 0;
    colors[i] = Color::FromRGB8(table[4 * i + 2], table[4 * i + 1], table[4 * i], f);
  }
  for (std::uint32_t i = n; i < 256; ++i) colors[i] = Color::FromRGB8(0, 0, 0, f);
}

void ReadRows(Stream& stream, const InfoHeader& info, std::uint32_t available, PixelBuffer& picture) {
  const std::uint32_t rowBytes = static_cast<std::uint32_t>((std::uint64_t{std::uint32_t(info.width)} * info.bitCount + 7) / 8);
  const std::uint32_t stride = ((static_cast<std::uint64_t>(info.width) * info.bitCount + 31) & ~std::uint64_t{31}) / 8;
  // Checked before the rows are read, so that a short file costs no work; the last row may lack its padding.
  if (std::uint64_t{stride} * (picture.height - 1) + rowBytes > available) Truncated(__LINE__);
  const bool topFirst = info.height < 0;
  const RowExpander expander(info);
  std::vector<std::uint8_t> row(stride);
  for (std::int32_t r = 0; r < picture.height; ++r) {
    stream.Read(row.data(), r + 1 < picture.height ? stride : rowBytes);
    expander.Expand(row.data(), picture.Row(topFirst ? r : picture.height - 1 - r), picture.width);
  }
}

// Run-length rows: pairs (count, value) and escapes (0 then end of line, end of picture, move, or a run
// of literal pixels padded to 16 bits). Pixels a file places outside the picture are dropped; those it
// never gives stay at index 0.
void DecodeRunLength(const std::vector<std::uint8_t>& data, bool fourBits, PixelBuffer& picture) {
  std::size_t pos = 0;
  std::int64_t x = 0, y = 0;  // y counts rows from the bottom, as the file does
  auto need = [&](std::size_t n) {
    if (data.size() - pos < n) Truncated(__LINE__);
  };
  auto put = [&](std::uint8_t index) {
    if (x < picture.width && y < picture.height) picture.Row(static_cast<std::int32_t>(picture.height - 1 - y))[x] = index;
    ++x;
  };
  while (y < picture.height) {
    need(2);
    const std::uint8_t count = data[pos], value = data[pos + 1];
    pos += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(fourBits ? ((i & 1) ? value & 0x0F : value >> 4) : value);
    } else if (value == 0) {
      x = 0, ++y;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      need(2);
      x += data[pos], y += data[pos + 1];
      pos += 2;
    } else {
      const std::size_t bytes = fourBits ? (value + 1u) / 2 : value;
      need(bytes + (bytes & 1));
      for (int i = 0; i < value; ++i) {
        const std::uint8_t b = data[pos + (fourBits ? i / 2 : i)];
        put(fourBits ? ((i & 1) ? b & 0x0F : b >> 4) : b);
      }
      pos += bytes + (bytes & 1);
    }
  }
}

}  // namespace

namespace {

PixelBuffer DecodeContents(Stream& stream, bool useKey, int keyIndex) {
  const std::uint32_t start = stream.GetPosition();
  std::uint8_t fileHeader[kFileHeaderSize];
  stream.Read(fileHeader, kFileHeaderSize);
  const std::uint8_t bfType1 = fileHeader[0], bfType2 = fileHeader[1];
  ASSERT(bfType1 == 'B' && bfType2 == 'M');
  const std::uint32_t bitsOffset = U32(fileHeader + 10);
  const InfoHeader info = ReadInfoHeader(stream);

  const bool indexed = info.bitCount <= 8;
  PixelBuffer picture(info.width, info.height < 0 ? -info.height : info.height, indexed ? 8 : 24);
  // The colour table follows the headers; 16- and 32-bit files may carry one as a hint, not needed here.
  if (indexed) ReadColors(stream, info, useKey, keyIndex, picture.colors);

  const std::uint32_t length = stream.GetLength();
  if (std::uint64_t{start} + bitsOffset > std::min<std::uint32_t>(length, INT32_MAX)) Truncated(__LINE__);
  stream.Seek(static_cast<std::int32_t>(start + bitsOffset), kSeekFromStart);
  const std::uint32_t available = length - (start + bitsOffset);
  if (info.compression == kRLE8 || info.compression == kRLE4) {
    std::vector<std::uint8_t> data(available);
    stream.Read(data.data(), available);
    DecodeRunLength(data, info.compression == kRLE4, picture);
  } else {
    ReadRows(stream, info, available, picture);
  }
  return picture;
}

}  // namespace

PixelBuffer DecodeBMP(Stream& stream, bool useKey, int keyIndex) {
  return ReadFileContents(&Refuse, [&] { return DecodeContents(stream, useKey, keyIndex); });
}

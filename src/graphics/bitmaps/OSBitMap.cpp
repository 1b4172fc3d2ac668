#include "graphics/bitmaps/OSBitMap.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <vector>

#include "core/Exception.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/bitmaps/DDBitMap.h"
#include "graphics/bitmaps/DIBSection.h"
#include "graphics/bitmaps/DIBitMap.h"
#include "graphics/bitmaps/PixelCursor.h"
#include "graphics/SystemVersion.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Paint.h"

SMART_DEFINE_ABSTRACT(OSBitMap, "OSBitMap", SmartImplementation)

namespace {

// A context of the screen, released at the end of the scope.
class ScreenDC {
 public:
  ScreenDC() : dc(CHECK_NOT_NULL(::GetDC(nullptr))) {}
  ~ScreenDC() { ::ReleaseDC(nullptr, dc); }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  HDC Get() const { return dc; }

 private:
  HDC dc;
};

// The pixel memory of a back end for the length of a scope.
class LockedBits {
 public:
  LockedBits(OSBitMap* bitmap, bool writeBack) : bitmap(bitmap), writeBack(writeBack) {
    bits = static_cast<std::uint8_t*>(bitmap->LockBits(&isCopy));
  }
  ~LockedBits() noexcept(false) {
    if (bits) bitmap->UnlockBits(writeBack && std::uncaught_exceptions() == 0, bits, isCopy);
  }
  LockedBits(const LockedBits&) = delete;
  LockedBits& operator=(const LockedBits&) = delete;
  std::uint8_t* Get() const { return bits; }
  bool IsCopy() const { return isCopy; }

 private:
  OSBitMap* bitmap;
  bool writeBack;
  bool isCopy = false;
  std::uint8_t* bits = nullptr;
};

// A back end's context for the length of a scope.
class BitmapDC {
 public:
  explicit BitmapDC(OSBitMap* bitmap) : bitmap(bitmap), dc(bitmap->GetDC()) {}
  ~BitmapDC() noexcept(false) {
    if (dc) bitmap->ReleaseDC(dc);
  }
  BitmapDC(const BitmapDC&) = delete;
  BitmapDC& operator=(const BitmapDC&) = delete;
  HDC Get() const { return dc; }

 private:
  OSBitMap* bitmap;
  HDC dc;
};

std::size_t HeaderColors(std::int16_t depth) { return depth <= 8 ? std::size_t{1} << depth : 0; }

RGBQUAD* ColorsOf(BITMAPINFO* info) {
  return reinterpret_cast<RGBQUAD*>(reinterpret_cast<std::uint8_t*>(info) + info->bmiHeader.biSize);
}

}  // namespace

// ---- The back-end interface ----

OSBitMap::~OSBitMap() { ReleaseBase(); }

void OSBitMap::ReleaseBase() {
  if (handle && !DeleteObject(handle)) ReportError("Call failed.", __FILE__, __LINE__);
  handle = nullptr;
  dibHeader.reset();
  width = height = 0;
  depth = 0;
}

void OSBitMap::Validate() {
  CHECK_CALL(depth == 1 || depth % 2 == 0);
  CHECK_CALL(width > 0);
  CHECK_CALL(height > 0);
  CHECK_NOT_NULL(handle);
}

std::int32_t OSBitMap::GetRowBytes(std::int16_t forDepth) const {
  const std::int64_t bits = std::int64_t{width} * (forDepth ? forDepth : depth);
  return static_cast<std::int32_t>(((bits + 31) & ~std::int64_t{31}) / 8);
}

std::int32_t OSBitMap::GetByteSize() const { return GetRowBytes(0) * height; }

std::uint8_t* OSBitMap::RowAddress(void* bits, std::int32_t y, std::int32_t rowBytes) const {
  const std::int32_t row = IsTopDown() ? y : height - 1 - y;
  return static_cast<std::uint8_t*>(bits) + static_cast<std::ptrdiff_t>(row) * rowBytes;
}

std::unique_ptr<std::uint64_t[]> OSBitMap::BuildDIBHeader(HPALETTE palette) const {
  const std::size_t numColors = HeaderColors(depth);
  const std::size_t bytes = sizeof(BITMAPINFOHEADER) + 4 * numColors + 1024;
  std::unique_ptr<std::uint64_t[]> block(new (std::nothrow) std::uint64_t[(bytes + 7) / 8]());
  if (!block) THROW_ERROR("Out of memory for DIB header");
  auto* info = reinterpret_cast<BITMAPINFO*>(block.get());
  info->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, static_cast<WORD>(depth), BI_RGB,
                                     0, 0, 0, 0, 0};
  if (depth <= 8) {
    ASSERT(numColors > 0);
    std::vector<PALETTEENTRY> entries(numColors);
    const UINT read = GetPaletteEntries(palette ? palette : ColorTable::GetAppPalette(), 0,
                                        static_cast<UINT>(numColors), entries.data());
    ClearBenignError({ERROR_INVALID_PARAMETER});
    CHECK_NON_ZERO(read);
    RGBQUAD* colors = ColorsOf(info);
    for (std::size_t i = 0; i < numColors; ++i) colors[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
  }
  return block;
}

void OSBitMap::SetDIBHeader(HPALETTE palette) { dibHeader = BuildDIBHeader(palette); }

const BITMAPINFO* OSBitMap::GetDIBHeader() {
  if (!dibHeader) SetDIBHeader(nullptr);
  return reinterpret_cast<const BITMAPINFO*>(dibHeader.get());
}

void OSBitMap::Create(std::int32_t newWidth, std::int32_t newHeight, std::int16_t newDepth, HPALETTE palette) {
  ASSERT(!IsInitialized());
  // A size the pixel memory cannot hold is refused before anything is allocated for it.
  CHECK_CALL(newWidth > 0 && newHeight > 0 && newDepth > 0 && newDepth <= 32);
  CHECK_CALL(((std::int64_t{newWidth} * newDepth + 31) / 32) * 4 * newHeight <= 0x7FFFFFFF);
  width = newWidth;
  height = newHeight;
  depth = newDepth;
  SetDIBHeader(palette);
  handle = CreateHandle();
  Validate();
}

void OSBitMap::CopyContentsOf(const OSBitMap& other) {
  if (!other.IsInitialized()) return;
  width = other.width;
  height = other.height;
  depth = other.depth;
  const std::size_t headerBytes = (sizeof(BITMAPINFOHEADER) + 4 * HeaderColors(depth) + 1024 + 7) / 8;
  dibHeader.reset(new std::uint64_t[headerBytes]);
  if (other.dibHeader) std::memcpy(dibHeader.get(), other.dibHeader.get(), headerBytes * 8);
  else dibHeader = BuildDIBHeader(nullptr);
  handle = CreateHandle();
  Validate();
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(GetByteSize()));
  other.GetBits(pixels.data(), GetByteSize());
  SetBits(pixels.data(), GetByteSize());
}

void OSBitMap::InitFromHandle(HBITMAP bitmap, HPALETTE palette) {
  ASSERT(!IsInitialized());
  BITMAP info{};
  CHECK_NON_ZERO(GetObject(bitmap, sizeof info, &info));
  CHECK_NON_ZERO(info.bmWidth);
  CHECK_NON_ZERO(info.bmHeight);
  Create(info.bmWidth, info.bmHeight, static_cast<std::int16_t>(info.bmBitsPixel), palette);
  const std::int32_t size = GetByteSize();
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size));
  // The pixels are asked for in this back end's own row layout: device rows for a device bitmap,
  // bottom-up DIB rows otherwise.
  if (IsTopDown()) {
    CHECK_CALL(GetBitmapBits(bitmap, size, pixels.data()) == size);
  } else {
    // GetDIBits writes the colour table it uses into the header it is given; ours keeps the palette's.
    const std::size_t headerBytes = sizeof(BITMAPINFOHEADER) + 4 * HeaderColors(depth) + 1024;
    std::vector<std::uint64_t> scratch((headerBytes + 7) / 8);
    std::memcpy(scratch.data(), GetDIBHeader(), headerBytes);
    ScreenDC screen;
    CHECK_CALL(GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height), pixels.data(),
                         reinterpret_cast<BITMAPINFO*>(scratch.data()), DIB_RGB_COLORS) == height);
  }
  SetBits(pixels.data(), size);
}

void OSBitMap::Fill(const Color& color) {
  HBRUSH brush = CHECK_NOT_NULL(CreateSolidBrush(MakeColorRef(color)));
  struct BrushDeleter {
    HBRUSH brush;
    ~BrushDeleter() { DeleteObject(brush); }
  } deleter{brush};
  BitmapDC dc(this);
  const RECT all{0, 0, width, height};
  CHECK_CALL(FillRect(dc.Get(), &all, brush));
}

void* OSBitMap::LockBits(bool* isCopy) {
  auto* copy = new std::uint8_t[static_cast<std::size_t>(GetByteSize())];
  try {
    GetBits(copy, GetByteSize());
  } catch (...) {
    delete[] copy;
    throw;
  }
  *isCopy = true;
  return copy;
}

void OSBitMap::UnlockBits(bool writeBack, void* bits, bool isCopy) {
  if (!isCopy) return;
  std::unique_ptr<std::uint8_t[]> copy(static_cast<std::uint8_t*>(bits));
  if (writeBack) SetBits(copy.get(), GetByteSize());
}

HRGN OSBitMap::GetColorRegion(const Color&) {
  {
    LockedBits pixels(this, false);
  }
  NOT_IMPLEMENTED();
  return nullptr;
}

void OSBitMap::RemapToPalette(HPALETTE palette, void* bits) {
  RemapDIBToPalette(GetDIBHeader(), palette, bits, GetByteSize());
  SetDIBHeader(palette);
}

// ---- Pixel copies between 8-bit back ends ----

void OSBitMap::CopyPixelsTo(OSBitMap* intoBitMap, const Rect& from, const Rect& to, std::int32_t key) {
  ASSERT(GetBitDepth() == 8);
  ASSERT(intoBitMap->GetBitDepth() == 8);
  OSBitMap* into = intoBitMap;
  ASSERT(from.Size() == to.Size());
  ASSERT(from.TopLeft() == Point::origin);
  // Clip the destination to the destination bitmap, and the source to this one, moving the other side's
  // start by the same amounts.
  Rect target = to;
  Point source = from.TopLeft();
  if (target.left < 0) source.x -= target.left, target.left = 0;
  if (target.top < 0) source.y -= target.top, target.top = 0;
  target.right = std::min({target.right, into->width, target.left + width - source.x});
  target.bottom = std::min({target.bottom, into->height, target.top + height - source.y});
  if (target.IsEmpty()) return;
  LockedBits sourceBits(this, false);
  LockedBits destBits(into, true);
  const std::int32_t sourceStride = GetRowBytes(0);
  const std::int32_t destStride = into->GetRowBytes(0);
  for (std::int32_t y = 0; y < target.Height(); ++y) {
    const std::uint8_t* in = RowAddress(sourceBits.Get(), source.y + y, sourceStride) + source.x;
    std::uint8_t* out = into->RowAddress(destBits.Get(), target.top + y, destStride) + target.left;
    for (std::int32_t x = 0; x < target.Width(); ++x) {
      if (in[x] != key) out[x] = in[x];
    }
  }
}

void OSBitMap::MaskedCopyTo(OSBitMap* dest, const Rect& destRect, OSBitMap* mask) {
  const Point sourceSize = mask->GetBounds().Size();
  ASSERT(destRect.Size() == sourceSize);
  ASSERT(GetBitDepth() == 8);
  ASSERT(dest->GetBitDepth() == 8);
  ASSERT(mask->GetBitDepth() == 1);
  if (destRect.left < 0 || destRect.top < 0 || destRect.right > dest->width || destRect.bottom > dest->height) return;
  // A source smaller than the mask gives only the pixels it has.
  const std::int32_t w = std::min(destRect.Width(), width);
  const std::int32_t h = std::min(destRect.Height(), height);
  LockedBits sourceBits(this, false);
  LockedBits maskBits(mask, false);
  LockedBits destBits(dest, true);
  for (std::int32_t y = 0; y < h; ++y) {
    const std::uint8_t* in = RowAddress(sourceBits.Get(), y, GetRowBytes(0));
    const std::uint8_t* bitsOfMask = mask->RowAddress(maskBits.Get(), y, mask->GetRowBytes(0));
    std::uint8_t* out = dest->RowAddress(destBits.Get(), destRect.top + y, dest->GetRowBytes(0)) + destRect.left;
    for (std::int32_t x = 0; x < w; ++x) {
      if (!(bitsOfMask[x / 8] & (0x80 >> (x % 8)))) out[x] = in[x];
    }
  }
}

// ---- Keyed drawing ----

// Only the part of the bitmap asked for is composed, so that a large picture shown through a small
// opening costs the opening, not the picture.
void OSBitMap::DrawKeyed(HDC dc, HPALETTE palette, const Rect& from, const Rect& to, std::int32_t key) {
  const Rect all = GetBounds();
  const Rect part = from.Intersect(all);
  if (part.IsEmpty()) return;
  const Rect onto = Rect::FromSizeAndOrigin(part.Size(), {to.left + part.left - from.left, to.top + part.top - from.top});
  const std::int32_t w = part.Width(), h = part.Height();
  const auto dcDepth = static_cast<std::int16_t>(GetDeviceCaps(dc, BITSPIXEL));
  std::unique_ptr<OSBitMap> scratch(NewOSBitMap(dcDepth));
  scratch->Create(w, h, dcDepth, palette);
  {
    // The background under the part, so that the part's pixel (x, y) lies over scratch pixel (x, y).
    BitmapDC scratchDC(scratch.get());
    const BOOL rf = BitBlt(scratchDC.Get(), 0, 0, w, h, dc, onto.left, onto.top, SRCCOPY);
    ASSERT(rf == TRUE);
  }
  if (depth == 8 && dcDepth == 8) {
    Rect shifted = all;
    shifted.Offset(-part.left, -part.top);
    CopyPixelsTo(scratch.get(), all, shifted, key);
  } else if (depth == 8 && dcDepth > 15) {
    LockedBits sourceBits(this, false);
    LockedBits destBits(scratch.get(), true);
    CHECK_CALL(!sourceBits.IsCopy() && !destBits.IsCopy());
    std::array<PALETTEENTRY, 256> entries{};
    GetPaletteEntries(palette ? palette : ColorTable::GetAppPalette(), 0, 256, entries.data());
    std::array<std::uint32_t, 256> lookup{};
    for (std::size_t i = 0; i < 256; ++i) {
      const PALETTEENTRY& e = entries[i];
      lookup[i] = dcDepth > 23 ? (std::uint32_t{e.peRed} << 16 | std::uint32_t{e.peGreen} << 8 | e.peBlue)
                               : (std::uint32_t{e.peRed} >> 3 << 10 | std::uint32_t{e.peGreen} >> 3 << 5 | std::uint32_t{e.peBlue} >> 3);
    }
    const int bytesPerPixel = dcDepth > 23 ? dcDepth / 8 : 2;
    for (std::int32_t y = 0; y < h; ++y) {
      const std::uint8_t* in = RowAddress(sourceBits.Get(), part.top + y, GetRowBytes(0)) + part.left;
      std::uint8_t* out = scratch->RowAddress(destBits.Get(), y, scratch->GetRowBytes(0));
      for (std::int32_t x = 0; x < w; ++x, out += bytesPerPixel) {
        if (in[x] == key) continue;
        const std::uint32_t value = lookup[in[x]];
        for (int b = 0; b < bytesPerPixel; ++b) out[b] = static_cast<std::uint8_t>(value >> (8 * b));
      }
    }
  } else {
    // Any other pair of depths: the part is drawn as an opaque draw would draw it onto a second copy of
    // the scratch, and only the pixels whose own value is not the key are taken from there, so the key is
    // compared before any conversion and key pixels keep the background.
    const Rect local{0, 0, w, h};
    std::unique_ptr<OSBitMap> drawn(NewOSBitMap(dcDepth));
    drawn->Create(w, h, dcDepth, palette);
    {
      BitmapDC drawnDC(drawn.get());
      StretchTo(drawnDC.Get(), palette, part, local);
    }
    LockedBits sourceBits(this, false);
    LockedBits drawnBits(drawn.get(), false);
    LockedBits destBits(scratch.get(), true);
    for (std::int32_t y = 0; y < h; ++y) {
      const std::uint8_t* in = RowAddress(sourceBits.Get(), part.top + y, GetRowBytes(0));
      const std::uint8_t* converted = drawn->RowAddress(drawnBits.Get(), y, drawn->GetRowBytes(0));
      std::uint8_t* out = scratch->RowAddress(destBits.Get(), y, scratch->GetRowBytes(0));
      for (std::int32_t x = 0; x < w; ++x) {
        if (PixelCursor::Read(in, part.left + x, depth) != static_cast<std::uint32_t>(key))
          PixelCursor::Write(out, x, dcDepth, PixelCursor::Read(converted, x, dcDepth));
      }
    }
  }
  scratch->StretchTo(dc, palette, Rect{0, 0, w, h}, onto);
}

// ---- The choice of back end ----

OSBitMap* NewOSBitMap(std::int16_t depth) {
  const int winVersion = GetWinVersion();
  ASSERT((winVersion <= Win95) || (winVersion >= Win31Only));
  if (winVersion == Win95) return new DIBSection();
  if (depth <= 8) return new DDBitMap();
  return new DIBitMap();
}

OSBitMap* NewOSBitMap(HBITMAP bitmap, HPALETTE palette, std::int16_t depth) {
  std::unique_ptr<OSBitMap> made(NewOSBitMap(depth));
  made->InitFromHandle(bitmap, palette);
  return made.release();
}

void RemapDIBToPalette(const BITMAPINFO* header, HPALETTE palette, void* pixels, std::int32_t size) {
  if (!header || !palette || !pixels || size <= 0) return;
  const BITMAPINFOHEADER& h = header->bmiHeader;
  const int bitCount = h.biBitCount;
  // Only indexes are remapped: pixels of 1 bit or of the direct depths are left as they are.
  if (bitCount != 4 && bitCount != 8) return;
  std::size_t colors = h.biClrUsed != 0 ? h.biClrUsed : std::size_t{1} << bitCount;
  colors = std::min(colors, std::size_t{1} << bitCount);
  const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const std::uint8_t*>(header) + h.biSize);
  std::array<std::uint8_t, 256> map;
  for (std::size_t i = 0; i < map.size(); ++i) map[i] = static_cast<std::uint8_t>(i);
  for (std::size_t i = 0; i < colors; ++i) {
    const RGBQUAD& q = table[i];
    map[i] = static_cast<std::uint8_t>(GetNearestPaletteIndex(palette, RGB(q.rgbRed, q.rgbGreen, q.rgbBlue)));
  }
  auto* p = static_cast<std::uint8_t*>(pixels);
  const std::int32_t n = size;
  if (h.biCompression == BI_RGB) {
    if (bitCount == 8) {
      for (std::int32_t i = 0; i < n; ++i) p[i] = map[p[i]];
    } else {
      for (std::int32_t i = 0; i < n; ++i) p[i] = static_cast<std::uint8_t>((map[p[i] >> 4] & 0x0F) << 4 | (map[p[i] & 0x0F] & 0x0F));
    }
    return;
  }
  if (h.biCompression != BI_RLE8) return;
  // Encoded runs carry one value; escapes: 0 end of line, 1 end of bitmap, 2 a move of two bytes, n >= 3
  // n literal values padded to an even count.
  for (std::int32_t i = 0; i + 1 < n;) {
    const std::uint8_t count = p[i];
    const std::uint8_t second = p[i + 1];
    i += 2;
    if (count != 0) {
      p[i - 1] = map[second];
    } else if (second == 1) {
      return;
    } else if (second == 2) {
      i += 2;
    } else if (second >= 3) {
      for (std::int32_t k = 0; k < second && i + k < n; ++k) p[i + k] = map[p[i + k]];
      i += second + (second & 1);
    }
  }
}

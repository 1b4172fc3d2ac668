#include "platform/gdi/raster/Blit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/kernel/Errors.h"

namespace platform::gdi {

namespace {

// Turns source pixel values into destination pixel values. Indexed sources go through a table built once
// per blit; direct sources into indexed destinations through a small cache of nearest entries.
class ColorConverter {
 public:
  ColorConverter(const BlitSource& source, const BlitTarget& target)
      : src(*source.surface), dst(*target.surface), sourceBackground(source.background & 0xFFFFFF) {
    monoDest = dst.monoDevice && dst.bpp == 1;
    if (src.Indexed()) {
      std::size_t count = std::size_t{1} << src.bpp;
      table.resize(count);
      identity = dst.bpp == src.bpp && !(src.monoDevice != monoDest && src.bpp == 1) &&
                 std::equal(src.colors.begin(), src.colors.end(), dst.colors.begin(), dst.colors.end(),
                            [](const RGBQUAD& a, const RGBQUAD& b) {
                              return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
                            });
      if (identity) {
        for (std::size_t i = 0; i < count; ++i) table[i] = static_cast<std::uint32_t>(i);
      } else if (src.monoDevice && src.bpp == 1 && !monoDest) {
        table[0] = dst.ValueOf(target.textColor & 0xFFFFFF);
        table[1] = dst.ValueOf(target.background & 0xFFFFFF);
      } else {
        for (std::size_t i = 0; i < count; ++i) table[i] = DestValue(src.ColorOf(static_cast<std::uint32_t>(i)));
      }
    } else {
      identity = dst.bpp == src.bpp;
      if (dst.Indexed()) cache.assign(kCacheSize, Entry{0xFFFFFFFFu, 0});
    }
  }

  bool Identity() const { return identity; }
  const std::vector<std::uint32_t>& Table() const { return table; }

  std::uint32_t operator()(std::uint32_t value) {
    if (identity) return value;
    if (!table.empty()) return value < table.size() ? table[value] : 0;
    if (!cache.empty()) {
      Entry& e = cache[(value ^ (value >> 11) ^ (value >> 19)) & (kCacheSize - 1)];
      if (e.key != value) e = Entry{value, DestValue(UnpackColor(value, src.bpp))};
      return e.value;
    }
    return DestValue(UnpackColor(value, src.bpp));
  }

  std::uint32_t DestValue(COLORREF color) const {
    if (monoDest) return color == sourceBackground ? 1 : 0;
    return dst.ValueOf(color);
  }

 private:
  struct Entry {
    std::uint32_t key;
    std::uint32_t value;
  };
  static constexpr std::size_t kCacheSize = 4096;
  const Surface& src;
  const Surface& dst;
  COLORREF sourceBackground;
  bool monoDest = false;
  bool identity = false;
  std::vector<std::uint32_t> table;
  std::vector<Entry> cache;
};

bool UsesPattern(BYTE rop) { return ((rop >> 4) & 0x0F) != (rop & 0x0F); }

// Column or row map of a stretch, for destination offsets [first, last): offset i (before mirroring)
// takes source offset floor(i * sourceSize / destSize).
std::vector<int> NearestMap(int first, int last, int destSize, int sourceSize, bool flip) {
  std::vector<int> map;
  map.reserve(static_cast<std::size_t>(last - first));
  for (int i = first; i < last; ++i) {
    long long k = flip ? destSize - 1 - i : i;
    map.push_back(static_cast<int>(k * sourceSize / destSize));
  }
  return map;
}

struct Weight {
  int index;
  double weight;
};

// The source offsets under destination offsets [first, last) of a box filter, with the share of each;
// only offsets in [valid, validEnd) (the source surface's) are listed.
std::vector<std::vector<Weight>> BoxMap(int first, int last, int destSize, int sourceSize, bool flip, int valid,
                                        int validEnd) {
  std::vector<std::vector<Weight>> map;
  map.reserve(static_cast<std::size_t>(last - first));
  double scale = static_cast<double>(sourceSize) / destSize;
  for (int i = first; i < last; ++i) {
    int k = flip ? destSize - 1 - i : i;
    double a = k * scale, b = (k + 1) * scale;
    std::vector<Weight>& weights = map.emplace_back();
    int end = std::min(sourceSize, validEnd);
    for (int s = std::max(static_cast<int>(std::floor(a)), valid); s < b && s < end; ++s) {
      double w = std::min<double>(b, s + 1) - std::max<double>(a, s);
      if (w > 1e-9) weights.push_back(Weight{s, w});
    }
  }
  return map;
}

void CopyRowsIdentity(const BlitTarget& target, const RECT& part, const Surface& src, int dx, int dy) {
  Surface& dst = *target.surface;
  int bytes = dst.bpp / 8;
  for (int y = part.top; y < part.bottom; ++y) {
    std::memcpy(dst.Row(y) + static_cast<std::ptrdiff_t>(part.left) * bytes,
                src.Row(y + dy) + static_cast<std::ptrdiff_t>(part.left + dx) * bytes,
                static_cast<std::size_t>(part.right - part.left) * bytes);
  }
}

}  // namespace

void Blit(const BlitTarget& target, RECT dest, const BlitSource& sourceIn, RECT src, bool flipX, bool flipY,
          BYTE rop) {
  Surface& dst = *target.surface;
  const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  const int sw = src.right - src.left, sh = src.bottom - src.top;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;

  // Copying within one surface reads a copy of the source, so that overlapping rectangles come out right.
  Surface copy;
  BlitSource source = sourceIn;
  if (source.surface == &dst) {
    RECT bounds = IntersectRects(src, RECT{0, 0, dst.width, dst.height});
    if (IsEmptyRect(bounds)) return;
    if (!copy.Allocate(bounds.right - bounds.left, bounds.bottom - bounds.top, dst.bpp, true, false)) return;
    copy.colors = dst.colors;
    copy.monoDevice = dst.monoDevice;
    int bytesPerRow = static_cast<int>((static_cast<std::int64_t>(copy.width) * dst.bpp + 7) / 8);
    for (int y = 0; y < copy.height; ++y) {
      if (dst.bpp % 8 == 0) {
        std::memcpy(copy.Row(y), dst.Row(bounds.top + y) + static_cast<std::ptrdiff_t>(bounds.left) * (dst.bpp / 8),
                    static_cast<std::size_t>(bytesPerRow));
      } else {
        for (int x = 0; x < copy.width; ++x) copy.Set(x, y, dst.Get(bounds.left + x, bounds.top + y));
      }
    }
    src.left -= bounds.left;
    src.right -= bounds.left;
    src.top -= bounds.top;
    src.bottom -= bounds.top;
    source.surface = &copy;
  }
  const Surface& from = *source.surface;

  Paint pattern = target.pattern;
  ResolveConstantRop(dst, rop, pattern);
  const bool usesPattern = UsesPattern(rop);
  if (usesPattern && pattern.none) return;
  ColorConverter convert(source, target);

  std::vector<RECT> wholeSurface{RECT{0, 0, dst.width, dst.height}};
  const std::vector<RECT>& clip = target.clip ? *target.clip : wholeSurface;
  const std::uint32_t mask = dst.Mask();

  if (dw == sw && dh == sh && !flipX && !flipY) {
    // Plain copy: limit the destination to where the source exists.
    int dx = src.left - dest.left, dy = src.top - dest.top;
    // 8-bit to 8-bit copies look indices up in a table of bytes, which the compiler keeps close.
    BYTE byteTable[256] = {};
    if (from.bpp == 8 && dst.bpp == 8) {
      for (int i = 0; i < 256; ++i) byteTable[i] = static_cast<BYTE>(convert.Table()[static_cast<std::size_t>(i)]);
    }
    RECT limit = IntersectRects(dest, RECT{-dx, -dy, from.width - dx, from.height - dy});
    ForEachClipped(clip, limit, [&](const RECT& part) {
      if (rop == 0xCC && convert.Identity() && dst.bpp >= 8) {
        CopyRowsIdentity(target, part, from, dx, dy);
        return;
      }
      for (int y = part.top; y < part.bottom; ++y) {
        const BYTE* in = from.Row(y + dy);
        BYTE* out = dst.Row(y);
        if (rop == 0xCC && from.bpp == 8 && dst.bpp == 8) {
          for (int x = part.left; x < part.right; ++x) out[x] = byteTable[in[x + dx]];
          continue;
        }
        if (rop == 0xCC && from.bpp == 8 && dst.bpp == 32) {
          // The rows may be a caller's buffer at any address: each pixel is copied, not stored as a word.
          const std::uint32_t* table = convert.Table().data();
          for (int x = part.left; x < part.right; ++x) std::memcpy(out + 4 * x, &table[in[x + dx]], 4);
          continue;
        }
        for (int x = part.left; x < part.right; ++x) {
          std::uint32_t s = convert(ReadPixel(in, x + dx, from.bpp));
          std::uint32_t value = rop == 0xCC ? s
                                            : Rop3(rop, usesPattern ? pattern.At(x, y) : 0, s, ReadPixel(out, x, dst.bpp));
          WritePixel(out, x, dst.bpp, value & mask);
        }
      }
    });
    return;
  }

  // Stretch: every destination pixel takes the source pixel (or box of pixels) it maps back to; those that
  // map outside the source are left alone.
  // Maps are made for the part of the destination the clip leaves, however large the whole.
  const RECT visible = IntersectRects(dest, BoundsOf(clip));
  if (IsEmptyRect(visible)) return;

  if (target.stretchMode == HALFTONE && (sw > dw || sh > dh)) {
    // A box filter in two passes: the source rows under a destination row are summed column by column,
    // then the columns under each destination pixel. Weights are in 1/65536ths.
    auto columns = BoxMap(visible.left - dest.left, visible.right - dest.left, dw, sw, flipX, -src.left,
                          from.width - src.left);
    auto rows = BoxMap(visible.top - dest.top, visible.bottom - dest.top, dh, sh, flipY, -src.top,
                       from.height - src.top);
    auto fixed = [](double w) { return static_cast<std::uint64_t>(w * 65536 + 0.5); };
    // Only source columns inside the source surface count.
    const int validFirst = std::max(0, -src.left), validLast = std::min(sw - 1, from.width - 1 - src.left);
    std::vector<std::uint64_t> sums;
    ForEachClipped(clip, visible, [&](const RECT& part) {
      int firstColumn = sw, lastColumn = -1;
      for (int x = part.left; x < part.right; ++x) {
        for (const Weight& w : columns[x - visible.left]) {
          firstColumn = std::min(firstColumn, w.index);
          lastColumn = std::max(lastColumn, w.index);
        }
      }
      firstColumn = std::max(firstColumn, validFirst);
      lastColumn = std::min(lastColumn, validLast);
      if (firstColumn > lastColumn) return;
      sums.assign(3 * static_cast<std::size_t>(lastColumn - firstColumn + 1), 0);
      for (int y = part.top; y < part.bottom; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        std::uint64_t rowTotal = 0;
        for (const Weight& wy : rows[y - visible.top]) {
          int sy = src.top + wy.index;
          if (sy < 0 || sy >= from.height) continue;
          std::uint64_t w = fixed(wy.weight);
          rowTotal += w;
          const BYTE* in = from.Row(sy);
          std::uint64_t* sum = sums.data();
          if (from.bpp == 32) {
            const BYTE* p = in + 4 * static_cast<std::ptrdiff_t>(src.left);
            for (int c = firstColumn; c <= lastColumn; ++c, sum += 3) {
              std::uint32_t v;
              std::memcpy(&v, p + 4 * c, 4);
              sum[0] += ((v >> 16) & 255) * w;
              sum[1] += ((v >> 8) & 255) * w;
              sum[2] += (v & 255) * w;
            }
          } else {
            for (int c = firstColumn; c <= lastColumn; ++c, sum += 3) {
              COLORREF color = from.ColorOf(ReadPixel(in, src.left + c, from.bpp));
              sum[0] += GetRValue(color) * w;
              sum[1] += GetGValue(color) * w;
              sum[2] += GetBValue(color) * w;
            }
          }
        }
        if (rowTotal == 0) continue;
        BYTE* out = dst.Row(y);
        for (int x = part.left; x < part.right; ++x) {
          std::uint64_t r = 0, g = 0, b = 0, total = 0;
          for (const Weight& wx : columns[x - visible.left]) {
            if (wx.index < firstColumn || wx.index > lastColumn) continue;
            std::uint64_t w = fixed(wx.weight);
            const std::uint64_t* sum = &sums[3 * static_cast<std::size_t>(wx.index - firstColumn)];
            r += sum[0] * w;
            g += sum[1] * w;
            b += sum[2] * w;
            total += w;
          }
          if (total == 0) continue;
          total *= rowTotal;
          COLORREF c = RGB(static_cast<BYTE>((r + total / 2) / total), static_cast<BYTE>((g + total / 2) / total),
                           static_cast<BYTE>((b + total / 2) / total));
          std::uint32_t value = convert.DestValue(c);
          if (rop != 0xCC) value = Rop3(rop, usesPattern ? pattern.At(x, y) : 0, value, ReadPixel(out, x, dst.bpp));
          WritePixel(out, x, dst.bpp, value & mask);
        }
      }
    });
    return;
  }

  std::vector<int> columns = NearestMap(visible.left - dest.left, visible.right - dest.left, dw, sw, flipX);
  std::vector<int> rows = NearestMap(visible.top - dest.top, visible.bottom - dest.top, dh, sh, flipY);
  ForEachClipped(clip, visible, [&](const RECT& part) {
    for (int y = part.top; y < part.bottom; ++y) {
      int sy = src.top + rows[y - visible.top];
      if (sy < 0 || sy >= from.height) continue;
      const BYTE* in = from.Row(sy);
      BYTE* out = dst.Row(y);
      for (int x = part.left; x < part.right; ++x) {
        int sx = src.left + columns[x - visible.left];
        if (sx < 0 || sx >= from.width) continue;
        std::uint32_t s = convert(ReadPixel(in, sx, from.bpp));
        std::uint32_t value = rop == 0xCC ? s
                                          : Rop3(rop, usesPattern ? pattern.At(x, y) : 0, s, ReadPixel(out, x, dst.bpp));
        WritePixel(out, x, dst.bpp, value & mask);
      }
    }
  });
}

const BYTE* ColorTableOf(const BITMAPINFO* info) {
  const BYTE* table = reinterpret_cast<const BYTE*>(info) + info->bmiHeader.biSize;
  if (info->bmiHeader.biCompression == BI_BITFIELDS && info->bmiHeader.biSize == sizeof(BITMAPINFOHEADER)) {
    table += 12;
  }
  return table;
}

bool DibView::Parse(const BITMAPINFO* info, UINT usage, const void* bits, const DeviceContext* dc) {
  if (!info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER) || info->bmiHeader.biSize > 1024) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  const BITMAPINFOHEADER& h = info->bmiHeader;
  int depth = h.biBitCount;
  bool masksOk = h.biCompression == BI_RGB;
  if (h.biCompression == BI_BITFIELDS) {
    const DWORD* masks = reinterpret_cast<const DWORD*>(reinterpret_cast<const BYTE*>(info) + 40);
    masksOk = (depth == 16 && masks[0] == 0x7C00 && masks[1] == 0x3E0 && masks[2] == 0x1F) ||
              (depth == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF);
  }
  if (!masksOk || !IsSupportedDepth(depth) || h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN ||
      (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS) || (depth <= 8 && h.biClrUsed > (1u << depth))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  std::uint64_t stride = DibStride(h.biWidth, depth);
  std::uint64_t rows = static_cast<std::uint64_t>(h.biHeight < 0 ? -static_cast<std::int64_t>(h.biHeight) : h.biHeight);
  if (stride * rows > kMaxSurfaceBytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  surface.width = h.biWidth;
  surface.height = static_cast<int>(rows);
  surface.bpp = depth;
  surface.stride = static_cast<std::ptrdiff_t>(stride);
  surface.topDown = h.biHeight < 0;
  surface.bits = const_cast<BYTE*>(static_cast<const BYTE*>(bits));
  if (depth <= 8) {
    std::size_t count = h.biClrUsed ? h.biClrUsed : (std::size_t{1} << depth);
    std::vector<RGBQUAD> table(count);
    const BYTE* raw = ColorTableOf(info);
    if (usage == DIB_RGB_COLORS) {
      std::memcpy(table.data(), raw, count * sizeof(RGBQUAD));
    } else {
      const PaletteObject* palette = dc ? dc->palette : static_cast<PaletteObject*>(Stock(DEFAULT_PALETTE));
      for (std::size_t i = 0; i < count; ++i) {
        WORD index;
        std::memcpy(&index, raw + 2 * i, 2);
        const PALETTEENTRY e = index < palette->entries.size() ? palette->entries[index] : PALETTEENTRY{0, 0, 0, 0};
        table[i] = RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
      }
    }
    surface.SetColors(table.data(), table.size());
  }
  return true;
}

std::uint64_t DibView::ByteSize() const {
  return static_cast<std::uint64_t>(surface.stride) * static_cast<std::uint64_t>(surface.height);
}

}  // namespace platform::gdi

// Device bitmaps and DIB sections, their pixels as bytes, and DIB conversions.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/gdi/raster/Blit.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/text/RasterFont.h"
#include "platform/kernel/Errors.h"

using namespace platform::gdi;

namespace {

HBITMAP RegisterBitmap(std::shared_ptr<Surface> surface, bool dibSection) {
  auto object = std::make_unique<BitmapObject>();
  object->surface = std::move(surface);
  object->dibSection = dibSection;
  return static_cast<HBITMAP>(Register(std::move(object)));
}

// A device bitmap: rows top-down and 16-bit aligned, as GetBitmapBits and SetBitmapBits exchange them.
std::shared_ptr<Surface> NewDeviceSurface(int width, int height, int bpp) {
  auto surface = std::make_shared<Surface>();
  if (!surface->Allocate(width, height, bpp, true, true)) return nullptr;
  surface->monoDevice = bpp == 1;
  if (bpp == 8 && ScreenBitsPerPixel() == 8) {
    std::vector<RGBQUAD> table;
    for (const PALETTEENTRY& e : SystemPalette()) table.push_back(RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0});
    surface->SetColors(table.data(), table.size());
  }
  return surface;
}

// The depth of bitmaps compatible with a context: that of its selected bitmap, or the screen's.
int CompatibleDepth(HDC handle) {
  DeviceContext* dc = handle ? GetDC(handle) : nullptr;
  if (dc && !dc->surfaceDC && dc->bitmap) return dc->surface->bpp;
  return ScreenBitsPerPixel();
}

// Copies rows between a surface and a buffer of rows in another layout, `rowBytes` bytes each.
template <typename Copy>
LONG ForRows(const Surface& surface, LONG size, Copy copy) {
  std::size_t rowBytes = static_cast<std::size_t>(DeviceStride(surface.width, surface.bpp));
  std::size_t take = std::min<std::size_t>(rowBytes, static_cast<std::size_t>((static_cast<std::int64_t>(surface.width) * surface.bpp + 7) / 8));
  LONG done = 0;
  for (int y = 0; y < surface.height && done + static_cast<LONG>(rowBytes) <= size; ++y) {
    copy(surface.Row(y), static_cast<std::size_t>(done), take);
    done += static_cast<LONG>(rowBytes);
  }
  return done;
}

}  // namespace

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (planes != 1 || !IsSupportedDepth(static_cast<int>(bitsPerPixel))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto surface = NewDeviceSurface(width, height, static_cast<int>(bitsPerPixel));
  if (!surface) return nullptr;
  if (bits) std::memcpy(surface->bits, bits, static_cast<std::size_t>(surface->stride) * surface->height);
  return RegisterBitmap(std::move(surface), false);
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  if (!GetDC(dc)) return nullptr;
  auto surface = NewDeviceSurface(width, height, CompatibleDepth(dc));
  return surface ? RegisterBitmap(std::move(surface), false) : nullptr;
}

HBITMAP CreateDIBSection(HDC handle, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD) {
  if (bits) *bits = nullptr;
  DeviceContext* dc = handle ? GetDC(handle) : nullptr;
  if (handle && !dc) return nullptr;
  DibView format;
  if (section || !format.Parse(info, usage, nullptr, dc)) {
    if (section) SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto surface = std::make_shared<Surface>();
  if (!surface->Allocate(format.surface.width, format.surface.height, format.surface.bpp, format.surface.topDown, false)) {
    return nullptr;
  }
  if (surface->Indexed()) surface->SetColors(format.surface.colors.data(), format.surface.colors.size());
  if (bits) *bits = surface->bits;
  return RegisterBitmap(std::move(surface), true);
}

HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage) {
  // The most negative height has no positive counterpart; DIB headers refuse it too.
  if (!header || header->biHeight == INT32_MIN) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (dc && !GetDC(dc)) return nullptr;
  int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  auto surface = NewDeviceSurface(header->biWidth, height, ScreenBitsPerPixel());
  if (!surface) return nullptr;
  HBITMAP bitmap = RegisterBitmap(std::move(surface), false);
  if ((init & CBM_INIT) && bits && SetDIBits(dc, bitmap, 0, static_cast<UINT>(height), bits, info, usage) == 0) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

LONG GetBitmapBits(HBITMAP handle, LONG size, LPVOID bits) {
  BitmapObject* bitmap = GetBitmap(handle);
  if (!bitmap) return 0;
  const Surface& s = *bitmap->surface;
  LONG total = static_cast<LONG>(DeviceStride(s.width, s.bpp) * s.height);
  if (!bits) return total;
  auto* out = static_cast<BYTE*>(bits);
  return ForRows(s, size, [&](BYTE* row, std::size_t at, std::size_t take) { std::memcpy(out + at, row, take); });
}

LONG SetBitmapBits(HBITMAP handle, DWORD size, const void* bits) {
  BitmapObject* bitmap = GetBitmap(handle);
  if (!bitmap) return 0;
  if (!bits) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto* in = static_cast<const BYTE*>(bits);
  LONG limit = static_cast<LONG>(std::min<DWORD>(size, 0x7FFFFFFF));
  return ForRows(*bitmap->surface, limit, [&](BYTE* row, std::size_t at, std::size_t take) { std::memcpy(row, in + at, take); });
}

int GetDIBits(HDC handle, HBITMAP bitmapHandle, UINT startScan, UINT lines, LPVOID bits, BITMAPINFO* info, UINT usage) {
  DeviceContext* dc = GetDC(handle);
  BitmapObject* bitmap = GetBitmap(bitmapHandle);
  if (!dc || !bitmap) return 0;
  if (!info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER) || usage != DIB_RGB_COLORS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const Surface& s = *bitmap->surface;
  BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biBitCount == 0) {
    // Only the bitmap's format is asked for.
    h.biWidth = s.width;
    h.biHeight = s.height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(s.bpp);
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(DibStride(s.width, s.bpp) * s.height);
    h.biClrUsed = 0;
    return s.height;
  }
  if (!IsSupportedDepth(h.biBitCount) || (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  bool topDown = h.biHeight < 0;
  h.biWidth = s.width;
  h.biHeight = topDown ? -s.height : s.height;
  h.biPlanes = 1;
  h.biSizeImage = static_cast<DWORD>(DibStride(s.width, h.biBitCount) * s.height);
  h.biClrUsed = 0;
  int depth = h.biBitCount;
  std::vector<RGBQUAD> table;
  if (depth <= 8) {
    table = (s.Indexed() && s.bpp == depth) ? s.colors : DefaultColors(depth);
    std::memcpy(const_cast<BYTE*>(ColorTableOf(info)), table.data(), table.size() * sizeof(RGBQUAD));
  }
  if (!bits) return s.height;
  if (startScan >= static_cast<UINT>(s.height)) return 0;
  lines = std::min<UINT>(lines, static_cast<UINT>(s.height) - startScan);
  if (lines == 0) return 0;
  // The buffer holds `lines` rows in the asked order; scans count from the bitmap's bottom row.
  Surface out;
  out.width = s.width;
  out.height = static_cast<int>(lines);
  out.bpp = depth;
  out.stride = static_cast<std::ptrdiff_t>(DibStride(s.width, depth));
  out.topDown = topDown;
  out.bits = static_cast<BYTE*>(bits);
  if (depth <= 8) out.SetColors(table.data(), table.size());
  int top = s.height - static_cast<int>(startScan) - static_cast<int>(lines);
  BlitTarget target;
  target.surface = &out;
  target.textColor = PlainColor(*dc, dc->textColor);
  target.background = PlainColor(*dc, dc->bkColor);
  Blit(target, RECT{0, 0, out.width, out.height}, BlitSource{&s, PlainColor(*dc, dc->bkColor)},
       RECT{0, top, s.width, top + out.height}, false, false, 0xCC);
  return static_cast<int>(lines);
}

int SetDIBits(HDC handle, HBITMAP bitmapHandle, UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage) {
  DeviceContext* dc = handle ? GetDC(handle) : nullptr;
  if (handle && !dc) return 0;
  BitmapObject* bitmap = GetBitmap(bitmapHandle);
  if (!bitmap) return 0;
  if (!bits) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  DibView dib;
  if (!dib.Parse(info, usage, bits, dc)) return 0;
  Surface& s = *bitmap->surface;
  int dibHeight = dib.surface.height;
  if (startScan >= static_cast<UINT>(dibHeight)) return 0;
  lines = std::min<UINT>(lines, static_cast<UINT>(dibHeight) - startScan);
  // The buffer's rows are scans [startScan, startScan + lines) of a DIB as tall as the header says.
  dib.surface.height = static_cast<int>(lines);
  int top = dibHeight - static_cast<int>(startScan) - static_cast<int>(lines);
  BlitTarget target;
  target.surface = &s;
  if (dc) {
    target.textColor = PlainColor(*dc, dc->textColor);
    target.background = PlainColor(*dc, dc->bkColor);
  }
  Blit(target, RECT{0, top, dib.surface.width, top + static_cast<int>(lines)}, BlitSource{&dib.surface, target.background},
       RECT{0, 0, dib.surface.width, static_cast<int>(lines)}, false, false, 0xCC);
  return static_cast<int>(lines);
}

UINT GetDIBColorTable(HDC handle, UINT start, UINT count, RGBQUAD* colors) {
  DeviceContext* dc = GetDC(handle);
  if (!dc || !colors) return 0;
  const Surface& s = *dc->surface;
  if (!s.Indexed() || start >= s.colors.size()) return 0;
  count = std::min<UINT>(count, static_cast<UINT>(s.colors.size()) - start);
  std::copy_n(s.colors.begin() + start, count, colors);
  return count;
}

UINT SetDIBColorTable(HDC handle, UINT start, UINT count, const RGBQUAD* colors) {
  DeviceContext* dc = GetDC(handle);
  if (!dc || !colors) return 0;
  Surface& s = *dc->surface;
  if (!s.Indexed() || start >= s.colors.size() || (dc->bitmap && !dc->bitmap->dibSection)) return 0;
  count = std::min<UINT>(count, static_cast<UINT>(s.colors.size()) - start);
  std::copy_n(colors, count, s.colors.begin() + start);
  ++s.colorsVersion;
  return count;
}

int GetObjectA(HGDIOBJ handle, int size, LPVOID buffer) {
  Object* object = Find(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  auto give = [&](const auto& value) -> int {
    int needed = static_cast<int>(sizeof(value));
    if (!buffer) return needed;
    int n = std::min(size, needed);
    if (n <= 0) return 0;
    std::memcpy(buffer, &value, static_cast<std::size_t>(n));
    return n;
  };
  switch (object->kind) {
    case Kind::Bitmap: {
      auto* bitmap = static_cast<BitmapObject*>(object);
      const Surface& s = *bitmap->surface;
      BITMAP bm{0, s.width, s.height, static_cast<LONG>(s.stride), 1, static_cast<WORD>(s.bpp),
                bitmap->dibSection ? s.bits : nullptr};
      if (bitmap->dibSection && (size >= static_cast<int>(sizeof(DIBSECTION)) || !buffer)) {
        DIBSECTION ds{};
        ds.dsBm = bm;
        ds.dsBmih = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), s.width, s.topDown ? -s.height : s.height, 1,
                                     static_cast<WORD>(s.bpp), BI_RGB,
                                     static_cast<DWORD>(s.stride * s.height), 0, 0,
                                     s.Indexed() ? static_cast<DWORD>(s.colors.size()) : 0, 0};
        return give(ds);
      }
      return give(bm);
    }
    case Kind::Palette: {
      WORD count = static_cast<WORD>(static_cast<PaletteObject*>(object)->entries.size());
      return give(count);
    }
    case Kind::Pen: {
      auto* pen = static_cast<PenObject*>(object);
      return give(LOGPEN{pen->style, POINT{pen->width, 0}, pen->color});
    }
    case Kind::Brush: {
      auto* brush = static_cast<BrushObject*>(object);
      return give(LOGBRUSH{brush->style, brush->color, 0});
    }
    case Kind::Font: return give(static_cast<FontObject*>(object)->font->Description());
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
  }
}

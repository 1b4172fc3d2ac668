// Logical palettes, and the system palette of an 8-bit screen.
#include <algorithm>
#include <cstring>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Objects.h"
#include "platform/kernel/Errors.h"

using namespace platform::gdi;

namespace {
constexpr UINT kMaxPaletteEntries = 1024;

std::vector<RGBQUAD> QuadsOf(const std::vector<PALETTEENTRY>& entries) {
  std::vector<RGBQUAD> quads;
  quads.reserve(entries.size());
  for (const PALETTEENTRY& e : entries) quads.push_back(RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0});
  return quads;
}

bool IsStaticColor(const PALETTEENTRY& e) {
  const PALETTEENTRY* statics = StaticColors();
  return std::any_of(statics, statics + 20, [&](const PALETTEENTRY& s) {
    return s.peRed == e.peRed && s.peGreen == e.peGreen && s.peBlue == e.peBlue;
  });
}
}  // namespace

HPALETTE CreatePalette(const LOGPALETTE* palette) {
  if (!palette || palette->palVersion != 0x300 || palette->palNumEntries == 0 ||
      palette->palNumEntries > kMaxPaletteEntries) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto object = std::make_unique<PaletteObject>();
  object->entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
  return static_cast<HPALETTE>(Register(std::move(object)));
}

UINT GetPaletteEntries(HPALETTE handle, UINT start, UINT count, PALETTEENTRY* entries) {
  PaletteObject* palette = GetPalette(handle);
  if (!palette) return 0;
  UINT size = static_cast<UINT>(palette->entries.size());
  if (!entries) return size;
  if (start >= size) return 0;
  count = std::min(count, size - start);
  std::copy_n(palette->entries.begin() + start, count, entries);
  return count;
}

UINT SetPaletteEntries(HPALETTE handle, UINT start, UINT count, const PALETTEENTRY* entries) {
  PaletteObject* palette = GetPalette(handle);
  if (!palette || !entries || palette->stock) return 0;
  UINT size = static_cast<UINT>(palette->entries.size());
  if (start >= size) return 0;
  count = std::min(count, size - start);
  std::copy_n(entries, count, palette->entries.begin() + start);
  return count;
}

UINT GetNearestPaletteIndex(HPALETTE handle, COLORREF color) {
  PaletteObject* palette = GetPalette(handle);
  if (!palette) return CLR_INVALID;
  return NearestIndex(palette->entries.data(), palette->entries.size(), color & 0xFFFFFF);
}

HPALETTE SelectPalette(HDC handle, HPALETTE paletteHandle, BOOL) {
  DeviceContext* dc = GetDC(handle);
  PaletteObject* palette = GetPalette(paletteHandle);
  if (!dc || !palette) return nullptr;
  PaletteObject* previous = dc->palette;
  --previous->selections;
  dc->palette = palette;
  ++palette->selections;
  return static_cast<HPALETTE>(previous->handle);
}

UINT RealizePalette(HDC handle) {
  DeviceContext* dc = GetDC(handle);
  if (!dc) return GDI_ERROR;
  const std::vector<PALETTEENTRY>& entries = dc->palette->entries;
  Surface& surface = *dc->surface;
  // An 8-bit device bitmap shows its pixels through the palette realised in its context.
  if (!dc->surfaceDC && dc->bitmap && !dc->bitmap->dibSection && surface.bpp == 8) {
    std::vector<RGBQUAD> quads = QuadsOf(entries);
    surface.SetColors(quads.data(), std::min<std::size_t>(quads.size(), 256));
    return static_cast<UINT>(std::min<std::size_t>(entries.size(), 256));
  }
  if (ScreenBitsPerPixel() != 8 || !dc->surfaceDC) return 0;
  // The screen keeps its 20 static colours; the palette's other colours take the free entries 10-245.
  std::vector<PALETTEENTRY>& system = SystemPalette();
  UINT changed = 0;
  if (entries.size() == 256) {
    for (int i = 10; i < 246; ++i) {
      if (std::memcmp(&system[i], &entries[i], 3) != 0) ++changed;
      system[i] = PALETTEENTRY{entries[i].peRed, entries[i].peGreen, entries[i].peBlue, 0};
    }
  } else {
    int next = 10;
    for (const PALETTEENTRY& e : entries) {
      if (next >= 246) break;
      if (IsStaticColor(e) && !(e.peFlags & PC_NOCOLLAPSE)) continue;
      if (std::memcmp(&system[next], &e, 3) != 0) ++changed;
      system[next++] = PALETTEENTRY{e.peRed, e.peGreen, e.peBlue, 0};
    }
  }
  if (surface.bpp == 8) {
    std::vector<RGBQUAD> quads = QuadsOf(system);
    surface.SetColors(quads.data(), quads.size());
  }
  return changed;
}

UINT GetSystemPaletteEntries(HDC handle, UINT start, UINT count, PALETTEENTRY* entries) {
  if (!GetDC(handle)) return 0;
  // A true-colour screen has no system palette.
  if (ScreenBitsPerPixel() > 8) return 0;
  const std::vector<PALETTEENTRY>& system = SystemPalette();
  if (!entries) return static_cast<UINT>(system.size());
  if (start >= system.size()) return 0;
  count = std::min<UINT>(count, static_cast<UINT>(system.size()) - start);
  std::copy_n(system.begin() + start, count, entries);
  return count;
}

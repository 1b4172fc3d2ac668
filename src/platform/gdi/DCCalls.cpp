// Device contexts: creation, the objects selected into them, their drawing state and their clip.
#include <algorithm>
#include <utility>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Objects.h"
#include "platform/kernel/Errors.h"

using namespace platform::gdi;

namespace {

template <typename T>
void Swap(T*& slot, T* next) {
  if (slot) --slot->selections;
  slot = next;
  if (next) ++next->selections;
}

DeviceContext* NewContext() {
  auto dc = std::make_unique<DeviceContext>();
  Swap(dc->pen, static_cast<PenObject*>(Stock(BLACK_PEN)));
  Swap(dc->brush, static_cast<BrushObject*>(Stock(WHITE_BRUSH)));
  Swap(dc->palette, static_cast<PaletteObject*>(Stock(DEFAULT_PALETTE)));
  Swap(dc->font, static_cast<FontObject*>(Stock(SYSTEM_FONT)));
  DeviceContext* raw = dc.get();
  Register(std::move(dc));
  return raw;
}

std::shared_ptr<Surface> SurfaceOf(HBITMAP bitmap) {
  BitmapObject* object = GetBitmap(bitmap);
  return object ? object->surface : nullptr;
}

}  // namespace

HDC CreateCompatibleDC(HDC reference) {
  if (reference && !GetDC(reference)) return nullptr;
  DeviceContext* dc = NewContext();
  Swap(dc->bitmap, StockBitmap());
  dc->surface = dc->bitmap->surface;
  return static_cast<HDC>(dc->handle);
}

BOOL DeleteDC(HDC handle) {
  DeviceContext* dc = GetDC(handle);
  if (!dc) return FALSE;
  Swap(dc->pen, static_cast<PenObject*>(nullptr));
  Swap(dc->brush, static_cast<BrushObject*>(nullptr));
  Swap(dc->palette, static_cast<PaletteObject*>(nullptr));
  Swap(dc->font, static_cast<FontObject*>(nullptr));
  Swap(dc->bitmap, static_cast<BitmapObject*>(nullptr));
  Destroy(dc);
  return TRUE;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ objectHandle) {
  DeviceContext* dc = GetDC(handle);
  if (!dc) return nullptr;
  Object* object = Find(objectHandle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  void* previous = nullptr;
  switch (object->kind) {
    case Kind::Pen:
      previous = dc->pen->handle;
      Swap(dc->pen, static_cast<PenObject*>(object));
      return previous;
    case Kind::Brush:
      previous = dc->brush->handle;
      Swap(dc->brush, static_cast<BrushObject*>(object));
      return previous;
    case Kind::Font:
      previous = dc->font ? dc->font->handle : nullptr;
      Swap(dc->font, static_cast<FontObject*>(object));
      return previous;
    case Kind::Region: {
      int kind = SelectClipRgn(handle, static_cast<HRGN>(objectHandle));
      return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(kind));
    }
    case Kind::Bitmap: {
      auto* bitmap = static_cast<BitmapObject*>(object);
      // A bitmap lives in one memory context at a time; window contexts draw into their surface only.
      if (dc->surfaceDC || (bitmap->selections > 0 && bitmap != dc->bitmap && !bitmap->stock)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
      }
      previous = dc->bitmap->handle;
      Swap(dc->bitmap, bitmap);
      dc->surface = bitmap->surface;
      dc->ClipChanged();
      return previous;
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

HGDIOBJ GetCurrentObject(HDC handle, UINT kind) {
  DeviceContext* dc = GetDC(handle);
  if (!dc) return nullptr;
  switch (kind) {
    case OBJ_PEN: return dc->pen->handle;
    case OBJ_BRUSH: return dc->brush->handle;
    case OBJ_PAL: return dc->palette->handle;
    case OBJ_FONT: return dc->font ? dc->font->handle : nullptr;
    case OBJ_BITMAP: return dc->bitmap ? dc->bitmap->handle : nullptr;
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

int GetDeviceCaps(HDC handle, int index) {
  if (!GetDC(handle)) return 0;
  bool palette = ScreenBitsPerPixel() <= 8;
  switch (index) {
    case DRIVERVERSION: return 0x400;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZSIZE: return ScreenWidth() * 254 / 960;
    case VERTSIZE: return ScreenHeight() * 254 / 960;
    case HORZRES: return ScreenWidth();
    case VERTRES: return ScreenHeight();
    case BITSPIXEL: return ScreenBitsPerPixel();
    case PLANES: return 1;
    case NUMCOLORS: return palette ? 20 : -1;
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_FLOODFILL | RC_STRETCHDIB |
             (palette ? RC_PALETTE : 0);
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case SIZEPALETTE: return palette ? 256 : 0;
    case NUMRESERVED: return palette ? 20 : 0;
    case COLORRES: return palette ? 18 : 24;
    default: return 0;
  }
}

namespace {
template <typename T, typename F>
T SetState(HDC handle, T failure, F change) {
  DeviceContext* dc = GetDC(handle);
  return dc ? change(*dc) : failure;
}
}  // namespace

COLORREF SetTextColor(HDC dc, COLORREF color) {
  return SetState(dc, CLR_INVALID, [&](DeviceContext& c) { return std::exchange(c.textColor, color); });
}
COLORREF GetTextColor(HDC dc) {
  return SetState(dc, CLR_INVALID, [](DeviceContext& c) { return c.textColor; });
}
COLORREF SetBkColor(HDC dc, COLORREF color) {
  return SetState(dc, CLR_INVALID, [&](DeviceContext& c) { return std::exchange(c.bkColor, color); });
}
COLORREF GetBkColor(HDC dc) {
  return SetState(dc, CLR_INVALID, [](DeviceContext& c) { return c.bkColor; });
}
int SetBkMode(HDC dc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return SetState(dc, 0, [&](DeviceContext& c) { return std::exchange(c.bkMode, mode); });
}
int GetBkMode(HDC dc) {
  return SetState(dc, 0, [](DeviceContext& c) { return c.bkMode; });
}
int SetROP2(HDC dc, int mode) {
  if (mode < R2_BLACK || mode > R2_WHITE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return SetState(dc, 0, [&](DeviceContext& c) { return std::exchange(c.rop2, mode); });
}
int GetROP2(HDC dc) {
  return SetState(dc, 0, [](DeviceContext& c) { return c.rop2; });
}
int SetStretchBltMode(HDC dc, int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return SetState(dc, 0, [&](DeviceContext& c) { return std::exchange(c.stretchMode, mode); });
}
int GetStretchBltMode(HDC dc) {
  return SetState(dc, 0, [](DeviceContext& c) { return c.stretchMode; });
}

BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* previous) {
  if (!InDrawingRange({x, y})) return FALSE;
  return SetState(dc, FALSE, [&](DeviceContext& c) {
    if (previous) *previous = c.brushOrigin;
    c.brushOrigin = POINT{x, y};
    return TRUE;
  });
}
BOOL GetBrushOrgEx(HDC dc, POINT* origin) {
  return SetState(dc, FALSE, [&](DeviceContext& c) {
    if (origin) *origin = c.brushOrigin;
    return TRUE;
  });
}
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous) {
  if (!InDrawingRange({x, y})) return FALSE;
  return SetState(dc, FALSE, [&](DeviceContext& c) {
    if (previous) *previous = c.position;
    c.position = POINT{x, y};
    return TRUE;
  });
}
BOOL GetCurrentPositionEx(HDC dc, POINT* position) {
  return SetState(dc, FALSE, [&](DeviceContext& c) {
    if (position) *position = c.position;
    return TRUE;
  });
}

int SelectClipRgn(HDC handle, HRGN region) {
  DeviceContext* dc = GetDC(handle);
  if (!dc) return ERROR;
  if (!region) {
    dc->clip.reset();
  } else {
    RegionObject* object = GetRegion(region);
    if (!object) return ERROR;
    dc->clip = object->region;
  }
  dc->ClipChanged();
  RECT box;
  return GetClipBox(handle, &box);
}

int GetClipBox(HDC handle, RECT* box) {
  DeviceContext* dc = GetDC(handle);
  if (!dc || !box) {
    if (dc) SetLastError(ERROR_INVALID_PARAMETER);
    return ERROR;
  }
  const std::vector<RECT>& clip = dc->Clip();
  *box = dc->ClipWindow();
  return clip.empty() ? NULLREGION : clip.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

namespace platform {

HDC CreateSurfaceDC(HBITMAP surface) {
  std::shared_ptr<Surface> pixels = SurfaceOf(surface);
  if (!pixels) return nullptr;
  DeviceContext* dc = NewContext();
  dc->surfaceDC = true;
  dc->surface = std::move(pixels);
  return static_cast<HDC>(dc->handle);
}

BOOL SetDCSurface(HDC handle, HBITMAP surface) {
  DeviceContext* dc = GetDC(handle);
  if (!dc) return FALSE;
  std::shared_ptr<Surface> pixels = SurfaceOf(surface);
  if (!pixels || !dc->surfaceDC) {
    if (pixels) SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  dc->surface = std::move(pixels);
  dc->ClipChanged();
  return TRUE;
}

BOOL SetDCOrigin(HDC handle, POINT origin) {
  DeviceContext* dc = GetDC(handle);
  if (!dc || !InDrawingRange({origin.x, origin.y})) return FALSE;
  dc->origin = origin;
  dc->ClipChanged();
  return TRUE;
}

BOOL GetDCOrigin(HDC handle, POINT* origin) {
  DeviceContext* dc = GetDC(handle);
  if (!dc || !origin) return FALSE;
  *origin = dc->origin;
  return TRUE;
}

BOOL SetDCSystemClip(HDC handle, HRGN clip) {
  DeviceContext* dc = GetDC(handle);
  if (!dc) return FALSE;
  if (!clip) {
    dc->systemClip.reset();
  } else {
    RegionObject* object = GetRegion(clip);
    if (!object) return FALSE;
    dc->systemClip = object->region;
  }
  dc->ClipChanged();
  return TRUE;
}

}  // namespace platform

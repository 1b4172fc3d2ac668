#include "platform/gdi/Objects.h"

#include <algorithm>
#include <unordered_map>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/text/FontObjects.h"
#include "platform/kernel/Errors.h"

namespace platform::gdi {

namespace {

struct Table {
  std::unordered_map<std::uintptr_t, std::unique_ptr<Object>> objects;
  // Handles are never reused, so that a stale handle cannot reach a later object.
  std::uintptr_t next = 0x1000;
  std::size_t stockCount = 0;
};

// Never destroyed: the drawing objects belong to the system, not to the program, so that bitmaps and
// contexts the program's static objects still hold at exit (cached pictures) are deleted then like any
// others, whatever the order in which those objects go.
Table& TheTable() {
  static auto& table = *new Table;
  return table;
}

struct ScreenFormat {
  int bpp = 32;
  int width = 1024;
  int height = 768;
};

ScreenFormat& Screen() {
  static ScreenFormat screen;
  return screen;
}

}  // namespace

void* Register(std::unique_ptr<Object> object) {
  Table& table = TheTable();
  std::uintptr_t id = table.next;
  table.next += 4;
  void* handle = reinterpret_cast<void*>(id);
  object->handle = handle;
  table.objects.emplace(id, std::move(object));
  return handle;
}

Object* Find(const void* handle) {
  Table& table = TheTable();
  auto it = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == table.objects.end() ? nullptr : it->second.get();
}

void Destroy(Object* object) { TheTable().objects.erase(reinterpret_cast<std::uintptr_t>(object->handle)); }

std::size_t LiveObjectCount() { return TheTable().objects.size() - TheTable().stockCount; }

template <typename T>
T* Get(const void* handle, Kind kind) {
  Object* object = Find(handle);
  if (!object || object->kind != kind) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return static_cast<T*>(object);
}

BitmapObject* GetBitmap(const void* handle) { return Get<BitmapObject>(handle, Kind::Bitmap); }
PaletteObject* GetPalette(const void* handle) { return Get<PaletteObject>(handle, Kind::Palette); }
PenObject* GetPen(const void* handle) { return Get<PenObject>(handle, Kind::Pen); }
BrushObject* GetBrush(const void* handle) { return Get<BrushObject>(handle, Kind::Brush); }
RegionObject* GetRegion(const void* handle) { return Get<RegionObject>(handle, Kind::Region); }
DeviceContext* GetDC(const void* handle) { return Get<DeviceContext>(handle, Kind::DC); }

namespace {

Object* MakeStock(std::unique_ptr<Object> object) {
  object->stock = true;
  Object* raw = object.get();
  Register(std::move(object));
  ++TheTable().stockCount;
  return raw;
}

Object* StockBrush(UINT style, COLORREF color) {
  auto brush = std::make_unique<BrushObject>();
  brush->style = style;
  brush->color = color;
  return MakeStock(std::move(brush));
}

Object* StockPen(UINT style, COLORREF color) {
  auto pen = std::make_unique<PenObject>();
  pen->style = style;
  pen->color = color;
  return MakeStock(std::move(pen));
}

}  // namespace

Object* Stock(int which) {
  static Object* objects[DEFAULT_PALETTE + 1] = {};
  if (which < 0 || which > DEFAULT_PALETTE) return nullptr;
  if (!objects[which]) {
    switch (which) {
      case WHITE_BRUSH: objects[which] = StockBrush(BS_SOLID, RGB(255, 255, 255)); break;
      case LTGRAY_BRUSH: objects[which] = StockBrush(BS_SOLID, RGB(192, 192, 192)); break;
      case GRAY_BRUSH: objects[which] = StockBrush(BS_SOLID, RGB(128, 128, 128)); break;
      case DKGRAY_BRUSH: objects[which] = StockBrush(BS_SOLID, RGB(64, 64, 64)); break;
      case BLACK_BRUSH: objects[which] = StockBrush(BS_SOLID, RGB(0, 0, 0)); break;
      case NULL_BRUSH: objects[which] = StockBrush(BS_NULL, 0); break;
      case WHITE_PEN: objects[which] = StockPen(PS_SOLID, RGB(255, 255, 255)); break;
      case BLACK_PEN: objects[which] = StockPen(PS_SOLID, RGB(0, 0, 0)); break;
      case NULL_PEN: objects[which] = StockPen(PS_NULL, 0); break;
      case SYSTEM_FONT: {
        auto font = text::SystemFont();
        if (!font) return nullptr;
        objects[which] = MakeStock(std::move(font));
        break;
      }
      case DEFAULT_PALETTE: {
        auto palette = std::make_unique<PaletteObject>();
        palette->entries.assign(StaticColors(), StaticColors() + 20);
        objects[which] = MakeStock(std::move(palette));
        break;
      }
      default: return nullptr;
    }
  }
  return objects[which];
}

BitmapObject* StockBitmap() {
  static BitmapObject* bitmap = nullptr;
  if (!bitmap) {
    auto object = std::make_unique<BitmapObject>();
    object->surface = std::make_shared<Surface>();
    object->surface->Allocate(1, 1, 1, true, true);
    object->surface->monoDevice = true;
    bitmap = static_cast<BitmapObject*>(MakeStock(std::move(object)));
  }
  return bitmap;
}

int ScreenBitsPerPixel() { return Screen().bpp; }
int ScreenWidth() { return Screen().width; }
int ScreenHeight() { return Screen().height; }

namespace {
std::vector<PALETTEENTRY> DefaultSystemPalette(int bpp = 8) {
  std::vector<PALETTEENTRY> entries;
  for (const RGBQUAD& q : DefaultColors(bpp)) entries.push_back(PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0});
  return entries;
}
}  // namespace

std::vector<PALETTEENTRY>& SystemPalette() {
  static std::vector<PALETTEENTRY> palette = DefaultSystemPalette();
  return palette;
}

const std::vector<RECT>& DeviceContext::Clip() {
  if (!clipValid) {
    effectiveClip = Region(RECT{0, 0, surface ? surface->width : 0, surface ? surface->height : 0});
    if (systemClip) effectiveClip = Region::Combine(effectiveClip, *systemClip, RGN_AND);
    if (clip) {
      Region moved = *clip;
      moved.Offset(origin.x, origin.y);
      effectiveClip = Region::Combine(effectiveClip, moved, RGN_AND);
    }
    clipValid = true;
  }
  return effectiveClip.Rects();
}

RECT DeviceContext::ClipBox() { return BoundsOf(Clip()); }

RECT DeviceContext::ClipWindow() {
  RECT box = ClipBox();
  if (box.left >= box.right) return box;
  return RECT{box.left - origin.x, box.top - origin.y, box.right - origin.x, box.bottom - origin.y};
}

bool InDrawingRange(std::initializer_list<long long> values) {
  for (long long v : values) {
    if (v < -kMaxCoordinate || v > kMaxCoordinate) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
  }
  return true;
}

COLORREF PlainColor(const DeviceContext& dc, COLORREF color) {
  if ((color >> 24) == 0x01) {
    const PaletteObject* palette = dc.palette ? dc.palette : static_cast<PaletteObject*>(Stock(DEFAULT_PALETTE));
    std::size_t index = color & 0xFFFF;
    if (index >= palette->entries.size()) index = 0;
    const PALETTEENTRY& e = palette->entries[index];
    return RGB(e.peRed, e.peGreen, e.peBlue);
  }
  return color & 0xFFFFFF;
}

std::uint32_t ValueOnSurface(const DeviceContext& dc, COLORREF color) {
  return dc.surface->ValueOf(PlainColor(dc, color));
}

}  // namespace platform::gdi

namespace platform {

void SetScreenFormat(int bitsPerPixel, int width, int height) {
  const bool known = bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 16 || bitsPerPixel == 24;
  const int depth = known ? bitsPerPixel : 32;
  // A new size keeps the colours realised so far; a new depth starts from the default palette.
  if (depth != gdi::Screen().bpp) gdi::SystemPalette() = gdi::DefaultSystemPalette(depth == 4 ? 4 : 8);
  gdi::Screen() = gdi::ScreenFormat{depth, width, height};
}

std::size_t CountGdiObjects() { return gdi::LiveObjectCount(); }

}  // namespace platform

using namespace platform::gdi;

HGDIOBJ GetStockObject(int which) {
  Object* object = Stock(which);
  if (!object) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return object->handle;
}

BOOL DeleteObject(HGDIOBJ handle) {
  Object* object = Find(handle);
  if (!object || object->kind == Kind::DC) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (object->stock) return TRUE;
  // An object still selected into a context stays, as the system keeps it: deleting it would leave the
  // context drawing with freed memory.
  if (object->selections > 0) {
    SetLastError(ERROR_BUSY);
    return FALSE;
  }
  Destroy(object);
  return TRUE;
}

DWORD GetObjectType(HGDIOBJ handle) {
  Object* object = Find(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  switch (object->kind) {
    case Kind::Bitmap: return OBJ_BITMAP;
    case Kind::Palette: return OBJ_PAL;
    case Kind::Pen: return OBJ_PEN;
    case Kind::Brush: return OBJ_BRUSH;
    case Kind::Region: return OBJ_REGION;
    case Kind::Font: return OBJ_FONT;
    case Kind::DC: return static_cast<DeviceContext*>(object)->surfaceDC ? OBJ_DC : OBJ_MEMDC;
  }
  return 0;
}

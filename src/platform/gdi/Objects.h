// The drawing objects behind the handles, and the handle table (internal to the drawing layer).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/raster/Region.h"
#include "platform/gdi/raster/Surface.h"

namespace platform::text {
class RasterFont;
}

namespace platform::gdi {

enum class Kind { Bitmap, Palette, Pen, Brush, Region, Font, DC };

struct Object {
  explicit Object(Kind kind) : kind(kind) {}
  virtual ~Object() = default;
  Kind kind;
  bool stock = false;
  int selections = 0;  // contexts this object is selected into; such an object cannot be deleted
  void* handle = nullptr;
};

struct BitmapObject : Object {
  BitmapObject() : Object(Kind::Bitmap) {}
  std::shared_ptr<Surface> surface;
  bool dibSection = false;
};

struct PaletteObject : Object {
  PaletteObject() : Object(Kind::Palette) {}
  std::vector<PALETTEENTRY> entries;
};

struct PenObject : Object {
  PenObject() : Object(Kind::Pen) {}
  UINT style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct BrushObject : Object {
  BrushObject() : Object(Kind::Brush) {}
  UINT style = BS_SOLID;
  COLORREF color = 0;
  // Pattern brushes: width x height pixels, top row first. A monochrome pattern keeps bits (1 = the
  // context's background colour, 0 = its text colour); a colour one keeps colours.
  int patternWidth = 0;
  int patternHeight = 0;
  bool monochrome = false;
  std::vector<BYTE> bits;
  std::vector<COLORREF> colors;
};

struct RegionObject : Object {
  RegionObject() : Object(Kind::Region) {}
  Region region;
};

struct FontObject : Object {
  FontObject() : Object(Kind::Font) {}
  std::shared_ptr<text::RasterFont> font;
};

struct DeviceContext : Object {
  DeviceContext() : Object(Kind::DC) {}
  bool surfaceDC = false;  // draws into a shared surface (window contexts)
  std::shared_ptr<Surface> surface;
  BitmapObject* bitmap = nullptr;  // selected bitmap of a memory context
  PenObject* pen = nullptr;
  BrushObject* brush = nullptr;
  PaletteObject* palette = nullptr;
  FontObject* font = nullptr;
  POINT origin{0, 0};
  std::optional<Region> systemClip;  // surface coordinates
  std::optional<Region> clip;        // context coordinates
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  int stretchMode = BLACKONWHITE;
  POINT brushOrigin{0, 0};
  POINT position{0, 0};

  // The surface pixels this context may touch: bounds, system clip and clip, in surface coordinates.
  const std::vector<RECT>& Clip();
  // The bounds of Clip(), in surface coordinates; empty when nothing may be touched.
  RECT ClipBox();
  // The same in the context's coordinates.
  RECT ClipWindow();
  void ClipChanged() { clipValid = false; }

 private:
  Region effectiveClip;
  bool clipValid = false;
};

// Coordinates the drawing calls take, as the system's do: within 27 bits, so that no sum of two of them
// overflows. False, with ERROR_INVALID_PARAMETER, when one lies beyond.
constexpr long long kMaxCoordinate = 1 << 27;
bool InDrawingRange(std::initializer_list<long long> values);

// Registers an object under a new handle and returns the handle.
void* Register(std::unique_ptr<Object> object);
Object* Find(const void* handle);
// Removes and destroys an object.
void Destroy(Object* object);
std::size_t LiveObjectCount();

BitmapObject* GetBitmap(const void* handle);
PaletteObject* GetPalette(const void* handle);
PenObject* GetPen(const void* handle);
BrushObject* GetBrush(const void* handle);
RegionObject* GetRegion(const void* handle);
DeviceContext* GetDC(const void* handle);

// Stock objects, made on first use.
Object* Stock(int which);
BitmapObject* StockBitmap();  // the 1x1 monochrome bitmap of a new memory context

// The screen's format.
int ScreenBitsPerPixel();
int ScreenWidth();
int ScreenHeight();
// The system palette of an 8-bit screen (256 entries).
std::vector<PALETTEENTRY>& SystemPalette();

// Turns a colour of any form (plain, palette-relative, palette index) into a plain 0x00bbggrr colour.
COLORREF PlainColor(const DeviceContext& dc, COLORREF color);
// The pixel value of a colour on the context's surface.
std::uint32_t ValueOnSurface(const DeviceContext& dc, COLORREF color);

}  // namespace platform::gdi

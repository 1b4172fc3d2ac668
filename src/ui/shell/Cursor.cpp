#include "ui/shell/Cursor.h"

#include "core/Exception.h"
#include "ui/shell/WinMain.h"
#include "core/Resources.h"
#include "graphics/bitmaps/BitMap.h"
#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Cursor.h"

SMART_DEFINE(Cursor, "Cursor", nullptr, nullptr, SmartImplementation)

void Cursor::Set() const { SetCursor(handle); }

void Cursor::MakeImage(SmartRef<BitMap>* image, Point* hotSpot) const {
  ICONINFO info{};
  CHECK_CALL(GetIconInfo(handle, &info));
  // The mask and colour bitmaps are ours to free, whatever happens while the picture is made.
  struct Owned {
    HBITMAP mask, color;
    ~Owned() {
      if (mask) DeleteObject(mask);
      if (color) DeleteObject(color);
    }
  } owned{info.hbmMask, info.hbmColor};
  *hotSpot = Point(static_cast<std::int32_t>(info.xHotspot), static_cast<std::int32_t>(info.yHotspot));
  const SmartRef<BitMap> mask(new BitMap(CHECK_NOT_NULL(owned.mask), 0, false, 0));
  const Rect bounds = mask->GetBounds();
  // The system's mask holds the AND mask above the XOR mask: the upper half is the shape.
  SmartRef<OffScreen> surface(new OffScreen(bounds.Width(), bounds.Height() / 2, 1, Color(0), true));
  {
    DisplayPort port(~surface, surface->GetBitMap()->GetBounds());
    mask->Draw(port, kDrawOpaque);
  }
  *image = surface->GetBitMap();
}

Cursor* Resources::GetCursor(int index) const {
  CheckIndex(index);
  const int id = first + index;
  HCURSOR handle;
  if (id > 32511) {
    handle = LoadCursorA(nullptr, MAKEINTRESOURCEA(id));
  } else {
    const HINSTANCE module = GetOSApp()->instance;
    handle = LoadCursorA(module, MAKEINTRESOURCEA(id));
    if (handle == nullptr) {
      ClearLastError();  // the missing cursor is not the failure; a missing 201 is
      handle = LoadCursorA(module, MAKEINTRESOURCEA(201));
    }
  }
  return new Cursor(CHECK_NOT_NULL(handle));
}

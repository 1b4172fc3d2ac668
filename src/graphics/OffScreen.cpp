#include "graphics/OffScreen.h"

#include "core/Exception.h"
#include "graphics/bitmaps/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/Image.h"
#include "graphics/Transform.h"

SMART_DEFINE_ABSTRACT(OffScreen, "OffScreen", DisplayDevice)

OffScreen::OffScreen(DisplayDevice* device, const Rect& rect, bool useChroma, bool clear)
    : DisplayDevice(Color(0), true) {
  CreateBitMap(rect.Width(), rect.Height(), device->GetColorTable(), device->GetBackground(), useChroma, clear);
}

OffScreen::OffScreen(std::int32_t width, std::int32_t height, std::int16_t depth, const Color& background, bool clear)
    : DisplayDevice(background, true) {
  CreateBitMap(width, height, ColorTable::GetStandard(depth), background, false, clear);
}

OffScreen::OffScreen(std::int32_t width, std::int32_t height, ColorTable* table, const Color& background, bool clear)
    : DisplayDevice(background, true) {
  CreateBitMap(width, height, table, background, false, clear);
}

OffScreen::OffScreen(Image& image, std::int32_t width, std::int32_t height, const Color& background, bool clear)
    : DisplayDevice(background, true) {
  CreateBitMap(width, height, image.GetColorTable(), background, false, clear);
  DisplayPort port(this, bitmap->GetBounds());
  PortState fitted(port, ScaleTrans(image.GetBounds(), bitmap->GetBounds(), true));
  static_cast<Graphic&>(image).Draw(port);  // the Graphic draw: mode 0
}

OffScreen::~OffScreen() = default;

void OffScreen::BeginDraw(int mode) {
  if (!IsDrawing()) {
    if (!bitmap->Lock()) AssertFailed("bitMap->Lock()", __FILE__, __LINE__);
    dc = bitmap->GetDC();
  }
  DisplayDevice::BeginDraw(mode);
}

void OffScreen::EndDraw() {
  DisplayDevice::EndDraw();
  if (IsDrawing()) return;
  bitmap->Unlock();
  bitmap->ReleaseDC(dc);
  dc = nullptr;
}

bool OffScreen::CreateBitMap(std::int32_t width, std::int32_t height, ColorTable* table, const Color& keyColor,
                             bool useChroma, bool clear) {
  bitmap = new BitMap(width, height, table, keyColor, useChroma);
  if (clear) {
    const Rect all{0, 0, width, height};
    DisplayPort port(this, all);
    port.EraseArea(Area(all));
  }
  return true;
}

void OffScreen::Resize(std::int32_t leftDelta, std::int32_t topDelta, std::int32_t rightDelta, std::int32_t bottomDelta,
                       bool keep) {
  if (IsDrawing()) return;
  const Rect old = bitmap->GetBounds();
  const Rect wanted{leftDelta, topDelta, old.right + rightDelta, old.bottom + bottomDelta};
  SmartRef<BitMap> previous = bitmap;
  CreateBitMap(wanted.Width(), wanted.Height(), previous->GetColorTable(), GetBackground(), previous->GetUseChromaKey(),
               true);
  if (keep) {
    DisplayPort port(this, wanted);
    previous->DrawOpaque(port);
  }
}

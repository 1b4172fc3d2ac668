#include "support/graphics/SurfaceDevice.h"

#include "graphics/bitmaps/ColorTable.h"
#include "platform/gdi/Gdi.h"
#include "support/AsciiPicture.h"

SurfaceDevice::SurfaceDevice(int width, int height, const Color& background, bool erase)
    : DisplayDevice(background, erase), width(width), height(height) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* memory = nullptr;
  section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
  bits = static_cast<std::uint32_t*>(memory);
  dc = CreateCompatibleDC(nullptr);
  previous = SelectObject(dc, section);
  Fill(0xFFFFFF);
}

SurfaceDevice::~SurfaceDevice() {
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(section);
}

void SurfaceDevice::BeginDraw(int mode) {
  if (!IsDrawing()) {
    dcTaken = true;
    ++beginCount;
  }
  DisplayDevice::BeginDraw(mode);
}

void SurfaceDevice::EndDraw() {
  DisplayDevice::EndDraw();
  if (!IsDrawing()) dcTaken = false;
}

ColorTable* SurfaceDevice::GetColorTable() const { return ColorTable::GetStandard(32); }

void SurfaceDevice::Fill(std::uint32_t rgb) {
  for (int i = 0; i < width * height; ++i) bits[i] = rgb;
}

std::string SurfaceDevice::Picture(const PictureKey& key) const {
  return AsciiPicture(width, height, [this](int x, int y) { return Pixel(x, y); }, key);
}

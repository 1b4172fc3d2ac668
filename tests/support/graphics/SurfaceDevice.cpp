#include "support/graphics/SurfaceDevice.h"

#include "graphics/bitmaps/ColorTable.h"
#include "platform/gdi/Gdi.h"

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

std::string SurfaceDevice::Picture(const std::vector<std::pair<std::uint32_t, char>>& key) const {
  std::string picture;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      char c = '?';
      for (const auto& [rgb, letter] : key)
        if (Pixel(x, y) == rgb) c = letter;
      picture += c;
    }
    picture += '\n';
  }
  return picture;
}

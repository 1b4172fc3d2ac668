#include "GdiTestSupport.h"
#include "support/AsciiPicture.h"

#include <cstring>

namespace gditest {

Canvas::Canvas(int width, int height, int bpp, const std::vector<RGBQUAD>& colors, bool topDown)
    : width_(width), height_(height), bpp_(bpp), topDown_(topDown) {
  std::vector<BYTE> header(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
  auto* info = reinterpret_cast<BITMAPINFO*>(header.data());
  info->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, topDown ? -height : height, 1,
                                     static_cast<WORD>(bpp), BI_RGB, 0, 0, 0, 0, 0};
  if (bpp <= 8) {
    std::vector<RGBQUAD> table = colors.empty() ? GreyRamp(1 << bpp) : colors;
    info->bmiHeader.biClrUsed = static_cast<DWORD>(table.size());
    std::memcpy(info->bmiColors, table.data(), table.size() * sizeof(RGBQUAD));
  }
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(dc_, info, DIB_RGB_COLORS, &bits_, nullptr, 0);
  EXPECT_NE(bitmap_, nullptr);
  previous_ = SelectObject(dc_, bitmap_);
}

Canvas::~Canvas() {
  SelectObject(dc_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

std::uint32_t Canvas::Value(int x, int y) const {
  const BYTE* row = bits() + static_cast<std::ptrdiff_t>(topDown_ ? y : height_ - 1 - y) * stride();
  switch (bpp_) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4: return (row[x / 2] >> (x % 2 ? 0 : 4)) & 15;
    case 8: return row[x];
    case 16: return row[2 * x] | (row[2 * x + 1] << 8);
    case 24: return row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16);
    default: return row[4 * x] | (row[4 * x + 1] << 8) | (row[4 * x + 2] << 16);
  }
}

void Canvas::SetValue(int x, int y, std::uint32_t value) {
  BYTE* row = bits() + static_cast<std::ptrdiff_t>(topDown_ ? y : height_ - 1 - y) * stride();
  switch (bpp_) {
    case 1: row[x / 8] = static_cast<BYTE>((row[x / 8] & ~(0x80 >> (x % 8))) | ((value & 1) << (7 - x % 8))); break;
    case 4: {
      int shift = x % 2 ? 0 : 4;
      row[x / 2] = static_cast<BYTE>((row[x / 2] & ~(15 << shift)) | ((value & 15) << shift));
      break;
    }
    case 8: row[x] = static_cast<BYTE>(value); break;
    case 16: row[2 * x] = static_cast<BYTE>(value); row[2 * x + 1] = static_cast<BYTE>(value >> 8); break;
    case 24:
      row[3 * x] = static_cast<BYTE>(value);
      row[3 * x + 1] = static_cast<BYTE>(value >> 8);
      row[3 * x + 2] = static_cast<BYTE>(value >> 16);
      break;
    default: std::memcpy(row + 4 * x, &value, 4);
  }
}

void Canvas::Fill(std::uint32_t value) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) SetValue(x, y, value);
}

std::string Canvas::Picture(std::uint32_t ink) const {
  return AsciiPicture(width_, height_, [this](int x, int y) { return Value(x, y); }, {{ink, '#'}}, '.');
}

void Canvas::Clear(COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  RECT all{0, 0, width_, height_};
  FillRect(dc_, &all, brush);
  DeleteObject(brush);
}

std::vector<RGBQUAD> GreyRamp(int count) {
  std::vector<RGBQUAD> table;
  for (int i = 0; i < count; ++i) {
    BYTE v = static_cast<BYTE>(count == 1 ? 0 : i * 255 / (count - 1));
    table.push_back(RGBQUAD{v, v, v, 0});
  }
  return table;
}

std::string Text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

std::string Rows(std::initializer_list<const char*> rows) {
  std::string text;
  for (const char* row : rows) {
    text += row;
    text += '\n';
  }
  return text;
}

}  // namespace gditest

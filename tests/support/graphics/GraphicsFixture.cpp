#include "support/graphics/GraphicsFixture.h"

#include "core/CoreState.h"
#include "core/FileReference.h"
#include "graphics/GraphicsState.h"
#include "platform/screen/Backend.h"
#include "platform/user/Screen.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Files.h"
#include "platform/user/Message.h"
#include "graphics/SystemVersion.h"

void GraphicsFixture::Prepare(int screenBits, int winVersion, const std::string& applicationFolder) {
  platform::ResetWindowSystemForTesting();
  platform::SetBackend(nullptr);
  platform::SetScreenSize(800, 600);
  platform::SetScreenFormat(screenBits, 800, 600);
  ResetGraphicsState();
  TheGraphicsState().winVersion = winVersion;
  if (savedFolder.empty()) {
    char saved[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, saved);
    savedFolder = saved;
  }
  std::string folder = applicationFolder.empty() ? std::string(QUILLORY_SOURCE_DIR "/data") : applicationFolder;
  for (char& c : folder)
    if (c == '/') c = '\\';
  ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
  // The program's folder is read again from there, and nothing is left of an earlier test's run.
  ResetCoreState();
}

void GraphicsFixture::TearDown() {
  ResetGraphicsState();
  platform::SetScreenFormat(32, 800, 600);
  SetCurrentDirectoryA(savedFolder.c_str());
  ResetCoreState();
  platform::ResetWindowSystemForTesting();
}

std::uint8_t PixelAt(OSBitMap& bitmap, int x, int y) {
  std::vector<std::uint8_t> bits(static_cast<std::size_t>(bitmap.GetByteSize()));
  bitmap.GetBits(bits.data(), bitmap.GetByteSize());
  const int row = bitmap.IsTopDown() ? y : bitmap.GetHeight() - 1 - y;
  return bits[static_cast<std::size_t>(row * bitmap.GetRowBytes() + x)];
}

Canvas::Canvas(int width, int height, COLORREF fill) : width(width), height(height) {
  BITMAPINFO info{};
  info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* pixels = nullptr;
  section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  bits = static_cast<std::uint32_t*>(pixels);
  dc = CreateCompatibleDC(nullptr);
  previous = SelectObject(dc, section);
  const std::uint32_t value = (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill);
  for (int i = 0; i < width * height; ++i) bits[i] = value;
}

Canvas::~Canvas() {
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(section);
}

COLORREF Canvas::At(int x, int y) const {
  const std::uint32_t v = bits[y * width + x];
  return RGB(static_cast<BYTE>(v >> 16), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v));
}

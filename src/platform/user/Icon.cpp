#include "platform/user/Icon.h"

#include <cstdlib>
#include <cstring>
#include <map>

#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Cursor.h"
#include "platform/user/BitmapResource.h"
#include "platform/user/Paint.h"
#include "platform/user/Window.h"
#include "platform/user/WindowTree.h"

namespace {

struct IconEntry {
  platform::IconResource resource;
  bool decoded = false;
  bool good = false;
  platform::IconImage image;
};

std::map<UINT, IconEntry>& Icons() {
  static std::map<UINT, IconEntry> icons;
  return icons;
}

// The picture through the layer's own DIB reader, then the mask: false when either does not fit.
bool Decode(const platform::IconResource& resource, platform::IconImage& image) {
  const HBITMAP bitmap = platform::BitmapFromPackedDIB(resource.packedDIB);
  if (bitmap == nullptr) return false;
  BITMAPINFOHEADER header{};
  std::memcpy(&header, resource.packedDIB.data(), sizeof header);
  const int width = header.biWidth, height = std::abs(header.biHeight);
  const std::size_t maskStride = static_cast<std::size_t>((width + 31) / 32 * 4);
  bool good = resource.mask.size() >= maskStride * static_cast<std::size_t>(height);
  if (good) {
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    HDC screen = GetDC(nullptr);
    good = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), image.pixels.data(), &info, DIB_RGB_COLORS) == height;
    ReleaseDC(nullptr, screen);
  }
  DeleteObject(bitmap);
  if (!good) return false;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const bool leftOut = resource.mask[static_cast<std::size_t>(y) * maskStride + static_cast<std::size_t>(x / 8)] &
                           (0x80 >> (x % 8));
      std::uint32_t& pixel = image.pixels[static_cast<std::size_t>(y * width + x)];
      pixel = leftOut ? 0 : (pixel & 0xFFFFFF) | 0xFF000000u;
    }
  return true;
}

}  // namespace

namespace platform {

void RegisterIconResources(std::span<const IconResource> icons) {
  for (const IconResource& icon : icons) Icons()[icon.id].resource = icon;
}

const IconImage* IconImageOf(HICON icon) {
  for (const auto& [id, entry] : Icons())
    if (reinterpret_cast<HICON>(const_cast<IconEntry*>(&entry)) == icon && entry.good) return &entry.image;
  return nullptr;
}

HICON MainWindowIcon() {
  const auto& tops = user::Desktop().children;
  for (auto it = tops.rbegin(); it != tops.rend(); ++it)
    if ((*it)->style & WS_VISIBLE) return (*it)->windowClass ? (*it)->windowClass->info.hIcon : nullptr;
  return nullptr;
}

}  // namespace platform

HICON LoadIconA(HINSTANCE, LPCSTR name) {
  const auto id = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name));
  const auto found = id <= 0xFFFF ? Icons().find(id) : Icons().end();
  if (found == Icons().end()) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  IconEntry& entry = found->second;
  if (!entry.decoded) {
    entry.decoded = true;
    entry.good = Decode(entry.resource, entry.image);
  }
  if (!entry.good) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HICON>(&entry);
}

BOOL GetIconInfo(HICON icon, ICONINFO* info) {
  const platform::IconImage* image = platform::IconImageOf(icon);
  if (image == nullptr) return GetIconInfo(reinterpret_cast<HCURSOR>(icon), info);
  if (info == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int width = image->width, height = image->height;
  const auto stride = static_cast<std::size_t>((width + 15) / 16 * 2);
  std::vector<BYTE> mask(stride * static_cast<std::size_t>(height), 0);
  std::vector<std::uint32_t> colours(image->pixels.size());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t pixel = image->pixels[static_cast<std::size_t>(y * width + x)];
      colours[static_cast<std::size_t>(y * width + x)] = pixel & 0xFFFFFF;
      if ((pixel >> 24) == 0) mask[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x / 8)] |= 0x80 >> (x % 8);
    }
  const HBITMAP maskBitmap = CreateBitmap(width, height, 1, 1, mask.data());
  const HBITMAP colourBitmap = CreateBitmap(width, height, 1, 32, colours.data());
  if (maskBitmap == nullptr || colourBitmap == nullptr) {
    if (maskBitmap != nullptr) DeleteObject(maskBitmap);
    if (colourBitmap != nullptr) DeleteObject(colourBitmap);
    return FALSE;
  }
  *info = ICONINFO{TRUE, static_cast<DWORD>(width / 2), static_cast<DWORD>(height / 2), maskBitmap, colourBitmap};
  return TRUE;
}

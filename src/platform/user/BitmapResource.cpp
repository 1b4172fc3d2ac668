#include "platform/user/BitmapResource.h"

#include <cstdint>
#include <map>

#include "platform/gdi/Gdi.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Paint.h"

namespace {
std::map<UINT, std::span<const BYTE>>& Bitmaps() {
  static std::map<UINT, std::span<const BYTE>> bitmaps;
  return bitmaps;
}
}  // namespace

namespace platform {
void RegisterBitmapResources(std::span<const BitmapResource> bitmaps) {
  for (const BitmapResource& bitmap : bitmaps) Bitmaps()[bitmap.id] = bitmap.packedDIB;
}
}  // namespace platform

HBITMAP LoadBitmapA(HINSTANCE, LPCSTR name) {
  const auto id = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name));
  const auto found = Bitmaps().find(id);
  if (id > 0xFFFF || found == Bitmaps().end() || found->second.size() < sizeof(BITMAPINFOHEADER)) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  const auto* info = reinterpret_cast<const BITMAPINFO*>(found->second.data());
  const BITMAPINFOHEADER& header = info->bmiHeader;
  const DWORD colours = header.biBitCount <= 8 ? (header.biClrUsed ? header.biClrUsed : 1u << header.biBitCount) : 0;
  const std::size_t offset = header.biSize + colours * sizeof(RGBQUAD);
  const std::uint64_t stride = ((static_cast<std::uint64_t>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
  const std::uint64_t rows = header.biHeight < 0 ? -static_cast<std::int64_t>(header.biHeight) : header.biHeight;
  if (header.biWidth <= 0 || offset > found->second.size() || stride * rows > found->second.size() - offset) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &header, CBM_INIT, found->second.data() + offset, info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

#include "platform/user/BitmapResource.h"

#include <cstdint>
#include <cstring>
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
  HBITMAP bitmap = id <= 0xFFFF && found != Bitmaps().end() ? platform::BitmapFromPackedDIB(found->second) : nullptr;
  if (bitmap == nullptr) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return bitmap;
}

namespace platform {

HBITMAP BitmapFromPackedDIB(std::span<const BYTE> packed) {
  BITMAPINFOHEADER header{};
  if (packed.size() < sizeof header) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::memcpy(&header, packed.data(), sizeof header);
  const DWORD colours = header.biBitCount <= 8 ? (header.biClrUsed ? header.biClrUsed : 1u << header.biBitCount) : 0;
  const std::uint64_t masks = header.biCompression == BI_BITFIELDS && header.biSize == sizeof header ? 12 : 0;
  const std::uint64_t offset = std::uint64_t{header.biSize} + masks + std::uint64_t{colours} * sizeof(RGBQUAD);
  const std::uint64_t stride = ((static_cast<std::uint64_t>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
  const std::uint64_t rows = header.biHeight < 0 ? -static_cast<std::int64_t>(header.biHeight) : header.biHeight;
  if (header.biSize < sizeof header || header.biWidth <= 0 || header.biHeight == 0 || offset > packed.size() ||
      stride > (packed.size() - offset) / rows) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const auto* info = reinterpret_cast<const BITMAPINFO*>(packed.data());
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &header, CBM_INIT, packed.data() + offset, info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

}  // namespace platform

#include "platform/user/WindowSurface.h"

#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/user/WindowTree.h"

namespace platform {

Surface::~Surface() {
  if (bitmap != nullptr) DeleteObject(bitmap);
}

void Surface::Resize(int newWidth, int newHeight, std::uint32_t fill) {
  newWidth = newWidth < 0 ? 0 : newWidth;
  newHeight = newHeight < 0 ? 0 : newHeight;
  if (newWidth == width && newHeight == height && (bitmap != nullptr || newWidth == 0 || newHeight == 0)) return;
  if (bitmap != nullptr) DeleteObject(bitmap);
  bitmap = nullptr;
  pixels = nullptr;
  width = height = 0;
  if (newWidth == 0 || newHeight == 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = newWidth;
  info.bmiHeader.biHeight = -newHeight;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) {
    // Too large for the drawing layer: the window shows nothing rather than drawing out of bounds.
    bitmap = nullptr;
    return;
  }
  width = newWidth;
  height = newHeight;
  pixels = static_cast<std::uint32_t*>(bits);
  std::fill(pixels, pixels + static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
}

DrawTarget WindowDrawTarget(HWND window, bool clientArea) {
  DrawTarget target;
  user::WindowData* w = user::Find(window);
  if (w == nullptr) return target;
  if (w == &user::Desktop()) {
    target.surface = &w->surface;
    target.clip.Add(RECT{0, 0, w->surface.width, w->surface.height});
    return target;
  }
  user::WindowData& top = user::TopLevelOf(*w);
  const POINT topOrigin = user::WindowOriginOnScreen(top);
  const POINT origin = clientArea ? user::ClientOriginOnScreen(*w) : user::WindowOriginOnScreen(*w);
  target.surface = &top.surface;
  target.origin = POINT{origin.x - topOrigin.x, origin.y - topOrigin.y};
  target.clip = user::VisibleArea(*w, clientArea);
  if (!clientArea) {
    // VisibleArea answers client coordinates; the whole window's origin is the frame's corner.
    const POINT client = user::ClientOriginOnScreen(*w);
    target.clip.Offset(client.x - origin.x, client.y - origin.y);
  }
  target.clip.Offset(target.origin.x, target.origin.y);
  target.clip.Intersect(RECT{0, 0, top.surface.width, top.surface.height});
  return target;
}

namespace {
unsigned& Generation() {
  static unsigned generation = 0;
  return generation;
}
}  // namespace

unsigned ScreenGeneration() { return Generation(); }
void NoteScreenChanged() { ++Generation(); }

}  // namespace platform

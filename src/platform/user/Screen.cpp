#include "platform/user/Screen.h"

#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Objects.h"
#include "platform/screen/Backend.h"
#include "platform/user/Cursor.h"
#include "platform/user/Icon.h"
#include "platform/user/Message.h"
#include "platform/user/WindowTree.h"

namespace platform {

namespace {

std::vector<std::uint32_t>& Framebuffer() {
  static std::vector<std::uint32_t> pixels;
  return pixels;
}

// The desktop's own pixels lie under every window; the drawing layer reports the screen's size.
void FitDesktop() {
  user::WindowData& desktop = user::Desktop();
  const int width = desktop.rect.right;
  const int height = desktop.rect.bottom;
  if (desktop.surface.width == width && desktop.surface.height == height && desktop.surface.pixels != nullptr) return;
  desktop.surface.Resize(width, height, kDesktopColour);
  SetScreenFormat(gdi::ScreenBitsPerPixel(), width, height);
}

}  // namespace

void SetScreenSize(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  user::WindowData& desktop = user::Desktop();
  if (desktop.rect.right == width && desktop.rect.bottom == height) {
    FitDesktop();
    return;
  }
  desktop.rect = RECT{0, 0, width, height};
  FitDesktop();
  std::vector<HWND> maximized;
  for (user::WindowData* top : desktop.children) {
    if (top->style & WS_MAXIMIZE) maximized.push_back(top->handle);
  }
  for (HWND window : maximized) {
    user::WindowData* w = user::Find(window);
    if (w == nullptr) continue;
    const RECT r = user::MaximizedRect(*w);
    SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  NoteScreenChanged();
}

SIZE GetScreenSize() {
  const RECT r = user::Desktop().rect;
  return SIZE{r.right - r.left, r.bottom - r.top};
}

const std::vector<std::uint32_t>& ComposeScreen() {
  FitDesktop();
  const SIZE size = GetScreenSize();
  auto& frame = Framebuffer();
  const Surface& desktop = user::Desktop().surface;
  if (desktop.pixels != nullptr) {
    frame.assign(desktop.pixels, desktop.pixels + static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy));
  } else {
    frame.assign(static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy), kDesktopColour);
  }
  const auto& tops = user::Desktop().children;
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    const user::WindowData& top = **it;
    if (!(top.style & WS_VISIBLE)) continue;
    const Surface& surface = top.surface;
    const int x0 = std::max(0, static_cast<int>(top.rect.left));
    const int y0 = std::max(0, static_cast<int>(top.rect.top));
    const int x1 = static_cast<int>(std::min<long long>(size.cx, static_cast<long long>(top.rect.left) + surface.width));
    const int y1 = static_cast<int>(std::min<long long>(size.cy, static_cast<long long>(top.rect.top) + surface.height));
    if (x0 >= x1) continue;  // wholly left or right of the screen
    for (int y = y0; y < y1; ++y) {
      const std::uint32_t* source = surface.Row(y - top.rect.top) + (x0 - top.rect.left);
      std::copy(source, source + (x1 - x0), frame.data() + static_cast<std::size_t>(y) * size.cx + x0);
    }
  }
  return frame;
}

void PresentScreenIfChanged(Backend& backend) {
  if (CursorGeneration() != backend.cursorGeneration) {
    backend.cursorGeneration = CursorGeneration();
    backend.ShowCursorImage(ShownCursor());
  }
  const HICON icon = MainWindowIcon();
  if (!backend.windowIconShown || icon != backend.windowIcon) {
    backend.windowIconShown = true;
    backend.windowIcon = icon;
    const IconImage* image = IconImageOf(icon);
    if (image != nullptr) backend.ShowWindowIcon(image->pixels.data(), image->width, image->height);
    else backend.ShowWindowIcon(nullptr, 0, 0);
  }
  const unsigned generation = ScreenGeneration();
  if (generation == backend.presentedGeneration) return;
  backend.presentedGeneration = generation;
  const auto& pixels = ComposeScreen();
  const SIZE size = GetScreenSize();
  backend.Present(pixels.data(), size.cx, size.cy);
}

}  // namespace platform

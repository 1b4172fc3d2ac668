#include "platform/user/Surface.h"

#include "platform/user/WindowTree.h"

namespace platform {

void Surface::Resize(int newWidth, int newHeight) {
  newWidth = newWidth < 0 ? 0 : newWidth;
  newHeight = newHeight < 0 ? 0 : newHeight;
  if (newWidth == width && newHeight == height) return;
  width = newWidth;
  height = newHeight;
  pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0x00FFFFFFu);
}

DrawTarget WindowDrawTarget(HWND window, bool clientArea) {
  DrawTarget target;
  user::WindowData* w = user::Find(window);
  if (w == nullptr || w == &user::Desktop()) return target;
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

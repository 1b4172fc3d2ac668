// The pixels of one top-level window (its frame included), or of the desktop beneath them all, 32 bits
// each as 0x00RRGGBB; the screen is composed from these.
#pragma once

#include <cstdint>
#include <cstddef>

#include "platform/kernel/WinTypes.h"
#include "platform/user/RectList.h"

namespace platform {

// A 32-bit top-down DIB section, so that the drawing layer's contexts draw straight into it.
struct Surface {
  Surface() = default;
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  int width = 0;
  int height = 0;
  HBITMAP bitmap = nullptr;
  std::uint32_t* pixels = nullptr;  // width x height, rows top first, no padding

  // A new size starts in the given colour (white for windows, which repaint it).
  void Resize(int newWidth, int newHeight, std::uint32_t fill = 0x00FFFFFF);
  std::uint32_t* Row(int y) const { return pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width); }
};

// Where a window draws: the surface of its top-level window, the origin of its client area (or of the
// whole window) in it, and the pixels of that surface it may touch (its visible area, further limited to
// the update area while it paints).
struct DrawTarget {
  Surface* surface = nullptr;
  POINT origin{0, 0};
  RectList clip;  // surface coordinates
};

// Null surface for an unknown window. The desktop's target is the whole screen, under every window.
DrawTarget WindowDrawTarget(HWND window, bool clientArea);

// Counts every change of what the screen shows, so that a back end presents only when something changed.
unsigned ScreenGeneration();
void NoteScreenChanged();

}  // namespace platform

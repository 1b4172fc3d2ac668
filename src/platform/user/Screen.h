// The virtual screen: every shown top-level window composed, back to front, into one framebuffer.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/kernel/WinTypes.h"

namespace platform {

class Backend;

// Resizing the screen keeps maximised windows filling it.
void SetScreenSize(int width, int height);
SIZE GetScreenSize();

// The colour of the screen where no window is.
constexpr std::uint32_t kDesktopColour = 0x00303030;

// Composes the screen and answers its pixels (width x height, 0x00RRGGBB, rows top first).
const std::vector<std::uint32_t>& ComposeScreen();

// Composes and presents the screen on the back end, and shows it the cursor, when they changed since it
// last showed them.
void PresentScreenIfChanged(Backend& backend);

}  // namespace platform

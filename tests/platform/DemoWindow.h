// A small demo for the screen tests: a framed top-level window with a coloured client area and one child
// "button" of another colour, painted on WM_PAINT. It notes the clicks its child receives.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/kernel/WinTypes.h"

struct DemoWindow {
  static constexpr std::uint32_t kClientColour = 0x00F0E0C0;
  static constexpr std::uint32_t kButtonColour = 0x002060D0;
  static constexpr RECT kButton{40, 30, 140, 80};  // in the frame's client coordinates

  HWND frame = nullptr;
  HWND button = nullptr;
  std::vector<POINT> clicks;  // WM_LBUTTONDOWN of the button, client coordinates

  // Opens the window at (x, y) on the screen, 320 x 240 with its frame, and shows it.
  void Open(int x, int y, const char* title);
};

// Paints the area of a window the system lets it touch with one colour.
void FillVisible(HWND window, std::uint32_t colour);

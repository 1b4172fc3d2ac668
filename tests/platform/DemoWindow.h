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

  DemoWindow() = default;
  ~DemoWindow();
  DemoWindow(const DemoWindow&) = delete;
  DemoWindow& operator=(const DemoWindow&) = delete;

  // Opens the window at (x, y) on the screen, 320 x 240 with its frame, and shows it.
  void Open(int x, int y, const char* title);

 private:
  HBRUSH background = nullptr;
};

// Fills a window's client area through GetDC (the system keeps the drawing to what the window shows).
void FillVisible(HWND window, std::uint32_t colour);
// The drawing layer's colour (0x00bbggrr) of a screen pixel value (0x00rrggbb).
COLORREF ColorRefOf(std::uint32_t pixel);

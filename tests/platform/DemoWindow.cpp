#include "DemoWindow.h"

#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/Surface.h"
#include "platform/user/Window.h"

namespace {

DemoWindow* gDemo = nullptr;

LRESULT DemoProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT && gDemo != nullptr) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    FillVisible(window, window == gDemo->button ? DemoWindow::kButtonColour : DemoWindow::kClientColour);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_LBUTTONDOWN && gDemo != nullptr && window == gDemo->button) {
    gDemo->clicks.push_back(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void FillVisible(HWND window, std::uint32_t colour) {
  platform::DrawTarget target = platform::WindowDrawTarget(window, true);
  if (target.surface == nullptr) return;
  for (const RECT& r : target.clip.Rects()) {
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        target.surface->pixels[static_cast<std::size_t>(y) * target.surface->width + x] = colour;
      }
    }
  }
}

void DemoWindow::Open(int x, int y, const char* title) {
  gDemo = this;
  WNDCLASSA wc{};
  wc.lpfnWndProc = DemoProcedure;
  wc.lpszClassName = "QuilloryDemo";
  RegisterClassA(&wc);
  frame = CreateWindowExA(0, "QuilloryDemo", title, WS_OVERLAPPEDWINDOW, x, y, 320, 240, nullptr, nullptr, nullptr,
                          nullptr);
  button = CreateWindowExA(0, "QuilloryDemo", "", WS_CHILD | WS_VISIBLE, kButton.left, kButton.top,
                           kButton.right - kButton.left, kButton.bottom - kButton.top, frame,
                           reinterpret_cast<HMENU>(1), nullptr, nullptr);
  ShowWindow(frame, SW_SHOW);
  UpdateWindow(frame);
}

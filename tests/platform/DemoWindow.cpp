#include "DemoWindow.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/Message.h"
#include "platform/user/Paint.h"
#include "platform/user/Window.h"

namespace {

DemoWindow* gDemo = nullptr;

void FillClient(HWND window, HDC dc, std::uint32_t colour) {
  HBRUSH brush = CreateSolidBrush(ColorRefOf(colour));
  RECT all;
  GetClientRect(window, &all);
  FillRect(dc, &all, brush);
  DeleteObject(brush);
}

// The frame is erased with its class brush; the button paints itself.
LRESULT DemoProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT && gDemo != nullptr && window == gDemo->button) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    FillClient(window, dc, DemoWindow::kButtonColour);
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

COLORREF ColorRefOf(std::uint32_t pixel) {
  return ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16);
}

void FillVisible(HWND window, std::uint32_t colour) {
  HDC dc = GetDC(window);
  FillClient(window, dc, colour);
  ReleaseDC(window, dc);
}

void DemoWindow::Open(int x, int y, const char* title) {
  gDemo = this;
  if (background == nullptr) background = CreateSolidBrush(ColorRefOf(kClientColour));
  WNDCLASSA wc{};
  wc.lpfnWndProc = DemoProcedure;
  wc.hbrBackground = background;
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

DemoWindow::~DemoWindow() {
  if (gDemo == this) gDemo = nullptr;
  if (IsWindow(frame)) DestroyWindow(frame);
  UnregisterClassA("QuilloryDemo", nullptr);
  if (background != nullptr) DeleteObject(background);
}

#include "support/WindowFixture.h"

#include "platform/screen/HeadlessBackend.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Screen.h"

WindowFixture* WindowFixture::current = nullptr;

void WindowFixture::SetUp() {
  platform::ResetWindowSystemForTesting();
  platform::SetBackend(nullptr);
  platform::SetScreenSize(800, 600);
  platform::SetClockForTesting([this] { return now; });
  current = this;
  WNDCLASSA wc{};
  wc.lpfnWndProc = &WindowFixture::Procedure;
  wc.lpszClassName = kClass;
  ASSERT_NE(RegisterClassA(&wc), 0);
  log.Clear();
}

void WindowFixture::TearDown() {
  platform::ResetWindowSystemForTesting();
  platform::SetClockForTesting({});
  current = nullptr;
}

HWND WindowFixture::MakeTop(RECT r, DWORD style) {
  return CreateWindowExA(0, kClass, "top", style, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr,
                         nullptr, nullptr, nullptr);
}

HWND WindowFixture::MakeChild(HWND parent, RECT r, DWORD style) {
  static int nextId = 1;
  return CreateWindowExA(0, kClass, "child", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                         reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(nextId++)), nullptr, nullptr);
}

void WindowFixture::RegisterWhiteClass(const char* name) {
  WNDCLASSA wc{};
  ASSERT_TRUE(GetClassInfoA(nullptr, kClass, &wc));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = name;
  ASSERT_NE(RegisterClassA(&wc), 0);
}

int WindowFixture::Pump() {
  int count = 0;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    if (++count > 10000) {
      ADD_FAILURE() << "the queue never empties";
      break;
    }
  }
  return count;
}

LRESULT WindowFixture::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (current != nullptr) {
    auto found = current->handlers.find(window);
    if (found != current->handlers.end()) {
      if (auto answer = found->second(window, message, wParam, lParam)) return *answer;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

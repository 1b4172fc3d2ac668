// Frames drawn by the window system: their sizes for every style, their looks (golden screenshots), the
// caption drag and the close box, and where a maximised main window puts its client area.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/Text1252.h"
#include "platform/user/Screen.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Activation.h"
#include "platform/user/Input.h"
#include "support/WindowFixture.h"
#include "platform/ScreenShot.h"
#include "support/ScreenPixels.h"

namespace {

using platform::InjectMouseButton;
using platform::InjectMouseMove;
using platform::MouseButton;

// The frame kinds of the program's windows: their native styles, floating ones as tool windows.
struct FrameKind {
  int kind;
  DWORD style;
  DWORD exStyle;
};
constexpr FrameKind kKinds[] = {
    {0, 0x44C80000, 0}, {1, 0x44C00000, 0}, {2, 0x44400000, 0},
    {3, 0x44C80000, WS_EX_TOOLWINDOW}, {4, 0x44C80000, WS_EX_TOOLWINDOW}, {5, 0x44800000, WS_EX_TOOLWINDOW},
};

class Frames : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    RegisterWhiteClass("Framed");
    parent = MakeTop({0, 0, 600, 400});
  }

  // A frame of the kind around a client area at the given place of the parent's client area.
  HWND MakeFrame(const FrameKind& k, RECT client, const char* title) {
    RECT r = client;
    AdjustWindowRectEx(&r, k.style, FALSE, k.exStyle);
    HWND w = CreateWindowExA(k.exStyle, "Framed", title, k.style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             parent, reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(200 + k.kind)), nullptr,
                             nullptr);
    ShowWindow(w, SW_RESTORE);
    return w;
  }

  static void Click(int x, int y) {
    InjectMouseButton(x, y, MouseButton::Left, true);
    InjectMouseButton(x, y, MouseButton::Left, false);
  }

  HWND parent = nullptr;
};

TEST_F(Frames, AdjustWindowRectRoundTripsForEveryStyle) {
  struct Case {
    const char* name;
    DWORD style;
    DWORD exStyle;
    bool menu;
  };
  std::vector<Case> cases = {
      {"main window", WS_OVERLAPPEDWINDOW, 0, true},
      {"main window without menu", WS_OVERLAPPEDWINDOW, 0, false},
      {"pop-up", WS_POPUP, 0, false},
      {"bordered pop-up", WS_POPUP | WS_BORDER, 0, false},
      {"modal pop-up", WS_POPUP | WS_CAPTION, WS_EX_DLGMODALFRAME, false},
      {"child with a sunken edge", WS_CHILD, WS_EX_CLIENTEDGE, false},
  };
  for (const FrameKind& k : kKinds) cases.push_back({"frame kind", k.style, k.exStyle, false});
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.style) + "/" + std::to_string(c.exStyle));
    const RECT client{30, 40, 230, 190};
    RECT r = client;
    ASSERT_TRUE(AdjustWindowRectEx(&r, c.style, c.menu, c.exStyle));
    const bool child = (c.style & WS_CHILD) != 0;
    HWND w = CreateWindowExA(c.exStyle, "Framed", "x", c.style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             child ? parent : nullptr,
                             child ? reinterpret_cast<HMENU>(7) : (c.menu ? reinterpret_cast<HMENU>(0x5A5A) : nullptr),
                             nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    RECT got{};
    GetClientRect(w, &got);
    EXPECT_EQ(got, (RECT{0, 0, 200, 150}));
    POINT origin{0, 0};
    MapWindowPoints(w, child ? parent : nullptr, &origin, 1);
    EXPECT_EQ(origin.x, 30);
    EXPECT_EQ(origin.y, 40);
    if (c.style == kKinds[0].style && c.exStyle == 0) {
      EXPECT_EQ(r.top, 40 - 1 - 18);  // a one-pixel border and an 18-pixel caption
      EXPECT_EQ(r.left, 29);
    }
    if (c.exStyle == WS_EX_TOOLWINDOW && (c.style & WS_CAPTION) == WS_CAPTION) {
      EXPECT_EQ(r.top, 40 - 1 - 10);
    }
    DestroyWindow(w);
  }
  RECT none{};
  EXPECT_FALSE(AdjustWindowRectEx(nullptr, WS_POPUP, FALSE, 0));
  EXPECT_TRUE(AdjustWindowRect(&none, kKinds[0].style, FALSE));
}

TEST_F(Frames, AMaximisedMainWindowHasItsClientArea40PixelsBelowTheTopOfTheScreen) {
  HWND main = CreateWindowExA(0, "Framed", "Quillory", WS_OVERLAPPEDWINDOW, 0, 0, 630, 465, nullptr,
                              reinterpret_cast<HMENU>(0x5A5A), nullptr, nullptr);
  ShowWindow(main, SW_SHOWMAXIMIZED);
  POINT origin{0, 0};
  ClientToScreen(main, &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 40);
  RECT client{};
  GetClientRect(main, &client);
  EXPECT_EQ(client, (RECT{0, 0, 800, 560}));
}

// Every frame kind, and a main window with its menu bar, active and inactive, compared with the pictures
// checked in; QUILLORY_UPDATE_GOLDEN=1 writes them again after a deliberate change.
TEST_F(Frames, GoldenLooksOfEveryKindActiveAndInactive) {
  const std::string title = "Mes pages d'été"_cp;
  struct Shot {
    std::string name;
    HWND window;
  };
  std::vector<Shot> shots;
  for (const FrameKind& k : kKinds) {
    shots.push_back({"kind-" + std::to_string(k.kind), MakeFrame(k, RECT{20, 30 + 60 * k.kind, 160, 60 + 60 * k.kind},
                                                                      title.c_str())});
  }
  const DWORD mainStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  HWND main = CreateWindowExA(0, "Framed", "Quillory", mainStyle, 300, 40, 220, 110, nullptr,
                              reinterpret_cast<HMENU>(0x5A5A), nullptr, nullptr);
  shots.push_back({"main", main});
  for (const bool active : {true, false}) {
    for (const Shot& s : shots) SendMessageA(s.window, WM_NCACTIVATE, active, 0);
    Pump();
    for (const Shot& s : shots) {
      SCOPED_TRACE(s.name);
      ExpectGolden("frames/" + s.name + (active ? "-active" : "-inactive") + ".ppm", ShotOf(s.window));
    }
  }
}

TEST_F(Frames, CaptionsShowTheirLookAndComeBackWhenUncovered) {
  HWND a = MakeFrame(kKinds[0], {20, 40, 220, 140}, "A");
  SendMessageA(a, WM_NCACTIVATE, TRUE, 0);
  Pump();
  RECT r{};
  GetWindowRect(a, &r);
  const int x = r.left + 60, y = r.top + 5;
  EXPECT_EQ(ScreenPixel(x, y), 0x00000080u);  // navy: active
  SendMessageA(a, WM_NCACTIVATE, FALSE, 0);
  Pump();
  EXPECT_EQ(ScreenPixel(x, y), 0x00808080u);
  EXPECT_EQ(ScreenPixel(r.left, r.top + 30), 0x00000000u);  // the one-pixel border
  // Another frame over the caption, then away again: the caption is drawn again where it shows.
  HWND b = MakeFrame(kKinds[0], {40, 10, 140, 60}, "B");
  Pump();
  EXPECT_NE(ScreenPixel(x, y), 0x00808080u);
  MoveWindow(b, 300, 200, 100, 60, TRUE);
  Pump();
  EXPECT_EQ(ScreenPixel(x, y), 0x00808080u);
  // A new title is drawn at once.
  const ColourPicture before = ShotOf(a);
  SetWindowTextA(a, "Autre titre");
  Pump();
  EXPECT_FALSE(before == ShotOf(a));
}

TEST_F(Frames, DraggingACaptionMovesTheFrameInItsParentAndActivatesItOnce) {
  HWND a = MakeFrame(kKinds[0], {20, 40, 220, 140}, "A");
  HWND b = MakeFrame(kKinds[0], {60, 60, 260, 160}, "B");
  Pump();
  ASSERT_EQ(GetTopWindow(parent), b);
  RECT start{};
  GetWindowRect(a, &start);
  log.Clear();
  const POINT grab{start.left + 10, start.top + 8};
  InjectMouseButton(grab.x, grab.y, MouseButton::Left, true);
  Pump();
  for (int step = 1; step <= 5; ++step) {
    InjectMouseMove(grab.x + 10 * step, grab.y + 6 * step);
    Pump();
  }
  InjectMouseButton(grab.x + 50, grab.y + 30, MouseButton::Left, false);
  Pump();
  RECT end{};
  GetWindowRect(a, &end);
  EXPECT_EQ(end.left, start.left + 50);
  EXPECT_EQ(end.top, start.top + 30);
  EXPECT_EQ(GetTopWindow(parent), a);
  int activating = 0;
  for (const auto& m : log.Of(a, WM_WINDOWPOSCHANGED)) activating += !(m.pos.flags & SWP_NOACTIVATE);
  EXPECT_EQ(activating, 1);
  EXPECT_GE(log.Count(a, WM_MOVE), 1);
  EXPECT_EQ(log.Count(a, WM_MOUSEMOVE), 0);  // the drag takes the mouse
  EXPECT_EQ(log.Count(a, WM_LBUTTONUP), 0);

  // A whole drag arriving at once ends where the mouse was let go.
  GetWindowRect(a, &start);
  InjectMouseButton(start.left + 10, start.top + 8, MouseButton::Left, true);
  for (int step = 1; step <= 4; ++step) InjectMouseMove(start.left + 10 + 7 * step, start.top + 8 + 3 * step);
  InjectMouseButton(start.left + 38, start.top + 20, MouseButton::Left, false);
  Pump();
  GetWindowRect(a, &end);
  EXPECT_EQ(end.left, start.left + 28);
  EXPECT_EQ(end.top, start.top + 12);

  // The pointer stays over the parent: dragging far out leaves the caption within reach.
  GetWindowRect(a, &start);
  InjectMouseButton(start.left + 10, start.top + 8, MouseButton::Left, true);
  Pump();
  InjectMouseMove(start.left + 10, 590);
  Pump();
  InjectMouseButton(start.left + 10, 590, MouseButton::Left, false);
  Pump();
  GetWindowRect(a, &end);
  EXPECT_EQ(end.top + 8, 399);
  // Afterwards the mouse goes to the windows again.
  log.Clear();
  InjectMouseMove(300, 20);
  Pump();
  EXPECT_EQ(log.Count(parent, WM_MOUSEMOVE), 1);
}

TEST_F(Frames, AFrameDestroyedWhileDraggedLetsTheMouseGo) {
  HWND a = MakeFrame(kKinds[0], {20, 40, 220, 140}, "A");
  Pump();
  RECT r{};
  GetWindowRect(a, &r);
  InjectMouseButton(r.left + 10, r.top + 8, MouseButton::Left, true);
  Pump();
  DestroyWindow(a);
  InjectMouseMove(300, 300);
  InjectMouseButton(300, 300, MouseButton::Left, false);
  Pump();
  log.Clear();
  Click(310, 310);
  Pump();
  EXPECT_EQ(log.Count(parent, WM_LBUTTONDOWN), 1);
}

TEST_F(Frames, TheCloseBoxClosesWindowsWithASystemMenuOnly) {
  HWND closable = MakeFrame(kKinds[0], {20, 40, 220, 140}, "A");
  HWND modal = MakeFrame(kKinds[1], {300, 40, 500, 140}, "B");
  HWND palette = MakeFrame(kKinds[3], {20, 250, 120, 300}, "C");
  Pump();
  Handle(closable, [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_CLOSE) return 0;  // noted, kept open
    return std::nullopt;
  });
  // The close box is at the right end of the caption.
  auto closeBox = [](HWND w, int caption) {
    RECT r{};
    GetWindowRect(w, &r);
    return POINT{r.right - 1 - caption / 2, r.top + 1 + caption / 2};
  };
  for (HWND w : {closable, palette}) {
    const POINT box = closeBox(w, w == palette ? 10 : 18);
    EXPECT_EQ(SendMessageA(w, WM_NCHITTEST, 0, MAKELONG(box.x, box.y)), HTCLOSE);
  }
  const POINT noBox = closeBox(modal, 18);
  EXPECT_EQ(SendMessageA(modal, WM_NCHITTEST, 0, MAKELONG(noBox.x, noBox.y)), HTCAPTION);

  log.Clear();
  const POINT box = closeBox(closable, 18);
  const ColourPicture up = ShotOf(closable);
  InjectMouseButton(box.x, box.y, MouseButton::Left, true);
  Pump();
  EXPECT_FALSE(ShotOf(closable) == up);  // held down
  InjectMouseMove(box.x - 60, box.y);
  Pump();
  EXPECT_TRUE(ShotOf(closable) == up);  // away from it, up again
  EXPECT_EQ(log.Count(closable, WM_CLOSE), 0);
  InjectMouseMove(box.x, box.y);
  InjectMouseButton(box.x, box.y, MouseButton::Left, false);
  Pump();
  EXPECT_TRUE(ShotOf(closable) == up);
  ASSERT_EQ(log.Count(closable, WM_SYSCOMMAND), 1);
  EXPECT_EQ(log.Of(closable, WM_SYSCOMMAND)[0].wParam, static_cast<WPARAM>(SC_CLOSE));
  EXPECT_EQ(log.Count(closable, WM_CLOSE), 1);
  EXPECT_TRUE(IsWindow(closable));  // its procedure chose to keep it
  // Let go elsewhere: nothing.
  InjectMouseButton(box.x, box.y, MouseButton::Left, true);
  InjectMouseButton(box.x - 60, box.y + 40, MouseButton::Left, false);
  Pump();
  EXPECT_EQ(log.Count(closable, WM_CLOSE), 1);
  // A palette closes for good through the default.
  const POINT small = closeBox(palette, 10);
  InjectMouseButton(small.x, small.y, MouseButton::Left, true);
  InjectMouseButton(small.x, small.y, MouseButton::Left, false);
  Pump();
  EXPECT_FALSE(IsWindow(palette));
}

}  // namespace

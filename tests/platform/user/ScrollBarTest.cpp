// The system's scroll bars: range, page and position through the scroll calls, the notifications each
// part gives under the mouse (held arrows and pages repeating, the thumb dragged), disabled bars, and their
// looks on the composed screen.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/user/ScrollBar.h"
#include "platform/ControlFixture.h"
#include "platform/ScreenShot.h"

namespace {

// A vertical bar 16 wide and 200 tall at (300, 20); its arrows are 16 long, its track runs from 16 to 184.
constexpr RECT kVertical{300, 20, 316, 220};

class ScrollBars : public ControlFixture {
 protected:
  HWND MakeBar(DWORD style = SBS_VERT, RECT r = kVertical, int min = 0, int max = 10) {
    HWND bar = Make("SCROLLBAR", "", style, r, 30);
    EXPECT_TRUE(SetScrollRange(bar, SB_CTL, min, max, TRUE));
    return bar;
  }

  // The parent moves the bar as a scrolling window does: a line is 1, a page `page`, the thumb where it is
  // dragged.
  void Follow(HWND bar, int page) {
    Handle(parent, [bar, page](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
      if (message != WM_VSCROLL && message != WM_HSCROLL) return std::nullopt;
      int pos = GetScrollPos(bar, SB_CTL);
      switch (LOWORD(wParam)) {
        case SB_LINEUP: --pos; break;
        case SB_LINEDOWN: ++pos; break;
        case SB_PAGEUP: pos -= page; break;
        case SB_PAGEDOWN: pos += page; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = HIWORD(wParam); break;
        default: break;
      }
      SetScrollPos(bar, SB_CTL, pos, TRUE);
      return 0;
    });
  }

  // The scroll codes the parent heard from the bar, each checked to name it.
  std::vector<WORD> Codes(HWND bar, UINT message = WM_VSCROLL) const {
    std::vector<WORD> codes;
    for (const LoggedMessage& m : Notes(message)) {
      EXPECT_EQ(reinterpret_cast<HWND>(m.lParam), bar);
      codes.push_back(LOWORD(m.wParam));
    }
    return codes;
  }
  std::vector<WORD> Positions(UINT message = WM_VSCROLL) const {
    std::vector<WORD> positions;
    for (const LoggedMessage& m : Notes(message)) positions.push_back(HIWORD(m.wParam));
    return positions;
  }
};

using CodeList = std::vector<WORD>;

TEST_F(ScrollBars, RangePageAndPositionStayConsistent) {
  HWND bar = MakeBar(SBS_VERT, kVertical, 0, 0);
  int min = -1, max = -1;
  ASSERT_TRUE(GetScrollRange(bar, SB_CTL, &min, &max));
  EXPECT_EQ(min, 0);
  EXPECT_EQ(max, 0);

  ASSERT_TRUE(SetScrollRange(bar, SB_CTL, 0, 20, FALSE));
  EXPECT_EQ(SetScrollPos(bar, SB_CTL, 15, TRUE), 0) << "the previous position";
  EXPECT_EQ(SetScrollPos(bar, SB_CTL, 50, TRUE), 15);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 20) << "kept within the range";
  EXPECT_EQ(SetScrollPos(bar, SB_CTL, -3, TRUE), 20);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);

  // A page of 5 shows positions 16 to 20 from the last position, 16.
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_PAGE | SIF_POS, 0, 0, 5, 30, 0};
  EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &info, TRUE), 16);
  info = SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &info));
  EXPECT_EQ(info.nMin, 0);
  EXPECT_EQ(info.nMax, 20);
  EXPECT_EQ(info.nPage, 5u);
  EXPECT_EQ(info.nPos, 16);
  EXPECT_EQ(info.nTrackPos, 16);

  // A smaller range brings the position, and a page larger than the range, within it.
  ASSERT_TRUE(SetScrollRange(bar, SB_CTL, 2, 4, TRUE));
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 2);
  ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &info));
  EXPECT_EQ(info.nPage, 3u);

  // Ranges that cannot be: refused, the bar as it was.
  struct Bad {
    int min, max;
  };
  for (const Bad b : {Bad{5, 4}, Bad{-1, INT_MAX}, Bad{INT_MIN, 0}}) {
    SetLastError(0);
    EXPECT_FALSE(SetScrollRange(bar, SB_CTL, b.min, b.max, TRUE)) << b.min << ".." << b.max;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_SCROLLBAR_RANGE));
    info = SCROLLINFO{sizeof(SCROLLINFO), SIF_RANGE, b.min, b.max, 0, 0, 0};
    EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &info, TRUE), 0);
  }
  ASSERT_TRUE(GetScrollRange(bar, SB_CTL, &min, &max));
  EXPECT_EQ(min, 2);
  EXPECT_EQ(max, 4);
  ASSERT_TRUE(SetScrollRange(bar, SB_CTL, INT_MIN, -1, TRUE)) << "the widest range there is";

  // Windows have no bars of their own, and other controls are no bars.
  HWND plain = MakeChild(parent, {0, 0, 50, 50});
  for (const int which : {SB_HORZ, SB_VERT, SB_CTL}) {
    SetLastError(0);
    EXPECT_FALSE(SetScrollRange(plain, which, 0, 10, TRUE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_SCROLLBARS));
  }
  EXPECT_EQ(GetScrollPos(plain, SB_CTL), 0);
  EXPECT_FALSE(GetScrollRange(bar, SB_VERT, &min, &max));
  info.cbSize = 3;
  EXPECT_FALSE(GetScrollInfo(bar, SB_CTL, &info));
}

// Each part, pressed and let go at once: its code, then the end of the action, to the parent, with the
// bar's handle; vertical bars tell WM_VSCROLL, horizontal ones WM_HSCROLL.
TEST_F(ScrollBars, EachPartGivesItsCode) {
  struct Case {
    const char* name;
    int along;  // from the bar's top (or left) end
    CodeList codes;
  };
  // Position 5 of 0..10: the thumb runs from 16 + 152 * 5 / 10 = 92 to 108.
  const Case cases[] = {
      {"first arrow", 5, {SB_LINEUP, SB_ENDSCROLL}},
      {"last arrow", 199, {SB_LINEDOWN, SB_ENDSCROLL}},
      {"track before the thumb", 91, {SB_PAGEUP, SB_ENDSCROLL}},
      {"track after the thumb", 108, {SB_PAGEDOWN, SB_ENDSCROLL}},
      {"thumb", 100, {SB_THUMBPOSITION, SB_ENDSCROLL}},
  };
  for (const bool vertical : {true, false}) {
    const RECT r = vertical ? kVertical : RECT{20, 200, 220, 216};
    HWND bar = MakeBar(vertical ? SBS_VERT : SBS_HORZ, r);
    SetScrollPos(bar, SB_CTL, 5, TRUE);
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (vertical ? " (vertical)" : " (horizontal)"));
      log.Clear();
      const int x = vertical ? r.left + 8 : r.left + c.along, y = vertical ? r.top + c.along : r.top + 8;
      Click(x, y);
      EXPECT_EQ(Codes(bar, vertical ? WM_VSCROLL : WM_HSCROLL), c.codes);
      EXPECT_EQ(log.Count(parent, vertical ? WM_HSCROLL : WM_VSCROLL), 0);
      EXPECT_EQ(GetScrollPos(bar, SB_CTL), 5) << "the bar waits for its parent to move it";
      EXPECT_EQ(GetCapture(), nullptr);
    }
    EXPECT_EQ(Positions(vertical ? WM_VSCROLL : WM_HSCROLL)[0], 5) << "the thumb's place, in the high word";
    DestroyWindow(bar);
  }
}

// An arrow held down repeats after a pause, then steadily, while the pointer stays on it.
TEST_F(ScrollBars, AHeldArrowRepeatsWhileThePointerIsOnIt) {
  HWND bar = MakeBar();
  Press(308, 215);
  EXPECT_EQ(Codes(bar), CodeList{SB_LINEDOWN});
  Advance(249);
  Pump();
  EXPECT_EQ(Codes(bar).size(), 1u) << "not before the pause";
  Advance(1);
  Pump();
  EXPECT_EQ(Codes(bar).size(), 2u);
  Advance(50);
  Pump();
  Advance(50);
  Pump();
  EXPECT_EQ(Codes(bar).size(), 4u);
  MoveTo(250, 215);  // off the bar
  Advance(200);
  Pump();
  EXPECT_EQ(Codes(bar).size(), 4u);
  MoveTo(308, 210);  // back on the arrow
  Advance(50);
  Pump();
  EXPECT_EQ(Codes(bar).size(), 5u);
  Release(308, 210);
  Advance(500);
  Pump();
  EXPECT_EQ(Codes(bar), (CodeList{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}));

  // Quick clicks are a step each, the second coming as a double click.
  log.Clear();
  Click(308, 210);
  Click(308, 210);
  EXPECT_EQ(log.Count(bar, WM_LBUTTONDBLCLK), 1);
  EXPECT_EQ(Codes(bar), (CodeList{SB_LINEDOWN, SB_ENDSCROLL, SB_LINEDOWN, SB_ENDSCROLL}));
}

// The track held below the thumb pages down until the thumb comes under the pointer, then stops.
TEST_F(ScrollBars, AHeldPageStopsWhenTheThumbReachesThePointer) {
  HWND bar = MakeBar(SBS_VERT, kVertical, 0, 100);
  Follow(bar, 10);
  // The thumb (16 long) sits at 16 + 152 * pos / 100: the pointer at 130 is under it from position 70 on.
  Press(308, 20 + 130);
  for (int step = 0; step < 20; ++step) {
    Advance(step == 0 ? 250 : 50);
    Pump();
  }
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 70);
  Release(308, 150);
  CodeList expected(7, SB_PAGEDOWN);
  expected.push_back(SB_ENDSCROLL);
  EXPECT_EQ(Codes(bar), expected);
}

// The thumb dragged: a track notification at each new position, carried in the high word; let go, the
// position where it was left, then the end.
TEST_F(ScrollBars, DraggingTheThumbTellsEachNewPosition) {
  HWND bar = MakeBar();
  Follow(bar, 1);
  Press(308, 20 + 20);  // the thumb, 4 pixels into it
  MoveTo(308, 20 + 20 + 15);  // 15.2 pixels a position: 15 pixels round to 1
  MoveTo(308, 20 + 20 + 16);  // still 1: nothing new
  MoveTo(308, 20 + 20 + 46);  // 3
  MoveTo(250, 20 + 300);      // far beyond the end, and beside the bar: the last position
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 10);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &info));
  EXPECT_EQ(info.nTrackPos, 10);
  MoveTo(308, 20 + 20 + 45);  // back to 3
  Release(308, 20 + 20 + 45);
  EXPECT_EQ(Codes(bar), (CodeList{SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION,
                               SB_ENDSCROLL}));
  EXPECT_EQ(Positions(), (std::vector<WORD>{1, 3, 10, 3, 3, 0}));
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 3);
}

// Positions beyond 16 bits: the high word carries the low 16 bits, SIF_TRACKPOS the whole position.
TEST_F(ScrollBars, TheTrackPositionIsWholeInTheScrollInformation) {
  HWND bar = MakeBar(SBS_VERT, kVertical, 0, 152 * 1000);
  Press(308, 20 + 20);
  MoveTo(308, 20 + 20 + 100);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &info));
  EXPECT_EQ(info.nTrackPos, 100000);
  EXPECT_EQ(info.nPos, 0) << "the parent did not move the bar";
  EXPECT_EQ(Positions().back(), static_cast<WORD>(100000 & 0xFFFF));
  Release(308, 20 + 20 + 100);
}

// Without room to move there is no thumb and the track does nothing; a disabled bar takes no input at all:
// its clicks go to the window under it.
TEST_F(ScrollBars, EmptyRangesAndDisabledBars) {
  HWND bar = MakeBar(SBS_VERT, kVertical, 3, 3);
  Click(308, 120);
  EXPECT_TRUE(Codes(bar).empty());
  Click(308, 25);
  EXPECT_EQ(Codes(bar), (CodeList{SB_LINEUP, SB_ENDSCROLL}));

  log.Clear();
  SetScrollRange(bar, SB_CTL, 0, 10, TRUE);
  EnableWindow(bar, FALSE);
  Click(308, 120);
  Click(308, 25);
  EXPECT_TRUE(Codes(bar).empty());
  EXPECT_EQ(log.Count(parent, WM_LBUTTONDOWN), 2);

  // Disabled while an arrow is held: the action ends there.
  EnableWindow(bar, TRUE);
  log.Clear();
  Press(308, 25);
  EnableWindow(bar, FALSE);
  EXPECT_EQ(GetCapture(), nullptr);
  Advance(1000);
  Pump();
  EXPECT_EQ(Codes(bar), (CodeList{SB_LINEUP, SB_ENDSCROLL}));
}

// A parent may destroy the bar, or take the capture, while it handles a notification.
TEST_F(ScrollBars, TheParentMayDestroyTheBarOrTakeTheMouseAway) {
  HWND bar = MakeBar();
  Handle(parent, [](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (message == WM_VSCROLL) DestroyWindow(reinterpret_cast<HWND>(lParam));
    return std::nullopt;
  });
  Press(308, 25);
  EXPECT_FALSE(IsWindow(bar));
  Advance(1000);
  Pump();
  Release(308, 25);
  EXPECT_EQ(Codes(bar), CodeList{SB_LINEUP});

  log.Clear();
  bar = MakeBar();
  Handle(parent, [this](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_VSCROLL) SetCapture(parent);
    return std::nullopt;
  });
  Press(308, 25);
  EXPECT_EQ(GetCapture(), parent);
  Advance(1000);
  Pump();
  EXPECT_EQ(Codes(bar), (CodeList{SB_LINEUP, SB_ENDSCROLL})) << "the action ends when the mouse is taken away";
  Release(308, 25);
  ReleaseCapture();  // the parent's

  // Told to cancel, a bar whose thumb is dragged ends without a final position.
  log.Clear();
  Handle(parent, [](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> { return std::nullopt; });
  Press(308, 20 + 20);
  MoveTo(308, 20 + 20 + 50);
  SendMessageA(bar, WM_CANCELMODE, 0, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  Release(308, 20 + 20 + 50);
  EXPECT_EQ(Codes(bar), (CodeList{SB_THUMBTRACK, SB_ENDSCROLL}));
}

TEST_F(ScrollBars, GoldenLooks) {
  struct Look {
    const char* name;
    DWORD style;
    RECT r;
    int max;
    UINT page;
    int pos;
    bool disabled;
    POINT pressed;  // relative to the bar; (-1, -1) for none
  };
  const Look looks[] = {
      {"vertical", SBS_VERT, {300, 20, 316, 120}, 10, 0, 3, false, {-1, -1}},
      {"vertical-page-held", SBS_VERT, {300, 20, 316, 120}, 10, 0, 3, false, {8, 80}},
      {"vertical-arrow-held", SBS_VERT, {300, 20, 316, 120}, 10, 0, 3, false, {8, 95}},
      {"horizontal-page", SBS_HORZ, {20, 200, 140, 216}, 99, 25, 30, false, {-1, -1}},
      {"horizontal-disabled", SBS_HORZ, {20, 200, 140, 216}, 99, 25, 30, true, {-1, -1}},
      {"short", SBS_VERT, {300, 20, 316, 44}, 10, 0, 3, false, {-1, -1}},
  };
  for (const Look& look : looks) {
    SCOPED_TRACE(look.name);
    HWND bar = MakeBar(look.style, look.r, 0, look.max);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_PAGE | SIF_POS, 0, 0, look.page, look.pos, 0};
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
    if (look.disabled) EnableWindow(bar, FALSE);
    if (look.pressed.x >= 0) Press(look.r.left + look.pressed.x, look.r.top + look.pressed.y);
    Pump();
    ExpectGolden(std::string("controls/scrollbar-") + look.name + ".ppm", ShotOf(bar));
    if (look.pressed.x >= 0) Release(look.r.left + look.pressed.x, look.r.top + look.pressed.y);
    DestroyWindow(bar);
  }
}

// What the golden pictures must show: the thumb where the position puts it, sized by the page.
TEST_F(ScrollBars, TheThumbSitsAtThePositionAndMeasuresThePage) {
  auto face = [](const ColourPicture& p, int x, int y) {
    return p.pixels[static_cast<std::size_t>(y * p.width + x)] == 0xC0C0C0u;
  };
  // Along the middle row of a horizontal bar 216 long (track 16..200): the thumb's face where it is.
  HWND bar = MakeBar(SBS_HORZ, {20, 200, 236, 216}, 0, 99);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_PAGE | SIF_POS, 0, 0, 50, 25, 0};
  SetScrollInfo(bar, SB_CTL, &info, TRUE);
  ColourPicture p = ShotOf(bar);
  // Thumb 184 * 50 / 100 = 92 long, at 16 + (184 - 92) * 25 / 50 = 62.
  for (int x = 64; x < 62 + 90; ++x) EXPECT_TRUE(face(p, x, 8)) << x;
  EXPECT_FALSE(face(p, 61, 8) && face(p, 60, 8)) << "the track before the thumb";
  EXPECT_FALSE(face(p, 155, 8) && face(p, 156, 8)) << "the track after it";

  info = SCROLLINFO{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 50, 0};
  SetScrollInfo(bar, SB_CTL, &info, TRUE);
  p = ShotOf(bar);
  EXPECT_TRUE(face(p, 110 + 40, 8)) << "the last position puts the thumb against the last arrow";
  EXPECT_FALSE(face(p, 107, 8) && face(p, 106, 8));
}

}  // namespace

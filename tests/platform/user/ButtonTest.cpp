// The system's buttons: clicks by mouse, keyboard and message, the checks of the automatic kinds and of
// radio groups, notifications to the parent, disabled buttons, and their looks on the composed screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "core/Text1252.h"
#include "platform/kernel/Errors.h"
#include "platform/user/Button.h"
#include "platform/user/KeyState.h"
#include "platform/ControlFixture.h"
#include "platform/ScreenShot.h"

namespace {

class Buttons : public ControlFixture {
 protected:
  // The BN_CLICKED notifications the parent received, each checked to name the button and its identifier.
  int ClicksOf(HWND button) const {
    int clicks = 0;
    for (const LoggedMessage& m : Notes(WM_COMMAND)) {
      if (reinterpret_cast<HWND>(m.lParam) != button) continue;
      EXPECT_EQ(LOWORD(m.wParam), GetDlgCtrlID(button));
      EXPECT_EQ(HIWORD(m.wParam), BN_CLICKED);
      ++clicks;
    }
    return clicks;
  }
  static bool Pushed(HWND button) { return (SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }
  static UINT Check(HWND button) { return static_cast<UINT>(SendMessageA(button, BM_GETCHECK, 0, 0)); }
};

// A press over the button pushes it and takes the focus and the capture; the look follows the pointer out
// and back in; only a release over the button clicks it.
TEST_F(Buttons, MouseClicksOnlyWhenReleasedOverTheButton) {
  struct Case {
    const char* name;
    std::vector<POINT> path;  // where the pointer goes while the button is held
    POINT release;
    int clicks;
  };
  const Case cases[] = {
      {"still", {}, {40, 30}, 1},
      {"out and released outside", {{150, 30}}, {150, 30}, 0},
      {"out and back in", {{150, 30}, {20, 25}}, {20, 25}, 1},
      {"out past the right edge by one", {{100, 30}}, {100, 30}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.Clear();
    HWND button = Make("BUTTON", "OK", BS_PUSHBUTTON, {20, 20, 100, 42}, 7);
    Press(40, 30);
    EXPECT_TRUE(Pushed(button));
    EXPECT_EQ(GetFocus(), button);
    EXPECT_EQ(GetCapture(), button);
    for (const POINT p : c.path) {
      MoveTo(p.x, p.y);
      RECT r{20, 20, 100, 42};
      const bool inside = p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
      EXPECT_EQ(Pushed(button), inside) << p.x << ',' << p.y;
    }
    Release(c.release.x, c.release.y);
    EXPECT_FALSE(Pushed(button));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(ClicksOf(button), c.clicks);
    DestroyWindow(button);
  }
}

// The parent that handles the click finds the button with the focus and no capture left: a window that
// turns a click into a mouse-down of its own relies on both.
TEST_F(Buttons, TheClickComesAfterTheCaptureIsLetGoWithTheFocusOnTheButton) {
  HWND button = Make("BUTTON", "OK", BS_PUSHBUTTON, {20, 20, 100, 42}, 7);
  HWND focusSeen = nullptr, captureSeen = button;
  Handle(parent, [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_COMMAND) {
      focusSeen = GetFocus();
      captureSeen = GetCapture();
    }
    return std::nullopt;
  });
  // The press sent straight to the button, as a window forwarding a click does; the release comes as input.
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELONG(5, 5));
  EXPECT_EQ(GetCapture(), button);
  Release(25, 25);
  EXPECT_EQ(ClicksOf(button), 1);
  EXPECT_EQ(focusSeen, button);
  EXPECT_EQ(captureSeen, nullptr);
}

TEST_F(Buttons, SpaceBarClicksTheFocusedButtonAndTheWindowsKeysGoToTheParent) {
  HWND button = Make("BUTTON", "OK", BS_PUSHBUTTON, {20, 20, 100, 42}, 7);
  HWND other = Make("BUTTON", "Annuler", BS_PUSHBUTTON, {120, 20, 200, 42}, 8);
  SetFocus(button);
  Key(VK_SPACE, true);
  EXPECT_TRUE(Pushed(button));
  EXPECT_EQ(ClicksOf(button), 0);
  Key(VK_SPACE, false);
  EXPECT_FALSE(Pushed(button));
  EXPECT_EQ(ClicksOf(button), 1);
  EXPECT_EQ(log.Count(parent, WM_CHAR), 0) << "the space bar's character stays with the button";

  // The focus moving away while the space bar is down lets the button up without a click.
  Key(VK_SPACE, true);
  SetFocus(other);
  EXPECT_FALSE(Pushed(button));
  Key(VK_SPACE, false);
  EXPECT_EQ(ClicksOf(button), 1);
  EXPECT_EQ(ClicksOf(other), 0) << "the key went up, not down, on the other button";

  // The window's keys reach the parent as the characters it knows them by; the others stay unused.
  log.Clear();
  for (const int key : {int{VK_ESCAPE}, int{VK_RETURN}, int{VK_TAB}, int{'A'}, int{VK_LEFT}}) {
    Key(key, true);
    Key(key, false);
  }
  std::vector<WPARAM> characters;
  for (const LoggedMessage& m : log.Of(parent, WM_CHAR)) characters.push_back(m.wParam);
  EXPECT_EQ(characters, (std::vector<WPARAM>{27, 13, 9}));
  EXPECT_EQ(log.Count(parent, WM_KEYDOWN), 0);
  EXPECT_EQ(ClicksOf(other), 0);
}

// BM_CLICK, then a double click of the mouse (two clicks for a button), on every kind: the automatic kinds
// change their check before the parent hears of the click; the others leave it to the parent.
TEST_F(Buttons, EachKindChecksAsItsStyleSays) {
  struct Case {
    const char* name;
    DWORD style;
    UINT afterOne, afterTwo, afterThree;
  };
  const Case cases[] = {
      {"push", BS_PUSHBUTTON, 0, 0, 0},
      {"default push", BS_DEFPUSHBUTTON, 0, 0, 0},
      {"check box", BS_CHECKBOX, 0, 0, 0},
      {"automatic check box", BS_AUTOCHECKBOX, 1, 0, 1},
      {"three states", BS_3STATE, 0, 0, 0},
      {"automatic three states", BS_AUTO3STATE, 1, 2, 0},
      {"radio", BS_RADIOBUTTON, 0, 0, 0},
      {"automatic radio", BS_AUTORADIOBUTTON, 1, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.Clear();
    HWND button = Make("BUTTON", "Choix", c.style | WS_GROUP, {20, 60, 140, 80}, 9);
    UINT seenByParent = 99;
    Handle(parent, [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (message == WM_COMMAND) seenByParent = Check(button);
      return std::nullopt;
    });
    SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(Check(button), c.afterOne);
    EXPECT_EQ(seenByParent, c.afterOne);
    Click(30, 70);
    EXPECT_EQ(Check(button), c.afterTwo);
    Click(30, 70);
    EXPECT_EQ(log.Count(button, WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(Check(button), c.afterThree);
    EXPECT_EQ(ClicksOf(button), 3);
    Advance(1000);  // the next button's first click is not a double click
    DestroyWindow(button);
  }
}

// Radio buttons group from a WS_GROUP button up to the next, in the order they were made: an automatic one
// clicked unchecks the other automatic ones of its group, and nothing outside it.
TEST_F(Buttons, AnAutomaticRadioButtonUnchecksItsGroup) {
  HWND a = Make("BUTTON", "A", BS_AUTORADIOBUTTON | WS_GROUP, {20, 20, 120, 40}, 1);
  HWND b = Make("BUTTON", "B", BS_AUTORADIOBUTTON, {20, 40, 120, 60}, 2);
  HWND manual = Make("BUTTON", "C", BS_RADIOBUTTON, {20, 60, 120, 80}, 3);
  HWND c = Make("BUTTON", "D", BS_AUTORADIOBUTTON, {20, 80, 120, 100}, 4);
  HWND d = Make("BUTTON", "E", BS_AUTORADIOBUTTON | WS_GROUP, {20, 100, 120, 120}, 5);
  for (HWND h : {a, manual, d}) SendMessageA(h, BM_SETCHECK, BST_CHECKED, 0);
  Click(30, 90);  // D
  EXPECT_EQ(Check(a), 0u);
  EXPECT_EQ(Check(b), 0u);
  EXPECT_EQ(Check(manual), 1u) << "a radio button that is not automatic is left to its owner";
  EXPECT_EQ(Check(c), 1u);
  EXPECT_EQ(Check(d), 1u) << "another group";
  Click(30, 30);  // A, the first of its group
  EXPECT_EQ(Check(a), 1u);
  EXPECT_EQ(Check(c), 0u);
  EXPECT_EQ(Check(d), 1u);
}

TEST_F(Buttons, ChecksByMessageAndByIdentifier) {
  HWND two = Make("BUTTON", "Deux", BS_CHECKBOX, {20, 20, 120, 40}, 11);
  HWND three = Make("BUTTON", "Trois", BS_3STATE, {20, 40, 120, 60}, 12);
  HWND push = Make("BUTTON", "OK", BS_PUSHBUTTON, {20, 60, 120, 80}, 13);
  SendMessageA(two, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(Check(two), BST_CHECKED) << "a two-state box takes any check as checked";
  SendMessageA(three, BM_SETCHECK, 7, 0);
  EXPECT_EQ(Check(three), BST_INDETERMINATE);
  SendMessageA(push, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(Check(push), 0u);

  EXPECT_TRUE(CheckDlgButton(parent, 11, BST_UNCHECKED));
  EXPECT_EQ(IsDlgButtonChecked(parent, 11), 0u);
  EXPECT_TRUE(CheckDlgButton(parent, 11, BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(parent, 11), 1u);
  EXPECT_EQ(GetDlgItem(parent, 12), three);
  SetLastError(0);
  EXPECT_EQ(GetDlgItem(parent, 99), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CONTROL_ID_NOT_FOUND));
  EXPECT_FALSE(CheckDlgButton(parent, 99, BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(parent, 99), 0u);

  SetFocus(two);
  SendMessageA(two, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(SendMessageA(two, BM_GETSTATE, 0, 0), static_cast<LRESULT>(BST_CHECKED | BST_PUSHED | BST_FOCUS));
  EXPECT_EQ(ClicksOf(two), 0) << "the pushed look alone clicks nothing";
}

// A disabled button takes no click: the press goes to the window under it, and BM_CLICK does nothing. A
// button disabled while held lets the mouse go.
TEST_F(Buttons, DisabledButtonsTakeNoClick) {
  HWND button = Make("BUTTON", "OK", BS_AUTOCHECKBOX | WS_DISABLED, {20, 20, 100, 42}, 7);
  Click(40, 30);
  EXPECT_EQ(ClicksOf(button), 0);
  EXPECT_EQ(log.Count(parent, WM_LBUTTONDOWN), 1);
  SendMessageA(button, BM_CLICK, 0, 0);
  EXPECT_EQ(ClicksOf(button), 0);
  EXPECT_EQ(Check(button), 0u);

  // Disabled, or told to cancel what it follows, while held: the mouse is let go and nothing is clicked.
  for (const bool disable : {true, false}) {
    EnableWindow(button, TRUE);
    Press(40, 30);
    EXPECT_EQ(GetCapture(), button);
    if (disable) {
      EnableWindow(button, FALSE);
    } else {
      SendMessageA(button, WM_CANCELMODE, 0, 0);
    }
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(Pushed(button));
    Release(40, 30);
    EXPECT_EQ(ClicksOf(button), 0);
  }
}

// A parent that destroys the button while handling its click leaves nothing behind to trip over.
TEST_F(Buttons, AParentMayDestroyTheButtonItHearsFrom) {
  HWND button = Make("BUTTON", "Fermer", BS_AUTORADIOBUTTON | WS_GROUP, {20, 20, 100, 42}, 7);
  Handle(parent, [&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (message == WM_COMMAND) DestroyWindow(reinterpret_cast<HWND>(lParam));
    return std::nullopt;
  });
  Click(40, 30);
  EXPECT_FALSE(IsWindow(button));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(Buttons, TextAndFontChangeWhatIsDrawn) {
  HWND button = Make("BUTTON", "OK", BS_PUSHBUTTON, {20, 20, 100, 42}, 7);
  Pump();
  const ColourPicture plain = ShotOf(button);
  EXPECT_EQ(SendMessageA(button, WM_GETFONT, 0, 0), 0) << "the system font until one is given";

  LOGFONTA description{};
  description.lfHeight = -9;
  std::strcpy(description.lfFaceName, "Courier New");
  HFONT font = CreateFontIndirectA(&description);
  ASSERT_NE(font, nullptr);
  SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  EXPECT_EQ(SendMessageA(button, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
  const ColourPicture small = ShotOf(button);
  EXPECT_FALSE(small == plain);

  SetWindowTextA(button, "Annuler");
  EXPECT_FALSE(ShotOf(button) == small) << "new text shows at once";
  DestroyWindow(button);
  DeleteObject(font);
}

// The parent chooses the background and the text colour of check boxes and radio buttons; a parent that
// chooses nothing leaves them the system's.
TEST_F(Buttons, TheParentChoosesTheColoursAroundCheckBoxes) {
  HWND box = Make("BUTTON", "Oui", BS_CHECKBOX, {10, 10, 90, 33}, 1);
  auto count = [](const ColourPicture& p, std::uint32_t colour) {
    return std::count(p.pixels.begin(), p.pixels.end(), colour);
  };
  Pump();
  const ColourPicture plain = ShotOf(box);
  EXPECT_EQ(plain.pixels[static_cast<std::size_t>(plain.width - 1)], 0xC0C0C0u);
  EXPECT_GT(count(plain, 0x000000u), 20);
  const HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  Handle(parent, [white](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (message != WM_CTLCOLORSTATIC) return std::nullopt;
    SetTextColor(reinterpret_cast<HDC>(wParam), 0x000000FF);
    return reinterpret_cast<LRESULT>(white);
  });
  InvalidateRect(box, nullptr, FALSE);
  Pump();
  const ColourPicture chosen = ShotOf(box);
  EXPECT_EQ(chosen.pixels[static_cast<std::size_t>(chosen.width - 1)], 0xFFFFFFu);
  const auto red = count(chosen, 0xFF0000u);  // the screen's pixels are red-high
  EXPECT_EQ(red, count(plain, 0x000000u) - count(chosen, 0x000000u)) << "the text, and only the text, in red";
  EXPECT_GT(red, 20);
}

// The looks, compared with pictures checked in, and what makes each of them what it is.
TEST_F(Buttons, GoldenLooks) {
  struct Look {
    const char* name;
    DWORD style;
    UINT check;
    bool focus;
    bool pushed;
  };
  const Look looks[] = {
      {"push", BS_PUSHBUTTON, 0, false, false},
      {"push-default", BS_DEFPUSHBUTTON, 0, false, false},
      {"push-pushed", BS_PUSHBUTTON, 0, false, true},
      {"push-focus", BS_PUSHBUTTON, 0, true, false},
      {"push-disabled", BS_PUSHBUTTON | WS_DISABLED, 0, false, false},
      {"check", BS_CHECKBOX, 0, false, false},
      {"check-checked", BS_CHECKBOX, 1, true, false},
      {"check-indeterminate", BS_3STATE, 2, false, false},
      {"check-disabled", BS_CHECKBOX | WS_DISABLED, 1, false, false},
      {"radio", BS_RADIOBUTTON, 0, false, false},
      {"radio-checked", BS_RADIOBUTTON, 1, false, false},
  };
  const std::string text = "Été"_cp;
  for (const Look& look : looks) {
    SCOPED_TRACE(look.name);
    HWND button = Make("BUTTON", text.c_str(), look.style, {10, 10, 90, 33}, 1);
    SendMessageA(button, BM_SETCHECK, look.check, 0);
    SendMessageA(button, BM_SETSTATE, look.pushed, 0);
    if (look.focus) SetFocus(button);
    Pump();
    ExpectGolden(std::string("controls/button-") + look.name + ".ppm", ShotOf(button));
    DestroyWindow(button);
  }
}

// What the golden pictures must show, checked pixel by pixel so that a careless update of them is caught.
TEST_F(Buttons, LooksShowDefaultPushedAndCheckedStates) {
  auto pixel = [](HWND w, int x, int y) {
    const ColourPicture p = ShotOf(w);
    return p.pixels[static_cast<std::size_t>(y * p.width + x)];
  };
  HWND push = Make("BUTTON", "", BS_PUSHBUTTON, {10, 10, 90, 33}, 1);
  Pump();
  EXPECT_EQ(pixel(push, 0, 0), 0xFFFFFFu) << "lit from the top left";
  EXPECT_EQ(pixel(push, 79, 22), 0x000000u);
  EXPECT_EQ(pixel(push, 40, 11), 0xC0C0C0u) << "the face";
  SendMessageA(push, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(pixel(push, 0, 0), 0x000000u) << "the default button's black border";
  EXPECT_EQ(pixel(push, 1, 1), 0xFFFFFFu);
  SendMessageA(push, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(pixel(push, 1, 1), 0x808080u) << "pressed in";

  HWND box = Make("BUTTON", "", BS_CHECKBOX, {10, 40, 90, 53}, 2);
  Pump();
  const int x = 3 + 3, y = 3 + 2;  // a pixel of the mark's lowest column
  EXPECT_EQ(pixel(box, x, y + 2), 0xFFFFFFu);
  SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(pixel(box, x, y + 2), 0x000000u);
}

}  // namespace

// The "EDIT" control as a program uses it: through its messages, typed keys and mouse clicks, and the
// pixels it paints.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/DemoWindow.h"
#include "core/Text1252.h"
#include "platform/user/Screen.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Edit.h"
#include "platform/user/Input.h"
#include "platform/user/KeyState.h"
#include "support/WindowFixture.h"
#include "support/ScreenPixels.h"

namespace {

using platform::InjectKey;
using platform::InjectMouseButton;
using platform::InjectMouseMove;
using platform::InjectText;
using platform::MouseButton;

constexpr DWORD kMultiLine = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
constexpr int kId = 7;
constexpr RECT kParent{0, 0, 400, 300};

// The pixels of a screen rectangle, row by row.
std::vector<std::uint32_t> Pixels(RECT r) { return ScreenPicture(r).pixels; }

class EditControl : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    LOGFONTA d{};
    d.lfHeight = -16;
    d.lfWeight = FW_NORMAL;
    std::strcpy(d.lfFaceName, "Arial");
    font = CreateFontIndirectA(&d);
    ASSERT_NE(font, nullptr);
    parent = MakeTop(kParent);
    ASSERT_NE(parent, nullptr);
  }
  void TearDown() override {
    WindowFixture::TearDown();
    DeleteObject(font);
  }

  HWND MakeEdit(DWORD style, const char* text, RECT r, bool visible = true) {
    HWND edit = CreateWindowExA(0, "EDIT", text, WS_CHILD | (visible ? DWORD{WS_VISIBLE} : DWORD{0}) | style, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, parent,
                                reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(kId)), nullptr, nullptr);
    EXPECT_NE(edit, nullptr);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return edit;
  }

  static std::string Text(HWND edit) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
    return text;
  }
  static std::pair<DWORD, DWORD> Selection(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
  // The lines as the control reports them.
  static std::vector<std::string> Lines(HWND edit) {
    const std::string text = Text(edit);
    std::vector<std::string> lines;
    const auto count = SendMessageA(edit, EM_GETLINECOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      const auto start = SendMessageA(edit, EM_LINEINDEX, static_cast<WPARAM>(i), 0);
      const auto length = SendMessageA(edit, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
      lines.push_back(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length)));
    }
    return lines;
  }
  static POINT PointOf(HWND edit, int position) {
    const auto at = static_cast<DWORD>(SendMessageA(edit, EM_POSFROMCHAR, static_cast<WPARAM>(position), 0));
    return POINT{static_cast<SHORT>(LOWORD(at)), static_cast<SHORT>(HIWORD(at))};
  }
  // Where a client point of the control lies on the screen (the parent is a frameless pop-up at 0, 0).
  static POINT OnScreen(HWND edit, POINT p) {
    ClientToScreen(edit, &p);
    return p;
  }
  std::vector<WORD> Notifications() const {
    std::vector<WORD> codes;
    for (const LoggedMessage& m : log.Of(parent, WM_COMMAND)) {
      EXPECT_EQ(LOWORD(m.wParam), kId);
      codes.push_back(HIWORD(m.wParam));
    }
    return codes;
  }
  void Click(HWND edit, POINT client, bool down = true, bool up = true) {
    const POINT p = OnScreen(edit, client);
    if (down) InjectMouseButton(p.x, p.y, MouseButton::Left, true);
    if (up) InjectMouseButton(p.x, p.y, MouseButton::Left, false);
    Pump();
  }
  void Key(int key, bool extended = true) {
    InjectKey(key, true, extended);
    InjectKey(key, false, extended);
    Pump();
  }
  int LineHeight() {
    HDC dc = GetDC(parent);
    SelectObject(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    ReleaseDC(parent, dc);
    return metrics.tmHeight;
  }
  int WidthOf(const std::string& text) {
    HDC dc = GetDC(parent);
    SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    ReleaseDC(parent, dc);
    return size.cx;
  }

  HFONT font = nullptr;
  HWND parent = nullptr;
};

TEST_F(EditControl, KeepsItsTextAsWindows1252Bytes) {
  HWND edit = MakeEdit(kMultiLine, "Bonjour", {10, 10, 200, 100});
  EXPECT_EQ(Text(edit), "Bonjour");
  const std::string french = "Été à l'école\r\nfenêtre"_cp;
  ASSERT_TRUE(SetWindowTextA(edit, french.c_str()));
  EXPECT_EQ(GetWindowTextLengthA(edit), static_cast<int>(french.size()));
  EXPECT_EQ(Text(edit), french);
  char small[5];
  EXPECT_EQ(GetWindowTextA(edit, small, sizeof small), 4);
  EXPECT_STREQ(small, "\xC9t\xE9 ");
  // Setting the text puts the caret at its start.
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{0}));

  // A single-line control keeps no line breaks.
  HWND line = MakeEdit(ES_LEFT, "un\r\ndeux", {10, 110, 200, 130});
  EXPECT_EQ(Text(line), "un");
  SendMessageA(line, EM_SETSEL, 2, 2);
  SendMessageA(line, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("s\ntrois"));
  EXPECT_EQ(Text(line), "uns");
}

TEST_F(EditControl, SelectionMessagesOrderClampAndReplace) {
  HWND edit = MakeEdit(kMultiLine, "abcdefg", {10, 10, 200, 100});
  struct Case {
    int anchor;
    int caret;
    DWORD start;
    DWORD end;
  } cases[] = {
      {2, 5, 2, 5},       // as given
      {5, 2, 2, 5},       // backwards
      {0, -1, 0, 7},      // -1: to the end
      {0, 0x7FFF, 0, 7},  // past the end
      {3, 3, 3, 3},       // a caret
  };
  for (const Case& c : cases) {
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(c.anchor), static_cast<LPARAM>(c.caret));
    EXPECT_EQ(Selection(edit), std::make_pair(c.start, c.end)) << c.anchor << ", " << c.caret;
    EXPECT_EQ(static_cast<DWORD>(SendMessageA(edit, EM_GETSEL, 0, 0)), static_cast<DWORD>(MAKELONG(c.start, c.end)));
  }
  // -1 as anchor leaves the caret where it is, without a selection.
  SendMessageA(edit, EM_SETSEL, 1, 4);
  SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{4}, DWORD{4}));

  log.Clear();
  SendMessageA(edit, EM_SETSEL, 2, 5);
  SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("XY"));
  EXPECT_EQ(Text(edit), "abXYfg");
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{4}, DWORD{4}));
  EXPECT_EQ(Notifications(), std::vector<WORD>{EN_CHANGE});
  // Setting the text of a multi-line control is no change made by the user.
  log.Clear();
  SetWindowTextA(edit, "autre");
  EXPECT_TRUE(Notifications().empty());

  // -1 asks for the characters left unselected on the lines the selection touches.
  SetWindowTextA(edit, "abc\r\ndefg");
  SendMessageA(edit, EM_SETSEL, 1, 7);
  EXPECT_EQ(SendMessageA(edit, EM_LINELENGTH, static_cast<WPARAM>(-1), 0), 3);
  EXPECT_EQ(SendMessageA(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 0);
}

// Keys and characters as the user types them, from a given text and selection.
struct TypingCase {
  const char* name;
  DWORD style;
  const char* text;
  int anchor;
  int caret;
  std::vector<int> keys;  // > 0: a virtual key; < 0: Shift goes down (-1) or up (-2)
  const char* typed;      // characters typed after the keys
  const char* expected;
  DWORD start;
  DWORD end;
};

class EditTyping : public EditControl, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(EditTyping, ChangesTextAndSelection) {
  const TypingCase& c = GetParam();
  HWND edit = MakeEdit(c.style, c.text, {10, 10, 300, 200});
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(c.anchor), static_cast<LPARAM>(c.caret));
  log.Clear();
  for (int key : c.keys) {
    if (key < 0) {
      InjectKey(VK_SHIFT, key == -1);
      Pump();
    } else {
      Key(key, key != VK_BACK);
    }
  }
  if (c.typed[0] != '\0') {
    InjectText(c.typed);
    Pump();
  }
  EXPECT_EQ(Text(edit), c.expected);
  EXPECT_EQ(Selection(edit), std::make_pair(c.start, c.end));
  // The parent hears of every change, and only of changes.
  const std::vector<WORD> codes = Notifications();
  EXPECT_EQ(std::count(codes.begin(), codes.end(), EN_CHANGE) > 0, std::string(c.text) != c.expected);
}

constexpr int kShift = -1;
constexpr int kUnshift = -2;

INSTANTIATE_TEST_SUITE_P(
    Keys, EditTyping,
    ::testing::Values(
        TypingCase{"TypedCharactersGoInAtTheCaret", kMultiLine, "ac", 1, 1, {}, "b\xE9", "ab\xE9" "c", 3, 3},
        TypingCase{"TypingReplacesTheSelection", kMultiLine, "abcdef", 1, 4, {}, "X", "aXef", 2, 2},
        TypingCase{"BackspaceRemovesTheCharacterBefore", kMultiLine, "abc", 2, 2, {VK_BACK}, "", "ac", 1, 1},
        TypingCase{"BackspaceRemovesTheSelection", kMultiLine, "abcd", 1, 3, {VK_BACK}, "", "ad", 1, 1},
        TypingCase{"BackspaceAtTheStartDoesNothing", kMultiLine, "abc", 0, 0, {VK_BACK}, "", "abc", 0, 0},
        TypingCase{"BackspaceTakesALineBreakWhole", kMultiLine, "ab\r\ncd", 4, 4, {VK_BACK}, "", "abcd", 2, 2},
        TypingCase{"DeleteRemovesTheCharacterAfter", kMultiLine, "abc", 1, 1, {VK_DELETE}, "", "ac", 1, 1},
        TypingCase{"DeleteTakesALineBreakWhole", kMultiLine, "ab\r\ncd", 2, 2, {VK_DELETE}, "", "abcd", 2, 2},
        TypingCase{"DeleteAtTheEndDoesNothing", kMultiLine, "abc", 3, 3, {VK_DELETE}, "", "abc", 3, 3},
        TypingCase{"ReturnStartsALine", kMultiLine, "abcd", 2, 2, {}, "\r", "ab\r\ncd", 4, 4},
        TypingCase{"ReturnTypesNothingOnOneLine", ES_LEFT, "abcd", 2, 2, {}, "\r", "abcd", 2, 2},
        TypingCase{"ArrowsMoveAndShiftExtends", kMultiLine, "abcdef", 1, 1,
                   {VK_RIGHT, kShift, VK_RIGHT, VK_RIGHT, kUnshift}, "", "abcdef", 2, 4},
        TypingCase{"ShiftLeftExtendsBackwards", kMultiLine, "abcdef", 4, 4, {kShift, VK_LEFT, VK_LEFT, kUnshift}, "X",
                   "abXef", 3, 3},
        TypingCase{"AnArrowEndsTheSelectionAtItsSide", kMultiLine, "abcdef", 1, 4, {VK_LEFT}, "X", "aXbcdef", 2, 2},
        TypingCase{"ArrowsStepOverALineBreakWhole", kMultiLine, "ab\r\ncd", 2, 2, {VK_RIGHT}, "X", "ab\r\nXcd", 5, 5},
        TypingCase{"HomeAndEndKeepToTheLine", kMultiLine, "ab\r\ncdef\r\ngh", 5, 5, {VK_HOME, kShift, VK_END}, "",
                   "ab\r\ncdef\r\ngh", 4, 8},
        TypingCase{"UpAndDownKeepTheColumn", kMultiLine, "abc\r\ndef\r\nghi", 6, 6, {VK_DOWN}, "X",
                   "abc\r\ndef\r\ngXhi", 12, 12},
        TypingCase{"UpOnTheFirstLineStays", kMultiLine, "abc\r\ndef", 1, 1, {VK_UP}, "X", "aXbc\r\ndef", 2, 2},
        TypingCase{"APasswordFieldKeepsWhatIsTyped", ES_PASSWORD, "", 0, 0, {}, "secret", "secret", 6, 6}),
    [](const ::testing::TestParamInfo<TypingCase>& info) { return std::string(info.param.name); });

// Lines as DrawTextA breaks the same text in a rectangle as wide as the control: as many, and as wide.
TEST_F(EditControl, BreaksLinesWhereDrawingBreaksThem) {
  const std::string words = "Le petit chat dort sur le tapis rouge de la maison";
  const std::string lines = "un\r\n\r\ndeux\ntrois\r\n";
  const std::string longWord = "anticonstitutionnellement court";
  const std::string blanks = "mots     avec      beaucoup      de      blancs";
  struct Case {
    std::string text;
    int width;
  } cases[] = {{words, 120}, {words, 1000}, {lines, 200}, {longWord, 60}, {blanks, 90}, {"", 100}, {"a b", 0}};
  HDC dc = GetDC(parent);
  SelectObject(dc, font);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " at " + std::to_string(c.width));
    // Hidden, as the program measures text.
    HWND edit = MakeEdit(kMultiLine, c.text.c_str(), {0, 0, c.width, 10000}, false);
    const std::vector<std::string> found = Lines(edit);
    RECT drawn{0, 0, c.width, 0};
    const int height = DrawTextA(dc, c.text.data(), static_cast<int>(c.text.size()), &drawn, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(static_cast<int>(found.size()) * LineHeight(), height);
    int widest = 0;
    for (const std::string& line : found) widest = std::max(widest, WidthOf(line));
    EXPECT_EQ(widest, drawn.right);
    DestroyWindow(edit);
  }
  ReleaseDC(parent, dc);

  HWND edit = MakeEdit(kMultiLine, lines.c_str(), {0, 0, 200, 100});
  EXPECT_EQ(Lines(edit), (std::vector<std::string>{"un", "", "deux", "trois", ""}));
  EXPECT_EQ(SendMessageA(edit, EM_LINEINDEX, 4, 0), static_cast<LRESULT>(lines.size()));
  EXPECT_EQ(SendMessageA(edit, EM_LINEINDEX, 5, 0), -1);
  EXPECT_EQ(SendMessageA(edit, EM_LINEFROMCHAR, 8, 0), 2);
  // The control wraps again when its width changes.
  SetWindowTextA(edit, words.c_str());
  const auto wide = SendMessageA(edit, EM_GETLINECOUNT, 0, 0);
  MoveWindow(edit, 0, 0, 100, 100, FALSE);
  EXPECT_GT(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), wide);
}

TEST_F(EditControl, MarginsNarrowTheTextAndAlignmentPlacesIt) {
  HWND edit = MakeEdit(kMultiLine, "Le petit chat dort sur le tapis", {0, 0, 200, 100});
  const auto lines = SendMessageA(edit, EM_GETLINECOUNT, 0, 0);
  SendMessageA(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(30, 40));
  EXPECT_EQ(static_cast<DWORD>(SendMessageA(edit, EM_GETMARGINS, 0, 0)), static_cast<DWORD>(MAKELONG(30, 40)));
  RECT format{};
  SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(format, (RECT{30, 0, 160, 100}));
  EXPECT_GT(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), lines);
  EXPECT_EQ(PointOf(edit, 0).x, 30);

  const int width = WidthOf("abc");
  struct Case {
    DWORD alignment;
    int x;
  } cases[] = {{ES_LEFT, 0}, {ES_CENTER, (200 - width) / 2}, {ES_RIGHT, 200 - width}};
  for (const Case& c : cases) {
    HWND aligned = MakeEdit(kMultiLine | c.alignment, "abc", {0, 100, 200, 200});
    EXPECT_EQ(PointOf(aligned, 0).x, c.x) << c.alignment;
    EXPECT_EQ(PointOf(aligned, 3).x, c.x + width) << c.alignment;
    DestroyWindow(aligned);
  }
}

TEST_F(EditControl, ScrollsLineByLineAndFollowsTheCaret) {
  const int height = LineHeight();
  HWND edit = MakeEdit(kMultiLine, "1\r\n2\r\n3\r\n4\r\n5\r\n6", {0, 0, 100, 3 * height});
  EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  EXPECT_EQ(static_cast<DWORD>(SendMessageA(edit, EM_SCROLL, SB_LINEDOWN, 0)), static_cast<DWORD>(MAKELONG(1, TRUE)));
  EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
  EXPECT_EQ(PointOf(edit, 3).y, 0);  // line 2 now at the top
  Pump();  // painting keeps the lines where they were scrolled to, away from the caret
  EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
  EXPECT_EQ(static_cast<DWORD>(SendMessageA(edit, EM_SCROLL, SB_LINEUP, 0)),
            static_cast<DWORD>(MAKELONG(static_cast<WORD>(-1), TRUE)));
  EXPECT_EQ(static_cast<DWORD>(SendMessageA(edit, EM_SCROLL, SB_LINEUP, 0)), static_cast<DWORD>(MAKELONG(0, TRUE)));
  // The caret at the end brings the last line into view.
  SendMessageA(edit, EM_SETSEL, 16, 16);
  EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 3);
  // Typing Return on the last line scrolls on.
  SetFocus(edit);
  InjectText("\r");
  Pump();
  EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 4);
  // A single-line control does not scroll by lines.
  HWND line = MakeEdit(ES_LEFT, "abc", {0, 100, 100, 120});
  EXPECT_EQ(SendMessageA(line, EM_SCROLL, SB_LINEDOWN, 0), FALSE);
}

TEST_F(EditControl, ClicksPlaceTheCaretAndDragsSelect) {
  HWND edit = MakeEdit(kMultiLine, "abcdef\r\nghijkl", {20, 20, 220, 120});
  Pump();
  const int height = LineHeight();
  log.Clear();
  Click(edit, PointOf(edit, 2));
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(Notifications(), std::vector<WORD>{EN_SETFOCUS});
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{2}, DWORD{2}));
  EXPECT_EQ(GetCapture(), nullptr);

  // Down on the first line at 'b', across to the second line at 'k', up.
  POINT from = PointOf(edit, 1);
  POINT to = PointOf(edit, 12);
  Click(edit, from, true, false);
  EXPECT_EQ(GetCapture(), edit);
  const POINT screenTo = OnScreen(edit, POINT{to.x, to.y + height / 2});
  InjectMouseMove(screenTo.x, screenTo.y);
  Pump();
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{1}, DWORD{12}));
  InjectMouseButton(screenTo.x, screenTo.y, MouseButton::Left, false);
  Pump();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{1}, DWORD{12}));
  // Past the end of a line, the caret goes to the line's end.
  Click(edit, POINT{190, height / 2});
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{6}, DWORD{6}));

  // Focus elsewhere is told too.
  log.Clear();
  SetFocus(parent);
  EXPECT_EQ(Notifications(), std::vector<WORD>{EN_KILLFOCUS});
}

TEST_F(EditControl, OneLineScrollsSidewaysToKeepTheCaretInView) {
  HWND edit = MakeEdit(ES_PASSWORD, "", {10, 10, 70, 30});
  SetFocus(edit);
  InjectText("un mot de passe bien trop long");
  Pump();
  const int end = GetWindowTextLengthA(edit);
  EXPECT_EQ(end, 30);
  const POINT caret = PointOf(edit, end);
  EXPECT_GE(caret.x, 0);
  EXPECT_LT(caret.x, 60);
  EXPECT_LT(PointOf(edit, 0).x, 0);
  Key(VK_HOME);
  EXPECT_EQ(PointOf(edit, 0).x, 0);
}

TEST_F(EditControl, ADoubleClickSelectsAWord) {
  HWND edit = MakeEdit(kMultiLine, "le petit chat", {10, 10, 210, 50});
  Pump();
  const POINT p = OnScreen(edit, PointOf(edit, 5));
  InjectMouseButton(p.x, p.y, MouseButton::Left, true);
  InjectMouseButton(p.x, p.y, MouseButton::Left, false);
  InjectMouseButton(p.x, p.y, MouseButton::Left, true);
  InjectMouseButton(p.x, p.y, MouseButton::Left, false);
  Pump();
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{3}, DWORD{8}));
}

TEST_F(EditControl, PasswordFieldsShowStars) {
  HWND password = MakeEdit(ES_PASSWORD, "abcd", {10, 10, 110, 30});
  HWND stars = MakeEdit(ES_LEFT, "****", {10, 40, 110, 60});
  EXPECT_EQ(SendMessageA(password, EM_GETPASSWORDCHAR, 0, 0), '*');
  EXPECT_EQ(SendMessageA(stars, EM_GETPASSWORDCHAR, 0, 0), 0);
  EXPECT_EQ(Text(password), "abcd");
  Pump();
  EXPECT_EQ(Pixels({10, 10, 110, 30}), Pixels({10, 40, 110, 60}));
  EXPECT_NE(Pixels({10, 10, 110, 30}), std::vector<std::uint32_t>(100 * 20, 0x00FFFFFF));
}

// The control paints its text as DrawTextA draws it, on the brush its parent answers, in the parent's text
// colour.
TEST_F(EditControl, PaintsWithTheParentsColoursAsDrawTextDraws) {
  constexpr std::uint32_t kBack = 0x00C0E0F0;
  constexpr std::uint32_t kInk = 0x00800000;
  const char* text = "Le petit chat dort sur le tapis rouge";
  const RECT r{0, 0, 150, 80};
  HWND drawn = MakeChild(parent, {200, 10, 350, 90});
  Handle(drawn, [&](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message != WM_PAINT) return std::nullopt;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH back = CreateSolidBrush(ColorRefOf(kBack));
    FillRect(dc, &r, back);
    DeleteObject(back);
    SelectObject(dc, font);
    SetTextColor(dc, ColorRefOf(kInk));
    SetBkMode(dc, TRANSPARENT);
    RECT box = r;
    DrawTextA(dc, text, -1, &box, DT_WORDBREAK);
    EndPaint(window, &paint);
    return 0;
  });
  HBRUSH brush = CreateSolidBrush(ColorRefOf(kBack));
  Handle(parent, [&](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (message != WM_CTLCOLOREDIT) return std::nullopt;
    SetTextColor(reinterpret_cast<HDC>(wParam), ColorRefOf(kInk));
    return reinterpret_cast<LRESULT>(brush);
  });
  MakeEdit(kMultiLine, text, {10, 10, 160, 90});
  Pump();
  const std::vector<std::uint32_t> control = Pixels({10, 10, 160, 90});
  EXPECT_EQ(control, Pixels({200, 10, 350, 90}));
  EXPECT_EQ(std::count(control.begin(), control.end(), kBack) + std::count(control.begin(), control.end(), kInk),
            static_cast<long>(control.size()));
  EXPECT_GT(std::count(control.begin(), control.end(), kInk), 0);
  DeleteObject(brush);
}

TEST_F(EditControl, PaintsWhiteWithoutAnAnswerAndShowsTheCaretAndSelectionWhileFocused) {
  HWND edit = MakeEdit(kMultiLine, "abc", {10, 10, 110, 50});
  Pump();
  const std::vector<std::uint32_t> unfocused = Pixels({10, 10, 110, 50});
  EXPECT_EQ(ScreenPixel(100, 40), 0x00FFFFFFu);
  // The caret: one column of the line's height, inverted, at the caret's place.
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 3, 3);
  Pump();
  const POINT caret = OnScreen(edit, PointOf(edit, 3));
  EXPECT_EQ(ScreenPixel(caret.x, caret.y), 0u);
  EXPECT_EQ(ScreenPixel(caret.x, caret.y + LineHeight() - 1), 0u);
  EXPECT_EQ(ScreenPixel(caret.x, caret.y + LineHeight()), 0x00FFFFFFu);
  EXPECT_EQ(ScreenPixel(caret.x + 1, caret.y), 0x00FFFFFFu);
  // A selection: highlighted while focused, hidden when the focus goes.
  SendMessageA(edit, EM_SETSEL, 0, 3);
  Pump();
  const POINT start = OnScreen(edit, PointOf(edit, 0));
  EXPECT_EQ(ScreenPixel(start.x, start.y + 1), 0x00000080u);
  SetFocus(parent);
  Pump();
  EXPECT_EQ(Pixels({10, 10, 110, 50}), unfocused);
}

// Under a hollow brush what lies beneath shows, and text taken away leaves no trace, even as the control
// grows over more of its parent.
TEST_F(EditControl, AHollowBrushShowsWhatLiesBeneath) {
  constexpr std::uint32_t kBeneath = 0x00D02020;
  Handle(parent, [&](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_CTLCOLOREDIT) return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    if (message != WM_PAINT) return std::nullopt;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH brush = CreateSolidBrush(ColorRefOf(kBeneath));
    FillRect(dc, &kParent, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return 0;
  });
  Pump();
  HWND edited = MakeEdit(kMultiLine, "abcdef", {10, 10, 110, 40});
  HWND fresh = MakeEdit(kMultiLine, "X", {10, 60, 110, 90});
  Pump();
  const std::vector<std::uint32_t> shown = Pixels({10, 10, 110, 40});
  EXPECT_EQ(shown.front(), kBeneath);
  EXPECT_GT(std::count(shown.begin(), shown.end(), 0u), 0);
  SendMessageA(edited, EM_SETSEL, 0, -1);
  SendMessageA(edited, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("X"));
  Pump();
  EXPECT_EQ(Pixels({10, 10, 110, 40}), Pixels({10, 60, 110, 90}));
  MoveWindow(edited, 10, 10, 150, 45, TRUE);
  MoveWindow(fresh, 10, 60, 150, 45, TRUE);
  Pump();
  EXPECT_EQ(Pixels({10, 10, 160, 55}), Pixels({10, 60, 160, 105}));
  EXPECT_EQ(ScreenPixel(159, 54), kBeneath);
}

TEST_F(EditControl, FontsSetAndGot) {
  HWND edit = MakeEdit(kMultiLine, "iiii", {0, 0, 200, 50});
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)), font);
  const int narrow = PointOf(edit, 4).x;
  EXPECT_EQ(narrow, WidthOf("iiii"));
  // Without a font of its own the control uses the system font, and it lays its text out again.
  SendMessageA(edit, WM_SETFONT, 0, FALSE);
  EXPECT_EQ(SendMessageA(edit, WM_GETFONT, 0, 0), 0);
  HDC dc = GetDC(edit);
  SIZE system{};
  GetTextExtentPoint32A(dc, "iiii", 4, &system);
  ReleaseDC(edit, dc);
  EXPECT_EQ(PointOf(edit, 4).x, system.cx);
  // A font deleted while the control still names it gives way to the system font when the control paints.
  LOGFONTA d{};
  d.lfHeight = -40;
  std::strcpy(d.lfFaceName, "Arial");
  HFONT big = CreateFontIndirectA(&d);
  SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(big), FALSE);
  EXPECT_GT(PointOf(edit, 4).x, system.cx);
  DeleteObject(big);
  InvalidateRect(edit, nullptr, FALSE);
  Pump();
  EXPECT_EQ(PointOf(edit, 4).x, system.cx);
}

}  // namespace

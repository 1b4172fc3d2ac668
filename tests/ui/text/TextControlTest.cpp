#include <gtest/gtest.h>

#include "ui/TextEditing.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Edit.h"
#include "ui/dialogs/DialogSupport.h"

namespace {

using TextControls = TextEditing;

// The height of one line of the default style's font.
LONG LineHeight(HWND window, const TextStyle& style) {
  HDC dc = GetDC(window);
  HGDIOBJ previous = SelectObject(dc, style.GetFont());
  SIZE size{};
  GetTextExtentPoint32A(dc, "I", 1, &size);
  SelectObject(dc, previous);
  ReleaseDC(window, dc);
  return size.cy;
}

TEST_F(TextControls, TheFieldHoldsTheWholeTextInBlackOnWhiteUnderTheFrameworksProcedure) {
  InWindow([&](ControlWindow& window) {
    const String text("Une phrase bien plus longue que trente et un caract\xE8res");
    SmartRef<TextControl> field(new TextControl(&window, Rect(10, 10, 200, 60), text, nullptr, false));
    SmartRef<TextControl> password(new TextControl(&window, Rect(10, 70, 200, 90), String("secret"), nullptr, true));
    HWND native = field->GetOSControl()->window;
    EXPECT_EQ(StyleOf(native), 0x50011044u);
    EXPECT_EQ(StyleOf(password->GetOSControl()->window), 0x50010020u);
    EXPECT_EQ(NativeText(native), TextOf(text)) << "not cut to 31 characters";
    const SmartRef<TextStyle> style = field->GetStyle();
    EXPECT_EQ(GetPropA(native, "TextStyle"), static_cast<HANDLE>(~style));
    EXPECT_EQ(style->GetSize(), defaultTextSize);
    EXPECT_EQ(style->GetFontId(), kDefaultFontId);
    EXPECT_EQ(style->GetTextColor(), standardColors[1]);
    EXPECT_EQ(style->GetBackColor(), standardColors[0]);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(native, WM_GETFONT, 0, 0)), style->GetFont());
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongA(native, GWL_WNDPROC)), &SubClassProc);

    String back;
    field->GetText(back);
    EXPECT_EQ(back, text);
    field->SetText(String(""));
    back.Set("reste");
    field->GetText(back);
    EXPECT_EQ(back.Length(), 0);
  });
}

// The field paints over the brush its window answers from the style: a coloured background is filled,
// a transparent one shows what lies beneath.
TEST_F(TextControls, TheWindowColoursTheFieldFromItsStyle) {
  InWindow([&](ControlWindow& window) {
    SmartRef<TextControl> field(new TextControl(&window, Rect(10, 10, 110, 40), String(""), nullptr, false));
    HWND native = field->GetOSControl()->window;
    SmartRef<TextStyle> style = field->GetStyle();
    const POINT inside = OnScreen(native, 60, 20);
    struct Case {
      Color back;
      std::uint32_t pixel;
    } cases[] = {
        {Color::FromRGB8(200, 30, 40), 0xC81E28},
        {standardColors[0], 0xFFFFFF},
        {Color::FromRGB8(10, 120, 250), 0x0A78FA},
    };
    for (const Case& c : cases) {
      style->SetBackColor(c.back);
      InvalidateRect(native, nullptr, TRUE);
      UpdateWindow(native);
      EXPECT_EQ(ScreenPixel(inside), c.pixel);
    }
    RemovePropA(native, "TextStyle");
    HDC dc = GetDC(native);
    EXPECT_EQ(SendMessageA(GetParent(native), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(native)),
              0) << "a field without a style gets the system's colours";
    ReleaseDC(native, dc);
  });
}

TEST_F(TextControls, ANewAlignmentRemakesTheFieldWithItsTextSelectionAndFocus) {
  InWindow([&](ControlWindow& window) {
    SmartRef<TextControl> field(new TextControl(&window, Rect(10, 10, 200, 60), String("Bonjour"), nullptr, false));
    field->Activate(true);
    field->SetSelection(2, 5);
    Pump();
    HWND before = field->GetOSControl()->window;
    ASSERT_EQ(GetFocus(), before);
    const std::int32_t idBefore = field->GetOSControl()->childId;

    SmartRef<TextStyle> centred(new TextStyle(kDefaultFontId, 14, kAlignCenter, standardColors[1],
                                              standardColors[kTransparentColor]));
    field->SetStyle(centred, false);
    HWND after = field->GetOSControl()->window;
    EXPECT_NE(after, before);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_EQ(field->GetOSControl()->childId, idBefore + 1);
    EXPECT_EQ(StyleOf(after), 0x50011044u | ES_CENTER);
    EXPECT_EQ(GetFocus(), after);
    EXPECT_EQ(NativeText(after), "Bonjour");
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongA(after, GWL_WNDPROC)), &SubClassProc);
    EXPECT_EQ(GetPropA(after, "TextStyle"), static_cast<HANDLE>(~centred));
    EXPECT_EQ(centred->GetBackColor(), standardColors[0]) << "the style itself turns white";
    Pump();
    EXPECT_EQ(Selection(*field), std::make_pair(2, 5));

    centred->SetSize(18);
    field->SetStyle(centred, false);
    EXPECT_EQ(field->GetOSControl()->window, after) << "the same alignment keeps the field";
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(after, WM_GETFONT, 0, 0)), centred->GetFont());

    for (std::int32_t alignment : {kAlignRight, kAlignLeft}) {
      centred->SetAlignment(alignment);
      field->SetStyle(centred, false);
      EXPECT_EQ(StyleOf(field->GetOSControl()->window) & (ES_CENTER | ES_RIGHT), static_cast<DWORD>(alignment));
    }
  });
}

TEST_F(TextControls, ASelectionSetIsSeenOnlyOnceTheLoopDeliversIt) {
  InWindow([&](ControlWindow& window) {
    SmartRef<TextControl> field(new TextControl(&window, Rect(10, 10, 200, 60), String("abcdefg"), nullptr, false));
    field->SetSelection(1, 3);
    Pump();
    field->SetSelection(4, 6);
    EXPECT_EQ(Selection(*field), std::make_pair(1, 3));
    Pump();
    EXPECT_EQ(Selection(*field), std::make_pair(4, 6));
  });
}

TEST_F(TextControls, ClearKeepsWhatSurroundsTheSelectionWithTheCaretWhereItBegan) {
  InWindow([&](ControlWindow& window) {
    SmartRef<TextControl> field(new TextControl(&window, Rect(10, 10, 200, 60), String("abcdefg"), nullptr, false));
    struct Case {
      std::int32_t start, end;
      const char* kept;
    } cases[] = {{2, 5, "abfg"}, {0, 7, ""}, {3, 3, "abcdefg"}, {0, 1, "bcdefg"}, {6, 7, "abcdef"}};
    for (const Case& c : cases) {
      field->SetText(String("abcdefg"));
      field->SetSelection(c.start, c.end);
      Pump();
      field->Clear();
      Pump();
      EXPECT_EQ(NativeText(field->GetOSControl()->window), c.kept) << c.start << ".." << c.end;
      EXPECT_EQ(Selection(*field), std::make_pair(c.start, c.start));
    }
  });
}

TEST_F(TextControls, MeasuringAndFittingFollowTheLinesOfTheText) {
  InWindow([&](ControlWindow& window) {
    const Rect frame(10, 10, 200, 30);
    SmartRef<TextControl> field(new TextControl(&window, frame, String(""), nullptr, false));
    HWND native = field->GetOSControl()->window;
    const LONG line = LineHeight(native, *field->GetStyle());
    EXPECT_EQ(field->MeasureText().y, line) << "an empty field needs one line";

    field->SetText(String("premi\xE8re ligne\r\nseconde"));
    EXPECT_EQ(field->MeasureText().y, 2 * line);
    field->SetStyle(field->GetStyle(), true);
    RECT placed;
    GetWindowRect(native, &placed);
    EXPECT_EQ(placed.bottom - placed.top, 2 * line);
    EXPECT_EQ(placed.right - placed.left, frame.Width()) << "the width stays";
    EXPECT_EQ(field->GetBounds(), frame) << "only the native field moves";

    field->SetText(String(""));
    field->SetStyle(field->GetStyle(), true);
    GetWindowRect(native, &placed);
    EXPECT_EQ(placed.bottom - placed.top, 2 * line) << "an empty text is not fitted";
  });
}

}  // namespace

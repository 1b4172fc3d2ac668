// Measuring text as the program's edit controls lay it out: wrapped to a width, or unwrapped.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/Alert.h"
#include "core/Exception.h"
#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/Edit.h"
#include "support/Raised.h"
#include "graphics/TextMeasure.h"
#include "support/WindowFixture.h"
#include "support/graphics/TextLook.h"

namespace {

class MeasureText : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    style = std::make_unique<Look>(standardColors[1], standardColors[13], 0);
  }
  void TearDown() override {
    gMainWindow = nullptr;
    WindowFixture::TearDown();
  }
  // The extent of text in the style's font.
  SIZE Extent(const std::string& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, style->GetFont());
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return size;
  }
  Point Measure(const std::string& text, std::int32_t width) {
    return MeasureWrappedText(text.data(), static_cast<std::int32_t>(text.size()), *style, width);
  }

  std::unique_ptr<Look> style;
};

TEST_F(MeasureText, WidthZeroReportsTheLongestLineAndAWidthReportsItself) {
  const int line = Extent("I").cy;
  const std::string twoLines = "court\r\nune ligne bien plus longue";
  struct Case {
    std::string text;
    std::int32_t width;
    Point size;
  } cases[] = {
      {twoLines, 0, Point(Extent("une ligne bien plus longueI").cx, 2 * line)},
      {twoLines, 200, Point(200, 2 * line)},
      {"W", 0, Point(Extent("WI").cx, line)},
      {"W", 200, Point(200, line)},
      {"", 0, Point(0, 0)},
      {"", 200, Point(200, 0)},
      // An empty line still takes a line's height.
      {"ab\r\n\r\nb", 0, Point(Extent("abI").cx, 3 * line)},
      {"a\r\n", 0, Point(Extent("aI").cx, 2 * line)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + c.text + "\" at " + std::to_string(c.width));
    EXPECT_EQ(Measure(c.text, c.width), c.size);
  }
}

// Wrapped text takes as many lines as drawing it in a rectangle of that width does.
TEST_F(MeasureText, WrapsWhereDrawingWraps) {
  const std::string text = "Le petit chat dort sur le tapis rouge de la maison bleue";
  HDC dc = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, style->GetFont());
  for (std::int32_t width : {60, 120, 250, 5000}) {
    RECT drawn{0, 0, width, 0};
    const int height = DrawTextA(dc, text.c_str(), -1, &drawn, DT_CALCRECT | DT_WORDBREAK);
    const Point measured = Measure(text, width);
    EXPECT_EQ(measured, Point(width, height)) << width;
  }
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);
  // Unwrapped, one line as wide as the text with the caret's room.
  EXPECT_EQ(Measure(text, 0), Point(Extent(text + "I").cx, Extent(text).cy));
}

TEST_F(MeasureText, MeasuresInTheMainWindowAndLeavesNothingThere) {
  const std::string text = "deux\r\nlignes";
  const Point alone = Measure(text, 0);
  gMainWindow = MakeTop({0, 0, 300, 200});
  EXPECT_EQ(Measure(text, 0), alone);
  EXPECT_EQ(GetWindow(gMainWindow, GW_CHILD), nullptr);
}

TEST_F(MeasureText, RefusesANegativeLengthOrWidthAndMissingText) {
  EXPECT_EQ(RaisedText(Raised([&] { MeasureWrappedText("abc", -1, *style, 0); })), "Call failed.");
  EXPECT_EQ(RaisedText(Raised([&] { MeasureWrappedText("abc", 3, *style, -5); })), "Call failed.");
  EXPECT_EQ(RaisedText(Raised([&] { MeasureWrappedText(nullptr, 3, *style, 0); })), "Call failed.");
}

// The lines of a control of the program's own: measured one by one with room for the caret.
TEST_F(MeasureText, MeasuresTheLinesOfAControl) {
  HWND parent = MakeTop({0, 0, 300, 200});
  HWND control = CreateWindowExA(0, "EDIT", "abc\r\nde", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 200, 100, parent,
                                 nullptr, nullptr, nullptr);
  ASSERT_NE(control, nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(style->GetFont()), FALSE);
  EXPECT_EQ(MeasureEditText(control, "abc\r\nde", *style), Point(Extent("abcI").cx, 2 * Extent("I").cy));
  EXPECT_EQ(MeasureEditText(control, "", *style), Point(0, 0));
}

}  // namespace

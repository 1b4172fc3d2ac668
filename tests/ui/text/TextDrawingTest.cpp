#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "core/Text1252.h"
#include "graphics/Transform.h"
#include "support/Netpbm.h"
#include "support/WindowFixture.h"
#include "support/graphics/SurfaceDevice.h"
#include "ui/text/StyledText.h"
#include "ui/text/TextStyle.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF, kGrey = 0xC0C0C0, kRed = 0xFF0000, kBlue = 0x0000FF;
const Color kClear(kTransparentColor);

// Pixels of one colour inside a rectangle.
int Count(const SurfaceDevice& device, std::uint32_t rgb, const Rect& r) {
  int count = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) count += device.Pixel(x, y) == rgb;
  return count;
}

ColourPicture Pixels(const SurfaceDevice& device, int width, int height) {
  ColourPicture picture{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.pixels.push_back(device.Pixel(x, y));
  return picture;
}

TEST(TextBox, ErasesItsRectangleAndDrawsInTheDefaultStyle) {
  const std::string text = "Été à l'école"_cp;
  const Rect box{10, 5, 150, 30};
  SurfaceDevice boxed(160, 40), styled(160, 40);
  boxed.Fill(kGrey);
  styled.Fill(kGrey);
  {
    DisplayPort port(&boxed, {0, 0, 160, 40});
    port.DrawTextBox(text.data(), static_cast<std::int32_t>(text.size()), box, Color(9));
  }
  // The same text drawn with the framework's default style after erasing the box by hand.
  {
    DisplayPort port(&styled, {0, 0, 160, 40});
    port.EraseArea(Area(box));
    port.DrawText(box, text.data(), static_cast<std::int32_t>(text.size()), *MakeDefaultTextStyle(Color(9), kClear));
  }
  EXPECT_EQ(Pixels(boxed, 160, 40), Pixels(styled, 160, 40));
  EXPECT_GT(Count(boxed, kBlue, box), 30);
  EXPECT_EQ(Count(boxed, kBlue, box) + Count(boxed, kWhite, box), 140 * 25) << "the box holds ink on background";
  EXPECT_EQ(Count(boxed, kGrey, {0, 0, 160, 40}), 160 * 40 - 140 * 25) << "nothing outside the box changes";
}

TEST(TextBox, FollowsThePortsTransform) {
  SurfaceDevice device(100, 60);
  device.Fill(kGrey);
  {
    DisplayPort port(&device, {0, 0, 100, 60});
    port.SetTransform(new Translation(0, 30));
    port.DrawTextBox("abc", 3, {0, 0, 100, 30}, Color(7));
  }
  EXPECT_EQ(Count(device, kGrey, {0, 0, 100, 30}), 100 * 30);
  EXPECT_GT(Count(device, kRed, {0, 30, 100, 60}), 10);
}

TEST(StringDraw, DrawsInTheColourAndNothingWhenEmpty) {
  SurfaceDevice device(100, 30);
  device.Fill(kGrey);
  {
    DisplayPort port(&device, {0, 0, 100, 30});
    String().Draw(port, {0, 0, 100, 30}, Color(7));
  }
  EXPECT_EQ(Count(device, kGrey, {0, 0, 100, 30}), 100 * 30) << "an empty text does not even erase";
  {
    DisplayPort port(&device, {0, 0, 100, 30});
    String("Quillory").Draw(port, {0, 0, 100, 30}, Color(7));
  }
  EXPECT_GT(Count(device, kRed, {0, 0, 100, 30}), 30);
  EXPECT_EQ(Count(device, kRed, {0, 0, 100, 30}) + Count(device, kWhite, {0, 0, 100, 30}), 100 * 30);
}

// Styled texts in several faces, styles, alignments and colours, drawn through one port: pixel for pixel
// the checked-in picture made from the same font files. Set QUILLORY_UPDATE_GOLDEN=1 to write the picture
// again after a deliberate change.
class StringMeasure : public WindowFixture {};

TEST_F(StringMeasure, AStringMeasuresInTheDefaultStyle) {
  const char* chars = "une ligne\r\net une autre bien plus longue";
  const SmartRef<TextStyle> style = MakeDefaultTextStyle(Color(1), kClear);
  SmartRef<String> text = new String(chars);
  Point size;
  text->Measure(size, 0);
  EXPECT_EQ(size, MeasureWrappedText(chars, static_cast<std::int32_t>(std::strlen(chars)), *style, 0));
  text->Measure(size, 80);
  EXPECT_EQ(size.x, 80);
  EXPECT_GT(size.y, 2 * MeasureWrappedText("I", 1, *style, 0).y);
  SmartRef<String> empty = new String();
  empty->Measure(size, 0);
  EXPECT_EQ(size, Point(0, 0));
}

TEST(StyledTextDraw, GoldenRender) {
  const int width = 220, height = 130;
  SurfaceDevice device(width, height);
  device.Fill(kGrey);
  SmartRef<TextStyle> bold = new TextStyle(4, 14, kAlignRight, Color(7), kClear);
  bold->AddStyle(kBoldStyle);
  SmartRef<TextStyle> boxed = new TextStyle(3, 10, kAlignCenter, Color(1), Color(10));
  boxed->AddStyle(kItalicStyle | kUnderlineStyle);
  SmartRef<TextStyle> wrapped = new TextStyle(1, 12, kAlignLeft, Color(9), kClear);
  wrapped->AddStyle(kBoldStyle | kItalicStyle);
  SmartRef<TextStyle> fixed = new TextStyle(2, 9, kAlignLeft, Color(8), kClear);
  {
    DisplayPort port(&device, {0, 0, width, height});
    StyledText("Été à l'école"_cp, nullptr).Draw(port, {4, 2, 216, 22}, Color(1));
    StyledText("Été à l'école"_cp, bold).Draw(port, {4, 24, 216, 44}, Color(1));
    StyledText("Été à l'école"_cp, boxed).Draw(port, {4, 46, 216, 66}, Color(1));
    StyledText("Une phrase assez longue pour passer à la ligne"_cp, wrapped)
        .Draw(port, {4, 68, 140, 110}, Color(1));
    StyledText("x = 1;"_cp, fixed).Draw(port, {150, 110, 216, 128}, Color(1));
  }
  const ColourPicture picture = Pixels(device, width, height);
  const std::string golden = std::string(QUILLORY_SOURCE_DIR) + "/tests/fixtures/text/styled-text.ppm";
  if (const char* update = std::getenv("QUILLORY_UPDATE_GOLDEN"); update && *update == '1') {
    ASSERT_TRUE(WritePpm(golden, picture));
  }
  const auto expected = ReadPpm(golden);
  ASSERT_TRUE(expected) << golden;
  if (!(*expected == picture)) {
    const std::string actual = std::string(QUILLORY_BINARY_DIR) + "/styled-text.actual.ppm";
    WritePpm(actual, picture);
    ADD_FAILURE() << "the render differs from " << golden << "; it is in " << actual;
  }
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/DocumentBytes.h"
#include "core/Format.h"
#include "core/Memory.h"
#include "core/Text1252.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"
#include "support/WindowFixture.h"
#include "support/graphics/SurfaceDevice.h"
#include "ui/text/StyledText.h"

using namespace document_testing;

namespace {

constexpr std::uint32_t kGrey = 0xC0C0C0, kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;
const Color kClear(kTransparentColor);

int Count(const SurfaceDevice& device, std::uint32_t rgb) {
  int count = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 100; ++x) count += device.Pixel(x, y) == rgb;
  return count;
}

// Draws the text on grey and answers the device.
std::unique_ptr<SurfaceDevice> Drawn(StyledText& text, const Color& color) {
  auto device = std::make_unique<SurfaceDevice>(100, 30);
  device->Fill(kGrey);
  DisplayPort port(device.get(), {0, 0, 100, 30});
  text.Draw(port, {0, 0, 100, 30}, color);
  return device;
}

TEST(StyledText, HoldsAStyleOfItsOwnUnlessGivenOneToShare) {
  SmartRef<TextStyle> style = new TextStyle(4, 12, kAlignLeft, Color(7), kClear);
  StyledText fromString(String("abc"), style);
  StyledText fromCharacters("abcdef", 3, style);
  EXPECT_EQ(TextOf(fromCharacters), "abc");
  for (StyledText* text : {&fromString, &fromCharacters}) {
    ASSERT_TRUE(text->GetStyle());
    EXPECT_NE(~text->GetStyle(), ~style);
  }
  // Changing the style it was made from changes nothing in the text's drawing.
  style->SetTextColor(Color(8));
  EXPECT_EQ(fromString.GetStyle()->GetTextColor(), Color(7));
  EXPECT_GT(Count(*Drawn(fromString, Color(9)), kRed), 10);

  // A shared style: its changes show.
  fromString.SetStyle(~style);
  EXPECT_EQ(~fromString.GetStyle(), ~style);
  EXPECT_GT(Count(*Drawn(fromString, Color(9)), kGreen), 10);
  style->SetTextColor(Color(7));
  EXPECT_GT(Count(*Drawn(fromString, Color(9)), kRed), 10);

  // Copies and assignments clone again.
  StyledText copy(fromString);
  EXPECT_NE(~copy.GetStyle(), ~style);
  fromCharacters = fromString;
  EXPECT_EQ(TextOf(fromCharacters), "abc");
  EXPECT_NE(~fromCharacters.GetStyle(), ~style);
  style->SetSize(30);
  EXPECT_EQ(copy.GetStyle()->GetSize(), 12);
  EXPECT_EQ(fromCharacters.GetStyle()->GetSize(), 12);

  // A holder of something that is not a style gives no style, and the clone it made is not kept.
  SmartRef<Smart> notAStyle = new String("x");
  EXPECT_FALSE(ToTextStyle(notAStyle));
  EXPECT_FALSE(ToTextStyle(nullptr));
}

TEST(StyledText, DrawsInItsStyleOrElseInTheColour) {
  StyledText plain("abc", 3, nullptr);
  const auto unstyled = Drawn(plain, Color(9));
  EXPECT_GT(Count(*unstyled, kBlue), 10);
  EXPECT_EQ(Count(*unstyled, kGrey), 0) << "without a style the box is erased first";

  StyledText styled("abc", 3, SmartRef<Smart>(new TextStyle(4, 12, kAlignLeft, Color(7), kClear)));
  const auto withStyle = Drawn(styled, Color(9));
  EXPECT_GT(Count(*withStyle, kRed), 10);
  EXPECT_EQ(Count(*withStyle, kBlue), 0) << "the colour argument is not used";
  EXPECT_GT(Count(*withStyle, kGrey), 100 * 30 / 2) << "a transparent background leaves the surface";

  StyledText empty("", 0, SmartRef<Smart>(new TextStyle(4, 12, kAlignLeft, Color(7), Color(8))));
  EXPECT_EQ(Count(*Drawn(empty, Color(9)), kGrey), 100 * 30);
}

class StyledTextMeasure : public WindowFixture {};

TEST_F(StyledTextMeasure, MeasuresInItsStyleOrElseAsPlainText) {
  const std::string chars = "une ligne\r\net une autre";
  const auto length = static_cast<std::int32_t>(chars.size());
  SmartRef<TextStyle> big = new TextStyle(4, 24, kAlignLeft, Color(1), kClear);
  big->AddStyle(kBoldStyle);
  StyledText styled(chars.c_str(), length, big);
  Point plain;
  String(chars.c_str()).Measure(plain, 0);
  for (std::int32_t width : {0, 90}) {
    Point size;
    styled.Measure(size, width);
    EXPECT_EQ(size, MeasureWrappedText(chars.c_str(), length, *big, width)) << width;
  }
  Point size;
  styled.Measure(size, 0);
  EXPECT_GT(size.x, plain.x);
  EXPECT_GT(size.y, plain.y);
  // Without a style (a page that stored none) the text still measures, as plain text does.
  StyledText unstyled(chars.c_str(), length, nullptr);
  unstyled.Measure(size, 0);
  EXPECT_EQ(size, plain);
  StyledText empty("", 0, big);
  empty.Measure(size, 0);
  EXPECT_EQ(size, Point(0, 0));
}

TEST(StyledText, SystemClipboardGetsOnlyTheCharacters) {
  StyledText text("Été"_cp, SmartRef<Smart>(new TextStyle(4, 12, kAlignLeft, Color(7), kClear)));
  SmartRef<GenericArray> types = text.GetScrapTypes();
  ASSERT_EQ(types->NumItems(), 1);
  std::uint32_t type;
  std::memcpy(&type, types->At(1), sizeof type);
  EXPECT_EQ(type, String::kTextScrapType);
  Memory* data = text.GetScrapData(String::kTextScrapType);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->GetSize(), 4u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data->GetData()), 4), std::string("Été"_cp) + std::string(1, '\0'));
}

TEST(StyledText, CopyingFromAnotherClassFailsItsAssertion) {
  StyledText text("a", 1, nullptr);
  SmartRef<String> plain = new String("b");
  EXPECT_FALSE(text.CanCopyFrom(~plain));
  const SmartRef<Exception> raised = Raised([&] { text.CopyFrom(~plain); });
  EXPECT_EQ(RaisedText(raised), "castPtr");
  EXPECT_EQ(RaisedPlace(raised), "STYLEDT:17");
  SmartRef<StyledText> clone = CastSmart<StyledText>(text.Clone());
  ASSERT_TRUE(clone);
  EXPECT_EQ(TextOf(*clone), "a");
  EXPECT_TRUE(IsMember<String>(~clone));
}

TEST(StyledText, NotImplementedIsReportedAndAnswersNo) {
  AlertRecorder alerts;
  StyledText text("a", 1, nullptr);
  EXPECT_EQ(text.NotImplemented({0, 0, 1, 1}), 0);
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text.substr(0, 16), "Not implemented.");
}

TEST(StyledText, StoredFormIsTheTextThenTheStyleReference) {
  AlertRecorder alerts;
  EXPECT_EQ(GetGenericTypeIndex()->GetType(34), &StyledText::persistentType);
  SmartRef<TextStyle> style = new TextStyle(2, 12, kAlignCenter, Color(1), kClear);
  SmartRef<StyledText> text = new StyledText("Bonjour", 7, nullptr);
  text->SetStyle(~style);
  const std::string saved = SaveDocument(text);
  // The text's characters, then the style as object 2, written where it is first referred to.
  const std::string styleBody = ObjectBody(saved, 2);
  EXPECT_EQ(styleBody.size(), 24u);
  EXPECT_EQ(ObjectBody(saved, 1), Long(7) + "Bonjour" + Long(2) + styleBody);

  SmartRef<ObjectFile> file;
  SmartRef<StyledText> read = CastSmart<StyledText>(~ReadDocument(saved, &file));
  ASSERT_TRUE(read);
  EXPECT_EQ(TextOf(*read), "Bonjour");
  ASSERT_TRUE(read->GetStyle());
  EXPECT_EQ(read->GetStyle()->GetFontId(), 2);
  EXPECT_EQ(read->GetStyle()->GetAlignment(), kAlignCenter);
  EXPECT_EQ(SaveDocument(read), saved);

  // No style: a null reference, read back as no style.
  SmartRef<StyledText> unstyled = new StyledText("Bonjour", 7, nullptr);
  const std::string bare = SaveDocument(unstyled);
  EXPECT_EQ(ObjectBody(bare, 1), Long(7) + "Bonjour" + Long(0));
  read = CastSmart<StyledText>(~ReadDocument(bare, &file));
  ASSERT_TRUE(read);
  EXPECT_EQ(TextOf(*read), "Bonjour");
  EXPECT_FALSE(read->GetStyle());
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST(StyledText, DocumentsKeepSharedStylesAndDropForeignOnes) {
  AlertRecorder alerts;
  SmartRef<TextStyle> style = new TextStyle(kNamedFontId, 18, kAlignRight, Color(7), Color(10));
  style->SetFontName("Verdana");
  SmartRef<StyledText> first = new StyledText("un", 2, nullptr), second = new StyledText("deux", 4, nullptr);
  first->SetStyle(~style);
  second->SetStyle(~style);
  SmartRef<ListData> page = new ListData(&StyledText::classInfo);
  page->Append(~first);
  page->Append(~second);
  const std::string saved = SaveDocument(page);

  SmartRef<ObjectFile> file;
  SmartRef<ListData> read = CastSmart<ListData>(~ReadDocument(saved, &file));
  ASSERT_TRUE(read);
  ASSERT_EQ(read->NumItems(), 2);
  auto* a = CastSmart<StyledText>(read->At(1));
  auto* b = CastSmart<StyledText>(read->At(2));
  ASSERT_TRUE(a && b);
  EXPECT_EQ(TextOf(*b), "deux");
  ASSERT_TRUE(a->GetStyle());
  EXPECT_EQ(~a->GetStyle(), ~b->GetStyle()) << "one style, stored once";
  EXPECT_EQ(TextOf(a->GetStyle()->GetFontName()), "Verdana");
  EXPECT_EQ(a->GetStyle()->GetBackColor(), Color(10));
  EXPECT_EQ(SaveDocument(read), saved);

  // A style reference that names an object of another class reads as no style: the second text (object
  // 4) refers to the style written inside the first one; here it refers to the first text instead.
  const std::string secondBody = ObjectBody(saved, 4);
  ASSERT_EQ(secondBody, Long(4) + "deux" + Long(3));
  read = CastSmart<ListData>(~ReadDocument(WithObjectBody(saved, 4, Long(4) + "deux" + Long(2)), &file));
  ASSERT_TRUE(read);
  b = CastSmart<StyledText>(read->At(2));
  ASSERT_TRUE(b);
  EXPECT_EQ(TextOf(*b), "deux");
  EXPECT_FALSE(b->GetStyle());
  EXPECT_TRUE(alerts.Alerts().empty());
}

}  // namespace

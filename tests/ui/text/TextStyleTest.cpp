#include <gtest/gtest.h>

#include <string>

#include "support/DocumentBytes.h"
#include "core/Format.h"
#include "platform/gdi/Gdi.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"
#include "ui/text/TextStyle.h"

using namespace document_testing;

namespace {

LOGFONTA Description(HFONT font) {
  LOGFONTA description{};
  EXPECT_EQ(GetObjectA(font, sizeof description, &description), static_cast<int>(sizeof description));
  return description;
}

std::string Text(const String& text) { return TextOf(text); }

const Color kInk(0x1234, 0x5678, 0x9ABC, 0);
const Color kClear(kTransparentColor);

TEST(TextStyle, FontFollowsFaceSizeAndStyle) {
  const std::string longName(40, 'x');
  struct Case {
    std::int32_t fontId;
    std::string name;
    std::int16_t size;
    std::int32_t bits;
    std::string face;
    LONG height;
    LONG weight;
    bool italic, underline;
  } cases[] = {
      {1, "", 12, kPlainStyle, "Times New Roman", -16, 400, false, false},
      {0, "", 12, kPlainStyle, "Times New Roman", -16, 400, false, false},
      {5, "", 10, kItalicStyle | kUnderlineStyle, "Times New Roman", -13, 400, true, true},
      {2, "", 9, kBoldStyle, "Fixedsys", -12, 700, false, false},
      {3, "", 96, kBoldStyle | kItalicStyle, "Courier New", -128, 700, true, false},
      {4, "", 1, kUnderlineStyle, "Arial", -1, 400, false, true},
      {kNamedFontId, "Verdana", 12, kPlainStyle, "Verdana", -16, 400, false, false},
      {kNamedFontId, longName, 12, kPlainStyle, longName.substr(0, 31), -16, 400, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.face + " " + std::to_string(c.size));
    SmartRef<TextStyle> style = new TextStyle(c.fontId, c.size, kAlignLeft, kInk, kClear);
    if (!c.name.empty()) style->SetFontName(c.name.c_str());
    style->SetStyle(c.bits);
    const LOGFONTA d = Description(style->GetFont());
    EXPECT_EQ(d.lfFaceName, c.face);
    EXPECT_EQ(d.lfHeight, c.height);
    EXPECT_EQ(d.lfWeight, c.weight);
    EXPECT_EQ(d.lfItalic != 0, c.italic);
    EXPECT_EQ(d.lfUnderline != 0, c.underline);
    EXPECT_EQ(d.lfQuality, DRAFT_QUALITY);
    EXPECT_EQ(d.lfWidth, 0);
  }
}

TEST(TextStyle, StyleBitsAreNeverEmpty) {
  enum Op { kAdd, kRemove };
  struct Case {
    std::int32_t start;
    Op op;
    std::int32_t bits;
    std::int32_t expected;
  } cases[] = {
      {kBoldStyle, kRemove, kBoldStyle, kPlainStyle},
      {kPlainStyle, kAdd, kItalicStyle, kItalicStyle},
      {kItalicStyle, kAdd, kPlainStyle, kItalicStyle | kPlainStyle},
      {kItalicStyle | kBoldStyle | kUnderlineStyle, kRemove, kItalicStyle | kBoldStyle | kUnderlineStyle, kPlainStyle},
      {kItalicStyle | kBoldStyle, kRemove, kItalicStyle, kBoldStyle},
      {kPlainStyle, kAdd, kBoldStyle | kUnderlineStyle, kBoldStyle | kUnderlineStyle},
      {kBoldStyle, kRemove, kPlainStyle, kBoldStyle},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.start) + (c.op == kAdd ? " + " : " - ") + std::to_string(c.bits));
    TextStyle style(1, 12, kAlignLeft, kInk, kClear);
    style.SetStyle(c.start);
    if (c.op == kAdd) style.AddStyle(c.bits);
    else style.RemoveStyle(c.bits);
    EXPECT_EQ(style.GetStyle(), c.expected);
    EXPECT_EQ(style.HasStyle(kItalicStyle | kBoldStyle), c.expected & (kItalicStyle | kBoldStyle));
    // The font is made again from the new bits; "plain" itself changes nothing in it.
    const LOGFONTA d = Description(style.GetFont());
    EXPECT_EQ(d.lfItalic != 0, (c.expected & kItalicStyle) != 0);
    EXPECT_EQ(d.lfWeight, c.expected & kBoldStyle ? 700 : 400);
    EXPECT_EQ(d.lfUnderline != 0, (c.expected & kUnderlineStyle) != 0);
  }
}

TEST(TextStyle, FaceIdAndFaceNameReplaceEachOther) {
  TextStyle style(4, 12, kAlignLeft, kInk, kClear);
  EXPECT_EQ(Text(style.GetFontName()), "Arial");
  style.SetFontName("Arial");
  EXPECT_EQ(style.GetFontId(), kNamedFontId);
  EXPECT_EQ(Text(style.GetFontName()), "Arial");

  style.SetFontId(3);
  EXPECT_EQ(style.GetFontId(), 3);
  EXPECT_EQ(Text(style.GetFontName()), "Courier New");
  EXPECT_STREQ(Description(style.GetFont()).lfFaceName, "Courier New");
  // The name was dropped with the switch to the table: back to "by name", there is none.
  style.SetFontId(kNamedFontId);
  EXPECT_EQ(Text(style.GetFontName()), "");
  // An id outside the table (a programming slip or a damaged page) shows the default face.
  style.SetFontId(9);
  EXPECT_EQ(Text(style.GetFontName()), "Times New Roman");
  EXPECT_STREQ(Description(style.GetFont()).lfFaceName, "Times New Roman");
}

TEST(TextStyle, CopiesAreIndependentAndHaveFontsOfTheirOwn) {
  SmartRef<TextStyle> original = new TextStyle(kNamedFontId, 20, kAlignRight, kInk, Color(3));
  original->SetFontName("Arial");
  original->SetStyle(kBoldStyle);
  SmartRef<TextStyle> copy = CastSmart<TextStyle>(original->Clone());
  ASSERT_TRUE(copy);
  EXPECT_NE(copy->GetFont(), original->GetFont());
  original->SetSize(8);
  original->SetFontName("Verdana");
  original = nullptr;
  EXPECT_EQ(Text(copy->GetFontName()), "Arial");
  EXPECT_EQ(copy->GetSize(), 20);
  EXPECT_EQ(copy->GetStyle(), kBoldStyle);
  EXPECT_EQ(copy->GetAlignment(), kAlignRight);
  EXPECT_EQ(copy->GetBackColor(), Color(3));
  EXPECT_EQ(Description(copy->GetFont()).lfHeight, -26);

  TextStyle target(2, 9, kAlignLeft, kClear, kClear);
  target.CopyFrom(~copy);
  EXPECT_EQ(Text(target.GetFontName()), "Arial");
  EXPECT_EQ(target.GetTextColor(), kInk);
  EXPECT_NE(target.GetFont(), copy->GetFont());
  const LOGFONTA d = Description(target.GetFont());
  EXPECT_STREQ(d.lfFaceName, "Arial");
  EXPECT_EQ(d.lfHeight, -26);
  EXPECT_EQ(d.lfWeight, 700);

  EXPECT_TRUE(target.CanCopyFrom(~copy));
  SmartRef<String> notAStyle = new String("x");
  EXPECT_FALSE(target.CanCopyFrom(~notAStyle));
  const SmartRef<Exception> raised = Raised([&] { target.CopyFrom(~notAStyle); });
  EXPECT_EQ(RaisedText(raised), "castPtr");
  EXPECT_EQ(RaisedPlace(raised), "TextStyle:84");
}

TEST(TextStyle, DefaultStyleIsTheFrameworksPlainText) {
  SmartRef<TextStyle> style = MakeDefaultTextStyle(Color(7), kClear);
  EXPECT_EQ(style->GetFontId(), 1);
  EXPECT_EQ(style->GetSize(), 12);
  EXPECT_EQ(style->GetAlignment(), kAlignLeft);
  EXPECT_EQ(style->GetStyle(), kPlainStyle);
  EXPECT_EQ(style->GetTextColor(), Color(7));
  EXPECT_EQ(style->GetBackColor(), kClear);
  EXPECT_STREQ(Description(style->GetFont()).lfFaceName, "Times New Roman");
}

TEST(TextStyle, DocumentsNumberTheTextClasses) {
  SmartRef<TypeIndex> index = GetGenericTypeIndex();
  EXPECT_EQ(index->GetType(35), &TextStyle::persistentType);
  EXPECT_EQ(TextStyle::persistentType.GetCurrentVersion(), MakeVersion(1));
}

// The fields: id, bits and alignment in a byte each, size, then the two colours as four 16-bit words.
std::string Fields(std::int32_t id, std::uint8_t bits, std::uint8_t alignment, std::uint16_t size) {
  return Long(static_cast<std::uint32_t>(id)) + std::string{static_cast<char>(bits), static_cast<char>(alignment)} +
         Short(size) + Short(0x1234) + Short(0x5678) + Short(0x9ABC) + Short(0) + std::string(8, '\xFF');
}

TEST(TextStyle, StoredFormIsByteExactAndReadsBack) {
  AlertRecorder alerts;
  struct Case {
    const char* name;  // a face of its own, or null for id 2
    std::string body;
  } cases[] = {
      {nullptr, Fields(2, 0x14, 1, 12)},
      {"Verdana", Fields(-1, 0x14, 1, 12) + Long(7) + "Verdana"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name ? c.name : "Fixedsys");
    SmartRef<TextStyle> style = new TextStyle(2, 12, kAlignCenter, kInk, kClear);
    style->AddStyle(kBoldStyle | kUnderlineStyle);
    if (c.name) style->SetFontName(c.name);
    const std::string saved = SaveDocument(style);
    EXPECT_EQ(ObjectBody(saved, 1), c.body);

    SmartRef<ObjectFile> file;
    SmartRef<TextStyle> read = CastSmart<TextStyle>(~ReadDocument(saved, &file));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->GetFontId(), style->GetFontId());
    EXPECT_EQ(Text(read->GetFontName()), Text(style->GetFontName()));
    EXPECT_EQ(read->GetStyle(), kBoldStyle | kUnderlineStyle);
    EXPECT_EQ(read->GetAlignment(), kAlignCenter);
    EXPECT_EQ(read->GetSize(), 12);
    EXPECT_EQ(read->GetTextColor(), kInk);
    EXPECT_EQ(read->GetBackColor(), kClear);
    const LOGFONTA d = Description(read->GetFont());
    EXPECT_EQ(d.lfFaceName, Text(style->GetFontName()));
    EXPECT_EQ(d.lfWeight, 700);
    EXPECT_EQ(SaveDocument(read), saved);
  }
  EXPECT_TRUE(alerts.Alerts().empty());
}

TEST(TextStyle, DamagedFieldsReadAsTheDefaults) {
  AlertRecorder alerts;
  SmartRef<TextStyle> style = new TextStyle(2, 12, kAlignCenter, kInk, kClear);
  const std::string saved = WithObjectBody(SaveDocument(style), 1, Fields(9, 0, 0x85, 12));
  SmartRef<ObjectFile> file;
  SmartRef<TextStyle> read = CastSmart<TextStyle>(~ReadDocument(saved, &file));
  ASSERT_TRUE(read);
  EXPECT_EQ(Text(read->GetFontName()), "Times New Roman");
  EXPECT_EQ(read->GetStyle(), kPlainStyle);
  EXPECT_EQ(read->GetAlignment(), kAlignLeft);
  EXPECT_STREQ(Description(read->GetFont()).lfFaceName, "Times New Roman");
}

}  // namespace
